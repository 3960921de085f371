// lumavox-cli export: a show as an FSEQ sequence for show players.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "cli/CliArgs.h"
#include "cli/CliPaths.h"
#include "cli/CliShow.h"
#include "cli/Commands.h"
#include "cli/ShowRender.h"
#include "export/FseqExport.h"
#include "model/ProjectFile.h"
#include "platform/Paths.h"
#include "settings/EnvData.h"

namespace lumavox::cli {

namespace {

constexpr const char* kHelp =
    "usage: lumavox-cli export PROJECT OUT.fseq [--step MS] [--channels N]\n"
    "                          [--compress none|zstd] [--media NAME] [--sound FILE]\n"
    "Writes the show as an FSEQ v2 sequence, as show players (FPP, xLights) play it: frame k is\n"
    "the 512-channel DMX universe the show sends at k x step ms after the sound's start, up to\n"
    "the end of the post-roll.\n"
    "  --step MS          frame step, 10 to 100 ms (default 25: 40 frames a second)\n"
    "  --channels N       channels per frame, 1 to 512 (default 512): channels 1..N\n"
    "  --compress TYPE    none (default) or zstd (blocks a player can seek in)\n"
    "  --media NAME       the sound file the player starts with the sequence (default: the\n"
    "                     show's sound file name; an empty NAME names none)\n"
    "  --sound FILE       the sound whose length the show has, in place of the project's\n"
    "OUT is written whole or not at all, and is never one of the inputs. Progress is shown\n"
    "when stderr is a terminal.\n";

std::string FileNameOf(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

}  // namespace

int ExportCommand(const std::vector<std::string>& args) {
    int status = 0;
    const auto parsed =
        ParseCommand(args, {{"--step", "--channels", "--compress", "--media", "--sound"}, {}},
                     kHelp, 2, "export takes PROJECT and OUT.fseq (see --help)", status);
    if (!parsed) return status;

    FseqExportOptions options;
    if (const std::string* text = parsed->Value("--step")) {
        const auto step = ParseInt32(*text);
        if (!step || *step < kFseqMinStepMs || *step > kFseqMaxStepMs) {
            return Fail("--step must be 10 to 100 ms: " + *text, kStatusUsage);
        }
        options.StepMs = *step;
    }
    if (const std::string* text = parsed->Value("--channels")) {
        const auto channels = ParseInt32(*text);
        if (!channels || *channels < 1 || *channels > kDmxChannels) {
            return Fail("--channels must be 1 to 512: " + *text, kStatusUsage);
        }
        options.ChannelCount = static_cast<uint32_t>(*channels);
    }
    if (const std::string* text = parsed->Value("--compress")) {
        if (*text == "zstd") {
            options.Compression = FseqCompression::Zstd;
        } else if (*text != "none") {
            return Fail("--compress must be none or zstd: " + *text, kStatusUsage);
        }
    }
    const std::string* mediaOption = parsed->Value("--media");
    if (mediaOption != nullptr) {
        options.MediaName = *mediaOption;
        if (const std::string problem = FseqOptionsProblem(options); !problem.empty()) {
            return Fail("--media: " + problem, kStatusUsage);
        }
    }
    if (parsed->positionals[1] == "-") {
        return Fail("export writes a file, not stdout: an FSEQ file is not written in order",
                    kStatusUsage);
    }

    const std::string projectPath = AbsolutePath(parsed->positionals[0]);
    const std::string outPath = AbsolutePath(parsed->positionals[1]);
    EngineState state;
    EnvData noSettings({}, ExeDir());
    CliShow show(state, noSettings);
    if (!show.Open(projectPath)) return kStatusFailed;

    // The length of the sound: the show runs from its start to the end of the post-roll.
    int64_t soundLength = 0;
    ShowSound sound;
    const std::string* soundOption = parsed->Value("--sound");
    if (soundOption != nullptr || !HeaderSoundFile(show.Project().Header).empty()) {
        sound = show.Sound(soundOption);
        if (sound.Problem.empty()) {
            std::string problem;
            if (const auto ms = SoundLengthOf(sound.Path, problem)) {
                soundLength = *ms;
            } else {
                sound.Problem = problem;
            }
        }
        if (!sound.Problem.empty()) {
            return Fail(sound.Problem + "; the sequence needs the sound's length (--sound FILE)");
        }
    } else {
        Warn(projectPath + ": the project has no sound; exporting the post-roll alone");
    }
    if (mediaOption == nullptr && !sound.Path.empty()) options.MediaName = FileNameOf(sound.Path);

    for (const std::string& input : {projectPath, sound.Path}) {
        if (!input.empty() && SameFile(outPath, input)) {
            return FailFile(outPath, "is an input file; not overwriting it");
        }
    }

    const bool terminal = isatty(STDERR_FILENO) == 1;
    int shownPercent = -1;
    const FseqProgress progress = [&](uint32_t done, uint32_t total) {
        const int percent = static_cast<int>(static_cast<uint64_t>(done) * 100 / total);
        if (terminal && percent != shownPercent) {
            shownPercent = percent;
            std::fprintf(stderr, "\rexporting %u frames: %3d%%", total, percent);
            if (done == total) std::fputc('\n', stderr);
        }
        return true;
    };
    const int64_t endMs = soundLength + state.PostPlayTime.load();
    const FseqExportResult result =
        ExportFseq(show.Project(), show.Patch(), endMs, options, outPath, progress);
    switch (result.Status) {
        case FseqExportStatus::Done:
            break;
        case FseqExportStatus::BadOptions:
            return FailFile(outPath, "cannot be written: " + result.Problem);
        case FseqExportStatus::CannotCreate:
            if (result.SystemError == EINVAL) {
                return FailFile(outPath, "is not a regular file; a sequence is written to files");
            }
            return FailFile(outPath, "cannot write", OsReason(result.SystemError));
        case FseqExportStatus::WriteFailed:
            return FailFile(outPath, "write error", OsReason(result.SystemError));
        case FseqExportStatus::Compress:
            return FailFile(outPath, "zstd compression failed");
        case FseqExportStatus::Cancelled:
            return FailFile(outPath, "export cancelled");
    }
    const uint32_t frames = FseqFrameCount(endMs, options.StepMs);
    Print(std::to_string(frames) + " frames of " + std::to_string(options.ChannelCount) +
          " channels every " + std::to_string(options.StepMs) + " ms\n");
    return FinishOutput(0);
}

}  // namespace lumavox::cli
