// The main window while the sound of a project being opened is read on the worker: the open
// returns at once, the project that is open stays as it was and takes no commands, Escape cancels
// without a trace, and a finished read opens the project with its caption, waveform and commands.
#include <QAction>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "app/MainWindow.h"
#include "dialogs/TSetPrjDlg.h"
#include "fakes/ScriptedSoundDevice.h"
#include "model/ProjectFile.h"
#include "sound/WavFixture.h"

using namespace lumavox;

class SoundLoadTest : public QObject {
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
        AuxWindows aux;
        aux.setPrj = new TSetPrjDlg(m_form->Project(), m_form->State(), m_form->Patch(),
                                    m_form->Env(), m_form->Sound(), m_form.get());
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

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        qputenv("LANG", "ja_JP.UTF-8");
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
        auto* dialog = form.findChild<TSetPrjDlg*>();
        QVERIFY(dialog);
        QTimer::singleShot(0, dialog, [dialog, wav] {
            dialog->TakeSoundFile(QString::fromStdString(wav));
            dialog->accept();
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

    void cleanup() {
        if (m_form) {
            m_form->Project().Modified = false;
            m_form->CloseWithoutAsking();
        }
        m_form.reset();
    }
};

QTEST_MAIN(SoundLoadTest)
#include "SoundLoadTest.moc"
