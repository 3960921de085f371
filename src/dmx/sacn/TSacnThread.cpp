#include "dmx/sacn/TSacnThread.h"

#include "dmx/artnet/LocalAddress.h"
#include "platform/NetworkInfo.h"

namespace lumavox {

SacnInterfaceChoice ChooseSacnInterface(const std::string& name, std::optional<int> namedIndex,
                                        std::optional<int> defaultRoute,
                                        const std::optional<std::vector<Ipv4Interface>>& table) {
    if (!name.empty()) {
        if (namedIndex) return {*namedIndex, {}};
        return {0, "there is no network interface \"" + name + "\" (setting SacnInterface)"};
    }
    if (defaultRoute) return {*defaultRoute, {}};
    if (table) {
        for (const Ipv4Interface& entry : *table) {
            if (entry.address >> 24 != 127) return {entry.interfaceIndex, {}};
        }
    }
    return {};
}

TSacnThread::TSacnThread(IFrameSource& source, IUdpSocket& socket, IInterfaceList& interfaces,
                         const IClock& clock, const SacnConfig& config)
    : m_socket(socket),
      m_interfaces(interfaces),
      m_loop(socket, source, clock, m_shared, config.periodMs) {
    // Any free port: receivers listen on 5568, the source's own port does not matter.
    m_socketOpen = m_socket.Open(0, m_socketError);
    Apply(config);
    m_thread = std::thread([this] { RunOutputLoop(m_gate, m_loop); });
}

TSacnThread::~TSacnThread() {
    Terminate();
    if (m_thread.joinable()) m_thread.join();
}

void TSacnThread::Resume() {
    if (m_finished) return;
    m_gate.Resume();
}

bool TSacnThread::Suspend(std::chrono::milliseconds bound) {
    if (m_finished) return true;
    const bool parked = m_gate.Suspend(bound);
    if (parked) m_loop.Terminate();  // the loop holds still until the next Resume
    return parked;
}

bool TSacnThread::Terminate(std::chrono::milliseconds bound) {
    if (m_finished) return true;
    m_gate.RequestTerminate();
    const bool ended = m_gate.WaitExited(bound);
    // Every wait inside the loop is bounded, so the join returns even past the bound.
    if (m_thread.joinable()) m_thread.join();
    m_loop.Terminate();
    m_socket.Close();
    m_shared.ready.store(false, std::memory_order_relaxed);
    m_finished = true;
    return ended;
}

void TSacnThread::Reconfigure(const SacnConfig& config) {
    if (m_finished) return;
    const bool wasRunning = Running();
    if (wasRunning && !Suspend()) return;  // the loop did not park: leave it as it is
    if (!wasRunning) m_loop.Terminate();   // parked already; a stream may still be live
    Apply(config);
    if (wasRunning) Resume();
}

void TSacnThread::Apply(const SacnConfig& config) {
    m_config = config;
    m_config.periodMs = m_loop.PeriodMs();
    m_problem.clear();
    std::string destinations;
    for (const uint32_t address : config.stream.unicast) {
        destinations += (destinations.empty() ? "" : ", ") + DottedAddress(address);
    }
    bool ready = m_socketOpen;
    if (!config.settingError.empty()) {
        m_problem = config.settingError + "; nothing is sent";
        ready = false;
    } else if (!m_socketOpen) {
        m_problem = "cannot open a UDP socket for sACN: " + m_socketError;
    } else if (config.stream.unicast.empty()) {
        const SacnInterfaceChoice choice =
            ChooseSacnInterface(config.interfaceName, InterfaceIndexOf(config.interfaceName),
                                DefaultRouteInterface(), m_interfaces.Ipv4Addresses());
        MulticastOptions options;
        options.interfaceIndex = choice.index;
        options.ttl = config.ttl;
        std::string error;
        if (!choice.error.empty()) {
            m_problem = choice.error + "; nothing is sent";
            ready = false;
        } else if (!m_socket.SetMulticast(options, error)) {
            m_problem = "cannot send sACN multicast: " + error;
            ready = false;
        }
        destinations = DottedAddress(SacnMulticastAddress(config.stream.universe));
        const std::string name = m_interfaces.InterfaceName(choice.index);
        if (!name.empty()) destinations += " on " + name;
    }
    m_initError = m_problem;
    m_destinationText = destinations;
    m_loop.Configure(config.stream);
    m_shared.ready.store(ready, std::memory_order_relaxed);
}

}  // namespace lumavox
