#pragma once

#include <cstdint>
#include <span>

#include "dmx/artnet/NodeSubscriptions.h"
#include "dmx/artnet/NodeTable.h"

namespace lumavox {

enum class ReceiveAction { None, SendPollReply };

// Handles one received datagram, every byte of which may be hostile: an ArtPoll asks for the
// program's reply; another node's ArtPollReply enters the node table (own short name, a known
// address and a full table are ignored); anything else is dropped. Output thread.
ReceiveAction HandleArtnetDatagram(std::span<const uint8_t> datagram, NodeTable& nodes,
                                   int32_t txUniverse);

// Enters another node's ArtPollReply (hostile bytes as above) into the unicast subscriptions.
// True when its node has just become a destination of `universe`. Output thread.
bool SubscribeFromDatagram(std::span<const uint8_t> datagram, NodeSubscriptions& subscriptions,
                           uint16_t universe, uint32_t nowMs);

}  // namespace lumavox
