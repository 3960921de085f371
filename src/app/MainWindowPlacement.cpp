// The main window's place on the screen: the stored outer frame fitted into the screen at start,
// corrected once the window manager has framed the window, and stored again at close with the
// rest of the window's state.
#include "app/MainWindow.h"

#include <QCloseEvent>
#include <QScreen>
#include <QStatusBar>
#include <algorithm>

#include "app/BeatLaneCommands.h"
#include "app/HelpWindow.h"
#include "dialogs/TColMonForm.h"
#include "editor/ReferencePane.h"
#include "settings/MainView.h"
#include "settings/Placement.h"
#include "settings/ShortCut.h"

namespace lumavox {

QMargins TLumavoxForm::FrameMargins() const {
    const QRect frame = frameGeometry();
    const QRect client = geometry();
    return QMargins(client.left() - frame.left(), client.top() - frame.top(),
                    frame.right() - client.right(), frame.bottom() - client.bottom());
}

void TLumavoxForm::RestorePlacement() {
    WindowPlacement placement;
    const QRect screen =
        this->screen() ? this->screen()->availableGeometry() : QRect(0, 0, 851, 669);
    LoadPlacement(m_env.Ini(), "General", placement, screen.height(), screen.width(), 0, 0);
    // Stored bounds are the outer frame; fit them into the screen.
    const int width = std::clamp(placement.Width, 200, std::max(200, screen.width()));
    const int height = std::clamp(placement.Height, 200, std::max(200, screen.height()));
    const int left = std::clamp(placement.Left, screen.left(), screen.right() - 50);
    const int top = std::clamp(placement.Top, screen.top(), screen.bottom() - 50);
    m_placedFrame = QRect(left, top, width, height);
    m_placementPending = true;
    FitFrameToPlacement();
    if (placement.State == WindowState::Maximised) setWindowState(Qt::WindowMaximized);
}

void TLumavoxForm::FitFrameToPlacement() {
    // move() places the frame, resize() sizes the client: the window manager's frame is known only
    // once the window is mapped, so the size is corrected again when it is (activation, start-up
    // continuation); a window without a frame is right at once.
    if (!m_placementPending || isMaximized()) return;
    const QMargins margins = FrameMargins();
    move(m_placedFrame.topLeft());
    resize(m_placedFrame.width() - margins.left() - margins.right(),
           m_placedFrame.height() - margins.top() - margins.bottom());
    if (!margins.isNull()) m_placementPending = false;
}

void TLumavoxForm::SavePlacementNow() {
    WindowPlacement placement;
    const QMargins margins = FrameMargins();
    const QRect frame = isMaximized() ? normalGeometry().marginsAdded(margins) : frameGeometry();
    placement.Left = frame.left();
    placement.Top = frame.top();
    placement.Width = frame.width();
    placement.Height = frame.height();
    placement.State = isMaximized() ? WindowState::Maximised : WindowState::Normal;
    SavePlacement(m_env.Ini(), "General", placement);
}

bool TLumavoxForm::CloseHostImpl::AskSaveChanges() {
    return m_form.AskSaveChanges() != QMessageBox::Cancel;
}

void TLumavoxForm::CloseHostImpl::StopDisplay() {
    m_form.m_paneState.Closing = true;
    m_form.m_dispTimer.stop();
    m_form.m_files->StopBackupTimer();
}

void TLumavoxForm::closeEvent(QCloseEvent* event) {
    if (m_close->CloseRequested()) {
        event->accept();
    } else {
        event->ignore();
    }
}

void TLumavoxForm::SaveWindowState() {
    if (m_help) m_help->close();
    SavePlacementNow();
    MainView view = LoadMainView(m_env.Ini());
    view.ViewRefTrack = m_refPane->Shown();
    view.RefTrack = m_refPane->RefLine();
    view.RefTrackHi = m_refHeight;
    view.WavLRHeight = m_waveHeight;
    view.DispMonoWav = Action(ActionId::DispMonoAction)->isChecked();
    view.WavAmpZoom = m_panes->WaveGain();
    view.ViewColMon = m_aux.colMon && m_aux.colMon->isVisible();
    SaveMainView(m_env.Ini(), view);
    if (m_aux.colMon) m_aux.colMon->SaveToSettings();
    if (m_aux.colMon) m_aux.colMon->close();
    SaveToolBars();
    SaveStatusBar(m_env.Ini(), !statusBar()->isHidden());
    SaveShortCuts(m_env.Ini(), CurrentShortCuts());
    m_beats->Save(m_env.Ini());
}

}  // namespace lumavox
