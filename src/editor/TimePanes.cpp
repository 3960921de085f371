#include "editor/TimePanes.h"

#include <algorithm>

#include "editor/TimePane.h"
#include "editor/logic/PaneGeometry.h"
#include "engine/EngineState.h"
#include "engine/PlayDisplay.h"
#include "engine/Transport.h"
#include "model/ProjectData.h"
#include "model/UsrFunc.h"
#include "settings/EnvData.h"
#include "sound/WavSound.h"

namespace lumavox {

TimePanes::TimePanes(EditorContext& context, PaneState& state, QObject* parent)
    : QObject(parent), m_ctx(context), m_state(state) {}

void TimePanes::Register(TimePane* pane) {
    m_panes.push_back(pane);
}

void TimePanes::Unregister(TimePane* pane) {
    m_panes.erase(std::remove(m_panes.begin(), m_panes.end(), pane), m_panes.end());
}

void TimePanes::Relayout(int visibleWidth) {
    EngineState& e = m_ctx.engine;
    m_ctx.timeLine.Layout({e.CursorTime.load(), e.PrePlayTime.load(), e.PostPlayTime.load(),
                           m_ctx.sound.List().Count(), e.TimelineLength.load(), visibleWidth});
    emit statusText(2, QString::fromStdString(m_ctx.timeLine.ScaleText()));
    emit zoomChanged();
    AfterScroll();
}

void TimePanes::DisplayTick() {
    if (TakeRepeatRestarted(m_ctx.engine)) {
        if (m_ctx.timeLine.SetL(m_ctx.timeLine.SoundStartScroll())) AfterScroll();
    }
    UpdateCursor();
}

void TimePanes::UpdateCursor() {
    const TimeLine::CursorMove move =
        m_ctx.timeLine.CursorUpdate(m_ctx.engine.CursorTime.load(), Playing());
    if (move.Scrolled) {
        AfterScroll();
    } else if (move.Moved) {
        RepaintCursorStrip(move.OldX, move.NewX);
    }
}

void TimePanes::SetScroll(int l) {
    if (m_ctx.timeLine.SetL(l)) AfterScroll();
}

void TimePanes::AfterScroll() {
    const TimeLine& tl = m_ctx.timeLine;
    emit scrollChanged(tl.L(), tl.MaxL(), tl.VisibleWidth());
    InvalidateAll();
}

void TimePanes::InvalidateAll() {
    for (TimePane* pane : m_panes) pane->InvalidateContent();
}

void TimePanes::UpdateOverlays() {
    for (TimePane* pane : m_panes) pane->update();
}

void TimePanes::InvalidateAround(int x) {
    for (TimePane* pane : m_panes) pane->InvalidateColumns(x - 16, x + 17);
}

void TimePanes::RepaintCursorStrip(int oldX, int newX) {
    for (TimePane* pane : m_panes) {
        if (!pane->DrawsCursor()) continue;
        pane->RepaintStrip(oldX);
        pane->RepaintStrip(newX);
    }
}

void TimePanes::SetDragLine(int x) {
    const int old = m_state.DragLineX;
    if (old == x) return;
    m_state.DragLineX = x;
    for (TimePane* pane : m_panes) {
        if (!pane->DrawsDragLine()) continue;
        if (old != TimeLine::kNoDragLine) pane->RepaintStrip(old);
        if (x != TimeLine::kNoDragLine) pane->RepaintStrip(x);
    }
}

bool TimePanes::ZoomIn() {
    if (!m_ctx.timeLine.CanZoomIn() || !m_ctx.timeLine.ZoomIn()) return false;
    Relayout(m_ctx.timeLine.VisibleWidth());
    return true;
}

bool TimePanes::ZoomOut() {
    if (!m_ctx.timeLine.CanZoomOut() || !m_ctx.timeLine.ZoomOut()) return false;
    Relayout(m_ctx.timeLine.VisibleWidth());
    return true;
}

bool TimePanes::ZoomFit() {
    if (!m_ctx.timeLine.ZoomFit()) return false;
    Relayout(m_ctx.timeLine.VisibleWidth());
    return true;
}

bool TimePanes::ZoomAtPointer(bool in, int contentX) {
    TimeLine& tl = m_ctx.timeLine;
    const int offset = contentX - tl.L();
    const double oldZoom = tl.FrameZoom();
    if (!(in ? ZoomIn() : ZoomOut())) return false;
    SetScroll(tl.AnchoredL(contentX, offset, oldZoom));
    return true;
}

void TimePanes::SetWaveGain(int gain) {
    gain = ValidWaveGain(gain);
    if (gain == m_waveGain) return;
    m_waveGain = gain;
    InvalidateAll();
    emit waveGainChanged(gain);
}

void TimePanes::SetCurrentLine(int line, bool deselectAll) {
    if (line < 0 || line >= kLineCount) return;
    m_ctx.project.CurrentLine.store(line, std::memory_order_relaxed);
    m_state.CurrentStep = nullptr;
    m_state.Revalidate(m_ctx.project);
    if (deselectAll) SetSelection(m_ctx.project, 0, true);
    emit currentLineChanged(line);
    InvalidateAll();
    ShowSelection(true);
}

bool TimePanes::DragAlive() {
    if (m_state.DragMode == PaneState::Drag::None) return false;
    const int line = CurrentLineIndex();
    auto alive = [&](const Step* s) {
        return s == nullptr || IndexOfStep(m_ctx.project, line, s) >= 0;
    };
    if (m_state.Dragged != nullptr && alive(m_state.Dragged) && alive(m_state.StretchFirst) &&
        alive(m_state.StretchLast)) {
        return true;
    }
    m_state.EndDrag();
    SetDragLine(TimeLine::kNoDragLine);
    InvalidateAll();
    return false;
}

void TimePanes::DropGestures() {
    m_state.EndDrag();
    m_state.BandActive = false;
    for (TimePane* pane : m_panes) pane->DropGesture();
    UpdateOverlays();
}

void TimePanes::StepsReplaced() {
    DragAlive();
    m_state.Revalidate(m_ctx.project);
    InvalidateAll();
}

bool TimePanes::SoundLoaded() const {
    return m_ctx.sound.List().Count() > 0;
}

bool TimePanes::Playing() const {
    return m_ctx.engine.SoundMode.Equals("playing");
}

bool TimePanes::Painting() const {
    return !m_state.Closing && m_ctx.engine.SoundLoaded.load();
}

int32_t TimePanes::DragTime(int x, Qt::KeyboardModifiers mods) const {
    const int32_t t = Line().XToTime(x);
    if (m_marks == nullptr || mods.testFlag(Qt::AltModifier)) return t;
    return m_marks->Snapped(t, Line().PixelsPerMs());
}

TimeLimits TimePanes::Limits() const {
    const EngineState& e = m_ctx.engine;
    return {e.PrePlayTime.load(), e.PostPlayTime.load(), e.SoundLength.load()};
}

int TimePanes::CurrentLineIndex() const {
    return m_ctx.project.CurrentLine.load(std::memory_order_relaxed);
}

const TStepList* TimePanes::CurrentList() const {
    const int line = CurrentLineIndex();
    if (line < 0 || line >= kLineCount) return nullptr;
    return &m_ctx.project.Lines[static_cast<size_t>(line)];
}

void TimePanes::Locate(int32_t t) {
    m_ctx.transport.Locate(t, &m_state.ProgrammaticChange);
    UpdateCursor();
}

void TimePanes::Scrub(int x, bool cursorHeld) {
    EngineState& e = m_ctx.engine;
    if (!cursorHeld && !Playing() && !e.FreeClockRunning.load()) {
        const int32_t t = m_ctx.timeLine.XToTime(x);
        e.CursorTime.store(t);
        if (t >= 0 && t <= e.SoundLength.load()) e.SeekRequest.store(true);
        UpdateCursor();
    }
    FollowPointer(x);
}

void TimePanes::FollowPointer(int x) {
    const TStepList* list = CurrentList();
    if (list == nullptr) return;
    const Step* old = m_state.CurrentStep;
    const int k = m_ctx.timeLine.Candidate(list->ItemsUnlocked(), x, 0);
    m_state.AnchorStep = old;
    m_state.CurrentStep = StepAt(m_ctx.project, k);
    const Step* now = m_state.CurrentStep;
    if (now == old || !m_ctx.env.CurActivate) return;
    if (old != nullptr && IndexOfStep(m_ctx.project, CurrentLineIndex(), old) >= 0) {
        InvalidateAround(m_ctx.timeLine.TimeToX(old->Time));
    }
    if (now != nullptr) {
        InvalidateAround(m_ctx.timeLine.TimeToX(now->Time));
        ShowStepBrightness(now);
        ShowStepTime(now);
    }
    emit paletteRefreshRequested();
}

void TimePanes::SelectOnPress(int index, Qt::KeyboardModifiers mods, bool ctrlShiftKeeps) {
    ProjectData& project = m_ctx.project;
    const Step* step = StepAt(project, index);
    if (step == nullptr) return;
    const bool shift = mods.testFlag(Qt::ShiftModifier);
    const bool ctrl = mods.testFlag(Qt::ControlModifier);
    if (shift) {
        if (ctrl && ctrlShiftKeeps) return;
        SelectRange(project, m_state.AnchorIndex(project), index);
    } else if (ctrl) {
        SetStepSelected(project, CurrentLineIndex(), step, true);
    } else if (step->Selected == 0) {
        SetSelection(project, 0, true);
        SetStepSelected(project, CurrentLineIndex(), step, true);
    }
}

void TimePanes::ShowStepTime(const Step* step) {
    if (step != nullptr) emit statusText(1, QString::fromStdString(MillisText(step->Time)));
}

void TimePanes::ShowStepBrightness(const Step* step) {
    if (step == nullptr) return;
    ++m_state.ProgrammaticChange;
    emit sliderBrightness(step->Brightness, true);
    --m_state.ProgrammaticChange;
}

void TimePanes::ShowSelection(bool withAll) {
    emit statusText(3,
                    QString::fromStdString(SelectingText(SelectedCountInLine(m_ctx.project),
                                                         SelectedCount(m_ctx.project), withAll)));
}

bool TimePanes::CanChangeBrightness() const {
    return m_state.CurrentIndex(m_ctx.project) >= 0;
}

void TimePanes::BrightnessUp() {
    const Step* s = m_state.CurrentStep;
    if (!CanChangeBrightness() || s->Brightness >= kMaxBrightness) return;
    SetStepBrightness(m_ctx.project, CurrentLineIndex(), s, s->Brightness + 1);
    m_ctx.project.Modified = true;
    emit modifiedChanged();
    emit paletteRefreshRequested();
    InvalidateAll();
}

void TimePanes::BrightnessDown() {
    const Step* s = m_state.CurrentStep;
    if (!CanChangeBrightness() || s->Brightness <= kMinBrightness) return;
    SetStepBrightness(m_ctx.project, CurrentLineIndex(), s, s->Brightness - 1);
    m_ctx.project.Modified = true;
    emit modifiedChanged();
    emit paletteRefreshRequested();
    InvalidateAll();
}

bool TimePanes::CanNextStep() const {
    const TStepList* list = CurrentList();
    return list != nullptr && list->Count() > 0 &&
           m_state.CurrentIndex(m_ctx.project) < list->Count() - 1;
}

bool TimePanes::CanPrevStep() const {
    return m_state.CurrentIndex(m_ctx.project) > 0;
}

void TimePanes::NextStep() {
    const TStepList* list = CurrentList();
    if (list == nullptr || list->Count() == 0) return;
    const int cur = m_state.CurrentIndex(m_ctx.project);
    const int next = cur < 0 ? 0 : std::min(cur + 1, list->Count() - 1);
    m_state.CurrentStep = StepAt(m_ctx.project, next);
    SetSelection(m_ctx.project, 0, true);
    SetStepSelected(m_ctx.project, CurrentLineIndex(), m_state.CurrentStep, true);
    TimeLine& tl = m_ctx.timeLine;
    const int x = tl.TimeToX(m_state.CurrentStep->Time);
    if (!Playing() && x > tl.L() + tl.VisibleWidth() && tl.SetL(x - 20)) AfterScroll();
    InvalidateAll();
    ShowStepTime(m_state.CurrentStep);
    ShowSelection(false);
}

void TimePanes::PrevStep() {
    const int cur = m_state.CurrentIndex(m_ctx.project);
    if (cur <= 0) return;
    m_state.CurrentStep = StepAt(m_ctx.project, cur - 1);
    SetSelection(m_ctx.project, 0, true);
    SetStepSelected(m_ctx.project, CurrentLineIndex(), m_state.CurrentStep, true);
    TimeLine& tl = m_ctx.timeLine;
    const int x = tl.TimeToX(m_state.CurrentStep->Time);
    if (!Playing() && x < tl.L() && tl.SetL(std::max(0, x - tl.VisibleWidth() + 20))) {
        AfterScroll();
    }
    InvalidateAll();
    ShowStepTime(m_state.CurrentStep);
    ShowSelection(false);
}

void TimePanes::PrevTime() {
    const int32_t p = m_ctx.engine.SoundPosition.load();
    if (p <= 0) return;
    m_ctx.engine.CursorTime.store(p % 100 == 0 ? p - 100 : p - p % 100);
    m_ctx.engine.SeekRequest.store(true);
    UpdateCursor();
}

void TimePanes::NextTime() {
    const int32_t p = m_ctx.engine.SoundPosition.load();
    if (p >= m_ctx.engine.SoundLength.load() - 10) return;
    m_ctx.engine.CursorTime.store(p - p % 100 + 100);
    m_ctx.engine.SeekRequest.store(true);
    UpdateCursor();
}

}  // namespace lumavox
