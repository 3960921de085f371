#include "dialogs/TColMonForm.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "dialogs/DialogTestContext.h"
#include "model/ColourEval.h"

namespace lumavox {

class TColMonFormTest : public QObject {
    Q_OBJECT

private:
    static QRect Geometry(const TColMonChild* panel) { return panel->geometry(); }

private slots:
    void TickHighlightsTheCurrentLineOnlyWhileStopped() {
        testing::DialogTestContext t;
        TColMonForm form(t.context, nullptr);
        t.project.CurrentLine = 2;
        t.lineOutput.Set(5, MakeColour(10, 20, 30));
        form.show();
        QVERIFY(form.TimerActive());
        QCOMPARE(form.Panel(5)->Colour(), MakeColour(10, 20, 30));
        for (int i = 0; i < 8; ++i) QCOMPARE(form.Panel(i)->Highlight(), i == 2);

        t.engine.TransportActive = true;
        form.Tick();
        for (int i = 0; i < 8; ++i) QVERIFY(!form.Panel(i)->Highlight());
        t.engine.TransportActive = false;
        t.project.CurrentLine = 7;
        form.Tick();
        QVERIFY(form.Panel(7)->Highlight());
        QVERIFY(!form.Panel(2)->Highlight());
        form.hide();
        QVERIFY(!form.TimerActive());
    }

    void PressRequestsTheLineAndDragMovesThePanel() {
        testing::DialogTestContext t;
        TColMonForm form(t.context, nullptr);
        form.show();
        QSignalSpy spy(&form, &TColMonForm::CurrentLineRequested);
        TColMonChild* panel = form.Panel(1);
        const QPoint start = Geometry(panel).topLeft();

        QTest::mousePress(panel, Qt::LeftButton, {}, QPoint(50, 50));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), 1);
        QTest::mouseMove(panel, QPoint(70, 60));
        QTest::mouseMove(panel, QPoint(60, 45));  // relative to the panel's new place
        QTest::mouseRelease(panel, Qt::LeftButton, {}, QPoint(60, 45));
        QCOMPARE(Geometry(panel).topLeft(), start + QPoint(30, 5));
        QCOMPARE(panel->Reference().RefLeft(), double(start.x() + 30));

        // the resize zone resizes without choosing the line
        t.env.MonClickTab = true;
        QTest::mousePress(panel, Qt::LeftButton, {}, QPoint(98, 50));
        QTest::mouseMove(panel, QPoint(118, 50));
        QTest::mouseRelease(panel, Qt::LeftButton, {}, QPoint(118, 50));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(Geometry(panel).width(), 120);
        QCOMPARE(panel->Reference().RefWidth(), 120.0);

        t.env.MonClickTab = false;
        QTest::mouseClick(form.Panel(4), Qt::LeftButton, {}, QPoint(50, 50));
        QCOMPARE(spy.count(), 1);
    }

    void ScaledPanelsFollowTheMonitorAndReturnExactly() {
        testing::DialogTestContext t;
        TColMonForm form(t.context, nullptr);
        form.show();
        form.resize(487, 331);
        const QRect before = Geometry(form.Panel(6));

        form.resize(974, 662);  // not scaled yet: nothing moves
        QCOMPARE(Geometry(form.Panel(6)), before);
        form.resize(487, 331);

        form.ToggleScaled();
        QVERIFY(t.env.MonScaled);
        form.resize(974, 662);
        QCOMPARE(Geometry(form.Panel(6)),
                 QRect(before.x() * 2, before.y() * 2, before.width() * 2, before.height() * 2));
        form.resize(301, 203);
        form.resize(487, 331);
        QCOMPARE(Geometry(form.Panel(6)), before);

        // a panel the user moved keeps its new place through the next scaling
        TColMonChild* moved = form.Panel(0);
        QTest::mousePress(moved, Qt::LeftButton, {}, QPoint(50, 50));
        QTest::mouseMove(moved, QPoint(60, 50));
        QTest::mouseRelease(moved, Qt::LeftButton, {}, QPoint(60, 50));
        const QRect placed = Geometry(moved);
        form.resize(974, 662);
        form.resize(487, 331);
        QCOMPARE(Geometry(moved), placed);
    }

    void MenuLabelsAndVisibilityRoundTripThroughTheSettings() {
        testing::DialogTestContext t;
        auto form = std::make_unique<TColMonForm>(t.context, nullptr);
        form->show();
        QVERIFY(form->ShowLabels());
        form->ShowMenuAt(QPoint(100, 100));
        QMenu* menu = form->ContextMenu();
        QTRY_VERIFY(menu->isVisible());
        QCOMPARE(menu->pos(), QPoint(102, 100));
        QStringList texts;
        for (QAction* a : menu->actions()) texts << (a->isSeparator() ? QString("-") : a->text());
        QCOMPARE(texts, QStringList({"Line &1", "Line &2", "Line &3", "Line &4", "Line &5",
                                     "Line &6", "Line &7", "Line &8", "-", "ラベル表示(&L)", "-",
                                     "初期配置(&I)", "-", "配置をファイルに保存(&S)",
                                     "ファイルから配置を読み込む(&O)", "-", "サイズ連動(&R)"}));
        QVERIFY(menu->actions()[3]->isChecked());
        menu->actions()[3]->trigger();  // hides panel 4
        menu->actions()[9]->trigger();  // labels off
        menu->hide();
        QVERIFY(form->Panel(3)->isHidden());
        QVERIFY(!form->Panel(0)->LabelShown());
        form->Panel(2)->SetBoundsProgrammatically({33, 44, 55, 66});
        form->hide();

        const UsrIniFile& ini = t.env.Ini();
        QCOMPARE(ini.ReadInt("ColMon4", "Visible", 1), 0);
        QCOMPARE(ini.ReadInt("ColMon3", "WinLeft", 0), 33);
        QCOMPARE(ini.ReadInt("ColMonForm", "ViewMonLabel", 1), 0);
        QCOMPARE(ini.ReadInt("ColMonForm", "WinWidth", 0), 480);  // the frame, kept exactly

        t.env.MonScaled = true;  // placing the monitor does not scale the stored panels
        form = std::make_unique<TColMonForm>(t.context, nullptr);
        form->show();
        QVERIFY(form->Panel(3)->isHidden());
        QCOMPARE(Geometry(form->Panel(2)), QRect(33, 44, 55, 66));
        QVERIFY(!form->ShowLabels());
        form->InitialArrangement();
        QCOMPARE(Geometry(form->Panel(2)), QRect(230, 10, 100, 100));
    }

    void NeverShownMonitorWritesTheStoredArrangementBack() {
        testing::DialogTestContext t;
        t.env.Ini().WriteInt("ColMon2", "WinLeft", 77);
        t.env.Ini().WriteBool("ColMonForm", "ViewMonLabel", false);
        TColMonForm form(t.context, nullptr);
        form.SaveToSettings();
        QCOMPARE(t.env.Ini().ReadInt("ColMon2", "WinLeft", 0), 77);
        QCOMPARE(t.env.Ini().ReadInt("ColMon3", "WinLeft", 0), 230);
        QCOMPARE(t.env.Ini().ReadInt("ColMonForm", "WinWidth", 0), 480);
        QVERIFY(!t.env.Ini().ReadBool("ColMonForm", "ViewMonLabel", true));
    }

    void ArrangementFileRestoresPanelsButNotLabelsOrScaling() {
        testing::DialogTestContext t;
        TColMonForm form(t.context, nullptr);
        form.show();
        const QString path = QString::fromStdString(t.dir.File("stage.ARG"));
        form.Panel(7)->SetBoundsProgrammatically({1, 2, 30, 40});
        form.Panel(5)->hide();
        QVERIFY(form.SaveArrangementFile(path));

        form.InitialArrangement();
        form.Panel(5)->show();
        form.SetShowLabels(false);
        form.ToggleScaled();
        form.LoadArrangementFile(path);
        QCOMPARE(Geometry(form.Panel(7)), QRect(1, 2, 30, 40));
        QCOMPARE(form.Panel(7)->Reference().RefHeight(), 40.0);
        QVERIFY(form.Panel(5)->isHidden());
        QVERIFY(!form.ShowLabels());
        QVERIFY(t.env.MonScaled);
        QVERIFY(form.TimerActive());
    }

    void FailedArrangementWriteIsReported() {
        testing::DialogTestContext t;
        TColMonForm form(t.context, nullptr);
        form.show();
        testing::WriteBytes(t.dir.File("file"), "x");
        QString boxText;
        QTimer::singleShot(0, [&boxText] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) return;
            boxText = box->windowTitle() + "|" + box->text();
            box->close();
        });
        QVERIFY(!form.SaveArrangementFile(QString::fromStdString(t.dir.File("file") + "/x.ARG")));
        QVERIFY2(boxText.startsWith("警告|"), qPrintable(boxText));
        QVERIFY(boxText.contains(QString::fromStdString(t.dir.File("file"))));
    }
};

}  // namespace lumavox

QTEST_MAIN(lumavox::TColMonFormTest)
#include "TColMonFormTest.moc"
