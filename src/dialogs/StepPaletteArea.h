#pragma once

#include <QImage>
#include <QWidget>
#include <cstdint>

namespace lumavox {

struct RgbImage;

// The palette area of the step colour dialog: the standard hue palette or the user's picture,
// rendered into an image of the area's size, from which picks are sampled, so a pick is exactly
// the colour drawn (whatever the screen's scale). A left press picks and keeps picking while the
// button is held, clamped to the area; a right press asks for the context menu. UI thread only.
class StepPaletteArea : public QWidget {
    Q_OBJECT
public:
    enum class Kind { Standard, User };

    explicit StepPaletteArea(QWidget* parent);

    // Renders the palette of the given kind at side × side; picture is used for Kind::User.
    void Render(Kind kind, int side, const RgbImage& picture);
    const QImage& Image() const { return m_image; }
    // The colour drawn at a point of the area (clamped into it), 0x00BBGGRR.
    int32_t ColourAt(QPoint point) const;

signals:
    void colourPicked(int32_t colour);
    void contextMenuWanted(QPoint globalPos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage m_image;
    bool m_picking = false;
};

}  // namespace lumavox
