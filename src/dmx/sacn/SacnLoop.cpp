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
}

uint32_t SacnLoop::Iterate() {
    const uint32_t now = m_clock.NowMs();
    if (now - m_last < m_periodMs) return 0;
    m_last = now;
    m_source.Tick(m_frame);
    if (m_shared.ready.load(std::memory_order_relaxed)) {
        const bool changed =
            !std::equal(m_frame.begin(), m_frame.end(), m_data.begin() + kSacnSlotsOffset);
        if (changed || m_sendNext) {
            m_repeatsLeft = kRepeatsAfterChange;
            SendData();
        } else if (m_repeatsLeft > 0) {
            --m_repeatsLeft;
            SendData();
        } else if (now - m_lastSend >= kKeepAliveMs) {
            SendData();
        }
    }
    const uint32_t spent = m_clock.NowMs() - m_last;
    return spent + 2 < m_periodMs ? m_periodMs - 2 - spent : 0;
}

void SacnLoop::SendData() {
    m_sendNext = false;
    m_live = true;
    m_lastSend = m_last;
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
