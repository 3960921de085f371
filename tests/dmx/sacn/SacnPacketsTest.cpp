#include "dmx/sacn/SacnPackets.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace lumavox {
namespace {

const Uuid kCid = {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF,
                   0xFE, 0xDC, 0xBA, 0x98, 0x76, 0x54, 0x32, 0x10};

// The packet written out field by field, as the E1.31 field table lists them.
std::vector<uint8_t> GoldenData(const std::string& name, uint8_t priority, uint16_t sync,
                                uint8_t sequence, uint8_t options, uint16_t universe,
                                const DmxFrame& frame) {
    std::vector<uint8_t> p;
    auto u16 = [&](unsigned v) {
        p.push_back(static_cast<uint8_t>(v >> 8));
        p.push_back(static_cast<uint8_t>(v));
    };
    auto u32 = [&](unsigned v) {
        u16(v >> 16);
        u16(v & 0xFFFF);
    };
    u16(0x0010);  // preamble size
    u16(0x0000);  // post-amble size
    for (char c : std::string("ASC-E1.17")) p.push_back(static_cast<uint8_t>(c));
    p.insert(p.end(), 3, 0x00);  // identifier padding
    u16(0x7000 | 622);           // root flags and length (638 - 16)
    u32(0x00000004);             // VECTOR_ROOT_E131_DATA
    p.insert(p.end(), kCid.begin(), kCid.end());
    u16(0x7000 | 600);  // framing flags and length (638 - 38)
    u32(0x00000002);    // VECTOR_E131_DATA_PACKET
    std::vector<uint8_t> nameField(64, 0);
    std::copy(name.begin(), name.end(), nameField.begin());
    p.insert(p.end(), nameField.begin(), nameField.end());
    p.push_back(priority);
    u16(sync);
    p.push_back(sequence);
    p.push_back(options);
    u16(universe);
    u16(0x7000 | 523);  // DMP flags and length (638 - 115)
    p.push_back(0x02);  // VECTOR_DMP_SET_PROPERTY
    p.push_back(0xA1);  // address and data type
    u16(0x0000);        // first property address
    u16(0x0001);        // address increment
    u16(513);           // property value count
    p.push_back(0x00);  // start code
    p.insert(p.end(), frame.begin(), frame.end());
    return p;
}

TEST(SacnPackets, DataPacketMatchesTheFieldTableByteForByte) {
    DmxFrame frame{};
    for (size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<uint8_t>(i * 7 + 3);
    const SacnDataPacket packet = BuildSacnData(kCid, "Lumavox stage", 150, 0x1234, 63999, frame);
    const std::vector<uint8_t> golden =
        GoldenData("Lumavox stage", 150, 0x1234, 0, 0, 63999, frame);
    ASSERT_EQ(golden.size(), kSacnDataSize);
    EXPECT_EQ(std::vector<uint8_t>(packet.begin(), packet.end()), golden);
    // the offsets the output loop rewrites point at those fields
    EXPECT_EQ(packet[kSacnUniverseOffset], 0xF9);
    EXPECT_EQ(packet[kSacnUniverseOffset + 1], 0xFF);
    EXPECT_EQ(packet[kSacnSlotsOffset + 511], frame[511]);
}

TEST(SacnPackets, SyncPacketMatchesTheFieldTable) {
    const SacnSyncPacket packet = BuildSacnSync(kCid, 0xFE, 7001);
    std::vector<uint8_t> golden = {
        0x00, 0x10, 0x00, 0x00, 'A',  'S',  'C',  '-',  'E',
        '1',  '.',  '1',  '7',  0x00, 0x00, 0x00, 0x70, 0x21,  // root flags and length (49 - 16)
        0x00, 0x00, 0x00, 0x08};                               // VECTOR_ROOT_E131_EXTENDED
    golden.insert(golden.end(), kCid.begin(), kCid.end());
    const std::vector<uint8_t> framing = {0x70, 0x0B,  // framing flags and length (49 - 38)
                                          0x00, 0x00,
                                          0x00, 0x01,   // VECTOR_E131_EXTENDED_SYNCHRONIZATION
                                          0xFE,         // sequence
                                          0x1B, 0x59,   // synchronisation address 7001
                                          0x00, 0x00};  // reserved
    golden.insert(golden.end(), framing.begin(), framing.end());
    EXPECT_EQ(std::vector<uint8_t>(packet.begin(), packet.end()), golden);
}

TEST(SacnPackets, MulticastGroupCarriesTheUniverseInItsLastTwoOctets) {
    EXPECT_EQ(SacnMulticastAddress(1), 0xEFFF0001u);      // 239.255.0.1
    EXPECT_EQ(SacnMulticastAddress(7), 0xEFFF0007u);      // 239.255.0.7
    EXPECT_EQ(SacnMulticastAddress(256), 0xEFFF0100u);    // 239.255.1.0
    EXPECT_EQ(SacnMulticastAddress(63999), 0xEFFFF9FFu);  // 239.255.249.255
}

TEST(SacnPackets, SourceNameFitsItsFieldWithoutSplittingACharacter) {
    EXPECT_EQ(SacnSourceName("stage-pc"), "Lumavox stage-pc");
    // 8 bytes of prefix: 53 more ASCII bytes leave room for one two-byte character, 54 for none
    // (the field holds 63 bytes and its NUL), and no character is ever cut in half.
    const std::string e = "\xC3\xA9";
    EXPECT_EQ(SacnSourceName(std::string(53, 'h') + e + e), "Lumavox " + std::string(53, 'h') + e);
    EXPECT_EQ(SacnSourceName(std::string(54, 'h') + e), "Lumavox " + std::string(54, 'h'));
    // whatever is given, the field keeps its terminating NUL
    const SacnDataPacket packet = BuildSacnData(kCid, std::string(100, 'x'), 100, 0, 1, DmxFrame{});
    EXPECT_EQ(packet[kSacnSourceNameOffset + 62], 'x');
    EXPECT_EQ(packet[kSacnSourceNameOffset + 63], 0);
}

}  // namespace
}  // namespace lumavox
