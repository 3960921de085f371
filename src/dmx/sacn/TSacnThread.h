#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "dmx/FrameSource.h"
#include "dmx/OutputThreadGate.h"
#include "dmx/sacn/SacnLoop.h"
#include "platform/Clock.h"
#include "platform/NetworkConfig.h"
#include "platform/UdpSocket.h"

namespace lumavox {

// A sACN output as the settings describe it.
struct SacnConfig {
    SacnStream stream;
    std::string interfaceName;  // multicast interface; empty: the default route's
    int ttl = 1;
    uint32_t periodMs = 20;
    // A setting that could not be used (an unreadable address list, say): nothing is sent and
    // InitError tells why.
    std::string settingError;
};

// The interface multicast leaves by: the named one when a name is given (an error when it does
// not exist), else the one of the default route, else the first with an IPv4 address other than
// loopback (a lighting network often has no gateway), else the kernel's choice (index 0).
struct SacnInterfaceChoice {
    int index = 0;
    std::string error;  // the named interface does not exist
};
SacnInterfaceChoice ChooseSacnInterface(const std::string& name, std::optional<int> namedIndex,
                                        std::optional<int> defaultRoute,
                                        const std::optional<std::vector<Ipv4Interface>>& table);

// The sACN output thread: every period it calls the frame source and sends the frame as an E1.31
// data packet (see SacnLoop), to the universe's multicast group on the chosen interface with TTL
// 1, or to each unicast address. The stream is ended with three terminated packets whenever the
// loop is parked, reconfigured or ended, so receivers let go at once instead of after their
// 2.5 s timeout.
//
// Created parked; the socket (any free port) opens at construction. Control thread (the UI
// thread, or the command-line player's main thread), except the status readers.
class TSacnThread {
public:
    TSacnThread(IFrameSource& source, IUdpSocket& socket, IInterfaceList& interfaces,
                const IClock& clock, const SacnConfig& config);
    ~TSacnThread();
    TSacnThread(const TSacnThread&) = delete;
    TSacnThread& operator=(const TSacnThread&) = delete;

    void Resume();
    // Parks the loop and ends the stream; true once it is parked.
    bool Suspend(std::chrono::milliseconds bound = std::chrono::milliseconds(1000));
    // Ends the loop and the stream and closes the socket. True when the loop ended within bound.
    bool Terminate(std::chrono::milliseconds bound = std::chrono::milliseconds(1000));
    // A new configuration: the loop is parked (ending the stream), the interface chosen again,
    // and the loop resumed when it was running. The period stays.
    void Reconfigure(const SacnConfig& config);

    bool Running() const { return m_gate.Running(); }
    // The socket is open with its multicast settings and the interface exists.
    bool NetReady() const { return m_shared.ready.load(std::memory_order_relaxed); }
    // The last packet reached the network (false after, say, "Network is unreachable").
    bool LastSendOk() const { return m_shared.lastSendOk.load(std::memory_order_relaxed); }
    uint32_t PacketsSent() const { return m_shared.packetsSent.load(std::memory_order_relaxed); }
    const SacnConfig& Config() const { return m_config; }
    // Event timing and the light offset; any time, the loop follows from its next pass.
    void SetTiming(bool eventTimed, uint32_t minGapMs, int32_t lightOffsetMs) {
        m_shared.eventTimed.store(eventTimed, std::memory_order_relaxed);
        m_shared.minGapMs.store(minGapMs, std::memory_order_relaxed);
        m_shared.lightOffsetMs.store(lightOffsetMs, std::memory_order_relaxed);
    }
    // "239.255.0.7 on eth0" or "10.0.0.5, 10.0.0.6": where the data goes, for the user.
    const std::string& DestinationText() const { return m_destinationText; }
    // Why nothing can be sent (a setting, the socket or the interface); empty when it can.
    const std::string& Problem() const { return m_problem; }
    // The same, for the start-up warning: handed out until cleared once.
    const std::string& InitError() const { return m_initError; }
    void ClearInitError() { m_initError.clear(); }

private:
    void Apply(const SacnConfig& config);

    IUdpSocket& m_socket;
    IInterfaceList& m_interfaces;
    SacnShared m_shared;
    SacnLoop m_loop;
    OutputThreadGate m_gate;
    SacnConfig m_config;
    bool m_socketOpen = false;
    std::string m_socketError;
    std::string m_destinationText;
    std::string m_problem;
    std::string m_initError;
    bool m_finished = false;
    std::thread m_thread;
};

}  // namespace lumavox
