#include "sound/Mp3Decode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "WavFixture.h"
#include "fakes/RecordingSoundReporter.h"
#include "sound/SoundScan.h"
#include "sound/WavSound.h"
#include "sound/WaveFormat.h"

namespace lumavox {
namespace {

using test::Pcm16;
using test::RecordingSoundReporter;
using test::TempDir;
using test::WavBytes;
using test::WavRecipe;
using test::WriteFile;

bool HaveLame() {
    return std::system("command -v lame >/dev/null 2>&1") == 0;
}

#define REQUIRE_LAME()                                                                \
    do {                                                                              \
        if (!HaveLame()) {                                                            \
            const char* ci = std::getenv("CI");                                       \
            if (ci != nullptr && std::string(ci) == "true") FAIL() << "lame missing"; \
            GTEST_SKIP() << "lame is not installed";                                  \
        }                                                                             \
    } while (false)

// Encodes a WAV file with lame; the paths are test-made and need no quoting beyond this.
bool Encode(const std::string& wav, const std::string& mp3, const std::string& options) {
    const std::string command =
        "lame --quiet " + options + " '" + wav + "' '" + mp3 + "' >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

// Silence with one short click (alternating full-scale samples) starting at clickFrame.
std::vector<int16_t> ClickSound(size_t frames, int channels, size_t clickFrame) {
    std::vector<int16_t> s(frames * static_cast<size_t>(channels), 0);
    for (size_t f = clickFrame; f < clickFrame + 16 && f < frames; ++f) {
        for (int c = 0; c < channels; ++c) {
            s[f * static_cast<size_t>(channels) + static_cast<size_t>(c)] =
                static_cast<int16_t>(f % 2 == 0 ? 24000 : -24000);
        }
    }
    return s;
}

int LoudestEntry(const TWavFrmList& list) {
    int best = 0;
    for (int i = 1; i < list.Count(); ++i) {
        if (list[i].LeftMax > list[best].LeftMax) best = i;
    }
    return best;
}

// Points the process's temporary folder at a test folder for the life of the object.
class ScopedTmpDir {
public:
    explicit ScopedTmpDir(const std::string& path) {
        const char* old = std::getenv("TMPDIR");
        if (old != nullptr) m_old = old;
        m_hadOld = old != nullptr;
        setenv("TMPDIR", path.c_str(), 1);
    }
    ~ScopedTmpDir() {
        if (m_hadOld) {
            setenv("TMPDIR", m_old.c_str(), 1);
        } else {
            unsetenv("TMPDIR");
        }
    }
    ScopedTmpDir(const ScopedTmpDir&) = delete;
    ScopedTmpDir& operator=(const ScopedTmpDir&) = delete;

private:
    std::string m_old;
    bool m_hadOld = false;
};

size_t EntriesIn(const std::string& folder) {
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(folder),
                                             std::filesystem::directory_iterator()));
}

struct ClickCase {
    int Rate;
    int Channels;
    std::string Options;
};

void PrintTo(const ClickCase& c, std::ostream* os) {
    *os << c.Rate << " Hz, " << c.Channels << " ch, lame " << c.Options;
}

class Mp3Alignment : public ::testing::TestWithParam<ClickCase> {};

// The lights follow the sound's times: the decoded MP3 must start at the first real sample, with
// the encoder delay and padding trimmed, so that a click lands in the same 10-ms entry.
TEST_P(Mp3Alignment, AClickLandsInTheSameEntryAsInTheWav) {
    REQUIRE_LAME();
    const ClickCase c = GetParam();
    TempDir dir;
    TempDir scratch;
    const ScopedTmpDir tmp(scratch.Path());
    const size_t frames = static_cast<size_t>(c.Rate) * 3 + static_cast<size_t>(c.Rate) / 3;
    const size_t click = static_cast<size_t>(c.Rate) * 12345 / 10000;
    WavRecipe recipe;
    recipe.Rate = static_cast<uint32_t>(c.Rate);
    recipe.Channels = static_cast<uint16_t>(c.Channels);
    const std::string wav = dir.File("click.wav");
    const std::string mp3 = dir.File("click.mp3");
    WriteFile(wav, WavBytes(recipe, Pcm16(ClickSound(frames, c.Channels, click))));
    ASSERT_TRUE(Encode(wav, mp3, c.Options));

    RecordingSoundReporter reporter;
    WavSound sound(reporter);
    const int32_t wavCount = sound.LoadSound(wav);
    ASSERT_GT(wavCount, 0);
    const int wavClick = LoudestEntry(sound.List());
    EXPECT_EQ(wavClick, 123);

    reporter.Statuses.clear();
    const int32_t mp3Count = sound.LoadSound(mp3);
    ASSERT_GT(mp3Count, 0) << (reporter.Errors.empty() ? "" : reporter.Errors.back());
    EXPECT_NEAR(LoudestEntry(sound.List()), wavClick, 1);
    EXPECT_NEAR(mp3Count, wavCount, 1);
    // A complete cache of the MP3 is trusted; one short by more than a second is not.
    const std::optional<int64_t> least = MinimumPeakFrames(mp3);
    ASSERT_TRUE(least.has_value());
    EXPECT_LE(*least, mp3Count);
    EXPECT_GT(*least, mp3Count - 200);
    EXPECT_EQ(sound.Channels(), c.Channels);
    EXPECT_EQ(sound.Rate(), c.Rate);
    EXPECT_TRUE(reporter.Errors.empty());
    EXPECT_EQ(reporter.Statuses.front(), "MP3 Decoding... ");
    EXPECT_EQ(reporter.Statuses.back(), "");
    EXPECT_EQ(EntriesIn(scratch.Path()), 0u);  // the temporary WAV and its folder are gone
}

INSTANTIATE_TEST_SUITE_P(Encodings, Mp3Alignment,
                         ::testing::Values(ClickCase{44100, 2, "-b 192"},
                                           ClickCase{22050, 1, "-m m -b 64"},
                                           ClickCase{48000, 2, "-V 2"}),
                         [](const auto& param) {
                             return std::to_string(param.param.Rate) + "Hz" +
                                    std::to_string(param.param.Channels) + "ch";
                         });

TEST(Mp3Decode, UndecodableFilesGiveTheDecodingErrorAndLeaveNoTemporaryFile) {
    TempDir dir;
    TempDir scratch;
    const ScopedTmpDir tmp(scratch.Path());
    RecordingSoundReporter reporter;
    WavSound sound(reporter);
    const std::string wav = dir.File("s.wav");
    WriteFile(wav, WavBytes(WavRecipe(), Pcm16(std::vector<int16_t>(44100 * 2, 3))));
    ASSERT_EQ(sound.LoadSound(wav), 100);

    // Text, a WAV file under an MP3 name, and nothing at all.
    WriteFile(dir.File("text.mp3"), std::string(5000, 'x'));
    WriteFile(dir.File("wave.mp3"), WavBytes(WavRecipe(), Pcm16(std::vector<int16_t>(8000, 0))));
    WriteFile(dir.File("empty.mp3"), "");
    for (const char* name : {"text.mp3", "wave.mp3", "empty.mp3"}) {
        SCOPED_TRACE(name);
        reporter.Errors.clear();
        EXPECT_EQ(sound.LoadSound(dir.File(name)), kSoundMp3Failed);
        EXPECT_EQ(reporter.Errors, std::vector<std::string>{"MP3 Decoding Error"});
        EXPECT_EQ(sound.List().Count(), 100);
        EXPECT_EQ(EntriesIn(scratch.Path()), 0u);
    }
    Mp3Info info;
    EXPECT_FALSE(ReadMp3Info(dir.File("text.mp3"), &info));
    EXPECT_FALSE(ReadMp3Info(dir.File("missing.mp3"), &info));
}

TEST(Mp3Decode, TellsItsProgressAndStopsWhenCancelledLeavingNoTemporaryFile) {
    REQUIRE_LAME();
    TempDir dir;
    TempDir scratch;
    const ScopedTmpDir tmp(scratch.Path());
    // 30 s: several decoder buffers, so that progress moves and a cancel has a read to stop.
    WriteFile(dir.File("a.wav"),
              WavBytes(WavRecipe{}, Pcm16(ClickSound(44100 * 30, 2, 44100 * 20))));
    ASSERT_TRUE(Encode(dir.File("a.wav"), dir.File("a.mp3"), "-b 128"));

    std::vector<int> percents;
    SoundReadControl control;
    control.Status = [&](std::string_view text) {
        if (text.starts_with("MP3 Decoding... ") && text.ends_with("%")) {
            percents.push_back(std::stoi(std::string(text.substr(16))));
        }
    };
    EXPECT_GT(ScanSound(dir.File("a.mp3"), control).Code, 2900);
    ASSERT_GE(percents.size(), 2u);
    EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
    EXPECT_LT(percents.back(), 100);

    // Cancelled with the first text: no buffer is decoded after it.
    std::atomic<bool> cancel{false};
    std::vector<std::string> statuses;
    control.Cancel = &cancel;
    control.Status = [&](std::string_view text) {
        statuses.emplace_back(text);
        cancel.store(true);
    };
    EXPECT_TRUE(ScanSound(dir.File("a.mp3"), control).Cancelled);
    EXPECT_EQ(statuses, (std::vector<std::string>{"MP3 Decoding... ", "", ""}));
    EXPECT_EQ(EntriesIn(scratch.Path()), 0u);
}

TEST(Mp3Decode, WritesASixteenBitWavAndReplacesAStaleTarget) {
    REQUIRE_LAME();
    TempDir dir;
    WavRecipe mono;
    mono.Channels = 1;
    WriteFile(dir.File("a.wav"), WavBytes(mono, Pcm16(ClickSound(44100, 1, 1000))));
    ASSERT_TRUE(Encode(dir.File("a.wav"), dir.File("a.mp3"), "-b 128"));

    const std::string target = dir.File("$$temp.wav");
    WriteFile(target, "stale bytes from an earlier run");
    EXPECT_FALSE(DecodeMp3(dir.File("missing.mp3"), target));
    EXPECT_FALSE(std::filesystem::exists(target));

    WriteFile(target, "stale bytes from an earlier run");
    ASSERT_TRUE(DecodeMp3(dir.File("a.mp3"), target));
    const WaveLayout layout = ReadWaveLayout(target);
    ASSERT_EQ(layout.Fault, WaveFault::None);
    EXPECT_EQ(layout.Format.FormatTag, kWaveFormatPcm);
    EXPECT_EQ(layout.Format.Channels, 1);
    EXPECT_EQ(layout.Format.Rate, 44100u);
    EXPECT_EQ(layout.Format.BitsPerSample, 16);
    EXPECT_EQ(layout.Data.Offset, 44u);
    EXPECT_EQ(layout.Data.Declared, layout.Data.Bytes);
    EXPECT_EQ(layout.Data.Declared, 44100u * 2u);  // gapless: exactly the encoded samples
}

TEST(Mp3Decode, ATruncatedStreamDecodesWhatIsThere) {
    REQUIRE_LAME();
    TempDir dir;
    WriteFile(dir.File("a.wav"), WavBytes(WavRecipe(), Pcm16(ClickSound(44100 * 2, 2, 50000))));
    ASSERT_TRUE(Encode(dir.File("a.wav"), dir.File("a.mp3"), "-b 192"));
    const auto size = std::filesystem::file_size(dir.File("a.mp3"));
    std::filesystem::resize_file(dir.File("a.mp3"), size / 2);
    RecordingSoundReporter reporter;
    WavSound sound(reporter);
    const int32_t count = sound.LoadSound(dir.File("a.mp3"));
    EXPECT_GT(count, 50);
    EXPECT_LT(count, 150);
}

// The editor, the command-line tool and parallel tests decode at the same time: each decode has
// its own temporary folder and decoder, and the results do not mix.
TEST(Mp3Decode, ParallelLoadsDoNotShareTheirTemporaryFile) {
    REQUIRE_LAME();
    TempDir dir;
    WriteFile(dir.File("a.wav"), WavBytes(WavRecipe(), Pcm16(ClickSound(44100 * 2, 2, 30000))));
    WavRecipe mono;
    mono.Channels = 1;
    WriteFile(dir.File("b.wav"), WavBytes(mono, Pcm16(ClickSound(44100 * 3, 1, 70000))));
    ASSERT_TRUE(Encode(dir.File("a.wav"), dir.File("a.mp3"), "-b 128"));
    ASSERT_TRUE(Encode(dir.File("b.wav"), dir.File("b.mp3"), "-m m -b 64"));

    const auto loadRepeatedly = [&](const std::string& name, std::vector<int32_t>& counts) {
        RecordingSoundReporter reporter;
        WavSound sound(reporter);
        for (int i = 0; i < 4; ++i) counts.push_back(sound.LoadSound(dir.File(name)));
    };
    std::vector<int32_t> countsA;
    std::vector<int32_t> countsB;
    std::thread other([&] { loadRepeatedly("b.mp3", countsB); });
    loadRepeatedly("a.mp3", countsA);
    other.join();
    EXPECT_EQ(countsA, std::vector<int32_t>(4, 200));
    EXPECT_EQ(countsB, std::vector<int32_t>(4, 300));
}

TEST(ReadMp3Info, ReportsChannelsBitRateRateAndLength) {
    REQUIRE_LAME();
    TempDir dir;
    WriteFile(dir.File("s.wav"), WavBytes(WavRecipe(), Pcm16(ClickSound(44100 * 3 + 30000, 2, 5))));
    ASSERT_TRUE(Encode(dir.File("s.wav"), dir.File("cbr.mp3"), "-b 192"));
    Mp3Info info;
    ASSERT_TRUE(ReadMp3Info(dir.File("cbr.mp3"), &info));
    EXPECT_EQ(info.Channels, 2);
    EXPECT_EQ(info.BitRate, 192);
    EXPECT_EQ(info.Rate, 44100);
    EXPECT_EQ(info.LengthSec, 3);

    WavRecipe mono;
    mono.Channels = 1;
    mono.Rate = 22050;
    WriteFile(dir.File("m.wav"), WavBytes(mono, Pcm16(ClickSound(22050 * 5, 1, 5))));
    ASSERT_TRUE(Encode(dir.File("m.wav"), dir.File("vbr.mp3"), "-m m -V 4"));
    ASSERT_TRUE(ReadMp3Info(dir.File("vbr.mp3"), &info));
    EXPECT_EQ(info.Channels, 1);
    EXPECT_EQ(info.Rate, 22050);
    EXPECT_EQ(info.LengthSec, 5);
    EXPECT_GT(info.BitRate, 0);
    EXPECT_LE(info.BitRate, 160);
}

}  // namespace
}  // namespace lumavox
