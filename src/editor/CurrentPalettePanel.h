#pragma once

#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QWidget>
#include <cstdint>

#include "editor/logic/EditorContext.h"

class QAction;
class QSlider;
class QToolButton;

namespace lumavox {

struct PaneState;
struct Step;

// A flat panel showing one colour, or nothing (the window colour) for none; reports left presses
// (with the pointer's screen position) and double clicks.
class ColourPanel : public QFrame {
    Q_OBJECT
public:
    ColourPanel(int side, QWidget* parent);
    // A colour 0x00BBGGRR, or a negative value / NoColour for none.
    void ShowColour(int32_t colour);
    int32_t ShownColour() const { return m_colour; }

signals:
    void pressed(QPoint globalPos);
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    int32_t m_colour = -1;
};

// A label that reports left presses with the pointer's screen position (the line label, which
// opens the line pop-up menu).
class LineLabel : public QLabel {
    Q_OBJECT
public:
    explicit LineLabel(QWidget* parent);

signals:
    void pressed(QPoint globalPos);

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

// The 48 × 48 hue palette of the colour palette bar. Emits the colour under the pointer (clamped
// into the area) on press, drag and double click. UI thread only.
class PaletteBox : public QWidget {
    Q_OBJECT
public:
    explicit PaletteBox(QWidget* parent);
    int32_t ColourAt(QPoint point) const;

signals:
    void pressed(int32_t colour);
    void dragged(int32_t colour);
    void released();
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QImage m_image;
    bool m_held = false;
};

// The contents of the colour palette tool bar: the current step's base and output colour with its
// RGB values, the current line's name, the hue palette, the brightness slider (value = brightness,
// +255 at the top) and the zero button showing CurBrt0Action. The main window puts it into its
// "カラーパレット" tool bar, adds ZeroAction() to itself, Attach()es the pane state and calls
// Refresh() on every display tick and after a command, so the slider follows the current step.
// The palette edits only the current step. UI thread only.
class CurrentPalettePanel : public QWidget {
    Q_OBJECT
public:
    CurrentPalettePanel(EditorContext& context, QWidget* parent);

    // The pane state (current step, SuppressDrag) and the ProgrammaticChange counter the panel
    // works with; until attached it behaves as if no step were current.
    void Attach(PaneState& pane, const int& programmaticChange);

    // Shows the line, the current step's colours, values and brightness (on the slider), enables
    // the slider and zero action.
    void Refresh();
    // Shows a brightness on the slider and in the status text, as when a step becomes current;
    // nothing is written to the step.
    void ShowBrightness(int brightness);

    QAction* ZeroAction() const { return m_zeroAction; }
    QSlider* BrightnessSlider() const { return m_slider; }
    PaletteBox* Palette() const { return m_palette; }
    ColourPanel* BasePanel() const { return m_basePanel; }
    ColourPanel* OutputPanel() const { return m_outputPanel; }
    QLabel* LineName() const { return m_lineLabel; }
    QLabel* ComponentLabel(int k) const { return m_components[k]; }

signals:
    // A left press on the line label: open the line pop-up menu there.
    void lineMenuRequested(QPoint globalPos);
    // Run PropStepAction (double click on the palette or the base colour panel).
    void propertiesRequested();
    // Status panel 2 text ("明暗=…").
    void brightnessMessage(const QString& text);
    // The time panes must be repainted (the step's look changed).
    void panesChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SliderChanged(int value);
    void ShowSliderValue(int brightness);
    void ZeroBrightness();
    void PalettePressed(int32_t colour);
    void PaletteDragged(int32_t colour);
    void PaletteReleased();
    void PaletteDoubleClicked();
    const Step* Current() const;

    EditorContext& m_context;
    PaneState* m_pane = nullptr;
    const int* m_programmaticChange = nullptr;
    bool m_paletteDrag = false;
    ColourPanel* m_basePanel;
    ColourPanel* m_outputPanel;
    LineLabel* m_lineLabel;
    QLabel* m_components[3];
    PaletteBox* m_palette;
    QSlider* m_slider;
    QToolButton* m_zeroButton;
    QAction* m_zeroAction;
};

// The current line's live output on the player tool bar: the line label, R, G, B and a 50 × 50
// panel with LineOutput of the current line. Refresh() on every display tick. UI thread only.
class LineOutputPanel : public QWidget {
    Q_OBJECT
public:
    LineOutputPanel(EditorContext& context, QWidget* parent);
    void Refresh();
    ColourPanel* OutputPanel() const { return m_panel; }
    QLabel* ComponentLabel(int k) const { return m_components[k]; }
    QLabel* LineName() const { return m_lineLabel; }

signals:
    void lineMenuRequested(QPoint globalPos);

private:
    EditorContext& m_context;
    LineLabel* m_lineLabel;
    QLabel* m_components[3];
    ColourPanel* m_panel;
};

}  // namespace lumavox
