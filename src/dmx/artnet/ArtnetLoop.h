#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "dmx/FrameSchedule.h"
#include "dmx/FrameSource.h"
#include "dmx/artnet/ArtnetPackets.h"
#include "dmx/artnet/NodeSubscriptions.h"
#include "dmx/artnet/NodeTable.h"
#include "platform/Clock.h"
#include "platform/UdpSocket.h"

namespace lumavox {

// Values the control thread sets and the Art-Net loop reads every iteration.
struct ArtnetShared {
    // Relaxed: each is an independent value, and a change needs to show only in a later frame.
    std::atomic<int32_t> txUniverse{0};
    std::atomic<bool> sendEnabled{false};
    // Set by the control thread before the loop runs and not changed while it runs.
    std::atomic<bool> netReady{false};
    // ArtDmx goes unicast to each node whose latest reply outputs the universe instead of to the
    // broadcast address (so nowhere while no node does); ArtSync is broadcast after every frame's
    // ArtDmx.
    std::atomic<bool> unicast{false};
    std::atomic<bool> artSync{false};
    // Frames also at each step's time, no two closer than minGapMs; show time runs
    // lightOffsetMs ahead of the play position.
    std::atomic<bool> eventTimed{false};
    std::atomic<uint32_t> minGapMs{FrameSchedule::kDefaultMinGapMs};
    std::atomic<int32_t> lightOffsetMs{0};
    NodeTable nodes;
    NodeSubscriptions subscriptions;
};

// One Art-Net output period after another: receive, poll every 2 s, and per frame the tick and an
// ArtDmx when the frame changed or every 1500/period frames (a keyframe). With unicast, a node
// that has just subscribed to the universe gets the frame with the next one, changed or not.
//
//   last                              last+period
//    |-- tick, send --|-- sleep --|-- spin --|-- tick, send ...
//                                 ^ period-2 ms after last
//
// Event-timed, a frame also leaves at the time of each step and a periodic frame inside the
// minimum gap after one waits for the gap's end (FrameSchedule); the tick itself stays on time.
//
// Output thread only (the control thread may call SetLocalAddress while the loop is parked).
class ArtnetLoop {
public:
    ArtnetLoop(IUdpSocket& socket, IFrameSource& source, const IClock& clock, ArtnetShared& shared,
               uint32_t periodMs);

    void SetLocalAddress(uint32_t address) { m_reply = BuildArtPollReply(address); }
    // Start of the loop: timers from now, and the present frame forced out.
    void Start();
    // One pass; returns how long to sleep in milliseconds (0: not yet due, wait for the next
    // millisecond).
    uint32_t Iterate();

private:
    void Receive();
    // Returns whether an ArtDmx went out.
    bool SendDmx(bool force);
    void SendOffPeriodFrame(uint32_t now);
    void SendPoll();

    IUdpSocket& m_socket;
    IFrameSource& m_source;
    const IClock& m_clock;
    ArtnetShared& m_shared;
    const uint32_t m_periodMs;
    const uint32_t m_keyframeEvery;
    uint32_t m_last = 0;
    uint32_t m_pollTime = 0;
    uint32_t m_frameCounter = 0;
    DmxFrame m_frame{};
    ArtDmxPacket m_dmx;
    ArtPollReplyPacket m_reply;
    const ArtSyncPacket m_sync;
    NodeSubscriptions::Addresses m_destinations{};
    bool m_newSubscriber = false;
    FrameSchedule m_schedule;
    bool m_heldForce = false;  // the held periodic frame was a keyframe or welcome
    std::array<uint8_t, 2048> m_receiveBuffer{};
};

}  // namespace lumavox
