// The main window's project file commands: new, open, save, save as, the recent list, group files,
// files dropped on the window, the project settings and the automatic backup.
#include "app/MainWindow.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMimeData>
#include <QUrl>

#include "dialogs/TReplaceSoundDlg.h"
#include "dialogs/TSetPrjDlg.h"
#include "editor/EditPrompts.h"
#include "editor/QtText.h"
#include "editor/TimePanes.h"
#include "editor/logic/ActionTable.h"
#include "editor/logic/MainWindowRules.h"
#include "editor/logic/ProjectCommands.h"
#include "editor/logic/UiText.h"
#include "model/Msgstr.h"
#include "model/ProjectFile.h"
#include "sound/player/PcmSource.h"

namespace lumavox {

void TLumavoxForm::SetupBackupTimer() {
    m_backupTimer.stop();
    if (m_env.AutoSave && m_env.SaveInterval > 0) {
        m_backupTimer.start(std::min(m_env.SaveInterval, 24 * 60) * 60000);
    }
}

bool TLumavoxForm::BackupDue() const {
    return AutoBackupDue(m_env.AutoSave, m_project.Modified, m_project.ProjectFileName);
}

bool TLumavoxForm::BackupBusy() const {
    return QApplication::activeModalWidget() != nullptr ||
           QApplication::mouseButtons() != Qt::NoButton;
}

void TLumavoxForm::BackupTick() {
    if (m_backupGate.TimerFired(BackupDue(), BackupBusy())) RunBackup();
}

void TLumavoxForm::RunBackup() {
    m_panels[4]->setText(QtText(UiText::AutoBackup));
    m_panels[4]->repaint();
    const ProjectSaveResult result = m_session.SaveBackup();
    m_panels[4]->clear();
    if (result.Ok()) {
        m_backupGate.Succeeded();
    } else if (m_backupGate.Failed()) {
        ShowSaveError(result);
    }
}

void TLumavoxForm::RefreshRecentMenu() {
    const std::vector<std::string>& history = m_env.History;
    for (size_t i = 0; i < m_recentItems.size(); ++i) {
        const int index = static_cast<int>(i);
        const bool visible = RecentEntryVisible(history, index);
        m_recentItems[i]->setVisible(visible);
        if (visible) m_recentItems[i]->setText(QtText(RecentEntryCaption(index, history[i])));
    }
    m_recentMenu->setEnabled(RecentSubmenuEnabled(history));
}

void TLumavoxForm::RunProjectSettings(bool newProject) {
    auto* dialog = qobject_cast<TSetPrjDlg*>(m_aux.setPrj);
    if (!dialog) return;
    const std::string_view command = newProject ? "NewPrjAction" : "SetPrjAction";
    dialog->Prepare(Tr(FindAction(command)->Caption), newProject);
    if (dialog->exec() == QDialog::Accepted && dialog->ApplyAccepted(m_session)) {
        // After the settings the caption names the title, else the file (no "<無題>").
        setWindowTitle(QtText(WindowCaptionText(HeaderTitle(m_project.Header), m_env.PrjFile, "")));
    }
    LayoutStep();  // the time line length may have changed (times, sound)
    UpdateActions();
}

SaveAnswer TLumavoxForm::CommandUi::AskSave(std::string_view text) {
    QMessageBox box(QMessageBox::Question, QtText(Msg::Confirm), QtText(text),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, &m_form);
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

std::optional<std::string> TLumavoxForm::CommandUi::ChooseSavePath(const std::string& initialName) {
    QFileDialog dialog(&m_form);
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

void TLumavoxForm::CommandUi::ShowSaveError(const ProjectSaveResult& error) {
    m_form.ShowSaveError(error);
}

void TLumavoxForm::ShowSaveError(const ProjectSaveResult& error) {
    ShowWarning(QtText(error.Error) + QStringLiteral("\n") + QtText(error.SystemError));
}

QMessageBox::StandardButton TLumavoxForm::AskSaveChanges() {
    switch (lumavox::AskSaveChanges(m_session, m_project, m_env, m_commandUi)) {
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

bool TLumavoxForm::SaveProject() {
    const bool saved = SaveProjectCommand(m_session, m_project, m_env, m_commandUi);
    AfterSaveCommand(saved);
    return saved;
}

bool TLumavoxForm::SaveProjectAs() {
    const bool saved = SaveProjectAsCommand(m_session, m_env, m_commandUi);
    AfterSaveCommand(saved);
    return saved;
}

void TLumavoxForm::AfterSaveCommand(bool saved) {
    if (saved) {
        UpdateCaption();
        m_backupGate.Succeeded();  // a later failing backup is shown again
    }
    Invalidate();
    m_panes->ShowSelection(false);  // saving deselects every step
}

bool TLumavoxForm::OpenProject(const QString& path, bool atStartUp) {
    m_dispTimer.stop();
    const OpenResult result =
        atStartUp ? m_session.OpenAtStartUp() : m_session.OpenProject(StdText(path));
    if (result.Outcome == OpenOutcome::Refused) {
        // Nothing changed; a recent entry naming a file that is gone is dropped.
        ShowWarning(QtText(FileRefusalText(FileStatusText(result.Status), StdText(path))));
        if (result.Status == FileStatus::NotFound) {
            const int index = m_env.HistoryIndex(StdText(path));
            if (index >= 0) m_env.History.erase(m_env.History.begin() + index);
        }
    } else {
        // Every step is new: nothing the panes held by address may be compared with them.
        m_panes->DropGestures();
        m_paneState.CurrentStep = nullptr;
        m_paneState.AnchorStep = nullptr;
        if (!result.ResaveError.Ok()) ShowSaveError(result.ResaveError);
        if (result.Outcome != OpenOutcome::Untitled) UpdateCaption();
    }
    Invalidate();
    if (m_shownOnce) m_dispTimer.start(m_env.DispInterval);
    UpdateActions();
    // A new project goes on in the project settings dialog, with the display timer running.
    if (result.Outcome == OpenOutcome::NewProject) RunProjectSettings(true);
    return result.Outcome == OpenOutcome::Opened;
}

void TLumavoxForm::OpenRecent(int index) {
    if (index < 0 || static_cast<size_t>(index) >= m_env.History.size()) return;
    const QString path = QtText(m_env.History[static_cast<size_t>(index)]);
    if (m_panes->StepEditLocked() || AskSaveChanges() == QMessageBox::Cancel) return;
    OpenProject(path);
}

void TLumavoxForm::HandleDroppedFile(const QString& path) {
    const std::string files[] = {StdText(path)};
    switch (ClassifyDrop(files)) {
        case DropAction::Project:
            if (AskSaveChanges() != QMessageBox::Cancel) OpenProject(path);
            break;
        case DropAction::Sound:
            if (m_session.ChangeSound(files[0])) {
                Invalidate();
                UpdateActions();
            }
            break;
        case DropAction::Ignore:
            break;
    }
}

void TLumavoxForm::ReplaceSound() {
    if (m_panes->StepEditLocked() || !WaveformHasData()) return;
    const QString wav = QtText(MsgText(Msg::SoundFile)) + QStringLiteral(" (*.wav *.WAV)");
    const QString mp3 = QtText(MsgText(Msg::SoundFile)) + QStringLiteral(" (*.mp3 *.MP3)");
    QFileDialog dialog(this, QtText(Msg::SelSoundFile));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({wav, mp3});
    const std::string current = m_state.SoundPath.Get();
    if (!current.empty()) dialog.setDirectory(QFileInfo(QtText(current)).path());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    const std::string path = StdText(dialog.selectedFiles().constFirst());

    // The new time line ends where the player will end the new sound.
    const PcmSourceResult source = OpenPcmSource(path);
    if (!source.Source) {
        ShowWarning(QtText(Msg::NoSupportFrm));
        return;
    }
    const int64_t lengthMs = FramesToMs(source.Source->FrameCount(), source.Source->Rate());
    const TimeLimits limits{m_state.PrePlayTime.load(), m_state.PostPlayTime.load(),
                            static_cast<int32_t>(std::min<int64_t>(lengthMs, INT32_MAX))};
    TReplaceSoundDlg shiftDialog(
        m_project, limits, QFileInfo(QtText(HeaderSoundFile(m_project.Header))).fileName(),
        QFileInfo(QtText(path)).fileName(), ProposedSoundShiftMs(current, path), this);
    if (shiftDialog.exec() != QDialog::Accepted) return;
    if (lumavox::ReplaceSound(m_session, m_project, m_soundMarks, path, shiftDialog.ShiftMs())) {
        m_panes->StepsReplaced();
        LayoutStep();
    }
    Invalidate();
    UpdateCaption();
    UpdateActions();
}

void TLumavoxForm::SaveGroup() {
    const QString path =
        QFileDialog::getSaveFileName(this, QString(), QString(), QtText(GroupFileFilter()));
    if (path.isEmpty()) return;
    const GroupSaveTarget target = GroupSaveTargetFor(StdText(path));
    if (target.AskReplace && !m_prompts->Confirm(AskReplaceText(target.Path))) return;
    const ProjectSaveResult result = SaveGroupFile(m_project, target.Path);
    if (!result.Ok())
        ShowWarning(QtText(result.Error) + QStringLiteral("\n") + QtText(result.SystemError));
}

void TLumavoxForm::LoadGroup() {
    if (m_panes->StepEditLocked()) return;
    QFileDialog dialog(this);
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
    Invalidate();
    int selected = 0;
    for (const TStepList& line : m_project.Lines) {
        for (int32_t i = 0; i < line.Count(); ++i) selected += line.At(i).Selected != 0 ? 1 : 0;
    }
    m_panels[3]->setText(QtText(SelectionCountText(selected)));
}

void TLumavoxForm::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (m_started && urls.size() == 1 && urls.constFirst().isLocalFile()) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void TLumavoxForm::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!m_started || urls.size() != 1 || !urls.constFirst().isLocalFile()) {
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
