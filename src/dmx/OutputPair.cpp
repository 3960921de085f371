#include "dmx/OutputPair.h"

#include <algorithm>
#include <thread>

namespace lumavox {

OutputPair::OutputPair(IFrameSource& source, const IClock& clock, const OutputPairConfig& config)
    : m_ownUsb(std::make_unique<LibusbTransport>()) {
    if (config.WithArtnet || config.WithSacn) {
        m_ownInterfaces = std::make_unique<SystemInterfaceList>();
    }
    if (config.WithSacn) m_ownSacnSocket = std::make_unique<PosixUdpSocket>();
    if (!config.WithArtnet) {
        Build(source, clock, config, nullptr, *m_ownUsb, m_ownSacnSocket.get(),
              m_ownInterfaces.get());
        return;
    }
    m_ownSocket = std::make_unique<PosixUdpSocket>();
    m_ownAddresses = std::make_unique<NetlinkAddressConfig>();
    const ArtnetNetwork network{*m_ownSocket, *m_ownInterfaces, *m_ownAddresses};
    Build(source, clock, config, &network, *m_ownUsb, m_ownSacnSocket.get(), m_ownInterfaces.get());
}

OutputPair::OutputPair(IFrameSource& source, const IClock& clock, const OutputPairConfig& config,
                       ArtnetNetwork network, IUsbTransport& usb, IUdpSocket* sacnSocket) {
    Build(source, clock, config, config.WithArtnet ? &network : nullptr, usb,
          config.WithSacn ? sacnSocket : nullptr, &network.interfaces);
}

void OutputPair::Build(IFrameSource& source, const IClock& clock, const OutputPairConfig& config,
                       const ArtnetNetwork* network, IUsbTransport& usb, IUdpSocket* sacnSocket,
                       IInterfaceList* interfaces) {
    if (network != nullptr) {
        ArtnetConfig artnet;
        artnet.txUniverse = config.TxUniverse;
        artnet.unicast = config.ArtnetUnicast;
        artnet.artSync = config.ArtSync;
        m_artnet = std::make_unique<TArtnetThread>(source, *network, clock, artnet);
    }
    if (sacnSocket != nullptr && interfaces != nullptr) {
        m_sacn =
            std::make_unique<TSacnThread>(source, *sacnSocket, *interfaces, clock, config.Sacn);
    }
    UsbDmxConfig dmx;
    dmx.periodMs = config.UsbPeriodMs;
    dmx.vendorId = config.UsbVendorId;
    dmx.productId = config.UsbProductId;
    m_usb = std::make_unique<TDmxDtThread>(source, usb, clock, dmx);
    SetTiming(config.Timing);
}

void OutputPair::SetTiming(const OutputTiming& timing) {
    const uint32_t gap = std::min(timing.MinFrameGapMs, FrameSchedule::kMaxMinGapMs);
    if (m_artnet) {
        m_artnet->SetTiming(timing.EventTimed, gap,
                            OutputTiming::ClampOffset(timing.ArtnetLightOffsetMs));
    }
    if (m_sacn) {
        m_sacn->SetTiming(timing.EventTimed, gap,
                          OutputTiming::ClampOffset(timing.SacnLightOffsetMs));
    }
    m_usb->SetLightOffset(OutputTiming::ClampOffset(timing.UsbLightOffsetMs));
}

OutputPair::~OutputPair() {
    Terminate();
}

bool OutputPair::Has(OutputType type) const {
    switch (type) {
        case OutputType::ArtNet:
            return m_artnet != nullptr;
        case OutputType::Sacn:
            return m_sacn != nullptr;
        case OutputType::Usb:
            return true;
    }
    return false;
}

void OutputPair::Start(OutputType type) {
    if (!Has(type)) return;
    m_active = type;
    if (type == OutputType::ArtNet) {
        m_artnet->Resume();
        // Look for nodes at once rather than at the first periodic poll.
        m_artnet->SendPoll();
    } else if (type == OutputType::Sacn) {
        m_sacn->Resume();
    } else {
        m_usb->Resume();
    }
}

std::string OutputPair::InitErrorAfterStart() {
    std::string error;
    if (m_active == OutputType::ArtNet && m_artnet) {
        error = m_artnet->InitError();
        m_artnet->ClearInitError();
    } else if (m_active == OutputType::Sacn && m_sacn) {
        error = m_sacn->InitError();
        m_sacn->ClearInitError();
    }
    return error;
}

void OutputPair::SwitchTo(OutputType type, std::chrono::milliseconds settle) {
    if (type == m_active || !Has(type)) return;
    m_active = type;
    if (type != OutputType::Usb && m_usb->Running()) m_usb->Suspend();
    if (type != OutputType::ArtNet && m_artnet && m_artnet->Running()) m_artnet->Suspend();
    if (type != OutputType::Sacn && m_sacn && m_sacn->Running()) m_sacn->Suspend();
    std::this_thread::sleep_for(settle);
    if (type == OutputType::ArtNet) {
        m_artnet->Nodes().Clear();
        m_artnet->Nodes().SetNodesChanged();  // the node list shows the empty table
        m_artnet->Resume();
        m_artnet->SendPoll();
    } else if (type == OutputType::Sacn) {
        m_sacn->Resume();
    } else {
        m_usb->Resume();
    }
}

void OutputPair::SetUsbPeriod(uint32_t periodMs) {
    const bool wasRunning = m_usb->Running();
    if (wasRunning) m_usb->Suspend();
    m_usb->SetPeriod(periodMs);
    if (wasRunning) m_usb->Resume();
}

void OutputPair::SetSacn(const SacnConfig& config) {
    if (m_sacn) m_sacn->Reconfigure(config);
}

void OutputPair::Terminate() {
    if (m_artnet) m_artnet->Terminate();
    if (m_sacn) m_sacn->Terminate();
    if (m_usb) m_usb->Terminate();
}

}  // namespace lumavox
