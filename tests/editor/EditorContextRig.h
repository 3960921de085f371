#pragma once

#include <atomic>

#include "dmx/Patch.h"
#include "editor/logic/EditorContext.h"
#include "editor/logic/TimeLine.h"
#include "engine/EngineState.h"
#include "engine/Transport.h"
#include "fakes/ManualClock.h"
#include "fakes/RecordingSoundReporter.h"
#include "fakes/TempDir.h"
#include "model/ProjectData.h"
#include "settings/EnvData.h"
#include "sound/WavSound.h"

namespace lumavox::testing {

// Every object of an EditorContext, with the settings file in a temporary folder and no threads,
// for widget tests.
struct EditorContextRig {
    TempDir dir;
    ProjectData project;
    EngineState engine;
    EnvData env{dir.File("Lumavox.INI"), dir.Folder()};
    test::RecordingSoundReporter reporter;
    WavSound sound{reporter};
    PatchTable patch;
    LineOutput lineOutput;
    ManualClock clock;
    std::atomic<bool> repeat{false};
    Transport transport{engine, clock, repeat, std::chrono::milliseconds(1)};
    TimeLine timeLine;
    EditorContext context{project, engine, env, sound, patch, lineOutput, transport, timeLine};
};

}  // namespace lumavox::testing
