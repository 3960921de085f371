#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <QToolButton>

#include <fstream>

#include "dialogs/DigitSpinEdit.h"
#include "dialogs/QtPaletteImage.h"
#include "dialogs/StepPaletteArea.h"
#include "dialogs/TStpPropDlg.h"
#include "dialogs/TStpTimeDlg.h"
#include "editor/EditorContextRig.h"
#include "model/ColourEval.h"

using namespace lumavox;

namespace {

QRgb Rgb(int r, int g, int b) {
    return qRgb(r, g, b);
}

void Type(DigitSpinEdit* field, const char* text) {
    field->Edit()->clear();
    QTest::keyClicks(field->Edit(), QString::fromLatin1(text));
}

}  // namespace

class StepDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void timeFieldsShowTheSplitTime();
    void okKeepsANegativeTimeNegativeAndCutsToHundredths();
    void thePreRollSignIsShownAndCanBeChanged();
    void typedValuesAreNotLimitedButArrowsClamp();
    void aTimeBeyondTheRangeIsRefusedAndCloseKeepsTheTime();
    void timeDialogPlacementDefaultsAndIsStored();

    void colourDialogShowsTheColourAndCancelKeepsIt();
    void typingKeepsTheLowByteAndRefusesSigns();
    void standardPaletteColumns();
    void userPaletteKeepsItsAspectAndPicksAreClamped();
    void contextMenuOffersTheImageOnlyOnTheUserTab();
    void aPngPaletteImageIsReadThroughQtOverBlack();
};

void StepDialogsTest::timeFieldsShowTheSplitTime() {
    testing::EditorContextRig rig;
    TStpTimeDlg dialog(rig.context, nullptr);
    dialog.SetTime(3723450);
    dialog.show();
    QCOMPARE(dialog.HoursField()->Edit()->text(), QStringLiteral("1"));
    QCOMPARE(dialog.MinutesField()->Edit()->text(), QStringLiteral("2"));
    QCOMPARE(dialog.SecondsField()->Edit()->text(), QStringLiteral("3"));
    QCOMPARE(dialog.HundredthsField()->Edit()->text(), QStringLiteral("45"));
    dialog.reject();
    dialog.SetTime(100 * 3600000);  // hours beyond a day show as they are
    dialog.show();
    QCOMPARE(dialog.HoursField()->Edit()->text(), QStringLiteral("100"));
    dialog.OkButton()->click();
    QCOMPARE(dialog.Time(), std::optional<int32_t>(360000000));
}

void StepDialogsTest::okKeepsANegativeTimeNegativeAndCutsToHundredths() {
    testing::EditorContextRig rig;
    TStpTimeDlg dialog(rig.context, nullptr);
    dialog.SetTime(-1500);
    dialog.show();
    QCOMPARE(dialog.SecondsField()->Edit()->text(), QStringLiteral("1"));
    QCOMPARE(dialog.HundredthsField()->Edit()->text(), QStringLiteral("50"));
    dialog.OkButton()->click();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.Time(), std::optional<int32_t>(-1500));
    dialog.SetTime(1234);
    dialog.show();
    dialog.OkButton()->click();
    QCOMPARE(dialog.Time(), std::optional<int32_t>(1230));
}

void StepDialogsTest::thePreRollSignIsShownAndCanBeChanged() {
    testing::EditorContextRig rig;
    TStpTimeDlg dialog(rig.context, nullptr);
    dialog.SetTime(-1500);
    dialog.show();
    QComboBox* sign = dialog.SignBox();
    QVERIFY(sign->isVisible());
    QCOMPARE(sign->currentText(), QStringLiteral("-"));
    QTest::keyClick(sign, Qt::Key_Up);  // to "+"
    QCOMPARE(sign->currentText(), QStringLiteral("+"));
    Type(dialog.SecondsField(), "2");
    dialog.OkButton()->click();
    QCOMPARE(dialog.Time(), std::optional<int32_t>(2500));

    dialog.SetTime(700);
    dialog.show();
    QCOMPARE(sign->currentText(), QStringLiteral("+"));
    QTest::keyClick(sign, Qt::Key_Down);
    dialog.OkButton()->click();
    QCOMPARE(dialog.Time(), std::optional<int32_t>(-700));
}

void StepDialogsTest::typedValuesAreNotLimitedButArrowsClamp() {
    testing::EditorContextRig rig;
    TStpTimeDlg dialog(rig.context, nullptr);
    dialog.SetTime(0);
    dialog.show();
    Type(dialog.MinutesField(), "75");
    QCOMPARE(dialog.MinutesField()->Edit()->text(), QStringLiteral("75"));
    Type(dialog.SecondsField(), "-3x");  // digits only
    QCOMPARE(dialog.SecondsField()->Edit()->text(), QStringLiteral("3"));
    Type(dialog.SecondsField(), "");
    dialog.OkButton()->click();
    QCOMPARE(dialog.Time(), std::optional<int32_t>(4500000));

    dialog.show();
    Type(dialog.MinutesField(), "75");
    dialog.MinutesField()->UpButton()->click();
    QCOMPARE(dialog.MinutesField()->Edit()->text(), QStringLiteral("59"));
    dialog.HundredthsField()->DownButton()->click();  // 0 stays 0: no wrap
    QCOMPARE(dialog.HundredthsField()->Edit()->text(), QStringLiteral("0"));
    Type(dialog.HundredthsField(), "99");
    QTest::keyClick(dialog.HundredthsField()->Edit(), Qt::Key_Up);
    QCOMPARE(dialog.HundredthsField()->Edit()->text(), QStringLiteral("99"));
    QTest::keyClick(dialog.HundredthsField()->Edit(), Qt::Key_Down);
    QCOMPARE(dialog.HundredthsField()->Edit()->text(), QStringLiteral("98"));
    dialog.reject();
}

void StepDialogsTest::aTimeBeyondTheRangeIsRefusedAndCloseKeepsTheTime() {
    testing::EditorContextRig rig;
    TStpTimeDlg dialog(rig.context, nullptr);
    dialog.SetTime(5000);
    dialog.show();
    Type(dialog.HoursField(), "999999");
    dialog.OkButton()->click();
    QCOMPARE(dialog.Time(), std::nullopt);

    dialog.SetTime(5000);
    dialog.show();
    Type(dialog.HoursField(), "3");
    dialog.close();
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(dialog.Time(), std::optional<int32_t>(5000));
}

void StepDialogsTest::timeDialogPlacementDefaultsAndIsStored() {
    testing::EditorContextRig rig;
    TStpTimeDlg dialog(rig.context, nullptr);
    dialog.show();
    QCOMPARE(dialog.frameGeometry().topLeft(), QPoint(150, 150));
    dialog.move(210, 220);
    dialog.reject();
    QCOMPARE(rig.env.Ini().ReadInt("StepTime", "WinLeft", 0), 210);
    QCOMPARE(rig.env.Ini().ReadInt("StepTime", "WinTop", 0), 220);
    QVERIFY(rig.env.Ini().ReadInt("StepTime", "WinWidth", 0) > 0);
    dialog.show();
    QCOMPARE(dialog.frameGeometry().topLeft(), QPoint(210, 220));
    dialog.reject();
}

void StepDialogsTest::colourDialogShowsTheColourAndCancelKeepsIt() {
    testing::EditorContextRig rig;
    TStpPropDlg dialog(rig.context, nullptr);
    dialog.SetColour(255);
    QCOMPARE(dialog.PreviewForOutput(), NoColour);
    dialog.show();
    QCOMPARE(dialog.frameGeometry().topLeft(), QPoint(100, 100));
    QCOMPARE(dialog.RedEdit()->text(), QStringLiteral("255"));
    QCOMPARE(dialog.GreenEdit()->text(), QStringLiteral("0"));
    QCOMPARE(dialog.PreviewForOutput(), 255);
    QTest::mouseClick(dialog.PaletteArea(), Qt::LeftButton, {}, QPoint(160, 0));
    QVERIFY(dialog.PreviewColour() != 255);
    QCOMPARE(dialog.PreviewForOutput(), dialog.PreviewColour());
    dialog.reject();
    QCOMPARE(dialog.Colour(), 255);
    QCOMPARE(dialog.PreviewForOutput(), NoColour);

    dialog.show();
    QTest::mouseClick(dialog.PaletteArea(), Qt::LeftButton, {}, QPoint(64, 0));
    QCOMPARE(dialog.PreviewColour(), 0x00FFFF);
    QCOMPARE(dialog.GreenEdit()->text(), QStringLiteral("255"));
    dialog.accept();
    QCOMPARE(dialog.Colour(), 0x00FFFF);
    QCOMPARE(rig.env.Ini().ReadInt("StepProperty", "WinLeft", 0), 100);
}

void StepDialogsTest::typingKeepsTheLowByteAndRefusesSigns() {
    testing::EditorContextRig rig;
    TStpPropDlg dialog(rig.context, nullptr);
    dialog.show();
    dialog.RedEdit()->clear();
    QTest::keyClicks(dialog.RedEdit(), QStringLiteral("256"));
    QCOMPARE(dialog.PreviewColour() & 0xFF, 0);
    dialog.GreenEdit()->clear();
    QTest::keyClicks(dialog.GreenEdit(), QStringLiteral("300"));
    QCOMPARE(dialog.PreviewColour(), 44 << 8);
    dialog.BlueEdit()->clear();
    QTest::keyClicks(dialog.BlueEdit(), QStringLiteral("-1"));
    QCOMPARE(dialog.BlueEdit()->text(), QStringLiteral("1"));
    QCOMPARE(dialog.PreviewColour(), 44 << 8 | 1 << 16);
    dialog.reject();
}

void StepDialogsTest::standardPaletteColumns() {
    testing::EditorContextRig rig;
    TStpPropDlg dialog(rig.context, nullptr);
    const QImage& image = dialog.PaletteArea()->Image();
    QCOMPARE(image.size(), QSize(320, 320));
    QCOMPARE(image.pixel(0, 0), Rgb(255, 0, 0));
    QCOMPARE(image.pixel(64, 0), Rgb(255, 255, 0));
    QCOMPARE(image.pixel(65, 0), Rgb(252, 255, 0));
    dialog.SetDisplaySize(400);
    QCOMPARE(dialog.PaletteArea()->size(), QSize(400, 400));
    QCOMPARE(rig.env.DispSize, 400);
}

void StepDialogsTest::userPaletteKeepsItsAspectAndPicksAreClamped() {
    testing::EditorContextRig rig;
    rig.env.PaletteImage.Width = 200;
    rig.env.PaletteImage.Height = 100;
    rig.env.PaletteImage.Pixels.assign(200 * 100 * 3, 0);
    for (size_t p = 0; p < rig.env.PaletteImage.Pixels.size(); p += 3) {
        rig.env.PaletteImage.Pixels[p] = 10;
        rig.env.PaletteImage.Pixels[p + 1] = 200;
        rig.env.PaletteImage.Pixels[p + 2] = 30;
    }
    TStpPropDlg dialog(rig.context, nullptr);
    dialog.show();
    dialog.Tabs()->setCurrentIndex(1);
    const QImage& image = dialog.PaletteArea()->Image();
    QCOMPARE(image.pixel(319, 159), Rgb(10, 200, 30));
    QCOMPARE(image.pixel(0, 160), Rgb(0, 0, 0));
    StepPaletteArea* area = dialog.PaletteArea();
    QTest::mousePress(area, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(dialog.PreviewColour(), 10 | 200 << 8 | 30 << 16);
    QMouseEvent move(QEvent::MouseMove, QPointF(-40, 900), area->mapToGlobal(QPointF(-40, 900)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(area, &move);
    QCOMPARE(dialog.PreviewColour(), 0);  // the clamped point (0, 319) lies in the black part
    QTest::mouseRelease(area, Qt::LeftButton, {}, QPoint(5, 5));
    dialog.Tabs()->setCurrentIndex(0);  // the dialog keeps its tab between showings
    dialog.reject();
    dialog.show();
    QCOMPARE(dialog.Tabs()->currentIndex(), 0);
    dialog.reject();
}

void StepDialogsTest::contextMenuOffersTheImageOnlyOnTheUserTab() {
    testing::EditorContextRig rig;
    TStpPropDlg dialog(rig.context, nullptr);
    std::unique_ptr<QMenu> standard(dialog.BuildContextMenu());
    QStringList texts;
    for (QAction* action : standard->actions()) texts << action->text();
    QCOMPARE(texts,
             QStringList({QString(), QStringLiteral("表示サイズ : 240"),
                          QStringLiteral("表示サイズ : 320"), QStringLiteral("表示サイズ : 400")}));
    dialog.Tabs()->setCurrentIndex(1);
    std::unique_ptr<QMenu> user(dialog.BuildContextMenu());
    QCOMPARE(user->actions().size(), 5);
    QCOMPARE(user->actions().first()->text(), QStringLiteral("パレット画像の選択(&P)"));
    user->actions().at(2)->trigger();
    QCOMPARE(dialog.PaletteArea()->size(), QSize(240, 240));
}

void StepDialogsTest::aPngPaletteImageIsReadThroughQtOverBlack() {
    testing::EditorContextRig rig;
    QImage png(3, 2, QImage::Format_ARGB32);
    png.fill(qRgba(10, 200, 30, 255));
    png.setPixel(1, 0, qRgba(200, 100, 50, 0));     // transparent: black
    png.setPixel(2, 1, qRgba(255, 255, 255, 128));  // half over black
    QVERIFY(png.save(QString::fromStdString(rig.dir.File("pal.PNG")), "PNG"));

    // The settings store leaves a PNG empty; the editor completes it, by a bare name in the
    // program folder as the store keeps it.
    QVERIFY(!rig.env.ChoosePaletteImage(rig.dir.File("pal.PNG")));
    QCOMPARE(rig.env.ImgFile, std::string("pal.PNG"));
    QVERIFY(CompletePaletteImage(rig.env));
    const RgbImage& image = rig.env.PaletteImage;
    QCOMPARE(image.Width, 3);
    QCOMPARE(image.Height, 2);
    QCOMPARE(image.Pixels.size(), size_t{18});
    QCOMPARE(image.ColourAt(0, 0), 0x1EC80A);  // 0x00BBGGRR
    QCOMPARE(image.ColourAt(1, 0), 0);
    QCOMPARE(image.ColourAt(2, 1), 0x808080);

    TStpPropDlg dialog(rig.context, nullptr);
    dialog.show();
    dialog.Tabs()->setCurrentIndex(1);
    QCOMPARE(dialog.PaletteArea()->Image().pixel(0, 0), Rgb(10, 200, 30));

    // A corrupt PNG leaves the image empty.
    std::ofstream(rig.dir.File("bad.png"), std::ios::binary) << "\x89PNG\r\n\x1a\nnot really";
    rig.env.ChoosePaletteImage(rig.dir.File("bad.png"));
    QVERIFY(!CompletePaletteImage(rig.env));
    QVERIFY(rig.env.PaletteImage.Empty());
}

QTEST_MAIN(StepDialogsTest)
#include "StepDialogsTest.moc"
