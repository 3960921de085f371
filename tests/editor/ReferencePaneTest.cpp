#include "editor/ReferencePane.h"

#include <QSignalSpy>
#include <QtTest>

#include "PaneFixture.h"
#include "editor/LineTabStrip.h"
#include "model/StepOps.h"

using namespace lumavox;
using namespace lumavox::testing;

// 800 x 164 px: rows of 20 px, centre of row i at 20 i + 10; zoom 0.25 (40 ms a pixel).
class ReferencePaneTest : public QObject {
    Q_OBJECT

    struct Rig {
        PaneFixture f;
        ReferencePane pane{f.panes};
        Rig() {
            pane.resize(800, 164);
            pane.SetView(ReferencePane::kAllLines, true);
        }
    };

private slots:
    void aBandOverTheThirdAndFifthRowsSelectsThemAndMakesTheThirdLineCurrent() {
        Rig r;
        const Step& third = r.f.Put(2, 4000);    // (100, 50)
        const Step& fifth = r.f.Put(4, 6000);    // (150, 90)
        const Step& outside = r.f.Put(4, 8000);  // x 200: right edge, excluded
        Press(&r.pane, {90, 45});                // row 2, not on a marker: a band
        QVERIFY(r.pane.BandActive());
        Move(&r.pane, {200, 100});
        Release(&r.pane, {200, 100});
        QCOMPARE(third.Selected, uint8_t{1});
        QCOMPARE(fifth.Selected, uint8_t{1});
        QCOMPARE(outside.Selected, uint8_t{0});
        QCOMPARE(r.f.project.CurrentLine.load(), 2);
    }

    void aPressOnAnotherRowPicksItsStepKeepingTheSelectionElsewhere() {
        Rig r;
        const Step& kept = r.f.Put(0, 1000, 0, true);
        const Step& pick = r.f.Put(5, 4000);  // (100, 110)
        QSignalSpy line(&r.f.panes, &TimePanes::currentLineChanged);
        Press(&r.pane, {103, 112});
        QCOMPARE(r.f.project.CurrentLine.load(), 5);
        QCOMPARE(r.f.state.CurrentStep, &pick);
        QCOMPARE(pick.Selected, uint8_t{1});
        QCOMPARE(kept.Selected, uint8_t{0});  // an unselected step pressed: the rest deselected
        QCOMPARE(line.count(), 1);
        Release(&r.pane, {103, 112});
    }

    // Scrolled to L = 400: a marker centred at 400 is drawn (its right frame at column 7), one
    // centred at 399 is not, though its square would reach into the view. Black traces, red frames.
    void afterAScrollMarkersAreDrawnFromTheLeftEdgeOnInBothModes() {
        Rig r;
        r.f.Put(3, 15960, -255, false, 0x0000FF);  // x 399
        r.f.Put(5, 16000, -255, false, 0x0000FF);  // x 400
        r.f.panes.SetScroll(400);
        QCOMPARE(r.f.timeLine.L(), 400);
        const QRgb red = qRgb(255, 0, 0);
        QCOMPARE(r.pane.Content().pixel(7, 110), red);
        QVERIFY(r.pane.Content().pixel(6, 70) != red);
        r.pane.SetView(5, true);  // the marker square reaches from y 156 to the bottom
        QCOMPARE(r.pane.Content().pixel(7, 160), red);
        r.pane.SetView(3, true);
        QVERIFY(r.pane.Content().pixel(6, 160) != red);
    }

    void theHeaderAdvancesOnlyInOneLineMode() {
        Rig r;
        ReferenceHeader header(r.pane);
        header.resize(50, 164);
        Press(&header, {10, 10});
        QCOMPARE(r.pane.RefLine(), ReferencePane::kAllLines);
        r.pane.SetView(7, true);
        Press(&header, {10, 10});
        QCOMPARE(r.pane.RefLine(), 0);
    }

    void tabsAndTheLinePopupChooseTheLine() {
        PaneFixture f;
        const Step& s = f.Put(0, 100, 0, true);
        f.state.CurrentStep = &s;
        LineTabStrip tabs;
        tabs.resize(40, 300);  // below 336: two columns of 4, each 300 / 4 - 2 long
        QCOMPARE(tabs.TabRect(5), QRect(20, 75, 20, 73));
        QObject::connect(&tabs, &LineTabStrip::currentChanged,
                         [&f](int line) { f.panes.SetCurrentLine(line, true); });
        QObject::connect(&f.panes, &TimePanes::currentLineChanged, &tabs,
                         &LineTabStrip::SetCurrent);
        QTest::mouseClick(&tabs, Qt::LeftButton, {}, tabs.TabRect(3).center());
        QCOMPARE(f.project.CurrentLine.load(), 3);
        QCOMPARE(f.state.CurrentStep, nullptr);
        QCOMPARE(s.Selected, uint8_t{0});  // tabs deselect everything
        SetStepSelected(f.project, 0, &s, true);
        LinePopup popup(f.panes);
        emit popup.aboutToShow();
        QVERIFY(popup.actions()[3]->isChecked());
        popup.actions()[6]->trigger();
        QCOMPARE(f.project.CurrentLine.load(), 6);
        QCOMPARE(tabs.Current(), 6);
        QCOMPARE(s.Selected, uint8_t{1});  // the pop-up keeps the selection
    }
};

QTEST_MAIN(ReferencePaneTest)
#include "ReferencePaneTest.moc"
