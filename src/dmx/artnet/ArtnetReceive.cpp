#include "dmx/artnet/ArtnetReceive.h"

#include <algorithm>
#include <string_view>

#include "dmx/artnet/ArtnetPackets.h"

namespace lumavox {

ReceiveAction HandleArtnetDatagram(std::span<const uint8_t> datagram, NodeTable& nodes,
                                   int32_t txUniverse) {
    const auto opcode = ArtnetOpcode(datagram);
    if (opcode == kOpPoll) return ReceiveAction::SendPollReply;
    if (opcode != kOpPollReply) return ReceiveAction::None;
    const auto entry = ParseArtPollReply(datagram, kReceiveUniverse, txUniverse);
    if (!entry || entry->ShortName() == kOwnShortName) return ReceiveAction::None;
    nodes.Add(*entry);
    return ReceiveAction::None;
}

bool SubscribeFromDatagram(std::span<const uint8_t> datagram, NodeSubscriptions& subscriptions,
                           uint16_t universe, uint32_t nowMs) {
    const auto ports = ParseNodePorts(datagram);
    if (!ports) return false;
    // The own reply (or another copy's) names no output port; skip it all the same.
    const auto name = datagram.subspan(26, 18);
    const auto end = std::find(name.begin(), name.end(), uint8_t{0});
    if (std::string_view(reinterpret_cast<const char*>(name.data()),
                         static_cast<size_t>(end - name.begin())) == kOwnShortName) {
        return false;
    }
    const bool before = subscriptions.Receives(ports->address, universe, nowMs);
    subscriptions.Update(*ports, nowMs);
    return !before && subscriptions.Receives(ports->address, universe, nowMs);
}

}  // namespace lumavox
