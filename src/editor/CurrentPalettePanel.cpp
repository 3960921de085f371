#include "editor/CurrentPalettePanel.h"

#include <QAction>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "dmx/Patch.h"
#include "editor/HuePalette.h"
#include "editor/QtText.h"
#include "editor/logic/ActionTable.h"
#include "editor/logic/EditCommands.h"
#include "editor/logic/EditTexts.h"
#include "editor/logic/PaneState.h"
#include "editor/logic/UiText.h"
#include "model/ColourEval.h"
#include "model/ProjectData.h"

namespace lumavox {
namespace {

constexpr int kPaletteSide = 48;
constexpr int kPaletteFrameSide = 52;
constexpr char kComponentNames[3] = {'R', 'G', 'B'};

QFont LabelFont() {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(12);
    return font;
}

QLabel* MakeComponentLabel(char name, QWidget* parent) {
    auto* label = new QLabel(QString(QLatin1Char(name)) + QStringLiteral("000"), parent);
    label->setFont(LabelFont());
    return label;
}

void ShowComponents(QLabel* const (&labels)[3], int32_t colour, bool present) {
    const int channels[3] = {RedOf(colour), GreenOf(colour), BlueOf(colour)};
    for (int k = 0; k < 3; ++k) {
        labels[k]->setText(Qs(ComponentText(kComponentNames[k], present ? channels[k] : -1)));
    }
}

int CurrentLineOf(const ProjectData& project) {
    return std::clamp(project.CurrentLine.load(std::memory_order_relaxed), 0, kLineCount - 1);
}

}  // namespace

ColourPanel::ColourPanel(int side, QWidget* parent) : QFrame(parent) {
    setFixedSize(side, side);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
}

void ColourPanel::ShowColour(int32_t colour) {
    const int32_t shown = colour < 0 || colour == NoColour ? -1 : colour;
    if (shown == m_colour) return;
    m_colour = shown;
    update();
}

void ColourPanel::paintEvent(QPaintEvent* event) {
    // Painted here rather than through the palette: tool bar styles do not fill child frames.
    if (m_colour >= 0) {
        QPainter painter(this);
        painter.fillRect(contentsRect(),
                         QColor(RedOf(m_colour), GreenOf(m_colour), BlueOf(m_colour)));
    }
    QFrame::paintEvent(event);
}

void ColourPanel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit pressed(event->globalPosition().toPoint());
    QFrame::mousePressEvent(event);
}

void ColourPanel::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit doubleClicked();
}

LineLabel::LineLabel(QWidget* parent) : QLabel(Qs(LineLabelText(0)), parent) {
    setFont(LabelFont());
    setCursor(Qt::PointingHandCursor);
}

void LineLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit pressed(event->globalPosition().toPoint());
}

PaletteBox::PaletteBox(QWidget* parent)
    : QWidget(parent), m_image(StandardPaletteImage(kPaletteSide, kPaletteSide)) {
    setFixedSize(kPaletteSide, kPaletteSide);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

int32_t PaletteBox::ColourAt(QPoint point) const {
    const QRgb rgb = m_image.pixel(std::clamp(point.x(), 0, kPaletteSide - 1),
                                   std::clamp(point.y(), 0, kPaletteSide - 1));
    return qRed(rgb) | qGreen(rgb) << 8 | qBlue(rgb) << 16;
}

void PaletteBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, m_image);
}

void PaletteBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    m_held = true;
    emit pressed(ColourAt(event->position().toPoint()));
}

void PaletteBox::mouseMoveEvent(QMouseEvent* event) {
    // The press grabbed the mouse; a pointer outside the area picks the nearest edge colour.
    if (m_held && (event->buttons() & Qt::LeftButton)) {
        emit dragged(ColourAt(event->position().toPoint()));
    }
}

void PaletteBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_held) return;
    m_held = false;
    emit released();
}

void PaletteBox::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    m_held = false;
    emit doubleClicked();
    // The press that follows a double click (the order the palette logic expects).
    mousePressEvent(event);
}

CurrentPalettePanel::CurrentPalettePanel(EditorContext& context, QWidget* parent)
    : QWidget(parent),
      m_context(context),
      m_basePanel(new ColourPanel(25, this)),
      m_outputPanel(new ColourPanel(25, this)),
      m_lineLabel(new LineLabel(this)),
      m_components{MakeComponentLabel('R', this), MakeComponentLabel('G', this),
                   MakeComponentLabel('B', this)},
      m_palette(nullptr),
      m_slider(new QSlider(Qt::Vertical, this)),
      m_zeroButton(new QToolButton(this)),
      m_zeroAction(new QAction(Qs(kCurBrt0Action.Caption), this)) {
    m_basePanel->setToolTip(Qs(UiTextOf(UiText::BaseColourHint)));
    m_outputPanel->setToolTip(Qs(UiTextOf(UiText::OutputColourHint)));
    m_basePanel->setStatusTip(m_basePanel->toolTip());
    m_outputPanel->setStatusTip(m_outputPanel->toolTip());

    auto* paletteFrame = new QFrame(this);
    paletteFrame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    paletteFrame->setLineWidth(2);
    paletteFrame->setFixedSize(kPaletteFrameSide, kPaletteFrameSide);
    m_palette = new PaletteBox(paletteFrame);
    m_palette->move(2, 2);
    m_palette->setToolTip(Qs(UiTextOf(UiText::PaletteHint)));
    m_palette->setStatusTip(m_palette->toolTip());

    m_slider->setRange(kMinBrightness, kMaxBrightness);
    m_slider->setPageStep(16);
    m_slider->setTickInterval(64);
    m_slider->setTickPosition(QSlider::TicksRight);
    m_slider->setFixedHeight(kPaletteFrameSide);
    m_slider->setToolTip(Qs(UiTextOf(UiText::BrightnessHint)));
    m_slider->setStatusTip(m_slider->toolTip());
    m_slider->installEventFilter(this);

    m_zeroAction->setObjectName(QString::fromLatin1(
        kCurBrt0Action.Name.data(), static_cast<qsizetype>(kCurBrt0Action.Name.size())));
    m_zeroButton->setDefaultAction(m_zeroAction);
    m_zeroButton->setFixedSize(14, 20);
    m_zeroButton->setFocusPolicy(Qt::NoFocus);

    auto* values = new QGridLayout;
    values->setContentsMargins(0, 0, 0, 0);
    values->setHorizontalSpacing(4);
    values->setVerticalSpacing(0);
    values->addWidget(m_basePanel, 0, 0, 2, 1);
    values->addWidget(m_outputPanel, 2, 0, 2, 1);
    values->addWidget(m_lineLabel, 0, 1);
    for (int k = 0; k < 3; ++k) values->addWidget(m_components[k], k + 1, 1);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(2, 1, 2, 1);
    row->setSpacing(4);
    row->addLayout(values);
    row->addWidget(paletteFrame);
    row->addWidget(m_slider);
    row->addWidget(m_zeroButton, 0, Qt::AlignVCenter);

    connect(m_slider, &QSlider::valueChanged, this, &CurrentPalettePanel::SliderChanged);
    connect(m_zeroAction, &QAction::triggered, this, &CurrentPalettePanel::ZeroBrightness);
    connect(m_palette, &PaletteBox::pressed, this, &CurrentPalettePanel::PalettePressed);
    connect(m_palette, &PaletteBox::dragged, this, &CurrentPalettePanel::PaletteDragged);
    connect(m_palette, &PaletteBox::released, this, &CurrentPalettePanel::PaletteReleased);
    connect(m_palette, &PaletteBox::doubleClicked, this,
            &CurrentPalettePanel::PaletteDoubleClicked);
    connect(m_basePanel, &ColourPanel::doubleClicked, this, [this] {
        if (Current() != nullptr) emit propertiesRequested();
    });
    connect(m_lineLabel, &LineLabel::pressed, this, &CurrentPalettePanel::lineMenuRequested);
    Refresh();
}

void CurrentPalettePanel::Attach(PaneState& pane, const int& programmaticChange) {
    m_pane = &pane;
    m_programmaticChange = &programmaticChange;
    Refresh();
}

const Step* CurrentPalettePanel::Current() const {
    return m_pane == nullptr ? nullptr : CurrentStepOf(m_context.project, *m_pane);
}

void CurrentPalettePanel::Refresh() {
    m_lineLabel->setText(Qs(LineLabelText(CurrentLineOf(m_context.project))));
    const Step* current = Current();
    if (current == nullptr && m_pane != nullptr) m_pane->CurrentStep = nullptr;
    if (current != nullptr) {
        m_basePanel->ShowColour(current->Colour);
        m_outputPanel->ShowColour(ApplyBrightness(current->Colour, current->Brightness));
        ShowComponents(m_components, current->Colour, true);
        ShowSliderValue(current->Brightness);
    } else {
        m_basePanel->ShowColour(-1);
        m_outputPanel->ShowColour(-1);
        ShowComponents(m_components, 0, false);
    }
    m_slider->setEnabled(current != nullptr);
    m_zeroAction->setEnabled(current != nullptr);
}

void CurrentPalettePanel::ShowBrightness(int brightness) {
    ShowSliderValue(brightness);
    emit brightnessMessage(Qs(BrightnessStatusText(brightness)));
}

void CurrentPalettePanel::ShowSliderValue(int brightness) {
    // Only the user's moves of the slider write a brightness; the program's only show one.
    if (m_slider->value() == brightness) return;
    const QSignalBlocker quiet(m_slider);
    m_slider->setValue(brightness);
}

void CurrentPalettePanel::SliderChanged(int value) {
    if (m_pane == nullptr || Current() == nullptr) return;
    const bool programmatic = m_programmaticChange != nullptr && *m_programmaticChange > 0;
    SetCurrentBrightness(m_context.project, *m_pane, value, programmatic);
    Refresh();
    emit brightnessMessage(Qs(BrightnessStatusText(value)));
    if (!programmatic) emit panesChanged();
}

void CurrentPalettePanel::ZeroBrightness() {
    if (m_pane == nullptr || !ZeroCurrentBrightness(m_context.project, *m_pane)) return;
    m_slider->setValue(0);
    emit brightnessMessage(Qs(BrightnessStatusText(0)));
    Refresh();
    emit panesChanged();
}

bool CurrentPalettePanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_slider && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_0) {
        m_zeroAction->trigger();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void CurrentPalettePanel::PalettePressed(int32_t colour) {
    if (m_pane == nullptr || Current() == nullptr) return;
    if (m_pane->SuppressDrag) {
        m_pane->SuppressDrag = false;
        return;
    }
    SetCurrentColour(m_context.project, *m_pane, colour, true);
    m_paletteDrag = true;
    m_palette->setCursor(Qt::CrossCursor);
    Refresh();
}

void CurrentPalettePanel::PaletteDragged(int32_t colour) {
    if (!m_paletteDrag || m_pane == nullptr) return;
    SetCurrentColour(m_context.project, *m_pane, colour, false);
    Refresh();
}

void CurrentPalettePanel::PaletteReleased() {
    m_palette->unsetCursor();
    if (!m_paletteDrag) return;
    m_paletteDrag = false;
    emit panesChanged();
}

void CurrentPalettePanel::PaletteDoubleClicked() {
    m_palette->unsetCursor();
    m_paletteDrag = false;
    if (m_pane == nullptr) return;
    m_pane->SuppressDrag = true;
    emit propertiesRequested();
}

LineOutputPanel::LineOutputPanel(EditorContext& context, QWidget* parent)
    : QWidget(parent),
      m_context(context),
      m_lineLabel(new LineLabel(this)),
      m_components{MakeComponentLabel('R', this), MakeComponentLabel('G', this),
                   MakeComponentLabel('B', this)},
      m_panel(new ColourPanel(50, this)) {
    m_panel->setToolTip(Qs(UiTextOf(UiText::OutputColourHint)));
    m_panel->setStatusTip(m_panel->toolTip());
    auto* labels = new QVBoxLayout;
    labels->setContentsMargins(0, 0, 0, 0);
    labels->setSpacing(0);
    labels->addWidget(m_lineLabel);
    for (QLabel* label : m_components) labels->addWidget(label);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(2, 1, 2, 1);
    row->setSpacing(4);
    row->addLayout(labels);
    row->addWidget(m_panel);
    connect(m_lineLabel, &LineLabel::pressed, this, &LineOutputPanel::lineMenuRequested);
    connect(m_panel, &ColourPanel::pressed, this, &LineOutputPanel::lineMenuRequested);
    Refresh();
}

void LineOutputPanel::Refresh() {
    const int line = CurrentLineOf(m_context.project);
    m_lineLabel->setText(Qs(LineLabelText(line)));
    const int32_t colour = m_context.lineOutput.Get(line);
    m_panel->ShowColour(colour);
    ShowComponents(m_components, colour, true);
}

}  // namespace lumavox
