// The main window's close: the save question, a close for a termination signal, and the closing
// sequence that stops the engine and the outputs and stores the settings and the window's state.
#include "app/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QStatusBar>
#include <cstdio>

#include "app/HelpWindow.h"
#include "dialogs/TColMonForm.h"
#include "dmx/OutputPair.h"
#include "editor/QtText.h"
#include "editor/ReferencePane.h"
#include "engine/PostRequest.h"
#include "model/EscapedText.h"
#include "settings/MainView.h"
#include "settings/ShortCut.h"

namespace lumavox {

void TLumavoxForm::CloseWithoutAsking() {
    m_askOnClose = false;
    // Open dialogs and boxes give way first (each answers as if cancelled); the window closes once
    // their loops have returned, and the program ends with it.
    for (QWidget* modal = QApplication::activeModalWidget(); modal;
         modal = QApplication::activeModalWidget()) {
        if (!modal->close()) break;
        if (QApplication::activeModalWidget() == modal) break;
    }
    QTimer::singleShot(0, this, [this] {
        close();
        QApplication::quit();
    });
}

void TLumavoxForm::closeEvent(QCloseEvent* event) {
    if (m_closing) {
        event->accept();
        return;
    }
    if (m_askOnClose && AskSaveChanges() == QMessageBox::Cancel) {
        event->ignore();
        return;
    }
    ClosingSequence();
    event->accept();
}

void TLumavoxForm::ClosingSequence() {
    m_closing = true;
    m_paneState.Closing = true;
    m_dispTimer.stop();
    m_backupTimer.stop();
    PostRequest(m_state, m_state.StopRequest);
    PostRequest(m_state, m_state.CloseRequest);
    if (m_outputs) m_env.TxUniverse = m_outputs->Artnet().TxUniverse();
    m_env.SaveOptions(m_state.PrePlayTime.load(), m_state.PostPlayTime.load());
    if (m_outputs) m_outputs->Terminate();
    if (m_help) m_help->close();
    SavePlacementNow();
    MainView view = LoadMainView(m_env.Ini());
    view.ViewRefTrack = m_refPane->Shown();
    view.RefTrack = m_refPane->RefLine();
    view.RefTrackHi = m_refHeight;
    view.WavLRHeight = m_waveHeight;
    view.DispMonoWav = Action("DispMonoAction")->isChecked();
    view.WavAmpZoom = m_panes->WaveGain();
    view.ViewColMon = m_aux.colMon && m_aux.colMon->isVisible();
    SaveMainView(m_env.Ini(), view);
    if (m_aux.colMon) m_aux.colMon->SaveToSettings();
    if (m_aux.colMon) m_aux.colMon->close();
    SaveToolBars();
    SaveStatusBar(m_env.Ini(), !statusBar()->isHidden());
    SaveShortCuts(m_env.Ini(), CurrentShortCuts());
    const SaveResult saved = m_env.Save(*m_device);
    if (!saved.Ok()) {
        // The settings could not be written; the program still closes. Closing for a signal,
        // nobody may be there to answer a box: the reason goes to stderr.
        if (m_askOnClose) {
            ShowWarning(QtText(saved.Error) + QStringLiteral("\n") + QtText(saved.SystemError));
        } else {
            std::fprintf(stderr, "lumavox: %s (%s)\n", EscapeControlBytes(saved.Error).c_str(),
                         EscapeControlBytes(saved.SystemError).c_str());
        }
    }
}

}  // namespace lumavox
