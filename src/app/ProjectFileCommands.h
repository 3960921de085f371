#pragma once

#include <QMessageBox>
#include <QObject>
#include <QTimer>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/logic/MainWindowRules.h"
#include "editor/logic/ProjectCommands.h"
#include "editor/logic/SoundReplace.h"

class QAction;
class QDialog;
class QDragEnterEvent;
class QDropEvent;
class QMenu;
class QString;
class QWidget;

namespace lumavox {

struct EditorContext;
struct EngineState;
class EnvData;
class ProjectData;
struct PaneState;
class IEditPrompts;
class PlayPanel;
class ShowSession;
class SoundLoadTask;
struct SoundScan;
class TimePanes;
class WavSound;

// What the project file commands ask of the main window.
class IProjectFileHost {
public:
    virtual ~IProjectFileHost() = default;
    virtual void ShowWarning(const QString& text) = 0;
    // The display timer stops while a project is read and runs again (once the window has been
    // shown) when it is in.
    virtual void StopDisplayTimer() = 0;
    virtual void RestartDisplayTimer() = 0;
    // After a load or a settings change: the time line length, the panes, the palette bar.
    virtual void Invalidate() = 0;
    virtual void LayoutStep() = 0;
    virtual void UpdateCaption() = 0;
    virtual void UpdateActions() = 0;
    // The start-up continuation has run: drops are taken from then on.
    virtual bool Started() const = 0;
    // The closing sequence has begun: a sound read finishing now is dropped.
    virtual bool Closing() const = 0;
};

// The main window's project file commands: new, open, save, save as, the recent list, group files,
// files dropped on the window, the project settings and the automatic backup. UI thread only.
class ProjectFileCommands : public QObject, private IProjectCommandUi {
    Q_OBJECT
public:
    ProjectFileCommands(QWidget& window, IProjectFileHost& host, EditorContext& context,
                        ShowSession& session, PaneState& paneState, TimePanes& panes,
                        PlayPanel& play);
    ~ProjectFileCommands() override;

    // The project settings dialog and the prompts of the group commands, once they exist.
    void SetDialogs(QDialog* setPrj, IEditPrompts* prompts);

    // "[" + name + "] 変更内容を保存しますか": Yes saves (a failed or cancelled save gives Cancel).
    QMessageBox::StandardButton AskSaveChanges();
    // Opens the project at path (an empty path starts a new project). False when the file is not
    // a loadable project: the current project is then left as it was.
    // atStartUp: the settings' PrjFile at start, where a missing file quietly gives an untitled
    // project.
    // A project whose sound must be read (no peak cache it can trust) opens once a worker has
    // read it (SoundLoading() meanwhile; Escape cancels and leaves everything as it was): the
    // result is then false.
    bool OpenProject(const QString& path, bool atStartUp = false);
    // A sound is being read for an open or the project settings.
    bool SoundLoading() const;
    // The sound reader, writing to status panels 2 and 4 (once they exist); its stop, waiting for
    // the worker, before the window goes.
    void CreateSoundLoad();
    void StopSoundLoad();
    bool SaveProject();    // "上書き保存"
    bool SaveProjectAs();  // "名前を付けて保存"
    // The actions "新規作成" and "開く": the save question first, never while a drag holds steps.
    void NewProjectCommand();
    void OpenProjectCommand();
    // A file dropped on the window (or named on the command line).
    void HandleDroppedFile(const QString& path);
    void DragEnter(QDragEnterEvent* event);
    void Drop(QDropEvent* event);
    // The project settings dialog: settings mode, or new-project mode after a new project.
    void RunProjectSettings(bool newProject);
    void SaveGroup();
    void LoadGroup();
    // "サウンドの差し替え": another sound file for the show, the steps kept or shifted; one undo.
    // The new sound is read on the worker.
    void ReplaceSound();
    // The sounds that undo and redo of a replaced sound put back.
    SoundUndoMarks& SoundMarks() { return m_soundMarks; }

    // Fills the recent-project submenu with its hidden entries.
    void FillRecentMenu(QMenu* menu);
    QMenu* RecentMenu() const { return m_recentMenu; }
    // Rebuilds the recent-project entries (when "ファイル(&F)" opens).
    void RefreshRecentMenu();

    // The auto-backup timer from the options; its tick; an idle moment of the display tick, where
    // a backup that fell due during a drag or a dialog runs; the timer's stop at close.
    void SetupBackupTimer();
    void BackupTick();
    void IdleTick();
    void StopBackupTimer() { m_backupTimer.stop(); }

private:
    SaveAnswer AskSave(std::string_view text) override;
    std::optional<std::string> ChooseSavePath(const std::string& initialName) override;
    void ShowSaveError(const ProjectSaveResult& error) override;
    void AfterSaveCommand(bool saved);
    bool FinishOpen(const QString& path, bool atStartUp, SoundScan* readAhead);
    void FinishProjectSettings(QDialog* accepted, SoundScan* readAhead);
    void OpenRecent(int index);
    bool BackupDue() const;
    bool BackupBusy() const;
    void RunBackup();

    QWidget& m_window;
    IProjectFileHost& m_host;
    ProjectData& m_project;
    EnvData& m_env;
    EngineState& m_state;
    const WavSound& m_sound;
    ShowSession& m_session;
    PaneState& m_paneState;
    TimePanes& m_panes;
    PlayPanel& m_play;
    QDialog* m_setPrj = nullptr;
    IEditPrompts* m_prompts = nullptr;
    QMenu* m_recentMenu = nullptr;
    std::vector<QAction*> m_recentItems;
    QTimer m_backupTimer;
    AutoBackupGate m_backupGate;
    std::unique_ptr<SoundLoadTask> m_soundLoad;
    SoundUndoMarks m_soundMarks;
};

}  // namespace lumavox
