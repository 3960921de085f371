#include "editor/LineEditorPane.h"

#include <QSignalSpy>
#include <QSlider>
#include <QtTest>

#include "PaneFixture.h"
#include "editor/CurrentPalettePanel.h"
#include "editor/logic/PaneGeometry.h"
#include "model/StepOps.h"

using namespace lumavox;
using namespace lumavox::testing;

// 800 x 200 px, M = 100; zoom 0.25: 40 ms a pixel, so time 4000 is x 100.
class LineEditorPaneTest : public QObject {
    Q_OBJECT

    struct Rig {
        PaneFixture f;
        LineEditorPane pane{f.panes};
        Rig() { pane.resize(800, 200); }
    };

private slots:
    // Two steps in one column at one brightness: the later marker is on top, and a red frame of
    // either one shows (the hidden marker is skipped only when nothing of it would show).
    void ofTwoMarkersAtOnePlaceTheLaterIsOnTopAndEitherRedFrameShows() {
        for (const int selectedOne : {-1, 0, 1}) {
            Rig r;
            r.f.Put(0, 4000, 0, selectedOne == 0, 0x0000FF);  // x 100
            r.f.Put(0, 4010, 0, selectedOne == 1, 0x00FF00);  // x 100
            const QImage& image = r.pane.Content();
            QCOMPARE(image.pixel(100, 100), qRgb(0, 255, 0));
            QCOMPARE(image.pixel(91, 100) == qRgb(255, 0, 0), selectedOne >= 0);
        }
    }

    void pressExactlyEightPixelsBesideAMarkerMisses() {
        Rig r;
        const Step& a = r.f.Put(0, 4000);
        Press(&r.pane, {108, 100});
        Release(&r.pane, {108, 100});
        QCOMPARE(r.f.state.CurrentStep, nullptr);
        QCOMPARE(a.Selected, uint8_t{0});
        Press(&r.pane, {92, 100});
        Release(&r.pane, {92, 100});
        QCOMPARE(r.f.state.CurrentStep, nullptr);
        Press(&r.pane, {93, 100});
        Release(&r.pane, {93, 100});
        QCOMPARE(r.f.state.CurrentStep, &a);
        QCOMPARE(a.Selected, uint8_t{1});
        QCOMPARE(r.f.project.UndoList.Count(), 1);  // one state per press on a step
    }

    void theSecondCandidateIsHitBelowTheFirst() {
        Rig r;
        r.f.Put(0, 4000, 200);                     // x 100, y 21
        const Step& low = r.f.Put(0, 4200, -200);  // x 105, y 178, hit square from 171
        Press(&r.pane, {104, 179});
        QCOMPARE(r.f.state.CurrentStep, &low);
        QCOMPARE(r.f.state.DragMode, PaneState::Drag::Brightness);
        QVERIFY(r.f.panes.StepEditLocked());  // no step-changing command during the drag
        Release(&r.pane, {104, 179});
        QVERIFY(!r.f.panes.StepEditLocked());
    }

    void anUndoDuringADragEndsTheDragInsteadOfUsingFreedSteps() {
        Rig r;
        r.f.Put(0, 4000);
        Press(&r.pane, {100, 100}, Qt::ShiftModifier);
        QVERIFY(r.f.panes.StepEditLocked());
        Undo(r.f.project);  // replaces every step object (a command that ignored the lock)
        Move(&r.pane, {140, 100}, Qt::ShiftModifier);
        Release(&r.pane, {140, 100}, Qt::ShiftModifier);
        QCOMPARE(r.f.state.DragMode, PaneState::Drag::None);
        QCOMPARE(r.f.project.Lines[0].At(0).Time, 4000);
        QCOMPARE(r.f.state.DragLineX, TimeLine::kNoDragLine);
    }

    void brightnessDragClampsEachSelectedStepAtTheTopAndBottom() {
        Rig r;
        const Step& a = r.f.Put(0, 4000, 0, true);
        const Step& b = r.f.Put(0, 8000, 250, true);
        const Step& c = r.f.Put(3, 4000, -100, true);
        const Step& idle = r.f.Put(0, 6000, 7);
        Press(&r.pane, {100, 100});  // a selected already: the selection is kept
        Move(&r.pane, {100, -50});   // above the top: 255
        QCOMPARE(a.Brightness, 255);
        QCOMPARE(b.Brightness, 255);
        QCOMPARE(c.Brightness, 155);
        QCOMPARE(idle.Brightness, 7);
        Move(&r.pane, {100, 900});  // below the bottom: -255
        QCOMPARE(a.Brightness, -255);
        QCOMPARE(b.Brightness, -255);
        QCOMPARE(c.Brightness, -255);
        Release(&r.pane, {100, 150});
        QCOMPARE(a.Brightness, -127);  // the release sets the dragged step from its y
        QVERIFY(r.f.project.Modified);
    }

    void shiftSwitchesBetweenMoveAndBrightnessMidDrag() {
        Rig r;
        const Step& a = r.f.Put(0, 4000);
        Press(&r.pane, {100, 100});
        QCOMPARE(r.f.state.DragMode, PaneState::Drag::Brightness);
        Move(&r.pane, {120, 100}, Qt::ShiftModifier);  // same y: a brightness drag ignores it
        QCOMPARE(r.f.state.DragMode, PaneState::Drag::Brightness);
        Move(&r.pane, {120, 99}, Qt::ShiftModifier);
        QCOMPARE(r.f.state.DragMode, PaneState::Drag::Move);
        QCOMPARE(a.Time, 4000);  // the switch itself moves nothing
        Move(&r.pane, {130, 100}, Qt::ShiftModifier);
        QCOMPARE(a.Time, 5200);
        QCOMPARE(r.f.state.DragLineX, 130);
        Move(&r.pane, {130, 80});  // same x: a move drag ignores it
        QCOMPARE(r.f.state.DragMode, PaneState::Drag::Move);
        Move(&r.pane, {131, 80});
        QCOMPARE(r.f.state.DragMode, PaneState::Drag::Brightness);
        QCOMPARE(a.Brightness, 0);
        Move(&r.pane, {131, 60});
        QCOMPARE(a.Brightness, 102);
        QCOMPARE(a.Time, 5200);
        Release(&r.pane, {131, 60});
        QCOMPARE(r.f.state.DragLineX, TimeLine::kNoDragLine);
    }

    void altReleasedBeforeTheButtonPlacesTheStepUnderThePointer() {
        Rig r;
        const Step& a = r.f.Put(0, 4000);
        const Step& b = r.f.Put(0, 4800);  // x 120
        Press(&r.pane, {100, 100}, Qt::ShiftModifier);
        Move(&r.pane, {140, 100}, Qt::ShiftModifier | Qt::AltModifier);
        QCOMPARE(a.Time, 4799);  // held back before b
        Release(&r.pane, {140, 100}, Qt::ShiftModifier);
        QCOMPARE(a.Time, 5600);
        QCOMPARE(IndexOfStep(r.f.project, 0, &a), 1);  // re-sorted past b
        QCOMPARE(r.f.state.CurrentStep, &a);           // still the step the user picked
        QCOMPARE(b.Time, 4800);
    }

    void aBandCoveringAMarkerOnlyPartlyDoesNotSelectIt() {
        Rig r;
        const Step& a = r.f.Put(0, 4000);  // hit square 92..107 x 92..107
        Press(&r.pane, {90, 90});
        Move(&r.pane, {107, 110});
        QVERIFY(r.pane.BandActive());
        Release(&r.pane, {107, 110});
        QCOMPARE(a.Selected, uint8_t{0});
        Press(&r.pane, {90, 90});
        Move(&r.pane, {108, 110});
        Release(&r.pane, {108, 110});
        QCOMPARE(a.Selected, uint8_t{1});
        QCOMPARE(r.f.state.CurrentStep, &a);  // the one selected step becomes current
    }

    void theWheelWithNothingSelectedOnlyMarksModified() {
        Rig r;
        const Step& a = r.f.Put(0, 4000, 10);
        Wheel(&r.pane, {300, 100}, -120);
        QCOMPARE(a.Brightness, 10);
        QVERIFY(r.f.project.Modified);
        // selected and current: changed once
        r.f.state.CurrentStep = &a;
        SetStepSelected(r.f.project, 0, &a, true);
        Wheel(&r.pane, {300, 100}, 120, Qt::ShiftModifier);
        QCOMPARE(a.Brightness, 26);
        QCOMPARE(r.f.project.UndoList.Count(), 0);
    }

    void aClickWithoutMovementChangesNeitherTheStepNorModified() {
        // 436 px: M = 218, brightness 6 has its marker at y 212, and y 212 reads back as 7.
        PaneFixture f;
        LineEditorPane pane{f.panes};
        pane.resize(800, 436);
        CurrentPalettePanel palette(f.ctx, nullptr);  // the slider follows as in the window
        palette.Attach(f.state, f.state.ProgrammaticChange);
        connect(&f.panes, &TimePanes::sliderBrightness, &palette,
                [&palette](int b, bool) { palette.ShowBrightness(b); });
        const Step& a = f.Put(0, 4000, 6);
        QCOMPARE(line_pane::BrightnessAtY(line_pane::MarkerY(6, 218), 218), 7);
        for (const QPoint at : {QPoint(100, 212), QPoint(104, 216)}) {
            Press(&pane, at);
            QCOMPARE(f.state.DragMode, PaneState::Drag::Brightness);
            Move(&pane, at + QPoint(3, 0));  // sideways only
            Release(&pane, at + QPoint(3, 0));
            QCOMPARE(a.Brightness, 6);
            QVERIFY(!f.project.Modified);
        }
        QCOMPARE(palette.BrightnessSlider()->value(), 6);
        // a vertical drag writes, also when it returns to where it began
        Press(&pane, {100, 212});
        Move(&pane, {100, 150});
        Move(&pane, {100, 212});
        Release(&pane, {100, 212});
        QCOMPARE(a.Brightness, 7);
        QVERIFY(f.project.Modified);
    }

    void aDoubleClickPicksTheStepThePressPicks() {
        Rig r;
        r.f.Put(0, 4000, 200);                     // x 100, y 21
        const Step& low = r.f.Put(0, 4200, -200);  // x 105, y 178: the first is a candidate too
        QSignalSpy prop(&r.f.panes, &TimePanes::propStepRequested);
        Press(&r.pane, {105, 178});
        Release(&r.pane, {105, 178});
        DoubleClick(&r.pane, {105, 178});
        QCOMPARE(r.f.state.CurrentStep, &low);
        QCOMPARE(prop.count(), 1);
        Release(&r.pane, {105, 178});
    }

    void aDoubleClickLeavesNoFlagForALaterPress() {
        // on empty space: the second press starts a band, the next press on a step still drags
        Rig r;
        const Step& a = r.f.Put(0, 4000);
        Press(&r.pane, {400, 100});
        Release(&r.pane, {400, 100});
        DoubleClick(&r.pane, {400, 100});
        Release(&r.pane, {400, 100});
        Press(&r.pane, {100, 100});
        QCOMPARE(r.f.state.DragMode, PaneState::Drag::Brightness);
        Move(&r.pane, {100, 60});
        Release(&r.pane, {100, 60});
        QCOMPARE(a.Brightness, 102);
        // on a step: the next press on empty space still starts a band
        Press(&r.pane, {100, 60});
        Release(&r.pane, {100, 60});
        DoubleClick(&r.pane, {100, 60});
        Release(&r.pane, {100, 60});
        Press(&r.pane, {400, 100});
        QVERIFY(r.pane.BandActive());
        Release(&r.pane, {400, 100});
    }

    void doubleClickOpensTheStepAndStartsNoDrag() {
        Rig r;
        r.f.Put(0, 4000);
        QSignalSpy prop(&r.f.panes, &TimePanes::propStepRequested);
        Press(&r.pane, {100, 100});
        Release(&r.pane, {100, 100});
        DoubleClick(&r.pane, {100, 100});
        QCOMPARE(prop.count(), 1);
        QCOMPARE(r.f.state.DragMode, PaneState::Drag::None);
        QVERIFY(!r.f.state.SuppressDrag);
        Release(&r.pane, {100, 100});
        // on empty space: nothing opens and the press starts its band
        Rig empty;
        QSignalSpy none(&empty.f.panes, &TimePanes::propStepRequested);
        Press(&empty.pane, {400, 100});
        Release(&empty.pane, {400, 100});
        DoubleClick(&empty.pane, {400, 100});
        QCOMPARE(none.count(), 0);
        QVERIFY(empty.pane.BandActive());
        Release(&empty.pane, {400, 100});
    }
};

QTEST_MAIN(LineEditorPaneTest)
#include "LineEditorPaneTest.moc"
