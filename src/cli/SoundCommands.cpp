// lumavox-cli peaks and wavinfo: the sound file tools.
#include <cstdio>
#include <nlohmann/json.hpp>
#include <span>

#include "cli/CliArgs.h"
#include "cli/CliPaths.h"
#include "cli/Commands.h"
#include "cli/ScratchFolder.h"
#include "cli/StderrReporter.h"
#include "model/ProjectFile.h"
#include "platform/FileReplace.h"
#include "sound/SoundInfo.h"
#include "sound/WavSound.h"

namespace lumavox::cli {

namespace {

constexpr const char* kPeaksHelp =
    "usage: lumavox-cli peaks SOUND OUT.wfm|-\n"
    "Reads SOUND as the editor does (WAV of 16-, 24- or 32-bit integer or 32-bit float samples\n"
    "directly, MP3 decoded first), writes its waveform peak cache to OUT.wfm and prints the\n"
    "number of peak frames; with OUT \"-\" the cache goes to stdout instead. OUT is never the\n"
    "input itself. On failure the error goes to stderr and the exit status is the reader's error\n"
    "code: 1 file not found or not readable, 2 not a valid file, 3 unsupported format, 4 MP3\n"
    "decoding failed.\n";

constexpr const char* kWavInfoHelp =
    "usage: lumavox-cli wavinfo SOUND\n"
    "Prints SOUND's format as JSON: channels, rate, bytesPerSample, bits, lengthMs and the text\n"
    "the project settings show for it. A WAV file must hold 8-, 16-, 24- or 32-bit integer or\n"
    "32-bit float samples; any other file is taken as MP3, and one whose information cannot be\n"
    "read gives \"MP3 Audio File ?\" with zeros.\n";

}  // namespace

int PeaksCommand(const std::vector<std::string>& args) {
    int status = 0;
    const auto parsed = ParseCommand(args, {{}, {}}, kPeaksHelp, 2,
                                     "peaks takes SOUND and OUT.wfm (see --help)", status);
    if (!parsed) return status;
    const std::string soundPath = AbsolutePath(parsed->positionals[0]);
    const bool toStdout = parsed->positionals[1] == "-";
    const std::string out = toStdout ? std::string() : AbsolutePath(parsed->positionals[1]);

    if (const std::string problem = InputProblem(soundPath); !problem.empty()) {
        return FailFile(soundPath, problem);
    }
    if (!toStdout && SameFile(out, soundPath)) {
        return FailFile(out, "is the input file; not overwriting it");
    }
    if (HasExtension(soundPath, ".WAV")) {
        const WavProblem problem = CheckWavFile(soundPath, false);
        if (!problem.Text.empty()) return FailFile(soundPath, problem.Text, {}, problem.Code);
    } else if (!HasExtension(soundPath, ".MP3")) {
        return FailFile(soundPath,
                        "unsupported sound type (the waveform reads .wav and .mp3 files)", {},
                        -kSoundNoSupportFrm);
    }

    // An MP3 is decoded into a temporary WAV file: it goes into a folder that is removed even
    // when the decoding is interrupted.
    ScratchFolder scratch;
    StderrReporter reporter(soundPath);
    WavSound sound(reporter);
    const int32_t count = sound.LoadSound(soundPath);
    if (count < 0) return -count;  // the reader has reported the error

    // A sound shorter than one peak frame gives an empty cache, which holds no records.
    const auto* data = reinterpret_cast<const uint8_t*>(sound.List().Data());
    const std::span<const uint8_t> bytes(
        data, count == 0 ? 0 : static_cast<size_t>(count) * sizeof(PeakFrame));
    if (toStdout) {
        Print({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
        return FinishOutput(0);
    }
    if (const int error = ReplaceFileAtomically(out, bytes); error != 0) {
        return FailFile(out, "cannot write", OsReason(error));
    }
    Print(std::to_string(count) + "\n");
    return FinishOutput(0);
}

int WavInfoCommand(const std::vector<std::string>& args) {
    int status = 0;
    const auto parsed = ParseCommand(args, {{}, {}}, kWavInfoHelp, 1,
                                     "wavinfo takes one SOUND (see --help)", status);
    if (!parsed) return status;
    const std::string path = AbsolutePath(parsed->positionals[0]);
    if (const std::string problem = InputProblem(path); !problem.empty()) {
        return FailFile(path, problem);
    }
    if (HasExtension(path, ".WAV")) {
        const WavProblem problem = CheckWavFile(path, true);
        if (!problem.Text.empty()) return FailFile(path, problem.Text);
    }

    StderrReporter reporter(path);
    WavSound sound(reporter);
    const SoundInfo info = SoundInfoText(sound, path);
    if (!info.Ok) {
        // the reader has printed why
        return kStatusFailed;
    }
    nlohmann::ordered_json json;
    json["channels"] = info.Channels;
    json["rate"] = info.Rate;
    json["bytesPerSample"] = info.BytesPerSample;
    json["bits"] = info.Bits;
    json["lengthMs"] = info.LengthMs;
    json["text"] = info.Text;
    Print(json.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n");
    return FinishOutput(0);
}

}  // namespace lumavox::cli
