#pragma once

#include <array>
#include <atomic>
#include <mutex>
#include <optional>
#include <vector>

#include "dmx/artnet/NodeEntry.h"

namespace lumavox {

// The Art-Net nodes discovered so far: at most 15, first entry wins for an IP address, entries are
// never updated. The output thread adds; the UI thread lists, reads one entry and empties the list
// (scan, switching to Art-Net). Any thread: the lock covers only copies of at most 15 entries and
// is never held across I/O, so neither side can stall the other.
class NodeTable {
public:
    static constexpr int kCapacity = 15;
    enum class AddResult { Added, KnownAddress, Full };

    AddResult Add(const NodeEntry& entry);
    int Count() const;
    std::vector<NodeEntry> Entries() const;
    std::optional<NodeEntry> Entry(int index) const;
    // Node count = 0; the entries are overwritten by later replies.
    void Clear();

    // Set when a node was added (and by the options dialog when it is shown); the dialog's timer
    // rebuilds its list and clears it.
    bool NodesChanged() const { return m_nodesChanged.load(std::memory_order_acquire); }
    void SetNodesChanged() { m_nodesChanged.store(true, std::memory_order_release); }
    // Returns whether the flag was set and clears it.
    bool TakeNodesChanged() { return m_nodesChanged.exchange(false, std::memory_order_acq_rel); }

private:
    mutable std::mutex m_mutex;
    std::array<NodeEntry, kCapacity> m_entries{};
    int m_count = 0;
    // Release on set pairs with the acquire of the reader, so a reader that sees the flag also
    // sees the entry added before it (the entries themselves are read under the lock anyway).
    std::atomic<bool> m_nodesChanged{false};
};

}  // namespace lumavox
