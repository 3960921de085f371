#include "sound/WaveFormat.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

#include "model/Msgstr.h"

namespace lumavox {

namespace {

constexpr size_t kReadBufferSize = size_t{64} * 1024;
constexpr size_t kMaxTagLength = 16;

// KSDATAFORMAT_SUBTYPE_PCM, 00000001-0000-0010-8000-00aa00389b71, in its stored byte order.
constexpr std::array<unsigned char, 16> kPcmSubFormat = {
    0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
// KSDATAFORMAT_SUBTYPE_IEEE_FLOAT: the same GUID with 3 in its first field.
constexpr std::array<unsigned char, 16> kFloatSubFormat = {
    0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

uint16_t Le16(const unsigned char* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t Le32(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

bool IsChunkIdByte(unsigned char c) {
    return c >= 0x20 && c <= 0x7E;
}

// Broadcast WAV files and files prepared for a 64-bit upgrade put a "bext" or "JUNK" chunk
// between "WAVE" and "fmt ", where the search for "WAVEfmt " cannot see it: walk the chunk list
// from the form type instead. On success the position is at the fmt chunk's size field.
bool FindFmtChunk(WaveFileReader& reader, uint64_t formType) {
    reader.Seek(formType);
    unsigned char wave[4];
    if (!reader.ReadExact(wave, sizeof wave) || std::memcmp(wave, "WAVE", 4) != 0) return false;
    uint64_t position = reader.Position();
    const uint64_t fileSize = reader.FileSize();
    while (position <= fileSize && fileSize - position >= 8) {
        reader.Seek(position);
        unsigned char header[8];
        if (!reader.ReadExact(header, sizeof header)) return false;
        if (!std::all_of(header, header + 4, IsChunkIdByte)) return false;
        if (std::memcmp(header, "fmt ", 4) == 0) {
            reader.Seek(position + 4);
            return true;
        }
        const uint32_t size = Le32(header + 4);
        position += 8 + static_cast<uint64_t>(size) + (size & 1u);
    }
    return false;
}

}  // namespace

std::string_view WaveFaultText(WaveFault fault) {
    switch (fault) {
        case WaveFault::IllegalFile:
            return MsgText(Msg::IllegalFile);
        case WaveFault::NoSupportFrm:
            return MsgText(Msg::NoSupportFrm);
        case WaveFault::None:
            break;
    }
    return {};
}

WaveFileReader::WaveFileReader(int fd) : m_fd(fd), m_buffer(kReadBufferSize) {
    struct stat st {};
    if (fstat(fd, &st) == 0 && st.st_size > 0) m_fileSize = static_cast<uint64_t>(st.st_size);
}

bool WaveFileReader::Fill() {
    if (m_position >= m_bufferStart && m_position < m_bufferStart + m_bufferLength) return true;
    m_bufferStart = m_position;
    m_bufferLength = 0;
    if (m_position >= m_fileSize) return false;
    for (;;) {
        const ssize_t n =
            pread(m_fd, m_buffer.data(), m_buffer.size(), static_cast<off_t>(m_position));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        m_bufferLength = static_cast<size_t>(n);
        return true;
    }
}

bool WaveFileReader::SearchTag(std::string_view tag) {
    if (tag.empty() || tag.size() > kMaxTagLength) return false;
    // Knuth-Morris-Pratt: after a mismatch the bytes already matched may still start the tag.
    std::array<size_t, kMaxTagLength + 1> border{};
    for (size_t i = 1, k = 0; i < tag.size(); ++i) {
        while (k > 0 && tag[i] != tag[k]) k = border[k];
        if (tag[i] == tag[k]) ++k;
        border[i + 1] = k;
    }
    size_t matched = 0;
    while (Fill()) {
        const size_t begin = static_cast<size_t>(m_position - m_bufferStart);
        for (size_t i = begin; i < m_bufferLength; ++i) {
            const char c = static_cast<char>(m_buffer[i]);
            while (matched > 0 && c != tag[matched]) matched = border[matched];
            if (c == tag[matched]) ++matched;
            if (matched == tag.size()) {
                m_position = m_bufferStart + i + 1;
                return true;
            }
        }
        m_position = m_bufferStart + m_bufferLength;
    }
    return false;
}

bool WaveFileReader::ReadExact(void* target, size_t size) {
    auto* out = static_cast<unsigned char*>(target);
    while (size > 0) {
        if (!Fill()) return false;
        const size_t begin = static_cast<size_t>(m_position - m_bufferStart);
        const size_t n = std::min(size, m_bufferLength - begin);
        std::memcpy(out, m_buffer.data() + begin, n);
        out += n;
        size -= n;
        m_position += n;
    }
    return true;
}

bool WaveFileReader::Skip(uint64_t count) {
    if (count > m_fileSize || m_position > m_fileSize - count) {
        m_position = m_fileSize;
        return false;
    }
    m_position += count;
    return true;
}

void WaveFileReader::Seek(uint64_t position) {
    m_position = std::min(position, m_fileSize);
}

WaveFault ReadWaveFormat(WaveFileReader& reader, WaveFormat& format) {
    format = WaveFormat{};
    if (!reader.SearchTag("RIFF") || !reader.Skip(4)) return WaveFault::IllegalFile;
    const uint64_t afterRiff = reader.Position();
    if (!reader.SearchTag("WAVEfmt ") && !FindFmtChunk(reader, afterRiff)) {
        return WaveFault::IllegalFile;
    }
    unsigned char size[4];
    if (!reader.ReadExact(size, sizeof size)) return WaveFault::IllegalFile;
    format.FmtSize = Le32(size);
    format.FmtOffset = reader.Position();
    unsigned char record[16];
    if (!reader.ReadExact(record, sizeof record)) return WaveFault::IllegalFile;
    format.FormatTag = Le16(record);
    format.Channels = Le16(record + 2);
    format.Rate = Le32(record + 4);
    format.BytesPerSecond = Le32(record + 8);
    format.BlockAlign = Le16(record + 12);
    format.BitsPerSample = Le16(record + 14);

    format.Pcm = format.FormatTag == kWaveFormatPcm;
    format.Float = format.FormatTag == kWaveFormatIeeeFloat;
    if (format.FormatTag == kWaveFormatExtensible && format.FmtSize >= 40) {
        // cbSize, valid bits, channel mask, then the sub-format GUID.
        unsigned char extension[24];
        if (reader.ReadExact(extension, sizeof extension) && Le16(extension) >= 22) {
            format.Pcm = std::equal(kPcmSubFormat.begin(), kPcmSubFormat.end(), extension + 8);
            format.Float =
                std::equal(kFloatSubFormat.begin(), kFloatSubFormat.end(), extension + 8);
        }
    }
    if (!format.Pcm && !format.Float) return WaveFault::NoSupportFrm;
    if (format.Channels != 1 && format.Channels != 2) return WaveFault::IllegalFile;
    if (format.Rate == 0) return WaveFault::IllegalFile;
    if (format.Rate > kMaxWaveRate) return WaveFault::NoSupportFrm;
    format.BytesPerSample = format.BlockAlign / format.Channels;
    return WaveFault::None;
}

bool WaveSamplesReadable(const WaveFormat& format) {
    const int32_t width = format.BytesPerSample;
    if (format.Channels < 1 || format.Channels > 2) return false;
    if (format.Float) {
        return width == 4 && format.BitsPerSample == 32 && format.BlockAlign == 4 * format.Channels;
    }
    if (!format.Pcm || width < 1 || width > 4) return false;
    if (width <= 2) return true;  // read as they always were, whatever the bits field says
    return format.BlockAlign == width * format.Channels && format.BitsPerSample > 8 * (width - 1) &&
           format.BitsPerSample <= 8 * width;
}

void ConvertWaveSamples(const WaveFormat& format, const unsigned char* in, size_t frameCount,
                        int16_t* out) {
    const size_t width = static_cast<size_t>(format.BytesPerSample);
    const size_t stride = format.BlockAlign;
    const size_t channels = format.Channels;
    for (size_t f = 0; f < frameCount; ++f) {
        const unsigned char* frame = in + f * stride;
        for (size_t c = 0; c < channels; ++c) {
            const unsigned char* s = frame + c * width;
            int32_t v = 0;
            if (format.Float) {
                float x = 0.0f;
                std::memcpy(&x, s, sizeof x);
                // The comparisons are false for a NaN, which stays at 0.
                if (x >= 1.0f) {
                    v = 32767;
                } else if (x <= -1.0f) {
                    v = -32768;
                } else if (x > -1.0f) {
                    v = static_cast<int32_t>(x * 32768.0f);
                }
            } else if (width == 1) {
                v = (static_cast<int32_t>(s[0]) - 128) * 256;
            } else if (width == 2) {
                v = static_cast<int16_t>(Le16(s));
            } else if (width == 3) {
                // Sign-extend the 24-bit value through the top byte of a 32-bit one.
                const auto u = static_cast<uint32_t>(s[0] << 8 | s[1] << 16) | uint32_t{s[2]} << 24;
                v = static_cast<int32_t>(u) / 65536;
            } else {
                v = static_cast<int32_t>(Le32(s)) / 65536;
            }
            *out++ = static_cast<int16_t>(v);
        }
    }
}

WaveFault FindWaveData(WaveFileReader& reader, const WaveFormat& format, WaveData& data) {
    data = WaveData{};
    const uint64_t fileSize = reader.FileSize();
    const auto found = [&](uint64_t offset, uint32_t declared) {
        data.Offset = offset;
        data.Declared = declared;
        data.Bytes = std::min<uint64_t>(declared, fileSize - offset);
        reader.Seek(offset);
        return WaveFault::None;
    };

    // The chunk list proper, so that the bytes "data" inside an earlier chunk's payload (a LIST
    // text, say) are not taken for the data chunk. Chunks are padded to even sizes.
    if (format.FmtSize >= 16) {
        uint64_t position = format.FmtOffset + format.FmtSize + (format.FmtSize & 1u);
        while (position <= fileSize && fileSize - position >= 8) {
            reader.Seek(position);
            unsigned char header[8];
            if (!reader.ReadExact(header, sizeof header)) break;
            if (!std::all_of(header, header + 4, IsChunkIdByte)) break;  // lost: not a chunk id
            const uint32_t size = Le32(header + 4);
            if (std::memcmp(header, "data", 4) == 0) return found(position + 8, size);
            position += 8 + static_cast<uint64_t>(size) + (size & 1u);
        }
    }

    // Files whose chunk sizes do not add up (unpadded odd chunks, a wrong fmt size) still have
    // their data found the way the byte-wise search always found it.
    reader.Seek(format.FmtOffset + 16);
    if (!reader.SearchTag("data")) return WaveFault::IllegalFile;
    unsigned char size[4];
    if (!reader.ReadExact(size, sizeof size)) return WaveFault::IllegalFile;
    return found(reader.Position(), Le32(size));
}

WaveLayout ReadWaveLayout(const std::string& path) {
    WaveLayout layout;
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        layout.Fault = WaveFault::IllegalFile;
        return layout;
    }
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        layout.Fault = WaveFault::IllegalFile;
        return layout;
    }
    layout.Opened = true;
    WaveFileReader reader(fd);
    layout.Fault = ReadWaveFormat(reader, layout.Format);
    if (layout.Fault == WaveFault::None) {
        layout.Fault = FindWaveData(reader, layout.Format, layout.Data);
    }
    close(fd);
    return layout;
}

}  // namespace lumavox
