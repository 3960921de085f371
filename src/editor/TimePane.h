#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QWidget>

#include "editor/PaneCanvas.h"
#include "editor/TimePanes.h"
#include "model/ColourEval.h"
#include "model/TStepList.h"

namespace lumavox {

// Base of every time pane: a viewport-sized widget that renders the visible columns [L, E) into a
// cached image (device-pixel-ratio aware) and draws the overlays over it in paintEvent, inverted:
// the play cursor, the dotted drag line and whatever the pane adds (outlines, rubber band). Moving
// an overlay repaints only its old and new strips; content changes re-render the image once.
class TimePane : public QWidget {
    Q_OBJECT
public:
    enum Overlay { kCursor = 1, kDragLine = 2 };
    TimePane(TimePanes& panes, int overlays, QWidget* parent);
    ~TimePane() override;

    // Content changed: re-render at the next paint.
    void InvalidateContent();
    void InvalidateColumns(int x0, int x1);  // content x, end exclusive
    void RepaintStrip(int contentX);         // one overlay column
    bool DrawsCursor() const { return (m_overlays & kCursor) != 0; }
    bool DrawsDragLine() const { return (m_overlays & kDragLine) != 0; }
    // Forgets this pane's part of a drag or band whose release never came.
    virtual void DropGesture() {}
    const QImage& Content();  // renders when stale (also for tests and benchmarks)

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // Ctrl+wheel zooms around the pointer's time; other wheel turns go on to the scroll area.
    void wheelEvent(QWheelEvent* event) override;
    // The Ctrl+wheel zoom when the wheel functions are on: true when the event was taken (and
    // accepted).
    bool WheelZoom(QWheelEvent* event);
    // Paints the columns [L, E) of the pane into c, in content coordinates.
    virtual void Render(PaneCanvas& c) = 0;
    // Overlays of the pane's own (inverted drawing is set up), origin at content x L.
    virtual void PaintOverlays(QPainter& p) { (void)p; }
    // The content x of the pointer for an event position (plus the drag offset), clamped to
    // [0, R].
    int ContentX(const QPointF& pos) const;
    // To be called first in a press handler. While a drag or band runs, a press of another button
    // is ignored (false); a press with no other button held means the running gesture lost its
    // release (a modal window took it), so the gesture is dropped before the press goes on.
    bool BeginPress(const QMouseEvent* event);
    // Calls paint(x, colour) for every column x in [l, e) where the line has a colour.
    template <class Paint>
    void ForEachColumnColour(const TStepList& list, int l, int e, Paint paint) const {
        const TStepList::View items = list.ItemsUnlocked();
        const bool sorted = list.SortedUnlocked();
        for (int x = l; x < e; ++x) {
            const LineColour lc = LineColourAt(items, sorted, m_tl.XToTime(x));
            if (lc.Colour != NoColour) paint(x, lc);
        }
    }
    // Index of the first step of the list whose x is at or right of l: found by binary search on
    // a sorted list (x never decreases along it), 0 on an unsorted one.
    size_t FirstStepFrom(const TStepList& list, int l) const;
    // Where a step's marker goes: its centre and whether it has the red frame.
    struct MarkerPlace {
        int Y = 0;
        bool Red = false;
    };
    // Calls draw(step, x, place) in list order for the steps with l <= x <= right, stopping at
    // the first step beyond right. A step whose marker the next step's covers whole (same centre,
    // and a red frame there when this one has one) is skipped: it would be painted over. At a
    // fitting zoom dozens of steps share a column, so most markers are skipped.
    template <class Place, class Draw>
    void ForEachVisibleMarker(const TStepList& list, int l, int right, Place place,
                              Draw draw) const {
        const TStepList::View items = list.ItemsUnlocked();
        for (size_t i = FirstStepFrom(list, l); i < items.size(); ++i) {
            const Step* s = items[i];
            const int x = m_tl.TimeToX(s->Time);
            if (x > right) break;
            if (x < l) continue;
            const MarkerPlace here = place(s);
            if (i + 1 < items.size() && m_tl.TimeToX(items[i + 1]->Time) == x) {
                const MarkerPlace next = place(items[i + 1]);
                if (next.Y == here.Y && (next.Red || !here.Red)) continue;
            }
            draw(s, x, here);
        }
    }
    // The line's colour trace over [l, e): a 16-px mark per column, raised from the middle line
    // m by the brightness.
    void PaintColourTrace(PaneCanvas& c, const TStepList& list, int l, int e, int m) const;

    TimePanes& m_panes;
    EditorContext& m_ctx;
    PaneState& m_state;
    TimeLine& m_tl;
    QPoint m_dragOffset;  // marker centre - press point, in place of moving the pointer

private:
    QImage m_image;
    bool m_stale = true;
    int m_renderedL = -1;
    int m_overlays;
};

// Draws a 3-D edge in the square: raised, sunken or etched (inside the 16 x 16 square).
enum class Edge { Raised, Sunken, Etched };
void DrawMarker(PaneCanvas& c, const QRect& square, QRgb fill, QRgb frame, Edge edge, bool red);

}  // namespace lumavox
