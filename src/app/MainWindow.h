#pragma once

#include <QMainWindow>
#include <QMessageBox>
#include <QTimer>
#include <array>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/CloseSequence.h"
#include "app/PlayPanel.h"
#include "app/ProjectFileCommands.h"
#include "dialogs/TOptionDlg.h"
#include "dmx/Patch.h"
#include "editor/logic/ActionTable.h"
#include "editor/logic/BeatMarks.h"
#include "editor/logic/EditorContext.h"
#include "editor/logic/MainWindowRules.h"
#include "editor/logic/PaneState.h"
#include "editor/logic/ProjectCommands.h"
#include "editor/logic/TimeLine.h"
#include "editor/logic/UiLanguage.h"
#include "engine/Engine.h"
#include "engine/EngineState.h"
#include "engine/ShowSession.h"
#include "engine/Transport.h"
#include "model/ProjectData.h"
#include "platform/Clock.h"
#include "settings/EnvData.h"
#include "settings/ShortCut.h"
#include "sound/SoundReporter.h"
#include "sound/WavSound.h"
#include "sound/player/SoundDevice.h"

class QLabel;
class QMenu;
class QScrollBar;
class QSlider;
class QToolBar;
class QAction;
class QFrame;

namespace lumavox {

class OutputPair;
class TStpPropDlg;
class TStpTimeDlg;
class TColMonForm;
class TSelExForm;
class HelpWindow;
class TimePanes;
class WaveformPane;
class MarkBar;
class LineEditorPane;
class OutputStrip;
class ReferencePane;
class ReferenceHeader;
class LineTabStrip;
class LinePopup;
class EditActions;
class IEditPrompts;
class CurrentPalettePanel;
class LineOutputPanel;
class PaneSplitter;
class BeatLane;
class BeatLaneCommands;

// The other windows of the program, created once after the main window and handed to it.
struct AuxWindows {
    QDialog* setPrj = nullptr;
    TStpPropDlg* stpProp = nullptr;
    QDialog* about = nullptr;
    QDialog* option = nullptr;
    TColMonForm* colMon = nullptr;
    TSelExForm* selEx = nullptr;
    TStpTimeDlg* stpTime = nullptr;
    QDialog* artNetProp = nullptr;
};

// The main window: owns the settings, the project, the sound and its waveform, the engine and the
// two output threads for the whole run; arranges the tool bars, menus, time panes and status bar.
// UI thread only.
class TLumavoxForm : public QMainWindow {
    Q_OBJECT
public:
    struct Setup {
        std::string iniPath;                   // the settings file
        std::string exeDir;                    // the program folder, ending in '/'
        bool outputs = true;                   // create the output threads (tests leave them out)
        std::unique_ptr<ISoundDevice> device;  // null: the sound server, or the silent clock
        UiLanguage language = UiLanguage::Japanese;  // of the texts; picks the help pages
    };
    explicit TLumavoxForm(Setup setup, QWidget* parent = nullptr);
    ~TLumavoxForm() override;

    // Also connects the monitor and the selection window and gives the edit commands their
    // dialogs.
    void SetAuxWindows(const AuxWindows& windows);
    // A project named on the command line: handled like a drop of that file once the window runs;
    // a file that is not a project is refused with a message.
    void OpenAtStart(const QString& path) { m_startFile = path; }
    // Closes through the closing sequence without the save question (termination signals); no box
    // waits for an answer then (a settings file that cannot be written is reported on stderr).
    void CloseWithoutAsking() { m_close->CloseWithoutAsking(); }

    // "[" + name + "] 変更内容を保存しますか": Yes saves (a failed or cancelled save gives Cancel).
    QMessageBox::StandardButton AskSaveChanges() { return m_files->AskSaveChanges(); }
    // Opens the project at path (an empty path starts a new project). False when the file is not
    // a loadable project: the current project is then left as it was.
    // atStartUp: the settings' PrjFile at start, where a missing file quietly gives an untitled
    // project.
    // A project whose sound must be read (no peak cache it can trust) opens once a worker has
    // read it (SoundLoading() meanwhile; Escape cancels and leaves everything as it was): the
    // result is then false.
    bool OpenProject(const QString& path, bool atStartUp = false) {
        return m_files->OpenProject(path, atStartUp);
    }
    // A sound is being read for an open or the project settings.
    bool SoundLoading() const { return m_files->SoundLoading(); }
    bool SaveProject() { return m_files->SaveProject(); }      // "上書き保存"
    bool SaveProjectAs() { return m_files->SaveProjectAs(); }  // "名前を付けて保存"
    // A file dropped on the window (or named on the command line).
    void HandleDroppedFile(const QString& path) { m_files->HandleDroppedFile(path); }

    // What the panes and later commands need.
    // A main action; null for CurBrt0Action, which the palette panel holds.
    QAction* Action(ActionId id) const;
    // The same by object name, for names from outside (tests); null for an unknown name.
    QAction* Action(std::string_view name) const;
    QLabel* StatusPanel(int index) const { return m_play->StatusPanel(index); }
    QLabel* TimeLabelWidget() const { return m_play->TimeLabelWidget(); }
    int32_t TimeLabelColour() const { return m_play->TimeLabelColour(); }  // 0x00BBGGRR
    QSlider* VolumeSlider() const { return m_play->Volume(); }
    QScrollBar* TimeScrollBar() const { return m_scrollBar; }
    QToolBar* ToolBar(int index) const { return m_bars[static_cast<size_t>(index)]; }
    QMenu* RecentMenu() const { return m_files->RecentMenu(); }
    EnvData& Env() { return m_env; }
    PatchTable& Patch() { return m_patch; }
    WavSound& Sound() { return m_sound; }
    // Null when the window was made without output threads.
    OutputPair* Outputs() { return m_outputs.get(); }
    // What the options dialog changes at once here (shortcuts, the display period).
    IOptionHost& OptionHost() { return m_optionHost; }
    // The project settings dialog: settings mode, or new-project mode after a new project.
    void RunProjectSettings(bool newProject) { m_files->RunProjectSettings(newProject); }
    ProjectData& Project() { return m_project; }
    EngineState& State() { return m_state; }
    Transport& TransportControl() { return m_transport; }
    // For a test that plays the output thread of a window made without outputs.
    Engine& EngineForTest() { return *m_engine; }
    bool StartupDone() const { return m_started; }
    bool WaveformHasData() const { return !m_sound.List().Empty(); }
    // After the options dialog's OK: backup timer, display period, tool bar style, time line
    // length, repaint.
    void ApplyOptions();

    // Recomputes the enabled state of every action: after a command, when a menu is about to show,
    // and from the display tick or before a shortcut is matched when what the rules read changed.
    void UpdateActions();
    // One display timer tick.
    void DisplayTick();
    // The auto-backup timer's work.
    void BackupTick() { m_files->BackupTick(); }
    // Rebuilds the recent-project entries (when "ファイル(&F)" opens).
    void RefreshRecentMenu() { m_files->RefreshRecentMenu(); }

    // What the panes, the edit commands and the dialogs work on.
    EditorContext& Context() { return m_ctx; }
    PaneState& Panes() { return m_paneState; }
    TimePanes& TimePaneGroup() { return *m_panes; }
    EditActions& Edit() { return *m_edit; }
    CurrentPalettePanel& Palette() { return *m_palettePanel; }
    // The onsets and beats of the open sound (empty until found) and the lane that shows them.
    const BeatMarks& Beats() const { return m_beatMarks; }
    BeatLaneCommands& BeatCommands() { return *m_beats; }

signals:
    // UpdateActions() has run.
    void actionsUpdated();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override { m_files->DragEnter(event); }
    void dropEvent(QDropEvent* event) override { m_files->Drop(event); }

private:
    class Reporter final : public SoundReporter {
    public:
        explicit Reporter(TLumavoxForm& form) : m_form(form) {}
        void ShowStatus(std::string_view text) override;
        void ShowError(std::string_view text) override;
        void ShowFileError(std::string_view text, std::string_view path) override;

    private:
        TLumavoxForm& m_form;
    };

    class FilesHostImpl final : public IProjectFileHost {
    public:
        explicit FilesHostImpl(TLumavoxForm& form) : m_form(form) {}
        void ShowWarning(const QString& text) override { m_form.ShowWarning(text); }
        void StopDisplayTimer() override { m_form.m_dispTimer.stop(); }
        void RestartDisplayTimer() override {
            if (m_form.m_shownOnce) m_form.m_dispTimer.start(m_form.m_env.DispInterval);
        }
        void Invalidate() override { m_form.Invalidate(); }
        void LayoutStep() override { m_form.LayoutStep(); }
        void UpdateCaption() override { m_form.UpdateCaption(); }
        void UpdateActions() override { m_form.UpdateActions(); }
        bool Started() const override { return m_form.m_started; }
        bool Closing() const override { return m_form.Closing(); }

    private:
        TLumavoxForm& m_form;
    };

    class SessionUi final : public ISessionUi {
    public:
        explicit SessionUi(TLumavoxForm& form) : m_form(form) {}
        void BeginBusy() override;
        void EndBusy() override;
        void ShowWarning(std::string_view text) override;

    private:
        TLumavoxForm& m_form;
    };

    class OptionHostImpl final : public IOptionHost {
    public:
        explicit OptionHostImpl(TLumavoxForm& form) : m_form(form) {}
        ShortCut ActionShortCut(size_t index) const override;
        void SetActionShortCut(size_t index, ShortCut shortCut) override;
        int DisplayPeriod() const override;
        void SetDisplayPeriod(int periodMs) override;

    private:
        TLumavoxForm& m_form;
    };

    class CloseHostImpl final : public ICloseHost {
    public:
        explicit CloseHostImpl(TLumavoxForm& form) : m_form(form) {}
        bool AskSaveChanges() override;
        void StopDisplay() override;
        OutputPair* Outputs() override { return m_form.Outputs(); }
        void SaveWindowState() override { m_form.SaveWindowState(); }
        void ShowWarning(const QString& text) override { m_form.ShowWarning(text); }

    private:
        TLumavoxForm& m_form;
    };

    void CreateActions();
    void ConnectEditActions();
    void ConnectPanes();
    void ConnectBeatLane();
    void ShowActionMenu(std::span<const MenuEntry> layout, const QPoint& globalPos);
    void SetReferenceView(int refLine, bool shown);
    void ApplyWaveHeights();
    void ShowWaveHeaderTexts();  // "L", "R" or "L+R", with the amplitude zoom under them
    void RunSelectEx();
    QAction* CommandItem(QMenu* menu, std::string_view name);
    void FillMenu(QMenu* menu, std::span<const MenuEntry> entries);
    void CreateMenus();
    void CreateToolBars();
    QWidget* CreateCentre();
    void StartupContinuation();
    void ApplyShortCuts(const MainShortCuts& shortCuts);
    MainShortCuts CurrentShortCuts() const;
    void RestoreToolBars();
    void SaveToolBars();
    void RestorePlacement();
    void SavePlacementNow();
    void FitFrameToPlacement();
    QMargins FrameMargins() const;
    void SaveWindowState();
    bool Closing() const { return m_close->Closing(); }
    void UpdateCaption();
    void ApplyToolBarStyle();
    void PlayFromStart();
    void Play();
    void Stop();
    void ToSoundStart();
    void ToSoundEnd();
    void RepaintColourMonitor();

    void ExportFseq();
    void ShowHelp(int context);
    void ShowWarning(const QString& text);
    void Invalidate();
    void LayoutStep();
    // UpdateActions() when what the rules read differs from what they last read (cheap).
    void RefreshActions();

    struct ActionInputs {
        ActionFacts Facts;
        bool DragActive = false;
        bool operator==(const ActionInputs&) const = default;
    };
    ActionInputs CurrentActionInputs() const;

    Setup m_setup;
    EnvData m_env;
    Reporter m_reporter{*this};
    WavSound m_sound{m_reporter};
    ProjectData m_project;
    PatchTable m_patch;
    LineOutput m_lineOutput;
    EngineState m_state;
    SteadyClock m_clock;
    std::unique_ptr<ISoundDevice> m_device;
    std::unique_ptr<Engine> m_engine;
    Transport m_transport{m_state, m_clock, m_env.Repeat};
    TimeLine m_timeLine;
    EditorContext m_ctx{m_project, m_state,      m_env,       m_sound,
                        m_patch,   m_lineOutput, m_transport, m_timeLine};
    PaneState m_paneState;
    TimePanes* m_panes = nullptr;
    EditActions* m_edit = nullptr;
    std::unique_ptr<IEditPrompts> m_prompts;
    SessionUi m_sessionUi{*this};
    ShowSession m_session{m_project, m_state, m_patch, m_sound, m_env, m_sessionUi};
    FilesHostImpl m_filesHost{*this};
    ProjectFileCommands* m_files = nullptr;
    std::unique_ptr<OutputPair> m_outputs;
    AuxWindows m_aux;
    OptionHostImpl m_optionHost{*this};
    CloseHostImpl m_closeHost{*this};
    std::unique_ptr<CloseSequence> m_close;  // made with the sound device, first in the body

    std::array<QAction*, kMainActionCount> m_actions{};
    QAction* m_refTrkShort = nullptr;  // ViewRefTrkAction as shown in "表示(&V)"
    QAction* m_repeatItem = nullptr;
    QMenu* m_fileMenu = nullptr;
    std::array<QToolBar*, 4> m_bars{};
    PlayPanel* m_play = nullptr;
    QRect m_placedFrame;              // the stored outer bounds, fitted into the screen
    bool m_placementPending = false;  // the frame was not known yet when they were applied
    QScrollBar* m_scrollBar = nullptr;
    HelpWindow* m_help = nullptr;

    // The time panes and the header column, in layout order.
    QWidget* m_headL = nullptr;
    QWidget* m_headR = nullptr;
    QWidget* m_headMark = nullptr;
    LineTabStrip* m_lineTabs = nullptr;
    QWidget* m_refSpacer = nullptr;
    ReferenceHeader* m_headRef = nullptr;
    WaveformPane* m_waveL = nullptr;
    QWidget* m_waveBevel = nullptr;
    WaveformPane* m_waveR = nullptr;
    PaneSplitter* m_waveSplitter = nullptr;
    MarkBar* m_markBar = nullptr;
    QWidget* m_headBeat = nullptr;
    BeatLane* m_beatLane = nullptr;
    BeatMarks m_beatMarks;
    BeatLaneCommands* m_beats = nullptr;
    LineEditorPane* m_lineEditor = nullptr;
    OutputStrip* m_outputStrip = nullptr;
    PaneSplitter* m_refSplitter = nullptr;
    ReferencePane* m_refPane = nullptr;
    CurrentPalettePanel* m_palettePanel = nullptr;
    LinePopup* m_linePopup = nullptr;
    int m_waveHeight = 360;  // L pane + bevel + R pane
    int m_refHeight = 80;
    bool m_multiMode = false;

    QTimer m_dispTimer;
    bool m_shownOnce = false;
    bool m_started = false;                      // the start-up continuation has run
    std::optional<ActionInputs> m_actionsShown;  // what the actions' states were computed from

    bool m_warningShown = false;  // an engine warning box is up
    int32_t m_lastTimeline = -1;
    QString m_startFile;
};

}  // namespace lumavox
