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
inline constexpr uint16_t kOpSync = 0x5200;

inline constexpr size_t kArtPollSize = 14;
inline constexpr size_t kArtDmxSize = 530;
inline constexpr size_t kArtPollReplySize = 240;
inline constexpr size_t kArtDmxDataOffset = 18;
inline constexpr size_t kArtSyncSize = 14;
// A received ArtPollReply must hold every field read from it (the last, SwOut, ends at 194) and
// the fixed part up to the MAC address that every sender fills: shorter datagrams are ignored.
inline constexpr size_t kMinPollReplySize = 207;
// The shortest ArtPollReply the port addresses are read from (through the spare bytes after SwOut).
inline constexpr size_t kMinPortsReplySize = 198;
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
using ArtSyncPacket = std::array<uint8_t, kArtSyncSize>;

// ArtPoll with talk-to-me 2, priority 0.
ArtPollPacket BuildArtPoll();
// ArtDmx with sequence 0, physical 0, the low 16 bits of txUniverse little-endian, length 512
// big-endian and the frame as data.
ArtDmxPacket BuildArtDmx(int32_t txUniverse, const DmxFrame& frame);
// Rewrites only the universe field of an ArtDmx packet.
void SetArtDmxUniverse(ArtDmxPacket& packet, int32_t txUniverse);
// ArtSync: the header and two zero aux bytes. Broadcast after a frame's ArtDmx packets, it tells
// nodes in synchronous mode to output what they have buffered.
ArtSyncPacket BuildArtSync();
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

// The universe an ArtDmx for txUniverse addresses, as a 15-bit Port-Address (Net in bits 14..8,
// sub-net in 7..4, universe in 3..0): the packet's SubUni byte and the low 7 bits of its Net byte.
inline uint16_t PortAddressOf(int32_t txUniverse) {
    return static_cast<uint16_t>(static_cast<uint32_t>(txUniverse) & 0x7FFFu);
}

// What an ArtPollReply says about the universes a node (or one bound device of it) outputs.
struct NodePorts {
    uint32_t address = 0;   // the reply's IP field, host order
    uint8_t bindIndex = 0;  // 0 in a reply too short to carry it
    uint8_t outputs = 0;    // bit i: port i is a DMX512 port that outputs from the network
    std::array<uint16_t, 4> portAddress{};  // Net:SubNet:SwOut of each port, 15 bits

    bool Outputs(uint16_t universe) const {
        for (size_t i = 0; i < 4; ++i) {
            if ((outputs & (1u << i)) != 0 && portAddress[i] == universe) return true;
        }
        return false;
    }
};

// Reads the port addresses of a received ArtPollReply. Replies from 198 bytes on are taken (the
// fields that later protocol revisions appended count as zero when missing); nothing for shorter
// datagrams, other opcodes, and IP fields no datagram may be sent to (0.x.x.x, 127.x.x.x,
// multicast, reserved and limited broadcast).
std::optional<NodePorts> ParseNodePorts(std::span<const uint8_t> datagram);

}  // namespace lumavox
