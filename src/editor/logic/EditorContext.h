#pragma once

namespace lumavox {

class ProjectData;
struct EngineState;
class EnvData;
class WavSound;
class PatchTable;
class LineOutput;
class Transport;
class TimeLine;

// The objects every pane, command and dialog of the editor works on: made once by the main window
// at start-up and handed down by reference; they outlive every window. UI thread only (the engine
// state and the step lists are shared with the output thread through their own rules).
struct EditorContext {
    ProjectData& project;
    EngineState& engine;
    EnvData& env;
    WavSound& sound;
    PatchTable& patch;
    LineOutput& lineOutput;
    Transport& transport;
    TimeLine& timeLine;
};

}  // namespace lumavox
