#include "export/FseqWriter.h"

#include <zstd.h>

#include <algorithm>
#include <cerrno>

namespace lumavox {

namespace {

constexpr size_t kFixedHeaderSize = 32;
constexpr size_t kIndexEntrySize = 8;
constexpr size_t kRangeSize = 6;
constexpr size_t kVariableHeaderSize = 4;  // length and code
constexpr uint32_t kMaxRangeValue = 0xFFFFFF;
constexpr size_t kMaxRanges = 255;

constexpr uint32_t kFirstBlockFrames = 10;
constexpr uint32_t kClassicMaxBlocks = 255;
constexpr uint32_t kMaxBlocks = 4095;
constexpr uint64_t kBlockTargetBytes = 64 * 1024;
constexpr uint64_t kBlockCapBytes = 4 * 1024 * 1024;
// Uncompressed frames are written in pieces of about this size.
constexpr uint64_t kWriteChunkBytes = 64 * 1024;
// Fast enough for an hour-long show in well under a second, and still a fraction of the size.
constexpr int kZstdLevel = 1;

void Put16(std::vector<uint8_t>& out, size_t at, uint32_t v) {
    out[at] = static_cast<uint8_t>(v & 0xFF);
    out[at + 1] = static_cast<uint8_t>((v >> 8) & 0xFF);
}
void Put24(std::vector<uint8_t>& out, size_t at, uint32_t v) {
    Put16(out, at, v);
    out[at + 2] = static_cast<uint8_t>((v >> 16) & 0xFF);
}
void Put32(std::vector<uint8_t>& out, size_t at, uint32_t v) {
    Put16(out, at, v);
    Put16(out, at + 2, v >> 16);
}
void Put64(std::vector<uint8_t>& out, size_t at, uint64_t v) {
    Put32(out, at, static_cast<uint32_t>(v & 0xFFFFFFFFu));
    Put32(out, at + 4, static_cast<uint32_t>(v >> 32));
}

uint32_t CeilDiv(uint64_t a, uint64_t b) {
    return static_cast<uint32_t>((a + b - 1) / b);
}

uint32_t StoredChannels(const FseqSettings& settings) {
    if (settings.Ranges.empty()) return settings.ChannelCount;
    uint64_t sum = 0;
    for (const FseqRange& r : settings.Ranges) sum += r.Count;
    return sum > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(sum);
}

size_t VariableHeadersSize(const FseqSettings& settings) {
    size_t size = kVariableHeaderSize + settings.Producer.size() + 1;
    if (!settings.MediaName.empty()) size += kVariableHeaderSize + settings.MediaName.size() + 1;
    return size;
}

size_t BlockCount(const FseqSettings& settings) {
    if (settings.Compression == FseqCompression::None) return 0;
    return FseqBlockFrames(settings.FrameCount, StoredChannels(settings), settings.FramesPerBlock)
        .size();
}

size_t HeaderLength(const FseqSettings& settings, size_t blocks) {
    return kFixedHeaderSize + blocks * kIndexEntrySize + settings.Ranges.size() * kRangeSize;
}

size_t DataOffset(const FseqSettings& settings, size_t blocks) {
    const size_t end = HeaderLength(settings, blocks) + VariableHeadersSize(settings);
    return (end + 3) / 4 * 4;
}

}  // namespace

std::string FseqSettingsProblem(const FseqSettings& settings) {
    if (settings.FrameCount == 0) return "no frames";
    if (settings.StepMs == 0) return "step time 0";
    if (settings.ChannelCount == 0) return "no channels";
    if (settings.Ranges.size() > kMaxRanges) return "more than 255 channel ranges";
    for (const FseqRange& r : settings.Ranges) {
        if (r.Count == 0 || r.Start > kMaxRangeValue || r.Count > kMaxRangeValue ||
            static_cast<uint64_t>(r.Start) + r.Count > settings.ChannelCount) {
            return "a channel range lies outside the frame";
        }
    }
    for (const std::string* text : {&settings.MediaName, &settings.Producer}) {
        if (text->find('\0') != std::string::npos) return "a header text holds a NUL byte";
    }
    if (DataOffset(settings, BlockCount(settings)) > 0xFFFF) return "the header texts are too long";
    return {};
}

std::vector<uint32_t> FseqBlockFrames(uint32_t frameCount, uint32_t channelsPerFrame,
                                      uint32_t framesPerBlock) {
    std::vector<uint32_t> blocks;
    if (frameCount == 0) return blocks;
    const uint32_t first = std::min(frameCount, kFirstBlockFrames);
    blocks.push_back(first);
    const uint32_t rest = frameCount - first;
    if (rest == 0) return blocks;
    const uint64_t channels = std::max<uint32_t>(channelsPerFrame, 1);
    uint32_t per = framesPerBlock;
    if (per == 0) {
        per = std::max(CeilDiv(kBlockTargetBytes, channels), kFirstBlockFrames);
        if (CeilDiv(rest, per) > kClassicMaxBlocks - 1) {
            per = CeilDiv(rest, kClassicMaxBlocks - 1);
            if (per * channels > kBlockCapBytes) {
                per = std::max(static_cast<uint32_t>(kBlockCapBytes / channels),
                               CeilDiv(rest, kMaxBlocks - 1));
            }
        }
    }
    per = std::max(per, CeilDiv(rest, kMaxBlocks - 1));
    for (uint32_t left = rest; left > 0;) {
        const uint32_t n = std::min(left, per);
        blocks.push_back(n);
        left -= n;
    }
    return blocks;
}

std::vector<uint8_t> FseqHeader(const FseqSettings& settings,
                                std::span<const std::pair<uint32_t, uint32_t>> blockIndex) {
    const size_t blocks = blockIndex.size();
    std::vector<uint8_t> out(DataOffset(settings, blocks), 0);
    out[0] = 'P';
    out[1] = 'S';
    out[2] = 'E';
    out[3] = 'Q';
    Put16(out, 4, static_cast<uint32_t>(out.size()));
    out[6] = 0;  // minor version
    out[7] = 2;  // major version
    const size_t headerLength = HeaderLength(settings, blocks);
    Put16(out, 8, static_cast<uint32_t>(headerLength));
    Put32(out, 10, StoredChannels(settings));
    Put32(out, 14, settings.FrameCount);
    out[18] = settings.StepMs;
    out[20] =
        static_cast<uint8_t>(((blocks >> 4) & 0xF0) | static_cast<uint8_t>(settings.Compression));
    out[21] = static_cast<uint8_t>(blocks & 0xFF);
    out[22] = static_cast<uint8_t>(settings.Ranges.size());
    Put64(out, 24, settings.UniqueId);
    size_t at = kFixedHeaderSize;
    for (const auto& [firstFrame, length] : blockIndex) {
        Put32(out, at, firstFrame);
        Put32(out, at + 4, length);
        at += kIndexEntrySize;
    }
    for (const FseqRange& r : settings.Ranges) {
        Put24(out, at, r.Start);
        Put24(out, at + 3, r.Count);
        at += kRangeSize;
    }
    auto variable = [&](char a, char b, const std::string& text) {
        Put16(out, at, static_cast<uint32_t>(kVariableHeaderSize + text.size() + 1));
        out[at + 2] = static_cast<uint8_t>(a);
        out[at + 3] = static_cast<uint8_t>(b);
        std::copy(text.begin(), text.end(), out.begin() + static_cast<ptrdiff_t>(at + 4));
        at += kVariableHeaderSize + text.size() + 1;  // the NUL is already there
    };
    if (!settings.MediaName.empty()) variable('m', 'f', settings.MediaName);
    variable('s', 'p', settings.Producer);
    return out;
}

FseqWriter::FseqWriter(FseqSettings settings, IFseqOutput& output)
    : m_settings(std::move(settings)),
      m_output(output),
      m_channelsPerFrame(StoredChannels(m_settings)) {}

FseqWriter::~FseqWriter() {
    ZSTD_freeCCtx(static_cast<ZSTD_CCtx*>(m_context));
}

FseqResult FseqWriter::Begin() {
    if (!FseqSettingsProblem(m_settings).empty()) return {FseqError::BadSettings, 0};
    size_t blockFrames = 0;
    if (m_settings.Compression == FseqCompression::Zstd) {
        m_blockFrames =
            FseqBlockFrames(m_settings.FrameCount, m_channelsPerFrame, m_settings.FramesPerBlock);
        blockFrames = *std::max_element(m_blockFrames.begin(), m_blockFrames.end());
        m_context = ZSTD_createCCtx();
        if (m_context == nullptr) return {FseqError::Compress, ENOMEM};
        m_compressed.resize(ZSTD_compressBound(blockFrames * m_channelsPerFrame));
    } else {
        blockFrames = std::max<size_t>(1, kWriteChunkBytes / m_channelsPerFrame);
        blockFrames = std::min<size_t>(blockFrames, m_settings.FrameCount);
        m_blockFrames.assign(CeilDiv(m_settings.FrameCount, blockFrames),
                             static_cast<uint32_t>(blockFrames));
        m_blockFrames.back() =
            m_settings.FrameCount - static_cast<uint32_t>(blockFrames * (m_blockFrames.size() - 1));
    }
    m_block.reserve(blockFrames * m_channelsPerFrame);
    const size_t indexEntries =
        m_settings.Compression == FseqCompression::Zstd ? m_blockFrames.size() : 0;
    const std::vector<std::pair<uint32_t, uint32_t>> zeroIndex(indexEntries);
    const std::vector<uint8_t> header = FseqHeader(m_settings, zeroIndex);
    if (const int error = m_output.Append(header); error != 0) return {FseqError::Write, error};
    return {};
}

FseqResult FseqWriter::AddFrame(std::span<const uint8_t> universe) {
    if (m_blockNumber >= m_blockFrames.size() || universe.size() < m_settings.ChannelCount) {
        return {FseqError::BadSettings, 0};
    }
    if (m_settings.Ranges.empty()) {
        m_block.insert(m_block.end(), universe.begin(), universe.begin() + m_channelsPerFrame);
    } else {
        for (const FseqRange& r : m_settings.Ranges) {
            const auto from = universe.begin() + r.Start;
            m_block.insert(m_block.end(), from, from + r.Count);
        }
    }
    ++m_framesAdded;
    if (m_framesAdded - m_blockFirstFrame == m_blockFrames[m_blockNumber]) return FlushBlock();
    return {};
}

FseqResult FseqWriter::FlushBlock() {
    std::span<const uint8_t> stored(m_block);
    if (m_settings.Compression == FseqCompression::Zstd) {
        const size_t size =
            ZSTD_compressCCtx(static_cast<ZSTD_CCtx*>(m_context), m_compressed.data(),
                              m_compressed.size(), m_block.data(), m_block.size(), kZstdLevel);
        if (ZSTD_isError(size)) return {FseqError::Compress, 0};
        stored = std::span<const uint8_t>(m_compressed.data(), size);
        const size_t at = m_index.size();
        m_index.resize(at + kIndexEntrySize);
        Put32(m_index, at, m_blockFirstFrame);
        Put32(m_index, at + 4, static_cast<uint32_t>(size));
    }
    if (const int error = m_output.Append(stored); error != 0) return {FseqError::Write, error};
    m_block.clear();
    m_blockFirstFrame = m_framesAdded;
    ++m_blockNumber;
    return {};
}

FseqResult FseqWriter::Finish() {
    if (m_framesAdded != m_settings.FrameCount) return {FseqError::BadSettings, 0};
    if (!m_index.empty()) {
        if (const int error = m_output.WriteAt(kFixedHeaderSize, m_index); error != 0) {
            return {FseqError::Write, error};
        }
    }
    return {};
}

}  // namespace lumavox
