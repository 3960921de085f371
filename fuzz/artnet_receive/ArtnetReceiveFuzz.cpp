// Feeds arbitrary datagrams to the Art-Net receive path. The input is cut into datagrams at each
// "Art-Net\0" after the first byte, so one input can grow the node table and the unicast
// subscriptions over several replies (each a second later than the one before).
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>

#include "dmx/artnet/ArtnetPackets.h"
#include "dmx/artnet/ArtnetReceive.h"
#include "dmx/artnet/NodeSubscriptions.h"
#include "dmx/artnet/NodeTable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace lumavox;
    const std::span<const uint8_t> input(data, size);
    NodeTable nodes;
    NodeSubscriptions subscriptions;
    NodeSubscriptions::Addresses destinations{};
    const int32_t txUniverse = size > 0 ? data[size - 1] : 0;
    const uint16_t universe = PortAddressOf(txUniverse);
    uint32_t now = 0;
    size_t start = 0;
    while (start < size) {
        size_t end = start + 1;
        while (end + 8 <= size && std::memcmp(data + end, "Art-Net", 8) != 0) ++end;
        if (end + 8 > size) end = size;
        const auto datagram = input.subspan(start, end - start);
        HandleArtnetDatagram(datagram, nodes, txUniverse);
        now += 1000;
        const bool added = SubscribeFromDatagram(datagram, subscriptions, universe, now);
        if (const auto ports = ParseNodePorts(datagram)) {
            const uint8_t first = static_cast<uint8_t>(ports->address >> 24);
            if (first == 0 || first == 127 || first >= 224) __builtin_trap();
            if (added && !subscriptions.Receives(ports->address, universe, now)) __builtin_trap();
        }
        if (subscriptions.Destinations(universe, now, destinations) > destinations.size()) {
            __builtin_trap();
        }
        if (const auto entry = ParseArtPollReply(datagram, kReceiveUniverse, txUniverse)) {
            const std::string line = NodeListLine(*entry);
            if (line.size() < 19 || entry->ShortName().size() > 17) __builtin_trap();
        }
        start = end;
    }
    if (nodes.Count() > NodeTable::kCapacity) __builtin_trap();
    return 0;
}
