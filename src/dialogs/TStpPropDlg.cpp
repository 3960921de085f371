#include "dialogs/TStpPropDlg.h"

#include <QFileDialog>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTabBar>
#include <QVBoxLayout>

#include "dialogs/QtPaletteImage.h"
#include "dialogs/StepPaletteArea.h"
#include "editor/QtText.h"
#include "editor/logic/DialogMaths.h"
#include "editor/logic/DialogTexts.h"
#include "editor/logic/EditTexts.h"
#include "model/ColourEval.h"
#include "model/Msgstr.h"
#include "settings/EnvData.h"
#include "settings/Placement.h"

namespace lumavox {
namespace {

constexpr std::string_view kSection = "StepProperty";
constexpr int kColumnWidth = 106;
constexpr int kPreviewSide = 89;

int ValidSide(int side) {
    return side == 240 || side == 400 ? side : 320;
}

QColor ToQColor(int32_t colour) {
    return QColor(RedOf(colour), GreenOf(colour), BlueOf(colour));
}

}  // namespace

TStpPropDlg::TStpPropDlg(EditorContext& context, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      m_context(context),
      m_paletteFrame(new QFrame(this)),
      m_area(new StepPaletteArea(m_paletteFrame)),
      m_tabs(new QTabBar(this)),
      m_previewPanel(new QFrame(this)),
      m_edits{new QLineEdit(this), new QLineEdit(this), new QLineEdit(this)},
      m_ok(new QPushButton(Tr(edittext::kOk), this)),
      m_cancel(new QPushButton(Tr(edittext::kCancel), this)) {
    // The palette sits 3 px inside its panel: a 1-px lowered bevel and a 2-px border.
    m_paletteFrame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_paletteFrame->setLineWidth(1);
    auto* frameLayout = new QVBoxLayout(m_paletteFrame);
    frameLayout->setContentsMargins(2, 2, 2, 2);
    frameLayout->addWidget(m_area);

    m_tabs->setShape(QTabBar::RoundedSouth);
    m_tabs->addTab(Tr(edittext::kStandardTab));
    m_tabs->addTab(Tr(edittext::kUserPaletteTab));
    m_tabs->setExpanding(false);
    auto* left = new QVBoxLayout;
    left->setSpacing(0);
    left->addWidget(m_paletteFrame);
    left->addWidget(m_tabs);

    m_previewPanel->setFixedSize(kPreviewSide, kPreviewSide);
    m_previewPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_previewPanel->setAutoFillBackground(true);
    auto* values = new QGridLayout;
    const char* names[3] = {"R", "G", "B"};
    for (int k = 0; k < 3; ++k) {
        QLineEdit* edit = m_edits[k];
        edit->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit));
        edit->setAttribute(Qt::WA_InputMethodEnabled, false);
        edit->setFixedWidth(48);
        connect(edit, &QLineEdit::textEdited, this, &TStpPropDlg::EditsChanged);
        values->addWidget(new QLabel(QString::fromLatin1(names[k]), this), k, 0);
        values->addWidget(edit, k, 1);
    }
    auto* column = new QVBoxLayout;
    column->setContentsMargins(8, 0, 0, 0);
    column->addWidget(m_previewPanel, 0, Qt::AlignHCenter);
    column->addSpacing(8);
    column->addLayout(values);
    column->addStretch(1);
    column->addWidget(m_ok);
    column->addWidget(m_cancel);
    auto* columnWidget = new QWidget(this);
    columnWidget->setLayout(column);
    columnWidget->setFixedWidth(kColumnWidth);

    auto* main = new QHBoxLayout(this);
    main->setContentsMargins(4, 4, 4, 4);
    main->addLayout(left);
    main->addWidget(columnWidget);
    main->setSizeConstraint(QLayout::SetFixedSize);

    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_tabs, &QTabBar::currentChanged, this, [this] { RenderPalette(); });
    connect(m_area, &StepPaletteArea::colourPicked, this, &TStpPropDlg::ShowColour);
    connect(m_area, &StepPaletteArea::contextMenuWanted, this, [this](QPoint globalPos) {
        QMenu* menu = BuildContextMenu();
        menu->exec(globalPos);
        menu->deleteLater();
    });
    RenderPalette();
    ShowColour(0);
}

void TStpPropDlg::SetColour(int32_t colour) {
    m_colour = colour & 0xFFFFFF;
}

int32_t TStpPropDlg::PreviewForOutput() const {
    return isVisible() ? m_preview : NoColour;
}

void TStpPropDlg::ShowColour(int32_t colour) {
    m_edits[0]->setText(QString::number(RedOf(colour)));
    m_edits[1]->setText(QString::number(GreenOf(colour)));
    m_edits[2]->setText(QString::number(BlueOf(colour)));
    SetPreview(colour);
}

void TStpPropDlg::SetPreview(int32_t colour) {
    m_preview = colour & 0xFFFFFF;
    QPalette palette = m_previewPanel->palette();
    palette.setColor(QPalette::Window, ToQColor(m_preview));
    m_previewPanel->setPalette(palette);
    emit previewColourChanged(m_preview);
}

void TStpPropDlg::EditsChanged() {
    SetPreview(RgbFromEdits(m_edits[0]->text().toStdString(), m_edits[1]->text().toStdString(),
                            m_edits[2]->text().toStdString()));
}

void TStpPropDlg::RenderPalette() {
    const int side = ValidSide(m_context.env.DispSize);
    m_area->Render(
        m_tabs->currentIndex() == 1 ? StepPaletteArea::Kind::User : StepPaletteArea::Kind::Standard,
        side, m_context.env.PaletteImage);
}

void TStpPropDlg::SetDisplaySize(int side) {
    m_context.env.DispSize = ValidSide(side);
    RenderPalette();
    adjustSize();
}

QMenu* TStpPropDlg::BuildContextMenu() {
    auto* menu = new QMenu(this);
    if (m_tabs->currentIndex() == 1) {
        menu->addAction(Tr(edittext::kChooseImageItem), this, &TStpPropDlg::ChooseImage);
    }
    menu->addSeparator();
    for (int side : {240, 320, 400}) {
        menu->addAction(Tr(edittext::kDisplaySizeItem) + QString::number(side), this,
                        [this, side] { SetDisplaySize(side); });
    }
    return menu;
}

void TStpPropDlg::ChooseImage() {
    const QString path = QFileDialog::getOpenFileName(
        this, Qs(MsgText(Msg::SelPalImage)), QString(),
        Tr(edittext::kImageFilter) + QStringLiteral(";;") + Qs(dlgtext::kPngFilter));
    if (path.isEmpty()) return;
    m_context.env.ChoosePaletteImage(path.toStdString());
    CompletePaletteImage(m_context.env);
    RenderPalette();
}

void TStpPropDlg::showEvent(QShowEvent* event) {
    WindowPlacement placement;
    placement.Border = BorderKind::Dialog;
    LoadPlacement(m_context.env.Ini(), kSection, placement, 0, 0, 100, 100);
    move(placement.Left, placement.Top);
    RenderPalette();
    ShowColour(m_colour);
    QDialog::showEvent(event);
}

void TStpPropDlg::hideEvent(QHideEvent* event) {
    const QRect frame = frameGeometry();
    WindowPlacement placement{frame.left(),   frame.top(),         frame.width(),
                              frame.height(), WindowState::Normal, BorderKind::Dialog};
    SavePlacement(m_context.env.Ini(), kSection, placement);
    QDialog::hideEvent(event);
}

void TStpPropDlg::accept() {
    m_colour = m_preview;
    QDialog::accept();
}

}  // namespace lumavox
