#include "dialogs/TSelExForm.h"

#include <QApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>

#include "dialogs/DialogTestContext.h"
#include "model/ColourEval.h"
#include "model/StepOps.h"

namespace lumavox {

class TSelExFormTest : public QObject {
    Q_OBJECT

private:
    static void Add(ProjectData& project, int line, int32_t colour, int32_t brightness,
                    uint8_t selected = 0) {
        Step s;
        s.LineIndex = line;
        s.Time = project.Lines[static_cast<size_t>(line)].Count() * 100;
        s.Colour = colour;
        s.Brightness = brightness;
        s.Selected = selected;
        project.Lines[static_cast<size_t>(line)].Add(s);
    }

    // Draws a band on the chart around the square of a step of this colour and brightness.
    static void BandAround(TSelExForm& form, int32_t colour, int32_t brightness) {
        SelExChart* chart = form.Chart();
        const HueChartMark m =
            HueChartPoint(colour, brightness, chart->Mode(), chart->width(), chart->height());
        QTest::mousePress(chart, Qt::LeftButton, {}, QPoint(m.X - 3, m.Y - 3));
        QTest::mouseMove(chart, QPoint(m.X + 2, m.Y + 2));
        QVERIFY(chart->Dragging());
        QTest::mouseRelease(chart, Qt::LeftButton, {}, QPoint(m.X + 2, m.Y + 2));
    }

    static QPushButton* Button(TSelExForm& form, const QString& text) {
        for (auto* b : form.findChildren<QPushButton*>()) {
            if (b->text() == text) return b;
        }
        return nullptr;
    }

    static QRadioButton* Radio(TSelExForm& form, const QString& text) {
        for (auto* b : form.findChildren<QRadioButton*>()) {
            if (b->text() == text) return b;
        }
        return nullptr;
    }

    static const int32_t kRed = MakeColour(255, 0, 0);
    static const int32_t kBlue = MakeColour(0, 0, 255);
    static const int32_t kGreen = MakeColour(0, 255, 0);

private slots:
    void BandsNarrowResetRestoresAndConfirmSelectsTheRest() {
        testing::DialogTestContext t;
        Add(t.project, 0, kRed, 0);
        Add(t.project, 3, kBlue, 0);
        Add(t.project, 3, kGreen, 0);
        Add(t.project, 6, kGreen, 120);
        TSelExForm form(t.context, nullptr);
        QSignalSpy confirmed(&form, &TSelExForm::SelectionConfirmed);
        form.show();
        QCOMPARE(form.frameGeometry().size(), QSize(400, 400));
        QCOMPARE(form.StatusText(), QString("4 points"));

        BandAround(form, kBlue, 0);  // 選択: only blue stays
        QCOMPARE(form.StatusText(), QString("1/4 points"));
        // a click without moving in 選択 keeps nothing
        QTest::mouseClick(form.Chart(), Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(form.StatusText(), QString("0/4 points"));

        Button(form, "抽出解除")->click();
        QCOMPARE(form.StatusText(), QString("4 points"));
        Radio(form, "除外")->click();
        QTest::mouseClick(form.Chart(), Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(form.StatusText(), QString("4/4 points"));
        form.Tabs()->setCurrentIndex(1);  // hue/brightness: the two greens part
        BandAround(form, kGreen, 0);
        QCOMPARE(form.StatusText(), QString("3/4 points"));

        Button(form, "確定")->click();
        QVERIFY(form.isHidden());
        QCOMPARE(form.result(), int(QDialog::Accepted));
        QCOMPARE(confirmed.count(), 1);
        QCOMPARE(confirmed.at(0).at(0).toInt(), 3);
        QCOMPARE(SelectedCount(t.project), 3);
        QCOMPARE(int(t.project.Lines[3].At(1).Selected), 0);
        QCOMPARE(int(t.project.Lines[6].At(0).Selected), 1);
        QCOMPARE(t.env.Ini().ReadInt("SelExForm", "WinWidth", 0), 400);
    }

    void OpensAtItsDefaultSizeInTheProgramsFont() {
        const QFont before = QApplication::font();
        QFont font;  // the editor's interface font
        font.setFamilies({QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")});
        font.setPixelSize(15);
        QApplication::setFont(font);
        testing::DialogTestContext t;
        TSelExForm form(t.context, nullptr);
        form.show();
        const QSize size = form.frameGeometry().size();
        form.reject();
        QApplication::setFont(before);
        QCOMPARE(size, QSize(400, 400));
    }

    void SelectedStepsAreTheCandidatesAndCancelChangesNothing() {
        testing::DialogTestContext t;
        Add(t.project, 1, kRed, 0, 1);
        Add(t.project, 2, kBlue, 0);
        Add(t.project, 2, kGreen, 0, 1);
        TSelExForm form(t.context, nullptr);
        QSignalSpy confirmed(&form, &TSelExForm::SelectionConfirmed);
        form.show();
        QCOMPARE(form.StatusText(), QString("2 points"));
        BandAround(form, kRed, 0);
        QCOMPARE(form.StatusText(), QString("1/2 points"));
        Button(form, "キャンセル")->click();
        QVERIFY(form.isHidden());
        QCOMPARE(confirmed.count(), 0);
        QCOMPARE(int(t.project.Lines[2].At(1).Selected), 1);
        QCOMPARE(SelectedCount(t.project), 2);

        // the next showing builds the set afresh, at the stored place
        form.move(form.pos() + QPoint(7, 0));
        form.show();
        QCOMPARE(form.StatusText(), QString("2 points"));
        form.reject();
        const int left = t.env.Ini().ReadInt("SelExForm", "WinLeft", 0);
        form.show();
        QCOMPARE(form.frameGeometry().left(), left);
        form.reject();
    }
};

}  // namespace lumavox

QTEST_MAIN(lumavox::TSelExFormTest)
#include "TSelExFormTest.moc"
