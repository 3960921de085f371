#include "dmx/artnet/TArtnetThread.h"

#include "platform/Paths.h"
#include "platform/ThreadTiming.h"

namespace lumavox {

TArtnetThread::TArtnetThread(IFrameSource& source, ArtnetNetwork network, const IClock& clock,
                             const ArtnetConfig& config)
    : m_network(network),
      m_clock(clock),
      m_loop(network.socket, source, clock, m_shared, config.periodMs) {
    m_shared.txUniverse.store(config.txUniverse, std::memory_order_relaxed);
    m_shared.sendEnabled.store(config.sendEnabled, std::memory_order_relaxed);
    m_shared.unicast.store(config.unicast, std::memory_order_relaxed);
    m_shared.artSync.store(config.artSync, std::memory_order_relaxed);

    m_choice = ChooseLocalAddress(m_network.interfaces.Ipv4Addresses());
    m_localAddress = m_choice.address;
    m_localAddressText = DottedAddress(m_localAddress);
    m_loop.SetLocalAddress(m_localAddress);

    const bool open = m_network.socket.Open(kArtnetPort, m_socketError);
    m_shared.netReady.store(open, std::memory_order_relaxed);
    // Another copy of this program holds the port while it runs, so a copy that cannot open it
    // leaves every address alone. With the port, a labelled address is a left-over only when no
    // running copy (of another user, say, or one that is just ending) owns it.
    if (m_choice.leftOver && open &&
        m_network.addresses.TakeOver(m_choice.addedAddress, m_choice.interfaceIndex)) {
        m_addressAdded = true;  // used as found, removed at the end
    }

    m_thread = std::thread([this] { Run(); });
}

TArtnetThread::~TArtnetThread() {
    Terminate();
    if (m_thread.joinable()) m_thread.join();
}

void TArtnetThread::Resume() {
    if (m_finished) return;
    PrepareOnFirstResume();
    m_gate.Resume();
}

bool TArtnetThread::Suspend(std::chrono::milliseconds bound) {
    return m_gate.Suspend(bound);
}

bool TArtnetThread::Terminate(std::chrono::milliseconds bound) {
    if (m_finished) return true;
    m_gate.RequestTerminate();
    const bool ended = m_gate.WaitExited(bound);
    // Every wait inside the loop is bounded (a sleep of less than a period, non-blocking socket
    // calls), so the join returns even when the bound above was too short.
    if (m_thread.joinable()) m_thread.join();
    m_network.socket.Close();
    m_shared.netReady.store(false, std::memory_order_relaxed);
    RemoveAddedAddress();
    m_finished = true;
    return ended;
}

void TArtnetThread::SendPoll() {
    if (!NetReady()) return;
    m_network.socket.SendTo(kArtnetBroadcast, kArtnetPort, BuildArtPoll());
}

bool TArtnetThread::ReceivesUnicast(const std::array<uint8_t, 4>& address) const {
    const uint32_t host = uint32_t{address[0]} << 24 | uint32_t{address[1]} << 16 |
                          uint32_t{address[2]} << 8 | uint32_t{address[3]};
    return Unicast() &&
           m_shared.subscriptions.Receives(host, PortAddressOf(TxUniverse()), m_clock.NowMs());
}

void TArtnetThread::PrepareOnFirstResume() {
    if (m_resumedOnce) return;
    m_resumedOnce = true;
    if (!NetReady()) {
        // Nothing can be sent, so no address is added for it.
        m_initError = PortRefusedWarning(m_socketError);
        return;
    }
    if (!m_choice.addAddress) return;
    // The mask stays 255.255.255.0, but the broadcast address is 2.255.255.255: only then does
    // the kernel send the frames as broadcasts out of this interface, from 2.b.c.d.
    const std::string error = m_network.addresses.AddAddress(
        m_choice.addedAddress, m_choice.prefixLength, kArtnetBroadcast, m_choice.interfaceIndex);
    if (!error.empty()) {
        // Output goes on through the existing address.
        m_initError = AddressRefusedWarning(
            m_choice, error, m_network.interfaces.InterfaceName(m_choice.interfaceIndex),
            ExePath());
        return;
    }
    m_addressAdded = true;
    m_localAddress = m_choice.addedAddress;
    m_localAddressText = DottedAddress(m_localAddress);
    m_loop.SetLocalAddress(m_localAddress);  // the loop is parked: it has not run, or Suspend ran
}

void TArtnetThread::RemoveAddedAddress() {
    if (!m_addressAdded) return;
    m_network.addresses.RemoveAddress(m_choice.addedAddress, m_choice.prefixLength,
                                      m_choice.interfaceIndex);
    m_addressAdded = false;
}

void TArtnetThread::Run() {
    RunOutputLoop(m_gate, m_loop);
}

}  // namespace lumavox
