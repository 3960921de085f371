#include "dmx/artnet/NodeTable.h"

#include <algorithm>

namespace lumavox {

NodeTable::AddResult NodeTable::Add(const NodeEntry& entry) {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        const auto used = m_entries.begin() + m_count;
        if (std::any_of(m_entries.begin(), used,
                        [&](const NodeEntry& e) { return e.address == entry.address; })) {
            return AddResult::KnownAddress;
        }
        if (m_count >= kCapacity) return AddResult::Full;
        m_entries[static_cast<size_t>(m_count)] = entry;
        ++m_count;
    }
    SetNodesChanged();
    return AddResult::Added;
}

int NodeTable::Count() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_count;
}

std::vector<NodeEntry> NodeTable::Entries() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return std::vector<NodeEntry>(m_entries.begin(), m_entries.begin() + m_count);
}

std::optional<NodeEntry> NodeTable::Entry(int index) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (index < 0 || index >= m_count) return std::nullopt;
    return m_entries[static_cast<size_t>(index)];
}

void NodeTable::Clear() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_count = 0;
}

}  // namespace lumavox
