#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "dmx/FrameSchedule.h"
#include "dmx/FrameSource.h"
#include "dmx/sacn/SacnPackets.h"
#include "platform/Clock.h"
#include "platform/UdpSocket.h"
#include "platform/Uuid.h"

namespace lumavox {

// What a sACN stream is: who sends it, which universe, and where the packets go.
struct SacnStream {
    Uuid cid{};
    std::string sourceName;
    uint16_t universe = 1;
    uint8_t priority = kSacnDefaultPriority;
    uint16_t syncUniverse = 0;      // 0: none, the data takes effect on arrival
    std::vector<uint32_t> unicast;  // empty: the universe's multicast group
};

// Values the output loop publishes for the control thread and the status line. Relaxed: each is a
// lone value shown on the next display tick; nothing else is read through them.
struct SacnShared {
    // Set by the control thread while the loop is parked: without it frames are ticked, not sent.
    std::atomic<bool> ready{false};
    std::atomic<bool> lastSendOk{true};
    std::atomic<uint32_t> packetsSent{0};
    // Set by the control thread at any time, read every pass: frames also at each step's time, no
    // two closer than minGapMs; show time runs lightOffsetMs ahead of the play position.
    std::atomic<bool> eventTimed{false};
    std::atomic<uint32_t> minGapMs{FrameSchedule::kDefaultMinGapMs};
    std::atomic<int32_t> lightOffsetMs{0};
};

// One sACN output period after another: per frame the tick, and a data packet when the frame
// changed, for the two frames after a change (the same data three times in all), and as a
// keep-alive when nothing was sent for kKeepAliveMs. With a sync universe each data packet is
// followed by a sync packet. Every packet of the stream carries the next sequence number; the sync
// packets count on their own.
//
//   last                              last+period
//    |-- tick, send --|-- sleep --|-- spin --|-- tick, send ...
//                                 ^ period-2 ms after last
//
// Event-timed, a frame also leaves at the time of each step and a periodic frame inside the
// minimum gap after one waits for the gap's end (FrameSchedule); the tick itself stays on time.
//
// Output thread only; the control thread calls Configure and Terminate while the loop is parked
// or has ended.
class SacnLoop {
public:
    static constexpr uint32_t kKeepAliveMs = 800;  // receivers give a source up after 2.5 s
    static constexpr int kRepeatsAfterChange = 2;
    static constexpr int kTerminationPackets = 3;

    SacnLoop(IUdpSocket& socket, IFrameSource& source, const IClock& clock, SacnShared& shared,
             uint32_t periodMs);

    // A new stream description; the next frame is sent whatever it holds.
    void Configure(const SacnStream& stream);
    // Start of the loop: the period counts from now.
    void Start();
    // One pass; returns how long to sleep in milliseconds (0: not yet due).
    uint32_t Iterate();
    // Ends the stream, if data went out since the last end: the last data three times with the
    // terminated bit. The next frame then starts it again.
    void Terminate();

    uint32_t PeriodMs() const { return m_periodMs; }

private:
    // The sending decision for the frame in m_frame at now: changed, repeat or keep-alive.
    bool SendIfNeeded(uint32_t now);
    void SendData(uint32_t now);
    void SendToAll(std::span<const uint8_t> bytes, const std::vector<uint32_t>& destinations);

    IUdpSocket& m_socket;
    IFrameSource& m_source;
    const IClock& m_clock;
    SacnShared& m_shared;
    const uint32_t m_periodMs;

    SacnStream m_stream;
    std::vector<uint32_t> m_dataDestinations;
    std::vector<uint32_t> m_syncDestinations;
    SacnDataPacket m_data{};
    uint8_t m_sequence = 0;
    uint8_t m_syncSequence = 0;
    bool m_live = false;     // data went out since the stream last ended
    bool m_sendNext = true;  // the next frame goes out whatever it holds
    int m_repeatsLeft = 0;
    uint32_t m_last = 0;
    uint32_t m_lastSend = 0;
    DmxFrame m_frame{};
    FrameSchedule m_schedule;
};

}  // namespace lumavox
