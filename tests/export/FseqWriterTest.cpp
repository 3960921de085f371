#include "export/FseqWriter.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <numeric>

#include "export/FseqTestReader.h"

namespace lumavox {
namespace {

using testing::ReadFseq;

// Collects the file in memory; refuses appends after failAfter of them.
class MemoryOutput final : public IFseqOutput {
public:
    int Append(std::span<const uint8_t> bytes) override {
        if (m_appends++ == m_failAfter) return ENOSPC;
        Bytes.append(bytes.begin(), bytes.end());
        return 0;
    }
    int WriteAt(uint64_t offset, std::span<const uint8_t> bytes) override {
        if (offset + bytes.size() > Bytes.size()) return EINVAL;
        std::copy(bytes.begin(), bytes.end(), Bytes.begin() + static_cast<ptrdiff_t>(offset));
        return 0;
    }
    std::string Bytes;
    int m_failAfter = -1;

private:
    int m_appends = 0;
};

FseqSettings SmallSettings(uint32_t frames, uint32_t channels, FseqCompression compression) {
    FseqSettings s;
    s.FrameCount = frames;
    s.ChannelCount = channels;
    s.Compression = compression;
    s.UniqueId = 0x1122334455667788u;
    s.Producer = "Lumavox t";
    return s;
}

// Frame k, channel c holds k * 16 + c, so every byte tells where it came from.
std::string Write(const FseqSettings& s, MemoryOutput& out) {
    FseqWriter writer(s, out);
    EXPECT_TRUE(writer.Begin());
    std::vector<uint8_t> universe(s.ChannelCount);
    for (uint32_t k = 0; k < s.FrameCount; ++k) {
        for (uint32_t c = 0; c < s.ChannelCount; ++c)
            universe[c] = static_cast<uint8_t>(k * 16 + c);
        EXPECT_TRUE(writer.AddFrame(universe));
    }
    EXPECT_TRUE(writer.Finish());
    return out.Bytes;
}

TEST(FseqWriter, UncompressedFileIsHeaderVariableHeadersPaddingThenFrames) {
    FseqSettings s = SmallSettings(3, 4, FseqCompression::None);
    s.MediaName = "song.wav";
    MemoryOutput out;
    const std::string expected(
        "PSEQ\x3C\x00\x00\x02\x20\x00\x04\x00\x00\x00\x03\x00\x00\x00\x19\x00\x00\x00\x00\x00"
        "\x88\x77\x66\x55\x44\x33\x22\x11"
        "\x0D\x00mfsong.wav\x00"
        "\x0E\x00spLumavox t\x00"
        "\x00"
        "\x00\x01\x02\x03\x10\x11\x12\x13\x20\x21\x22\x23",
        72);
    EXPECT_EQ(Write(s, out), expected);
}

TEST(FseqWriter, ZstdHeaderIndexesEveryBlockAndReadsBack) {
    FseqSettings s = SmallSettings(25, 3, FseqCompression::Zstd);
    s.FramesPerBlock = 8;
    MemoryOutput out;
    const std::string bytes = Write(s, out);
    // Blocks of 10 (the short first one), 8 and 7 frames: three index entries.
    const std::string fixed(
        "PSEQ\x48\x00\x00\x02\x38\x00\x03\x00\x00\x00\x19\x00\x00\x00\x19\x00\x01\x03\x00\x00"
        "\x88\x77\x66\x55\x44\x33\x22\x11",
        32);
    EXPECT_EQ(bytes.substr(0, 32), fixed);
    EXPECT_EQ(bytes.substr(56, 16), std::string("\x0E\x00spLumavox t\x00\x00\x00", 16));

    const auto file = ReadFseq(bytes);
    ASSERT_EQ(file.Error, "");
    ASSERT_EQ(file.Blocks.size(), 3u);
    EXPECT_EQ(file.Blocks[0].first, 0u);
    EXPECT_EQ(file.Blocks[1].first, 10u);
    EXPECT_EQ(file.Blocks[2].first, 18u);
    ASSERT_EQ(file.Frames.size(), 25u);
    for (uint32_t k = 0; k < 25; ++k) {
        EXPECT_EQ(file.Frames[k], (std::vector<uint8_t>{static_cast<uint8_t>(k * 16),
                                                        static_cast<uint8_t>(k * 16 + 1),
                                                        static_cast<uint8_t>(k * 16 + 2)}));
    }
}

TEST(FseqWriter, SparseRangesStoreOnlyTheirChannels) {
    FseqSettings s = SmallSettings(2, 16, FseqCompression::None);
    s.Ranges = {{5, 2}, {12, 1}};
    MemoryOutput out;
    const auto file = ReadFseq(Write(s, out));
    ASSERT_EQ(file.Error, "");
    EXPECT_EQ(file.ChannelsPerFrame, 3u);
    EXPECT_EQ(file.Ranges, (std::vector<std::pair<uint32_t, uint32_t>>{{5, 2}, {12, 1}}));
    EXPECT_EQ(file.Frames[1], (std::vector<uint8_t>{0x15, 0x16, 0x1C}));
}

TEST(FseqWriter, BlockCountsStayWithinWhatPlayersRead) {
    // An hour at 40 frames a second: at most 255 blocks, the first short.
    const auto hour = FseqBlockFrames(144000, 512);
    EXPECT_LE(hour.size(), 255u);
    EXPECT_EQ(hour.front(), 10u);
    EXPECT_EQ(std::accumulate(hour.begin(), hour.end(), uint64_t{0}), 144000u);
    // Very long shows go past 255 blocks rather than holding huge blocks, never past 4095.
    const auto day = FseqBlockFrames(8640000, 512);
    EXPECT_GT(day.size(), 255u);
    EXPECT_LE(*std::max_element(day.begin(), day.end()) * 512u, 4u * 1024 * 1024);
    EXPECT_LE(FseqBlockFrames(UINT32_MAX, 512).size(), 4095u);
    EXPECT_EQ(FseqBlockFrames(3, 512), std::vector<uint32_t>{3});

    // A count past 255 keeps its upper four bits in the compression byte.
    const FseqSettings s = SmallSettings(1, 1, FseqCompression::Zstd);
    const std::vector<std::pair<uint32_t, uint32_t>> index(300, {0, 0});
    const auto header = FseqHeader(s, index);
    EXPECT_EQ(header[20], 0x11);
    EXPECT_EQ(header[21], 300 & 0xFF);
}

TEST(FseqWriter, RefusesUnwritableSettingsAndReportsRefusedWrites) {
    FseqSettings s = SmallSettings(1, 4, FseqCompression::None);
    s.MediaName = std::string("a\0b", 3);
    EXPECT_NE(FseqSettingsProblem(s), "");
    s.MediaName = std::string(70000, 'a');
    EXPECT_NE(FseqSettingsProblem(s), "");
    s.MediaName.clear();
    s.Ranges = {{3, 2}};
    EXPECT_NE(FseqSettingsProblem(s), "");

    MemoryOutput out;
    out.m_failAfter = 1;  // the header goes, the frames do not
    FseqWriter writer(SmallSettings(1, 4, FseqCompression::None), out);
    ASSERT_TRUE(writer.Begin());
    const std::vector<uint8_t> universe(4);
    const FseqResult r = writer.AddFrame(universe);
    EXPECT_EQ(r.Error, FseqError::Write);
    EXPECT_EQ(r.SystemError, ENOSPC);
}

}  // namespace
}  // namespace lumavox
