#pragma once

#include <atomic>
#include <cstdint>

#include "dmx/FrameSource.h"
#include "dmx/Patch.h"
#include "platform/Clock.h"
#include "platform/UsbTransport.h"

namespace lumavox {

struct UsbDmxConfig {
    uint32_t periodMs = 20;  // setting "DmxInterval"
    uint16_t vendorId = 0;   // settings "UsbVendorId" / "UsbProductId" (see kUsbVendorId)
    uint16_t productId = 0;
    // What the program sets before the thread first runs: a header with flag 0x20 and the data
    // every frame.
    bool sendConfig = true;
    bool sendData = true;
    bool headerFlag10 = false;
    bool headerFlag20 = true;
};

// One USB DMX output period after another: the tick, the header and eight data packets, and one
// extra tick when the loop has fallen behind by more than a period (catch-up: that frame is not
// sent, the next period sends a fresh one). Output thread only.
class UsbDmxLoop {
public:
    UsbDmxLoop(IUsbTransport& transport, bool devicePresent, IFrameSource& source,
               const IClock& clock, const UsbDmxConfig& config);

    // Read by the loop at every pass; the options dialog changes it while the loop is parked.
    void SetPeriod(uint32_t periodMs) { m_periodMs.store(periodMs, std::memory_order_relaxed); }
    uint32_t Period() const { return m_periodMs.load(std::memory_order_relaxed); }
    // Show time runs this far ahead of the play position; any thread, read at every pass.
    void SetLightOffset(int32_t ms) { m_lightOffsetMs.store(ms, std::memory_order_relaxed); }
    int32_t LightOffset() const { return m_lightOffsetMs.load(std::memory_order_relaxed); }

    void Start();
    // One pass; returns how long to sleep in milliseconds (0: not yet due, wait for the next
    // millisecond).
    uint32_t Iterate();
    // End of the loop: an all-zero header tells the device that output stops.
    void Finish();

private:
    IUsbTransport& m_transport;
    const bool m_devicePresent;
    IFrameSource& m_source;
    const IClock& m_clock;
    // Relaxed: a single value, written while the loop is parked (the gate orders it).
    std::atomic<uint32_t> m_periodMs;
    std::atomic<int32_t> m_lightOffsetMs{0};
    bool m_sendConfig;
    const bool m_sendData;
    const bool m_headerFlag10;
    const bool m_headerFlag20;
    uint32_t m_start = 0;
    uint32_t m_last = 0;
    uint32_t m_frames = 0;
    DmxFrame m_frame{};
};

}  // namespace lumavox
