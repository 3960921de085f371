#pragma once

#include <QObject>
#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "sound/SoundScan.h"

class QLabel;
class QWidget;

namespace lumavox {

// Reads a sound into peak frames (ScanSound) on a worker thread so that the main window keeps
// painting: the reader's status texts go to one status bar panel, how to cancel to another, and
// Escape cancels. While a read
// runs, the window takes no mouse or key input and shows the busy pointer; the project stays as it
// was until the caller takes the scan in. One read at a time. Owned by the main window; UI thread
// only (the worker touches nothing but its own scan and the cancel flag).
class SoundLoadTask : public QObject {
    Q_OBJECT
public:
    // Runs on the UI thread with the finished scan, or with one marked Cancelled after Cancel().
    using Done = std::function<void(SoundScan&&)>;

    SoundLoadTask(QWidget& window, QLabel& statusPanel, QLabel& hintPanel);
    // Stops a running read and waits for the worker; done is not called then.
    ~SoundLoadTask() override;
    SoundLoadTask(const SoundLoadTask&) = delete;
    SoundLoadTask& operator=(const SoundLoadTask&) = delete;

    // Starts reading the sound at path (a running read is cancelled first).
    void Start(const std::string& path, Done done);
    // Stops a running read, waits for the worker (a few milliseconds), gives the panels their texts
    // from before the read back and calls done with a cancelled scan. Nothing when idle.
    void Cancel();
    bool Busy() const { return m_worker.joinable(); }

signals:
    // A read began (true) or ended, finished or cancelled (false).
    void busyChanged(bool busy);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Finish(uint64_t generation, std::shared_ptr<SoundScan> scan);
    // Joins the worker and undoes what Start set up; returns the done function.
    Done Stop();

    QWidget& m_window;
    QLabel& m_panel;
    QLabel& m_hintPanel;
    QString m_panelText;  // the panels' texts before the read
    QString m_hintText;
    // Set by the UI thread, read by the worker between blocks; see SoundReadControl.
    std::atomic<bool> m_cancel{false};
    std::thread m_worker;
    // Tells the worker's queued messages of a read that was cancelled from those of the current.
    uint64_t m_generation = 0;
    Done m_done;
};

}  // namespace lumavox
