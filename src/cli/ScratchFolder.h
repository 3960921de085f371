#pragma once

#include <optional>
#include <string>
#include <thread>

namespace lumavox::cli {

// A private temporary folder for one command, removed on every way out: normal return, Ctrl+C,
// SIGTERM and SIGHUP. While it exists TMPDIR names it, so temporary files the core makes (the
// WAV an MP3 is decoded into) land inside it. The stop signals are blocked and a watcher thread
// waits for them; on one it removes the folder and ends the process by that signal, as its default
// action would. Construct in the main thread before any other thread starts.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& Path() const { return m_folder; }

private:
    void Watch();

    std::string m_folder;  // empty when it could not be made (temporary files then go to /tmp)
    std::optional<std::string> m_oldTmpdir;
    int m_signalFd = -1;
    int m_stopFd = -1;  // eventfd: the destructor wakes the watcher through it
    std::thread m_watcher;
};

}  // namespace lumavox::cli
