#include "app/MainWindow.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <algorithm>

#include "app/BeatLaneCommands.h"
#include "app/HelpWindow.h"
#include "dialogs/DialogEditPrompts.h"
#include "dialogs/QtPaletteImage.h"
#include "dialogs/TColMonForm.h"
#include "dialogs/TStpPropDlg.h"
#include "dialogs/TStpTimeDlg.h"

#include "dmx/OutputPair.h"
#include "editor/CurrentPalettePanel.h"
#include "editor/EditActions.h"
#include "editor/EditPrompts.h"
#include "editor/LineEditorPane.h"
#include "editor/QtText.h"
#include "editor/ReferencePane.h"
#include "editor/TimePanes.h"
#include "editor/logic/ActionTable.h"
#include "editor/logic/MainWindowRules.h"
#include "editor/logic/ProjectCommands.h"
#include "editor/logic/UiText.h"
#include "engine/OutputTimingSetup.h"
#include "engine/SacnSetup.h"
#include "model/Msgstr.h"
#include "settings/MainView.h"
#include "sound/player/FallbackSoundDevice.h"
#include "sound/player/PulseSoundDevice.h"

namespace lumavox {

void TLumavoxForm::Reporter::ShowStatus(std::string_view text) {
    QLabel* panel = m_form.StatusPanel(2);
    panel->setText(QtText(text));
    panel->repaint();
}

void TLumavoxForm::Reporter::ShowError(std::string_view text) {
    m_form.ShowWarning(QtText(text));
}

void TLumavoxForm::Reporter::ShowFileError(std::string_view text, std::string_view path) {
    m_form.ShowWarning(QtText(FileRefusalText(text, path)));
}

void TLumavoxForm::SessionUi::BeginBusy() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void TLumavoxForm::SessionUi::EndBusy() {
    QApplication::restoreOverrideCursor();
}

void TLumavoxForm::SessionUi::ShowWarning(std::string_view text) {
    m_form.ShowWarning(QtText(text));
}

ShortCut TLumavoxForm::OptionHostImpl::ActionShortCut(size_t index) const {
    return index < kMainActionCount ? m_form.CurrentShortCuts()[index] : ShortCut{0};
}

void TLumavoxForm::OptionHostImpl::SetActionShortCut(size_t index, ShortCut shortCut) {
    if (index >= kMainActionCount) return;
    MainShortCuts shortCuts = m_form.CurrentShortCuts();
    shortCuts[index] = shortCut;
    m_form.ApplyShortCuts(shortCuts);  // a key given twice stays with the first action
}

int TLumavoxForm::OptionHostImpl::DisplayPeriod() const {
    return m_form.m_dispTimer.interval();
}

void TLumavoxForm::OptionHostImpl::SetDisplayPeriod(int periodMs) {
    const bool running = m_form.m_dispTimer.isActive();
    m_form.m_dispTimer.stop();
    m_form.m_dispTimer.setInterval(periodMs);
    if (running) m_form.m_dispTimer.start();
}

TLumavoxForm::TLumavoxForm(Setup setup, QWidget* parent)
    : QMainWindow(parent), m_setup(std::move(setup)), m_env(m_setup.iniPath, m_setup.exeDir) {
    setObjectName(QStringLiteral("LumavoxForm"));
    setWindowTitle(QtText(UiText::AppTitle));
    m_dispTimer.stop();
    // Without a sound server the show still edits, locates and plays: on the clock, silently.
    m_device = m_setup.device ? std::move(m_setup.device)
                              : std::make_unique<FallbackSoundDevice>(
                                    std::make_unique<PulseSoundDevice>(), m_clock);
    m_close = std::make_unique<CloseSequence>(*this, m_closeHost, m_state, m_env, *m_device);
    m_env.Create(*m_device);
    CompletePaletteImage(m_env);  // a PNG palette image is read through Qt

    m_patch.ClearAll();  // nothing patched until a project brings its patch
    EngineContext context{m_state,
                          m_project,
                          m_patch,
                          m_lineOutput,
                          *m_device,
                          m_clock,
                          m_env.Repeat,
                          m_env.PatchCheckChannel,
                          [this](std::string_view message, std::string_view caption) {
                              // Output thread: show the box later on the UI thread.
                              const QString text = QtText(message);
                              const QString title = QtText(caption);
                              QMetaObject::invokeMethod(
                                  this,
                                  [this, text, title] {
                                      // One box at a time: repeats while it is up are dropped.
                                      if (m_warningShown) return;
                                      m_warningShown = true;
                                      QMessageBox::warning(this, title, text);
                                      m_warningShown = false;
                                  },
                                  Qt::QueuedConnection);
                          }};
    m_engine = std::make_unique<Engine>(context);

    m_dispTimer.setInterval(m_env.DispInterval);
    connect(&m_dispTimer, &QTimer::timeout, this, &TLumavoxForm::DisplayTick);

    m_panes = new TimePanes(m_ctx, m_paneState, this);
    m_edit = new EditActions(m_ctx, this);
    m_play = new PlayPanel(m_ctx, *m_device, this);
    m_files = new ProjectFileCommands(*this, m_filesHost, m_ctx, m_session, m_paneState, *m_panes,
                                      *m_play);
    CreateActions();
    CreateMenus();
    CreateToolBars();
    setCentralWidget(CreateCentre());
    m_play->CreateStatusPanels(statusBar());
    m_files->CreateSoundLoad();
    ConnectEditActions();
    ConnectPanes();
    ConnectBeatLane();
    ApplyWaveHeights();
    SetReferenceView(0, false);
    resize(851, 669);
    move(157, 64);

    if (m_setup.outputs) {
        OutputPairConfig config;
        config.TxUniverse = m_env.TxUniverse;
        config.ArtnetUnicast = m_env.ArtnetUnicast;
        config.ArtSync = m_env.ArtSync;
        config.UsbPeriodMs = static_cast<uint32_t>(std::max(1, m_env.DmxInterval));
        config.UsbVendorId = static_cast<uint16_t>(m_env.UsbVendorId);
        config.UsbProductId = static_cast<uint16_t>(m_env.UsbProductId);
        config.Sacn = SacnConfigFrom(m_env.Sacn);
        config.Timing = OutputTimingFrom(m_env);
        m_outputs = std::make_unique<OutputPair>(*m_engine, m_clock, config);
        m_outputs->Start(OutputTypeOf(m_env.DmxType, m_env.Sacn.Selected));
        // The thread learns of a refused address only when it first runs: shown once, here.
        const std::string error = m_outputs->InitErrorAfterStart();
        if (!error.empty()) {
            const UiText caption = m_outputs->Active() == OutputType::Sacn
                                       ? UiText::SacnInitError
                                       : UiText::ArtNetInitError;
            QMessageBox::warning(nullptr, QtText(caption), QtText(error));
        }
    }

    // A shortcut is matched against the enabled states: they are brought up to date first.
    qApp->installEventFilter(this);
    UpdateActions();
}

TLumavoxForm::~TLumavoxForm() {
    qApp->removeEventFilter(this);  // no key reaches a half-destroyed window
    m_files->StopSoundLoad();       // while the status panels it writes to still exist
    m_beats->Stop();
    if (m_outputs) m_outputs->Terminate();
    // The time panes unregister from their group when they go: before the group and the objects
    // they draw, which this window's members hold.
    delete centralWidget();
}

void TLumavoxForm::RefreshActions() {
    if (Closing()) return;
    if (!m_actionsShown || *m_actionsShown != CurrentActionInputs()) UpdateActions();
}

TLumavoxForm::ActionInputs TLumavoxForm::CurrentActionInputs() const {
    return {m_edit->Facts(), m_paneState.Busy()};
}

QAction* TLumavoxForm::Action(ActionId id) const {
    return IndexOf(id) < m_actions.size() ? m_actions[IndexOf(id)] : nullptr;
}

QAction* TLumavoxForm::Action(std::string_view name) const {
    const std::optional<ActionId> id = ActionIdFromName(name);
    return id ? Action(*id) : nullptr;
}

void TLumavoxForm::ApplyOptions() {
    m_files->SetupBackupTimer();
    m_dispTimer.setInterval(m_env.DispInterval);
    ApplyToolBarStyle();
    RecomputeTimelineLength(m_state);
    LayoutStep();
}

void TLumavoxForm::SetAuxWindows(const AuxWindows& windows) {
    m_aux = windows;
    if (m_aux.stpProp && m_aux.stpTime) {
        m_prompts = MakeEditPrompts(this, *m_aux.stpProp, *m_aux.stpTime);
        m_edit->Attach(m_paneState, *m_prompts);
    }
    m_files->SetDialogs(m_aux.setPrj, m_prompts.get());
    if (m_aux.colMon) {
        // As a tab: pressing the current line's panel (to drag it) leaves the selection alone.
        connect(m_aux.colMon, &TColMonForm::CurrentLineRequested, m_panes, [this](int line) {
            if (line != m_panes->CurrentLineIndex()) m_panes->SetCurrentLine(line, true);
        });
        connect(m_aux.colMon, &TColMonForm::VisibleChanged, this, [this](bool visible) {
            if (!Closing()) Action(ActionId::ViewColMonAction)->setChecked(visible);
        });
    }
}

bool TLumavoxForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) RefreshActions();
    if (watched == m_lineEditor && event->type() == QEvent::Resize && !Closing()) LayoutStep();
    return QMainWindow::eventFilter(watched, event);
}

void TLumavoxForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (m_shownOnce) return;
    m_shownOnce = true;
    RestorePlacement();
    const MainView view = LoadMainView(m_env.Ini());
    RestoreToolBars();
    statusBar()->setVisible(view.StatusBarVisible);
    Action(ActionId::ViewSttBarAction)->setChecked(view.StatusBarVisible);
    Action(ActionId::ViewRefTrkAction)->setChecked(view.ViewRefTrack);
    Action(ActionId::DispMonoAction)->setChecked(view.DispMonoWav);
    m_waveHeight = view.WavLRHeight;
    m_panes->SetWaveGain(view.WavAmpZoom);
    m_refHeight = view.RefTrackHi;
    ApplyWaveHeights();
    SetReferenceView(view.RefTrack, view.ViewRefTrack);
    if (view.ViewColMon && m_aux.colMon) m_aux.colMon->show();
    Action(ActionId::ViewColMonAction)->setChecked(view.ViewColMon);
    m_beats->Restore(m_env.Ini());
    activateWindow();
    ApplyShortCuts(LoadShortCuts(m_env.Ini()));
    m_play->ShowDeviceVolume();
    QMetaObject::invokeMethod(this, &TLumavoxForm::StartupContinuation, Qt::QueuedConnection);
}

void TLumavoxForm::StartupContinuation() {
    if (Closing()) return;
    FitFrameToPlacement();
    update();
    m_dispTimer.start(m_env.DispInterval);
    // A missing project named in the settings starts an untitled project quietly.
    OpenProject(QString(), true);
    m_files->SetupBackupTimer();
    setAcceptDrops(true);
    m_started = true;
    if (!m_startFile.isEmpty()) {
        // Only a project is opened from the command line; anything else (a sound, a text) is
        // refused rather than dropped on the project that is open.
        const QString file = m_startFile;
        m_startFile.clear();
        const std::string files[] = {StdText(file)};
        if (ClassifyDrop(files) == DropAction::Project) {
            HandleDroppedFile(file);
        } else {
            ShowWarning(QtText(FileRefusalText(MsgText(Msg::IllegalFile), files[0])));
        }
    }
    DisplayTick();
}

void TLumavoxForm::UpdateActions() {
    if (Closing()) return;
    m_actionsShown = CurrentActionInputs();
    m_edit->UpdateActions([this](ActionId id) { return Action(id); });
    m_palettePanel->ZeroAction()->setEnabled(m_panes->CanChangeBrightness());
    if (SoundLoading()) {
        // Nothing may change the project while the sound of the one replacing it is read.
        for (QAction* action : m_actions) {
            if (action) action->setEnabled(false);
        }
        m_palettePanel->ZeroAction()->setEnabled(false);
    }
    emit actionsUpdated();
}

void TLumavoxForm::DisplayTick() {
    if (Closing()) return;
    m_state.PreviewColour.store(m_aux.stpProp ? m_aux.stpProp->PreviewForOutput() : NoColour);
    m_play->Tick(m_outputs.get());
    // An open finished by the tick changes the time line's length: the layout follows.
    const int32_t timeline = m_state.TimelineLength.load();
    if (timeline != m_lastTimeline) {
        m_lastTimeline = timeline;
        LayoutStep();
    }
    m_panes->DisplayTick();
    m_beats->Tick();
    m_palettePanel->Refresh();
    m_play->OutputPanel()->Refresh();
    // What changed since the last tick (an edit, the engine, the transport) reaches the actions
    // once; an idle editor recomputes nothing.
    RefreshActions();
    // A backup that fell due during a drag or a dialog runs at the next idle moment.
    m_files->IdleTick();
}

void TLumavoxForm::UpdateCaption() {
    setWindowTitle(
        QtText(WindowCaptionText(HeaderTitle(m_project.Header), m_env.PrjFile, UntitledCaption())));
}

void TLumavoxForm::LayoutStep() {
    if (Closing()) return;
    m_panes->Relayout(m_lineEditor->width());  // a zero width leaves the fit zoom alone
    m_panes->InvalidateAll();
}

void TLumavoxForm::Invalidate() {
    // After a load or a settings change: the time line may have a new length.
    LayoutStep();
    m_panes->StepsReplaced();
    m_palettePanel->Refresh();
}

void TLumavoxForm::ShowWarning(const QString& text) {
    // The busy pointer, if any, gives way while the box is up.
    const bool busy = QApplication::overrideCursor() != nullptr;
    if (busy) QApplication::setOverrideCursor(Qt::ArrowCursor);
    QMessageBox box(QMessageBox::Warning, QtText(Msg::Warning), text, QMessageBox::Ok, this);
    box.exec();
    if (busy) QApplication::restoreOverrideCursor();
}

void TLumavoxForm::ShowHelp(int context) {
    if (!m_help) {
        // Beside the program in a build, in the shared data folder once installed; one folder per
        // language.
        const QString language =
            m_setup.language == UiLanguage::English ? QStringLiteral("/en") : QStringLiteral("/ja");
        QString folder = QtText(m_env.ExeDir) + QStringLiteral("help") + language;
        const QString installed =
            QtText(m_env.ExeDir) + QStringLiteral("../share/lumavox/help") + language;
        if (!QFileInfo::exists(folder) && QFileInfo::exists(installed)) folder = installed;
        m_help = new HelpWindow(QDir::cleanPath(folder), this);
    }
    m_help->ShowTopic(context);
}

bool TLumavoxForm::event(QEvent* event) {
    switch (event->type()) {
        case QEvent::StatusTip:
            // Hints go to panel 4 instead of hiding the panels as a temporary message.
            if (!Closing())
                m_play->StatusPanel(4)->setText(static_cast<QStatusTipEvent*>(event)->tip());
            return true;
        case QEvent::WindowActivate:
            // By the first activation the window manager has framed the window: the last fit.
            FitFrameToPlacement();
            m_placementPending = false;
            // Also after a modal dialog closes.
            LayoutStep();
            break;
        case QEvent::WhatsThis:
        case QEvent::KeyPress:
            break;
        default:
            break;
    }
    return QMainWindow::event(event);
}

}  // namespace lumavox
