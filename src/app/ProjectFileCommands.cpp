#include "app/ProjectFileCommands.h"

#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

#include "app/PlayPanel.h"
#include "app/SoundLoadTask.h"
#include "dialogs/TReplaceSoundDlg.h"
#include "dialogs/TSetPrjDlg.h"
#include "editor/EditPrompts.h"
#include "editor/QtText.h"
#include "editor/TimePanes.h"
#include "editor/logic/ActionTable.h"
#include "editor/logic/EditorContext.h"
#include "editor/logic/MainWindowRules.h"
#include "editor/logic/PaneState.h"
#include "editor/logic/ProjectCommands.h"
#include "editor/logic/UiText.h"
#include "engine/EngineState.h"
#include "engine/ShowSession.h"
#include "model/Msgstr.h"
#include "model/ProjectData.h"
#include "model/ProjectFile.h"
#include "settings/EnvData.h"
#include "sound/player/PcmSource.h"

namespace lumavox {

ProjectFileCommands::ProjectFileCommands(QWidget& window, IProjectFileHost& host,
                                         EditorContext& context, ShowSession& session,
                                         PaneState& paneState, TimePanes& panes, PlayPanel& play)
    : QObject(&window),
      m_window(window),
      m_host(host),
      m_project(context.project),
      m_env(context.env),
      m_state(context.engine),
      m_sound(context.sound),
      m_session(session),
      m_paneState(paneState),
      m_panes(panes),
      m_play(play) {
    connect(&m_backupTimer, &QTimer::timeout, this, &ProjectFileCommands::BackupTick);
}

ProjectFileCommands::~ProjectFileCommands() = default;

void ProjectFileCommands::SetDialogs(QDialog* setPrj, IEditPrompts* prompts) {
    m_setPrj = setPrj;
    m_prompts = prompts;
}

void ProjectFileCommands::SetupBackupTimer() {
    m_backupTimer.stop();
    if (m_env.AutoSave && m_env.SaveInterval > 0) {
        m_backupTimer.start(std::min(m_env.SaveInterval, 24 * 60) * 60000);
    }
}

bool ProjectFileCommands::BackupDue() const {
    return AutoBackupDue(m_env.AutoSave, m_project.Modified, m_project.ProjectFileName);
}

bool ProjectFileCommands::BackupBusy() const {
    // While a sound is read for an open, the project being left is not written behind the save
    // question's answer.
    return QApplication::activeModalWidget() != nullptr ||
           QApplication::mouseButtons() != Qt::NoButton || SoundLoading();
}

void ProjectFileCommands::BackupTick() {
    if (m_backupGate.TimerFired(BackupDue(), BackupBusy())) RunBackup();
}

void ProjectFileCommands::IdleTick() {
    if (!BackupBusy() && m_backupGate.Idle(BackupDue())) RunBackup();
}

void ProjectFileCommands::RunBackup() {
    QLabel* panel = m_play.StatusPanel(4);
    panel->setText(QtText(UiText::AutoBackup));
    panel->repaint();
    const ProjectSaveResult result = m_session.SaveBackup();
    panel->clear();
    if (result.Ok()) {
        m_backupGate.Succeeded();
    } else if (m_backupGate.Failed()) {
        ShowSaveError(result);
    }
}

void ProjectFileCommands::FillRecentMenu(QMenu* menu) {
    m_recentMenu = menu;
    for (int i = 0; i < static_cast<int>(EnvData::kSavedHistoryCount); ++i) {
        QAction* item = menu->addAction(QString());
        item->setVisible(false);
        connect(item, &QAction::triggered, this, [this, i] { OpenRecent(i); });
        m_recentItems.push_back(item);
    }
}

void ProjectFileCommands::RefreshRecentMenu() {
    const std::vector<std::string>& history = m_env.History;
    for (size_t i = 0; i < m_recentItems.size(); ++i) {
        const int index = static_cast<int>(i);
        const bool visible = RecentEntryVisible(history, index);
        m_recentItems[i]->setVisible(visible);
        if (visible) m_recentItems[i]->setText(QtText(RecentEntryCaption(index, history[i])));
    }
    m_recentMenu->setEnabled(RecentSubmenuEnabled(history));
}

void ProjectFileCommands::RunProjectSettings(bool newProject) {
    auto* dialog = qobject_cast<TSetPrjDlg*>(m_setPrj);
    if (!dialog) return;
    const ActionId command = newProject ? ActionId::NewPrjAction : ActionId::SetPrjAction;
    dialog->Prepare(Tr(ActionInfoOf(command).Caption), newProject);
    if (dialog->exec() != QDialog::Accepted) {
        FinishProjectSettings(nullptr, nullptr);
        return;
    }
    const std::string sound = dialog->SoundToRead();
    if (sound.empty()) {
        FinishProjectSettings(dialog, nullptr);
        return;
    }
    // A new sound is read on the worker; the rest of the settings is applied with it.
    m_soundLoad->Start(sound, [this, dialog](SoundScan&& scan) {
        if (!m_host.Closing()) FinishProjectSettings(dialog, &scan);
    });
}

void ProjectFileCommands::FinishProjectSettings(QDialog* accepted, SoundScan* readAhead) {
    auto* dialog = qobject_cast<TSetPrjDlg*>(accepted);
    if (dialog && dialog->ApplyAccepted(m_session, readAhead)) {
        // After the settings the caption names the title, else the file (no "<無題>").
        m_window.setWindowTitle(
            QtText(WindowCaptionText(HeaderTitle(m_project.Header), m_env.PrjFile, "")));
    }
    m_host.LayoutStep();  // the time line length may have changed (times, sound)
    m_host.UpdateActions();
}

SaveAnswer ProjectFileCommands::AskSave(std::string_view text) {
    QMessageBox box(QMessageBox::Question, QtText(Msg::Confirm), QtText(text),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, &m_window);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
        case QMessageBox::Yes:
            return SaveAnswer::Yes;
        case QMessageBox::No:
            return SaveAnswer::No;
        default:
            return SaveAnswer::Cancel;
    }
}

std::optional<std::string> ProjectFileCommands::ChooseSavePath(const std::string& initialName) {
    QFileDialog dialog(&m_window);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(QtText(ProjectFileFilter()));
    dialog.setDefaultSuffix(QStringLiteral("PRJ"));
    // Qt asks before an existing file is replaced (the confirmation stays on).
    if (!initialName.empty()) {
        const QFileInfo info(QtText(initialName));
        dialog.setDirectory(info.absolutePath());
        dialog.selectFile(info.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return StdText(dialog.selectedFiles().constFirst());
}

void ProjectFileCommands::ShowSaveError(const ProjectSaveResult& error) {
    m_host.ShowWarning(QtText(error.Error) + QStringLiteral("\n") + QtText(error.SystemError));
}

QMessageBox::StandardButton ProjectFileCommands::AskSaveChanges() {
    switch (lumavox::AskSaveChanges(m_session, m_project, m_env, *this)) {
        case SaveAnswer::Yes:  // saved
            m_backupGate.Succeeded();
            return QMessageBox::Yes;
        case SaveAnswer::No:
            return QMessageBox::No;
        case SaveAnswer::Cancel:
            break;
    }
    return QMessageBox::Cancel;
}

bool ProjectFileCommands::SaveProject() {
    const bool saved = SaveProjectCommand(m_session, m_project, m_env, *this);
    AfterSaveCommand(saved);
    return saved;
}

bool ProjectFileCommands::SaveProjectAs() {
    const bool saved = SaveProjectAsCommand(m_session, m_env, *this);
    AfterSaveCommand(saved);
    return saved;
}

void ProjectFileCommands::AfterSaveCommand(bool saved) {
    if (saved) {
        m_host.UpdateCaption();
        m_backupGate.Succeeded();  // a later failing backup is shown again
    }
    m_host.Invalidate();
    m_panes.ShowSelection(false);  // saving deselects every step
}

bool ProjectFileCommands::SoundLoading() const {
    return m_soundLoad && m_soundLoad->Busy();
}

void ProjectFileCommands::CreateSoundLoad() {
    m_soundLoad =
        std::make_unique<SoundLoadTask>(m_window, *m_play.StatusPanel(2), *m_play.StatusPanel(4));
    connect(m_soundLoad.get(), &SoundLoadTask::busyChanged, this,
            [this] { m_host.UpdateActions(); });
}

void ProjectFileCommands::StopSoundLoad() {
    m_soundLoad.reset();
}

bool ProjectFileCommands::OpenProject(const QString& path, bool atStartUp) {
    m_soundLoad->Cancel();  // a later open replaces one still reading its sound
    const std::string sound = m_session.SoundToRead(atStartUp ? m_env.PrjFile : StdText(path));
    if (sound.empty()) return FinishOpen(path, atStartUp, nullptr);
    // The window paints and the current project stays until the sound has been read.
    m_soundLoad->Start(sound, [this, path, atStartUp](SoundScan&& scan) {
        // Cancelled: the project that was open simply stays.
        if (!m_host.Closing() && !scan.Cancelled) FinishOpen(path, atStartUp, &scan);
    });
    return false;
}

bool ProjectFileCommands::FinishOpen(const QString& path, bool atStartUp, SoundScan* readAhead) {
    m_host.StopDisplayTimer();
    const OpenResult result = atStartUp ? m_session.OpenAtStartUp(readAhead)
                                        : m_session.OpenProject(StdText(path), readAhead);
    if (result.Outcome == OpenOutcome::Refused) {
        // Nothing changed; a recent entry naming a file that is gone is dropped.
        m_host.ShowWarning(QtText(FileRefusalText(FileStatusText(result.Status), StdText(path))));
        if (result.Status == FileStatus::NotFound) {
            const int index = m_env.HistoryIndex(StdText(path));
            if (index >= 0) m_env.History.erase(m_env.History.begin() + index);
        }
    } else {
        // Every step is new: nothing the panes held by address may be compared with them.
        m_panes.DropGestures();
        m_paneState.CurrentStep = nullptr;
        m_paneState.AnchorStep = nullptr;
        if (!result.ResaveError.Ok()) ShowSaveError(result.ResaveError);
        if (result.Outcome != OpenOutcome::Untitled) m_host.UpdateCaption();
    }
    m_host.Invalidate();
    m_host.RestartDisplayTimer();
    m_host.UpdateActions();
    // A new project goes on in the project settings dialog, with the display timer running.
    if (result.Outcome == OpenOutcome::NewProject) RunProjectSettings(true);
    return result.Outcome == OpenOutcome::Opened;
}

// The project commands replace every step: never while a drag or band holds some.
void ProjectFileCommands::NewProjectCommand() {
    if (m_panes.StepEditLocked()) return;
    if (AskSaveChanges() != QMessageBox::Cancel) OpenProject(QString());
}

void ProjectFileCommands::OpenProjectCommand() {
    if (m_panes.StepEditLocked() || AskSaveChanges() == QMessageBox::Cancel) return;
    QFileDialog dialog(&m_window, QtText(Msg::OpenProject));
    dialog.setNameFilter(QtText(ProjectFileFilter()));
    dialog.setDefaultSuffix(QStringLiteral("PRJ"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (!m_env.PrjFile.empty()) {
        dialog.setDirectory(QFileInfo(QtText(m_env.PrjFile)).absolutePath());
    }
    dialog.selectFile(QStringLiteral("*.PRJ"));
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        OpenProject(dialog.selectedFiles().constFirst());
    }
}

void ProjectFileCommands::OpenRecent(int index) {
    if (index < 0 || static_cast<size_t>(index) >= m_env.History.size()) return;
    const QString path = QtText(m_env.History[static_cast<size_t>(index)]);
    if (m_panes.StepEditLocked() || AskSaveChanges() == QMessageBox::Cancel) return;
    OpenProject(path);
}

void ProjectFileCommands::HandleDroppedFile(const QString& path) {
    const std::string files[] = {StdText(path)};
    switch (ClassifyDrop(files)) {
        case DropAction::Project:
            if (AskSaveChanges() != QMessageBox::Cancel) OpenProject(path);
            break;
        case DropAction::Sound:
            if (m_session.ChangeSound(files[0])) {
                m_host.Invalidate();
                m_host.UpdateActions();
            }
            break;
        case DropAction::Ignore:
            break;
    }
}

void ProjectFileCommands::ReplaceSound() {
    if (m_panes.StepEditLocked() || m_sound.List().Empty() || SoundLoading()) return;
    const QString wav = QtText(MsgText(Msg::SoundFile)) + QStringLiteral(" (*.wav *.WAV)");
    const QString mp3 = QtText(MsgText(Msg::SoundFile)) + QStringLiteral(" (*.mp3 *.MP3)");
    QFileDialog dialog(&m_window, QtText(Msg::SelSoundFile));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({wav, mp3});
    const std::string current = m_state.SoundPath.Get();
    if (!current.empty()) dialog.setDirectory(QFileInfo(QtText(current)).path());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    const std::string path = StdText(dialog.selectedFiles().constFirst());

    // The new time line ends where the player will end the new sound.
    const PcmSourceResult source = OpenPcmSource(path);
    if (!source.Source) {
        m_host.ShowWarning(QtText(Msg::NoSupportFrm));
        return;
    }
    const int64_t lengthMs = FramesToMs(source.Source->FrameCount(), source.Source->Rate());
    const TimeLimits limits{m_state.PrePlayTime.load(), m_state.PostPlayTime.load(),
                            static_cast<int32_t>(std::min<int64_t>(lengthMs, INT32_MAX))};
    TReplaceSoundDlg shiftDialog(
        m_project, limits, QFileInfo(QtText(HeaderSoundFile(m_project.Header))).fileName(),
        QFileInfo(QtText(path)).fileName(), ProposedSoundShiftMs(current, path), &m_window);
    if (shiftDialog.exec() != QDialog::Accepted) return;
    const int32_t shiftMs = shiftDialog.ShiftMs();
    // The new sound is read on the worker; the steps move and the undo state is saved with it.
    m_soundLoad->Start(path, [this, path, shiftMs](SoundScan&& scan) {
        if (m_host.Closing() || scan.Cancelled) return;
        if (lumavox::ReplaceSound(m_session, m_project, m_soundMarks, path, shiftMs, &scan)) {
            m_panes.StepsReplaced();
            m_host.LayoutStep();
        }
        m_host.Invalidate();
        m_host.UpdateCaption();
        m_host.UpdateActions();
    });
}

void ProjectFileCommands::SaveGroup() {
    const QString path =
        QFileDialog::getSaveFileName(&m_window, QString(), QString(), QtText(GroupFileFilter()));
    if (path.isEmpty()) return;
    const GroupSaveTarget target = GroupSaveTargetFor(StdText(path));
    if (target.AskReplace && !m_prompts->Confirm(AskReplaceText(target.Path))) return;
    const ProjectSaveResult result = SaveGroupFile(m_project, target.Path);
    if (!result.Ok())
        m_host.ShowWarning(QtText(result.Error) + QStringLiteral("\n") +
                           QtText(result.SystemError));
}

void ProjectFileCommands::LoadGroup() {
    if (m_panes.StepEditLocked()) return;
    QFileDialog dialog(&m_window);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(QtText(GroupFileFilter()));
    dialog.setDefaultSuffix(QStringLiteral("GRP"));
    if (!m_env.PrjFile.empty())
        dialog.setDirectory(QFileInfo(QtText(m_env.PrjFile)).absolutePath());
    dialog.selectFile(QStringLiteral("*.GRP"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    LoadGroupFile(m_project, StdText(dialog.selectedFiles().constFirst()),
                  m_state.CursorTime.load());
    m_host.Invalidate();
    int selected = 0;
    for (const TStepList& line : m_project.Lines) {
        for (int32_t i = 0; i < line.Count(); ++i) selected += line.At(i).Selected != 0 ? 1 : 0;
    }
    m_play.StatusPanel(3)->setText(QtText(SelectionCountText(selected)));
}

void ProjectFileCommands::DragEnter(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (m_host.Started() && urls.size() == 1 && urls.constFirst().isLocalFile()) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void ProjectFileCommands::Drop(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!m_host.Started() || urls.size() != 1 || !urls.constFirst().isLocalFile()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    // Handled after the drop returns: a box opened inside the drop would stall the drag source.
    const QString path = urls.constFirst().toLocalFile();
    QMetaObject::invokeMethod(
        this, [this, path] { HandleDroppedFile(path); }, Qt::QueuedConnection);
}

}  // namespace lumavox
