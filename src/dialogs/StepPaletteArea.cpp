#include "dialogs/StepPaletteArea.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "editor/HuePalette.h"
#include "editor/logic/DialogMaths.h"
#include "settings/PaletteImage.h"

namespace lumavox {

StepPaletteArea::StepPaletteArea(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void StepPaletteArea::Render(Kind kind, int side, const RgbImage& picture) {
    setFixedSize(side, side);
    if (kind == Kind::Standard) {
        m_image = StandardPaletteImage(side, side);
    } else {
        m_image = QImage(side, side, QImage::Format_RGB888);
        m_image.fill(Qt::black);
        const PaletteRect rect = UserPaletteRect(picture.Width, picture.Height, side, side);
        if (!picture.Empty() && rect.Width > 0 && rect.Height > 0) {
            const QImage source(picture.Pixels.data(), picture.Width, picture.Height,
                                static_cast<qsizetype>(picture.Width) * 3, QImage::Format_RGB888);
            QPainter painter(&m_image);
            painter.drawImage(QRect(0, 0, rect.Width, rect.Height), source);
        }
    }
    update();
}

int32_t StepPaletteArea::ColourAt(QPoint point) const {
    if (m_image.isNull()) return 0;
    const int x = std::clamp(point.x(), 0, m_image.width() - 1);
    const int y = std::clamp(point.y(), 0, m_image.height() - 1);
    const QRgb rgb = m_image.pixel(x, y);
    return qRed(rgb) | qGreen(rgb) << 8 | qBlue(rgb) << 16;
}

void StepPaletteArea::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, m_image);
}

void StepPaletteArea::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        emit contextMenuWanted(event->globalPosition().toPoint() + QPoint(2, 0));
        return;
    }
    if (event->button() != Qt::LeftButton) return;
    // The press grabs the mouse for this widget until release; positions outside the area are
    // clamped to its edge, which stands in for confining the pointer.
    m_picking = true;
    setCursor(Qt::CrossCursor);
    emit colourPicked(ColourAt(event->position().toPoint()));
}

void StepPaletteArea::mouseMoveEvent(QMouseEvent* event) {
    if (m_picking && (event->buttons() & Qt::LeftButton)) {
        emit colourPicked(ColourAt(event->position().toPoint()));
    }
}

void StepPaletteArea::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_picking) return;
    m_picking = false;
    unsetCursor();
}

}  // namespace lumavox
