#pragma once

#include <string>

#include "dmx/Patch.h"
#include "engine/EngineState.h"
#include "engine/ShowSession.h"
#include "model/ProjectData.h"
#include "model/ProjectFile.h"

namespace lumavox {
class EnvData;
}

namespace lumavox::cli {

// Why a project file cannot be loaded, in English ("not found", "too large (...)").
std::string ProjectProblemText(FileStatus status);

// The sound a show plays. Problem is the one-line message when there is no usable file.
struct ShowSound {
    std::string Path;
    std::string Problem;
    bool Given = false;  // named by --sound
};

// A show opened for render and play as the editor opens it: through a ShowSession without a
// waveform, which loads the project, makes its patch the working patch, puts the play times into
// the engine state and looks for the sound where the editor looks; no file is written. The
// session's requests wait in the engine state for the output thread's first tick (render runs
// none). Main thread.
class CliShow {
public:
    CliShow(EngineState& state, EnvData& env);
    CliShow(const CliShow&) = delete;
    CliShow& operator=(const CliShow&) = delete;

    // Opens the project at path (absolute). False, after a one-line error on stderr, when it
    // cannot be loaded.
    bool Open(const std::string& path);
    // The sound to play: the --sound file when soundOption is given (the engine is asked to open
    // it in place of the project's), else the project's sound as the session found it; a warning
    // says so when it was found beside the project instead of at its stored path.
    ShowSound Sound(const std::string* soundOption);

    const ProjectData& Project() const { return m_project; }
    const PatchTable& Patch() const { return m_patch; }

private:
    // Warnings only come from a sound change, which the tool never makes.
    class QuietUi final : public ISessionUi {
    public:
        void BeginBusy() override {}
        void EndBusy() override {}
        void ShowWarning(std::string_view) override {}
    };

    ProjectData m_project;
    PatchTable m_patch;
    QuietUi m_ui;
    ShowSession m_session;
    std::string m_path;
    OpenResult m_opened;
};

}  // namespace lumavox::cli
