// lumavox-cli beats: the onsets, beats and tempo of a sound.
#include <nlohmann/json.hpp>

#include "cli/CliArgs.h"
#include "cli/CliPaths.h"
#include "cli/Commands.h"
#include "cli/StderrReporter.h"
#include "model/ProjectFile.h"
#include "sound/WavSound.h"
#include "sound/analysis/BeatAnalysis.h"
#include "sound/analysis/BeatCache.h"

namespace lumavox::cli {

namespace {

constexpr const char* kBeatsHelp =
    "usage: lumavox-cli beats SOUND [--onsets|--beats] [--json] [--sensitivity N] [--no-cache]\n"
    "Finds where the hits and notes of SOUND start (onsets) and the pulse a listener would tap\n"
    "(beats, with their tempo), reading SOUND as the waveform does (16-bit PCM WAV directly, MP3\n"
    "decoded first), and prints one time in milliseconds from the start of the sound per line:\n"
    "the beats, or with --onsets the onsets. --json prints one JSON object instead, with the\n"
    "tempo in beats per minute (0 when no beat was found) and both lists.\n"
    "--sensitivity N (1..100, default 50): how soft a rise still counts as an onset.\n"
    "The result is kept in SOUND.beats beside the sound and used again while the sound and the\n"
    "sensitivity stay the same; --no-cache neither reads nor writes it. On failure the error goes\n"
    "to stderr and the exit status is the sound reader's error code (see peaks --help).\n";

std::string TimeLines(const std::vector<int32_t>& times) {
    std::string text;
    text.reserve(times.size() * 8);
    for (const int32_t t : times) text += std::to_string(t) + "\n";
    return text;
}

}  // namespace

int BeatsCommand(const std::vector<std::string>& args) {
    int status = 0;
    const auto parsed =
        ParseCommand(args, {{"--sensitivity"}, {"--onsets", "--beats", "--json", "--no-cache"}},
                     kBeatsHelp, 1, "beats takes one SOUND (see --help)", status);
    if (!parsed) return status;
    if (parsed->Has("--onsets") && parsed->Has("--beats")) {
        return Fail("--onsets and --beats exclude each other (see --help)", kStatusUsage);
    }
    BeatSettings settings;
    if (const std::string* text = parsed->Value("--sensitivity")) {
        const std::optional<int32_t> value = ParseInt32(*text);
        if (!value || *value < 1 || *value > 100) {
            return Fail("--sensitivity must be 1..100 (see --help)", kStatusUsage);
        }
        settings.Sensitivity = *value;
    }
    const std::string soundPath = AbsolutePath(parsed->positionals[0]);
    if (const std::string problem = InputProblem(soundPath); !problem.empty()) {
        return FailFile(soundPath, problem);
    }
    if (HasExtension(soundPath, ".WAV")) {
        const WavProblem problem = CheckWavFile(soundPath, false);
        if (!problem.Text.empty()) return FailFile(soundPath, problem.Text, {}, problem.Code);
    } else if (!HasExtension(soundPath, ".MP3")) {
        return FailFile(soundPath,
                        "unsupported sound type (the analysis reads .wav and .mp3 files)", {},
                        -kSoundNoSupportFrm);
    }

    BeatAnalysis result;
    const int32_t code = parsed->Has("--no-cache")
                             ? AnalyseSound(soundPath, settings, result)
                             : AnalyseSoundCached(soundPath, settings, result);
    if (code != 0) {
        return FailFile(soundPath, EnglishSoundText(BeatFailureText(code)), {}, -code);
    }
    if (parsed->Has("--json")) {
        nlohmann::ordered_json json;
        json["tempo"] = result.Tempo;
        json["onsets"] = result.Onsets;
        json["beats"] = result.Beats;
        Print(json.dump() + "\n");
    } else {
        Print(TimeLines(parsed->Has("--onsets") ? result.Onsets : result.Beats));
    }
    return FinishOutput(0);
}

}  // namespace lumavox::cli
