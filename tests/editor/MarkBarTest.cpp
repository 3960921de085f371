#include "editor/MarkBar.h"

#include <QSignalSpy>
#include <QtTest>

#include "PaneFixture.h"
#include "model/StepOps.h"

using namespace lumavox;
using namespace lumavox::testing;

// 800 px wide, zoom 0.25 (40 ms a pixel): time t is x t / 40. Markers span y 26..41.
class MarkBarTest : public QObject {
    Q_OBJECT

    struct Rig {
        PaneFixture f{60000};
        MarkBar bar{f.panes};
        Rig() { bar.resize(800, MarkBar::kHeight); }
    };

private slots:
    void ctrlShiftOnTheLastSelectedStepStretches() {
        Rig r;
        const Step& first = r.f.Put(0, 0, 0, true);
        const Step& mid = r.f.Put(0, 5000, 0, true);
        const Step& last = r.f.Put(0, 10000, 0, true);  // x 250
        const auto cs = Qt::ControlModifier | Qt::ShiftModifier;
        Press(&r.bar, {250, 30}, cs);
        QCOMPARE(r.f.state.DragMode, PaneState::Drag::Stretch);
        QCOMPARE(first.Selected + mid.Selected + last.Selected, 3);  // Ctrl+Shift kept it
        Move(&r.bar, {300, 35}, cs);  // the pointer is held at y 39: only x matters
        QCOMPARE(last.Time, 12000);
        QCOMPARE(mid.Time, 6000);
        QCOMPARE(first.Time, 0);
        Release(&r.bar, {300, 35}, cs);
        QCOMPARE(r.f.state.DragMode, PaneState::Drag::None);
        QCOMPARE(r.f.project.UndoList.Count(), 1);
    }

    void stretchFromAMiddleStepOrAShortLineMovesInstead() {
        Rig r;
        r.f.Put(0, 0, 0, true);
        const Step& mid = r.f.Put(0, 5000, 0, true);  // x 125
        const Step& last = r.f.Put(0, 10000, 0, true);
        const auto cs = Qt::ControlModifier | Qt::ShiftModifier;
        Press(&r.bar, {125, 30}, cs);
        QCOMPARE(r.f.state.DragMode, PaneState::Drag::Move);
        Move(&r.bar, {150, 30}, cs);
        QCOMPARE(mid.Time, 6000);
        QCOMPARE(last.Time, 11000);  // every selected step moves by the same amount
        Release(&r.bar, {150, 30}, cs);

        Rig two;
        two.f.Put(0, 0, 0, true);
        two.f.Put(0, 10000, 0, true);
        Press(&two.bar, {250, 30}, cs);
        QCOMPARE(two.f.state.DragMode, PaneState::Drag::Move);
        Release(&two.bar, {250, 30}, cs);
    }

    void aSecondButtonIsIgnoredAndALostReleaseEndsTheDrag() {
        Rig r;
        const Step& s = r.f.Put(0, 10000, 0, true);  // x 250
        Press(&r.bar, {250, 30});
        QCOMPARE(r.f.state.DragMode, PaneState::Drag::Move);
        QSignalSpy menu(&r.f.panes, &TimePanes::stepMenuRequested);
        QMouseEvent right(QEvent::MouseButtonPress, QPointF(250, 30),
                          r.bar.mapToGlobal(QPointF(250, 30)), Qt::RightButton,
                          Qt::LeftButton | Qt::RightButton, {});
        QApplication::sendEvent(&r.bar, &right);
        QCOMPARE(menu.count(), 0);
        QCOMPARE(r.f.state.DragMode, PaneState::Drag::Move);
        // The left release went to a modal box: the next press starts afresh.
        Press(&r.bar, {500, 10});
        QCOMPARE(r.f.state.DragMode, PaneState::Drag::None);
        Release(&r.bar, {500, 10});
        QCOMPARE(s.Time, 10000);
    }

    void ctrlShiftOnAnUnselectedStepDragsNothing() {
        Rig r;
        const Step& selected = r.f.Put(0, 0, 0, true);
        const Step& other = r.f.Put(0, 10000, 0, false);  // x 250
        const auto cs = Qt::ControlModifier | Qt::ShiftModifier;
        Press(&r.bar, {250, 30}, cs);
        QCOMPARE(r.f.state.DragMode, PaneState::Drag::None);
        Move(&r.bar, {300, 30}, cs);
        Move(&r.bar, {320, 30}, cs);
        Release(&r.bar, {320, 30}, cs);
        QCOMPARE(selected.Time, 0);
        QCOMPARE(other.Time, 10000);
    }

    void aPressBesideTheSquareSelectsWithoutDraggingAndOffTheStepsLocates() {
        Rig r;
        const Step& a = r.f.Put(0, 4000);  // x 100
        Press(&r.bar, {100, 10});          // a candidate, outside its square
        QCOMPARE(r.f.state.CurrentStep, &a);
        QCOMPARE(a.Selected, uint8_t{1});
        QCOMPARE(r.f.state.DragMode, PaneState::Drag::None);
        Release(&r.bar, {100, 10});
        Press(&r.bar, {400, 30});
        QCOMPARE(r.f.state.CurrentStep, nullptr);
        QCOMPARE(a.Selected, uint8_t{0});
        QCOMPARE(r.f.engine.CursorTime.load(), 16000);
        Release(&r.bar, {400, 30});
    }

    void aPressPicksTheNearestStepWithinReach() {
        // 200 ms apart is 5 px at zoom 0.25: both steps are candidates for either marker
        Rig r;
        const Step& a = r.f.Put(0, 4000);  // x 100
        const Step& b = r.f.Put(0, 4200);  // x 105
        Press(&r.bar, {105, 34});
        QCOMPARE(r.f.state.CurrentStep, &b);
        QCOMPARE(r.f.state.Dragged, &b);
        Move(&r.bar, {125, 34});
        Release(&r.bar, {125, 34});
        QCOMPARE(b.Time, 5000);
        QCOMPARE(a.Time, 4000);
        Press(&r.bar, {102, 10});  // 2 px from a, 3 px from b
        QCOMPARE(r.f.state.CurrentStep, &a);
        Release(&r.bar, {102, 10});
        // the double click's own press picks the same step for the colour command
        QSignalSpy prop(&r.f.panes, &TimePanes::propStepRequested);
        Press(&r.bar, {124, 34});
        Release(&r.bar, {124, 34});
        DoubleClick(&r.bar, {124, 34});
        QCOMPARE(prop.count(), 1);
        QCOMPARE(r.f.state.CurrentStep, &b);
        Release(&r.bar, {124, 34});
    }

    void theWheelZoomsWithCtrlAndScrollsOtherwise() {
        Rig r;
        r.f.panes.SetScroll(100);
        Wheel(&r.bar, {10, 10}, -120);
        QCOMPARE(r.f.timeLine.L(), 112);  // 50 frames at 0.25
        Wheel(&r.bar, {10, 10}, 120, Qt::ShiftModifier);
        QCOMPARE(r.f.timeLine.L(), 62);
        Wheel(&r.bar, {10, 10}, 120, Qt::ControlModifier);
        QCOMPARE(r.f.timeLine.FrameZoom(), 0.5);
        Wheel(&r.bar, {10, 10}, -120, Qt::ControlModifier);
        QCOMPARE(r.f.timeLine.FrameZoom(), 0.25);
    }
};

QTEST_MAIN(MarkBarTest)
#include "MarkBarTest.moc"
