#include "dmx/artnet/ArtnetLoop.h"

#include <algorithm>

#include "dmx/artnet/ArtnetReceive.h"
#include "dmx/artnet/LocalAddress.h"

namespace lumavox {
namespace {

constexpr uint32_t kPollIntervalMs = 2000;
constexpr uint32_t kKeyframeIntervalMs = 1500;
// Datagrams handled per pass, so a flood cannot hold up the frames.
constexpr int kReceivesPerPass = 16;

}  // namespace

ArtnetLoop::ArtnetLoop(IUdpSocket& socket, IFrameSource& source, const IClock& clock,
                       ArtnetShared& shared, uint32_t periodMs)
    : m_socket(socket),
      m_source(source),
      m_clock(clock),
      m_shared(shared),
      m_periodMs(std::clamp<uint32_t>(periodMs, 1, kKeyframeIntervalMs)),
      m_keyframeEvery(kKeyframeIntervalMs / m_periodMs),
      m_dmx(BuildArtDmx(0, DmxFrame{})),
      m_reply(BuildArtPollReply(kLoopbackAddress)),
      m_sync(BuildArtSync()) {}

void ArtnetLoop::Start() {
    m_last = m_pollTime = m_clock.NowMs();
    m_frameCounter = 0;
    m_schedule.Reset();
    m_heldForce = false;
    if (m_shared.sendEnabled.load(std::memory_order_relaxed) && SendDmx(true)) {
        m_schedule.Sent(m_last);
    }
}

uint32_t ArtnetLoop::Iterate() {
    const bool netReady = m_shared.netReady.load(std::memory_order_relaxed);
    if (netReady) Receive();
    const uint32_t now = m_clock.NowMs();
    const bool eventTimed = m_shared.eventTimed.load(std::memory_order_relaxed);
    m_schedule.Configure(eventTimed, m_shared.minGapMs.load(std::memory_order_relaxed));
    m_source.SetLightOffsetMs(m_shared.lightOffsetMs.load(std::memory_order_relaxed));
    if (now - m_last < m_periodMs) {
        if (now - m_pollTime >= kPollIntervalMs) {
            m_pollTime = now;
            SendPoll();
        }
        if (!eventTimed) return 0;
        if (m_schedule.Due(now)) SendOffPeriodFrame(now);
        return m_schedule.SleepMs(m_clock.NowMs(), m_last + m_periodMs);
    }
    m_last = now;
    ++m_frameCounter;
    const bool keyframe = m_frameCounter % m_keyframeEvery == 0;
    m_source.Tick(m_frame);
    // The next step by the model this tick has just settled: one known from the last pass may
    // lie at now by it, and a keyframe sent then would push the step right after it behind a gap.
    if (eventTimed) m_schedule.SetNextStep(m_source.NextStepAt(now));
    if (m_shared.sendEnabled.load(std::memory_order_relaxed)) {
        const bool welcome = m_newSubscriber && m_shared.unicast.load(std::memory_order_relaxed);
        m_newSubscriber = false;
        if (m_schedule.PeriodicMayGo(now)) {
            if (SendDmx(keyframe || welcome)) m_schedule.Sent(now);
        } else {
            m_heldForce = m_heldForce || keyframe || welcome;
        }
    }
    if (!eventTimed) {
        const uint32_t spent = m_clock.NowMs() - m_last;
        return spent + 2 < m_periodMs ? m_periodMs - 2 - spent : 0;
    }
    return m_schedule.SleepMs(m_clock.NowMs(), m_last + m_periodMs);
}

// A step's frame, or a periodic frame held for the gap's end, computed for this instant.
void ArtnetLoop::SendOffPeriodFrame(uint32_t now) {
    m_source.FrameAt(now, m_frame);
    m_schedule.SetNextStep(m_source.NextStepAt(now));
    // A held keyframe at a step that changes nothing (one holding the colour just before a jump)
    // goes with the jump's frame instead, so it cannot push the jump behind a gap.
    const bool unchanged =
        std::equal(m_frame.begin(), m_frame.end(), m_dmx.begin() + kArtDmxDataOffset);
    if (unchanged && m_schedule.HoldForNextStep(now)) return;
    const bool force = m_heldForce;
    m_heldForce = false;
    if (m_shared.sendEnabled.load(std::memory_order_relaxed) && SendDmx(force)) {
        m_schedule.Sent(now);
    } else {
        m_schedule.DropHeld();  // nothing changed, nothing went out
    }
}

void ArtnetLoop::Receive() {
    for (int i = 0; i < kReceivesPerPass; ++i) {
        const auto size = m_socket.Receive(m_receiveBuffer);
        if (!size) return;
        const std::span<const uint8_t> datagram(m_receiveBuffer.data(),
                                                std::min(*size, m_receiveBuffer.size()));
        const int32_t txUniverse = m_shared.txUniverse.load(std::memory_order_relaxed);
        const auto action = HandleArtnetDatagram(datagram, m_shared.nodes, txUniverse);
        if (SubscribeFromDatagram(datagram, m_shared.subscriptions, PortAddressOf(txUniverse),
                                  m_clock.NowMs())) {
            m_newSubscriber = true;
        }
        if (action == ReceiveAction::SendPollReply) {
            m_socket.SendTo(kArtnetBroadcast, kArtnetPort, m_reply);
        }
    }
}

bool ArtnetLoop::SendDmx(bool force) {
    if (!m_shared.netReady.load(std::memory_order_relaxed)) return false;
    const auto data = m_dmx.begin() + kArtDmxDataOffset;
    if (!force && std::equal(m_frame.begin(), m_frame.end(), data)) return false;
    const int32_t txUniverse = m_shared.txUniverse.load(std::memory_order_relaxed);
    SetArtDmxUniverse(m_dmx, txUniverse);
    std::copy(m_frame.begin(), m_frame.end(), data);
    size_t sent = 1;
    if (m_shared.unicast.load(std::memory_order_relaxed)) {
        sent = m_shared.subscriptions.Destinations(PortAddressOf(txUniverse), m_clock.NowMs(),
                                                   m_destinations);
        for (size_t i = 0; i < sent; ++i) m_socket.SendTo(m_destinations[i], kArtnetPort, m_dmx);
    } else {
        m_socket.SendTo(kArtnetBroadcast, kArtnetPort, m_dmx);
    }
    // After the frame's last ArtDmx, from the same socket: nodes act only on an ArtSync from the
    // address their ArtDmx came from.
    if (sent > 0 && m_shared.artSync.load(std::memory_order_relaxed)) {
        m_socket.SendTo(kArtnetBroadcast, kArtnetPort, m_sync);
    }
    return true;
}

void ArtnetLoop::SendPoll() {
    if (!m_shared.netReady.load(std::memory_order_relaxed)) return;
    m_socket.SendTo(kArtnetBroadcast, kArtnetPort, BuildArtPoll());
}

}  // namespace lumavox
