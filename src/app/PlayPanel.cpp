// The main window's play panel (time label, transport buttons, volume, current output), the
// status bar panels, the transport commands and the display timer's tick that refreshes them.
#include "app/MainWindow.h"

#include <QLabel>
#include <QSlider>
#include <QStatusBar>
#include <QToolButton>

#include "dialogs/TColMonForm.h"
#include "dialogs/TStpPropDlg.h"
#include "dmx/OutputPair.h"
#include "dmx/OutputStatus.h"
#include "editor/CurrentPalettePanel.h"
#include "editor/EditActions.h"
#include "editor/QtText.h"
#include "editor/TimePanes.h"
#include "editor/logic/ActionTable.h"
#include "editor/logic/UiText.h"
#include "engine/PlayDisplay.h"
#include "model/Msgstr.h"

namespace lumavox {

namespace {

QColor FromBgr(int32_t bgr) {
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

}  // namespace

QWidget* TLumavoxForm::CreatePlayPanel() {
    auto* panel = new QWidget(this);
    m_playPanel = panel;
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
        button->setDefaultAction(Action(entry.Name));
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
    connect(m_volume, &QSlider::valueChanged, this, &TLumavoxForm::OnVolumeChanged);

    // The current line's live output colour with its line label and values.
    m_outputPanel = new LineOutputPanel(m_ctx, panel);
    m_outputPanel->setObjectName(QStringLiteral("curOutputPanel"));
    m_outputPanel->setGeometry(192, 0, 113, 56);
    return panel;
}

void TLumavoxForm::SetTimeLabelColour(int32_t bgr) {
    // A style sheet: the tool bar's style would otherwise paint over the label's own palette.
    m_timeColour = bgr;
    m_timeLabel->setStyleSheet(QStringLiteral("QLabel { background-color: #000080; color: %1; }")
                                   .arg(FromBgr(bgr).name()));
}

void TLumavoxForm::CreateStatusBar() {
    QStatusBar* bar = statusBar();
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

void TLumavoxForm::OnVolumeChanged(int value) {
    const int position = 255 - value;
    m_device->SetWaveVolume(SliderWaveVolume(position));
    m_panels[2]->setText(QtText(VolumeStatusText(position)));
}

void TLumavoxForm::DisplayTick() {
    if (m_closing) return;
    m_state.PreviewColour.store(m_aux.stpProp ? m_aux.stpProp->PreviewForOutput() : NoColour);

    const TimeLabel label = FormatTimeLabel(m_state.CursorTime.load(), m_state.SoundLength.load());
    const QString text = QtText(label.Text);
    if (m_timeLabel->text() != text) m_timeLabel->setText(text);
    if (label.FontColour != m_timeColour) SetTimeLabelColour(label.FontColour);

    const bool sacnOutput = m_env.Sacn.Selected && m_outputs && m_outputs->HasSacn();
    const std::string output =
        m_env.Sacn.Selected  ? SacnStatusText(sacnOutput && m_outputs->Sacn().NetReady(),
                                              sacnOutput && m_outputs->Sacn().LastSendOk())
        : m_env.DmxType == 1 ? NetStatusText(m_outputs && m_outputs->Artnet().NetReady(),
                                             m_outputs ? m_outputs->Artnet().Nodes().Count() : 0)
                             : DmxStatusText(m_outputs && m_outputs->Usb().DevicePresent());
    const bool audio = m_state.AudioAvailable.load();
    const bool silent = audio && m_device->Silent();
    const QString panel0 = QtText(StatusPanel0Text(output, audio, silent));
    if (m_panels[0]->text() != panel0) m_panels[0]->setText(panel0);
    if (m_silentNotice.Due(silent)) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                QMessageBox::warning(this, QtText(MsgText(Msg::Warning)),
                                     QtText(MsgText(Msg::AudioSilent)));
            },
            Qt::QueuedConnection);
    }

    // An open finished by the tick changes the time line's length: the layout follows.
    const int32_t timeline = m_state.TimelineLength.load();
    if (timeline != m_lastTimeline) {
        m_lastTimeline = timeline;
        LayoutStep();
    }
    m_panes->DisplayTick();
    m_palettePanel->Refresh();
    m_outputPanel->Refresh();
    // What changed since the last tick (an edit, the engine, the transport) reaches the actions
    // once; an idle editor recomputes nothing.
    RefreshActions();
    // A backup that fell due during a drag or a dialog runs at the next idle moment.
    if (!BackupBusy() && m_backupGate.Idle(BackupDue())) RunBackup();
}

void TLumavoxForm::RepaintColourMonitor() {
    if (m_aux.colMon && m_aux.colMon->isVisible()) m_aux.colMon->Tick();
}

void TLumavoxForm::PlayFromStart() {
    m_panes->SetScroll(0);
    m_transport.PlayFromStart();
    RepaintColourMonitor();
    UpdateActions();
}

void TLumavoxForm::Play() {
    m_transport.Play();
    RepaintColourMonitor();
    UpdateActions();
}

void TLumavoxForm::Stop() {
    m_transport.Stop();
    RepaintColourMonitor();
    UpdateActions();
}

void TLumavoxForm::ToSoundStart() {
    m_transport.ToSoundStart();
    m_panes->SetScroll(m_timeLine.SoundStartScroll());
    m_panes->UpdateCursor();
    UpdateActions();
}

void TLumavoxForm::ToSoundEnd() {
    m_transport.ToSoundEnd();
    m_panes->SetScroll(m_timeLine.SoundEndScroll(m_state.PostPlayTime.load()));
    m_panes->UpdateCursor();
    UpdateActions();
}

}  // namespace lumavox
