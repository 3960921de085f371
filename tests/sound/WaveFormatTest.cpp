#include "sound/WaveFormat.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <limits>
#include <vector>

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
    WavRecipe extUnknown;
    extUnknown.Extensible = true;
    extUnknown.SubFormatId = 6;  // A-law
    EXPECT_EQ(faultOf(extUnknown), WaveFault::NoSupportFrm);
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

// The stored frames converted to 16 bits.
std::vector<int16_t> Converted(const WaveFormat& format, const std::string& bytes) {
    const size_t frames = bytes.size() / format.BlockAlign;
    std::vector<int16_t> out(frames * format.Channels);
    ConvertWaveSamples(format, reinterpret_cast<const unsigned char*>(bytes.data()), frames,
                       out.data());
    return out;
}

WaveFormat MonoFormat(int width, bool isFloat) {
    WaveFormat f;
    f.Pcm = !isFloat;
    f.Float = isFloat;
    f.Channels = 1;
    f.BytesPerSample = width;
    f.BlockAlign = static_cast<uint16_t>(width);
    f.BitsPerSample = static_cast<uint16_t>(8 * width);
    return f;
}

TEST(ConvertWaveSamples, WideSamplesTruncateTowardZeroAndFloatIsClipped) {
    using test::PcmFloat;
    using test::PcmWide;
    using V = std::vector<int16_t>;
    EXPECT_EQ(Converted(MonoFormat(1, false), std::string("\x00\x7f\x80\xff", 4)),
              (V{-32768, -256, 0, 32512}));
    EXPECT_EQ(Converted(MonoFormat(2, false), Pcm16({-32768, -1, 0, 32767})),
              (V{-32768, -1, 0, 32767}));
    // A floor (the top two bytes) would give -1 for the small negative values.
    EXPECT_EQ(Converted(MonoFormat(3, false),
                        PcmWide({-8388608, -257, -256, -255, -1, 0, 255, 256, 8388607}, 3)),
              (V{-32768, -1, -1, 0, 0, 0, 0, 1, 32767}));
    EXPECT_EQ(Converted(MonoFormat(4, false),
                        PcmWide({INT32_MIN, -65537, -65535, -1, 65535, 65536, INT32_MAX}, 4)),
              (V{-32768, -1, 0, 0, 0, 1, 32767}));
    const float inf = std::numeric_limits<float>::infinity();
    EXPECT_EQ(Converted(MonoFormat(4, true),
                        PcmFloat({-inf, -2.0f, -1.0f, -0.5f, -1e-9f, 0.0f, 1.0f / 32768, 0.5f,
                                  0.99999f, 1.0f, 3.0f, inf, std::nanf("")})),
              (V{-32768, -32768, -32768, -16384, 0, 0, 1, 16384, 32767, 32767, 32767, 32767, 0}));

    // Stereo frames step by the block; each channel keeps its place.
    WaveFormat stereo = MonoFormat(3, false);
    stereo.Channels = 2;
    stereo.BlockAlign = 6;
    EXPECT_EQ(Converted(stereo, PcmWide({256, -512, 768, -1024}, 3)), (V{1, -2, 3, -4}));
}

}  // namespace
}  // namespace lumavox
