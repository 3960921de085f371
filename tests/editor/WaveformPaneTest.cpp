#include "editor/WaveformPane.h"

#include <QSignalSpy>
#include <QtTest>

#include "PaneFixture.h"
#include "editor/LineEditorPane.h"
#include "editor/MarkBar.h"
#include "editor/OutputStrip.h"
#include "model/StepOps.h"

using namespace lumavox;
using namespace lumavox::testing;

// Pre-roll 2 s at zoom 0.25: time 0 is x 50; 400 frames of sound end at x 150.
class WaveformPaneTest : public QObject {
    Q_OBJECT

    static QRgb Pixel(TimePane& pane, int x, int y) { return pane.Content().pixel(x, y); }

private slots:
    void columnsOutsideTheSoundAreBlankExceptInTheMonoLPane() {
        PaneFixture f(400, 300, 2000, 2000);
        f.env.BlankBg = 0x0000FF;  // red
        f.env.RwavBg = 0x00FF00;
        f.env.RwavFg = 0xFF0000;
        WaveformPane r(f.panes, 1);
        r.resize(300, 100);
        QCOMPARE(Pixel(r, 10, 50), qRgb(255, 0, 0));   // pre-roll
        QCOMPARE(Pixel(r, 160, 50), qRgb(255, 0, 0));  // post-roll
        QCOMPARE(Pixel(r, 60, 99), qRgb(0, 0, 255));   // sound: foreground from the bottom
        WaveformPane l(f.panes, 0);
        l.resize(300, 2);
        l.SetMono(true);
        f.env.LwavBg = 0x000000;
        QCOMPARE(Pixel(l, 10, 1), qRgb(0, 0, 0));
    }

    void theCursorMovesByRepaintingStripsAndScrubbingFollowsTheSteps() {
        PaneFixture f(6000, 800);
        WaveformPane pane(f.panes, 0);
        pane.resize(800, 100);
        const Step& s = f.Put(0, 4000);
        Press(&pane, {300, 50});
        QCOMPARE(f.engine.CursorTime.load(), 12000);
        QCOMPARE(f.timeLine.CursorX(), 300);
        Move(&pane, {103, 50});
        QCOMPARE(f.engine.CursorTime.load(), 4120);
        QVERIFY(f.engine.SeekRequest.load());
        QCOMPARE(f.state.CurrentStep, &s);
        Move(&pane, {400, 50});
        QCOMPARE(f.state.CurrentStep, nullptr);
        QCOMPARE(f.state.AnchorStep, &s);
    }

    // The program's own locate (a seek handshake while playing) holds the cursor against a drag
    // in the waveform panes; the mark bar's scrub moves it all the same. Both let the step follow.
    void whileTheProgramLocatesOnlyTheMarkBarScrubsTheCursor() {
        PaneFixture f(6000, 800);
        WaveformPane wave(f.panes, 0);
        wave.resize(800, 100);
        MarkBar bar(f.panes);
        bar.resize(800, MarkBar::kHeight);
        const Step& s = f.Put(0, 4000);  // x 100
        f.state.ProgrammaticChange = 1;
        const int32_t before = f.engine.CursorTime.load();
        Move(&wave, {103, 50});
        QCOMPARE(f.engine.CursorTime.load(), before);
        QVERIFY(!f.engine.SeekRequest.load());
        QCOMPARE(f.state.CurrentStep, &s);
        Move(&bar, {300, 10});
        QCOMPARE(f.engine.CursorTime.load(), 12000);
        QVERIFY(f.engine.SeekRequest.load());
        QCOMPARE(f.state.CurrentStep, nullptr);
        f.state.ProgrammaticChange = 0;
    }

    void stepKeysAndTimeKeysOfThePaneGroup() {
        PaneFixture f(60000, 400);
        const Step& a = f.Put(0, 4000);
        const Step& b = f.Put(0, 40000);  // x 1000, beyond the view
        QVERIFY(f.panes.CanNextStep());
        QVERIFY(!f.panes.CanPrevStep());
        f.panes.NextStep();
        QCOMPARE(f.state.CurrentStep, &a);
        f.panes.NextStep();
        QCOMPARE(f.state.CurrentStep, &b);
        QCOMPARE(f.timeLine.L(), 980);
        QCOMPARE(a.Selected, uint8_t{0});
        QCOMPARE(b.Selected, uint8_t{1});
        f.panes.PrevStep();
        QCOMPARE(f.timeLine.L(), 0);  // 100 - 400 + 20, not below 0
        f.panes.BrightnessUp();
        QCOMPARE(a.Brightness, 1);
        QVERIFY(f.project.Modified);
        f.engine.SoundPosition = 250;
        f.panes.PrevTime();
        QCOMPARE(f.engine.CursorTime.load(), 200);
        f.engine.SoundPosition = 200;
        f.panes.PrevTime();
        QCOMPARE(f.engine.CursorTime.load(), 100);
        f.engine.SoundPosition = 250;
        f.panes.NextTime();
        QCOMPARE(f.engine.CursorTime.load(), 300);
        f.engine.SoundPosition = 599991;
        f.panes.NextTime();
        QCOMPARE(f.engine.CursorTime.load(), 300);  // within 10 ms of the end
    }

    void relayoutTellsTheScrollBarAndTheStatusBar() {
        PaneFixture f(6000, 400);
        QSignalSpy scroll(&f.panes, &TimePanes::scrollChanged);
        QSignalSpy status(&f.panes, &TimePanes::statusText);
        QVERIFY(f.panes.ZoomIn());
        QCOMPARE(scroll.count(), 1);
        QCOMPARE(scroll[0][1].toInt(), 3000 - 400);  // 6000 frames at 0.5
        QCOMPARE(scroll[0][2].toInt(), 400);
        QCOMPARE(status[0][0].toInt(), 2);
        QCOMPARE(status[0][1].toString(), QStringLiteral("スケール= 0.500"));
    }

    void theOutputStripShowsTheOutputColour() {
        PaneFixture f(6000, 400);
        f.Put(0, 4000, 0, false, 0x0000FF);
        OutputStrip strip(f.panes);
        strip.resize(400, 30);
        QCOMPARE(Pixel(strip, 99, 10), qRgb(0, 0, 0));
        QCOMPARE(Pixel(strip, 100, 10), qRgb(255, 0, 0));
    }

    // Shift+wheel scales the drawn amplitude by doubling within 1..16; Ctrl+wheel zooms keeping
    // the pointer's time; both need the wheel functions on.
    void theWheelZoomsTheAmplitudeWithShiftAndTheTimeWithCtrl() {
        PaneFixture f(6000, 800);  // x 4 is frame 16, peak 5296: 16 of 100 px, 64 at x4
        WaveformPane pane(f.panes, 0);
        pane.resize(800, 100);
        const QRgb background = Pixel(pane, 4, 5);
        for (int i = 0; i < 2; ++i) Wheel(&pane, {400, 50}, 120, Qt::ShiftModifier);
        QCOMPARE(f.panes.WaveGain(), 4);
        QVERIFY(Pixel(pane, 4, 50) != background);
        f.panes.SetScroll(300);
        Wheel(&pane, {200, 50}, 120, Qt::ControlModifier);  // 20 s under the pointer
        QCOMPARE(f.timeLine.FrameZoom(), 0.5);
        QCOMPARE(f.timeLine.XToTime(f.timeLine.L() + 200), 20000);
        f.env.UseWheel = false;
        Wheel(&pane, {200, 50}, 120, Qt::ShiftModifier);
        QCOMPARE(f.panes.WaveGain(), 4);
    }
};

QTEST_MAIN(WaveformPaneTest)
#include "WaveformPaneTest.moc"
