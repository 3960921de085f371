#pragma once

#include <QDialog>
#include <QImage>
#include <QPoint>
#include <QWidget>

#include "editor/logic/EditorContext.h"
#include "editor/logic/HueChartPoint.h"
#include "editor/logic/SelExCandidates.h"

class QLabel;
class QPushButton;
class QRadioButton;
class QStatusBar;
class QTabBar;

namespace lumavox {

// The chart of the extended selection window: every candidate as a square on a black field, and
// the band being drawn as an inverted outline over a cached rendering of the squares. It narrows
// the candidate set when a band is released and reports it through Narrowed. UI thread only.
class SelExChart : public QWidget {
    Q_OBJECT
public:
    SelExChart(SelExCandidates& candidates, QWidget* parent);

    void SetMode(HueChartMode mode);
    HueChartMode Mode() const { return m_mode; }
    void SetBandMode(SelExMode mode) { m_bandMode = mode; }
    // The set changed (rebuilt or narrowed): render the squares again.
    void Invalidate();
    bool Dragging() const { return m_dragging; }
    const SelExBand& Band() const { return m_band; }
    void CancelDrag();

signals:
    void Narrowed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void Render();
    void UpdateBandOutline(const SelExBand& band);

    SelExCandidates& m_candidates;
    HueChartMode m_mode = HueChartMode::HueSaturation;
    SelExMode m_bandMode = SelExMode::Select;
    QImage m_cache;
    bool m_cacheValid = false;
    bool m_dragging = false;
    QPoint m_anchor;
    SelExBand m_band;
};

// The extended selection window ("拡張選択"): narrows the steps by their colour on two charts and,
// on 確定, makes the remaining ones the project's selection. Created once by the main window and
// run modally with exec(); Accepted means the selection was applied and SelectionConfirmed was
// emitted (the main window then repaints and shows the selection count). UI thread only.
class TSelExForm : public QDialog {
    Q_OBJECT
public:
    TSelExForm(EditorContext& context, QWidget* parent);

    void setVisible(bool visible) override;
    void accept() override;

    // "抽出解除": builds the set again from the project.
    void Rebuild();

    const SelExCandidates& Candidates() const { return m_candidates; }
    SelExChart* Chart() const { return m_chart; }
    QTabBar* Tabs() const { return m_tabs; }
    QString StatusText() const;

signals:
    // The selection was replaced by the remaining candidates (count of them).
    void SelectionConfirmed(int count);

private:
    void UpdateStatus();
    QPoint MainTopLeft() const;

    EditorContext& m_context;
    SelExCandidates m_candidates;
    QTabBar* m_tabs = nullptr;
    SelExChart* m_chart = nullptr;
    QRadioButton* m_select = nullptr;
    QRadioButton* m_exclude = nullptr;
    QPushButton* m_reset = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    QStatusBar* m_statusBar = nullptr;
    QLabel* m_count = nullptr;
};

}  // namespace lumavox
