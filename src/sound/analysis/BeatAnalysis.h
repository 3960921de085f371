#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace lumavox {

// Onsets (where a sound starts: a hit, a pluck, a click) and beats (the pulse a listener taps,
// with its tempo) found in a sound, from the same samples the waveform peak list is read from:
// 16-bit PCM WAV files as they are, MP3 files decoded first (gaplessly, so that both give the
// same times). Any thread; nothing is shared between calls.

// Returned by AnalyseSound when the caller's cancel flag was set; the result is then empty.
inline constexpr int32_t kAnalysisCancelled = -5;

// What the analysis is asked to find.
struct BeatSettings {
    // How small a rise still counts as an onset: 1 finds only the strongest hits, 100 nearly
    // every rise in level. Values outside 1..100 are taken as the nearest end.
    int32_t Sensitivity = 50;

    friend bool operator==(const BeatSettings&, const BeatSettings&) = default;
};

// What was found. Times are whole milliseconds from the first sample of the sound, ascending,
// never negative.
struct BeatAnalysis {
    std::vector<int32_t> Onsets;
    std::vector<int32_t> Beats;
    double Tempo = 0.0;  // beats per minute; 0 when fewer than two beats were found

    friend bool operator==(const BeatAnalysis&, const BeatAnalysis&) = default;
};

// How a long analysis reports and stops. Progress gets 0..100, called on the analysing thread
// whenever the whole percent changes (never more than 101 times); cancel, when not null, is
// polled between blocks of about a second of sound. An MP3 file is decoded whole first, without
// progress and without looking at cancel; 0 comes once the decoding is done.
struct AnalysisControl {
    std::function<void(int32_t percent)> Progress;
    const std::atomic<bool>* Cancel = nullptr;
};

// A text naming the settings and the method, stored in the cache: an analysis with another key
// would give other times. Changes whenever the method does.
std::string BeatSettingsKey(const BeatSettings& settings);

// Analyses the sound at path (a .wav or .mp3 file, told by the name as the waveform reader does;
// resolved against the program folder). Returns 0 with result filled, kAnalysisCancelled, or the
// waveform reader's code: kSoundFileNotFound, kSoundIllegalFile, kSoundNoSupportFrm (also for a
// WAV file that is not 16-bit PCM and for a sound longer than the peak list takes),
// kSoundMp3Failed. Reports nothing; BeatFailureText gives the message for a code.
int32_t AnalyseSound(const std::string& path, const BeatSettings& settings, BeatAnalysis& result,
                     const AnalysisControl& control = {});

// The same on samples in memory: frameCount frames of channels (1 or 2) interleaved 16-bit
// samples at rate Hz. Returns 0 or kAnalysisCancelled.
int32_t AnalyseSamples(const int16_t* samples, size_t frameCount, int32_t channels, int32_t rate,
                       const BeatSettings& settings, BeatAnalysis& result,
                       const AnalysisControl& control = {});

// The program's message for a code AnalyseSound returned ("不正なファイルです"; empty for 0 and
// for kAnalysisCancelled), in the language chosen at start.
std::string_view BeatFailureText(int32_t code);

}  // namespace lumavox
