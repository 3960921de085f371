#include "dmx/usb/UsbDmxLoop.h"

#include <algorithm>

#include "dmx/usb/UsbDmxDevice.h"

namespace lumavox {

UsbDmxLoop::UsbDmxLoop(IUsbTransport& transport, bool devicePresent, IFrameSource& source,
                       const IClock& clock, const UsbDmxConfig& config)
    : m_transport(transport),
      m_devicePresent(devicePresent),
      m_source(source),
      m_clock(clock),
      m_periodMs(config.periodMs),
      m_sendConfig(config.sendConfig),
      m_sendData(config.sendData),
      m_headerFlag10(config.headerFlag10),
      m_headerFlag20(config.headerFlag20) {}

void UsbDmxLoop::Start() {
    m_last = m_start = m_clock.NowMs();
    m_frames = 0;
}

uint32_t UsbDmxLoop::Iterate() {
    const uint32_t period = std::max<uint32_t>(Period(), 1);
    const uint32_t now = m_clock.NowMs();
    if (now - m_last < period) return 0;
    m_last = now;
    ++m_frames;
    m_source.SetLightOffsetMs(LightOffset());
    m_source.Tick(m_frame);
    if (m_devicePresent && (m_sendConfig || m_sendData)) {
        m_sendConfig = false;
        WriteUsbDmxFrame(m_transport, UsbDmxHeader(m_headerFlag10, m_headerFlag20), m_sendData,
                         m_frame);
    }
    // Catch-up in whole periods since the start: when behind, count one frame more (or jump to
    // the elapsed count) and run the tick once more so the play position keeps up.
    const uint32_t elapsed = (m_last - m_start) / period;
    if (elapsed > m_frames) {
        ++m_frames;
        if (elapsed > m_frames) m_frames = elapsed;
        m_source.Tick(m_frame);
    }
    const uint32_t spent = m_clock.NowMs() - m_last;
    return spent + 2 < period ? period - 2 - spent : 0;
}

void UsbDmxLoop::Finish() {
    if (!m_devicePresent) return;
    m_transport.Write(UsbDmxHeader(false, false), kUsbWriteTimeoutMs);
}

}  // namespace lumavox
