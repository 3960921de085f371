#pragma once

#include <QMenu>
#include <QPoint>
#include <QRect>

#include "editor/RubberBand.h"
#include "editor/TimePane.h"

namespace lumavox {

// The reference line pane: one line (RefLine 0..7) drawn like the line editor without selection
// marks, or all eight lines in rows (RefLine kAllLines) where a press picks a step of any line or
// starts a band over all of them. Its pop-up menu chooses the line or hides the pane.
class ReferencePane : public TimePane {
    Q_OBJECT
public:
    static constexpr int kAllLines = -2;
    static constexpr int kHidden = -1;
    static constexpr int kMinHeight = 30;

    explicit ReferencePane(TimePanes& panes, QWidget* parent = nullptr);

    int RefLine() const { return m_refLine; }
    bool Shown() const { return m_shown; }
    // From the saved view: the line (0..7 or kAllLines) and whether the pane is shown.
    void SetView(int refLine, bool shown);
    // One-line mode: the next line (header click); deselects every step.
    void AdvanceLine();
    // The pop-up: "Line 1".."Line 8", "全ラインカラー表示(&A)", "非表示(&N)", a separator, then the
    // main window appends the multi-line actions.
    QMenu* Menu() const { return m_menu; }
    bool BandActive() const { return m_band.Active(); }

signals:
    // The view changed (menu or header): the main window re-runs the reference layout and stores
    // the view.
    void viewChanged(int refLine, bool shown);

protected:
    void Render(PaneCanvas& c) override;
    void PaintOverlays(QPainter& p) override;
    void mousePressEvent(QMouseEvent* event) override;
    void DropGesture() override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void RenderOneLine(PaneCanvas& c, int line);
    void Choose(int value);

    int m_refLine = 0;
    bool m_shown = false;
    QMenu* m_menu;
    RubberBand m_band;
};

// The header column beside the reference pane: "Line n" in one-line mode (a left click advances
// the line), the eight row labels in all-lines mode; a right click opens the pane's pop-up.
class ReferenceHeader : public QWidget {
    Q_OBJECT
public:
    ReferenceHeader(ReferencePane& pane, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    ReferencePane& m_pane;
};

}  // namespace lumavox
