#include "app/CloseSequence.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <cstdio>

#include "dmx/OutputPair.h"
#include "editor/QtText.h"
#include "engine/EngineState.h"
#include "engine/PostRequest.h"
#include "model/EscapedText.h"
#include "settings/EnvData.h"
#include "sound/player/SoundDevice.h"

namespace lumavox {

void CloseSequence::CloseWithoutAsking() {
    m_askOnClose = false;
    // Open dialogs and boxes give way first (each answers as if cancelled); the window closes once
    // their loops have returned, and the program ends with it.
    for (QWidget* modal = QApplication::activeModalWidget(); modal;
         modal = QApplication::activeModalWidget()) {
        if (!modal->close()) break;
        if (QApplication::activeModalWidget() == modal) break;
    }
    QTimer::singleShot(0, &m_window, [this] {
        m_window.close();
        QApplication::quit();
    });
}

bool CloseSequence::CloseRequested() {
    if (m_closing) return true;
    if (m_askOnClose && !m_host.AskSaveChanges()) return false;
    Run();
    return true;
}

void CloseSequence::Run() {
    m_closing = true;
    m_host.StopDisplay();
    PostRequest(m_state, m_state.StopRequest);
    PostRequest(m_state, m_state.CloseRequest);
    OutputPair* outputs = m_host.Outputs();
    if (outputs) m_env.TxUniverse = outputs->Artnet().TxUniverse();
    m_env.SaveOptions(m_state.PrePlayTime.load(), m_state.PostPlayTime.load());
    if (outputs) outputs->Terminate();
    m_host.SaveWindowState();
    const SaveResult saved = m_env.Save(m_device);
    if (!saved.Ok()) {
        // The settings could not be written; the program still closes. Closing for a signal,
        // nobody may be there to answer a box: the reason goes to stderr.
        if (m_askOnClose) {
            m_host.ShowWarning(QtText(saved.Error) + QStringLiteral("\n") +
                               QtText(saved.SystemError));
        } else {
            std::fprintf(stderr, "lumavox: %s (%s)\n", EscapeControlBytes(saved.Error).c_str(),
                         EscapeControlBytes(saved.SystemError).c_str());
        }
    }
}

}  // namespace lumavox
