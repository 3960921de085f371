#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "dmx/Patch.h"
#include "dmx/artnet/NodeEntry.h"

namespace lumavox {

// Art-Net (protocol version 14) packet layouts: every packet opens with "Art-Net\0" and a
// little-endian opcode; the multi-byte fields below are as the packet tables define them, all
// other bytes 0. Pure functions, any thread.
inline constexpr uint16_t kArtnetPort = 6454;  // 0x1936
inline constexpr uint16_t kOpPoll = 0x2000;
inline constexpr uint16_t kOpPollReply = 0x2100;
inline constexpr uint16_t kOpDmx = 0x5000;

inline constexpr size_t kArtPollSize = 14;
inline constexpr size_t kArtDmxSize = 530;
inline constexpr size_t kArtPollReplySize = 240;
inline constexpr size_t kArtDmxDataOffset = 18;
// A received ArtPollReply must hold every field read from it (the last, SwOut, ends at 194) and
// the fixed part up to the MAC address that every sender fills: shorter datagrams are ignored.
inline constexpr size_t kMinPollReplySize = 207;
// The smallest datagram that can carry the ID, the opcode and the protocol version.
inline constexpr size_t kMinArtnetSize = 14;

// The short and long name this program announces; a reply carrying this short name is its own
// (or another copy of the program) and never enters the node list.
inline constexpr std::string_view kOwnShortName = "ZQT_Application";

// The universe a node must accept input on to be marked (the program receives nothing on it).
inline constexpr int32_t kReceiveUniverse = 5;

using ArtPollPacket = std::array<uint8_t, kArtPollSize>;
using ArtDmxPacket = std::array<uint8_t, kArtDmxSize>;
using ArtPollReplyPacket = std::array<uint8_t, kArtPollReplySize>;

// ArtPoll with talk-to-me 2, priority 0.
ArtPollPacket BuildArtPoll();
// ArtDmx with sequence 0, physical 0, the low 16 bits of txUniverse little-endian, length 512
// big-endian and the frame as data.
ArtDmxPacket BuildArtDmx(int32_t txUniverse, const DmxFrame& frame);
// Rewrites only the universe field of an ArtDmx packet.
void SetArtDmxUniverse(ArtDmxPacket& packet, int32_t txUniverse);
// The program's own ArtPollReply; localAddress in host order (2.0.0.1 = 0x02000001), written to
// the packet in network order.
ArtPollReplyPacket BuildArtPollReply(uint32_t localAddress);

// The opcode of a datagram that is at least kMinArtnetSize long and opens with "Art-Net\0";
// nothing for any other datagram.
std::optional<uint16_t> ArtnetOpcode(std::span<const uint8_t> datagram);

// Reads a received ArtPollReply into a node entry, marking it when one of its DMX512 ports takes
// input on receiveUniverse or outputs txUniverse. Nothing when the datagram is not an
// ArtPollReply or too short to hold the fields read.
std::optional<NodeEntry> ParseArtPollReply(std::span<const uint8_t> datagram,
                                           int32_t receiveUniverse, int32_t txUniverse);

}  // namespace lumavox
