#include "app/OutputThreads.h"

#include "dmx/artnet/TArtnetThread.h"
#include "dmx/usb/TDmxDtThread.h"
#include "platform/NetworkConfig.h"
#include "platform/UdpSocket.h"
#include "platform/UsbTransport.h"

namespace lumavox {

OutputThreads::OutputThreads(IFrameSource& source, const IClock& clock)
    : m_source(source), m_clock(clock) {}

OutputThreads::~OutputThreads() {
    Terminate();
}

void OutputThreads::Create(int32_t txUniverse, uint32_t usbPeriodMs, uint16_t usbVendor,
                           uint16_t usbProduct) {
    m_socket = std::make_unique<PosixUdpSocket>();
    m_interfaces = std::make_unique<SystemInterfaceList>();
    m_addresses = std::make_unique<NetlinkAddressConfig>();
    ArtnetConfig artnet;
    artnet.txUniverse = txUniverse;
    m_artnet = std::make_unique<TArtnetThread>(
        m_source, ArtnetNetwork{*m_socket, *m_interfaces, *m_addresses}, m_clock, artnet);
    m_usb = std::make_unique<LibusbTransport>();
    UsbDmxConfig usb;
    usb.periodMs = usbPeriodMs;
    usb.vendorId = usbVendor;
    usb.productId = usbProduct;
    m_dmx = std::make_unique<TDmxDtThread>(m_source, *m_usb, m_clock, usb);
}

void OutputThreads::Start(int32_t dmxType) {
    if (dmxType == 1) {
        if (!m_artnet) return;
        m_artnet->Resume();
        // The thread learns of a refused address only when it first runs; look for nodes at once.
        m_artnet->SendPoll();
    } else if (m_dmx) {
        m_dmx->Resume();
    }
}

std::string OutputThreads::TakeInitError() {
    if (!m_artnet) return {};
    std::string error = m_artnet->InitError();
    m_artnet->ClearInitError();
    return error;
}

void OutputThreads::Terminate() {
    if (m_artnet) m_artnet->Terminate(std::chrono::milliseconds(250));
    if (m_dmx) m_dmx->Terminate(std::chrono::milliseconds(250));
}

bool OutputThreads::NetReady() const {
    return m_artnet && m_artnet->NetReady();
}

int OutputThreads::NodeCount() const {
    return m_artnet ? m_artnet->Nodes().Count() : 0;
}

bool OutputThreads::DevicePresent() const {
    return m_dmx && m_dmx->DevicePresent();
}

int32_t OutputThreads::TxUniverse(int32_t fallback) const {
    return m_artnet ? m_artnet->TxUniverse() : fallback;
}

}  // namespace lumavox
