// lumavox-cli render: what a show sends, frame by frame, without playing it.
#include <cstdio>
#include <memory>

#include "cli/CliArgs.h"
#include "cli/CliPaths.h"
#include "cli/Commands.h"
#include "cli/ShowRender.h"
#include "dmx/Patch.h"
#include "engine/Engine.h"
#include "model/ColourEval.h"
#include "model/ProjectFile.h"
#include "sound/player/PcmSource.h"

namespace lumavox::cli {

namespace {

constexpr const char* kHelp =
    "usage: lumavox-cli render PROJECT [--from MS] [--to MS] [--step MS] [--sound-length MS]\n"
    "                          [--raw FILE]\n"
    "Prints, for t = from, from+step, ... up to to, the eight line colours the show outputs with\n"
    "the play position at t, as CSV: time,line1,...,line8 with each colour as RRGGBB.\n"
    "Defaults: from = -pre-play time, to = sound length + post-play time, step = 20. The sound\n"
    "length comes from --sound-length, else from the project's sound file, else 0.\n"
    "--raw FILE also writes each 512-channel DMX frame (channel 1 first), one after another.\n";

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

std::optional<ProjectLoadResult> LoadShow(const std::string& argument, ProjectData& project,
                                          PatchTable& patch) {
    const std::string path = AbsolutePath(argument);
    ProjectLoadResult loaded = LoadProjectFile(project, path);
    if (!loaded.Loaded()) {
        Fail(path + ": " + std::string(FileStatusText(loaded.Status)));
        return std::nullopt;
    }
    patch.Assign(loaded.Patch);
    return loaded;
}

int32_t SoundLengthOfProject(const ProjectData& project) {
    const std::string sound = SoundFilePath(project.Header);
    if (sound.empty()) return 0;
    const PcmSourceResult opened = OpenPcmSource(sound);
    if (!opened.Source) return 0;
    const int64_t ms = FramesToMs(opened.Source->FrameCount(), opened.Source->Rate());
    return ms > INT32_MAX ? INT32_MAX : static_cast<int32_t>(ms);
}

void RenderFrame(const ProjectData& project, const PatchTable& patch, int32_t t,
                 std::array<int32_t, kLineCount>& colours, DmxFrame& frame) {
    SourceChannels sources{};
    BuildOutputFrame(project, patch, t, -1, NoColour, -1, colours, sources, frame);
}

int RenderCommand(const std::vector<std::string>& args) {
    int status = 0;
    const auto parsed =
        ParseCommand(args, {{"--from", "--to", "--step", "--sound-length", "--raw"}, {}}, kHelp, 1,
                     "render takes one PROJECT (see --help)", status);
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
        return Fail(error);
    }
    if (step && *step <= 0) return Fail("--step must be at least 1");
    if (soundLength && *soundLength < 0) return Fail("--sound-length must not be negative");

    ProjectData project;
    PatchTable patch;
    const auto loaded = LoadShow(parsed->positionals[0], project, patch);
    if (!loaded) return 1;

    const int64_t length = soundLength ? *soundLength : SoundLengthOfProject(project);
    const int64_t first = from ? *from : -static_cast<int64_t>(loaded->PrePlayTime);
    const int64_t last = to ? *to : length + loaded->PostPlayTime;
    const int64_t increment = step ? *step : 20;

    std::unique_ptr<std::FILE, FileCloser> raw;
    if (const std::string* rawPath = parsed->Value("--raw")) {
        raw.reset(std::fopen(rawPath->c_str(), "wb"));
        if (!raw) return Fail("cannot write " + *rawPath);
    }

    std::printf("time,line1,line2,line3,line4,line5,line6,line7,line8\n");
    std::array<int32_t, kLineCount> colours{};
    DmxFrame frame{};
    for (int64_t t = first; t <= last; t += increment) {
        // times outside int32 cannot be play positions; they end the range
        if (t < INT32_MIN || t > INT32_MAX) break;
        RenderFrame(project, patch, static_cast<int32_t>(t), colours, frame);
        std::printf("%lld", static_cast<long long>(t));
        for (const int32_t c : colours) {
            std::printf(",%02X%02X%02X", static_cast<unsigned>(RedOf(c)),
                        static_cast<unsigned>(GreenOf(c)), static_cast<unsigned>(BlueOf(c)));
        }
        std::printf("\n");
        if (raw && std::fwrite(frame.data(), 1, frame.size(), raw.get()) != frame.size()) {
            return Fail("cannot write the raw recording");
        }
    }
    if (raw && std::fclose(raw.release()) != 0) return Fail("cannot write the raw recording");
    return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace lumavox::cli
