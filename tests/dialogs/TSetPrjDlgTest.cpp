#include "dialogs/TSetPrjDlg.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

#include "dialogs/PatchGrid.h"
#include "dmx/Patch.h"
#include "engine/EngineState.h"
#include "engine/ShowSession.h"
#include "fakes/RecordingSoundReporter.h"
#include "fakes/TempDir.h"
#include "model/ProjectData.h"
#include "model/ProjectFile.h"
#include "settings/EnvData.h"
#include "sound/SoundScan.h"
#include "sound/WavFixture.h"
#include "sound/WavSound.h"

using namespace lumavox;

namespace {

class QuietSessionUi final : public ISessionUi {
public:
    void BeginBusy() override {}
    void EndBusy() override {}
    void ShowWarning(std::string_view) override { ++warnings; }
    int warnings = 0;
};

// Presses `button` on the next message box that opens (polling for at most two seconds).
void AnswerNextBox(QMessageBox::StandardButton button) {
    auto* timer = new QTimer;
    auto* tries = new int(0);
    QObject::connect(timer, &QTimer::timeout, [timer, tries, button] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box || ++*tries > 200) {
            if (box) box->button(button)->click();
            timer->deleteLater();
            delete tries;
            timer->stop();
        }
    });
    timer->start(10);
}

}  // namespace

class TSetPrjDlgTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        temp = std::make_unique<lumavox::testing::TempDir>();
        env = std::make_unique<EnvData>(temp->File("lumavox.ini"), temp->Folder());
        project = std::make_unique<ProjectData>();
        engine = std::make_unique<EngineState>();
        patch = std::make_unique<PatchTable>();
        sound = std::make_unique<WavSound>(reporter);
        dialog = std::make_unique<TSetPrjDlg>(*project, *engine, *patch, *env, *sound);
        dialog->Prepare(QStringLiteral("プロジェクトの設定(&S)..."), false);
        dialog->Pages()->setCurrentIndex(1);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    }
    void cleanup() {
        dialog.reset();
        sound.reset();
        patch.reset();
        engine.reset();
        project.reset();
        env.reset();
        temp.reset();
    }

    void showsTheGridAndTheTitleWithoutAccessKeys() {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("プロジェクトの設定(S)..."));
        QCOMPARE(dialog->size(), QSize(472, 328));
        PatchGrid* grid = dialog->Grid();
        QCOMPARE(grid->model()->rowCount(), 171);
        QCOMPARE(grid->model()->headerData(170, Qt::Vertical).toString(), QStringLiteral("511"));
        QCOMPARE(grid->findChild<QLabel*>(QStringLiteral("DmxOutCorner"))->text(),
                 QStringLiteral("DMX out"));
        patch->Set(0, 23);
        QCOMPARE(Cell(0).toString(), QStringLiteral("Line 8(B)"));
        QCOMPARE(grid->model()->index(0, 0).data(Qt::ForegroundRole).value<QColor>(),
                 QColor(0, 0, 255));
        QCOMPARE(Cell(1).toString(), QStringLiteral("__"));
        QVERIFY(!grid->model()->index(170, 2).data().isValid());  // the inert cell
        QVERIFY(!(grid->model()->flags(grid->model()->index(170, 2)) & Qt::ItemIsEditable));
    }

    void typedTextsPatchTheirChannelsAndRefusalsChangeNothing() {
        Type(23, "8b");  // channel 24: blue is not a red channel, one entry only
        QCOMPARE(patch->Get(23), 23);
        QCOMPARE(patch->Get(24), -1);
        QVERIFY(project->Modified);

        Type(510, "1");  // channel 511: the triple stops at 512
        QCOMPARE(patch->Get(510), 0);
        QCOMPARE(patch->Get(511), 1);

        Type(30, "3r");
        QCOMPARE(patch->Get(30), 6);
        QCOMPARE(patch->Get(32), 8);
        const auto before = patch->Snapshot();
        project->Modified = false;
        Type(30, "9R");
        QCOMPARE(patch->Snapshot(), before);
        QVERIFY(project->Modified);  // refused input still counts as an edit

        Type(30, "0");
        QCOMPARE(patch->Get(30), -1);
        QCOMPARE(Cell(30).toString(), QStringLiteral("__"));
    }

    void deleteAndBackspaceUnpatchACellNotBeingEdited() {
        patch->SetThrough();
        PatchGrid* grid = dialog->Grid();
        grid->setFocus();
        grid->setCurrentIndex(grid->model()->index(0, 2));
        QTest::keyClick(grid, Qt::Key_Delete);
        QCOMPARE(patch->Get(2), -1);
        QCOMPARE(grid->currentIndex(), grid->model()->index(1, 0));  // next row's first cell
        QTest::keyClick(grid, Qt::Key_Backspace);
        QCOMPARE(patch->Get(3), -1);
        QCOMPARE(grid->currentIndex(), grid->model()->index(1, 0));
        QCOMPARE(patch->Get(4), 4);

        grid->setCurrentIndex(grid->model()->index(170, 1));  // channel 512
        QTest::keyClick(grid, Qt::Key_Delete);
        QCOMPARE(patch->Get(511), -1);
        QCOMPARE(grid->currentIndex(), grid->model()->index(170, 1));
        QCOMPARE(QApplication::focusWidget(), grid);  // no editor opened
    }

    void enterStartsOrCommitsAnEditAndNeverClosesTheDialog() {
        for (const bool newProject : {false, true}) {
            dialog->Prepare(QStringLiteral("プロジェクトの新規作成(&N)"), newProject);
            dialog->setResult(QDialog::Rejected);
            PatchGrid* grid = dialog->Grid();
            grid->setFocus();
            grid->setCurrentIndex(grid->model()->index(10, 0));  // channel 31
            QTest::keyClick(grid, Qt::Key_Return);
            QVERIFY(dialog->isVisible());
            auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
            QVERIFY(editor && editor->parentWidget() == grid->viewport());
            QCOMPARE(editor->text(), QStringLiteral("__"));
            QVERIFY(editor->hasSelectedText());  // typing replaces the shown text
            QTest::keyClicks(editor, "3r");
            QTest::keyClick(editor, Qt::Key_Enter);
            QTRY_COMPARE(QApplication::focusWidget(), grid);
            QCOMPARE(patch->Get(30), 6);
            QCOMPARE(patch->Get(32), 8);
            QVERIFY(dialog->isVisible());
            QCOMPARE(dialog->result(), int{QDialog::Rejected});
            patch->ClearAll();
        }
    }

    void charactersTypedRightAfterAClickReachTheCell() {
        PatchGrid* grid = dialog->Grid();
        const QModelIndex cell = grid->model()->index(2, 1);  // channel 8
        const QPoint centre = grid->visualRect(cell).center();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, centre);  // already selected
        QCOMPARE(grid->currentIndex(), cell);
        for (const char c : {'2', 'r'}) {
            QTest::keyClick(QApplication::focusWidget(), c);
        }
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(editor);
        QCOMPARE(editor->text(), QStringLiteral("2r"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTRY_COMPARE(QApplication::focusWidget(), grid);
        QCOMPARE(patch->Get(7), 3);
        QCOMPARE(patch->Get(9), 5);
        QVERIFY(dialog->isVisible());
    }

    void throughAndClearAskFirstAndSurviveCancel() {
        AnswerNextBox(QMessageBox::No);
        QTest::mouseClick(dialog->ClearButton(), Qt::LeftButton);
        QCOMPARE(patch->Get(0), -1);  // the table starts unpatched; "No" keeps it
        AnswerNextBox(QMessageBox::Yes);
        QTest::mouseClick(dialog->ThroughButton(), Qt::LeftButton);
        QCOMPARE(patch->Get(7), 7);
        QVERIFY(project->Modified);
        AnswerNextBox(QMessageBox::Yes);
        QTest::mouseClick(dialog->ClearButton(), Qt::LeftButton);
        QCOMPARE(patch->Get(7), -1);
        patch->Set(9, 3);
        dialog->reject();
        QCOMPARE(patch->Get(9), 3);
    }

    void patchCheckLightsTheCurrentRowOnlyWhileOnThePage() {
        PatchGrid* grid = dialog->Grid();
        grid->setCurrentIndex(grid->model()->index(4, 1));
        QTest::mouseClick(dialog->CheckOnButton(), Qt::LeftButton);
        QCOMPARE(env->PatchCheckChannel.load(), 4);
        QVERIFY(!dialog->CheckOffButton()->isChecked());
        grid->setCurrentIndex(grid->model()->index(9, 0));
        QCOMPARE(env->PatchCheckChannel.load(), 9);

        SourceChannels sources{};
        DmxFrame frame{};
        BuildDmxFrame(sources, *patch, env->PatchCheckChannel.load(), frame);
        QCOMPARE(int{frame[27]}, 255);
        QCOMPARE(int{frame[29]}, 255);
        QCOMPARE(int{frame[30]}, 0);

        dialog->Pages()->setCurrentIndex(2);
        QCOMPARE(env->PatchCheckChannel.load(), -1);
        QVERIFY(dialog->CheckOffButton()->isChecked());
        dialog->Pages()->setCurrentIndex(1);
        QTest::mouseClick(dialog->CheckOnButton(), Qt::LeftButton);
        dialog->reject();
        QCOMPARE(env->PatchCheckChannel.load(), -1);
    }

    void timesApplyOnOkOnlyWhenChanged() {
        dialog->hide();
        engine->PrePlayTime = 2500;
        engine->PostPlayTime = 45000;  // beyond the list: nothing selected, OK keeps it
        dialog->show();
        QCOMPARE(dialog->PreTimeComboBox()->currentIndex(), 2);
        QCOMPARE(dialog->PostTimeComboBox()->currentIndex(), -1);
        dialog->accept();
        QCOMPARE(engine->PrePlayTime.load(), 2000);  // whole seconds
        QCOMPARE(engine->PostPlayTime.load(), 45000);
        QVERIFY(project->Modified);

        project->Modified = false;
        dialog->show();
        dialog->accept();
        QVERIFY(!project->Modified);

        dialog->show();
        dialog->PreTimeComboBox()->setCurrentIndex(5);
        dialog->reject();
        QCOMPARE(engine->PrePlayTime.load(), 2000);
    }

    void okAppliesTitleAndHoldsTheCursorInsideTheTimeLine() {
        engine->CursorTime = -10000;
        engine->FreeClockTime = -10000;
        dialog->Pages()->setCurrentIndex(2);
        dialog->PreTimeComboBox()->setCurrentIndex(0);
        dialog->Pages()->setCurrentIndex(0);
        QTest::keyClicks(dialog->TitleEdit(), "Show & Tell");
        dialog->accept();
        QCOMPARE(dialog->result(), int{QDialog::Accepted});

        QuietSessionUi ui;
        ShowSession session(*project, *engine, *patch, *sound, *env, ui);
        QVERIFY(dialog->ApplyAccepted(session));
        QCOMPARE(HeaderTitle(project->Header), std::string("Show & Tell"));
        QCOMPARE(engine->PrePlayTime.load(), 0);
        QCOMPARE(engine->CursorTime.load(), 0);
        QCOMPARE(engine->FreeClockTime.load(), 0);
        QCOMPARE(engine->TimelineLength.load(), engine->PostPlayTime.load());
        QVERIFY(!dialog->ApplyAccepted(session));  // nothing changed since
    }

    void aTitleTheProjectFileCannotHoldIsRefused() {
        dialog->Pages()->setCurrentIndex(0);
        dialog->TitleEdit()->setText(QString(130, QLatin1Char('x')));
        QTest::keyClicks(dialog->TitleEdit(), "y");
        AnswerNextBox(QMessageBox::Ok);
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("OKBtn")), Qt::LeftButton);
        QVERIFY(dialog->isVisible());
        QCOMPARE(HeaderTitle(project->Header), std::string());
    }

    void aDroppedSoundIsTakenOnlyWhenReadable() {
        test::WavRecipe recipe;
        const std::vector<int16_t> samples(44100 * 2, 100);
        const std::string wav = temp->File("song.wav");
        test::WriteFile(wav, test::WavBytes(recipe, test::Pcm16(samples)));

        Drop(temp->File("missing.wav"));
        QTest::qWait(20);
        QCOMPARE(dialog->SoundEdit()->text(), QString());
        QVERIFY(!dialog->SoundChanged());

        Drop(wav);
        QTRY_VERIFY(dialog->SoundChanged());
        QCOMPARE(dialog->SoundEdit()->text(), QStringLiteral("song.wav"));  // inside ExeDir
        QVERIFY(dialog->SoundInfoLabel()->text().startsWith(QStringLiteral("44.1kHz 16bit ")));
    }

    void aCancelledSoundReadKeepsTheSoundButAppliesTheRest() {
        const std::string wav = temp->File("song.wav");
        test::WriteFile(wav, test::WavBytes(test::WavRecipe{}, test::Pcm16({1, 2})));
        QuietSessionUi ui;
        ShowSession session(*project, *engine, *patch, *sound, *env, ui);
        dialog->Pages()->setCurrentIndex(0);
        QVERIFY(dialog->TakeSoundFile(QString::fromStdString(wav)));
        QTest::keyClicks(dialog->TitleEdit(), "T");
        dialog->accept();
        QCOMPARE(dialog->SoundToRead(), wav);
        SoundScan cancelled;
        cancelled.Cancelled = true;
        QVERIFY(dialog->ApplyAccepted(session, &cancelled));
        QCOMPARE(HeaderTitle(project->Header), std::string("T"));
        QVERIFY(HeaderSoundFile(project->Header).empty());
        QVERIFY(dialog->SoundToRead().empty());
    }

private:
    void Drop(const std::string& path) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(dialog.get(), &enter);
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(dialog.get(), &drop);
    }

    QVariant Cell(int k) const { return dialog->Grid()->model()->index(k / 3, k % 3).data(); }

    void Type(int k, const char* text) {
        PatchGrid* grid = dialog->Grid();
        grid->setFocus();
        grid->setCurrentIndex(grid->model()->index(k / 3, k % 3));
        // The first key opens the editor, the others go to it; Return commits (queued).
        QTest::keyClicks(grid, QString::fromUtf8(text).left(1));
        QWidget* editor = QApplication::focusWidget();
        QVERIFY(editor && editor != grid);
        QTest::keyClicks(editor, QString::fromUtf8(text).mid(1));
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(QApplication::focusWidget(), grid);
    }

    lumavox::test::RecordingSoundReporter reporter;
    std::unique_ptr<lumavox::testing::TempDir> temp;
    std::unique_ptr<EnvData> env;
    std::unique_ptr<ProjectData> project;
    std::unique_ptr<EngineState> engine;
    std::unique_ptr<PatchTable> patch;
    std::unique_ptr<WavSound> sound;
    std::unique_ptr<TSetPrjDlg> dialog;
};

QTEST_MAIN(TSetPrjDlgTest)
#include "TSetPrjDlgTest.moc"
