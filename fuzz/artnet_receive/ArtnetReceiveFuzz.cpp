// Feeds arbitrary datagrams to the Art-Net receive path. The input is cut into datagrams at each
// "Art-Net\0" after the first byte, so one input can grow the node table over several replies.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>

#include "dmx/artnet/ArtnetPackets.h"
#include "dmx/artnet/ArtnetReceive.h"
#include "dmx/artnet/NodeTable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace lumavox;
    const std::span<const uint8_t> input(data, size);
    NodeTable nodes;
    const int32_t txUniverse = size > 0 ? data[size - 1] : 0;
    size_t start = 0;
    while (start < size) {
        size_t end = start + 1;
        while (end + 8 <= size && std::memcmp(data + end, "Art-Net", 8) != 0) ++end;
        if (end + 8 > size) end = size;
        const auto datagram = input.subspan(start, end - start);
        HandleArtnetDatagram(datagram, nodes, txUniverse);
        if (const auto entry = ParseArtPollReply(datagram, kReceiveUniverse, txUniverse)) {
            const std::string line = NodeListLine(*entry);
            if (line.size() < 19 || entry->ShortName().size() > 17) __builtin_trap();
        }
        start = end;
    }
    if (nodes.Count() > NodeTable::kCapacity) __builtin_trap();
    return 0;
}
