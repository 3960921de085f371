#include "editor/logic/MainWindowRules.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/EngineState.h"
#include "engine/Transport.h"
#include "model/EscapedText.h"
#include "model/ProjectData.h"
#include "model/StepOps.h"

namespace lumavox {

StepFacts GatherStepFacts(const ProjectData& project, const Step* currentStep) {
    StepFacts f;
    f.SelectedInLine = SelectedCountInLine(project);
    f.SelectedAll = SelectedCount(project);
    f.StepsAll = StepCount(project);
    const int line = project.CurrentLine.load(std::memory_order_relaxed);
    if (line >= 0 && line < kLineCount) {
        const auto& items = project.Lines[static_cast<size_t>(line)].ItemsUnlocked();
        f.StepsInLine = static_cast<int>(items.size());
        f.CurrentStep = currentStep == nullptr ? -1 : IndexOfStep(project, line, currentStep);
        if (f.CurrentStep >= 0) f.CurrentStepTime = currentStep->Time;
    }
    return f;
}

const StepFacts& StepFactsCache::Get(const ProjectData& project, const Step* currentStep) {
    std::array<uint64_t, kLineCount> revisions{};
    for (size_t i = 0; i < revisions.size(); ++i) revisions[i] = project.Lines[i].Revision();
    const int line = project.CurrentLine.load(std::memory_order_relaxed);
    if (!m_valid || revisions != m_revisions || line != m_line || currentStep != m_current) {
        m_facts = GatherStepFacts(project, currentStep);
        m_revisions = revisions;
        m_line = line;
        m_current = currentStep;
        m_valid = true;
    }
    return m_facts;
}

ActionFacts GatherActionFacts(const ProjectData& project, const EngineState& engine,
                              const Transport& transport, bool waveformHasData,
                              const StepFacts& steps, bool multiMode, bool zoomInAllowed,
                              bool zoomOutAllowed) {
    ActionFacts f;
    f.SoundLoaded = waveformHasData;
    f.Idle = !engine.SoundMode.Equals("playing") && !engine.FreeClockRunning.load();
    f.Modified = project.Modified;
    f.MultiMode = multiMode;
    f.SelectedInLine = steps.SelectedInLine;
    f.SelectedAll = steps.SelectedAll;
    f.StepsAll = steps.StepsAll;
    f.StepsInLine = steps.StepsInLine;
    f.CurrentStep = steps.CurrentStep;
    f.CurrentStepTime = steps.CurrentStepTime;
    f.CursorTime = engine.CursorTime.load();
    f.LineClipboardEmpty = project.LineClipboard.ItemsUnlocked().empty();
    f.MultiClipboardEmpty = project.MultiLineClipboard.ItemsUnlocked().empty();
    f.UndoEmpty = project.UndoList.Count() == 0;
    f.ZoomInAllowed = zoomInAllowed;
    f.ZoomOutAllowed = zoomOutAllowed;
    f.CanPlayFromStart = transport.CanPlayFromStart(waveformHasData);
    f.CanPlay = transport.CanPlay(waveformHasData);
    f.CanPauseResume = transport.CanPauseResume();
    f.CanStop = transport.CanStop();
    f.CanGoToSoundStartOrEnd = transport.CanGoToSoundStartOrEnd(waveformHasData);
    return f;
}

ActionState MainActionState(std::string_view name, const ActionFacts& f) {
    const bool current = f.CurrentStep >= 0;
    // The adding commands compare the cursor with the current step's time (0 without one).
    const bool canAdd = f.SoundLoaded && (current ? f.CurrentStepTime : 0) != f.CursorTime;
    struct Rule {
        std::string_view Name;
        bool Enabled;
        bool MultiOnly;
    };
    const Rule rules[] = {
        {"NewPrjAction", f.Idle, false},
        {"OpenPrjAction", f.Idle, false},
        {"SavePrjAction", f.Modified, false},
        {"SaveAsPrjAction", f.Idle, false},
        {"ZoomInAction", f.SoundLoaded && f.ZoomInAllowed, false},
        {"ZoomOutAction", f.SoundLoaded && f.ZoomOutAllowed, false},
        {"ZoomFitAction", f.SoundLoaded, false},
        {"CutStepAction", f.SelectedInLine > 0, false},
        {"CpyStepAction", f.SelectedInLine > 0, false},
        {"PstStepAction", !f.LineClipboardEmpty, false},
        {"AddStepAction", canAdd, false},
        {"AddBlkStepAction", canAdd, false},
        {"DelStepAction", f.SelectedInLine > 0, false},
        {"DelAllStepAction", f.StepsInLine > 0, false},
        {"SelectAllAction", f.StepsAll > 0, false},
        {"MovToCsrPosAction", current, false},
        {"PropStepAction", current || f.SelectedAll > 0, false},
        {"TimeStepAction", current || f.SelectedAll > 0, false},
        {"CpyFrmTrkAction", f.StepsAll > 0, false},
        {"UndoAction", !f.UndoEmpty, false},
        {"PrvStpAction", f.CurrentStep > 0, false},
        {"NxtStpAction", f.StepsInLine > 0 && f.CurrentStep < f.StepsInLine - 1, false},
        {"UpBrightAction", current, false},
        {"DownBrightAction", current, false},
        {"TopPlayAction", f.CanPlayFromStart, false},
        {"PlayAction", f.CanPlay, false},
        {"PauseAction", f.CanPauseResume, false},
        {"StopAction", f.CanStop, false},
        {"ToTopPosAction", f.CanGoToSoundStartOrEnd, false},
        {"ToEndPosAction", f.CanGoToSoundStartOrEnd, false},
        {"CutMltAction", f.SelectedAll > 0, true},
        {"CpyMltAction", f.SelectedAll > 0, true},
        {"PstMltAction", !f.MultiClipboardEmpty, true},
        {"SelectAllMltAction", true, true},
        {"AlignMltAction", f.SelectedAll > 0, true},
        {"StretchMltAction", f.SelectedAll > 0, true},
        {"StretchBrtAction", f.SelectedAll > 0, true},
        {"SaveSelGrpAction", f.SelectedAll > 0, false},
        {"LoadGrpAction", f.SoundLoaded, false},
        {"SelectExAction", f.StepsAll > 0, false},
        {"ReplaceSoundAction", f.SoundLoaded && f.Idle, false},
        {"CurBrt0Action", current, false},
    };
    for (const Rule& rule : rules) {
        if (rule.Name == name) return {rule.Enabled, !rule.MultiOnly || f.MultiMode};
    }
    return {};  // SetPrjAction, the time steps and the view actions: always
}

int64_t SoundEndScrollPosition(int64_t scrollRange, int64_t visibleWidth, int32_t postPlayTime,
                               double pixelsPerMs) {
    const int64_t last = std::max<int64_t>(0, scrollRange - visibleWidth);
    double post = static_cast<double>(postPlayTime) * pixelsPerMs;
    if (!(post > 0.0)) post = 0.0;  // also NaN
    // Truncation toward zero within a range where the int64 conversion is defined.
    post = std::min(post, 1e15);
    return std::clamp<int64_t>(last - static_cast<int64_t>(post) + 16, 0, last);
}

int VolumeSliderPosition(std::optional<uint16_t> waveVolume) {
    if (!waveVolume) return 0;
    return 255 - (*waveVolume >> 8);
}

std::string FileRefusalText(std::string_view message, std::string_view path) {
    std::string text(message);
    if (!path.empty()) {
        text += '\n';
        text += EscapeControlBytes(path);
    }
    return text;
}

bool AutoBackupGate::TimerFired(bool due, bool busy) {
    if (!due) {
        m_waiting = false;
        return false;
    }
    m_waiting = busy;
    return !busy;
}

bool AutoBackupGate::Idle(bool due) {
    if (!m_waiting) return false;
    m_waiting = false;
    return due;
}

bool AutoBackupGate::Failed() {
    if (m_failureShown) return false;
    m_failureShown = true;
    return true;
}

}  // namespace lumavox
