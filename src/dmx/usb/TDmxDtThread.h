#pragma once

#include <chrono>
#include <cstdint>
#include <thread>

#include "dmx/FrameSource.h"
#include "dmx/OutputThreadGate.h"
#include "dmx/usb/UsbDmxLoop.h"
#include "platform/Clock.h"
#include "platform/UsbTransport.h"

namespace lumavox {

// The USB DMX output thread: every period it calls the frame source and writes the frame to the
// interface as an 8-byte header and eight 64-byte packets. The device is opened (and drained) once
// at construction; without one the loop still runs the tick so the play position advances.
// Created parked; Terminate (or destruction) ends the loop, writes an all-zero header and closes
// the device. Control thread (UI, or the command-line player's main thread).
class TDmxDtThread {
public:
    TDmxDtThread(IFrameSource& source, IUsbTransport& transport, const IClock& clock,
                 const UsbDmxConfig& config);
    ~TDmxDtThread();
    TDmxDtThread(const TDmxDtThread&) = delete;
    TDmxDtThread& operator=(const TDmxDtThread&) = delete;

    void Resume();
    bool Suspend(std::chrono::milliseconds bound = std::chrono::milliseconds(1000));
    bool Terminate(std::chrono::milliseconds bound = std::chrono::milliseconds(2000));

    // True while the loop is asked to run (resumed and neither suspended nor terminated). The gate
    // does not count: Suspend then Resume runs a thread that was parked before, so a caller that
    // parks for a change resumes only when this was true.
    bool Running() const { return m_gate.Running(); }

    // The options dialog: suspend, set the period, resume.
    void SetPeriod(uint32_t periodMs) { m_loop.SetPeriod(periodMs); }
    uint32_t Period() const { return m_loop.Period(); }
    // Any time; the next frame follows it.
    void SetLightOffset(int32_t ms) { m_loop.SetLightOffset(ms); }
    int32_t LightOffset() const { return m_loop.LightOffset(); }
    // Shown in the status line as "DMX:OK" / "DMX:NG".
    bool DevicePresent() const { return m_devicePresent; }

private:
    void Run();

    IUsbTransport& m_transport;
    const bool m_devicePresent;
    UsbDmxLoop m_loop;
    OutputThreadGate m_gate;
    bool m_finished = false;
    std::thread m_thread;
};

}  // namespace lumavox
