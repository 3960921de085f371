#pragma once

#include "editor/TimePane.h"
#include "editor/logic/BeatMarks.h"

namespace lumavox {

// The beat lane (14 px), under the mark bar: the onsets found in the sound as short ticks from the
// bottom and the beats as full-height ticks, in two colours, on the time line the other panes
// share. Shows nothing until the marks of the open sound are known. A press locates, as on the
// mark bar off the steps.
class BeatLane : public TimePane {
    Q_OBJECT
public:
    static constexpr int kHeight = 14;
    static constexpr QRgb kBackground = qRgb(32, 32, 40);
    static constexpr QRgb kOnsetColour = qRgb(90, 200, 255);
    static constexpr QRgb kBeatColour = qRgb(255, 170, 40);
    static constexpr int kOnsetHeight = 7;

    BeatLane(TimePanes& panes, const BeatMarks& marks, QWidget* parent = nullptr);
    QSize sizeHint() const override { return {100, kHeight}; }

protected:
    void Render(PaneCanvas& c) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    const BeatMarks& m_marks;
};

}  // namespace lumavox
