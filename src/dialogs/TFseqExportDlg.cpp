#include "dialogs/TFseqExportDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include "editor/QtText.h"
#include "editor/logic/EditTexts.h"

namespace lumavox {

namespace fseqtext {
inline constexpr std::string_view kTitle = LV_TEXT("Lumavox", "FSEQ形式でエクスポート");
inline constexpr std::string_view kFile = LV_TEXT("Lumavox", "出力ファイル(&F):");
inline constexpr std::string_view kBrowse = LV_TEXT("Lumavox", "参照(&B)...");
inline constexpr std::string_view kStep = LV_TEXT("Lumavox", "フレーム間隔(&S):");
inline constexpr std::string_view kChannels = LV_TEXT("Lumavox", "チャンネル数(&C):");
inline constexpr std::string_view kCompression = LV_TEXT("Lumavox", "圧縮(&P):");
inline constexpr std::string_view kNone = LV_TEXT("Lumavox", "なし");
inline constexpr std::string_view kZstd = LV_TEXT("Lumavox", "zstd (ブロック単位)");
inline constexpr std::string_view kMedia = LV_TEXT("Lumavox", "メディアファイル名(&M):");
inline constexpr std::string_view kFilter = LV_TEXT("Lumavox", "FSEQ シーケンス (*.fseq)");
}  // namespace fseqtext

TFseqExportDlg::TFseqExportDlg(const QString& path, const FseqExportOptions& options,
                               QWidget* parent)
    : QDialog(parent),
      m_path(new QLineEdit(path, this)),
      m_step(new QSpinBox(this)),
      m_channels(new QSpinBox(this)),
      m_compression(new QComboBox(this)),
      m_media(new QLineEdit(QtText(options.MediaName), this)),
      m_ok(nullptr) {
    setWindowTitle(Tr(fseqtext::kTitle));
    auto* form = new QFormLayout(this);
    auto* fileRow = new QHBoxLayout;
    auto* browse = new QPushButton(Tr(fseqtext::kBrowse), this);
    m_path->setMinimumWidth(360);
    fileRow->addWidget(m_path, 1);
    fileRow->addWidget(browse);
    // A row holding a layout gets no buddy of its own: the label's access key needs one.
    auto* fileLabel = new QLabel(Tr(fseqtext::kFile), this);
    fileLabel->setBuddy(m_path);
    form->addRow(fileLabel, fileRow);

    m_step->setRange(kFseqMinStepMs, kFseqMaxStepMs);
    m_step->setValue(options.StepMs);
    m_step->setSuffix(QStringLiteral(" ms"));
    form->addRow(Tr(fseqtext::kStep), m_step);
    m_channels->setRange(1, kDmxChannels);
    m_channels->setValue(static_cast<int>(options.ChannelCount));
    form->addRow(Tr(fseqtext::kChannels), m_channels);
    m_compression->addItem(Tr(fseqtext::kNone));
    m_compression->addItem(Tr(fseqtext::kZstd));
    m_compression->setCurrentIndex(options.Compression == FseqCompression::Zstd ? 1 : 0);
    form->addRow(Tr(fseqtext::kCompression), m_compression);
    form->addRow(Tr(fseqtext::kMedia), m_media);

    auto* buttons = new QDialogButtonBox(this);
    m_ok = buttons->addButton(Tr(edittext::kOk), QDialogButtonBox::AcceptRole);
    buttons->addButton(Tr(edittext::kCancel), QDialogButtonBox::RejectRole);
    form->addRow(buttons);
    m_ok->setDefault(true);

    connect(browse, &QPushButton::clicked, this, [this] { Browse(); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_path, &QLineEdit::textChanged, this, [this] { UpdateOk(); });
    connect(m_media, &QLineEdit::textChanged, this, [this] { UpdateOk(); });
    UpdateOk();
}

QString TFseqExportDlg::Path() const {
    return m_path->text();
}

FseqExportOptions TFseqExportDlg::Options() const {
    FseqExportOptions options;
    options.StepMs = m_step->value();
    options.ChannelCount = static_cast<uint32_t>(m_channels->value());
    options.Compression =
        m_compression->currentIndex() == 1 ? FseqCompression::Zstd : FseqCompression::None;
    options.MediaName = StdText(m_media->text());
    return options;
}

void TFseqExportDlg::Browse() {
    const QString chosen = QFileDialog::getSaveFileName(this, Tr(fseqtext::kTitle), m_path->text(),
                                                        Tr(fseqtext::kFilter));
    if (chosen.isEmpty()) return;
    // A name typed without an extension gets the one show players look for.
    m_path->setText(QFileInfo(chosen).suffix().isEmpty() ? chosen + QStringLiteral(".fseq")
                                                         : chosen);
}

// A media name is a file name: a folder in it would never match the player's music folder.
void TFseqExportDlg::UpdateOk() {
    m_ok->setEnabled(!m_path->text().trimmed().isEmpty() &&
                     !m_media->text().contains(QLatin1Char('/')));
}

}  // namespace lumavox
