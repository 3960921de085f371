#include "dmx/usb/TDmxDtThread.h"

#include "dmx/usb/UsbDmxDevice.h"
#include "platform/ThreadTiming.h"

namespace lumavox {

TDmxDtThread::TDmxDtThread(IFrameSource& source, IUsbTransport& transport, const IClock& clock,
                           const UsbDmxConfig& config)
    : m_transport(transport),
      m_devicePresent(OpenUsbDmxDevice(transport, config.vendorId, config.productId)),
      m_loop(transport, m_devicePresent, source, clock, config),
      m_thread([this] { Run(); }) {}

TDmxDtThread::~TDmxDtThread() {
    Terminate();
}

void TDmxDtThread::Resume() {
    if (!m_finished) m_gate.Resume();
}

bool TDmxDtThread::Suspend(std::chrono::milliseconds bound) {
    return m_gate.Suspend(bound);
}

bool TDmxDtThread::Terminate(std::chrono::milliseconds bound) {
    if (m_finished) return true;
    m_gate.RequestTerminate();
    const bool ended = m_gate.WaitExited(bound);
    // Each pass of the loop is bounded (nine writes of at most 100 ms and a sleep shorter than a
    // period), so the join returns even when the bound above was too short.
    if (m_thread.joinable()) m_thread.join();
    // The final header goes out whether the loop ever ran or not: output stops here.
    try {
        m_loop.Finish();
    } catch (...) {
    }
    if (m_devicePresent) m_transport.Close();
    m_finished = true;
    return ended;
}

void TDmxDtThread::Run() {
    RunOutputLoop(m_gate, m_loop);
}

}  // namespace lumavox
