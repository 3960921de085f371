#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace lumavox {

class ProjectData;
struct EngineState;
struct PaneState;

// What the enabled rules of the main window's actions look at, gathered once per idle pass from
// the project, the engine and the panes (cheap counts only). Plain value, any thread.
struct EditState {
    bool Loaded = false;  // a sound is loaded (frame count > 0)
    bool Idle = true;     // not playing and no free clock running
    bool Modified = false;
    bool MultiMode = false;       // reference pane shown with all lines
    bool DragActive = false;      // a mouse drag or rubber band holds steps in a pane
    bool LineClipboard = false;   // the single-line clipboard has steps
    bool MultiClipboard = false;  // the multi-line clipboard has steps
    bool UndoAvailable = false;
    int SelectedInLine = 0;       // selected steps of the current line
    int SelectedAll = 0;          // selected steps of all lines
    int StepsAll = 0;             // steps of all lines
    int StepsInLine = 0;          // steps of the current line
    int CurrentStep = -1;         // index in the current line, -1 for none
    int32_t CurrentStepTime = 0;  // its time (unused without a current step)
    int32_t CursorTime = 0;
};

// Enabled rule of the edit, file, selection and multi-line actions of the main action list (and
// CurBrt0Action), by action name. Actions that change steps are disabled while a drag is active,
// because the drag holds steps those commands would free or move. nullopt for an action whose rule
// lives elsewhere (zoom, transport, view toggles).
std::optional<bool> EditActionEnabled(std::string_view action, const EditState& state);
// False only for the multi-line actions outside multi mode.
bool EditActionVisible(std::string_view action, const EditState& state);

// Gathers the state from the project, the engine and the pane state. loaded: the time line has
// frames; multiMode: the reference pane shows all lines. Counts walk the lines once.
EditState GatherEditState(const ProjectData& project, const EngineState& engine,
                          const PaneState& pane, bool loaded, bool multiMode);

}  // namespace lumavox
