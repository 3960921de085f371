#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "dmx/FrameSource.h"
#include "platform/Clock.h"

namespace lumavox {

class TArtnetThread;
class TDmxDtThread;
class PosixUdpSocket;
class SystemInterfaceList;
class NetlinkAddressConfig;
class LibusbTransport;

// The editor's two output threads with the operating-system pieces they work through: both are
// created parked, only the one the settings select runs. UI thread only.
class OutputThreads {
public:
    OutputThreads(IFrameSource& source, const IClock& clock);
    ~OutputThreads();
    OutputThreads(const OutputThreads&) = delete;
    OutputThreads& operator=(const OutputThreads&) = delete;

    // Creates both threads parked (Art-Net with its universe, USB DMX with its period).
    void Create(int32_t txUniverse, uint32_t usbPeriodMs, uint16_t usbVendor, uint16_t usbProduct);
    // Lets the selected thread run: 1 Art-Net (then polls for nodes), anything else USB DMX.
    void Start(int32_t dmxType);
    // The Art-Net set-up error found at the first start, handed out once.
    std::string TakeInitError();
    // Ends the Art-Net thread, then the USB DMX thread (an added address is removed, the USB
    // interface gets its closing header).
    void Terminate();

    bool NetReady() const;
    int NodeCount() const;
    bool DevicePresent() const;
    // The universe the Art-Net thread sends (the options dialog may have changed it).
    int32_t TxUniverse(int32_t fallback) const;

private:
    IFrameSource& m_source;
    const IClock& m_clock;
    std::unique_ptr<PosixUdpSocket> m_socket;
    std::unique_ptr<SystemInterfaceList> m_interfaces;
    std::unique_ptr<NetlinkAddressConfig> m_addresses;
    std::unique_ptr<LibusbTransport> m_usb;
    std::unique_ptr<TArtnetThread> m_artnet;
    std::unique_ptr<TDmxDtThread> m_dmx;
};

}  // namespace lumavox
