#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace lumavox {

// One discovered Art-Net node, as read from its ArtPollReply. Texts are always NUL-terminated
// (copied up to the field size less one).
struct NodeEntry {
    std::array<uint8_t, 4> address{};  // the reply's IP field, first octet first
    uint16_t port = 0;                 // the reply's port field (little-endian on the wire)
    std::array<char, 18> shortName{};
    std::array<char, 64> longName{};
    std::array<char, 64> nodeReport{};
    uint8_t ports = 0;                   // number of ports, low byte
    std::array<uint8_t, 4> portTypes{};  // bits 0..5 zero: DMX512; bit 6 input; bit 7 output
    std::array<uint8_t, 4> swIn{};
    std::array<uint8_t, 4> swOut{};
    uint8_t matchMark = 0;  // 1: a DMX input on the receive universe or output on TxUniverse

    std::string_view ShortName() const { return shortName.data(); }
    std::string_view LongName() const { return longName.data(); }
    std::string_view NodeReport() const { return nodeReport.data(); }
};

// One line of the options dialog's node list: the match mark ("*" or " "), the four octets each
// right-aligned in three characters and joined by dots, " : " and the short name.
std::string NodeListLine(const NodeEntry& entry);

// The node details' address: the four octets each right-aligned in three characters, joined by
// dots, without the mark ("192.168.  0. 10").
std::string NodeAddressText(const NodeEntry& entry);
// A cell of the node details' port grid for port 0..3: its universe as sub-net and ID digits
// ("2 : 3" for 0x23), SwIn for the In row when the port type has bit 6, SwOut for the Out row
// when it has bit 7; empty otherwise or for a port outside 0..3.
std::string NodePortCellText(const NodeEntry& entry, int port, bool input);

}  // namespace lumavox
