#pragma once

#include <cstddef>
#include <string>

#include "dmx/Patch.h"
#include "editor/logic/EditorContext.h"
#include "engine/EngineState.h"
#include "engine/Transport.h"
#include "fakes/ManualClock.h"
#include "fakes/RecordingSoundReporter.h"
#include "fakes/TempDir.h"
#include "model/ProjectData.h"
#include "settings/EnvData.h"
#include "sound/WavSound.h"

namespace lumavox::testing {

// The objects an auxiliary window works on, with the settings file in a temporary folder.
// The windows tested with it never use the time line; the context's reference to it points at
// inert storage the tests never read.
struct DialogTestContext {
    TempDir dir;
    ProjectData project;
    EngineState engine;
    EnvData env{dir.File("Lumavox.ini"), dir.Folder()};
    test::RecordingSoundReporter reporter;
    WavSound sound{reporter};
    PatchTable patch;
    LineOutput lineOutput;
    ManualClock clock;
    Transport transport{engine, clock, env.Repeat};
    alignas(std::max_align_t) unsigned char timeLineStorage[256] = {};
    EditorContext context{
        project, engine,     env,       sound,
        patch,   lineOutput, transport, *reinterpret_cast<TimeLine*>(timeLineStorage)};
};

}  // namespace lumavox::testing
