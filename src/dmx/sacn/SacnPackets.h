#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "dmx/Patch.h"
#include "platform/Uuid.h"

namespace lumavox {

// Streaming DMX over ACN (E1.31) packet layouts, big-endian throughout. A data packet is a root
// layer (preamble, "ASC-E1.17" identifier, the sender's CID), a framing layer (source name,
// priority, synchronisation address, sequence number, options, universe) and a DMP layer carrying
// the start code and the 512 slots. A synchronisation packet is a root layer and a short framing
// layer. Pure functions, any thread.
inline constexpr uint16_t kSacnPort = 5568;
inline constexpr uint16_t kSacnMinUniverse = 1;
inline constexpr uint16_t kSacnMaxUniverse = 63999;
inline constexpr uint8_t kSacnMaxPriority = 200;
inline constexpr uint8_t kSacnDefaultPriority = 100;

inline constexpr size_t kSacnDataSize = 638;
inline constexpr size_t kSacnSyncSize = 49;
inline constexpr size_t kSacnSourceNameSize = 64;  // UTF-8, NUL-terminated

// Offsets of the fields that change from packet to packet.
inline constexpr size_t kSacnCidOffset = 22;
inline constexpr size_t kSacnSourceNameOffset = 44;
inline constexpr size_t kSacnPriorityOffset = 108;
inline constexpr size_t kSacnSyncAddressOffset = 109;
inline constexpr size_t kSacnSequenceOffset = 111;
inline constexpr size_t kSacnOptionsOffset = 112;
inline constexpr size_t kSacnUniverseOffset = 113;
inline constexpr size_t kSacnStartCodeOffset = 125;
inline constexpr size_t kSacnSlotsOffset = 126;
inline constexpr size_t kSacnSyncSequenceOffset = 44;
inline constexpr size_t kSacnSyncUniverseOffset = 45;

// Options bits of a data packet.
inline constexpr uint8_t kSacnOptionPreview = 0x80;
inline constexpr uint8_t kSacnOptionTerminated = 0x40;
inline constexpr uint8_t kSacnOptionForceSync = 0x20;

using SacnDataPacket = std::array<uint8_t, kSacnDataSize>;
using SacnSyncPacket = std::array<uint8_t, kSacnSyncSize>;

// A data packet with sequence 0, no options, start code 0 and the frame as slots 1..512.
// syncAddress 0 means the receivers apply the data at once.
SacnDataPacket BuildSacnData(const Uuid& cid, std::string_view sourceName, uint8_t priority,
                             uint16_t syncAddress, uint16_t universe, const DmxFrame& frame);
// A synchronisation packet for the universe syncAddress.
SacnSyncPacket BuildSacnSync(const Uuid& cid, uint8_t sequence, uint16_t syncAddress);

// The multicast group of a universe: 239.255.hi.lo, host order.
uint32_t SacnMulticastAddress(uint16_t universe);

// "Lumavox <hostName>", cut to what the 64-byte name field holds with its terminating NUL
// (63 bytes, never inside a UTF-8 sequence).
std::string SacnSourceName(std::string_view hostName);

}  // namespace lumavox
