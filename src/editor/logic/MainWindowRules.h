#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/Step.h"
#include "settings/ActionId.h"

namespace lumavox {

class ProjectData;
struct EngineState;
class Transport;

// The facts of the enabled rules that take a walk over the steps.
struct StepFacts {
    int SelectedInLine = 0;  // selected steps of the current line
    int SelectedAll = 0;
    int StepsInLine = 0;
    int StepsAll = 0;
    int CurrentStep = -1;  // index in the current line; -1: none, or not in that line
    int32_t CurrentStepTime = 0;
    bool operator==(const StepFacts&) const = default;
};

StepFacts GatherStepFacts(const ProjectData& project, const Step* currentStep);

// Keeps the step facts until a line changes (its revision), the current line or the current step
// does, so that checking the enabled rules costs no walk over the steps however large the show
// is. UI thread only.
class StepFactsCache {
public:
    const StepFacts& Get(const ProjectData& project, const Step* currentStep);

private:
    std::array<uint64_t, kLineCount> m_revisions{};
    int m_line = -1;
    const Step* m_current = nullptr;
    bool m_valid = false;
    StepFacts m_facts;
};

// What the enabled rules of the main actions read.
struct ActionFacts {
    bool SoundLoaded = false;  // the waveform has at least one peak frame
    bool Idle = true;          // the sound is not playing and the free clock is not running
    bool Modified = false;
    bool MultiMode = false;  // the reference pane shows all lines
    int SelectedInLine = 0;  // selected steps of the current line
    int SelectedAll = 0;
    int StepsInLine = 0;
    int StepsAll = 0;
    int CurrentStep = -1;         // -1: none
    int32_t CurrentStepTime = 0;  // compared with CursorTime by the adding commands
    int32_t CursorTime = 0;
    bool LineClipboardEmpty = true;
    bool MultiClipboardEmpty = true;
    bool UndoEmpty = true;
    bool RedoAvailable = false;
    bool ZoomInAllowed = false;  // from the time line's zoom table
    bool ZoomOutAllowed = false;
    bool CanPlayFromStart = false;  // the Transport rules
    bool CanPlay = false;
    bool CanPauseResume = false;
    bool CanStop = false;
    bool CanGoToSoundStartOrEnd = false;
    bool BeatsKnown = false;  // the onsets and beats of the open sound have been found
    bool operator==(const ActionFacts&) const = default;
};

// Gathers the facts from the project, the engine state, the transport and the step facts; the
// editor adds what only it knows (multi mode, zoom limits). Cheap: no walk over the steps. UI
// thread.
ActionFacts GatherActionFacts(const ProjectData& project, const EngineState& engine,
                              const Transport& transport, bool waveformHasData,
                              const StepFacts& steps, bool multiMode, bool zoomInAllowed,
                              bool zoomOutAllowed);

struct ActionState {
    bool Enabled = true;
    bool Visible = true;
};

// The state of an action: enabled by its rule, visible unless it belongs to the multi-line mode
// and the reference pane does not show all lines.
ActionState MainActionState(ActionId id, const ActionFacts& facts);

// "To the sound end" scroll position: scrollRange − visibleWidth − trunc(postPlayTime ×
// pixelsPerMs) + 16, kept within 0..scrollRange − visibleWidth.
int64_t SoundEndScrollPosition(int64_t scrollRange, int64_t visibleWidth, int32_t postPlayTime,
                               double pixelsPerMs);

// The volume slider's first position (0 = top = loudest): 255 minus the high byte of the wave
// volume; the top when the volume cannot be read.
int VolumeSliderPosition(std::optional<uint16_t> waveVolume);

// The text of a box refusing a file: the message and, on a second line, the path with its control
// bytes escaped (as the command-line tool writes them); the message alone without a path.
std::string FileRefusalText(std::string_view message, std::string_view path);

// When the automatic backup runs and when its failure is shown. The timer asks; a backup that
// falls due during a mouse drag or a modal dialog waits for the next idle moment (so it cannot
// pull the project out from under them), and a failing backup shows its error once until a save
// succeeds again. UI thread.
class AutoBackupGate {
public:
    // The backup timer fired. True: save now. Busy (drag or modal dialog): remembered for Idle.
    bool TimerFired(bool due, bool busy);
    // An idle moment (no drag, no modal dialog). True: the waiting backup saves now.
    bool Idle(bool due);
    // A backup failed: true when the error box is to be shown (the first failure in a row).
    bool Failed();
    // Any successful save of the project (backup or command) re-arms the error box.
    void Succeeded() { m_failureShown = false; }

    bool Waiting() const { return m_waiting; }

private:
    bool m_waiting = false;
    bool m_failureShown = false;
};

}  // namespace lumavox
