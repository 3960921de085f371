#include "dmx/OutputPair.h"

#include <thread>

namespace lumavox {

OutputPair::OutputPair(IFrameSource& source, const IClock& clock, const OutputPairConfig& config)
    : m_ownUsb(std::make_unique<LibusbTransport>()) {
    if (!config.WithArtnet) {
        Build(source, clock, config, nullptr, *m_ownUsb);
        return;
    }
    m_ownSocket = std::make_unique<PosixUdpSocket>();
    m_ownInterfaces = std::make_unique<SystemInterfaceList>();
    m_ownAddresses = std::make_unique<NetlinkAddressConfig>();
    const ArtnetNetwork network{*m_ownSocket, *m_ownInterfaces, *m_ownAddresses};
    Build(source, clock, config, &network, *m_ownUsb);
}

OutputPair::OutputPair(IFrameSource& source, const IClock& clock, const OutputPairConfig& config,
                       ArtnetNetwork network, IUsbTransport& usb) {
    Build(source, clock, config, config.WithArtnet ? &network : nullptr, usb);
}

void OutputPair::Build(IFrameSource& source, const IClock& clock, const OutputPairConfig& config,
                       const ArtnetNetwork* network, IUsbTransport& usb) {
    if (network != nullptr) {
        ArtnetConfig artnet;
        artnet.txUniverse = config.TxUniverse;
        artnet.unicast = config.ArtnetUnicast;
        artnet.artSync = config.ArtSync;
        m_artnet = std::make_unique<TArtnetThread>(source, *network, clock, artnet);
    }
    UsbDmxConfig dmx;
    dmx.periodMs = config.UsbPeriodMs;
    dmx.vendorId = config.UsbVendorId;
    dmx.productId = config.UsbProductId;
    m_usb = std::make_unique<TDmxDtThread>(source, usb, clock, dmx);
}

OutputPair::~OutputPair() {
    Terminate();
}

void OutputPair::Start(OutputType type) {
    if (type == OutputType::ArtNet && !m_artnet) return;
    m_active = type;
    if (type == OutputType::ArtNet) {
        m_artnet->Resume();
        // Look for nodes at once rather than at the first periodic poll.
        m_artnet->SendPoll();
    } else {
        m_usb->Resume();
    }
}

std::string OutputPair::InitErrorAfterStart() {
    if (!m_artnet) return {};
    std::string error = m_artnet->InitError();
    m_artnet->ClearInitError();
    return error;
}

void OutputPair::SwitchTo(OutputType type, std::chrono::milliseconds settle) {
    if (type == m_active || (type == OutputType::ArtNet && !m_artnet)) return;
    m_active = type;
    if (type == OutputType::ArtNet) {
        if (m_usb->Running()) m_usb->Suspend();
        std::this_thread::sleep_for(settle);
        m_artnet->Nodes().Clear();
        m_artnet->Nodes().SetNodesChanged();  // the node list shows the empty table
        m_artnet->Resume();
        m_artnet->SendPoll();
    } else {
        if (m_artnet && m_artnet->Running()) m_artnet->Suspend();
        std::this_thread::sleep_for(settle);
        m_usb->Resume();
    }
}

void OutputPair::SetUsbPeriod(uint32_t periodMs) {
    const bool wasRunning = m_usb->Running();
    if (wasRunning) m_usb->Suspend();
    m_usb->SetPeriod(periodMs);
    if (wasRunning) m_usb->Resume();
}

void OutputPair::Terminate() {
    if (m_artnet) m_artnet->Terminate();
    if (m_usb) m_usb->Terminate();
}

}  // namespace lumavox
