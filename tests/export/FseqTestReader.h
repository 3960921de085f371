#pragma once

// Reads an FSEQ v2 file back as a player does: the fixed header, the block index (entries of
// length 0 skipped), the sparse ranges, the variable headers, then each frame, decompressing the
// zstd block it lies in. Every field is checked against what is left of the bytes; a problem ends
// the read with Error set.
#include <zstd.h>

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace lumavox::testing {

struct FseqFile {
    std::string Error;
    uint32_t DataOffset = 0, HeaderLength = 0, ChannelsPerFrame = 0, FrameCount = 0;
    uint8_t Minor = 0xFF, Major = 0, StepMs = 0, Compression = 0xFF;
    uint32_t BlockCount = 0;
    uint64_t UniqueId = 0;
    std::vector<std::pair<uint32_t, uint32_t>> Blocks;  // first frame, stored length
    std::vector<std::pair<uint32_t, uint32_t>> Ranges;
    std::map<std::string, std::string> Variables;  // code → text without its NUL
    std::vector<std::vector<uint8_t>> Frames;
};

inline uint32_t FseqLe(const std::string& b, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        v = (v << 8) | static_cast<uint8_t>(b[at + static_cast<size_t>(i)]);
    }
    return v;
}

inline FseqFile ReadFseq(const std::string& b) {
    FseqFile f;
    auto fail = [&](const std::string& why) {
        f.Error = why;
        return f;
    };
    if (b.size() < 32 || b.compare(0, 4, "PSEQ") != 0) return fail("no PSEQ header");
    f.DataOffset = FseqLe(b, 4, 2);
    f.Minor = static_cast<uint8_t>(b[6]);
    f.Major = static_cast<uint8_t>(b[7]);
    f.HeaderLength = FseqLe(b, 8, 2);
    f.ChannelsPerFrame = FseqLe(b, 10, 4);
    f.FrameCount = FseqLe(b, 14, 4);
    f.StepMs = static_cast<uint8_t>(b[18]);
    f.Compression = static_cast<uint8_t>(b[20]) & 0x0F;
    f.BlockCount = ((static_cast<uint32_t>(static_cast<uint8_t>(b[20])) & 0xF0) << 4) |
                   static_cast<uint8_t>(b[21]);
    const uint32_t rangeCount = static_cast<uint8_t>(b[22]);
    f.UniqueId = FseqLe(b, 24, 4) | (static_cast<uint64_t>(FseqLe(b, 28, 4)) << 32);
    if (f.DataOffset > b.size() || f.DataOffset % 4 != 0) return fail("bad data offset");
    size_t at = 32;
    if (at + f.BlockCount * 8 + rangeCount * 6 != f.HeaderLength) return fail("header length");
    if (f.HeaderLength > f.DataOffset) return fail("header past data");
    for (uint32_t i = 0; i < f.BlockCount; ++i, at += 8) {
        if (FseqLe(b, at + 4, 4) > 0) f.Blocks.emplace_back(FseqLe(b, at, 4), FseqLe(b, at + 4, 4));
    }
    for (uint32_t i = 0; i < rangeCount; ++i, at += 6) {
        f.Ranges.emplace_back(FseqLe(b, at, 3), FseqLe(b, at + 3, 3));
    }
    while (at + 4 < f.DataOffset) {
        const uint32_t length = FseqLe(b, at, 2);
        if (length < 5 || at + length > f.DataOffset || b[at + length - 1] != '\0') {
            return fail("variable header");
        }
        f.Variables[b.substr(at + 2, 2)] = b.substr(at + 4, length - 5);
        at += length;
    }
    for (; at < f.DataOffset; ++at) {
        if (b[at] != '\0') return fail("padding not zero");
    }
    const size_t frameBytes = f.ChannelsPerFrame;
    if (f.Compression == 0) {
        if (b.size() != f.DataOffset + frameBytes * f.FrameCount) return fail("data size");
        for (uint32_t k = 0; k < f.FrameCount; ++k) {
            const auto from = b.begin() + static_cast<ptrdiff_t>(f.DataOffset + k * frameBytes);
            f.Frames.emplace_back(from, from + static_cast<ptrdiff_t>(frameBytes));
        }
        return f;
    }
    if (f.Compression != 1) return fail("unknown compression");
    size_t offset = f.DataOffset;
    for (size_t i = 0; i < f.Blocks.size(); ++i) {
        const auto [first, length] = f.Blocks[i];
        const uint32_t end = i + 1 < f.Blocks.size() ? f.Blocks[i + 1].first : f.FrameCount;
        if (first != f.Frames.size() || end <= first || offset + length > b.size()) {
            return fail("block index");
        }
        std::vector<uint8_t> out((end - first) * frameBytes + 1);
        const size_t size = ZSTD_decompress(out.data(), out.size(), b.data() + offset, length);
        if (ZSTD_isError(size) || size != out.size() - 1) return fail("block does not decompress");
        for (uint32_t k = 0; k < end - first; ++k) {
            const auto from = out.begin() + static_cast<ptrdiff_t>(k * frameBytes);
            f.Frames.emplace_back(from, from + static_cast<ptrdiff_t>(frameBytes));
        }
        offset += length;
    }
    if (offset != b.size() || f.Frames.size() != f.FrameCount) return fail("data size");
    return f;
}

}  // namespace lumavox::testing
