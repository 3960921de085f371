// The .beats cache: its text layout, what it refuses, and when it stands for the sound.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "fakes/ClickTrack.h"
#include "sound/WavFixture.h"
#include "sound/analysis/BeatCache.h"

namespace lumavox {
namespace {

using test::Pcm16;
using test::TempDir;
using test::WavBytes;
using test::WavRecipe;
using test::WriteFile;

constexpr std::string_view kSample =
    "lumavox-beats 1\n"
    "sound 4233644 1796728441462576978\n"
    "settings hfc-2 sensitivity 50\n"
    "tempo 120.016\n"
    "onsets 3\n"
    "0\n"
    "250\n"
    "499\n"
    "beats 2\n"
    "0\n"
    "499\n"
    "end\n";

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::string Replaced(std::string_view text, std::string_view from, std::string_view to) {
    std::string s(text);
    s.replace(s.find(from), from.size(), to);
    return s;
}

TEST(BeatCache, ReadsExactlyTheLayoutItWrites) {
    const std::optional<BeatCacheContent> content = ParseBeatCache(kSample);
    ASSERT_TRUE(content.has_value());
    EXPECT_EQ(content->Stamp, (SoundStamp{4233644, 1796728441462576978}));
    EXPECT_EQ(content->SettingsKey, "hfc-2 sensitivity 50");
    EXPECT_EQ(content->Analysis.Tempo, 120.016);
    EXPECT_EQ(content->Analysis.Onsets, (std::vector<int32_t>{0, 250, 499}));
    EXPECT_EQ(content->Analysis.Beats, (std::vector<int32_t>{0, 499}));
    EXPECT_EQ(FormatBeatCache(*content), kSample);

    // a cache cut off anywhere (a crash while writing it elsewhere, a full disk) is refused
    for (size_t length = 0; length < kSample.size(); ++length) {
        EXPECT_FALSE(ParseBeatCache(kSample.substr(0, length))) << length;
    }
    const std::string damaged[] = {
        Replaced(kSample, "250\n499\nbeats", "499\n250\nbeats"),  // out of order
        Replaced(kSample, "250\n499\nbeats", "250\n250\nbeats"),  // twice the same time
        Replaced(kSample, "onsets 3", "onsets 4"),                // fewer times than counted
        Replaced(kSample, "onsets 3", "onsets 2"),                // more
        Replaced(kSample, "onsets 3", "onsets 4294967295"),
        Replaced(kSample, "\n0\n250", "\n-1\n250"),
        Replaced(kSample, "\n250\n", "\n0250\n"),
        Replaced(kSample, "\n250\n", "\n+250\n"),
        Replaced(kSample, "\n250\n", "\n2147483648\n"),
        Replaced(kSample, "tempo 120.016", "tempo 120.0160"),
        Replaced(kSample, "tempo 120.016", "tempo nan"),
        Replaced(kSample, "sound 4233644 ", "sound -1 "),
        Replaced(kSample, "lumavox-beats 1", "lumavox-beats 2"),
        Replaced(kSample, "settings hfc-2", "settings \x1b[2Jhfc-2"),
        Replaced(kSample, "\n", "\r\n"),
        std::string(kSample) + "0\n",
    };
    for (const std::string& text : damaged) EXPECT_FALSE(ParseBeatCache(text)) << text;
}

TEST(BeatCache, StandsForTheSoundOnlyWhileSoundAndSettingsAreUnchanged) {
    TempDir dir;
    const testing::ClickTrack track = testing::MakeClickTrack(6.0);
    const std::string wav = dir.File("clicks.wav");
    WriteFile(wav, WavBytes(WavRecipe{}, Pcm16(track.Samples)));
    const std::string cache = BeatCachePath(wav);
    EXPECT_EQ(cache, wav + ".beats");

    BeatAnalysis first;
    bool fromCache = true;
    ASSERT_EQ(AnalyseSoundCached(wav, {}, first, {}, &fromCache), 0);
    EXPECT_FALSE(fromCache);
    ASSERT_GE(first.Onsets.size(), track.Onsets.size());
    const std::optional<BeatCacheContent> written = ParseBeatCache(ReadText(cache));
    ASSERT_TRUE(written.has_value());
    EXPECT_EQ(written->Stamp, StampOf(wav));
    EXPECT_EQ(written->Analysis, first);

    // a fresh cache is taken as it stands, without looking at the sound
    BeatCacheContent marked = *written;
    marked.Analysis.Onsets = {7};
    WriteFile(cache, FormatBeatCache(marked));
    BeatAnalysis again;
    ASSERT_EQ(AnalyseSoundCached(wav, {}, again, {}, &fromCache), 0);
    EXPECT_TRUE(fromCache);
    EXPECT_EQ(again.Onsets, std::vector<int32_t>{7});

    // other settings, a damaged cache and a sound touched since all analyse anew and rewrite it
    const auto expectRebuilt = [&](const BeatSettings& settings, const std::string& what) {
        BeatAnalysis result;
        ASSERT_EQ(AnalyseSoundCached(wav, settings, result, {}, &fromCache), 0) << what;
        EXPECT_FALSE(fromCache) << what;
        EXPECT_EQ(result.Onsets.size(), first.Onsets.size()) << what;
        const std::optional<BeatCacheContent> now = ParseBeatCache(ReadText(cache));
        ASSERT_TRUE(now.has_value()) << what;
        EXPECT_EQ(now->SettingsKey, BeatSettingsKey(settings)) << what;
        EXPECT_EQ(now->Analysis, result) << what;
    };
    WriteFile(cache, FormatBeatCache(marked));
    expectRebuilt({70}, "other sensitivity");
    WriteFile(cache, std::string(kSample.substr(0, 40)));
    expectRebuilt({}, "damaged");
    WriteFile(cache, FormatBeatCache(marked));
    const timespec times[2] = {{0, UTIME_OMIT}, {1234567, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, wav.c_str(), times, 0), 0);
    expectRebuilt({}, "touched");

    // a FIFO under the cache's name is neither read nor written (held open here, so that a
    // writer would not block but leave its bytes in it)
    ASSERT_EQ(unlink(cache.c_str()), 0);
    ASSERT_EQ(mkfifo(cache.c_str(), 0600), 0);
    const int reader = open(cache.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(reader, 0);
    BeatAnalysis result;
    EXPECT_EQ(AnalyseSoundCached(wav, {}, result, {}, &fromCache), 0);
    EXPECT_EQ(result, first);
    char byte = 0;
    EXPECT_LE(read(reader, &byte, 1), 0);
    close(reader);
}

}  // namespace
}  // namespace lumavox
