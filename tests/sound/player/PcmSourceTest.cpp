#include "sound/player/PcmSource.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "PlayerFiles.h"

namespace lumavox {
namespace {

using test::Pcm16;
using test::TempDir;
using test::WavBytes;
using test::WavRecipe;
using test::WriteFile;

TEST(PcmSource, WavSixteenBitReadsAsStoredFromAnyFrame) {
    TempDir dir;
    std::vector<int16_t> samples;
    for (int i = 0; i < 1000; ++i) {
        samples.push_back(static_cast<int16_t>(i));
        samples.push_back(static_cast<int16_t>(-i));
    }
    const std::string path = dir.File("tone with blanks é.wav");
    WriteFile(path, WavBytes(WavRecipe{}, Pcm16(samples)));
    PcmSourceResult opened = OpenPcmSource(path);
    ASSERT_TRUE(opened.Source) << opened.Error;
    IPcmSource& source = *opened.Source;
    EXPECT_EQ(source.Rate(), 44100u);
    EXPECT_EQ(source.Channels(), 2u);
    EXPECT_EQ(source.FrameCount(), 1000u);

    std::vector<int16_t> out(20);
    ASSERT_TRUE(source.Seek(990));
    EXPECT_EQ(source.Read(out.data(), 10), 10u);
    EXPECT_EQ(out[0], 990);
    EXPECT_EQ(out[1], -990);
    EXPECT_EQ(source.Read(out.data(), 10), 0u);  // at the end
    source.Seek(5000);                           // clamped to the end
    EXPECT_EQ(source.Read(out.data(), 10), 0u);
}

TEST(PcmSource, WavOtherWidthsBecomeSixteenBit) {
    TempDir dir;
    WavRecipe eight;
    eight.Channels = 1;
    eight.BitsPerSample = 8;
    const std::string path8 = dir.File("eight.wav");
    WriteFile(path8, WavBytes(eight, std::string("\x00\x80\xff", 3)));
    PcmSourceResult opened = OpenPcmSource(path8);
    ASSERT_TRUE(opened.Source) << opened.Error;
    int16_t out[3] = {};
    ASSERT_EQ(opened.Source->Read(out, 3), 3u);
    EXPECT_EQ(out[0], -32768);
    EXPECT_EQ(out[1], 0);
    EXPECT_EQ(out[2], 32512);

    WavRecipe wide;
    wide.Channels = 1;
    wide.BitsPerSample = 24;
    const std::string path24 = dir.File("wide.wav");
    WriteFile(path24, WavBytes(wide, std::string("\x11\x34\x12\x00\x00\x80", 6)));
    opened = OpenPcmSource(path24);
    ASSERT_TRUE(opened.Source) << opened.Error;
    ASSERT_EQ(opened.Source->Read(out, 2), 2u);
    EXPECT_EQ(out[0], 0x1234);
    EXPECT_EQ(out[1], -32768);

    // Stereo extensible float plays as the waveform reads it, clipped.
    WavRecipe floats;
    floats.Extensible = true;
    floats.PcmSubFormat = false;
    floats.BitsPerSample = 32;
    const std::string pathF = dir.File("float.wav");
    WriteFile(pathF, WavBytes(floats, test::PcmFloat({0.5f, -1.5f, -0.25f, 2.0f})));
    opened = OpenPcmSource(pathF);
    ASSERT_TRUE(opened.Source) << opened.Error;
    EXPECT_EQ(opened.Source->FrameCount(), 2u);
    int16_t stereo[4] = {};
    ASSERT_EQ(opened.Source->Read(stereo, 2), 2u);
    EXPECT_EQ(stereo[0], 16384);
    EXPECT_EQ(stereo[1], -32768);
    EXPECT_EQ(stereo[2], -8192);
    EXPECT_EQ(stereo[3], 32767);
}

TEST(PcmSource, TruncatedDataEndsTheSoundAtTheLastWholeFrame) {
    TempDir dir;
    WavRecipe recipe;
    recipe.DeclaredDataSize = 4000;  // declares more than the file holds
    const std::string path = dir.File("short.wav");
    WriteFile(path, WavBytes(recipe, std::string(4 * 25 + 3, '\0')));
    PcmSourceResult opened = OpenPcmSource(path);
    ASSERT_TRUE(opened.Source) << opened.Error;
    EXPECT_EQ(opened.Source->FrameCount(), 25u);
}

TEST(PcmSource, RefusesWhatItCannotPlay) {
    TempDir dir;
    EXPECT_FALSE(OpenPcmSource(dir.File("missing.wav")).Source);
    const std::string junk = dir.File("junk.mp3");
    WriteFile(junk, std::string(5000, 'x'));
    PcmSourceResult opened = OpenPcmSource(junk);
    EXPECT_FALSE(opened.Source);
    EXPECT_FALSE(opened.Error.empty());
    WavRecipe floatWav;
    floatWav.FormatTag = 3;
    floatWav.BitsPerSample = 64;
    const std::string f = dir.File("float64.wav");
    WriteFile(f, WavBytes(floatWav, std::string(80, '\0')));
    EXPECT_FALSE(OpenPcmSource(f).Source);
}

TEST(PcmSource, Mp3LengthIsTheEncodedWavLengthWithoutDelayOrPadding) {
    TempDir dir;
    const std::string wav = dir.File("tone.wav");
    const std::string mp3 = dir.File("tone ü.mp3");
    test::WriteToneWav(wav, 44100 * 3 + 123);
    if (!test::EncodeMp3(wav, mp3)) {
        if (std::getenv("CI")) FAIL() << "lame is needed to make the MP3 fixture";
        GTEST_SKIP() << "lame is not installed";
    }
    PcmSourceResult opened = OpenPcmSource(mp3);
    ASSERT_TRUE(opened.Source) << opened.Error;
    EXPECT_EQ(opened.Source->FrameCount(), 44100u * 3 + 123);
    EXPECT_EQ(FramesToMs(opened.Source->FrameCount(), opened.Source->Rate()), 3002);

    // Reading on from a seek gives exactly the frames up to the end.
    std::vector<int16_t> out(2 * 4096);
    ASSERT_TRUE(opened.Source->Seek(44100 * 3));
    size_t total = 0;
    while (size_t got = opened.Source->Read(out.data(), 4096)) total += got;
    EXPECT_EQ(total, 123u);
}

TEST(PcmSource, FramesToMsTruncatesWithoutOverflow) {
    EXPECT_EQ(FramesToMs(44099, 44100), 999);
    EXPECT_EQ(FramesToMs(44100, 44100), 1000);
    EXPECT_EQ(FramesToMs(0xFFFFFFFFFFull, 48000), 0xFFFFFFFFFFll / 48);
    EXPECT_EQ(FramesToMs(100, 0), 0);
}

}  // namespace
}  // namespace lumavox
