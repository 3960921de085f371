#include "dialogs/TSelExForm.h"

#include <qdrawutil.h>

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabBar>
#include <QVBoxLayout>

#include "dialogs/WindowPlacementQt.h"
#include "editor/QtText.h"
#include "model/ColourEval.h"
#include "settings/EnvData.h"

namespace lumavox {

namespace {

constexpr char kSection[] = "SelExForm";
constexpr int kDefaultSize = 400;
constexpr int kStripHeight = 41;
constexpr int kCountPanelWidth = 150;

QColor ToQColor(int32_t colour) {
    return QColor(RedOf(colour), GreenOf(colour), BlueOf(colour));
}

// The pixels of the band's 1-px outline: columns Left..Right-1, rows Top..Bottom-1.
QRect OutlineRect(const SelExBand& band) {
    return QRect(band.Left, band.Top, band.Right - band.Left, band.Bottom - band.Top);
}

QRegion OutlinePixels(const SelExBand& band) {
    const QRect r = OutlineRect(band);
    if (r.isEmpty()) return {};
    QRegion region(r.left(), r.top(), r.width(), 1);
    region += QRect(r.left(), r.bottom(), r.width(), 1);
    region += QRect(r.left(), r.top(), 1, r.height());
    region += QRect(r.right(), r.top(), 1, r.height());
    return region;
}

}  // namespace

// --- SelExChart ---

SelExChart::SelExChart(SelExCandidates& candidates, QWidget* parent)
    : QWidget(parent), m_candidates(candidates) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(40, 40);
}

void SelExChart::SetMode(HueChartMode mode) {
    if (mode == m_mode) return;
    m_mode = mode;
    Invalidate();
}

void SelExChart::Invalidate() {
    m_cacheValid = false;
    update();
}

void SelExChart::CancelDrag() {
    if (!m_dragging) return;
    m_dragging = false;
    update(OutlinePixels(m_band));
}

void SelExChart::Render() {
    const int w = width();
    const int h = height();
    m_cache = QImage(size(), QImage::Format_RGB32);
    m_cache.fill(Qt::black);
    QPainter painter(&m_cache);
    if (m_mode == HueChartMode::HueBrightness) {
        painter.setPen(Qt::white);
        painter.drawLine(0, h / 2, w - 1, h / 2);
    }
    m_candidates.Place(m_mode, w, h);
    const int a = HueChartSquareHalf(w, h);
    for (const auto& c : m_candidates.Items()) {
        const QRect square(c.Mark.X - a, c.Mark.Y - a, 2 * a, 2 * a);
        const QBrush fill(ToQColor(c.Mark.Colour));
        painter.fillRect(square, fill);
        qDrawWinPanel(&painter, square, palette(), false, &fill);
    }
    m_cacheValid = true;
}

void SelExChart::paintEvent(QPaintEvent* event) {
    if (!m_cacheValid || m_cache.size() != size()) Render();
    QPainter painter(this);
    painter.drawImage(event->rect(), m_cache, event->rect());
    if (m_dragging) {
        const QRect r = OutlineRect(m_band);
        if (!r.isEmpty()) {
            painter.setCompositionMode(QPainter::RasterOp_NotDestination);
            painter.setPen(QPen(Qt::white, 0));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(r.adjusted(0, 0, -1, -1));
        }
    }
}

void SelExChart::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_cacheValid = false;
}

void SelExChart::UpdateBandOutline(const SelExBand& band) {
    update(OutlinePixels(m_band) + OutlinePixels(band));
    m_band = band;
}

void SelExChart::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    m_anchor = event->position().toPoint();
    m_dragging = true;
    UpdateBandOutline(
        SelExBand::FromPoints(m_anchor.x(), m_anchor.y(), m_anchor.x(), m_anchor.y()));
}

void SelExChart::mouseMoveEvent(QMouseEvent* event) {
    if (!m_dragging) return;
    const QPoint p = event->position().toPoint();
    UpdateBandOutline(SelExBand::FromPoints(m_anchor.x(), m_anchor.y(), p.x(), p.y()));
}

void SelExChart::mouseReleaseEvent(QMouseEvent* event) {
    if (!m_dragging || event->button() != Qt::LeftButton) return;
    m_dragging = false;
    // The squares as last painted: placed for this size and chart.
    m_candidates.Place(m_mode, width(), height());
    m_candidates.ApplyBand(m_band, m_bandMode);
    Invalidate();
    emit Narrowed();
}

// --- TSelExForm ---

TSelExForm::TSelExForm(EditorContext& context, QWidget* parent)
    : QDialog(parent, Qt::Tool), m_context(context) {
    setWindowTitle(Tr(LV_TEXT("Lumavox", "拡張選択")));
    setSizeGripEnabled(false);
    resize(kDefaultSize, kDefaultSize);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_tabs = new QTabBar(this);
    m_tabs->addTab(Tr(LV_TEXT("Lumavox", "色相/彩度")));
    m_tabs->addTab(Tr(LV_TEXT("Lumavox", "色相/明暗")));
    m_tabs->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(m_tabs);

    m_chart = new SelExChart(m_candidates, this);
    layout->addWidget(m_chart, 1);

    auto* strip = new QWidget(this);
    strip->setFixedHeight(kStripHeight);
    auto* stripLayout = new QHBoxLayout(strip);
    // Narrow margins, and buttons that may give up their padding: the strip fits the default
    // width in the interface font, so the window opens at exactly its default size.
    stripLayout->setContentsMargins(4, 2, 4, 2);
    stripLayout->setSpacing(4);
    auto* modeBox = new QGroupBox(strip);
    auto* modeLayout = new QHBoxLayout(modeBox);
    modeLayout->setContentsMargins(4, 0, 4, 0);
    m_select = new QRadioButton(Tr(LV_TEXT("Lumavox", "選択")), modeBox);
    m_exclude = new QRadioButton(Tr(LV_TEXT("Lumavox", "除外")), modeBox);
    m_select->setChecked(true);
    modeLayout->addWidget(m_select);
    modeLayout->addWidget(m_exclude);
    auto* modeGroup = new QButtonGroup(this);
    modeGroup->addButton(m_select, static_cast<int>(SelExMode::Select));
    modeGroup->addButton(m_exclude, static_cast<int>(SelExMode::Exclude));
    stripLayout->addWidget(modeBox);
    stripLayout->addStretch(1);
    m_reset = new QPushButton(Tr(LV_TEXT("Lumavox", "抽出解除")), strip);
    m_ok = new QPushButton(Tr(LV_TEXT("Lumavox", "確定")), strip);
    m_cancel = new QPushButton(Tr(LV_TEXT("Lumavox", "キャンセル")), strip);
    for (QPushButton* b : {m_reset, m_ok, m_cancel}) {
        b->setAutoDefault(false);
        b->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
        b->setMinimumWidth(b->fontMetrics().horizontalAdvance(b->text()) + 12);
        stripLayout->addWidget(b);
    }
    m_ok->setDefault(true);
    layout->addWidget(strip);

    m_statusBar = new QStatusBar(this);
    m_count = new QLabel(m_statusBar);
    m_count->setFixedWidth(kCountPanelWidth);
    m_statusBar->addWidget(m_count);
    layout->addWidget(m_statusBar);

    connect(m_tabs, &QTabBar::currentChanged, this,
            [this](int index) { m_chart->SetMode(static_cast<HueChartMode>(index)); });
    connect(modeGroup, &QButtonGroup::idClicked, this,
            [this](int id) { m_chart->SetBandMode(static_cast<SelExMode>(id)); });
    connect(m_chart, &SelExChart::Narrowed, this, &TSelExForm::UpdateStatus);
    connect(m_reset, &QPushButton::clicked, this, &TSelExForm::Rebuild);
    connect(m_ok, &QPushButton::clicked, this, &TSelExForm::accept);
    connect(m_cancel, &QPushButton::clicked, this, &TSelExForm::reject);
}

QPoint TSelExForm::MainTopLeft() const {
    const QWidget* main = parentWidget();
    return main != nullptr ? main->frameGeometry().topLeft() : QPoint(0, 0);
}

void TSelExForm::setVisible(bool visible) {
    if (visible && isHidden()) {
        WindowPlacement placement;
        placement.Border = BorderKind::ResizableToolWindow;
        const QPoint main = MainTopLeft();
        LoadPlacement(m_context.env.Ini(), kSection, placement, kDefaultSize, kDefaultSize,
                      main.y() + 150, main.x() + 150);
        ApplyWindowPlacement(*this, placement);
        m_chart->CancelDrag();
        Rebuild();
        QDialog::setVisible(true);
        // The frame is known once the window is shown: size the client to fit it.
        ApplyWindowPlacement(*this, placement);
        return;
    } else if (!visible && !isHidden()) {
        m_chart->CancelDrag();
        WindowPlacement placement = PlacementOfWindow(*this, BorderKind::ResizableToolWindow);
        SavePlacement(m_context.env.Ini(), kSection, placement);
    }
    QDialog::setVisible(visible);
}

void TSelExForm::accept() {
    const int count = m_candidates.Confirm(m_context.project);
    QDialog::accept();
    emit SelectionConfirmed(count);
}

void TSelExForm::Rebuild() {
    m_candidates.Build(m_context.project);
    m_chart->Invalidate();
    UpdateStatus();
}

void TSelExForm::UpdateStatus() {
    m_count->setText(QString::fromStdString(m_candidates.StatusText()));
}

QString TSelExForm::StatusText() const {
    return m_count->text();
}

}  // namespace lumavox
