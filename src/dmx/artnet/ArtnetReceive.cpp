#include "dmx/artnet/ArtnetReceive.h"

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

}  // namespace lumavox
