// The main window with the options and project settings dialogs: what the dialogs change reaches
// the window's actions, timer, caption and project. A sound read for an open or for the settings
// runs on a worker that Escape cancels.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QStyleOptionMenuItem>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "app/MainWindow.h"
#include "dialogs/TArtNetPropDlg.h"
#include "dialogs/TOptionDlg.h"
#include "dialogs/TSetPrjDlg.h"
#include "editor/logic/ActionTable.h"
#include "fakes/ScriptedSoundDevice.h"
#include "model/ProjectFile.h"
#include "sound/WavFixture.h"

using namespace lumavox;

namespace {

// A menu that tells what it would draw for an action.
class MenuProbe : public QMenu {
public:
    using QMenu::initStyleOption;
};

}  // namespace

class MainWindowDialogsTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<TLumavoxForm> m_form;

    TLumavoxForm& Make() {
        TLumavoxForm::Setup setup;
        setup.iniPath = m_dir.filePath(QStringLiteral("lumavox.INI")).toStdString();
        setup.exeDir = m_dir.path().toStdString() + "/";
        setup.outputs = false;
        setup.device = std::make_unique<ScriptedSoundDevice>();
        m_form = std::make_unique<TLumavoxForm>(std::move(setup));
        auto* setPrj = new TSetPrjDlg(m_form->Project(), m_form->State(), m_form->Patch(),
                                      m_form->Env(), m_form->Sound(), m_form.get());
        auto* option =
            new TOptionDlg(m_form->Env(), m_form->OptionHost(), m_form->Outputs(), m_form.get());
        option->SetNodeDialog(new TArtNetPropDlg(m_form.get()));
        AuxWindows aux;
        aux.setPrj = setPrj;
        aux.option = option;
        m_form->SetAuxWindows(aux);
        m_form->show();
        if (!QTest::qWaitFor([this] { return m_form->StartupDone(); }, 5000)) {
            qWarning("the start-up continuation did not run");
        }
        return *m_form;
    }

    std::string SongWav() {
        const std::string wav = m_dir.filePath(QStringLiteral("song.wav")).toStdString();
        test::WriteFile(wav, test::WavBytes(test::WavRecipe{},
                                            test::Pcm16(std::vector<int16_t>(44100 * 2 * 3, 900))));
        return wav;
    }

    QString WriteProject(const char* name, const char* title, const std::string& sound) {
        ProjectData project;
        SetHeaderTitle(project.Header, title);
        SetHeaderSoundFile(project.Header, sound);
        project.ProjectFileName = m_dir.filePath(QString::fromLatin1(name)).toStdString();
        SaveProjectFile(project, ThroughPatch(), 1000, 1000, false);
        return QString::fromStdString(project.ProjectFileName);
    }

    // Runs work on the next modal dialog of type D once it is shown.
    template <class D>
    void OnNextDialog(std::function<void(D&)> work) {
        QTimer::singleShot(50, m_form.get(), [this, work] {
            D* dialog = m_form->findChild<D*>();
            if (dialog && dialog->isVisible()) {
                work(*dialog);
            } else {
                OnNextDialog<D>(work);
            }
        });
    }

private slots:
    void cleanup() {
        if (m_form) m_form->CloseWithoutAsking();
        m_form.reset();
    }

    void optionShortCutReachesTheActionAtOnceEvenAfterCancel() {
        TLumavoxForm& form = Make();
        const int row = ActionIndex("OpenPrjAction");
        QString shown;
        OnNextDialog<TOptionDlg>([row, &shown](TOptionDlg& dialog) {
            dialog.ShortCutList()->setCurrentRow(row);
            dialog.ShiftCheckBox()->setChecked(true);
            dialog.CtrlCheckBox()->setChecked(true);
            dialog.KeyComboBox()->setCurrentIndex(dialog.KeyComboBox()->findText("F5"));
            dialog.ChangeButton()->click();
            shown = dialog.ShortCutList()->item(row)->text();
            dialog.DisplayPeriodComboBox()->setCurrentIndex(2);  // 150 ms
            dialog.reject();
        });
        form.findChild<QAction*>(QStringLiteral("Options"))->trigger();
        QVERIFY(form.Action("OpenPrjAction")
                    ->shortcuts()
                    .contains(QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_F5)));
        // The menu writes the key as the options list does.
        QCOMPARE(shown.section(QLatin1Char('\t'), 1), QStringLiteral("Shift+Ctrl+F5"));
        MenuProbe menu;
        menu.addAction(form.Action("OpenPrjAction"));
        QStyleOptionMenuItem item;
        menu.initStyleOption(&item, form.Action("OpenPrjAction"));
        QCOMPARE(item.text, QStringLiteral("プロジェクトを開く(&O)...\tShift+Ctrl+F5"));
        QCOMPARE(form.OptionHost().DisplayPeriod(), 150);
        QCOMPARE(form.Env().DispInterval, 150);  // the run's period, used by later restarts
    }

    void everyHelpContextHasAPage() {
        TLumavoxForm& form = Make();
        const QString help =
            qEnvironmentVariable("LUMAVOX_SOURCE_DIR") + QStringLiteral("/src/app/help");
        QVERIFY(QFileInfo::exists(help + QStringLiteral("/index.html")));
        QObjectList objects = {&form};
        objects += form.findChildren<QObject*>();  // menus, panes and the dialogs
        QList<int> contexts;
        for (const QObject* object : objects) {
            const QVariant context = object->property("helpContext");
            if (context.isValid() && !contexts.contains(context.toInt())) {
                contexts << context.toInt();
            }
        }
        QVERIFY(contexts.contains(14));  // the project settings dialog
        for (const int context : contexts) {
            const QString page = help + QStringLiteral("/%1.html").arg(context + 1000);
            QVERIFY2(QFileInfo::exists(page), qPrintable(page));
        }
    }

    void settingsOkRetitlesTheWindowAndMarksTheProject() {
        TLumavoxForm& form = Make();
        OnNextDialog<TSetPrjDlg>([](TSetPrjDlg& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("プロジェクトの設定(S)..."));
            QTest::keyClicks(dialog.TitleEdit(), "Gala");
            dialog.accept();
        });
        form.Action("SetPrjAction")->setEnabled(true);
        form.Action("SetPrjAction")->trigger();
        QCOMPARE(HeaderTitle(form.Project().Header), std::string("Gala"));
        QVERIFY(form.Project().Modified);
        QCOMPARE(form.windowTitle(), QStringLiteral("Lumavox  - Gala"));
    }

    void aNewProjectOpensTheSettingsInNewProjectMode() {
        TLumavoxForm& form = Make();
        SetHeaderTitle(form.Project().Header, "Old");
        QString title;
        QString field = QStringLiteral("unset");
        OnNextDialog<TSetPrjDlg>([&](TSetPrjDlg& dialog) {
            title = dialog.windowTitle();
            field = dialog.TitleEdit()->text();
            dialog.reject();
        });
        form.OpenProject(QString());
        QCOMPARE(title, QStringLiteral("プロジェクトの新規作成(N)"));
        QCOMPARE(field, QString());
    }

    void anOpenReturnsBeforeTheSoundIsReadAndEscapeLeavesEverythingAsItWas() {
        TLumavoxForm& form = Make();
        const std::string wav = SongWav();
        const QString before = WriteProject("before.PRJ", "Before", "");
        const QString after = WriteProject("after.PRJ", "After", wav);
        QVERIFY(form.OpenProject(before));  // no sound to read: at once, as ever
        const QString caption = form.windowTitle();
        const QString panel2 = form.StatusPanel(2)->text();
        const QString panel4 = form.StatusPanel(4)->text();
        QVERIFY(form.Action("NewPrjAction")->isEnabled());

        // Returned with nothing replaced: the result is only taken in from the event loop.
        QVERIFY(!form.OpenProject(after));
        QVERIFY(form.SoundLoading());
        QVERIFY(!form.Action("NewPrjAction")->isEnabled());
        QVERIFY(form.StatusPanel(4)->text() != panel4);  // how to cancel
        QTest::keyClick(&form, Qt::Key_Escape);
        QVERIFY(!form.SoundLoading());
        QTest::qWait(50);  // what the worker had queued must come to nothing
        QVERIFY(!form.WaveformHasData());
        QCOMPARE(form.windowTitle(), caption);
        QCOMPARE(QString::fromStdString(form.Project().ProjectFileName), before);
        QCOMPARE(QString::fromStdString(form.Env().PrjFile), before);
        QCOMPARE(form.StatusPanel(2)->text(), panel2);
        QCOMPARE(form.StatusPanel(4)->text(), panel4);
        QVERIFY(form.Action("NewPrjAction")->isEnabled());
        QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("after.wfm"))));

        QVERIFY(!form.OpenProject(after));
        QTRY_VERIFY_WITH_TIMEOUT(!form.SoundLoading(), 20000);
        QCOMPARE(form.windowTitle(), QStringLiteral("Lumavox  - After"));
        QVERIFY(form.WaveformHasData());
        QCOMPARE(form.Sound().List().Count(), 300);
        QVERIFY(QFile::exists(m_dir.filePath(QStringLiteral("after.wfm"))));
        QVERIFY(form.Action("ToTopPosAction")->isEnabled());
        QCOMPARE(form.StatusPanel(4)->text(), panel4);
    }

    void aSoundChosenInTheSettingsIsReadOnTheWorkerAndThenTakenIn() {
        TLumavoxForm& form = Make();
        const std::string wav = SongWav();
        OnNextDialog<TSetPrjDlg>([wav](TSetPrjDlg& dialog) {
            dialog.TakeSoundFile(QString::fromStdString(wav));
            dialog.accept();
        });
        form.RunProjectSettings(false);
        QVERIFY(form.SoundLoading());
        QVERIFY(HeaderSoundFile(form.Project().Header).empty());
        QTRY_VERIFY_WITH_TIMEOUT(!form.SoundLoading(), 20000);
        QCOMPARE(HeaderSoundFile(form.Project().Header), std::string("song.wav"));
        QCOMPARE(form.Sound().List().Count(), 300);
        QVERIFY(form.Project().Modified);
        QVERIFY(form.Action("ToTopPosAction")->isEnabled());
    }
};

QTEST_MAIN(MainWindowDialogsTest)
#include "MainWindowDialogsTest.moc"
