#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QRect>

namespace lumavox {

// Where a time pane renders its content: opaque integer rectangles in content coordinates (x from
// the pane's origin `originX`). When the image is 32-bit RGB at one pixel per unit they are
// written into its pixels directly; otherwise they go through the painter. Either way the same
// pixels result: no antialiasing, no blending, clipped to the image. Text and everything else use
// Painter(), whose origin is the same content x. Thread of the image's owner (the painter rules).
class PaneCanvas {
public:
    PaneCanvas(QImage& image, QPainter& painter, int originX);

    void Fill(int x, int y, int w, int h, QRgb colour);
    void Fill(const QRect& r, QRgb colour) { Fill(r.x(), r.y(), r.width(), r.height(), colour); }
    QPainter& Painter() { return m_painter; }

private:
    QPainter& m_painter;
    uchar* m_bits = nullptr;  // null: every fill goes through the painter
    qsizetype m_stride = 0;
    int m_width = 0;
    int m_height = 0;
    int m_originX = 0;
};

// 0x00BBGGRR as an opaque pixel value.
inline QRgb PixelOf(int32_t bgr) {
    return qRgb(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

}  // namespace lumavox
