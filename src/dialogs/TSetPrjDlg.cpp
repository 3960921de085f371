#include "dialogs/TSetPrjDlg.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QUrl>
#include <algorithm>

#include "dialogs/PatchGrid.h"
#include "dmx/Patch.h"
#include "editor/QtText.h"
#include "editor/logic/ActionTable.h"
#include "editor/logic/DialogTexts.h"
#include "engine/EngineState.h"
#include "engine/ShowSession.h"
#include "model/ProjectData.h"
#include "model/ProjectFile.h"
#include "settings/EnvData.h"
#include "settings/Placement.h"
#include "sound/SoundInfo.h"
#include "sound/SoundScan.h"

namespace lumavox {

namespace {

constexpr int kMaxSeconds = 30;

// A fixed text of the dialog, in the chosen language.
QString T(std::string_view text) {
    return Tr(text);
}

template <typename W>
W* Place(W* widget, int x, int y, int w, int h) {
    widget->setGeometry(x, y, w, h);
    return widget;
}

QComboBox* TimeList(QWidget* parent, int x, int y) {
    auto* combo = Place(new QComboBox(parent), x, y, 68, 24);
    combo->setMaxVisibleItems(10);
    return combo;
}

struct BusyCursor {
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace

TSetPrjDlg::TSetPrjDlg(ProjectData& project, EngineState& engine, PatchTable& patch, EnvData& env,
                       WavSound& sound, QWidget* parent)
    : QDialog(parent),
      m_project(project),
      m_engine(engine),
      m_patchTable(patch),
      m_env(env),
      m_wav(sound) {
    setObjectName(QStringLiteral("TSetPrjDlg"));
    setWindowTitle(
        QtText(CaptionWithoutAccessKeys(Translated(FindAction("SetPrjAction")->Caption))));
    setProperty("helpContext", 14);
    setFixedSize(472, 328);
    setAcceptDrops(true);

    m_pages = Place(new QTabWidget(this), 0, 0, 472, 273);
    m_pages->setProperty("helpContext", 9);
    m_pages->addTab(CreateGeneralPage(), T(dlgtext::kProjectPages[0]));
    m_pages->addTab(CreatePatchPage(), T(dlgtext::kProjectPages[1]));
    m_pages->addTab(CreateTimesPage(), T(dlgtext::kProjectPages[2]));
    connect(m_pages, &QTabWidget::currentChanged, this, &TSetPrjDlg::CheckOff);

    auto* ok = Place(new QPushButton(T(dlgtext::kOk), this), 140, 288, 80, 25);
    ok->setObjectName(QStringLiteral("OKBtn"));
    ok->setDefault(true);
    auto* cancel = Place(new QPushButton(T(dlgtext::kCancel), this), 252, 288, 80, 25);
    cancel->setObjectName(QStringLiteral("CancelBtn"));
    connect(ok, &QPushButton::clicked, this, &TSetPrjDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &TSetPrjDlg::reject);
}

QWidget* TSetPrjDlg::CreateGeneralPage() {
    auto* page = new QWidget;
    auto* titleGroup = Place(new QGroupBox(T(dlgtext::kTitleGroup), page), 8, 16, 441, 57);
    m_title = Place(new QLineEdit(titleGroup), 16, 24, 409, 23);
    m_title->setObjectName(QStringLiteral("TitleEdit"));
    connect(m_title, &QLineEdit::textEdited, this, [this] { m_titleChanged = true; });

    auto* soundGroup = Place(new QGroupBox(T(dlgtext::kSoundGroup), page), 8, 96, 441, 89);
    m_sound = Place(new QLineEdit(soundGroup), 16, 24, 369, 23);
    m_sound->setObjectName(QStringLiteral("WavFileEdit"));
    connect(m_sound, &QLineEdit::textEdited, this, [this] { m_soundChanged = true; });
    auto* browse = Place(new QPushButton(QStringLiteral("..."), soundGroup), 388, 22, 35, 25);
    browse->setObjectName(QStringLiteral("RefWavBtn"));
    connect(browse, &QPushButton::clicked, this, &TSetPrjDlg::ChooseSound);
    m_info = Place(new QLabel(soundGroup), 16, 64, 369, 15);
    m_info->setObjectName(QStringLiteral("WavInfLabel"));
    m_info->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return page;
}

QWidget* TSetPrjDlg::CreatePatchPage() {
    // The page has a 5-px border: every position below is 5 px further in.
    constexpr int b = 5;
    auto* page = new QWidget;
    m_grid = Place(new PatchGrid(m_patchTable, page), b, b, 340, 273 - 30 - 2 * b);
    connect(m_grid->Model(), &PatchGridModel::edited, this, &TSetPrjDlg::MarkModified);
    connect(m_grid, &PatchGrid::currentRowChanged, this, &TSetPrjDlg::ApplyCheck);

    m_through = Place(new QPushButton(T(dlgtext::kThroughPatch), page), b + 350, b + 144, 100, 25);
    m_through->setObjectName(QStringLiteral("ThrPatBtn"));
    m_clearAll = Place(new QPushButton(T(dlgtext::kClearPatch), page), b + 350, b + 194, 100, 25);
    m_clearAll->setObjectName(QStringLiteral("AllClrBtn"));
    connect(m_through, &QPushButton::clicked, this, [this] { AskAndPatch(true); });
    connect(m_clearAll, &QPushButton::clicked, this, [this] { AskAndPatch(false); });

    auto* check = Place(new QGroupBox(T(dlgtext::kCheckGroup), page), b + 353, b + 21, 93, 93);
    m_checkOn = Place(new QPushButton(QStringLiteral("ON"), check), 8, 29, 75, 25);
    m_checkOn->setObjectName(QStringLiteral("ChkOnBtn"));
    m_checkOff = Place(new QPushButton(QStringLiteral("OFF"), check), 8, 59, 75, 25);
    m_checkOff->setObjectName(QStringLiteral("ChkOffBtn"));
    m_checkOn->setCheckable(true);
    m_checkOff->setCheckable(true);
    auto* group = new QButtonGroup(check);
    group->setExclusive(true);
    group->addButton(m_checkOn);
    group->addButton(m_checkOff);
    m_checkOff->setChecked(true);
    connect(m_checkOn, &QPushButton::toggled, this, &TSetPrjDlg::ApplyCheck);
    return page;
}

QWidget* TSetPrjDlg::CreateTimesPage() {
    auto* page = new QWidget;
    Place(new QLabel(T(dlgtext::kPrePlay), page), 16, 24, 120, 18);
    Place(new QLabel(T(dlgtext::kPostPlay), page), 16, 56, 120, 18);
    Place(new QLabel(T(dlgtext::kSeconds), page), 216, 24, 20, 18);
    Place(new QLabel(T(dlgtext::kSeconds), page), 216, 56, 20, 18);
    m_preTime = TimeList(page, 141, 21);
    m_preTime->setObjectName(QStringLiteral("PreTimeComboBox"));
    m_postTime = TimeList(page, 141, 53);
    m_postTime->setObjectName(QStringLiteral("PostTimeComboBox"));
    return page;
}

void TSetPrjDlg::Prepare(const QString& title, bool newProject) {
    setWindowTitle(QtText(CaptionWithoutAccessKeys(StdText(title))));
    if (newProject) {
        m_title->clear();
        m_sound->clear();
        m_engine.SoundPath.Set(std::string());
    } else {
        m_title->setText(QtText(HeaderTitle(m_project.Header)));
        m_sound->setText(QtText(HeaderSoundFile(m_project.Header)));
    }
    m_titleChanged = false;
    m_soundChanged = false;
}

void TSetPrjDlg::showEvent(QShowEvent* event) {
    CheckOff();
    WindowPlacement placement;
    placement.Border = BorderKind::Dialog;
    const QPoint centre = parentWidget() ? parentWidget()->window()->frameGeometry().center() -
                                               QPoint(width() / 2, height() / 2)
                                         : pos();
    LoadPlacement(m_env.Ini(), dlgtext::kSettingsSection, placement, height(), width(), centre.y(),
                  centre.x());
    move(placement.Left, placement.Top);
    ShowSoundInfo(m_sound->text());
    for (QComboBox* list : {m_preTime, m_postTime}) {
        list->clear();
        for (int s = 0; s <= kMaxSeconds; ++s) list->addItem(QString::number(s));
    }
    // Whole seconds, truncated; a time beyond the list selects nothing (and OK then keeps it).
    const int pre = m_engine.PrePlayTime.load() / 1000;
    const int post = m_engine.PostPlayTime.load() / 1000;
    m_preTime->setCurrentIndex(pre >= 0 && pre <= kMaxSeconds ? pre : -1);
    m_postTime->setCurrentIndex(post >= 0 && post <= kMaxSeconds ? post : -1);
    QDialog::showEvent(event);
}

void TSetPrjDlg::hideEvent(QHideEvent* event) {
    CheckOff();
    WindowPlacement placement;
    placement.Border = BorderKind::Dialog;
    const QRect frame = frameGeometry();
    placement.Left = frame.left();
    placement.Top = frame.top();
    placement.Width = frame.width();
    placement.Height = frame.height();
    SavePlacement(m_env.Ini(), dlgtext::kSettingsSection, placement);
    QDialog::hideEvent(event);
}

void TSetPrjDlg::accept() {
    if (m_titleChanged) {
        // The project file holds a title of limited length: refuse what it could not store.
        ProjectHeader probe = m_project.Header;
        if (!SetHeaderTitle(probe, StdText(m_title->text()))) {
            QMessageBox::warning(this, QtText(Msg::Warning), T(dlgtext::kTitleTooLong));
            m_pages->setCurrentIndex(0);
            m_title->setFocus();
            return;
        }
    }
    const auto take = [this](QComboBox* list, std::atomic<int32_t>& time) {
        if (list->currentIndex() < 0) return;
        const int32_t t = list->currentIndex() * 1000;
        if (t != time.load()) {
            time.store(t);
            m_project.Modified = true;
        }
    };
    take(m_preTime, m_engine.PrePlayTime);
    take(m_postTime, m_engine.PostPlayTime);
    QDialog::accept();
}

std::string TSetPrjDlg::SoundToRead() const {
    return m_soundChanged ? ResolveSoundPath(StdText(m_sound->text()), m_env.ExeDir)
                          : std::string();
}

bool TSetPrjDlg::ApplyAccepted(ShowSession& session, SoundScan* readAhead) {
    BusyCursor busy;
    if (m_soundChanged) {
        m_soundChanged = false;
        if (readAhead == nullptr || !readAhead->Cancelled) {
            const std::string stored = StdText(m_sound->text());
            session.ChangeSound(ResolveSoundPath(stored, m_env.ExeDir), stored, readAhead);
            m_project.Modified = true;  // whatever the load gave
        }
    }
    const bool titleChanged = m_titleChanged;
    if (titleChanged) {
        m_titleChanged = false;
        if (SetHeaderTitle(m_project.Header, StdText(m_title->text()))) m_project.Modified = true;
    }
    RecomputeTimelineLength(m_engine);
    // A shorter pre- or post-play time must not leave the play position outside the time line.
    if (!m_engine.TransportActive.load()) {
        const int32_t low = -m_engine.PrePlayTime.load();
        const int32_t high =
            std::max(low, m_engine.SoundLength.load() + m_engine.PostPlayTime.load());
        m_engine.CursorTime.store(std::clamp(m_engine.CursorTime.load(), low, high));
        m_engine.FreeClockTime.store(std::clamp(m_engine.FreeClockTime.load(), low, high));
    }
    return titleChanged;
}

void TSetPrjDlg::ShowSoundInfo(const QString& path) {
    m_info->setText(QtText(SoundInfoText(m_wav, StdText(path)).Text));
}

bool TSetPrjDlg::TakeSoundFile(const QString& path) {
    const SoundInfo info = SoundInfoText(m_wav, StdText(path));
    if (!info.Ok) return false;
    const std::string stored = MakeSoundPathRelative(StdText(path), m_env.ExeDir);
    ProjectHeader probe = m_project.Header;
    if (!SetSoundFilePath(probe, StdText(path), m_env.ExeDir)) {
        // The project file could not name it: keep the present sound.
        QMessageBox::warning(this, QtText(Msg::Warning), T(dlgtext::kSoundPathTooLong));
        return false;
    }
    m_sound->setText(QtText(stored));
    m_info->setText(QtText(info.Text));
    m_soundChanged = true;
    return true;
}

void TSetPrjDlg::ChooseSound() {
    const QString wav = QtText(MsgText(Msg::SoundFile)) + QStringLiteral(" (*.wav *.WAV)");
    const QString mp3 = QtText(MsgText(Msg::SoundFile)) + QStringLiteral("(*.mp3 *.MP3)");
    QFileDialog dialog(this, QtText(Msg::SelSoundFile));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({wav, mp3});
    const std::string current = StdText(m_sound->text());
    if (!current.empty()) {
        dialog.setDirectory(QFileInfo(QtText(ResolveSoundPath(current, m_env.ExeDir))).path());
        if (HasExtension(current, ".WAV")) dialog.selectNameFilter(wav);
        if (HasExtension(current, ".MP3")) dialog.selectNameFilter(mp3);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    TakeSoundFile(dialog.selectedFiles().first());
}

void TSetPrjDlg::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!urls.isEmpty() && urls.first().isLocalFile()) event->acceptProposedAction();
}

void TSetPrjDlg::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.first().isLocalFile()) return;
    event->acceptProposedAction();
    // After the drop returns: a box shown inside the drop would stall the drag source.
    const QString path = urls.first().toLocalFile();
    QTimer::singleShot(0, this, [this, path] { TakeSoundFile(path); });
}

void TSetPrjDlg::AskAndPatch(bool through) {
    const QMessageBox::StandardButton answer = QMessageBox::question(
        this, QtText(Msg::Confirm), QtText(through ? Msg::AskThrPatch : Msg::AskClrPatch),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    if (answer != QMessageBox::Yes) return;
    if (through) {
        m_patchTable.SetThrough();
    } else {
        m_patchTable.ClearAll();
    }
    m_grid->Model()->Refresh();
    MarkModified();
}

void TSetPrjDlg::CheckOff() {
    if (!m_checkOff->isChecked()) m_checkOff->setChecked(true);
    m_env.PatchCheckChannel.store(-1);
    m_grid->RowHeader()->SetCheckOn(false);
}

void TSetPrjDlg::ApplyCheck() {
    const bool on = m_checkOn->isChecked();
    const int row = m_grid->currentIndex().isValid() ? m_grid->currentIndex().row() : 0;
    m_env.PatchCheckChannel.store(on ? row : -1);
    m_grid->RowHeader()->SetCheckOn(on);
    m_grid->viewport()->update();
}

void TSetPrjDlg::MarkModified() {
    m_project.Modified = true;
}

}  // namespace lumavox
