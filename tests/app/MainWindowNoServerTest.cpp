// The main window on the system's sound device when no sound server answers: the show still
// locates and plays, silently on the clock, and says so once.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "app/MainWindow.h"
#include "editor/QtText.h"
#include "model/Msgstr.h"
#include "sound/WavFixture.h"

using namespace lumavox;

class MainWindowNoServerTest : public QObject {
    Q_OBJECT

private slots:
    void withoutAServerTheShowLocatesAndPlaysOnTheClock() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        qputenv("LANG", "ja_JP.UTF-8");
        for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR"}) {
            qputenv(name, dir.path().toUtf8());
        }
        qputenv("PULSE_SERVER", ("unix:" + dir.filePath(QStringLiteral("no-server"))).toUtf8());

        TLumavoxForm::Setup setup;
        setup.iniPath = dir.filePath(QStringLiteral("lumavox.INI")).toStdString();
        setup.exeDir = dir.path().toStdString() + "/";
        setup.outputs = false;  // the system's device: setup.device stays null
        TLumavoxForm form(std::move(setup));
        form.show();
        QTRY_VERIFY(form.StartupDone());

        // The output thread's part: a tick every 5 ms.
        std::atomic<bool> stop{false};
        std::thread output([&] {
            DmxFrame frame{};
            while (!stop.load()) {
                form.EngineForTest().EngineTick(frame);
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
        });
        int boxes = 0;
        QString boxText;
        QTimer answer;
        answer.setInterval(20);
        connect(&answer, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                ++boxes;
                boxText = box->text();
                box->accept();
            }
        });
        answer.start();

        const QString wav = dir.filePath(QStringLiteral("beat.wav"));
        std::vector<int16_t> samples(44100 * 2 * 3, 1000);
        test::WriteFile(wav.toStdString(), test::WavBytes(test::WavRecipe{}, test::Pcm16(samples)));
        form.HandleDroppedFile(wav);
        QVERIFY(form.WaveformHasData());
        QTRY_COMPARE(form.State().SoundLength.load(), 3000);
        form.DisplayTick();
        QCOMPARE(form.StatusPanel(0)->text(), QStringLiteral("DMX:NG  Audio:--"));
        QTRY_COMPARE(boxes, 1);
        QCOMPARE(boxText, QtText(MsgText(Msg::AudioSilent)));

        // A click in the sound places the cursor there (not at 0), and play runs on from it.
        form.TransportControl().Locate(1200);
        QTRY_COMPARE(form.State().SoundPosition.load(), 1200);
        QTRY_COMPARE(form.State().CursorTime.load(), 1200);
        form.UpdateActions();
        QVERIFY(form.Action("PlayAction")->isEnabled());
        form.Action("PlayAction")->trigger();
        QTRY_VERIFY(form.State().CursorTime.load() > 1300);
        form.Action("StopAction")->trigger();

        // Another open finds no server either: no second box.
        form.HandleDroppedFile(wav);
        form.DisplayTick();
        QCOMPARE(form.StatusPanel(0)->text(), QStringLiteral("DMX:NG  Audio:--"));
        QTest::qWait(100);  // a second box would be queued by now
        QCOMPARE(boxes, 1);

        form.CloseWithoutAsking();  // its stop and close requests are answered by the ticks
        stop = true;
        output.join();
    }
};

QTEST_MAIN(MainWindowNoServerTest)
#include "MainWindowNoServerTest.moc"
