#pragma once

#include <cstdint>
#include <span>

#include "dmx/artnet/NodeTable.h"

namespace lumavox {

enum class ReceiveAction { None, SendPollReply };

// Handles one received datagram, every byte of which may be hostile: an ArtPoll asks for the
// program's reply; another node's ArtPollReply enters the node table (own short name, a known
// address and a full table are ignored); anything else is dropped. Output thread.
ReceiveAction HandleArtnetDatagram(std::span<const uint8_t> datagram, NodeTable& nodes,
                                   int32_t txUniverse);

}  // namespace lumavox
