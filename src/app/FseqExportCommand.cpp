// "File → Export FSEQ...": the show as a sequence for show players, with a progress dialog that
// can cancel it (a cancelled export leaves no file).
#include <QFileInfo>
#include <QMessageBox>
#include <QProgressDialog>
#include <QStatusBar>
#include <cstring>
#include <filesystem>

#include "app/MainWindow.h"
#include "dialogs/TFseqExportDlg.h"
#include "editor/QtText.h"
#include "editor/logic/EditTexts.h"
#include "export/FseqExport.h"
#include "model/Msgstr.h"

namespace lumavox {

namespace {
inline constexpr std::string_view kExporting =
    LV_TEXT("Lumavox", "FSEQ ファイルを書き出しています...");
inline constexpr std::string_view kExported = LV_TEXT("Lumavox", "%1 を書き出しました");
inline constexpr std::string_view kCannotWrite =
    LV_TEXT("Lumavox", "ファイル %1 を書き出せません。\n%2");
inline constexpr std::string_view kNotAFile = LV_TEXT("Lumavox", "通常のファイルではありません");
inline constexpr std::string_view kIsInput =
    LV_TEXT("Lumavox", "このショーのプロジェクトかサウンドのファイルです");
inline constexpr std::string_view kCompressFailed = LV_TEXT("Lumavox", "zstd 圧縮に失敗しました");
}  // namespace

void TLumavoxForm::ExportFseq() {
    // Defaults: the project's name with .fseq beside it, the sound's file name as the media.
    FseqExportOptions options;
    const std::string soundPath = m_state.SoundPath.Get();
    options.MediaName = std::filesystem::path(soundPath).filename().string();
    QString path;
    if (!m_project.ProjectFileName.empty()) {
        const QFileInfo project(QtText(m_project.ProjectFileName));
        path = project.absolutePath() + QLatin1Char('/') + project.completeBaseName() +
               QStringLiteral(".fseq");
    }
    TFseqExportDlg dialog(path, options, this);
    if (dialog.exec() != QDialog::Accepted) return;
    path = QFileInfo(dialog.Path().trimmed()).absoluteFilePath();
    options = dialog.Options();
    // Never over one of the show's own files (also through a link).
    const QString target = QFileInfo(path).canonicalFilePath();
    for (const std::string& input : {m_project.ProjectFileName, soundPath}) {
        if (!target.isEmpty() && !input.empty() &&
            target == QFileInfo(QtText(input)).canonicalFilePath()) {
            QMessageBox::warning(this, QtText(Msg::Warning),
                                 Tr(kCannotWrite).arg(path, Tr(kIsInput)));
            return;
        }
    }

    const int64_t endMs =
        static_cast<int64_t>(m_state.SoundLength.load()) + m_state.PostPlayTime.load();
    QProgressDialog progress(Tr(kExporting), Tr(edittext::kCancel), 0, 1000, this);
    progress.setWindowTitle(dialog.windowTitle());
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    progress.setValue(0);
    // Runs here on the UI thread, the one that writes the steps, so it reads them without a lock;
    // the modal dialog's setValue keeps the window painted and takes the cancel click.
    const FseqExportResult result = lumavox::ExportFseq(
        m_project, m_patch, endMs, options, StdText(path), [&](uint32_t done, uint32_t total) {
            progress.setValue(static_cast<int>(static_cast<uint64_t>(done) * 1000 / total));
            return !progress.wasCanceled();
        });
    progress.reset();

    QString reason;
    switch (result.Status) {
        case FseqExportStatus::Done:
            statusBar()->showMessage(Tr(kExported).arg(path), 5000);
            return;
        case FseqExportStatus::Cancelled:
            return;
        case FseqExportStatus::BadOptions:
            reason = QtText(result.Problem);
            break;
        case FseqExportStatus::CannotCreate:
        case FseqExportStatus::WriteFailed:
            reason = result.SystemError == EINVAL && result.Status == FseqExportStatus::CannotCreate
                         ? Tr(kNotAFile)
                         : QString::fromLocal8Bit(std::strerror(result.SystemError));
            break;
        case FseqExportStatus::Compress:
            reason = Tr(kCompressFailed);
            break;
    }
    QMessageBox::warning(this, QtText(Msg::Warning), Tr(kCannotWrite).arg(path, reason));
}

}  // namespace lumavox
