#include "cli/CliShow.h"

#include <chrono>

#include "cli/CliOutput.h"
#include "cli/CliPaths.h"

namespace lumavox::cli {

std::string ProjectProblemText(FileStatus status) {
    switch (status) {
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

CliShow::CliShow(EngineState& state, EnvData& env)
    : m_session(m_project, state, m_patch, env, m_ui, std::chrono::milliseconds(0)) {}

bool CliShow::Open(const std::string& path) {
    // The finer reasons for a path given on the command line (a folder, a FIFO) come first.
    if (const std::string problem = InputProblem(path); !problem.empty()) {
        FailFile(path, problem);
        return false;
    }
    m_opened = m_session.OpenProject(path);
    if (m_opened.Outcome != OpenOutcome::Opened) {
        FailFile(path, ProjectProblemText(m_opened.Status));
        return false;
    }
    m_path = path;
    return true;
}

ShowSound CliShow::Sound(const std::string* soundOption) {
    ShowSound sound;
    if (soundOption != nullptr) {
        sound.Given = true;
        sound.Path = AbsolutePath(*soundOption);
        if (const std::string problem = InputProblem(sound.Path); !problem.empty()) {
            sound.Problem = sound.Path + ": " + problem;
        } else {
            m_session.PlaySoundInstead(sound.Path);
        }
        return sound;
    }
    const SoundLocation& lookup = m_opened.SoundLookup;
    if (lookup.Tried.empty()) {
        sound.Problem = m_path + ": the project names no sound file";
        return sound;
    }
    if (lookup.Found()) {
        sound.Path = lookup.Path;
        if (lookup.Tried.size() > 1) {
            Warn(m_path + ": the sound file is not at " + lookup.Tried.front() + "; using " +
                 lookup.Path);
        }
        return sound;
    }
    std::string tried;
    for (const std::string& path : lookup.Tried) tried += (tried.empty() ? "" : " nor ") + path;
    sound.Problem = m_path + ": sound file not found: " + tried;
    return sound;
}

}  // namespace lumavox::cli
