#include "dmx/sacn/SacnLoop.h"

#include <algorithm>

namespace lumavox {

SacnLoop::SacnLoop(IUdpSocket& socket, IFrameSource& source, const IClock& clock,
                   SacnShared& shared, uint32_t periodMs)
    : m_socket(socket),
      m_source(source),
      m_clock(clock),
      m_shared(shared),
      m_periodMs(std::clamp<uint32_t>(periodMs, 1, kKeepAliveMs)) {
    Configure(m_stream);
}

void SacnLoop::Configure(const SacnStream& stream) {
    m_stream = stream;
    m_data = BuildSacnData(stream.cid, stream.sourceName, stream.priority, stream.syncUniverse,
                           stream.universe, m_frame);
    if (stream.unicast.empty()) {
        m_dataDestinations = {SacnMulticastAddress(stream.universe)};
        m_syncDestinations = {SacnMulticastAddress(stream.syncUniverse)};
    } else {
        m_dataDestinations = m_syncDestinations = stream.unicast;
    }
    m_sendNext = true;
}

void SacnLoop::Start() {
    m_last = m_clock.NowMs();
    m_sendNext = true;
    m_schedule.Reset();
}

uint32_t SacnLoop::Iterate() {
    const uint32_t now = m_clock.NowMs();
    const bool eventTimed = m_shared.eventTimed.load(std::memory_order_relaxed);
    m_schedule.Configure(eventTimed, m_shared.minGapMs.load(std::memory_order_relaxed));
    m_source.SetLightOffsetMs(m_shared.lightOffsetMs.load(std::memory_order_relaxed));
    if (now - m_last < m_periodMs) {
        if (!eventTimed) return 0;
        if (m_schedule.Due(now)) {
            // A step's frame, or a periodic frame held for the gap's end, for this instant. A
            // step that changes nothing (one holding the colour before a jump) sends nothing,
            // and a held repeat at such a step goes with the jump's frame, so neither can push
            // the jump behind a gap.
            m_source.FrameAt(now, m_frame);
            m_schedule.SetNextStep(m_source.NextStepAt(now));
            const bool changed =
                !std::equal(m_frame.begin(), m_frame.end(), m_data.begin() + kSacnSlotsOffset);
            if (changed || !m_schedule.HoldForNextStep(now)) {
                if ((changed || m_schedule.Held()) && SendIfNeeded(now)) {
                    m_schedule.Sent(now);
                } else {
                    m_schedule.DropHeld();
                }
            }
        }
        return m_schedule.SleepMs(m_clock.NowMs(), m_last + m_periodMs);
    }
    m_last = now;
    m_source.Tick(m_frame);
    // The next step by the model this tick has just settled (see the Art-Net loop).
    if (eventTimed) m_schedule.SetNextStep(m_source.NextStepAt(now));
    if (m_schedule.PeriodicMayGo(now) && SendIfNeeded(now)) m_schedule.Sent(now);
    if (!eventTimed) {
        const uint32_t spent = m_clock.NowMs() - m_last;
        return spent + 2 < m_periodMs ? m_periodMs - 2 - spent : 0;
    }
    return m_schedule.SleepMs(m_clock.NowMs(), m_last + m_periodMs);
}

bool SacnLoop::SendIfNeeded(uint32_t now) {
    if (!m_shared.ready.load(std::memory_order_relaxed)) return false;
    const bool changed =
        !std::equal(m_frame.begin(), m_frame.end(), m_data.begin() + kSacnSlotsOffset);
    if (changed || m_sendNext) {
        m_repeatsLeft = kRepeatsAfterChange;
    } else if (m_repeatsLeft > 0) {
        --m_repeatsLeft;
    } else if (now - m_lastSend < kKeepAliveMs) {
        return false;
    }
    SendData(now);
    return true;
}

void SacnLoop::SendData(uint32_t now) {
    m_sendNext = false;
    m_live = true;
    m_lastSend = now;
    std::copy(m_frame.begin(), m_frame.end(), m_data.begin() + kSacnSlotsOffset);
    m_data[kSacnSequenceOffset] = m_sequence++;
    SendToAll(m_data, m_dataDestinations);
    if (m_stream.syncUniverse != 0) {
        SendToAll(BuildSacnSync(m_stream.cid, m_syncSequence++, m_stream.syncUniverse),
                  m_syncDestinations);
    }
}

void SacnLoop::Terminate() {
    if (!m_live || !m_shared.ready.load(std::memory_order_relaxed)) return;
    m_data[kSacnOptionsOffset] |= kSacnOptionTerminated;
    for (int i = 0; i < kTerminationPackets; ++i) {
        m_data[kSacnSequenceOffset] = m_sequence++;
        SendToAll(m_data, m_dataDestinations);
    }
    m_data[kSacnOptionsOffset] &= static_cast<uint8_t>(~kSacnOptionTerminated);
    m_live = false;
    m_sendNext = true;
}

void SacnLoop::SendToAll(std::span<const uint8_t> bytes,
                         const std::vector<uint32_t>& destinations) {
    bool ok = true;
    for (const uint32_t address : destinations) {
        ok = m_socket.SendTo(address, kSacnPort, bytes) && ok;
    }
    m_shared.lastSendOk.store(ok, std::memory_order_relaxed);
    m_shared.packetsSent.fetch_add(1, std::memory_order_relaxed);
}

}  // namespace lumavox
