#include "editor/CurrentPalettePanel.h"

#include <QAction>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>

#include "editor/EditorContextRig.h"
#include "editor/logic/PaneState.h"
#include "model/StepOps.h"

using namespace lumavox;

namespace {

// Line 2 current with one step at 1000 ms: colour (0, 128, 255), brightness 120.
struct PanelRig {
    PanelRig() {
        rig.project.CurrentLine = 2;
        AddStep(rig.project, 0xFF8000, 120, 1000, 0, false);
        rig.project.UndoList.Clear();
        rig.project.Modified = false;
        panel.Attach(pane, programmatic);
    }
    void MakeCurrent() {
        pane.SetCurrentIndex(rig.project, 0, false);
        panel.Refresh();
    }
    const Step& StepOne() const { return rig.project.Lines[2].At(0); }

    testing::EditorContextRig rig;
    PaneState pane;
    int programmatic = 0;
    CurrentPalettePanel panel{rig.context, nullptr};
};

}  // namespace

class CurrentPalettePanelTest : public QObject {
    Q_OBJECT
private slots:
    void withoutACurrentStepEverythingIsBlank();
    void showsTheCurrentStep();
    void sliderSetsBrightnessWithoutUndo();
    void zeroKeyOnTheSliderSavesOneUndoState();
    void paletteClickSavesOneUndoStateForTheWholeDrag();
    void paletteDoubleClickAsksForTheColourDialog();
    void playerPanelShowsTheLineOutput();
};

void CurrentPalettePanelTest::withoutACurrentStepEverythingIsBlank() {
    PanelRig r;
    QVERIFY(!r.panel.BrightnessSlider()->isEnabled());
    QVERIFY(!r.panel.ZeroAction()->isEnabled());
    QCOMPARE(r.panel.LineName()->text(), QStringLiteral("Line3"));
    QCOMPARE(r.panel.ComponentLabel(0)->text(), QStringLiteral("---"));
    QCOMPARE(r.panel.BasePanel()->ShownColour(), -1);
    QTest::mouseClick(r.panel.Palette(), Qt::LeftButton, {}, QPoint(1, 1));
    QCOMPARE(r.StepOne().Colour, 0xFF8000);
    QVERIFY(!r.rig.project.Modified);
}

void CurrentPalettePanelTest::showsTheCurrentStep() {
    PanelRig r;
    r.MakeCurrent();
    QVERIFY(r.panel.BrightnessSlider()->isEnabled());
    QCOMPARE(r.panel.ComponentLabel(0)->text(), QStringLiteral("R  0"));
    QCOMPARE(r.panel.ComponentLabel(1)->text(), QStringLiteral("G128"));
    QCOMPARE(r.panel.ComponentLabel(2)->text(), QStringLiteral("B255"));
    QCOMPARE(r.panel.BasePanel()->ShownColour(), 0xFF8000);
    QCOMPARE(r.panel.OutputPanel()->ShownColour(), ApplyBrightness(0xFF8000, 120));
    QSignalSpy properties(&r.panel, &CurrentPalettePanel::propertiesRequested);
    QTest::mouseDClick(r.panel.BasePanel(), Qt::LeftButton);
    QCOMPARE(properties.count(), 1);
}

void CurrentPalettePanelTest::sliderSetsBrightnessWithoutUndo() {
    PanelRig r;
    r.MakeCurrent();
    QSignalSpy repaint(&r.panel, &CurrentPalettePanel::panesChanged);
    QSignalSpy message(&r.panel, &CurrentPalettePanel::brightnessMessage);
    // The program showing a brightness writes none: no change, no repaint, not modified.
    r.panel.ShowBrightness(-30);
    QCOMPARE(r.panel.BrightnessSlider()->value(), -30);
    QCOMPARE(message.last().at(0).toString(), QStringLiteral("明暗= -30"));
    QCOMPARE(r.StepOne().Brightness, 120);
    QVERIFY(!r.rig.project.Modified);
    QCOMPARE(repaint.count(), 0);
    r.panel.Refresh();  // the step's own brightness again
    QCOMPARE(r.panel.BrightnessSlider()->value(), 120);
    QVERIFY(!r.rig.project.Modified);
    r.panel.BrightnessSlider()->triggerAction(QAbstractSlider::SliderToMaximum);
    QCOMPARE(r.StepOne().Brightness, 255);  // top = +255
    QVERIFY(r.rig.project.Modified);
    QCOMPARE(repaint.count(), 1);
    QCOMPARE(message.last().at(0).toString(), QStringLiteral("明暗= 255"));
    r.panel.BrightnessSlider()->triggerAction(QAbstractSlider::SliderToMinimum);
    QCOMPARE(r.StepOne().Brightness, -255);
    QCOMPARE(r.rig.project.UndoList.Count(), 0);
}

void CurrentPalettePanelTest::zeroKeyOnTheSliderSavesOneUndoState() {
    PanelRig r;
    r.MakeCurrent();
    QSignalSpy message(&r.panel, &CurrentPalettePanel::brightnessMessage);
    QTest::keyClick(r.panel.BrightnessSlider(), Qt::Key_0);
    QCOMPARE(r.StepOne().Brightness, 0);
    QCOMPARE(r.panel.BrightnessSlider()->value(), 0);
    QCOMPARE(r.rig.project.UndoList.Count(), 1);
    QCOMPARE(message.last().at(0).toString(), QStringLiteral("明暗=   0"));
    QVERIFY(r.rig.project.Modified);
}

void CurrentPalettePanelTest::paletteClickSavesOneUndoStateForTheWholeDrag() {
    PanelRig r;
    r.MakeCurrent();
    QSignalSpy repaint(&r.panel, &CurrentPalettePanel::panesChanged);
    PaletteBox* palette = r.panel.Palette();
    QTest::mousePress(palette, Qt::LeftButton, {}, QPoint(0, 1));
    QCOMPARE(r.StepOne().Colour, palette->ColourAt(QPoint(0, 1)));
    QCOMPARE(palette->ColourAt(QPoint(0, 0)), 0x0000FF);  // top-left: pure red
    QCOMPARE(palette->cursor().shape(), Qt::CrossCursor);
    QMouseEvent move(QEvent::MouseMove, QPointF(200, 0), palette->mapToGlobal(QPointF(200, 0)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(palette, &move);
    QCOMPARE(r.StepOne().Colour, palette->ColourAt(QPoint(47, 0)));  // clamped to the edge
    QCOMPARE(repaint.count(), 0);                                    // none during the drag
    QTest::mouseRelease(palette, Qt::LeftButton, {}, QPoint(47, 0));
    QCOMPARE(repaint.count(), 1);
    QCOMPARE(r.rig.project.UndoList.Count(), 1);
    Undo(r.rig.project);
    QCOMPARE(r.rig.project.Lines[2].At(0).Colour, 0xFF8000);
}

void CurrentPalettePanelTest::paletteDoubleClickAsksForTheColourDialog() {
    PanelRig r;
    r.MakeCurrent();
    bool suppressedDuringDialog = false;
    connect(&r.panel, &CurrentPalettePanel::propertiesRequested, &r.panel,
            [&] { suppressedDuringDialog = r.pane.SuppressDrag; });
    QTest::mouseDClick(r.panel.Palette(), Qt::LeftButton, {}, QPoint(10, 10));
    QVERIFY(suppressedDuringDialog);
    // The press that follows the double click is swallowed by SuppressDrag and clears it.
    QVERIFY(!r.pane.SuppressDrag);
    QCOMPARE(r.StepOne().Colour, 0xFF8000);
}

void CurrentPalettePanelTest::playerPanelShowsTheLineOutput() {
    testing::EditorContextRig rig;
    rig.project.CurrentLine = 4;
    rig.lineOutput.Set(4, 0x102030);
    LineOutputPanel panel(rig.context, nullptr);
    QCOMPARE(panel.LineName()->text(), QStringLiteral("Line5"));
    QCOMPARE(panel.OutputPanel()->ShownColour(), 0x102030);
    QCOMPARE(panel.ComponentLabel(0)->text(), QStringLiteral("R 48"));
    QCOMPARE(panel.ComponentLabel(2)->text(), QStringLiteral("B 16"));
}

QTEST_MAIN(CurrentPalettePanelTest)
#include "CurrentPalettePanelTest.moc"
