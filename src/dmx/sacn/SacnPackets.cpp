#include "dmx/sacn/SacnPackets.h"

#include <algorithm>

namespace lumavox {
namespace {

// The "ASC-E1.17" packet identifier with its three padding bytes.
constexpr std::array<uint8_t, 12> kAcnIdentifier = {0x41, 0x53, 0x43, 0x2D, 0x45, 0x31,
                                                    0x2E, 0x31, 0x37, 0x00, 0x00, 0x00};
constexpr uint32_t kVectorRootData = 0x00000004;
constexpr uint32_t kVectorRootExtended = 0x00000008;
constexpr uint32_t kVectorFramingData = 0x00000002;
constexpr uint32_t kVectorFramingSync = 0x00000001;
constexpr uint8_t kVectorDmpSetProperty = 0x02;
constexpr uint8_t kDmpAddressAndDataType = 0xA1;

template <size_t N>
void Put16(std::array<uint8_t, N>& p, size_t at, uint16_t value) {
    p[at] = static_cast<uint8_t>(value >> 8);
    p[at + 1] = static_cast<uint8_t>(value);
}

template <size_t N>
void Put32(std::array<uint8_t, N>& p, size_t at, uint32_t value) {
    Put16(p, at, static_cast<uint16_t>(value >> 16));
    Put16(p, at + 2, static_cast<uint16_t>(value));
}

// A layer's flags (0x7) and its length from `at` to the end of the packet.
template <size_t N>
void PutFlagsAndLength(std::array<uint8_t, N>& p, size_t at) {
    Put16(p, at, static_cast<uint16_t>(0x7000 | (N - at)));
}

template <size_t N>
void PutRootLayer(std::array<uint8_t, N>& p, uint32_t vector, const Uuid& cid) {
    Put16(p, 0, 0x0010);  // preamble size
    Put16(p, 2, 0x0000);  // post-amble size
    std::copy(kAcnIdentifier.begin(), kAcnIdentifier.end(), p.begin() + 4);
    PutFlagsAndLength(p, 16);
    Put32(p, 18, vector);
    std::copy(cid.begin(), cid.end(), p.begin() + kSacnCidOffset);
}

}  // namespace

SacnDataPacket BuildSacnData(const Uuid& cid, std::string_view sourceName, uint8_t priority,
                             uint16_t syncAddress, uint16_t universe, const DmxFrame& frame) {
    SacnDataPacket p{};
    PutRootLayer(p, kVectorRootData, cid);
    PutFlagsAndLength(p, 38);
    Put32(p, 40, kVectorFramingData);
    const size_t nameSize = std::min(sourceName.size(), kSacnSourceNameSize - 1);
    std::copy_n(sourceName.begin(), nameSize, p.begin() + kSacnSourceNameOffset);
    p[kSacnPriorityOffset] = std::min(priority, kSacnMaxPriority);
    Put16(p, kSacnSyncAddressOffset, syncAddress);
    Put16(p, kSacnUniverseOffset, universe);
    PutFlagsAndLength(p, 115);
    p[117] = kVectorDmpSetProperty;
    p[118] = kDmpAddressAndDataType;
    Put16(p, 119, 0x0000);                                   // first property address
    Put16(p, 121, 0x0001);                                   // address increment
    Put16(p, 123, static_cast<uint16_t>(1 + frame.size()));  // start code and slots
    p[kSacnStartCodeOffset] = 0x00;
    std::copy(frame.begin(), frame.end(), p.begin() + kSacnSlotsOffset);
    return p;
}

SacnSyncPacket BuildSacnSync(const Uuid& cid, uint8_t sequence, uint16_t syncAddress) {
    SacnSyncPacket p{};
    PutRootLayer(p, kVectorRootExtended, cid);
    PutFlagsAndLength(p, 38);
    Put32(p, 40, kVectorFramingSync);
    p[kSacnSyncSequenceOffset] = sequence;
    Put16(p, kSacnSyncUniverseOffset, syncAddress);
    return p;  // the two reserved bytes stay 0
}

uint32_t SacnMulticastAddress(uint16_t universe) {
    return 0xEFFF0000u | universe;
}

std::string SacnSourceName(std::string_view hostName) {
    std::string name = "Lumavox ";
    name += hostName;
    size_t size = std::min(name.size(), kSacnSourceNameSize - 1);
    // Back off over continuation bytes so that no character is cut in half.
    if (size < name.size()) {
        while (size > 0 && (static_cast<uint8_t>(name[size]) & 0xC0) == 0x80) --size;
    }
    name.resize(size);
    return name;
}

}  // namespace lumavox
