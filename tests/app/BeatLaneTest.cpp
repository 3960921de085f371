// The beat lane in the main window over the demo piece: hidden until asked for, its analysis on a
// worker (cached beside the sound, stopped by Escape), ticks where the drums hit, and snapping.
#include <QAction>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/BeatLaneCommands.h"
#include "app/MainWindow.h"
#include "cli/DemoShow.h"
#include "dialogs/TStpPropDlg.h"
#include "dialogs/TStpTimeDlg.h"
#include "editor/BeatLane.h"
#include "editor/TimePanes.h"
#include "fakes/ScriptedSoundDevice.h"
#include "model/StepOps.h"
#include "sound/analysis/BeatCache.h"

using namespace lumavox;

class BeatLaneTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<TLumavoxForm> m_form;
    std::unique_ptr<TStpPropDlg> m_stpProp;
    std::unique_ptr<TStpTimeDlg> m_stpTime;

    TLumavoxForm& Make() {
        m_stpProp.reset();  // children of the form they belong to
        m_stpTime.reset();
        m_form.reset();
        TLumavoxForm::Setup setup;
        setup.iniPath = m_dir.filePath(QStringLiteral("lumavox.INI")).toStdString();
        setup.exeDir = m_dir.path().toStdString() + "/";
        setup.outputs = false;
        setup.device = std::make_unique<ScriptedSoundDevice>();
        m_form = std::make_unique<TLumavoxForm>(std::move(setup));
        // The edit commands need their dialogs.
        m_stpProp = std::make_unique<TStpPropDlg>(m_form->Context(), m_form.get());
        m_stpTime = std::make_unique<TStpTimeDlg>(m_form->Context(), m_form.get());
        AuxWindows aux;
        aux.stpProp = m_stpProp.get();
        aux.stpTime = m_stpTime.get();
        m_form->SetAuxWindows(aux);
        m_form->show();
        if (!QTest::qWaitFor([this] { return m_form->StartupDone(); }, 5000)) {
            qWarning("the start-up continuation did not run");
        }
        return *m_form;
    }

    // The demo piece (its first `seconds`) opened as the sound of an untitled project.
    std::string OpenDemo(TLumavoxForm& form, int seconds) {
        const std::string wav =
            m_dir.filePath(QStringLiteral("demo%1.wav").arg(seconds)).toStdString();
        if (!cli::WriteDemoWav(wav, seconds)) return {};
        form.HandleDroppedFile(QString::fromStdString(wav));
        if (!QTest::qWaitFor([&form] { return form.WaveformHasData(); }, 10000)) return {};
        return wav;
    }

    // Whether the lane shows a tick in one of the columns x - 1 .. x + 1 (content x).
    static bool TickNear(BeatLane& lane, const TimeLine& tl, int x) {
        const QImage& image = lane.Content();
        const qreal dpr = image.devicePixelRatio();
        for (int dx = -1; dx <= 1; ++dx) {
            const int px = static_cast<int>((x + dx - tl.L()) * dpr);
            if (px < 0 || px >= image.width()) continue;
            if (image.pixel(px, image.height() - 1) != BeatLane::kBackground) return true;
        }
        return false;
    }

private slots:
    void init() { QVERIFY(m_dir.isValid()); }
    void cleanup() {
        if (m_form) m_form->CloseWithoutAsking();
        m_stpProp.reset();
        m_stpTime.reset();
        m_form.reset();
    }

    void theLaneShowsTheDrumHitsAndAnAddedStepSnapsToTheNearest() {
        TLumavoxForm& form = Make();
        const std::string wav = OpenDemo(form, 8);
        QVERIFY(!wav.empty());
        auto* lane = form.findChild<BeatLane*>(QStringLiteral("beatLane"));
        QVERIFY(lane);
        QVERIFY(!lane->isVisible());
        // Nothing is analysed while neither the lane nor snapping asks for it.
        QTest::qWait(3 * form.Env().DispInterval);
        QVERIFY(!QFile::exists(QString::fromStdString(BeatCachePath(wav))));

        form.Action(ActionId::ViewBeatLaneAction)->trigger();
        QVERIFY(lane->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(form.Beats().Known(), 30000);
        QVERIFY(QFile::exists(QString::fromStdString(BeatCachePath(wav))));

        // A kick on every beat (500 ms) and a hi-hat between: ticks there, none in between.
        const TimeLine& tl = form.Context().timeLine;
        QVERIFY(tl.PixelsPerMs() * 250 >= 4);  // the hits lie columns apart
        for (const int32_t hit : {1000, 1250, 2000, 3500}) {
            QVERIFY2(TickNear(*lane, tl, tl.TimeToX(hit)), qPrintable(QString::number(hit)));
        }
        QVERIFY(!TickNear(*lane, tl, tl.TimeToX(1125)));
        const std::optional<int32_t> kick =
            NearestMark(2000, form.Beats().Onsets(), form.Beats().Beats(), 1.0, 10);
        QVERIFY(kick.has_value());

        // Off: a blank step goes where the cursor is; on: onto the kick 1.5 px away.
        ProjectData& project = form.Project();
        const auto addAt = [&](int32_t t) {
            form.State().CursorTime.store(t);
            form.TimePaneGroup().UpdateCursor();
            form.UpdateActions();
            form.Action(ActionId::AddBlkStepAction)->trigger();
            const Step* step = StepAt(project, 0);
            return step != nullptr ? step->Time : -1;
        };
        const int32_t offset = static_cast<int32_t>(1.5 / tl.PixelsPerMs());
        const int32_t unsnapped = addAt(*kick + offset);
        QVERIFY(unsnapped != *kick);
        form.UpdateActions();
        form.Action(ActionId::UndoAction)->trigger();
        QVERIFY(StepAt(project, 0) == nullptr);
        form.Action(ActionId::SnapBeatAction)->trigger();
        QVERIFY(form.Beats().SnapOn());
        QCOMPARE(addAt(*kick + offset), *kick);
        // A dragged step goes there too, unless Alt is held.
        const int near = tl.TimeToX(*kick + offset);
        QCOMPARE(form.TimePaneGroup().DragTime(near, Qt::NoModifier), *kick);
        QCOMPARE(form.TimePaneGroup().DragTime(near, Qt::AltModifier), tl.XToTime(near));
    }

    void escapeStopsTheAnalysisForGoodAndTheLaneIsRemembered() {
        TLumavoxForm& form = Make();
        const std::string wav = OpenDemo(form, 24);
        QVERIFY(!wav.empty());
        form.Action(ActionId::ViewBeatLaneAction)->trigger();
        QVERIFY(form.BeatCommands().Task().Busy());
        form.activateWindow();
        QTest::keyClick(&form, Qt::Key_Escape);
        QVERIFY(!form.BeatCommands().Task().Busy());
        QTest::qWait(3 * form.Env().DispInterval);  // the display ticks do not start it again
        QVERIFY(!form.BeatCommands().Task().Busy());
        QVERIFY(!form.Beats().Known());
        QVERIFY(!QFile::exists(QString::fromStdString(BeatCachePath(wav))));

        // Asked anew, it runs to the end.
        form.Action(ActionId::ViewBeatLaneAction)->trigger();
        form.Action(ActionId::ViewBeatLaneAction)->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(form.Beats().Known(), 60000);

        // The shown lane comes back with the next window.
        form.CloseWithoutAsking();
        QTRY_VERIFY_WITH_TIMEOUT(!form.isVisible(), 5000);
        TLumavoxForm& again = Make();
        QVERIFY(again.findChild<BeatLane*>(QStringLiteral("beatLane"))->isVisible());
        QVERIFY(again.Action(ActionId::ViewBeatLaneAction)->isChecked());
    }
};

QTEST_MAIN(BeatLaneTest)
#include "BeatLaneTest.moc"
