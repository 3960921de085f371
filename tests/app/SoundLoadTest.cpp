// The main window while the sound of a project being opened is read on the worker: the open
// returns at once, the project that is open stays as it was and takes no commands, Escape cancels
// without a trace, and a finished read opens the project with its caption, waveform and commands.
#include <QAction>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/MainWindow.h"
#include "fakes/ScriptedSoundDevice.h"
#include "model/ProjectFile.h"
#include "sound/WavFixture.h"

using namespace lumavox;

class SoundLoadTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

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
        TLumavoxForm::Setup setup;
        setup.iniPath = m_dir.filePath(QStringLiteral("lumavox.INI")).toStdString();
        setup.exeDir = m_dir.path().toStdString() + "/";
        setup.outputs = false;
        setup.device = std::make_unique<ScriptedSoundDevice>();
        TLumavoxForm form(std::move(setup));
        form.show();
        QTRY_VERIFY(form.StartupDone());

        const std::string wav = m_dir.filePath(QStringLiteral("song.wav")).toStdString();
        test::WriteFile(wav, test::WavBytes(test::WavRecipe{},
                                            test::Pcm16(std::vector<int16_t>(44100 * 2 * 3, 900))));
        const QString before = WriteProject("before.PRJ", "Before", "");
        const QString after = WriteProject("after.PRJ", "After", wav);
        QVERIFY(form.OpenProject(before));  // no sound to read: at once, as ever
        const QString caption = form.windowTitle();
        const QString panel2 = form.StatusPanel(2)->text();
        const QString panel4 = form.StatusPanel(4)->text();
        QVERIFY(form.Action("NewPrjAction")->isEnabled());

        for (int attempt = 0; attempt < 2; ++attempt) {
            // Returned to the caller with nothing replaced: the result is only taken in from
            // the event loop.
            QVERIFY(!form.OpenProject(after));
            QVERIFY(form.SoundLoading());
            QVERIFY(!form.WaveformHasData());
            QCOMPARE(form.windowTitle(), caption);
            QCOMPARE(QString::fromStdString(form.Project().ProjectFileName), before);
            QVERIFY(!form.Action("NewPrjAction")->isEnabled());
            QVERIFY(!form.Action("ToTopPosAction")->isEnabled());
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
        }

        QVERIFY(!form.OpenProject(after));
        QTRY_VERIFY_WITH_TIMEOUT(!form.SoundLoading(), 20000);
        QCOMPARE(form.windowTitle(), QStringLiteral("Lumavox  - After"));
        QVERIFY(form.WaveformHasData());
        QCOMPARE(form.Sound().List().Count(), 300);
        QVERIFY(QFile::exists(m_dir.filePath(QStringLiteral("after.wfm"))));
        QVERIFY(form.Action("ToTopPosAction")->isEnabled());
        QCOMPARE(form.StatusPanel(4)->text(), panel4);
        form.CloseWithoutAsking();
    }
};

QTEST_MAIN(SoundLoadTest)
#include "SoundLoadTest.moc"
