#pragma once

class QString;
class QWidget;

namespace lumavox {

struct EngineState;
class EnvData;
class ISoundDevice;
class OutputPair;

// What the closing sequence asks of the main window.
class ICloseHost {
public:
    virtual ~ICloseHost() = default;
    // The save question; false when the user cancelled the close.
    virtual bool AskSaveChanges() = 0;
    // The panes, the display tick and the backup timer stop for good.
    virtual void StopDisplay() = 0;
    // Null when the window runs no output threads.
    virtual OutputPair* Outputs() = 0;
    // The help window closes; the placement, the view, the colour monitor, the tool bars, the
    // status bar and the shortcuts go into the settings store.
    virtual void SaveWindowState() = 0;
    virtual void ShowWarning(const QString& text) = 0;
};

// The main window's close: the save question, a close for a termination signal, and the closing
// sequence that stops the engine and the outputs and writes the settings file. Runs once; from
// then on Closing() is true and the window's timers and handlers leave everything alone. UI thread.
class CloseSequence {
public:
    CloseSequence(QWidget& window, ICloseHost& host, EngineState& state, EnvData& env,
                  ISoundDevice& device)
        : m_window(window), m_host(host), m_state(state), m_env(env), m_device(device) {}

    bool Closing() const { return m_closing; }
    // The window's close event: false when the user cancelled; otherwise the sequence has run
    // (or had run before) and the window closes.
    bool CloseRequested();
    // Closes without the save question (termination signals); no box waits for an answer then (a
    // settings file that cannot be written is reported on stderr).
    void CloseWithoutAsking();

private:
    void Run();

    QWidget& m_window;
    ICloseHost& m_host;
    EngineState& m_state;
    EnvData& m_env;
    ISoundDevice& m_device;
    bool m_closing = false;
    bool m_askOnClose = true;  // false for a close by signal
};

}  // namespace lumavox
