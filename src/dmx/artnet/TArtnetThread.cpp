#include "dmx/artnet/TArtnetThread.h"

#include "platform/Paths.h"
#include "platform/ThreadTiming.h"

namespace lumavox {

TArtnetThread::TArtnetThread(IFrameSource& source, ArtnetNetwork network, const IClock& clock,
                             const ArtnetConfig& config)
    : m_network(network), m_loop(network.socket, source, clock, m_shared, config.periodMs) {
    m_shared.txUniverse.store(config.txUniverse, std::memory_order_relaxed);
    m_shared.sendEnabled.store(config.sendEnabled, std::memory_order_relaxed);

    m_choice = ChooseLocalAddress(m_network.interfaces.Ipv4Addresses());
    m_localAddress = m_choice.address;
    m_localAddressText = DottedAddress(m_localAddress);
    m_loop.SetLocalAddress(m_localAddress);
    if (m_choice.leftOver) {
        // Ours from a run that did not end cleanly: used as found, removed at the end.
        m_addressTried = true;
        m_addressAdded = true;
    }

    std::string error;
    m_shared.netReady.store(m_network.socket.Open(kArtnetPort, error), std::memory_order_relaxed);
    // A bind failure leaves the output not ready without a message, as does a socket failure.

    m_thread = std::thread([this] { Run(); });
}

TArtnetThread::~TArtnetThread() {
    Terminate();
    if (m_thread.joinable()) m_thread.join();
}

void TArtnetThread::Resume() {
    if (m_finished) return;
    AddAddressOnce();
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

void TArtnetThread::AddAddressOnce() {
    if (m_addressTried || !m_choice.addAddress) return;
    m_addressTried = true;
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
