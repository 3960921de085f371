#pragma once

#include <QMenu>
#include <QWidget>

#include "editor/logic/LineTabGeometry.h"

namespace lumavox {

class TimePanes;

// The eight line tabs "Line 1".."Line 8" on the left of the line editor pane, text rotated. They
// stand in one column while all eight fit with their text, otherwise in two columns of four, each
// h / 4 - 2 long (LineTabs); every tab stays visible and clickable. A click on another tab emits
// currentChanged; Left/Right keys do nothing.
class LineTabStrip : public QWidget {
    Q_OBJECT
public:
    explicit LineTabStrip(QWidget* parent = nullptr);

    int Current() const { return m_current; }
    // Selects a tab without emitting (the line pop-up, a reference-pane pick).
    void SetCurrent(int line);
    // The tab under a point, or -1.
    int TabAt(const QPoint& pos) const;
    QRect TabRect(int line) const;
    QSize sizeHint() const override { return {40, 336}; }

signals:
    void currentChanged(int line);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    LineTabLayout Layout() const;
    int m_current = 0;
};

// The line pop-up of the tool-bar labels and the output colour panel: "Line 1".."Line 8", the
// current line checked when it opens; a choice makes that line current without touching the
// selection.
class LinePopup : public QMenu {
    Q_OBJECT
public:
    LinePopup(TimePanes& panes, QWidget* parent = nullptr);
};

}  // namespace lumavox
