#include "editor/logic/MainWindowRules.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "editor/logic/ActionTable.h"
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
    f.RedoAvailable = CanRedo(project);
    f.ZoomInAllowed = zoomInAllowed;
    f.ZoomOutAllowed = zoomOutAllowed;
    f.CanPlayFromStart = transport.CanPlayFromStart(waveformHasData);
    f.CanPlay = transport.CanPlay(waveformHasData);
    f.CanPauseResume = transport.CanPauseResume();
    f.CanStop = transport.CanStop();
    f.CanGoToSoundStartOrEnd = transport.CanGoToSoundStartOrEnd(waveformHasData);
    return f;
}

namespace {

bool Enabled(ActionId id, const ActionFacts& f) {
    const bool current = f.CurrentStep >= 0;
    // The adding commands compare the cursor with the current step's time (0 without one).
    const bool canAdd = f.SoundLoaded && (current ? f.CurrentStepTime : 0) != f.CursorTime;
    using Id = ActionId;
    switch (id) {
        case Id::NewPrjAction:
        case Id::OpenPrjAction:
        case Id::SaveAsPrjAction:
            return f.Idle;
        case Id::SavePrjAction:
            return f.Modified;
        case Id::ZoomInAction:
            return f.SoundLoaded && f.ZoomInAllowed;
        case Id::ZoomOutAction:
            return f.SoundLoaded && f.ZoomOutAllowed;
        case Id::ZoomFitAction:
        case Id::LoadGrpAction:
            return f.SoundLoaded;
        case Id::CutStepAction:
        case Id::CpyStepAction:
        case Id::DelStepAction:
            return f.SelectedInLine > 0;
        case Id::PstStepAction:
            return !f.LineClipboardEmpty;
        case Id::AddStepAction:
        case Id::AddBlkStepAction:
            return canAdd;
        case Id::DelAllStepAction:
            return f.StepsInLine > 0;
        case Id::SelectAllAction:
        case Id::CpyFrmTrkAction:
        case Id::SelectExAction:
            return f.StepsAll > 0;
        case Id::ExportFseqAction:
        case Id::ReplaceSoundAction:
            return f.Idle && f.SoundLoaded;
        case Id::MovToCsrPosAction:
        case Id::UpBrightAction:
        case Id::DownBrightAction:
        case Id::CurBrt0Action:
            return current;
        case Id::PropStepAction:
        case Id::TimeStepAction:
            return current || f.SelectedAll > 0;
        case Id::UndoAction:
            return !f.UndoEmpty;
        case Id::RedoAction:
            return f.RedoAvailable;
        case Id::PrvStpAction:
            return f.CurrentStep > 0;
        case Id::NxtStpAction:
            return f.StepsInLine > 0 && f.CurrentStep < f.StepsInLine - 1;
        case Id::TopPlayAction:
            return f.CanPlayFromStart;
        case Id::PlayAction:
            return f.CanPlay;
        case Id::PauseAction:
            return f.CanPauseResume;
        case Id::StopAction:
            return f.CanStop;
        case Id::ToTopPosAction:
        case Id::ToEndPosAction:
            return f.CanGoToSoundStartOrEnd;
        case Id::CutMltAction:
        case Id::CpyMltAction:
        case Id::AlignMltAction:
        case Id::StretchMltAction:
        case Id::StretchBrtAction:
        case Id::SaveSelGrpAction:
            return f.SelectedAll > 0;
        case Id::PstMltAction:
            return !f.MultiClipboardEmpty;
        case Id::SelectAllMltAction:
        case Id::SetPrjAction:
        case Id::PrvTimAction:
        case Id::NxtTimAction:
        case Id::ViewFilToolAction:
        case Id::ViewEditToolAction:
        case Id::ViewPlayerAction:
        case Id::ViewCurPalAction:
        case Id::ViewSttBarAction:
        case Id::ViewRefTrkAction:
        case Id::ViewColMonAction:
        case Id::DispMonoAction:
        case Id::ViewBeatLaneAction:
        case Id::SnapBeatAction:
            return true;
        case Id::AddBeatStepsAction:
            return f.BeatsKnown && f.SelectedInLine >= 2;
        case Id::SelectBeatStepsAction:
            return f.BeatsKnown && f.StepsInLine > 0;
    }
    return true;
}

}  // namespace

ActionState MainActionState(ActionId id, const ActionFacts& f) {
    return {Enabled(id, f), !ActionInfoOf(id).MultiOnly || f.MultiMode};
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
