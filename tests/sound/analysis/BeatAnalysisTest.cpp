// Onsets and beats of test-made sounds whose answers are known: where the detector puts a click,
// that MP3 and WAV give the same times, what the sensitivity changes, progress and cancel.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <string>
#include <vector>

#include "fakes/ClickTrack.h"
#include "sound/WavFixture.h"
#include "sound/WavSound.h"
#include "sound/analysis/BeatAnalysis.h"

namespace lumavox {
namespace {

using test::Pcm16;
using test::TempDir;
using test::WavBytes;
using test::WavRecipe;
using test::WriteFile;

bool HaveLame() {
    return std::system("command -v lame >/dev/null 2>&1") == 0;
}

// Encodes a WAV file with lame (which records its delay and padding for gapless decoding).
bool Encode(const std::string& wav, const std::string& mp3, const std::string& options) {
    const std::string command =
        "lame --quiet " + options + " '" + wav + "' '" + mp3 + "' >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

std::string WriteTrack(const TempDir& dir, const std::string& name,
                       const testing::ClickTrack& track) {
    WavRecipe recipe;
    recipe.Rate = static_cast<uint32_t>(track.Rate);
    const std::string path = dir.File(name);
    WriteFile(path, WavBytes(recipe, Pcm16(track.Samples)));
    return path;
}

void ExpectClicksFound(const BeatAnalysis& result, const testing::ClickTrack& track,
                       const std::string& what) {
    const testing::OnsetScore score = testing::ScoreOnsets(result.Onsets, track);
    EXPECT_GE(score.FMeasure, 0.98) << what << ": " << result.Onsets.size() << " found, "
                                    << score.Matched << " of " << track.Onsets.size() << " true";
    EXPECT_LE(std::abs(score.MeanErrorMs), 3.0) << what;
}

TEST(BeatAnalysis, ClickTrackOnsetsAreOnTimeAndTheSameFromWavAndMp3) {
    const testing::ClickTrack track = testing::MakeClickTrack(60.0);
    TempDir dir;
    const std::string wav = WriteTrack(dir, "clicks.wav", track);
    BeatAnalysis fromWav;
    ASSERT_EQ(AnalyseSound(wav, {}, fromWav), 0);
    ExpectClicksFound(fromWav, track, "wav");

    if (!HaveLame()) {
        const char* ci = std::getenv("CI");
        if (ci != nullptr && std::string(ci) == "true") FAIL() << "lame missing";
        GTEST_SKIP() << "lame is not installed: the MP3 half is not checked";
    }
    for (const std::string options : {"-b 128", "-V 2"}) {
        const std::string mp3 = dir.File("clicks.mp3");
        ASSERT_TRUE(Encode(wav, mp3, options));
        BeatAnalysis fromMp3;
        ASSERT_EQ(AnalyseSound(mp3, {}, fromMp3), 0) << options;
        ExpectClicksFound(fromMp3, track, options);
        ASSERT_EQ(fromMp3.Onsets.size(), fromWav.Onsets.size()) << options;
        for (size_t i = 0; i < fromWav.Onsets.size(); ++i) {
            EXPECT_NEAR(fromMp3.Onsets[i], fromWav.Onsets[i], 1) << options << ", onset " << i;
        }
    }
}

TEST(BeatAnalysis, SensitivityDecidesHowSoftAHitStillCounts) {
    // loud clicks, and between them clicks 43 dB softer, below the level of the tone
    const testing::ClickTrack loud = testing::MakeClickTrack(20.0, 3);
    const testing::ClickTrack soft = testing::MakeClickTrack(20.0, 11);
    std::vector<int16_t> samples = loud.Samples;
    for (size_t i = 0; i < samples.size(); ++i) {
        samples[i] = static_cast<int16_t>(samples[i] + soft.Samples[i] / 150);
    }
    BeatAnalysis dull;
    BeatAnalysis keen;
    ASSERT_EQ(AnalyseSamples(samples.data(), loud.Frames(), 2, loud.Rate, {1}, dull), 0);
    ASSERT_EQ(AnalyseSamples(samples.data(), loud.Frames(), 2, loud.Rate, {100}, keen), 0);
    EXPECT_GE(testing::ScoreOnsets(dull.Onsets, loud).FMeasure, 0.98) << dull.Onsets.size();
    EXPECT_GE(testing::ScoreOnsets(keen.Onsets, soft).Matched, soft.Onsets.size() * 9 / 10)
        << keen.Onsets.size();
}

TEST(BeatAnalysis, ProgressRunsToTheEndAndCancelStopsEarly) {
    const testing::ClickTrack track = testing::MakeClickTrack(10.0);
    TempDir dir;
    const std::string wav = WriteTrack(dir, "clicks.wav", track);

    std::vector<int32_t> seen;
    AnalysisControl control;
    control.Progress = [&](int32_t percent) { seen.push_back(percent); };
    BeatAnalysis result;
    ASSERT_EQ(AnalyseSound(wav, {}, result, control), 0);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front(), 0);
    EXPECT_EQ(seen.back(), 100);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_EQ(std::adjacent_find(seen.begin(), seen.end()), seen.end());

    std::atomic<bool> cancel{false};
    seen.clear();
    control.Progress = [&](int32_t percent) {
        seen.push_back(percent);
        if (percent >= 30) cancel = true;
    };
    control.Cancel = &cancel;
    EXPECT_EQ(AnalyseSound(wav, {}, result, control), kAnalysisCancelled);
    EXPECT_TRUE(result.Onsets.empty());
    EXPECT_LT(seen.back(), 50);
}

TEST(BeatAnalysis, SoundsTheWaveformRefusesGiveItsCodes) {
    TempDir dir;
    WavRecipe eightBit;
    eightBit.BitsPerSample = 8;
    WriteFile(dir.File("eight.wav"), WavBytes(eightBit, std::string(44100, '\x80')));
    WriteFile(dir.File("broken.wav"), "RIFF\4\0\0\0WAVE");
    WriteFile(dir.File("broken.mp3"), std::string(4000, 'x'));
    WriteFile(dir.File("song.ogg"), "OggS");
    const std::pair<std::string, int32_t> cases[] = {
        {dir.File("missing.wav"), kSoundFileNotFound}, {dir.File("eight.wav"), kSoundNoSupportFrm},
        {dir.File("broken.wav"), kSoundIllegalFile},   {dir.File("broken.mp3"), kSoundMp3Failed},
        {dir.File("song.ogg"), kSoundNoSupportFrm},
    };
    for (const auto& [path, code] : cases) {
        BeatAnalysis result;
        result.Onsets = {1};
        EXPECT_EQ(AnalyseSound(path, {}, result), code) << path;
        EXPECT_EQ(result, BeatAnalysis{}) << path;
        EXPECT_FALSE(BeatFailureText(code).empty());
    }
}

}  // namespace
}  // namespace lumavox
