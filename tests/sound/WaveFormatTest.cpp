#include "sound/WaveFormat.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include "WavFixture.h"

namespace lumavox {
namespace {

using test::Chunk;
using test::Pcm16;
using test::TempDir;
using test::WavBytes;
using test::WavRecipe;
using test::WriteFile;

WaveLayout LayoutOf(const TempDir& dir, const std::string& bytes) {
    const std::string path = dir.File("t.wav");
    WriteFile(path, bytes);
    return ReadWaveLayout(path);
}

TEST(WaveFileReader, TagSearchFindsTagsThatStartInsideAPartialMatchAndAcrossBufferEdges) {
    TempDir dir;
    // "dadata": a naive restart after the mismatch at the second 'd' would miss the tag.
    std::string bytes = "xxdadata!";
    bytes += std::string(70000, 'd') + "RIFF" + "tail";
    const std::string path = dir.File("tags.bin");
    WriteFile(path, bytes);
    const int fd = open(path.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    WaveFileReader reader(fd);
    ASSERT_TRUE(reader.SearchTag("data"));
    EXPECT_EQ(reader.Position(), 8u);
    ASSERT_TRUE(reader.SearchTag("RIFF"));
    EXPECT_EQ(reader.Position(), 9u + 70000u + 4u);
    char tail[4];
    ASSERT_TRUE(reader.ReadExact(tail, 4));
    EXPECT_EQ(std::string(tail, 4), "tail");
    EXPECT_FALSE(reader.SearchTag("RIFF"));
    EXPECT_EQ(reader.Position(), reader.FileSize());
    EXPECT_FALSE(reader.Skip(1));
    close(fd);
}

TEST(WaveLayout, OrdinaryAndExtendedHeadersLocateTheSamples) {
    TempDir dir;
    const std::string data = Pcm16({1, 2, 3, 4});

    WaveLayout plain = LayoutOf(dir, WavBytes({}, data));
    ASSERT_EQ(plain.Fault, WaveFault::None);
    EXPECT_TRUE(plain.Opened);
    EXPECT_EQ(plain.Format.Channels, 2);
    EXPECT_EQ(plain.Format.Rate, 44100u);
    EXPECT_EQ(plain.Format.BytesPerSample, 2);
    EXPECT_EQ(plain.Data.Offset, 44u);
    EXPECT_EQ(plain.Data.Declared, 8u);
    EXPECT_EQ(plain.Data.Bytes, 8u);

    WavRecipe fmt18;
    fmt18.Fmt18 = true;
    EXPECT_EQ(LayoutOf(dir, WavBytes(fmt18, data)).Data.Offset, 46u);

    WavRecipe extensible;
    extensible.Extensible = true;
    const WaveLayout ext = LayoutOf(dir, WavBytes(extensible, data));
    ASSERT_EQ(ext.Fault, WaveFault::None);
    EXPECT_EQ(ext.Format.FormatTag, kWaveFormatExtensible);
    EXPECT_TRUE(ext.Format.Pcm);
    EXPECT_EQ(ext.Data.Offset, 68u);
}

TEST(WaveLayout, TheBytesDataInsideAnEarlierChunkAreNotTakenForTheDataChunk) {
    TempDir dir;
    WavRecipe recipe;
    const std::string list("INFOICMT\x09\0\0\0data here", 21);
    recipe.ChunksBeforeData = Chunk("LIST", list) + Chunk("odd ", "abc");
    const WaveLayout layout = LayoutOf(dir, WavBytes(recipe, Pcm16({7, 8})));
    ASSERT_EQ(layout.Fault, WaveFault::None);
    EXPECT_EQ(layout.Data.Declared, 4u);
    EXPECT_EQ(layout.Data.Offset, 36u + 30u + 12u + 8u);
}

TEST(WaveLayout, BrokenChunkSizesFallBackToTheByteWiseSearch) {
    TempDir dir;
    // An odd-sized chunk written without its pad byte: the chunk walk is lost after it.
    WavRecipe unpadded;
    unpadded.ChunksBeforeData = std::string("junk\x03\0\0\0abc", 11);
    WaveLayout layout = LayoutOf(dir, WavBytes(unpadded, Pcm16({5, 6})));
    ASSERT_EQ(layout.Fault, WaveFault::None);
    EXPECT_EQ(layout.Data.Offset, 36u + 11u + 8u);

    // A fmt chunk that claims a size running past the end of the file.
    std::string bytes = WavBytes({}, Pcm16({5, 6}));
    bytes[16] = '\x7F';
    bytes[19] = '\x7F';
    layout = LayoutOf(dir, bytes);
    ASSERT_EQ(layout.Fault, WaveFault::None);
    EXPECT_EQ(layout.Data.Offset, 44u);
}

TEST(WaveLayout, ADataChunkLongerThanTheFileCountsOnlyWhatIsThere) {
    TempDir dir;
    WavRecipe recipe;
    recipe.DeclaredDataSize = 0xFFFFFFFF;
    const WaveLayout layout = LayoutOf(dir, WavBytes(recipe, Pcm16({1, 2, 3})));
    ASSERT_EQ(layout.Fault, WaveFault::None);
    EXPECT_EQ(layout.Data.Declared, 0xFFFFFFFFu);
    EXPECT_EQ(layout.Data.Bytes, 6u);
}

TEST(WaveLayout, RefusedHeadersGiveTheirFault) {
    TempDir dir;
    const std::string data = Pcm16({0, 0});
    auto faultOf = [&](const WavRecipe& recipe) {
        return LayoutOf(dir, WavBytes(recipe, data)).Fault;
    };

    WavRecipe adpcm;
    adpcm.FormatTag = 2;
    EXPECT_EQ(faultOf(adpcm), WaveFault::NoSupportFrm);
    WavRecipe extFloat;
    extFloat.Extensible = true;
    extFloat.PcmSubFormat = false;
    EXPECT_EQ(faultOf(extFloat), WaveFault::NoSupportFrm);
    WavRecipe extShort;
    extShort.Extensible = true;
    extShort.ExtensibleCbSize = 20;
    EXPECT_EQ(faultOf(extShort), WaveFault::NoSupportFrm);
    WavRecipe threeChannels;
    threeChannels.Channels = 3;
    EXPECT_EQ(faultOf(threeChannels), WaveFault::IllegalFile);
    WavRecipe rateZero;
    rateZero.Rate = 0;
    EXPECT_EQ(faultOf(rateZero), WaveFault::IllegalFile);
    WavRecipe rateHuge;
    rateHuge.Rate = 0xFFFFFFFF;
    EXPECT_EQ(faultOf(rateHuge), WaveFault::NoSupportFrm);

    std::string noRiff = WavBytes({}, data);
    noRiff[0] = 'X';
    EXPECT_EQ(LayoutOf(dir, noRiff).Fault, WaveFault::IllegalFile);
    std::string noData = WavBytes({}, data);
    noData[36] = 'D';
    EXPECT_EQ(LayoutOf(dir, noData).Fault, WaveFault::IllegalFile);
    EXPECT_EQ(LayoutOf(dir, WavBytes({}, data).substr(0, 30)).Fault, WaveFault::IllegalFile);

    const WaveLayout missing = ReadWaveLayout(dir.File("none.wav"));
    EXPECT_FALSE(missing.Opened);
    EXPECT_EQ(missing.Fault, WaveFault::IllegalFile);
    EXPECT_FALSE(ReadWaveLayout(dir.Path()).Opened);
}

}  // namespace
}  // namespace lumavox
