#pragma once

#include <QPoint>
#include <QTimer>
#include <QWidget>
#include <array>
#include <cstdint>

#include "editor/logic/ColMonArrangement.h"
#include "editor/logic/EditorContext.h"
#include "editor/logic/MonitorScale.h"

class QLabel;
class QMenu;
class QAction;

namespace lumavox {

// One panel of the colour monitor: a borderless child of the monitor filled with the output
// colour of line Tag, its caption in a label at (5, 5). The user moves it by dragging its inside
// and resizes it from a 4-px zone along its edges; scaling with the monitor starts from the
// reference (MonitorScale) taken after every move or size that was not the program's own.
// UI thread only.
class TColMonChild : public QWidget {
    Q_OBJECT
public:
    static constexpr int kEdgeZone = 4;

    TColMonChild(int tag, QWidget* monitor);

    int Tag() const { return m_tag; }
    int32_t Colour() const { return m_colour; }
    bool Highlight() const { return m_highlight; }
    // Each repaints the panel only when the value changes.
    void SetColour(int32_t colour);
    void SetHighlight(bool highlight);
    void ShowLabel(bool show);
    bool LabelShown() const;

    PanelBounds Bounds() const;
    // Moves and sizes the panel as the program, then takes the reference.
    void SetBoundsProgrammatically(const PanelBounds& bounds);
    // Scales the panel from its reference to the monitor's present client size.
    void ScaleToMonitor();
    void TakeReference();
    const MonitorScale& Reference() const { return m_reference; }

signals:
    // A left press inside the panel (not on its resize zone), before the drag starts.
    void LeftPressed(int tag);
    void MenuRequested(const QPoint& globalPos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    enum Edge { kLeft = 1, kTop = 2, kRight = 4, kBottom = 8 };
    int EdgesAt(const QPoint& pos) const;
    void DetectUserMove();

    int m_tag;
    int32_t m_colour = 0;
    bool m_highlight = false;
    int m_inProgrammaticChange = 0;
    MonitorScale m_reference;
    QLabel* m_label;

    // Drag state: a move keeps the press offset inside the panel; a resize keeps the press point
    // and the geometry at the press.
    enum class DragKind { None, Move, Resize } m_drag = DragKind::None;
    QPoint m_pressOffset;
    QPoint m_pressGlobal;
    QRect m_pressGeometry;
    int m_pressEdges = 0;
};

// The colour monitor: a stay-on-top tool window of the main window with eight panels showing the
// lines' output colours, refreshed every 50 ms while shown. Created once by the main window and
// shown or hidden by it; showing restores the arrangement from the settings, hiding stores it.
// UI thread only.
class TColMonForm : public QWidget {
    Q_OBJECT
public:
    static constexpr int kTimerMs = 50;

    TColMonForm(EditorContext& context, QWidget* parent);

    void setVisible(bool visible) override;

    // The close routine: stops the timer and writes the panels, the monitor and ViewMonLabel into
    // the settings (memory only; the main window's final save writes the file). The main window
    // calls it at its own close, whether or not the monitor was ever shown.
    void SaveToSettings();

    TColMonChild* Panel(int index) const { return m_panels[static_cast<size_t>(index)]; }
    bool ShowLabels() const { return m_showLabels; }
    QMenu* ContextMenu() const { return m_menu; }
    bool TimerActive() const { return m_timer.isActive(); }

    void InitialArrangement();
    void SetShowLabels(bool show);
    void ToggleScaled();
    // Writes the arrangement file; a failure is shown in a "警告" box. True on success.
    bool SaveArrangementFile(const QString& path);
    void LoadArrangementFile(const QString& path);
    void ShowMenuAt(const QPoint& globalPos);

public slots:
    // One refresh: highlight and colour of every panel (also called by the transport commands).
    void Tick();

signals:
    // The user pressed panel `line` while MonClickTab is set: the main window makes that line
    // current as its tabs do.
    void CurrentLineRequested(int line);
    // The monitor was shown or hidden (also by its own close button), for the view action's check.
    void VisibleChanged(bool visible);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void BuildMenu();
    void UpdateMenuChecks();
    ColMonArrangement StoredArrangement() const;
    void ApplyArrangement(const ColMonArrangement& arrangement);
    void ApplyPanels(const ColMonArrangement& arrangement);
    ColMonArrangement CurrentArrangement() const;
    QPoint MainTopLeft() const;
    void ChooseAndSaveArrangement();
    void ChooseAndLoadArrangement();

    EditorContext& m_context;
    std::array<TColMonChild*, ColMonArrangement::kPanelCount> m_panels{};
    bool m_showLabels = true;
    bool m_everShown = false;
    bool m_placing = false;  // the monitor is being placed: panels do not scale
    QTimer m_timer;
    QMenu* m_menu = nullptr;
    std::array<QAction*, ColMonArrangement::kPanelCount> m_lineActions{};
    QAction* m_labelAction = nullptr;
    QAction* m_scaledAction = nullptr;
};

}  // namespace lumavox
