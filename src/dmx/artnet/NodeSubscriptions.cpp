#include "dmx/artnet/NodeSubscriptions.h"

#include <algorithm>

namespace lumavox {

void NodeSubscriptions::Update(const NodePorts& ports, uint32_t nowMs) {
    std::lock_guard<std::mutex> lock(m_mutex);
    const auto used = m_entries.begin() + static_cast<std::ptrdiff_t>(m_count);
    auto it = std::find_if(m_entries.begin(), used, [&](const Entry& e) {
        return e.ports.address == ports.address && e.ports.bindIndex == ports.bindIndex;
    });
    if (it == used) {
        if (m_count < kCapacity) {
            ++m_count;
        } else {
            it = std::find_if(m_entries.begin(), used,
                              [&](const Entry& e) { return !Live(e, nowMs); });
            if (it == used) return;
        }
    }
    *it = Entry{ports, nowMs};
}

size_t NodeSubscriptions::Destinations(uint16_t universe, uint32_t nowMs, Addresses& out) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    size_t n = 0;
    for (size_t i = 0; i < m_count; ++i) {
        const Entry& e = m_entries[i];
        if (!Live(e, nowMs) || !e.ports.Outputs(universe)) continue;
        const auto written = out.begin() + static_cast<std::ptrdiff_t>(n);
        // A node with several bound devices on the universe gets the frame once.
        if (std::find(out.begin(), written, e.ports.address) == written) out[n++] = e.ports.address;
    }
    return n;
}

bool NodeSubscriptions::Receives(uint32_t address, uint16_t universe, uint32_t nowMs) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return std::any_of(m_entries.begin(), m_entries.begin() + static_cast<std::ptrdiff_t>(m_count),
                       [&](const Entry& e) {
                           return e.ports.address == address && Live(e, nowMs) &&
                                  e.ports.Outputs(universe);
                       });
}

}  // namespace lumavox
