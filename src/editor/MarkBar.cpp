#include "editor/MarkBar.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

#include "editor/logic/PaneGeometry.h"
#include "model/ProjectData.h"
#include "model/UsrFunc.h"
#include "settings/EnvData.h"

namespace lumavox {

namespace {
constexpr int kMarkTop = 26;  // marker squares span y 26..41
constexpr int kDragY = 39;    // where a drag holds the pointer
}  // namespace

MarkBar::MarkBar(TimePanes& panes, QWidget* parent) : TimePane(panes, kDragLine, parent) {
    setFixedHeight(kHeight);
}

void MarkBar::Render(PaneCanvas& c) {
    const int l = m_tl.L();
    const int w = m_tl.VisibleWidth();
    const EnvData& env = m_ctx.env;
    const QRgb fg = PixelOf(env.TLinFg);
    c.Fill(l, 0, w, height(), PixelOf(env.TLinBg));
    QPainter& p = c.Painter();
    QFont font = p.font();
    font.setPixelSize(12);
    p.setFont(font);
    p.setPen(QColor::fromRgb(fg));
    for (const MarkTick& t : MarkBarTicks(l, w, m_tl.FrameZoom(), m_tl.PrePlayTime())) {
        c.Fill(t.X, 0, 1, t.Major ? 10 : 6, fg);
        if (t.Labelled) {
            p.drawText(QRect(t.X - 4, 12, 120, 14), Qt::AlignLeft | Qt::AlignTop,
                       QString::fromStdString(SecondsText(t.Seconds)));
        }
    }
    const TStepList* list = m_panes.CurrentList();
    if (list == nullptr) return;
    const auto place = [&](const Step* s) {
        return MarkerPlace{kMarkTop, s == m_state.CurrentStep || s->Selected != 0};
    };
    ForEachVisibleMarker(*list, l, l + w, place, [&](const Step* s, int x, const MarkerPlace& at) {
        const bool current = s == m_state.CurrentStep;
        DrawMarker(c, QRect(x - 8, kMarkTop, 16, 16), PixelOf(s->Colour), PixelOf(s->Colour),
                   current ? Edge::Sunken : Edge::Raised, at.Red);
        c.Fill(x, 23, 1, 4, fg);
    });
}

void MarkBar::PaintOverlays(QPainter& p) {
    if (m_state.DragOwner != this || (m_state.DragMode != PaneState::Drag::Move &&
                                      m_state.DragMode != PaneState::Drag::Stretch)) {
        return;
    }
    const TStepList* list = m_panes.CurrentList();
    if (list == nullptr) return;
    p.setPen(Qt::white);
    p.setBrush(Qt::NoBrush);
    for (const Step* s : list->ItemsUnlocked()) {
        if (s->Selected == 0) continue;
        const int x = m_tl.TimeToX(s->Time);
        p.drawRect(QRect(x - 8, kMarkTop, 15, 15));
    }
}

void MarkBar::mousePressEvent(QMouseEvent* event) {
    if (!BeginPress(event)) return;
    ProjectData& project = m_ctx.project;
    m_dragOffset = {};
    const int x = ContentX(event->position());
    const int y = static_cast<int>(std::trunc(event->position().y()));
    const Qt::KeyboardModifiers mods = event->modifiers();
    if (event->button() == Qt::RightButton) {
        emit m_panes.stepMenuRequested(event->globalPosition().toPoint() + QPoint(2, 0));
    } else if (event->button() == Qt::LeftButton && m_panes.SoundLoaded()) {
        const TStepList* list = m_panes.CurrentList();
        const int k = list == nullptr ? -1 : MarkBarPick(m_tl, list->ItemsUnlocked(), x);
        m_state.SetCurrentIndex(project, k, true);
        m_lastX = x;
        if (const Step* step = m_state.CurrentStep) {
            m_panes.SelectOnPress(k, mods, true);
            m_panes.ShowStepBrightness(step);
            m_panes.ShowStepTime(step);
            if (!m_state.SuppressDrag) {
                SaveUndoState(project);
                StoreDragOrigins(project);
                const SelectedEnds ends = FirstLastSelectedInLine(project);
                m_state.StretchFirst = ends.First;
                m_state.StretchLast = ends.Last;
                const int sx = m_tl.TimeToX(step->Time);
                // Ctrl+Shift keeps the selection: an unselected step under it is not dragged.
                if (step->Selected != 0 && PixelRect{sx - 8, kMarkTop, 16, 16}.Contains(x, y)) {
                    const bool ends3 = (step == ends.First || step == ends.Last) &&
                                       list->Count() >= 3 && ends.First != nullptr &&
                                       ends.First->DragOrigin < ends.Last->DragOrigin;
                    const bool stretch = mods.testFlag(Qt::ControlModifier) &&
                                         mods.testFlag(Qt::ShiftModifier) && ends3;
                    m_state.DragMode = stretch ? PaneState::Drag::Stretch : PaneState::Drag::Move;
                    m_state.DragOwner = this;
                    m_state.Moved = false;
                    m_state.Dragged = step;
                    m_dragOffset = QPoint(sx - x, kDragY - y);
                    m_lastX = sx;
                    setCursor(Qt::SizeHorCursor);
                    m_panes.SetDragLine(sx);
                }
            }
        } else {
            SetSelection(project, 0, true);
            m_panes.Locate(m_tl.XToTime(x));
        }
        m_panes.InvalidateAll();
        m_panes.ShowSelection(true);
    }
    m_state.SuppressDrag = false;
}

void MarkBar::mouseMoveEvent(QMouseEvent* event) {
    const int x = ContentX(event->position());
    const PaneState::Drag mode = m_state.DragMode;
    const Step* dragged = m_state.Dragged;
    ProjectData& project = m_ctx.project;
    if ((mode == PaneState::Drag::Move || mode == PaneState::Drag::Stretch) &&
        m_panes.DragAlive()) {
        if (x == m_lastX) return;
        if (mode == PaneState::Drag::Move) {
            const int64_t dt =
                static_cast<int64_t>(m_panes.DragTime(x, event->modifiers())) - dragged->Time;
            if (dt != 0) {
                MoveSelected(project, SaturateTime(dt),
                             event->modifiers().testFlag(Qt::AltModifier), m_panes.Limits());
                m_state.Moved = true;
            }
        } else {
            const Step* first = m_state.StretchFirst;
            const Step* last = m_state.StretchLast;
            const Step* other = dragged == last ? first : last;
            SetStepTime(project, m_panes.CurrentLineIndex(), dragged, m_tl.XToTime(x));
            const double span = static_cast<double>(dragged->DragOrigin) - other->DragOrigin;
            const double r = (static_cast<double>(dragged->Time) - other->DragOrigin) / span;
            AnchoredStretch(project, first, last, dragged, r, m_panes.Limits());
        }
        m_panes.ShowStepTime(dragged);
        if (m_ctx.env.DispTracking) m_panes.InvalidateAll();
        m_panes.SetDragLine(m_tl.TimeToX(dragged->Time));
        m_panes.UpdateOverlays();
    } else if (event->buttons().testFlag(Qt::LeftButton) && m_panes.SoundLoaded()) {
        m_panes.Scrub(x, false);
    }
    m_lastX = x;
}

void MarkBar::mouseReleaseEvent(QMouseEvent* event) {
    const PaneState::Drag mode = m_state.DragMode;
    const Step* dragged = m_state.Dragged;
    ProjectData& project = m_ctx.project;
    if ((mode == PaneState::Drag::Move || mode == PaneState::Drag::Stretch) &&
        m_panes.DragAlive()) {
        if (mode == PaneState::Drag::Move && m_state.Moved) {
            if (!event->modifiers().testFlag(Qt::AltModifier)) {
                SetStepTime(project, m_panes.CurrentLineIndex(), dragged,
                            m_panes.DragTime(ContentX(event->position()), event->modifiers()));
            }
            Normalise(project);
            project.Modified = true;
            emit m_panes.modifiedChanged();
        }
        m_state.EndDrag();
        m_panes.SetDragLine(TimeLine::kNoDragLine);
        m_panes.InvalidateAll();
    }
    m_dragOffset = {};
    unsetCursor();
}

void MarkBar::mouseDoubleClickEvent(QMouseEvent* event) {
    if (m_panes.SoundLoaded() && event->button() == Qt::LeftButton) {
        emit m_panes.propStepRequested();
        m_state.SuppressDrag = true;
    }
    mousePressEvent(event);
}

void MarkBar::wheelEvent(QWheelEvent* event) {
    if (!m_ctx.env.UseWheel) {
        event->ignore();
        return;
    }
    if (WheelZoom(event)) return;
    const int delta = event->angleDelta().y();
    if (delta != 0) {
        const int d = m_tl.WheelScroll(event->modifiers().testFlag(Qt::ShiftModifier));
        m_panes.SetScroll(delta < 0 ? m_tl.L() + d : m_tl.L() - d);
    }
    event->accept();
}

}  // namespace lumavox
