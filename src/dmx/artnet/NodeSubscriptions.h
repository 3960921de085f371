#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <mutex>

#include "dmx/artnet/ArtnetPackets.h"

namespace lumavox {

// Which nodes take which universes, from the latest ArtPollReply of each node (an IP address and
// bind index): the unicast destinations of ArtDmx. An entry counts for 10 s after its reply; the
// 2-second poll renews it while the node answers. At most kCapacity entries: a reply from a new
// node takes the place of an expired entry, and is dropped while every entry is still live.
// The output thread updates and reads; the UI thread reads. Any thread: the lock covers only
// scans of at most kCapacity entries and is never held across I/O.
class NodeSubscriptions {
public:
    static constexpr size_t kCapacity = 64;
    static constexpr uint32_t kExpiryMs = 10000;
    using Addresses = std::array<uint32_t, kCapacity>;

    void Update(const NodePorts& ports, uint32_t nowMs);
    // The distinct addresses (host order) whose live entry outputs `universe`, in the order they
    // first replied; returns how many were written to `out`.
    size_t Destinations(uint16_t universe, uint32_t nowMs, Addresses& out) const;
    bool Receives(uint32_t address, uint16_t universe, uint32_t nowMs) const;

private:
    struct Entry {
        NodePorts ports;
        uint32_t seenMs = 0;
    };
    static bool Live(const Entry& e, uint32_t nowMs) { return nowMs - e.seenMs < kExpiryMs; }

    mutable std::mutex m_mutex;
    std::array<Entry, kCapacity> m_entries{};
    size_t m_count = 0;
};

}  // namespace lumavox
