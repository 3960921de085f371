#pragma once

#include "editor/TimePane.h"

namespace lumavox {

// A waveform pane: the L pane (tag 0) shows the left peaks, the R pane (tag 1) the right ones, or
// in mono display the mean of both (the L pane then is a 2-px strip showing nothing). Left press
// locates the cursor, a left drag scrubs it, right press opens the step menu.
class WaveformPane : public TimePane {
    Q_OBJECT
public:
    WaveformPane(TimePanes& panes, int tag, QWidget* parent = nullptr);
    void SetMono(bool mono);
    bool Mono() const { return m_mono; }
    int Tag() const { return m_tag; }

protected:
    void Render(PaneCanvas& c) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    // Ctrl: zoom around the pointer; Shift: the amplitude zoom, one doubling per notch.
    void wheelEvent(QWheelEvent* event) override;

private:
    int m_tag;
    bool m_mono = false;
};

}  // namespace lumavox
