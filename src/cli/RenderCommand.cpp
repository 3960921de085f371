// lumavox-cli render: what a show sends, frame by frame, without playing it.
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <span>
#include <vector>

#include "cli/CliArgs.h"
#include "cli/CliPaths.h"
#include "cli/CliShow.h"
#include "cli/Commands.h"
#include "cli/ShowRender.h"
#include "dmx/Patch.h"
#include "engine/Engine.h"
#include "model/ColourEval.h"
#include "model/ProjectFile.h"
#include "platform/FileReplace.h"
#include "platform/Paths.h"
#include "settings/EnvData.h"

namespace lumavox::cli {

namespace {

constexpr const char* kHelp =
    "usage: lumavox-cli render PROJECT [--from MS] [--to MS] [--step MS] [--sound-length MS]\n"
    "                          [--sound FILE] [--raw FILE|-]\n"
    "Prints, for t = from, from+step, ... up to to, the eight line colours the show outputs with\n"
    "the play position at t, as CSV: time,line1,...,line8 with each colour as RRGGBB.\n"
    "Defaults: from = -pre-play time, to = sound length + post-play time, step = 20. The sound\n"
    "length comes from --sound-length, else from --sound FILE, else from the project's sound\n"
    "file (at its stored path, else the same name in the project's folder), else 0.\n"
    "--raw FILE also writes each 512-channel DMX frame (channel 1 first), one after another;\n"
    "--raw - writes the frames to stdout instead of the CSV.\n";

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

int RenderCommand(const std::vector<std::string>& args) {
    int status = 0;
    const auto parsed =
        ParseCommand(args, {{"--from", "--to", "--step", "--sound-length", "--sound", "--raw"}, {}},
                     kHelp, 1, "render takes one PROJECT (see --help)", status);
    if (!parsed) return status;
    std::string error;

    auto number = [&](const char* option, std::optional<int32_t>& out) {
        if (const std::string* text = parsed->Value(option)) {
            out = ParseInt32(*text);
            if (!out) {
                error = std::string("not a whole number of ms: ") + option + " " + *text;
                return false;
            }
        }
        return true;
    };
    std::optional<int32_t> from, to, step, soundLength;
    if (!number("--from", from) || !number("--to", to) || !number("--step", step) ||
        !number("--sound-length", soundLength)) {
        return Fail(error, kStatusUsage);
    }
    if (step && *step <= 0) return Fail("--step must be at least 1", kStatusUsage);
    if (soundLength && *soundLength < 0) {
        return Fail("--sound-length must not be negative", kStatusUsage);
    }

    // Opened as play opens it; no engine runs, so its requests are never carried out. The
    // settings are not read: render depends on no setting.
    const std::string projectPath = AbsolutePath(parsed->positionals[0]);
    EngineState state;
    EnvData noSettings({}, ExeDir());
    CliShow show(state, noSettings);
    if (!show.Open(projectPath)) return kStatusFailed;
    const ProjectData& project = show.Project();
    const PatchTable& patch = show.Patch();

    int64_t length = 0;
    ShowSound sound;
    const std::string* soundOption = parsed->Value("--sound");
    if (soundLength) {
        length = *soundLength;
    } else if (soundOption != nullptr || !HeaderSoundFile(project.Header).empty()) {
        sound = show.Sound(soundOption);
        if (sound.Problem.empty()) {
            std::string problem;
            if (const auto ms = SoundLengthOf(sound.Path, problem)) {
                length = *ms;
            } else {
                sound.Problem = problem;
            }
        }
        if (!sound.Problem.empty()) {
            if (sound.Given) return Fail(sound.Problem);
            Warn(sound.Problem + "; rendering with sound length 0");
        }
    }
    const int64_t first = from ? *from : -static_cast<int64_t>(state.PrePlayTime.load());
    const int64_t last = to ? *to : length + state.PostPlayTime.load();
    const int64_t increment = step ? *step : 20;

    // The raw recording: a file, or stdout in place of the CSV.
    std::unique_ptr<std::FILE, FileCloser> raw;
    FileReplacement rawFile;
    bool rawReplaced = false;
    std::vector<uint8_t> rawBuffer;
    std::string rawPath;
    bool rawToStdout = false;
    if (const std::string* rawOption = parsed->Value("--raw")) {
        rawToStdout = *rawOption == "-";
        if (!rawToStdout) {
            rawPath = AbsolutePath(*rawOption);
            for (const std::string& input : {projectPath, sound.Path}) {
                if (!input.empty() && SameFile(rawPath, input)) {
                    return FailFile(rawPath, "is an input file; not overwriting it");
                }
            }
            // A file is replaced whole once every frame is in it, so a failed or interrupted
            // render leaves an earlier recording as it was; a pipe or device is written as it
            // goes.
            struct stat st {};
            if (stat(rawPath.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
                raw.reset(std::fopen(rawPath.c_str(), "wb"));
                if (!raw) return FailFile(rawPath, "cannot write", OsReason(errno));
            } else if (const int code = rawFile.Open(rawPath); code != 0) {
                return FailFile(rawPath, "cannot write", OsReason(code));
            } else {
                rawReplaced = true;
            }
        }
    }
    const auto writeRaw = [&](std::span<const uint8_t> bytes) {
        if (raw)
            return std::fwrite(bytes.data(), 1, bytes.size(), raw.get()) == bytes.size() ? 0
                                                                                         : errno;
        rawBuffer.insert(rawBuffer.end(), bytes.begin(), bytes.end());
        if (rawBuffer.size() < (size_t{1} << 16)) return 0;
        const int code = rawFile.Append(rawBuffer);
        rawBuffer.clear();
        return code;
    };

    if (!rawToStdout) Print("time,line1,line2,line3,line4,line5,line6,line7,line8\n");
    std::array<int32_t, kLineCount> colours{};
    DmxFrame frame{};
    for (int64_t t = first; t <= last; t += increment) {
        // times outside int32 cannot be play positions; they end the range
        if (t < INT32_MIN || t > INT32_MAX) break;
        RenderFrame(project, patch, static_cast<int32_t>(t), colours, frame);
        bool written = true;
        if (rawToStdout) {
            written = Print({reinterpret_cast<const char*>(frame.data()), frame.size()});
        } else {
            char row[16 + kLineCount * 7 + 2];
            int used = std::snprintf(row, sizeof row, "%lld", static_cast<long long>(t));
            for (const int32_t c : colours) {
                used += std::snprintf(row + used, sizeof row - static_cast<size_t>(used),
                                      ",%02X%02X%02X", static_cast<unsigned>(RedOf(c)),
                                      static_cast<unsigned>(GreenOf(c)),
                                      static_cast<unsigned>(BlueOf(c)));
            }
            row[used] = '\n';
            written = Print({row, static_cast<size_t>(used) + 1});
        }
        if (!written) break;  // FinishOutput reports it
        if (!rawPath.empty()) {
            if (const int code = writeRaw(frame); code != 0) {
                return FailFile(rawPath, "write error", OsReason(code));
            }
        }
    }
    if (raw && std::fclose(raw.release()) != 0) {
        return FailFile(rawPath, "write error", OsReason(errno));
    }
    // The recording replaces an earlier one only when the CSV went out whole too.
    const int finished = FinishOutput(0);
    if (rawReplaced && finished == 0) {
        int code = rawFile.Append(rawBuffer);
        if (code == 0) code = rawFile.Commit();
        if (code != 0) return FailFile(rawPath, "write error", OsReason(code));
    }
    return finished;
}

}  // namespace lumavox::cli
