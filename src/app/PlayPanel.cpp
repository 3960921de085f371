#include "app/PlayPanel.h"

#include <QLabel>
#include <QMessageBox>
#include <QSlider>
#include <QStatusBar>
#include <QToolButton>

#include "dmx/OutputPair.h"
#include "dmx/OutputStatus.h"
#include "editor/CurrentPalettePanel.h"
#include "editor/QtText.h"
#include "editor/logic/ActionTable.h"
#include "editor/logic/EditorContext.h"
#include "editor/logic/MainWindowRules.h"
#include "editor/logic/UiText.h"
#include "engine/EngineState.h"
#include "model/Msgstr.h"
#include "settings/EnvData.h"
#include "sound/player/SoundDevice.h"

namespace lumavox {

namespace {

QColor FromBgr(int32_t bgr) {
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

}  // namespace

PlayPanel::PlayPanel(EditorContext& context, ISoundDevice& device, QWidget* window)
    : QObject(window), m_context(context), m_device(device), m_window(window) {}

QWidget* PlayPanel::CreatePanel(QWidget* parent,
                                const std::function<QAction*(ActionId)>& actionOf) {
    auto* panel = new QWidget(parent);
    m_panel = panel;
    panel->setObjectName(QStringLiteral("playPanel"));
    panel->setFixedSize(305, 56);
    m_timeLabel = new QLabel(QtText(kInitialTimeLabel), panel);
    m_timeLabel->setObjectName(QStringLiteral("timeLabel"));
    m_timeLabel->setGeometry(2, 2, 157, 20);
    m_timeLabel->setAlignment(Qt::AlignCenter);
    m_timeLabel->setAutoFillBackground(true);
    QFont timeFont(QStringLiteral("IPAGothic"));
    timeFont.setStyleHint(QFont::Monospace);
    timeFont.setFixedPitch(true);
    timeFont.setBold(true);
    timeFont.setPixelSize(16);
    m_timeLabel->setFont(timeFont);
    SetTimeLabelColour(kSoundTimeColour);

    int x = 2;
    for (const MenuEntry& entry : ToolBars()[2].Entries) {
        if (entry.Kind != MenuEntryKind::Action) continue;
        auto* button = new QToolButton(panel);
        button->setObjectName(
            QtText(entry.Name).replace(QStringLiteral("Action"), QStringLiteral("Button")));
        button->setDefaultAction(actionOf(entry.Action));
        button->setIconSize(QSize(20, 20));
        button->setGeometry(x, 26, 26, 26);
        x += 26;
    }
    m_volume = new QSlider(Qt::Vertical, panel);
    m_volume->setObjectName(QStringLiteral("volumeSlider"));
    m_volume->setRange(0, 255);
    m_volume->setPageStep(16);
    m_volume->setTickInterval(64);
    m_volume->setTickPosition(QSlider::TicksRight);
    m_volume->setGeometry(163, 0, 26, 56);
    m_volume->setToolTip(QtText(UiText::VolumeHint));
    m_volume->setStatusTip(QtText(UiText::VolumeHint));
    m_volume->setValue(255);
    connect(m_volume, &QSlider::valueChanged, this, &PlayPanel::OnVolumeChanged);

    // The current line's live output colour with its line label and values.
    m_outputPanel = new LineOutputPanel(m_context, panel);
    m_outputPanel->setObjectName(QStringLiteral("curOutputPanel"));
    m_outputPanel->setGeometry(192, 0, 113, 56);
    return panel;
}

void PlayPanel::SetTimeLabelColour(int32_t bgr) {
    // A style sheet: the tool bar's style would otherwise paint over the label's own palette.
    m_timeColour = bgr;
    m_timeLabel->setStyleSheet(QStringLiteral("QLabel { background-color: #000080; color: %1; }")
                                   .arg(FromBgr(bgr).name()));
}

void PlayPanel::CreateStatusPanels(QStatusBar* bar) {
    bar->setSizeGripEnabled(true);
    QFont mono(QStringLiteral("IPAGothic"));
    mono.setStyleHint(QFont::Monospace);
    mono.setPixelSize(12);
    const int widths[] = {150, 120, 150, 150, 50};
    for (size_t i = 0; i < m_panels.size(); ++i) {
        auto* panel = new QLabel(bar);
        panel->setObjectName(QStringLiteral("panel%1").arg(i));
        panel->setFont(mono);
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setMinimumWidth(widths[i]);
        if (i + 1 < m_panels.size()) panel->setFixedWidth(widths[i]);
        bar->addWidget(panel, i + 1 < m_panels.size() ? 0 : 1);
        m_panels[i] = panel;
    }
}

void PlayPanel::SetStatusText(int panel, const QString& text) {
    if (panel >= 0 && panel < kStatusPanelCount)
        m_panels[static_cast<size_t>(panel)]->setText(text);
}

void PlayPanel::ShowDeviceVolume() {
    m_volume->setValue(255 - VolumeSliderPosition(m_device.GetWaveVolume()));
    OnVolumeChanged(m_volume->value());
}

void PlayPanel::OnVolumeChanged(int value) {
    const int position = 255 - value;
    m_device.SetWaveVolume(SliderWaveVolume(position));
    m_panels[2]->setText(QtText(VolumeStatusText(position)));
}

void PlayPanel::Tick(const OutputPair* outputs) {
    const EngineState& state = m_context.engine;
    const TimeLabel label = FormatTimeLabel(state.CursorTime.load(), state.SoundLength.load());
    const QString text = QtText(label.Text);
    if (m_timeLabel->text() != text) m_timeLabel->setText(text);
    if (label.FontColour != m_timeColour) SetTimeLabelColour(label.FontColour);

    const EnvData& env = m_context.env;
    const bool sacnOutput = env.Sacn.Selected && outputs && outputs->HasSacn();
    const std::string output =
        env.Sacn.Selected  ? SacnStatusText(sacnOutput && outputs->Sacn().NetReady(),
                                            sacnOutput && outputs->Sacn().LastSendOk())
        : env.DmxType == 1 ? NetStatusText(outputs && outputs->Artnet().NetReady(),
                                           outputs ? outputs->Artnet().Nodes().Count() : 0)
                           : DmxStatusText(outputs && outputs->Usb().DevicePresent());
    const bool audio = state.AudioAvailable.load();
    const bool silent = audio && m_device.Silent();
    const QString panel0 = QtText(StatusPanel0Text(output, audio, silent));
    if (m_panels[0]->text() != panel0) m_panels[0]->setText(panel0);
    if (m_silentNotice.Due(silent)) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                QMessageBox::warning(m_window, QtText(MsgText(Msg::Warning)),
                                     QtText(MsgText(Msg::AudioSilent)));
            },
            Qt::QueuedConnection);
    }
}

}  // namespace lumavox
