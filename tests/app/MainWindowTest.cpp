// The main window in process: actions and menus, transport rules, volume slider, time label,
// timers inside modal dialogs, the save question, the recent list, drops and the close path.
#include <fcntl.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSlider>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <cstdio>
#include <functional>
#include <memory>

#include "app/MainWindow.h"
#include "dialogs/TStpPropDlg.h"
#include "dialogs/TStpTimeDlg.h"
#include "editor/CurrentPalettePanel.h"
#include "editor/LineTabStrip.h"
#include "editor/QtText.h"
#include "fakes/ScriptedSoundDevice.h"
#include "model/ProjectFile.h"
#include "model/StepOps.h"
#include "sound/WavFixture.h"

using namespace lumavox;

namespace {

// Answers the next message box with the given button, also one opened inside a nested loop.
// Records the text it saw.
class BoxAnswer : public QObject {
public:
    BoxAnswer(QMessageBox::StandardButton button, QString* text = nullptr)
        : m_button(button), m_text(text) {
        m_timer.setInterval(20);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            if (m_text) *m_text = box->text();
            ++m_count;
            box->button(m_button) ? box->button(m_button)->click() : box->reject();
        });
        m_timer.start();
    }
    int Count() const { return m_count; }

private:
    QTimer m_timer;
    QMessageBox::StandardButton m_button;
    QString* m_text;
    int m_count = 0;
};

// Runs the event loop as the program does, so that it waits for events between them (QTest's
// waits only poll).
void RunEventLoop(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

std::string WavFile(const QString& path, int frames) {
    test::WavRecipe recipe;
    std::vector<int16_t> samples(static_cast<size_t>(frames) * 2);
    for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<int16_t>((i * 97) % 20000);
    test::WriteFile(path.toStdString(), test::WavBytes(recipe, test::Pcm16(samples)));
    return path.toStdString();
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    ScriptedSoundDevice* m_device = nullptr;
    std::unique_ptr<TLumavoxForm> m_form;
    std::unique_ptr<TStpPropDlg> m_stpProp;
    std::unique_ptr<TStpTimeDlg> m_stpTime;

    QString m_ini;  // the settings file of the next Make(); lumavox.INI in the folder when empty

    QString Ini() const {
        return m_ini.isEmpty() ? m_dir.filePath(QStringLiteral("lumavox.INI")) : m_ini;
    }

    TLumavoxForm& Make(const QString& iniText = {}, bool show = true) {
        if (!iniText.isNull()) {
            QFile file(Ini());
            file.open(QIODevice::WriteOnly);
            file.write(iniText.toUtf8());
        }
        m_stpProp.reset();  // children of the form they replace
        m_stpTime.reset();
        m_form.reset();
        auto device = std::make_unique<ScriptedSoundDevice>();
        m_device = device.get();
        TLumavoxForm::Setup setup;
        setup.iniPath = Ini().toStdString();
        setup.exeDir = m_dir.path().toStdString() + "/";
        setup.outputs = false;
        setup.device = std::move(device);
        m_form = std::make_unique<TLumavoxForm>(std::move(setup));
        m_stpProp = std::make_unique<TStpPropDlg>(m_form->Context(), m_form.get());
        m_stpTime = std::make_unique<TStpTimeDlg>(m_form->Context(), m_form.get());
        AuxWindows aux;
        aux.stpProp = m_stpProp.get();
        aux.stpTime = m_stpTime.get();
        m_form->SetAuxWindows(aux);
        if (show) {
            m_form->show();
            if (!QTest::qWaitFor([this] { return m_form->StartupDone(); }, 5000)) {
                qWarning("the start-up continuation did not run");
            }
        }
        return *m_form;
    }

private slots:
    void init() {
        QVERIFY(m_dir.isValid());
        m_ini.clear();
        QFile::remove(Ini());
    }
    void cleanup() {
        if (m_form) {
            // Close without the question so nothing waits for an answer.
            m_form->CloseWithoutAsking();
        }
        m_stpProp.reset();
        m_stpTime.reset();
        m_form.reset();
    }

    void everyActionExistsWithItsCaptionAndAtMostOneOwnerPerKey() {
        // Up is also given to play: the first action in list order keeps the key.
        TLumavoxForm& form =
            Make(QStringLiteral("[ShortCut]\nPlayActionItem=Up\nSelectAllActionItem=Enter\n"));
        for (const ActionInfo& info : kActionTable) {
            QAction* action = form.Action(info.Name);
            QVERIFY2(action, info.Name.data());
            QCOMPARE(action->text().section(QLatin1Char('\t'), 0, 0), QtText(info.Caption));
        }
        QCOMPARE(form.Action("UpBrightAction")->shortcut(), QKeySequence(Qt::Key_Up));
        QVERIFY(form.Action("PlayAction")->shortcuts().isEmpty());
        QCOMPARE(form.Action("PrvStpAction")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Left));
        // Enter is the main key and the keypad's.
        QCOMPARE(form.Action("SelectAllAction")->shortcuts().size(), 2);
        // Effects of later work stay disabled; the view menu shows the reference line short.
        QVERIFY(!form.Action("AddStepAction")->isEnabled());
        QMenu* view = form.menuBar()->actions().at(3)->menu();
        QStringList texts;
        for (QAction* item : view->actions()) texts << item->text();
        QVERIFY(texts.contains(QStringLiteral("参照ライン(&R)")));
        QVERIFY(!texts.contains(QStringLiteral("参照ライン表示(&R)")));
    }

    void transportFollowsTheEngineRules() {
        TLumavoxForm& form = Make();
        form.UpdateActions();
        for (const char* name : {"TopPlayAction", "PlayAction", "PauseAction", "StopAction",
                                 "ToTopPosAction", "ToEndPosAction"}) {
            QVERIFY2(!form.Action(name)->isEnabled(), name);
        }
        const QString wav = m_dir.filePath(QStringLiteral("beat.wav"));
        WavFile(wav, 44100);
        form.HandleDroppedFile(wav);
        QVERIFY(form.WaveformHasData());
        form.UpdateActions();
        // Without audio output nothing plays, but the sound start and end can be reached.
        QVERIFY(!form.Action("PlayAction")->isEnabled());
        QVERIFY(form.Action("ToTopPosAction")->isEnabled());
        form.State().AudioAvailable.store(true);
        form.UpdateActions();
        QVERIFY(form.Action("TopPlayAction")->isEnabled());
        QVERIFY(form.Action("PlayAction")->isEnabled());
        form.State().TransportActive.store(true);
        form.UpdateActions();
        QVERIFY(form.Action("StopAction")->isEnabled());
        QVERIFY(!form.Action("ToEndPosAction")->isEnabled());
    }

    void anIdleEditorLeavesTheActionsAloneAndAChangeReachesThemOnce() {
        TLumavoxForm& form = Make();
        const QString wav = m_dir.filePath(QStringLiteral("idle.wav"));
        WavFile(wav, 44100);
        form.HandleDroppedFile(wav);
        QVERIFY(form.WaveformHasData());
        ProjectData& project = form.Project();
        for (int i = 0; i < 400; ++i) AddStep(project, 0x102030 * (i % 5), 0, i * 2, 0, false);
        form.Project().Modified = false;
        QSignalSpy updates(&form, &TLumavoxForm::actionsUpdated);
        RunEventLoop(200);  // the display tick takes the new steps in
        QVERIFY(updates.count() > 0);
        updates.clear();
        RunEventLoop(1000);
        QCOMPARE(updates.count(), 0);

        // Three changes between two display ticks: one run, at the next tick.
        QVERIFY(!form.Action("CutStepAction")->isEnabled());
        for (int i = 0; i < 3; ++i) SetStepSelected(project, 0, StepAt(project, i), true);
        RunEventLoop(3 * form.Env().DispInterval);
        QVERIFY(form.Action("CutStepAction")->isEnabled());
        QCOMPARE(updates.count(), 1);
        // A menu about to show is current at once, before any tick.
        SetSelection(project, 0, true);
        QMenu* edit = form.menuBar()->actions().at(1)->menu();
        emit edit->aboutToShow();
        QVERIFY(!form.Action("CutStepAction")->isEnabled());
        // A shortcut pressed before the next tick finds its action enabled.
        SetStepSelected(project, 0, StepAt(project, 5), true);
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QTest::keyClick(&form, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(project.LineClipboard.Count(), 1);
    }

    void brightnessSliderShowsTheCurrentStepWithoutWritingIt() {
        TLumavoxForm& form = Make();
        ProjectData& project = form.Project();
        AddStep(project, 0x0000FF, -200, 100, 0, false);
        AddStep(project, 0x00FF00, 80, 200, 0, false);
        project.Modified = false;
        QSlider* slider = form.Palette().BrightnessSlider();
        const auto run = [&form](const char* name) {
            form.UpdateActions();
            QVERIFY2(form.Action(name)->isEnabled(), name);
            form.Action(name)->trigger();
        };
        run("NxtStpAction");
        QCOMPARE(slider->value(), -200);
        run("NxtStpAction");
        QCOMPARE(slider->value(), 80);
        run("DownBrightAction");
        QCOMPARE(slider->value(), 79);
        run("PrvStpAction");
        QCOMPARE(slider->value(), -200);
        project.Modified = false;
        // Following the current step wrote no brightness and saved no undo state.
        QCOMPARE(StepAt(project, 0)->Brightness, -200);
        QCOMPARE(StepAt(project, 1)->Brightness, 79);
        QCOMPARE(project.UndoList.Count(), 0);
        // A page up moves on from the step's brightness, without an undo state.
        slider->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QCOMPARE(StepAt(project, 0)->Brightness, -184);
        QCOMPARE(project.UndoList.Count(), 0);
        // Zero saves one; its undo brings the brightness back to the slider.
        form.Palette().ZeroAction()->trigger();
        QCOMPARE(slider->value(), 0);
        run("UndoAction");
        QCOMPARE(StepAt(project, 0)->Brightness, -184);
        QCOMPARE(slider->value(), -184);
        project.Modified = false;
    }

    void volumeSliderTopIsLoudest() {
        TLumavoxForm& form = Make(QString(), false);
        m_device->SetWaveVolume(0x80FF);
        form.show();
        QTRY_VERIFY(form.StartupDone());
        // 255 − the high byte is the slider position; Qt's value runs the other way.
        // Panel 2 is shared with the time scale, which the start-up layout writes last.
        QCOMPARE(form.VolumeSlider()->value(), 0x80);
        form.VolumeSlider()->setValue(0x7F);
        QCOMPARE(form.StatusPanel(2)->text(), QStringLiteral("音量= 49"));
        form.VolumeSlider()->setValue(0x80);
        QCOMPARE(form.StatusPanel(2)->text(), QStringLiteral("音量= 50"));
        form.VolumeSlider()->setValue(form.VolumeSlider()->maximum());
        QCOMPARE(form.StatusPanel(2)->text(), QStringLiteral("音量=100"));
        QCOMPARE(m_device->StoredVolume(), 255 * 255);
        form.VolumeSlider()->setValue(form.VolumeSlider()->minimum());
        QCOMPARE(form.StatusPanel(2)->text(), QStringLiteral("音量=  0"));
    }

    void volumeSliderStartsAtTopWithoutAudio() {
        TLumavoxForm& form = Make(QString(), false);
        m_device->SetWaveVolume(0);
        m_device->SetAudioPresent(false);
        form.show();
        QTRY_VERIFY(form.StartupDone());
        QCOMPARE(form.VolumeSlider()->value(), 255);
    }

    void timeLabelShowsPreRollSoundAndPostRoll() {
        TLumavoxForm& form = Make();
        form.State().SoundLength.store(60000);
        form.State().CursorTime.store(-1500);
        form.DisplayTick();
        QCOMPARE(form.TimeLabelWidget()->text(), QStringLiteral("-00:00:01.50"));
        QCOMPARE(form.TimeLabelColour(), 0x808000);
        form.State().CursorTime.store(3723450);
        form.DisplayTick();
        QCOMPARE(form.TimeLabelWidget()->text(), QStringLiteral("+01:02:03.45"));
        QCOMPARE(form.TimeLabelColour(), 0xFF00FF);
        form.State().CursorTime.store(60000);
        form.DisplayTick();
        QCOMPARE(form.TimeLabelWidget()->text(), QStringLiteral(" 00:01:00.00"));
        QCOMPARE(form.TimeLabelColour(), 0xFFFFFF);
        QCOMPARE(form.StatusPanel(0)->text(), QStringLiteral("DMX:NG  Audio:NG"));
    }

    void displayTimerRunsInsideAModalStepColourDialog() {
        TLumavoxForm& form = Make();
        m_stpProp->SetColour(0x123456);
        int32_t seen = NoColour;
        QTimer::singleShot(300, m_stpProp.get(), [&] {
            seen = form.State().PreviewColour.load();
            m_stpProp->accept();
        });
        m_stpProp->exec();
        QCOMPARE(seen, 0x123456);
        QTRY_COMPARE(form.State().PreviewColour.load(), NoColour);
    }

    void saveQuestionNamesTheProjectAndCancelKeepsEverything() {
        TLumavoxForm& form = Make();
        form.Project().Modified = true;
        QString text;
        {
            BoxAnswer answer(QMessageBox::Cancel, &text);
            QCOMPARE(form.AskSaveChanges(), QMessageBox::Cancel);
        }
        QCOMPARE(text, QStringLiteral("[無題] 変更内容を保存しますか"));
        // Closing answered with Cancel keeps the window and writes no settings.
        {
            BoxAnswer answer(QMessageBox::Cancel);
            QVERIFY(!form.close());
        }
        QVERIFY(form.isVisible());
        QVERIFY(!QFile::exists(Ini()));
        form.Project().Modified = false;
    }

    void aFailedSaveDuringTheQuestionCancels() {
        TLumavoxForm& form = Make();
        form.Project().ProjectFileName =
            m_dir.filePath(QStringLiteral("missing/folder/show.PRJ")).toStdString();
        form.Project().Modified = true;
        QString last;
        BoxAnswer answer(QMessageBox::Yes, &last);  // Yes to the question, then OK to the error
        QCOMPARE(form.AskSaveChanges(), QMessageBox::Cancel);
        QCOMPARE(answer.Count(), 2);
        QVERIFY(form.Project().Modified);
        // The project left is on top of the recent list whatever the answer.
        QCOMPARE(QtText(form.Env().History.front()), QtText(form.Project().ProjectFileName));
        form.Project().Modified = false;
    }

    void anUnloadableProjectLeavesTheCurrentOneAlone() {
        TLumavoxForm& form = Make();
        const QString good = m_dir.filePath(QStringLiteral("good.PRJ"));
        {
            ProjectData project;
            SetHeaderTitle(project.Header, "Good show");
            project.ProjectFileName = good.toStdString();
            QVERIFY(SaveProjectFile(project, ThroughPatch(), 2000, 3000, false).Ok());
        }
        QVERIFY(form.OpenProject(good));
        QCOMPARE(form.windowTitle(), QStringLiteral("Lumavox  - Good show"));
        QCOMPARE(form.State().PrePlayTime.load(), 2000);
        // A stale recent entry: the box names the file, its control bytes escaped.
        const QString missing = m_dir.filePath(QStringLiteral("gone\n.PRJ"));
        form.Env().History.insert(form.Env().History.begin(), missing.toStdString());
        QString warning;
        {
            BoxAnswer answer(QMessageBox::Ok, &warning);
            QVERIFY(!form.OpenProject(missing));
        }
        QCOMPARE(warning, QStringLiteral("ファイルが見つかりません\n") +
                              m_dir.filePath(QStringLiteral("gone\\x0A.PRJ")));
        QCOMPARE(form.windowTitle(), QStringLiteral("Lumavox  - Good show"));
        QCOMPARE(QtText(form.Project().ProjectFileName), good);
        QCOMPARE(form.Env().HistoryIndex(missing.toStdString()), -1);
    }

    void aRefusedSoundNamesTheFile() {
        TLumavoxForm& form = Make();
        QString warning;
        {
            BoxAnswer answer(QMessageBox::Ok, &warning);
            form.HandleDroppedFile(m_dir.filePath(QStringLiteral("lost\x1B[2J.wav")));
        }
        QCOMPARE(warning, QStringLiteral("ファイルが見つかりません\n") +
                              m_dir.filePath(QStringLiteral("lost\\x1B[2J.wav")));
        const QString junk = m_dir.filePath(QStringLiteral("junk.WAV"));
        QFile file(junk);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not a sound at all");
        file.close();
        {
            BoxAnswer answer(QMessageBox::Ok, &warning);
            form.HandleDroppedFile(junk);
        }
        QCOMPARE(warning, QStringLiteral("不正なファイルです\n") + junk);
        QVERIFY(!form.WaveformHasData());
    }

    void aCommandLineFileThatIsNoProjectIsRefused() {
        for (const char* name : {"notes.txt", "song.wav"}) {
            const QString path = m_dir.filePath(QString::fromLatin1(name));
            if (QString::fromLatin1(name).endsWith(QStringLiteral(".wav"))) {
                WavFile(path, 4410);
            } else {
                QFile text(path);
                QVERIFY(text.open(QIODevice::WriteOnly));
                text.write("a note");
            }
            TLumavoxForm& form = Make(QString(), false);
            form.OpenAtStart(path);
            QString warning;
            BoxAnswer answer(QMessageBox::Ok, &warning);
            form.show();
            QTRY_COMPARE(answer.Count(), 1);
            QCOMPARE(warning, QStringLiteral("不正なファイルです\n") + path);
            // The project that is open keeps its sound and stays unmodified.
            QVERIFY(!form.WaveformHasData());
            QVERIFY(!form.Project().Modified);
            QVERIFY(HeaderSoundFile(form.Project().Header).empty());
        }
    }

    void recentEntriesCarryAccessKeysAndEscapeAmpersands() {
        TLumavoxForm& form = Make();
        form.RefreshRecentMenu();
        QVERIFY(!form.RecentMenu()->isEnabled());
        form.Env().History.clear();
        for (int i = 0; i < 11; ++i) {
            form.Env().History.push_back("/shows/R&B " + std::to_string(i) + ".PRJ");
        }
        form.RefreshRecentMenu();
        QVERIFY(form.RecentMenu()->isEnabled());
        const QList<QAction*> items = form.RecentMenu()->actions();
        QCOMPARE(items[0]->text(), QStringLiteral("&1: /shows/R&&B 0.PRJ"));
        QCOMPARE(items[9]->text(), QStringLiteral("&0: /shows/R&&B 9.PRJ"));
        QCOMPARE(items[10]->text(), QStringLiteral("   /shows/R&&B 10.PRJ"));
        QVERIFY(!items[11]->isVisible());
    }

    void panesToolsAndCommandsWorkTogether() {
        TLumavoxForm& form = Make();
        const QString wav = m_dir.filePath(QStringLiteral("ten.wav"));
        WavFile(wav, 441000);
        form.HandleDroppedFile(wav);
        QTRY_VERIFY(form.WaveformHasData());
        // Zooming in widens the time line the one scroll bar pages through.
        QScrollBar* bar = form.TimeScrollBar();
        const int before = bar->maximum();
        form.UpdateActions();
        QVERIFY(form.Action("ZoomInAction")->isEnabled());
        form.Action("ZoomInAction")->trigger();
        QVERIFY(bar->maximum() > before);
        // A tab makes its line current for the commands.
        auto* tabs = form.findChild<LineTabStrip*>(QStringLiteral("lineTabs"));
        QVERIFY(tabs);
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->TabRect(2).center());
        QCOMPARE(form.Project().CurrentLine.load(), 2);
        // A blank step through the action, then one undo takes it away again.
        form.State().CursorTime.store(1000);
        form.Project().Modified = false;
        form.UpdateActions();
        QVERIFY(form.Action("AddBlkStepAction")->isEnabled());
        form.Action("AddBlkStepAction")->trigger();
        QCOMPARE(form.Project().Lines[2].Count(), 1);
        QVERIFY(form.Project().Modified);
        form.UpdateActions();
        QVERIFY(form.Action("UndoAction")->isEnabled());
        form.Action("UndoAction")->trigger();
        QCOMPARE(form.Project().Lines[2].Count(), 0);
        // A double click on empty mark bar adds a step through the colour dialog, although the
        // colour command is disabled with nothing current.
        auto* markBar = form.findChild<QWidget*>(QStringLiteral("markBar"));
        QVERIFY(markBar);
        QVERIFY(!form.Action("PropStepAction")->isEnabled());
        QTimer::singleShot(300, m_stpProp.get(), [this] { m_stpProp->accept(); });
        QTest::mouseDClick(markBar, Qt::LeftButton, {}, QPoint(markBar->width() / 2, 20));
        QCOMPARE(form.Project().Lines[2].Count(), 1);
        form.Project().Modified = false;
    }

    // Redo answers Ctrl+Y and Ctrl+Shift+Z, sits beside undo in the edit menu and bar, and ends
    // with the next change.
    void redoAnswersBothKeysUntilTheNextChange() {
        TLumavoxForm& form = Make();
        ProjectData& project = form.Project();
        for (int t : {100, 200, 300}) AddStep(project, 0x0000FF, 0, t, 0, true);
        form.UpdateActions();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        for (int i = 0; i < 3; ++i) form.Action("UndoAction")->trigger();
        QTest::keyClick(&form, Qt::Key_Y, Qt::ControlModifier);
        QTest::keyClick(&form, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(project.Lines[0].Count(), 2);
        AddStep(project, 0x00FF00, 0, 400, 0, true);
        form.UpdateActions();
        QTest::keyClick(&form, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(project.Lines[0].Count(), 3);
        auto besideUndo = [&form](const QList<QAction*>& actions) {
            return actions.value(actions.indexOf(form.Action("UndoAction")) + 1) ==
                   form.Action("RedoAction");
        };
        QVERIFY(besideUndo(form.menuBar()->actions().at(1)->menu()->actions()));
        QVERIFY(besideUndo(form.ToolBar(1)->actions()));
    }

    void selectionCountAndReferenceGapFollowTheView() {
        TLumavoxForm& form = Make();
        const QString wav = m_dir.filePath(QStringLiteral("ten.wav"));
        WavFile(wav, 441000);
        form.HandleDroppedFile(wav);
        QTRY_VERIFY(form.WaveformHasData());
        ProjectData& project = form.Project();
        AddStep(project, 0xFF, 0, 1000, 0, false);
        AddStep(project, 0xFF, 0, 2000, 0, false);
        SetSelection(project, 1, true);
        QLabel* panel3 = form.StatusPanel(3);
        panel3->setText(QStringLiteral("stale"));
        form.UpdateActions();
        form.Action("NxtStpAction")->trigger();  // one step current and selected
        QCOMPARE(panel3->text(), QStringLiteral("選択中=1"));
        // saving deselects
        project.ProjectFileName = m_dir.filePath(QStringLiteral("show.prj")).toStdString();
        panel3->setText(QStringLiteral("stale"));
        form.UpdateActions();
        form.Action("SavePrjAction")->trigger();
        QCOMPARE(panel3->text(), QStringLiteral("選択中=0"));
        // a tab deselects too
        SetSelection(project, 1, true);
        auto* tabs = form.findChild<LineTabStrip*>(QStringLiteral("lineTabs"));
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->TabRect(7).center());
        QCOMPARE(panel3->text(), QStringLiteral("選択中=0"));
        // The panel above the reference line is 8 px while it is shown, 4 px otherwise.
        auto* gap = form.findChild<QWidget*>(QStringLiteral("stripGapBelow"));
        auto* refPane = form.findChild<QWidget*>(QStringLiteral("refPane"));
        auto* refHead = form.findChild<QWidget*>(QStringLiteral("headRef"));
        QVERIFY(gap && refPane && refHead);
        QCOMPARE(gap->maximumHeight(), 4);
        form.Action("ViewRefTrkAction")->trigger();
        QVERIFY(refPane->isVisible());
        QCOMPARE(gap->maximumHeight(), 8);
        // the header column's spacer spans the same gap, strip and splitter as the panes
        auto* lineEditor = form.findChild<QWidget*>(QStringLiteral("lineEditor"));
        const auto bottom = [&form](QWidget* w) {
            return w->mapTo(&form, QPoint()).y() + w->height();
        };
        QTRY_COMPARE(refHead->mapTo(&form, QPoint()).y() - refPane->mapTo(&form, QPoint()).y(),
                     bottom(tabs) - bottom(lineEditor));
        form.Action("ViewRefTrkAction")->trigger();
        QCOMPARE(gap->maximumHeight(), 4);
    }

    void dropsTakeOneLocalFileAfterStartUp() {
        TLumavoxForm& form = Make();
        const QString inside = m_dir.filePath(QStringLiteral("sound/beat.WAV"));
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("sound")));
        WavFile(inside, 4410);
        // A drag of two files is refused at the door.
        QMimeData two;
        two.setUrls({QUrl::fromLocalFile(inside), QUrl::fromLocalFile(inside)});
        QDragEnterEvent twoEnter(QPoint(10, 10), Qt::CopyAction, &two, Qt::LeftButton,
                                 Qt::NoModifier);
        QApplication::sendEvent(&form, &twoEnter);
        QVERIFY(!twoEnter.isAccepted());
        QMimeData one;
        one.setUrls({QUrl::fromLocalFile(inside)});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &one, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&form, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &one, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&form, &drop);
        QVERIFY(drop.isAccepted());
        QVERIFY(!form.Project().Modified);
        // Handled once the drop has returned; a sound inside the program folder is stored relative.
        QTRY_VERIFY(form.Project().Modified);
        QCOMPARE(QtText(HeaderSoundFile(form.Project().Header)), QStringLiteral("sound/beat.WAV"));
        form.Project().Modified = false;
    }

    void hintsGoToTheLastStatusPanel() {
        TLumavoxForm& form = Make();
        QStatusTipEvent tip(QStringLiteral("音量の変更"));
        QApplication::sendEvent(&form, &tip);
        QCOMPARE(form.StatusPanel(4)->text(), QStringLiteral("音量の変更"));
    }

    void aBackupFailureIsShownAgainAfterAManualSave() {
        TLumavoxForm& form = Make();
        // A backup waits while a button is held; a double click that opened a dialog in an
        // earlier test can leave one held in the test's pointer state.
        if (QApplication::mouseButtons() != Qt::NoButton)
            QTest::mouseRelease(&form, Qt::LeftButton);
        QCOMPARE(QApplication::mouseButtons(), Qt::NoButton);
        const QString folder = m_dir.filePath(QStringLiteral("shows"));
        form.Env().AutoSave = true;
        form.Project().ProjectFileName = (folder + QStringLiteral("/show.PRJ")).toStdString();
        form.Project().Modified = true;
        BoxAnswer answer(QMessageBox::Ok);
        form.BackupTick();  // no such folder: the failure is shown
        QCOMPARE(answer.Count(), 1);
        form.BackupTick();  // and not again while the backups keep failing
        QCOMPARE(answer.Count(), 1);
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(form.SaveProject());
        QVERIFY(QDir(folder).removeRecursively());
        form.Project().Modified = true;
        form.BackupTick();  // a failure after the save is news again
        QCOMPARE(answer.Count(), 2);
        form.Project().Modified = false;
    }

    void aSignalCloseReportsUnwritableSettingsOnStderr() {
        // The settings' folder is a file: nothing can be written there.
        QFile blocker(m_dir.filePath(QStringLiteral("not-a-folder")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        m_ini = m_dir.filePath(QStringLiteral("not-a-folder/lumavox.INI"));
        TLumavoxForm& form = Make();
        const QString log = m_dir.filePath(QStringLiteral("stderr.txt"));
        std::fflush(stderr);
        const int console = dup(STDERR_FILENO);
        const int file =
            open(QFile::encodeName(log).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(file, STDERR_FILENO);
        close(file);
        BoxAnswer answer(QMessageBox::Ok);
        form.CloseWithoutAsking();
        const bool closed = QTest::qWaitFor([&form] { return !form.isVisible(); }, 5000);
        std::fflush(stderr);
        dup2(console, STDERR_FILENO);
        close(console);
        QVERIFY(closed);
        QCOMPARE(answer.Count(), 0);  // no box waited for an answer
        QFile written(log);
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(written.readAll());
        QVERIFY2(text.contains(QStringLiteral("lumavox: ")) &&
                     text.contains(QStringLiteral("lumavox.INI")),
                 qPrintable(text));
    }

    void closingWritesTheSettingsOnce() {
        TLumavoxForm& form = Make();
        form.Action("ViewSttBarAction")->trigger();  // hide the status bar
        QVERIFY(form.close());
        QVERIFY(QFile::exists(Ini()));
        QFile file(Ini());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        QVERIFY(text.contains(QStringLiteral("[StatusBar]\r\nVisible=0")));
        QVERIFY(text.contains(QStringLiteral("CutStepActionItem=Ctrl+X")));
        m_stpProp.reset();
        m_stpTime.reset();
        m_form.reset();
        // The next start keeps the status bar hidden.
        TLumavoxForm& again = Make();
        QVERIFY(again.statusBar()->isHidden());
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
