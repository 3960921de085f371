// The main window's centre: the header column, the time panes with their splitters, the scroll
// bar, and the heights of the waveform and reference areas.
#include "app/MainWindow.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>

#include "app/BeatLaneCommands.h"
#include "editor/BeatLane.h"
#include "editor/EditActions.h"
#include "editor/LineEditorPane.h"
#include "editor/LineTabStrip.h"
#include "editor/MarkBar.h"
#include "editor/OutputStrip.h"
#include "editor/ReferencePane.h"
#include "editor/TimePanes.h"
#include "editor/WaveformPane.h"
#include "editor/logic/PaneGeometry.h"
#include "settings/MainView.h"

namespace lumavox {

// A 4-px bar between two panes: dragging it vertically reports the distance moved since the last
// report.
class PaneSplitter : public QWidget {
public:
    PaneSplitter(QWidget* parent, const char* name, std::function<void(int dy)> moved)
        : QWidget(parent), m_moved(std::move(moved)) {
        setObjectName(QString::fromLatin1(name));
        setFixedHeight(4);
        setCursor(Qt::SizeVerCursor);
    }

protected:
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton || !isEnabled()) return;
        m_lastY = static_cast<int>(event->globalPosition().y());
        m_dragging = true;
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (!m_dragging) return;
        const int y = static_cast<int>(event->globalPosition().y());
        if (y != m_lastY) m_moved(y - m_lastY);
        m_lastY = y;
    }
    void mouseReleaseEvent(QMouseEvent*) override { m_dragging = false; }

private:
    std::function<void(int)> m_moved;
    int m_lastY = 0;
    bool m_dragging = false;
};

namespace {

QWidget* Placeholder(QWidget* parent, const char* name, int height, const QColor& colour) {
    auto* widget = new QWidget(parent);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setAutoFillBackground(true);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    if (height > 0) widget->setFixedHeight(height);
    return widget;
}

QLabel* HeaderLabel(QWidget* parent, const char* name, const QString& text, int height) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAlignment(Qt::AlignCenter);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Raised);
    if (height > 0) label->setFixedHeight(height);
    return label;
}

constexpr int kHeaderWidth = 50;
constexpr int kScrollBorder = 4;

}  // namespace

QWidget* TLumavoxForm::CreateCentre() {
    auto* centre = new QWidget(this);
    auto* row = new QHBoxLayout(centre);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);

    // Header column: its boundaries are level with the panes beside it.
    auto* header = new QWidget(centre);
    header->setObjectName(QStringLiteral("headerColumn"));
    header->setFixedWidth(kHeaderWidth);
    auto* headerColumn = new QVBoxLayout(header);
    headerColumn->setContentsMargins(0, kScrollBorder, 0, kScrollBorder);
    headerColumn->setSpacing(0);
    m_headL = HeaderLabel(header, "headL", QStringLiteral("L"), 0);
    m_headR = HeaderLabel(header, "headR", QStringLiteral("R"), 0);
    m_headMark = HeaderLabel(header, "headMark", QString(), 46);
    m_headBeat = HeaderLabel(header, "headBeat", QString(), BeatLane::kHeight);
    m_lineTabs = new LineTabStrip(header);
    m_lineTabs->setObjectName(QStringLiteral("lineTabs"));
    m_refSpacer = new QWidget(header);
    m_refSpacer->setFixedHeight(8 + 30 + 8);
    headerColumn->addWidget(m_headL);
    headerColumn->addWidget(m_headR);
    headerColumn->addWidget(m_headMark);
    headerColumn->addWidget(m_headBeat);
    headerColumn->addWidget(m_lineTabs, 1);
    headerColumn->addWidget(m_refSpacer);
    row->addWidget(header);

    // The scroll area: a panel with a 4-px border around the panes, scrolled horizontally by one
    // scroll bar that holds the left edge L of the visible time.
    auto* frame = new QFrame(centre);
    frame->setObjectName(QStringLiteral("scrollArea"));
    frame->setFrameShape(QFrame::Panel);
    frame->setFrameShadow(QFrame::Sunken);
    frame->setLineWidth(kScrollBorder / 2);
    frame->setMidLineWidth(0);
    frame->setAutoFillBackground(true);
    QPalette workspace = frame->palette();
    workspace.setColor(QPalette::Window, QColor(0xAB, 0xAB, 0xAB));
    frame->setPalette(workspace);
    auto* panes = new QVBoxLayout(frame);
    panes->setContentsMargins(kScrollBorder, kScrollBorder, kScrollBorder, kScrollBorder);
    panes->setSpacing(0);
    const QColor panel = palette().color(QPalette::Button);
    m_waveL = new WaveformPane(*m_panes, 0, frame);
    m_waveL->setObjectName(QStringLiteral("waveL"));
    m_waveBevel = Placeholder(frame, "waveBevel", 8, panel);
    m_waveR = new WaveformPane(*m_panes, 1, frame);
    m_waveR->setObjectName(QStringLiteral("waveR"));
    m_waveSplitter = new PaneSplitter(frame, "waveSplitter", [this](int dy) {
        m_waveHeight = std::clamp(m_waveHeight + dy, 20, 2000);
        ApplyWaveHeights();
    });
    m_markBar = new MarkBar(*m_panes, frame);
    m_markBar->setObjectName(QStringLiteral("markBar"));
    m_markBar->setFixedHeight(46);
    m_beatLane = new BeatLane(*m_panes, m_beatMarks, frame);
    m_beatLane->setObjectName(QStringLiteral("beatLane"));
    m_lineEditor = new LineEditorPane(*m_panes, frame);
    m_lineEditor->setObjectName(QStringLiteral("lineEditor"));
    m_lineEditor->setMinimumHeight(40);
    auto* gapAbove = Placeholder(frame, "stripGapAbove", 8, panel);
    m_outputStrip = new OutputStrip(*m_panes, frame);
    m_outputStrip->setObjectName(QStringLiteral("outputStrip"));
    m_outputStrip->setFixedHeight(30);
    auto* gapBelow = Placeholder(frame, "stripGapBelow", 4, panel);
    m_refSplitter = new PaneSplitter(frame, "refSplitter", [this](int dy) {
        m_refHeight = std::clamp(m_refHeight - dy, MainView::kMinRefTrackHi, 2000);
        SetReferenceView(m_refPane->RefLine(), m_refPane->Shown());
    });
    m_refPane = new ReferencePane(*m_panes, frame);
    m_refPane->setObjectName(QStringLiteral("refPane"));
    for (QWidget* pane : {static_cast<QWidget*>(m_waveL), m_waveBevel,
                          static_cast<QWidget*>(m_waveR), static_cast<QWidget*>(m_waveSplitter),
                          static_cast<QWidget*>(m_markBar), static_cast<QWidget*>(m_beatLane)}) {
        panes->addWidget(pane);
    }
    panes->addWidget(m_lineEditor, 1);
    for (QWidget* pane : {gapAbove, static_cast<QWidget*>(m_outputStrip), gapBelow,
                          static_cast<QWidget*>(m_refSplitter), static_cast<QWidget*>(m_refPane)}) {
        panes->addWidget(pane);
    }
    m_scrollBar = new QScrollBar(Qt::Horizontal, frame);
    m_scrollBar->setObjectName(QStringLiteral("timeScrollBar"));
    m_scrollBar->setTracking(true);
    m_scrollBar->setRange(0, 0);
    panes->addWidget(m_scrollBar);
    row->addWidget(frame, 1);

    m_headRef = new ReferenceHeader(*m_refPane, header);
    m_headRef->setObjectName(QStringLiteral("headRef"));
    headerColumn->addWidget(m_headRef);
    // The panes follow the visible width: the layout step runs when the line pane is resized.
    m_lineEditor->installEventFilter(this);
    return centre;
}

void TLumavoxForm::ConnectBeatLane() {
    m_edit->SetBeatMarks(&m_beatMarks);
    m_panes->SetBeatMarks(&m_beatMarks);
    m_beats = new BeatLaneCommands(*this, m_beatMarks, m_state, *m_play->StatusPanel(2),
                                   *m_play->StatusPanel(4), this);
    m_beats->Attach(m_beatLane, m_headBeat, Action(ActionId::ViewBeatLaneAction),
                    Action(ActionId::SnapBeatAction));
    connect(m_beats, &BeatLaneCommands::marksChanged, this, [this] {
        m_panes->InvalidateAll();
        UpdateActions();
    });
}

void TLumavoxForm::SetReferenceView(int refLine, bool shown) {
    m_refPane->SetView(refLine, shown);
    const RefLayout layout = ReferenceLayout(shown, m_refHeight);
    m_refPane->setVisible(shown);
    m_refSplitter->setVisible(shown);
    m_refSplitter->setEnabled(layout.SplitterEnabled);
    m_refPane->setFixedHeight(layout.PaneHeight);
    // The header column stays level with the panes: the reference header spans the pane and
    // the scroll bar under it.
    const int scrollBar = m_scrollBar->sizeHint().height();
    m_headRef->setVisible(shown);
    m_headRef->setFixedHeight(layout.PaneHeight + scrollBar);
    if (auto* gap = findChild<QWidget*>(QStringLiteral("stripGapBelow"))) {
        gap->setFixedHeight(layout.PanelAbove);
    }
    m_refSpacer->setFixedHeight(8 + 30 + layout.PanelAbove + (shown ? 4 : scrollBar));
    Action(ActionId::ViewRefTrkAction)->setChecked(shown);
    m_multiMode = shown && refLine == ReferencePane::kAllLines;
    m_edit->SetMultiMode(m_multiMode);
    m_headRef->update();
    UpdateActions();
}

void TLumavoxForm::ApplyWaveHeights() {
    const bool mono = Action(ActionId::DispMonoAction)->isChecked();
    const WaveLayout layout = WaveAreaLayout(mono, m_waveHeight);
    m_waveL->SetMono(mono);
    m_waveR->SetMono(mono);
    m_waveL->setFixedHeight(layout.LHeight);
    m_waveBevel->setFixedHeight(layout.Bevel);
    m_waveR->setFixedHeight(layout.RHeight);
    m_headL->setFixedHeight(layout.LHeaderHeight);
    m_headR->setFixedHeight(layout.RHeaderHeight);
    ShowWaveHeaderTexts();
    LayoutStep();
}

void TLumavoxForm::ShowWaveHeaderTexts() {
    const WaveLayout layout =
        WaveAreaLayout(Action(ActionId::DispMonoAction)->isChecked(), m_waveHeight);
    // An amplitude zoom shows under the channel names (the mono L header has none).
    const QString gain = QString::fromStdString(WaveGainText(m_panes->WaveGain()));
    auto headerText = [&gain](const char* text) {
        const QString name = QString::fromLatin1(text);
        return name.isEmpty() || gain.isEmpty() ? name : name + QStringLiteral("\n") + gain;
    };
    static_cast<QLabel*>(m_headL)->setText(headerText(layout.LHeaderText));
    static_cast<QLabel*>(m_headR)->setText(headerText(layout.RHeaderText));
}

}  // namespace lumavox
