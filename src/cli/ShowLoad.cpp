// Loading a show for render and play: the project, its patch and its sound.
#include <climits>

#include "cli/CliOutput.h"
#include "cli/CliPaths.h"
#include "cli/ShowRender.h"
#include "cli/StderrReporter.h"
#include "engine/Engine.h"
#include "model/ColourEval.h"
#include "model/SoundLocation.h"
#include "sound/player/PcmSource.h"

namespace lumavox::cli {

namespace {

std::string ProjectLoadProblem(const ProjectLoadResult& result) {
    switch (result.Status) {
        case FileStatus::Loaded:
            return {};
        case FileStatus::NotFound:
            return "not found";
        case FileStatus::NotAProjectFile:
            return "not a project file (shorter than a project header)";
        case FileStatus::TooLarge:
            return "too large (more than " + std::to_string(kMaxFileSteps) + " steps)";
        case FileStatus::ReadError:
            break;
    }
    return "read error";
}

}  // namespace

std::optional<ProjectLoadResult> LoadShow(const std::string& path, ProjectData& project,
                                          PatchTable& patch) {
    if (const std::string problem = InputProblem(path); !problem.empty()) {
        FailFile(path, problem);
        return std::nullopt;
    }
    ProjectLoadResult loaded = LoadProjectFile(project, path);
    if (!loaded.Loaded()) {
        FailFile(path, ProjectLoadProblem(loaded));
        return std::nullopt;
    }
    patch.Assign(loaded.Patch);
    return loaded;
}

ShowSound FindShowSound(const std::string& projectPath, const ProjectData& project,
                        const std::string* soundOption) {
    ShowSound sound;
    if (soundOption != nullptr) {
        sound.Given = true;
        sound.Path = AbsolutePath(*soundOption);
        if (const std::string problem = InputProblem(sound.Path); !problem.empty()) {
            sound.Problem = sound.Path + ": " + problem;
        }
        return sound;
    }
    const std::string stored = HeaderSoundFile(project.Header);
    if (stored.empty()) {
        sound.Problem = projectPath + ": the project names no sound file";
        return sound;
    }
    const SoundLocation location = LocateSoundFile(projectPath, stored);
    if (location.Found()) {
        sound.Path = location.Path;
        if (location.Tried.size() > 1) {
            Warn(projectPath + ": the sound file is not at " + location.Tried.front() + "; using " +
                 location.Path);
        }
        return sound;
    }
    std::string tried;
    for (const std::string& path : location.Tried) tried += (tried.empty() ? "" : " nor ") + path;
    sound.Problem = projectPath + ": sound file not found: " + tried;
    return sound;
}

std::optional<int32_t> SoundLengthOf(const std::string& soundPath, std::string& problem) {
    const PcmSourceResult opened = OpenPcmSource(soundPath);
    if (!opened.Source) {
        problem = soundPath + ": not a readable sound (" + EnglishSoundText(opened.Error) + ")";
        return std::nullopt;
    }
    const int64_t ms = FramesToMs(opened.Source->FrameCount(), opened.Source->Rate());
    return ms > INT32_MAX ? INT32_MAX : static_cast<int32_t>(ms);
}

void RenderFrame(const ProjectData& project, const PatchTable& patch, int32_t t,
                 std::array<int32_t, kLineCount>& colours, DmxFrame& frame) {
    SourceChannels sources{};
    BuildOutputFrame(project, patch, t, -1, NoColour, -1, colours, sources, frame);
}

}  // namespace lumavox::cli
