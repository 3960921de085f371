#include "editor/LineEditorPane.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

#include "editor/logic/PaneGeometry.h"
#include "engine/EngineState.h"
#include "model/ColourEval.h"
#include "model/ProjectData.h"
#include "model/UsrFunc.h"
#include "settings/EnvData.h"

namespace lumavox {

using namespace line_pane;

LineEditorPane::LineEditorPane(TimePanes& panes, QWidget* parent)
    : TimePane(panes, kCursor | kDragLine, parent), m_band(*this, m_tl, m_state) {
    setMinimumHeight(2);
    setFocusPolicy(Qt::ClickFocus);
}

int LineEditorPane::PointerY(const QPointF& pos) const {
    return static_cast<int>(std::trunc(pos.y())) + m_dragOffset.y();
}

void LineEditorPane::Render(PaneCanvas& c) {
    const int l = m_tl.L();
    const int e = m_tl.RightEnd();
    const int h = height();
    const int m = M();
    if (e <= l) return;
    c.Fill(l, 0, e - l, h, PixelOf(m_ctx.env.CLinBg));
    c.Fill(l, m, e - l, 1, qRgb(192, 192, 192));
    const TStepList* list = m_panes.CurrentList();
    if (list == nullptr) return;
    PaintColourTrace(c, *list, l, e, m);
    const auto place = [&](const Step* s) {
        return MarkerPlace{MarkerY(s->Brightness, m), s == m_state.CurrentStep || s->Selected != 0};
    };
    ForEachVisibleMarker(
        *list, l, l + m_tl.VisibleWidth(), place, [&](const Step* s, int x, const MarkerPlace& at) {
            const bool current = s == m_state.CurrentStep;
            DrawMarker(c, QRect(x - 8, at.Y - 8, 16, 16),
                       PixelOf(ApplyBrightness(s->Colour, s->Brightness)), PixelOf(s->Colour),
                       current ? Edge::Sunken : Edge::Raised, at.Red);
        });
}

void LineEditorPane::PaintOverlays(QPainter& p) {
    const PaneState::Drag mode = m_state.DragMode;
    if (m_state.DragOwner == this &&
        (mode == PaneState::Drag::Move || mode == PaneState::Drag::Brightness)) {
        // The selection's outline at the markers' present places (hit squares).
        if (const TStepList* list = m_panes.CurrentList()) {
            const int l = m_tl.L();
            const int right = l + width();
            p.setPen(Qt::white);
            for (const Step* s : list->ItemsUnlocked()) {
                if (s->Selected == 0) continue;
                const int x = m_tl.TimeToX(s->Time);
                if (x < l - 8 || x > right + 8) continue;
                const PixelRect r = MarkerRect(x, s->Brightness, M(), Variant::Hit);
                p.drawRect(QRect(r.X, r.Y, r.W - 1, r.H - 1));
            }
        }
    }
    m_band.Paint(p);
}

void LineEditorPane::DropGesture() {
    m_band.Drop();
    m_dragOffset = {};
    unsetCursor();
}

void LineEditorPane::mousePressEvent(QMouseEvent* event) {
    if (!BeginPress(event)) return;
    if (!m_panes.SoundLoaded()) return;
    ProjectData& project = m_ctx.project;
    const TStepList* list = m_panes.CurrentList();
    if (list == nullptr) return;
    m_dragOffset = {};
    const int x = ContentX(event->position());
    const int y = PointerY(event->position());
    const Qt::KeyboardModifiers mods = event->modifiers();
    const int hit = HitTest(m_tl, list->ItemsUnlocked(), x, y, M());
    m_last = {x, y};
    if (hit < 0) {
        m_state.AnchorStep = nullptr;
        m_state.CurrentStep = nullptr;
    } else {
        m_state.SetCurrentIndex(project, hit, true);
    }
    if (hit >= 0) {
        const Step* step = m_state.CurrentStep;
        m_panes.ShowStepBrightness(step);
        m_panes.ShowStepTime(step);
        if (event->button() == Qt::LeftButton) {
            m_panes.SelectOnPress(hit, mods, false);
            m_panes.InvalidateAll();
            if (m_state.SuppressDrag) {
                m_state.SuppressDrag = false;
            } else {
                SaveUndoState(project);
                const PixelRect r =
                    MarkerRect(m_tl.TimeToX(step->Time), step->Brightness, M(), Variant::Hit);
                const QPoint centre(r.X + 8, r.Y + 8);
                // Instead of moving the pointer onto the marker, later positions are offset.
                m_dragOffset = centre - QPoint(x, y);
                m_last = centre;
                m_dragStartY = centre.y();
                m_movedVertically = false;
                m_dragChanged = false;
                m_state.Dragged = step;
                m_state.Moved = false;
                if (mods.testFlag(Qt::ShiftModifier)) {
                    m_state.DragMode = PaneState::Drag::Move;
                    m_state.DragOwner = this;
                    m_panes.SetDragLine(m_tl.TimeToX(step->Time));
                    emit m_panes.statusText(
                        1, QString::fromStdString(MillisText(m_tl.XToTime(centre.x()))));
                    setCursor(Qt::SizeHorCursor);
                } else {
                    m_state.DragMode = PaneState::Drag::Brightness;
                    m_state.DragOwner = this;
                    emit m_panes.statusText(
                        2, QString::fromStdString(BrightnessText(step->Brightness)));
                    setCursor(Qt::SizeVerCursor);
                }
                m_panes.UpdateOverlays();
            }
        } else if (event->button() == Qt::RightButton) {
            emit m_panes.stepMenuRequested(event->globalPosition().toPoint() + QPoint(2, 0));
        }
    } else if (event->button() == Qt::LeftButton) {
        if (m_state.SuppressBand) {
            m_state.SuppressBand = false;
        } else {
            if (!mods.testFlag(Qt::ControlModifier)) {
                SetSelection(project, 0, true);
                m_panes.InvalidateAll();
            }
            m_band.Start(x, y);
        }
    } else if (event->button() == Qt::RightButton) {
        emit m_panes.emptyMenuRequested(event->globalPosition().toPoint() + QPoint(2, 0));
    }
    m_panes.ShowSelection(false);
}

void LineEditorPane::mouseMoveEvent(QMouseEvent* event) {
    const int x = ContentX(event->position());
    const int y = PointerY(event->position());
    const Qt::KeyboardModifiers mods = event->modifiers();
    PaneState::Drag& mode = m_state.DragMode;
    if ((mode == PaneState::Drag::Move && x == m_last.x()) ||
        (mode == PaneState::Drag::Brightness && y == m_last.y())) {
        return;
    }
    ProjectData& project = m_ctx.project;
    const Step* dragged = m_state.Dragged;
    if ((mode == PaneState::Drag::Move || mode == PaneState::Drag::Brightness) &&
        m_panes.DragAlive()) {
        if (y != m_dragStartY) m_movedVertically = true;
        const bool shift = mods.testFlag(Qt::ShiftModifier);
        if (shift && mode == PaneState::Drag::Brightness) {
            mode = PaneState::Drag::Move;
            m_state.Moved = false;
            setCursor(Qt::SizeHorCursor);
        } else if (!shift && mode == PaneState::Drag::Move) {
            mode = PaneState::Drag::Brightness;
            setCursor(Qt::SizeVerCursor);
        } else if (mode == PaneState::Drag::Move) {
            const int64_t dt = static_cast<int64_t>(m_panes.DragTime(x, mods)) - dragged->Time;
            if (dt != 0) {
                MoveSelected(project, SaturateTime(dt), mods.testFlag(Qt::AltModifier),
                             m_panes.Limits());
                m_state.Moved = true;
                m_dragChanged = true;
                m_panes.ShowStepTime(dragged);
            }
            if (m_ctx.env.DispTracking) m_panes.InvalidateAll();
            m_panes.SetDragLine(m_tl.TimeToX(dragged->Time));
            m_panes.UpdateOverlays();
        } else if (const auto nb = BrightnessAtY(y, M())) {
            OffsetBrightness(project, *nb - dragged->Brightness, nullptr);
            m_dragChanged = true;
            emit m_panes.paletteRefreshRequested();
            emit m_panes.statusText(2, QString::fromStdString(BrightnessText(dragged->Brightness)));
            if (m_ctx.env.DispTracking) {
                m_panes.InvalidateAll();
                emit m_panes.sliderBrightness(dragged->Brightness, false);
            }
            m_panes.UpdateOverlays();
        }
    }
    m_band.Extend(x, y);
    m_last = {x, y};
}

void LineEditorPane::mouseReleaseEvent(QMouseEvent* event) {
    ProjectData& project = m_ctx.project;
    const int x = ContentX(event->position());
    const int y = PointerY(event->position());
    const int line = m_panes.CurrentLineIndex();
    const PaneState::Drag mode = m_state.DragMode;
    const Step* dragged = m_state.Dragged;
    if ((mode == PaneState::Drag::Move || mode == PaneState::Drag::Brightness) &&
        m_panes.DragAlive()) {
        if (mode == PaneState::Drag::Move && m_state.Moved) {
            if (!event->modifiers().testFlag(Qt::AltModifier)) {
                SetStepTime(project, line, dragged, m_panes.DragTime(x, event->modifiers()));
            }
            Normalise(project);
            m_dragChanged = true;
        } else if (mode == PaneState::Drag::Brightness &&
                   (m_movedVertically || y != m_dragStartY)) {
            // The marker centre does not map back onto every brightness, so a click that did
            // not move must not write the brightness of its y.
            if (const auto nb = BrightnessAtY(y, M())) {
                SetStepBrightness(project, line, dragged, *nb);
                m_panes.ShowStepBrightness(dragged);
                m_dragChanged = true;
            }
        }
        if (m_dragChanged) {
            project.Modified = true;
            emit m_panes.modifiedChanged();
        }
        m_panes.ShowStepTime(dragged);
        m_state.EndDrag();
        m_panes.SetDragLine(TimeLine::kNoDragLine);
        m_panes.InvalidateAll();
    } else if (m_band.Active()) {
        const PixelRect area = m_band.Finish();
        if (const TStepList* list = m_panes.CurrentList()) {
            SelectSteps(project, BandPicks(m_tl, list->ItemsUnlocked(), area, M()));
            if (SelectedCountInLine(project) == 1) {
                const SelectedEnds one = FirstLastSelectedInLine(project);
                m_state.AnchorStep = m_state.CurrentStep;
                m_state.CurrentStep = one.First;
            }
        }
        m_panes.InvalidateAll();
    }
    m_dragOffset = {};
    unsetCursor();
    m_panes.ShowSelection(false);
}

void LineEditorPane::mouseDoubleClickEvent(QMouseEvent* event) {
    // The double click comes between the first release and the second press: its logic runs
    // first, then the press it stands for.
    if (m_panes.SoundLoaded()) {
        m_state.SuppressDrag = true;
        m_state.AnchorStep = m_state.CurrentStep;
        const TStepList* list = m_panes.CurrentList();
        const int x = ContentX(event->position());
        const int y = PointerY(event->position());
        // The step the press picks (a later candidate may lie under the pointer when an earlier
        // one is within reach), else the first one within reach.
        int k = -1;
        if (list != nullptr) {
            k = HitTest(m_tl, list->ItemsUnlocked(), x, y, M());
            if (k < 0) k = m_tl.Candidate(list->ItemsUnlocked(), x, 0);
        }
        m_state.CurrentStep = StepAt(m_ctx.project, k);
        if (const Step* s = m_state.CurrentStep) {
            m_panes.ShowStepBrightness(s);
            m_panes.ShowStepTime(s);
            if (MarkerRect(m_tl.TimeToX(s->Time), s->Brightness, M(), Variant::Paint)
                    .Contains(x, y)) {
                emit m_panes.propStepRequested();
            }
            m_state.SuppressBand = true;
        }
    }
    mousePressEvent(event);
    // That was the second press of the double click: a flag it did not use (a band started on
    // empty space, a drag refused on a step) must not swallow a later press.
    m_state.SuppressDrag = false;
    m_state.SuppressBand = false;
}

void LineEditorPane::wheelEvent(QWheelEvent* event) {
    if (!m_ctx.env.UseWheel) {
        event->ignore();
        return;
    }
    if (WheelZoom(event)) return;
    const int delta = event->angleDelta().y();
    if (delta != 0) {
        const int32_t step = event->modifiers().testFlag(Qt::ShiftModifier) ? 16 : 4;
        ProjectData& project = m_ctx.project;
        const Step* current = m_state.CurrentIndex(project) >= 0 ? m_state.CurrentStep : nullptr;
        OffsetBrightness(project, delta < 0 ? -step : step, current);
        if (current != nullptr) {
            emit m_panes.sliderBrightness(current->Brightness, true);
            emit m_panes.statusText(2, QString::fromStdString(BrightnessText(current->Brightness)));
        }
        project.Modified = true;
        emit m_panes.modifiedChanged();
        emit m_panes.paletteRefreshRequested();
        m_panes.InvalidateAll();
    }
    event->accept();
}

}  // namespace lumavox
