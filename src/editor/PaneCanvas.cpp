#include "editor/PaneCanvas.h"

#include <algorithm>
#include <cstdint>

namespace lumavox {

PaneCanvas::PaneCanvas(QImage& image, QPainter& painter, int originX)
    : m_painter(painter), m_originX(originX) {
    if (image.format() == QImage::Format_RGB32 && image.devicePixelRatio() == 1.0) {
        // The painter is already active on the image, so bits() does not detach it again.
        m_bits = image.bits();
        m_stride = image.bytesPerLine();
        m_width = image.width();
        m_height = image.height();
    }
}

void PaneCanvas::Fill(int x, int y, int w, int h, QRgb colour) {
    if (w <= 0 || h <= 0) return;
    if (m_bits == nullptr) {
        m_painter.fillRect(QRect(x, y, w, h), QColor::fromRgb(colour));
        return;
    }
    const int64_t left = std::max<int64_t>(int64_t{x} - m_originX, 0);
    const int64_t right = std::min<int64_t>(int64_t{x} - m_originX + w, m_width);
    const int64_t top = std::max<int64_t>(y, 0);
    const int64_t bottom = std::min<int64_t>(int64_t{y} + h, m_height);
    if (left >= right || top >= bottom) return;
    const QRgb pixel = colour | 0xFF000000u;
    for (int64_t row = top; row < bottom; ++row) {
        QRgb* line = reinterpret_cast<QRgb*>(m_bits + row * m_stride);
        std::fill(line + left, line + right, pixel);
    }
}

}  // namespace lumavox
