#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "dmx/FrameSource.h"
#include "dmx/OutputThreadGate.h"
#include "dmx/Patch.h"
#include "engine/EngineState.h"
#include "model/ProjectData.h"
#include "platform/Clock.h"
#include "platform/ShutdownSignals.h"

namespace lumavox {
class TArtnetThread;
class TDmxDtThread;
class PosixUdpSocket;
class SystemInterfaceList;
class NetlinkAddressConfig;
class LibusbTransport;
}  // namespace lumavox

namespace lumavox::cli {

enum class OutputKind { ArtNet, Usb, None };

struct PlayOptions {
    OutputKind output = OutputKind::None;
    int32_t universe = 0;       // Art-Net sub-net × 16 + ID
    uint32_t usbPeriodMs = 20;  // the USB output period
    uint16_t usbVendorId = 0;
    uint16_t usbProductId = 0;
    std::string settingsPath;  // named in the hint when no USB interface is configured
};

// Calls the frame source every period like an output thread, and sends the frame nowhere: the
// player's "--output none". Created parked; control thread: Resume and Terminate.
class NullOutputThread {
public:
    NullOutputThread(IFrameSource& source, const IClock& clock, uint32_t periodMs);
    ~NullOutputThread();
    NullOutputThread(const NullOutputThread&) = delete;
    NullOutputThread& operator=(const NullOutputThread&) = delete;

    void Resume() { m_gate.Resume(); }
    void Terminate();

private:
    // The loop the output threads' shared body runs: a tick every period, nothing sent.
    class Loop {
    public:
        Loop(IFrameSource& source, const IClock& clock, uint32_t periodMs)
            : m_source(source), m_clock(clock), m_periodMs(periodMs) {}
        void Start() { m_last = m_clock.NowMs() - m_periodMs; }
        uint32_t Iterate();

    private:
        IFrameSource& m_source;
        const IClock& m_clock;
        const uint32_t m_periodMs;
        uint32_t m_last = 0;
        DmxFrame m_frame{};
    };

    Loop m_loop;
    OutputThreadGate m_gate;
    std::thread m_thread;
};

// The chosen output thread with the operating-system pieces it works through. Control thread.
class OutputRunner {
public:
    OutputRunner(IFrameSource& source, const IClock& clock, const PlayOptions& options);
    ~OutputRunner();
    OutputRunner(const OutputRunner&) = delete;
    OutputRunner& operator=(const OutputRunner&) = delete;

    // Creates the thread and lets it run. Problems that still let the show run (no USB device,
    // an address that could not be added) are printed as warnings; false only when nothing can run.
    bool Start(std::string& error);
    // Ends the thread: the USB interface gets its closing header, an added address is removed.
    void Stop();
    // The Art-Net nodes found, one line each in the node-list format; empty for other outputs.
    std::vector<std::string> NodeLines() const;

private:
    IFrameSource& m_source;
    const IClock& m_clock;
    PlayOptions m_options;
    std::unique_ptr<PosixUdpSocket> m_socket;
    std::unique_ptr<SystemInterfaceList> m_interfaces;
    std::unique_ptr<NetlinkAddressConfig> m_addresses;
    std::unique_ptr<LibusbTransport> m_usb;
    std::unique_ptr<TArtnetThread> m_artnet;
    std::unique_ptr<TDmxDtThread> m_dmx;
    std::unique_ptr<NullOutputThread> m_null;
};

// Waits until the show has ended (or a stop signal arrived), printing the play time to stderr once
// a second when progress is set. False when the play position stopped moving for kStallLimit
// before the end.
inline constexpr std::chrono::seconds kStallLimit{5};
bool WaitForEnd(const EngineState& state, ShutdownSignals& signals,
                const std::function<bool()>& finished, bool progress);

// The time of the next once-a-second report after one was due at due and now has come: one second
// on, or, when the process was stopped for longer (Ctrl+Z, SIGSTOP), one second from now, so that
// the missed seconds do not come out in a burst.
std::chrono::steady_clock::time_point NextReportTime(std::chrono::steady_clock::time_point due,
                                                     std::chrono::steady_clock::time_point now);

// The hint printed when no USB DMX interface is configured (vendor and product identifiers 0).
std::string UsbNotConfiguredText(const std::string& settingsPath);

// The end of a show played through the engine: the post-roll has run out (or, without one, the
// sound has stopped at its end), and neither the sound nor the free clock runs.
bool EngineShowFinished(const EngineState& state, bool& started);

}  // namespace lumavox::cli
