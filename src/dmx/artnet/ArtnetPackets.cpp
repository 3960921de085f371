#include "dmx/artnet/ArtnetPackets.h"

#include <algorithm>
#include <cstring>

namespace lumavox {
namespace {

constexpr std::array<uint8_t, 8> kArtnetId = {'A', 'r', 't', '-', 'N', 'e', 't', 0};
constexpr uint8_t kProtocolVersionLow = 14;

template <size_t N>
void WriteHeader(std::array<uint8_t, N>& packet, uint16_t opcode) {
    std::copy(kArtnetId.begin(), kArtnetId.end(), packet.begin());
    packet[8] = static_cast<uint8_t>(opcode & 0xFF);
    packet[9] = static_cast<uint8_t>(opcode >> 8);
}

template <size_t N>
void WriteText(std::array<uint8_t, N>& packet, size_t offset, size_t fieldSize,
               std::string_view text) {
    const size_t n = std::min(text.size(), fieldSize - 1);  // always leaves a terminating zero
    std::memcpy(packet.data() + offset, text.data(), n);
}

// Copies a text field of a received packet up to its terminating zero, at most out's size less
// one, so the copy always ends in a zero whatever the sender put there.
template <size_t M>
void ReadText(std::span<const uint8_t> datagram, size_t offset, size_t fieldSize,
              std::array<char, M>& out) {
    out.fill(0);
    const size_t limit = std::min(fieldSize, M - 1);
    for (size_t i = 0; i < limit && datagram[offset + i] != 0; ++i) {
        out[i] = static_cast<char>(datagram[offset + i]);
    }
}

bool IsDmx512(uint8_t portType) {
    return (portType & 0x3F) == 0;
}

}  // namespace

ArtPollPacket BuildArtPoll() {
    ArtPollPacket p{};
    WriteHeader(p, kOpPoll);
    p[10] = 0;
    p[11] = kProtocolVersionLow;
    p[12] = 2;  // talk-to-me: send ArtPollReply on change
    p[13] = 0;
    return p;
}

ArtDmxPacket BuildArtDmx(int32_t txUniverse, const DmxFrame& frame) {
    ArtDmxPacket p{};
    WriteHeader(p, kOpDmx);
    p[11] = kProtocolVersionLow;
    SetArtDmxUniverse(p, txUniverse);
    p[16] = 0x02;  // length 512, big-endian
    p[17] = 0x00;
    std::copy(frame.begin(), frame.end(), p.begin() + kArtDmxDataOffset);
    return p;
}

void SetArtDmxUniverse(ArtDmxPacket& packet, int32_t txUniverse) {
    const auto universe = static_cast<uint32_t>(txUniverse);
    packet[14] = static_cast<uint8_t>(universe & 0xFF);
    packet[15] = static_cast<uint8_t>((universe >> 8) & 0xFF);
}

ArtSyncPacket BuildArtSync() {
    ArtSyncPacket p{};
    WriteHeader(p, kOpSync);
    p[11] = kProtocolVersionLow;
    return p;
}

ArtPollReplyPacket BuildArtPollReply(uint32_t localAddress) {
    ArtPollReplyPacket p{};
    WriteHeader(p, kOpPollReply);
    p[10] = static_cast<uint8_t>(localAddress >> 24);
    p[11] = static_cast<uint8_t>(localAddress >> 16);
    p[12] = static_cast<uint8_t>(localAddress >> 8);
    p[13] = static_cast<uint8_t>(localAddress);
    p[14] = kArtnetPort & 0xFF;  // 0x36
    p[15] = kArtnetPort >> 8;    // 0x19
    p[21] = 2;                   // OEM low
    WriteText(p, 26, 18, kOwnShortName);
    WriteText(p, 44, 64, kOwnShortName);
    WriteText(p, 108, 64, "OK");
    return p;
}

std::optional<uint16_t> ArtnetOpcode(std::span<const uint8_t> datagram) {
    if (datagram.size() < kMinArtnetSize) return std::nullopt;
    if (!std::equal(kArtnetId.begin(), kArtnetId.end(), datagram.begin())) return std::nullopt;
    return static_cast<uint16_t>(datagram[8] | (datagram[9] << 8));
}

std::optional<NodeEntry> ParseArtPollReply(std::span<const uint8_t> datagram,
                                           int32_t receiveUniverse, int32_t txUniverse) {
    if (ArtnetOpcode(datagram) != kOpPollReply || datagram.size() < kMinPollReplySize) {
        return std::nullopt;
    }
    NodeEntry e;
    std::copy_n(datagram.begin() + 10, 4, e.address.begin());
    e.port = static_cast<uint16_t>(datagram[14] | (datagram[15] << 8));
    ReadText(datagram, 26, 18, e.shortName);
    ReadText(datagram, 44, 64, e.longName);
    ReadText(datagram, 108, 64, e.nodeReport);
    e.ports = datagram[173];
    std::copy_n(datagram.begin() + 174, 4, e.portTypes.begin());
    std::copy_n(datagram.begin() + 186, 4, e.swIn.begin());
    std::copy_n(datagram.begin() + 190, 4, e.swOut.begin());
    for (size_t i = 0; i < 4; ++i) {
        const uint8_t type = e.portTypes[i];
        if (!IsDmx512(type)) continue;
        if (((type & 0x40) != 0 && e.swIn[i] == receiveUniverse) ||
            ((type & 0x80) != 0 && e.swOut[i] == txUniverse)) {
            e.matchMark = 1;
        }
    }
    return e;
}

std::optional<NodePorts> ParseNodePorts(std::span<const uint8_t> datagram) {
    if (ArtnetOpcode(datagram) != kOpPollReply || datagram.size() < kMinPortsReplySize) {
        return std::nullopt;
    }
    NodePorts n;
    n.address = uint32_t{datagram[10]} << 24 | uint32_t{datagram[11]} << 16 |
                uint32_t{datagram[12]} << 8 | uint32_t{datagram[13]};
    const uint8_t first = datagram[10];
    if (first == 0 || first == 127 || first >= 224) return std::nullopt;
    constexpr size_t kBindIndexOffset = 211;
    if (datagram.size() > kBindIndexOffset) n.bindIndex = datagram[kBindIndexOffset];
    const auto high =
        static_cast<uint16_t>((datagram[18] & 0x7F) << 8 | (datagram[19] & 0x0F) << 4);
    for (size_t i = 0; i < 4; ++i) {
        const uint8_t type = datagram[174 + i];
        if (IsDmx512(type) && (type & 0x80) != 0) n.outputs |= static_cast<uint8_t>(1u << i);
        n.portAddress[i] = static_cast<uint16_t>(high | (datagram[190 + i] & 0x0F));
    }
    return n;
}

}  // namespace lumavox
