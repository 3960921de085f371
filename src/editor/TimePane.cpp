#include "editor/TimePane.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

#include "editor/logic/TimeLine.h"
#include "settings/EnvData.h"

namespace lumavox {

TimePane::TimePane(TimePanes& panes, int overlays, QWidget* parent)
    : QWidget(parent),
      m_panes(panes),
      m_ctx(panes.Context()),
      m_state(panes.State()),
      m_tl(panes.Line()),
      m_overlays(overlays) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(false);
    m_panes.Register(this);
}

TimePane::~TimePane() {
    m_panes.Unregister(this);
}

bool TimePane::BeginPress(const QMouseEvent* event) {
    if (!m_state.Busy()) return true;
    if (event->buttons() != event->button()) return false;
    m_panes.DropGestures();
    return true;
}

void TimePane::PaintColourTrace(PaneCanvas& c, const TStepList& list, int l, int e, int m) const {
    ForEachColumnColour(list, l, e, [&](int x, const LineColour& lc) {
        const int d = TruncToInt(static_cast<double>(lc.Brightness) * m / 255);
        c.Fill(x, m - d - 8, 1, 16, PixelOf(ApplyBrightness(lc.Colour, lc.Brightness)));
    });
}

size_t TimePane::FirstStepFrom(const TStepList& list, int l) const {
    if (!list.SortedUnlocked()) return 0;
    const TStepList::View items = list.ItemsUnlocked();
    return static_cast<size_t>(
        std::partition_point(items.begin(), items.end(),
                             [&](const Step* s) { return m_tl.TimeToX(s->Time) < l; }) -
        items.begin());
}

void TimePane::InvalidateContent() {
    m_stale = true;
    update();
}

void TimePane::InvalidateColumns(int x0, int x1) {
    m_stale = true;
    update(QRect(x0 - m_tl.L(), 0, x1 - x0, height()));
}

void TimePane::RepaintStrip(int contentX) {
    update(QRect(contentX - m_tl.L(), 0, 1, height()));
}

int TimePane::ContentX(const QPointF& pos) const {
    return m_tl.PointerX(static_cast<int>(std::trunc(pos.x())), m_dragOffset.x());
}

void TimePane::wheelEvent(QWheelEvent* event) {
    if (!WheelZoom(event)) event->ignore();
}

bool TimePane::WheelZoom(QWheelEvent* event) {
    if (!m_ctx.env.UseWheel || !event->modifiers().testFlag(Qt::ControlModifier)) return false;
    const int delta = event->angleDelta().y();
    // Toward the user (negative) zooms out, as on the mark bar.
    if (delta != 0) m_panes.ZoomAtPointer(delta > 0, ContentX(event->position()));
    event->accept();
    return true;
}

void TimePane::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_stale = true;
}

const QImage& TimePane::Content() {
    const qreal dpr = devicePixelRatioF();
    const QSize pixels(std::max(1, static_cast<int>(width() * dpr)),
                       std::max(1, static_cast<int>(height() * dpr)));
    if (m_image.size() != pixels) {
        m_image = QImage(pixels, QImage::Format_RGB32);
        m_image.setDevicePixelRatio(dpr);
        m_stale = true;
    }
    if (m_stale || m_renderedL != m_tl.L()) {
        m_image.fill(palette().color(QPalette::Window));
        QPainter p(&m_image);
        p.translate(-m_tl.L(), 0);
        PaneCanvas canvas(m_image, p, m_tl.L());
        if (m_panes.Painting()) Render(canvas);
        m_stale = false;
        m_renderedL = m_tl.L();
    }
    return m_image;
}

void TimePane::paintEvent(QPaintEvent* event) {
    const QImage& image = Content();
    QPainter p(this);
    const QRect r = event->rect();
    const qreal dpr = image.devicePixelRatio();
    p.drawImage(r, image, QRectF(r.x() * dpr, r.y() * dpr, r.width() * dpr, r.height() * dpr));
    if (!m_panes.Painting()) return;
    p.translate(-m_tl.L(), 0);
    p.setCompositionMode(QPainter::RasterOp_NotDestination);
    PaintOverlays(p);
    const int h = height();
    if (DrawsDragLine() && m_state.DragLineX != TimeLine::kNoDragLine) {
        for (int y = 0; y < h; y += 2) p.fillRect(QRect(m_state.DragLineX, y, 1, 1), Qt::white);
    }
    if (DrawsCursor()) p.fillRect(QRect(m_tl.CursorX(), 0, 1, h), Qt::white);
}

void DrawMarker(PaneCanvas& c, const QRect& square, QRgb fill, QRgb frame, Edge edge, bool red) {
    // Thousands of markers can be visible: plain fills only, no pens or style calls.
    const int x = square.x();
    const int y = square.y();
    const int w = square.width();
    const int h = square.height();
    c.Fill(square, fill);
    c.Fill(x, y, w, 1, frame);
    c.Fill(x, y + h - 1, w, 1, frame);
    c.Fill(x, y, 1, h, frame);
    c.Fill(x + w - 1, y, 1, h, frame);
    constexpr QRgb kLight = qRgb(255, 255, 255);
    constexpr QRgb kDark = qRgb(128, 128, 128);
    if (w > 4 && h > 4) {
        const int ix = x + 1;
        const int iy = y + 1;
        const int iw = w - 2;
        const int ih = h - 2;
        const QRgb topLeft = edge == Edge::Sunken ? kDark : kLight;
        const QRgb bottomRight = edge == Edge::Sunken ? kLight : kDark;
        if (edge == Edge::Etched) {
            // a groove: dark outer line, light inner line
            c.Fill(ix, iy, iw - 1, 1, kDark);
            c.Fill(ix, iy, 1, ih - 1, kDark);
            c.Fill(ix + 1, iy + ih - 1, iw - 1, 1, kLight);
            c.Fill(ix + iw - 1, iy + 1, 1, ih - 1, kLight);
        } else {
            c.Fill(ix, iy, iw, 1, topLeft);
            c.Fill(ix, iy, 1, ih, topLeft);
            c.Fill(ix, iy + ih - 1, iw, 1, bottomRight);
            c.Fill(ix + iw - 1, iy, 1, ih, bottomRight);
        }
    }
    if (red) {
        constexpr QRgb kRed = qRgb(255, 0, 0);
        // grown by one pixel on each side
        c.Fill(x - 1, y - 1, w + 2, 1, kRed);
        c.Fill(x - 1, y + h, w + 2, 1, kRed);
        c.Fill(x - 1, y, 1, h, kRed);
        c.Fill(x + w, y, 1, h, kRed);
    }
}

}  // namespace lumavox
