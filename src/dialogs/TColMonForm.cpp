#include "dialogs/TColMonForm.h"

#include <qdrawutil.h>

#include <QAction>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "dialogs/WindowPlacementQt.h"
#include "dmx/Patch.h"
#include "editor/QtText.h"
#include "engine/EngineState.h"
#include "model/ColourEval.h"
#include "model/Msgstr.h"
#include "model/ProjectData.h"
#include "settings/EnvData.h"

namespace lumavox {

namespace {

constexpr char kMonitorSection[] = "ColMonForm";
constexpr QRgb kLabelSilver = 0xC0C0C0;  // 12632256 as 0x00BBGGRR: the same grey

QColor ToQColor(int32_t colour) {
    return QColor(RedOf(colour), GreenOf(colour), BlueOf(colour));
}

QString Utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QRect ToQRect(const PanelBounds& b) {
    return QRect(b.Left, b.Top, b.Width, b.Height);
}

}  // namespace

// --- TColMonChild ---

TColMonChild::TColMonChild(int tag, QWidget* monitor)
    : QWidget(monitor), m_tag(tag), m_label(new QLabel(this)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setMinimumSize(2 * kEdgeZone + 1, 2 * kEdgeZone + 1);
    setWindowTitle(QStringLiteral("Line %1").arg(tag + 1));
    m_label->setText(windowTitle());
    m_label->move(5, 5);
    QPalette labelPalette = m_label->palette();
    labelPalette.setColor(QPalette::WindowText, QColor(kLabelSilver));
    m_label->setPalette(labelPalette);
    m_label->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_label->adjustSize();
}

void TColMonChild::SetColour(int32_t colour) {
    if (colour == m_colour) return;
    m_colour = colour;
    update();
}

void TColMonChild::SetHighlight(bool highlight) {
    if (highlight == m_highlight) return;
    m_highlight = highlight;
    update();
}

void TColMonChild::ShowLabel(bool show) {
    m_label->setVisible(show);
}

bool TColMonChild::LabelShown() const {
    return !m_label->isHidden();
}

PanelBounds TColMonChild::Bounds() const {
    const QRect g = geometry();
    return {g.left(), g.top(), g.width(), g.height()};
}

void TColMonChild::TakeReference() {
    const QWidget* monitor = parentWidget();
    m_reference.Take(Bounds(), monitor ? monitor->width() : 0, monitor ? monitor->height() : 0);
}

void TColMonChild::SetBoundsProgrammatically(const PanelBounds& bounds) {
    ++m_inProgrammaticChange;
    setGeometry(ToQRect(bounds));
    --m_inProgrammaticChange;
    TakeReference();
}

void TColMonChild::ScaleToMonitor() {
    const QWidget* monitor = parentWidget();
    if (monitor == nullptr) return;
    ++m_inProgrammaticChange;
    setGeometry(ToQRect(m_reference.Scaled(Bounds(), monitor->width(), monitor->height())));
    --m_inProgrammaticChange;
    update();
}

void TColMonChild::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), ToQColor(m_colour));
    if (m_highlight) {
        qDrawWinPanel(&painter, rect().adjusted(2, 2, -2, -2), palette(), true, nullptr);
    }
}

void TColMonChild::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (m_inProgrammaticChange == 0) {
        TakeReference();
        update();
    }
}

void TColMonChild::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    m_label->setText(windowTitle());
    m_label->adjustSize();
    TakeReference();
}

int TColMonChild::EdgesAt(const QPoint& pos) const {
    int edges = 0;
    if (pos.x() < kEdgeZone) edges |= kLeft;
    if (pos.x() >= width() - kEdgeZone) edges |= kRight;
    if (pos.y() < kEdgeZone) edges |= kTop;
    if (pos.y() >= height() - kEdgeZone) edges |= kBottom;
    return edges;
}

void TColMonChild::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        emit MenuRequested(event->globalPosition().toPoint());
        return;
    }
    if (event->button() != Qt::LeftButton) return;
    m_pressEdges = EdgesAt(event->position().toPoint());
    m_pressGlobal = event->globalPosition().toPoint();
    m_pressGeometry = geometry();
    if (m_pressEdges != 0) {
        m_drag = DragKind::Resize;
        return;
    }
    emit LeftPressed(m_tag);
    m_pressOffset = event->position().toPoint();
    m_drag = DragKind::Move;
}

void TColMonChild::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (m_drag == DragKind::Move && parentWidget() != nullptr) {
        // Keep a grip of the panel inside the monitor so it can always be dragged back.
        const QSize area = parentWidget()->size();
        QPoint topLeft = mapToParent(pos) - m_pressOffset;
        topLeft.setX(
            std::clamp(topLeft.x(), 2 * kEdgeZone - width(), area.width() - 2 * kEdgeZone));
        topLeft.setY(
            std::clamp(topLeft.y(), 2 * kEdgeZone - height(), area.height() - 2 * kEdgeZone));
        move(topLeft);
    } else if (m_drag == DragKind::Resize) {
        const QPoint delta = event->globalPosition().toPoint() - m_pressGlobal;
        QRect g = m_pressGeometry;
        const QSize min = minimumSize();
        if (m_pressEdges & kLeft)
            g.setLeft(std::min(g.left() + delta.x(), g.right() + 1 - min.width()));
        if (m_pressEdges & kRight)
            g.setRight(std::max(g.right() + delta.x(), g.left() - 1 + min.width()));
        if (m_pressEdges & kTop)
            g.setTop(std::min(g.top() + delta.y(), g.bottom() + 1 - min.height()));
        if (m_pressEdges & kBottom) {
            g.setBottom(std::max(g.bottom() + delta.y(), g.top() - 1 + min.height()));
        }
        setGeometry(g);
    } else {
        const int edges = EdgesAt(pos);
        const bool horizontal = (edges & (kLeft | kRight)) != 0;
        const bool vertical = (edges & (kTop | kBottom)) != 0;
        if (horizontal && vertical) {
            const bool falling = edges == (kLeft | kTop) || edges == (kRight | kBottom);
            setCursor(falling ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor);
        } else if (horizontal) {
            setCursor(Qt::SizeHorCursor);
        } else if (vertical) {
            setCursor(Qt::SizeVerCursor);
        } else {
            unsetCursor();
        }
    }
    DetectUserMove();
}

void TColMonChild::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && m_drag != DragKind::None) {
        m_drag = DragKind::None;
        DetectUserMove();
    }
}

void TColMonChild::DetectUserMove() {
    const QWidget* monitor = parentWidget();
    if (monitor == nullptr) return;
    if (m_reference.UserMoved(Bounds(), monitor->width(), monitor->height())) TakeReference();
}

// --- TColMonForm ---

TColMonForm::TColMonForm(EditorContext& context, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), m_context(context) {
    setWindowTitle(QStringLiteral("Color Monitor"));
    setMinimumSize(100, 100);
    resize(ColMonArrangement::kDefaultWidth, ColMonArrangement::kDefaultHeight);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);

    for (int i = 0; i < ColMonArrangement::kPanelCount; ++i) {
        auto* panel = new TColMonChild(i, this);
        panel->SetBoundsProgrammatically(InitialPanelBounds(i));
        connect(panel, &TColMonChild::LeftPressed, this, [this](int tag) {
            if (m_context.env.MonClickTab) emit CurrentLineRequested(tag);
        });
        connect(panel, &TColMonChild::MenuRequested, this, &TColMonForm::ShowMenuAt);
        m_panels[static_cast<size_t>(i)] = panel;
    }
    BuildMenu();

    m_timer.setInterval(kTimerMs);
    connect(&m_timer, &QTimer::timeout, this, &TColMonForm::Tick);
}

void TColMonForm::BuildMenu() {
    m_menu = new QMenu(this);
    for (int i = 0; i < ColMonArrangement::kPanelCount; ++i) {
        QAction* action = m_menu->addAction(QStringLiteral("Line &%1").arg(i + 1));
        action->setCheckable(true);
        connect(action, &QAction::triggered, this,
                [this, i](bool checked) { Panel(i)->setVisible(checked); });
        m_lineActions[static_cast<size_t>(i)] = action;
    }
    m_menu->addSeparator();
    m_labelAction = m_menu->addAction(Tr(LV_TEXT("Lumavox", "ラベル表示(&L)")));
    m_labelAction->setCheckable(true);
    connect(m_labelAction, &QAction::triggered, this, [this] { SetShowLabels(!m_showLabels); });
    m_menu->addSeparator();
    connect(m_menu->addAction(Tr(LV_TEXT("Lumavox", "初期配置(&I)"))), &QAction::triggered, this,
            &TColMonForm::InitialArrangement);
    m_menu->addSeparator();
    connect(m_menu->addAction(Tr(LV_TEXT("Lumavox", "配置をファイルに保存(&S)"))),
            &QAction::triggered, this, &TColMonForm::ChooseAndSaveArrangement);
    connect(m_menu->addAction(Tr(LV_TEXT("Lumavox", "ファイルから配置を読み込む(&O)"))),
            &QAction::triggered, this, &TColMonForm::ChooseAndLoadArrangement);
    m_menu->addSeparator();
    m_scaledAction = m_menu->addAction(Tr(LV_TEXT("Lumavox", "サイズ連動(&R)")));
    m_scaledAction->setCheckable(true);
    connect(m_scaledAction, &QAction::triggered, this, &TColMonForm::ToggleScaled);
    connect(m_menu, &QMenu::aboutToShow, this, &TColMonForm::UpdateMenuChecks);
}

void TColMonForm::UpdateMenuChecks() {
    for (int i = 0; i < ColMonArrangement::kPanelCount; ++i) {
        m_lineActions[static_cast<size_t>(i)]->setChecked(!Panel(i)->isHidden());
    }
    m_labelAction->setChecked(m_showLabels);
    m_scaledAction->setChecked(m_context.env.MonScaled);
}

void TColMonForm::ShowMenuAt(const QPoint& globalPos) {
    m_menu->popup(globalPos + QPoint(2, 0));
}

void TColMonForm::setVisible(bool visible) {
    if (visible && isHidden()) {
        const ColMonArrangement arrangement = StoredArrangement();
        // The monitor is placed before it is mapped and again once its frame is known; the
        // panels keep their stored bounds through both, then take their reference.
        m_placing = true;
        ApplyWindowPlacement(*this, arrangement.Monitor);
        QWidget::setVisible(true);
        ApplyWindowPlacement(*this, arrangement.Monitor);
        m_placing = false;
        ApplyPanels(arrangement);
        SetShowLabels(m_context.env.Ini().ReadBool(kMonitorSection, "ViewMonLabel", true));
        m_everShown = true;
        m_timer.start();
        Tick();
        emit VisibleChanged(true);
    } else if (!visible && !isHidden()) {
        SaveToSettings();
        QWidget::setVisible(false);
        emit VisibleChanged(false);
    } else {
        QWidget::setVisible(visible);
    }
}

QPoint TColMonForm::MainTopLeft() const {
    const QWidget* main = parentWidget();
    return main != nullptr ? main->frameGeometry().topLeft() : QPoint(0, 0);
}

ColMonArrangement TColMonForm::StoredArrangement() const {
    ColMonArrangement arrangement;
    const QPoint main = MainTopLeft();
    LoadColMonArrangement(m_context.env.Ini(), arrangement, main.y(), main.x());
    return arrangement;
}

void TColMonForm::ApplyArrangement(const ColMonArrangement& arrangement) {
    ApplyWindowPlacement(*this, arrangement.Monitor);
    ApplyPanels(arrangement);
}

void TColMonForm::ApplyPanels(const ColMonArrangement& arrangement) {
    for (int i = 0; i < ColMonArrangement::kPanelCount; ++i) {
        const auto& stored = arrangement.Panels[static_cast<size_t>(i)];
        const WindowPlacement& b = stored.Bounds;
        Panel(i)->SetBoundsProgrammatically(LimitBounds({b.Left, b.Top, b.Width, b.Height}));
        Panel(i)->setVisible(stored.Visible);
    }
}

ColMonArrangement TColMonForm::CurrentArrangement() const {
    ColMonArrangement arrangement;
    arrangement.Monitor = PlacementOfWindow(*this, BorderKind::Resizable);
    for (int i = 0; i < ColMonArrangement::kPanelCount; ++i) {
        auto& stored = arrangement.Panels[static_cast<size_t>(i)];
        const PanelBounds b = Panel(i)->Bounds();
        stored.Bounds.Left = b.Left;
        stored.Bounds.Top = b.Top;
        stored.Bounds.Width = b.Width;
        stored.Bounds.Height = b.Height;
        stored.Visible = !Panel(i)->isHidden();
    }
    return arrangement;
}

void TColMonForm::SaveToSettings() {
    m_timer.stop();
    UsrIniFile& ini = m_context.env.Ini();
    // A monitor never shown has no arrangement of its own yet: what the settings hold (or the
    // first showing's defaults) is written back unchanged.
    ColMonArrangement arrangement = m_everShown ? CurrentArrangement() : StoredArrangement();
    const bool showLabels =
        m_everShown ? m_showLabels : ini.ReadBool(kMonitorSection, "ViewMonLabel", true);
    SaveColMonArrangementPanelsFirst(ini, arrangement);
    ini.WriteBool(kMonitorSection, "ViewMonLabel", showLabels);
}

void TColMonForm::Tick() {
    const int current = m_context.project.CurrentLine.load(std::memory_order_relaxed);
    const bool active = m_context.engine.TransportActive.load();
    for (int i = 0; i < ColMonArrangement::kPanelCount; ++i) {
        Panel(i)->SetHighlight(i == current && !active);
        Panel(i)->SetColour(m_context.lineOutput.Get(i));
    }
}

void TColMonForm::InitialArrangement() {
    for (int i = 0; i < ColMonArrangement::kPanelCount; ++i) {
        Panel(i)->SetBoundsProgrammatically(InitialPanelBounds(i));
    }
}

void TColMonForm::SetShowLabels(bool show) {
    m_showLabels = show;
    for (TColMonChild* panel : m_panels) panel->ShowLabel(show);
}

void TColMonForm::ToggleScaled() {
    m_context.env.MonScaled = !m_context.env.MonScaled;
    for (TColMonChild* panel : m_panels) panel->TakeReference();
}

void TColMonForm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!m_context.env.MonScaled || m_placing) return;
    for (TColMonChild* panel : m_panels) panel->ScaleToMonitor();
}

void TColMonForm::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        ShowMenuAt(event->globalPosition().toPoint());
        return;
    }
    QWidget::mousePressEvent(event);
}

bool TColMonForm::SaveArrangementFile(const QString& path) {
    ColMonArrangement arrangement = CurrentArrangement();
    const bool wasMaximised = isMaximized() || isMinimized();
    const SaveResult result =
        SaveColMonArrangementFile(QFile::encodeName(path).toStdString(), arrangement);
    // The stored bounds are the normal ones, and the window is left at them.
    if (wasMaximised) showNormal();
    if (result.Ok()) return true;
    QString text = Utf8(result.Error);
    if (!result.SystemError.empty()) text += QStringLiteral("\n") + Utf8(result.SystemError);
    QMessageBox::warning(this, Utf8(MsgText(Msg::Warning)), text);
    return false;
}

void TColMonForm::LoadArrangementFile(const QString& path) {
    const bool running = m_timer.isActive();
    m_timer.stop();
    const QPoint main = MainTopLeft();
    ApplyArrangement(
        LoadColMonArrangementFile(QFile::encodeName(path).toStdString(), main.y(), main.x()));
    if (running) m_timer.start();
}

void TColMonForm::ChooseAndSaveArrangement() {
    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontUseNativeDialog);  // matches *.ARG in either case
    dialog.setNameFilter(Utf8(MsgText(Msg::ColMonFile)) + QStringLiteral(" (*.ARG)"));
    dialog.setDefaultSuffix(QStringLiteral("ARG"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    SaveArrangementFile(dialog.selectedFiles().constFirst());
}

void TColMonForm::ChooseAndLoadArrangement() {
    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilter(Utf8(MsgText(Msg::ColMonFile)) + QStringLiteral(" (*.arg)"));
    dialog.setDefaultSuffix(QStringLiteral("ARG"));
    const QString prjFile = QString::fromStdString(m_context.env.PrjFile);
    if (!prjFile.isEmpty()) dialog.setDirectory(QFileInfo(prjFile).absolutePath());
    dialog.selectFile(QStringLiteral("*.ARG"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    LoadArrangementFile(dialog.selectedFiles().constFirst());
}

}  // namespace lumavox
