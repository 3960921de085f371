#include "dmx/artnet/ArtnetPackets.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "dmx/artnet/ArtnetReceive.h"
#include "dmx/artnet/NodeTable.h"
#include "fakes/ArtPollReplyMaker.h"

namespace lumavox {
namespace {

std::vector<uint8_t> Bytes(std::initializer_list<int> values) {
    std::vector<uint8_t> out;
    for (int v : values) out.push_back(static_cast<uint8_t>(v));
    return out;
}

TEST(ArtnetPackets, ArtPollIsTheFourteenGoldenBytes) {
    const ArtPollPacket poll = BuildArtPoll();
    EXPECT_EQ(std::vector<uint8_t>(poll.begin(), poll.end()),
              Bytes({'A', 'r', 't', '-', 'N', 'e', 't', 0, 0x00, 0x20, 0, 14, 2, 0}));
}

TEST(ArtnetPackets, ArtSyncIsTheFourteenGoldenBytes) {
    const ArtSyncPacket sync = BuildArtSync();
    EXPECT_EQ(std::vector<uint8_t>(sync.begin(), sync.end()),
              Bytes({'A', 'r', 't', '-', 'N', 'e', 't', 0, 0x00, 0x52, 0, 14, 0, 0}));
}

TEST(ArtnetPackets, ArtDmxCarriesUniverseLengthAndChannelOneFirst) {
    DmxFrame frame{};
    frame[0] = 0x11;
    frame[511] = 0x99;
    const ArtDmxPacket dmx = BuildArtDmx(3 * 16 + 10, frame);  // sub-net 3, ID 10
    EXPECT_EQ(std::vector<uint8_t>(dmx.begin(), dmx.begin() + 18),
              Bytes({'A', 'r', 't', '-', 'N', 'e', 't', 0, 0x00, 0x50, 0, 14, 0, 0, 0x3A, 0x00,
                     0x02, 0x00}));
    EXPECT_EQ(dmx[18], 0x11);
    EXPECT_EQ(dmx[529], 0x99);

    ArtDmxPacket again = dmx;
    SetArtDmxUniverse(again, 0x1FF);  // only the low 16 bits, little-endian
    EXPECT_EQ(again[14], 0xFF);
    EXPECT_EQ(again[15], 0x01);
}

TEST(ArtnetPackets, OwnPollReplyMatchesTheGoldenLayout) {
    const ArtPollReplyPacket r = BuildArtPollReply(0x02A80114);  // 2.168.1.20
    std::array<uint8_t, kArtPollReplySize> expected{};
    const char id[] = "Art-Net";
    std::memcpy(expected.data(), id, 8);
    expected[9] = 0x21;
    expected[10] = 2;
    expected[11] = 168;
    expected[12] = 1;
    expected[13] = 20;
    expected[14] = 0x36;
    expected[15] = 0x19;
    expected[21] = 2;
    std::memcpy(expected.data() + 26, "ZQT_Application", 15);
    std::memcpy(expected.data() + 44, "ZQT_Application", 15);
    std::memcpy(expected.data() + 108, "OK", 2);
    EXPECT_EQ(r, expected);
}

TEST(ArtnetPackets, OpcodeNeedsTheFullIdAndFourteenBytes) {
    const ArtPollPacket poll = BuildArtPoll();
    EXPECT_EQ(ArtnetOpcode(poll), kOpPoll);
    EXPECT_FALSE(ArtnetOpcode(std::span<const uint8_t>(poll.data(), 13)));
    ArtPollPacket wrongId = poll;
    wrongId[7] = ' ';  // "Art-Net" not NUL-terminated
    EXPECT_FALSE(ArtnetOpcode(wrongId));
    EXPECT_FALSE(ArtnetOpcode({}));
}

TEST(ArtnetPackets, ReplyFieldsAreReadFromTheirOffsets) {
    ReplyMaker m({192, 168, 0, 10}, "Dimmer-Rack");
    m.SetLongName("Long name of the rack");
    m.SetNodeReport("#0001 [0000] ok");
    m.SetPort(1, 0x80, 0x00, 0x23);
    m.SetPort(3, 0x45, 0x07, 0x00);  // not DMX512 (bits 0..5 = 5)
    const auto entry = ParseArtPollReply(m.Bytes(), kReceiveUniverse, 0x11);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->address, (std::array<uint8_t, 4>{192, 168, 0, 10}));
    EXPECT_EQ(entry->port, 0x1936);
    EXPECT_EQ(entry->ShortName(), "Dimmer-Rack");
    EXPECT_EQ(entry->LongName(), "Long name of the rack");
    EXPECT_EQ(entry->NodeReport(), "#0001 [0000] ok");
    EXPECT_EQ(entry->ports, 4);
    EXPECT_EQ(entry->portTypes, (std::array<uint8_t, 4>{0, 0x80, 0, 0x45}));
    EXPECT_EQ(entry->swIn, (std::array<uint8_t, 4>{0, 0, 0, 7}));
    EXPECT_EQ(entry->swOut, (std::array<uint8_t, 4>{0, 0x23, 0, 0}));
    EXPECT_EQ(entry->matchMark, 0);
}

TEST(ArtnetPackets, MatchMarkNeedsADmxPortOnTheRightUniverseAndDirection) {
    struct Case {
        uint8_t type, swIn, swOut;
        int32_t tx;
        uint8_t mark;
    };
    const Case cases[] = {
        {0x80, 0, 0x3A, 0x3A, 1},  // DMX output on TxUniverse
        {0x40, 5, 0, 0x3A, 1},     // DMX input on the receive universe
        {0x40, 0, 0x3A, 0x3A, 0},  // input-only port with the right SwOut
        {0x80, 5, 0, 0x3A, 0},     // output-only port with the right SwIn
        {0x81, 0, 0x3A, 0x3A, 0},  // MIDI, not DMX512
        {0xC0, 5, 0x11, 0x3A, 1},
    };
    for (const Case& c : cases) {
        ReplyMaker m({10, 0, 0, 1}, "node");
        m.SetPort(2, c.type, c.swIn, c.swOut);
        const auto entry = ParseArtPollReply(m.Bytes(), kReceiveUniverse, c.tx);
        ASSERT_TRUE(entry);
        EXPECT_EQ(entry->matchMark, c.mark) << int{c.type};
    }
}

TEST(ArtnetPackets, UnterminatedTextsAreCutToTheFieldLessOne) {
    ReplyMaker m({10, 0, 0, 2}, "");
    std::vector<uint8_t> bytes = m.Bytes();
    std::memset(bytes.data() + 26, 'S', 18 + 64 + 64);  // no zero in any text field
    const auto entry = ParseArtPollReply(bytes, kReceiveUniverse, 0);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->ShortName(), std::string(17, 'S'));
    EXPECT_EQ(entry->LongName(), std::string(63, 'S'));
    EXPECT_EQ(entry->NodeReport(), std::string(63, 'S'));
}

TEST(ArtnetPackets, ShortRepliesAreIgnoredInsteadOfReadPastTheirEnd) {
    ReplyMaker m({10, 0, 0, 3}, "short");
    std::vector<uint8_t> bytes = m.Bytes();
    bytes.resize(kMinPollReplySize);
    EXPECT_TRUE(ParseArtPollReply(bytes, kReceiveUniverse, 0));
    bytes.resize(kMinPollReplySize - 1);
    EXPECT_FALSE(ParseArtPollReply(bytes, kReceiveUniverse, 0));
    bytes.resize(14);
    NodeTable nodes;
    EXPECT_EQ(HandleArtnetDatagram(bytes, nodes, 0), ReceiveAction::None);
    EXPECT_EQ(nodes.Count(), 0);
}

// Net switch 0x81 (bit 7 is not part of the address), sub switch 0xF3 (only the low nibble is),
// SwOut 0xFA: port address 1:3:A. Only DMX512 ports that output from the network count.
TEST(ArtnetPackets, PortAddressesJoinNetSubNetAndTheLowNibbleOfSwOut) {
    ReplyMaker m({10, 1, 2, 3}, "node");
    m.SetByte(18, 0x81);
    m.SetByte(19, 0xF3);
    m.SetByte(211, 2);            // bind index
    m.SetPort(0, 0x40, 0, 0x0A);  // input only
    m.SetPort(1, 0x80, 0, 0xFA);  // DMX512 output
    m.SetPort(2, 0x85, 0, 0x0A);  // Art-Net protocol, not DMX512
    m.SetPort(3, 0xC0, 0, 0x0B);  // DMX512 in and out
    const auto ports = ParseNodePorts(m.Bytes());
    ASSERT_TRUE(ports);
    EXPECT_EQ(ports->address, 0x0A010203u);
    EXPECT_EQ(ports->bindIndex, 2);
    EXPECT_EQ(ports->outputs, 0b1010);
    EXPECT_EQ(ports->portAddress[1], 0x013A);
    EXPECT_TRUE(ports->Outputs(0x013A));
    EXPECT_TRUE(ports->Outputs(0x013B));
    EXPECT_FALSE(ports->Outputs(0x003A));  // another Net
    EXPECT_FALSE(ports->Outputs(0x013A & 0xFF0F));
    // The universe the program sends: SubUni byte and Net byte of its ArtDmx.
    EXPECT_EQ(PortAddressOf(3 * 16 + 10), 0x003A);
    EXPECT_EQ(PortAddressOf(0x813A), 0x013A);
}

TEST(ArtnetPackets, PortAddressesNeedTheOldestReplyLengthAndAnAddressToSendTo) {
    ReplyMaker m({2, 0, 0, 9}, "node");
    m.SetPort(0, 0x80, 0, 0x05);
    m.SetByte(211, 7);
    std::vector<uint8_t> bytes = m.Bytes();
    bytes.resize(kMinPortsReplySize);  // the bind index and later fields are missing: zero
    const auto shortest = ParseNodePorts(bytes);
    ASSERT_TRUE(shortest);
    EXPECT_EQ(shortest->bindIndex, 0);
    EXPECT_TRUE(shortest->Outputs(5));
    bytes.resize(kMinPortsReplySize - 1);
    EXPECT_FALSE(ParseNodePorts(bytes));
    EXPECT_FALSE(ParseNodePorts(BuildArtPoll()));
    for (const auto ip : {std::array<uint8_t, 4>{0, 0, 0, 0},
                          {127, 0, 0, 1},
                          {224, 0, 0, 1},
                          {239, 255, 0, 1},
                          {255, 255, 255, 255}}) {
        ReplyMaker bad(ip, "node");
        bad.SetPort(0, 0x80, 0, 0x05);
        EXPECT_FALSE(ParseNodePorts(bad.Bytes())) << int{ip[0]};
    }
}

TEST(ArtnetReceive, PollIsAnsweredAndOtherOpcodesAreDropped) {
    NodeTable nodes;
    EXPECT_EQ(HandleArtnetDatagram(BuildArtPoll(), nodes, 0), ReceiveAction::SendPollReply);
    EXPECT_EQ(HandleArtnetDatagram(BuildArtDmx(0, DmxFrame{}), nodes, 0), ReceiveAction::None);
    EXPECT_EQ(nodes.Count(), 0);
}

TEST(ArtnetReceive, OwnShortNameNeverEntersTheNodeList) {
    NodeTable nodes;
    const ArtPollReplyPacket own = BuildArtPollReply(0x02000001);
    HandleArtnetDatagram(own, nodes, 0);
    HandleArtnetDatagram(ReplyMaker({2, 0, 0, 9}, "ZQT_Application").Bytes(), nodes, 0);
    EXPECT_EQ(nodes.Count(), 0);
    EXPECT_FALSE(nodes.NodesChanged());
    // A name that only starts like the own one is another node.
    HandleArtnetDatagram(ReplyMaker({2, 0, 0, 9}, "ZQT_Application2").Bytes(), nodes, 0);
    EXPECT_EQ(nodes.Count(), 1);
}

TEST(ArtnetReceive, FirstReplyOfAnAddressWinsAndTheSixteenthNodeIsDropped) {
    NodeTable nodes;
    HandleArtnetDatagram(ReplyMaker({2, 0, 0, 1}, "first").Bytes(), nodes, 0);
    ASSERT_TRUE(nodes.TakeNodesChanged());
    HandleArtnetDatagram(ReplyMaker({2, 0, 0, 1}, "renamed").Bytes(), nodes, 0);
    EXPECT_FALSE(nodes.NodesChanged());
    for (uint8_t i = 2; i <= 16; ++i) {
        char name[8];
        std::snprintf(name, sizeof name, "n%u", unsigned{i});
        HandleArtnetDatagram(ReplyMaker({2, 0, 0, i}, name).Bytes(), nodes, 0);
    }
    ASSERT_EQ(nodes.Count(), NodeTable::kCapacity);
    EXPECT_EQ(nodes.Entry(0)->ShortName(), "first");
    EXPECT_EQ(nodes.Entry(14)->ShortName(), "n15");
    EXPECT_FALSE(nodes.Entry(15));

    nodes.Clear();  // scan: the list starts again from the first reply
    EXPECT_EQ(nodes.Count(), 0);
    HandleArtnetDatagram(ReplyMaker({2, 0, 0, 16}, "n16").Bytes(), nodes, 0);
    EXPECT_EQ(nodes.Entries().at(0).ShortName(), "n16");
}

TEST(ArtnetReceive, NodeListLineAlignsOctetsAndShowsTheMark) {
    ReplyMaker m({192, 168, 0, 10}, "Stage-Left");
    m.SetPort(0, 0x80, 0, 0x23);
    const auto marked = ParseArtPollReply(m.Bytes(), kReceiveUniverse, 0x23);
    ASSERT_TRUE(marked);
    EXPECT_EQ(NodeListLine(*marked), "*192.168.  0. 10 : Stage-Left");
    const auto plain = ParseArtPollReply(m.Bytes(), kReceiveUniverse, 0x24);
    EXPECT_EQ(NodeListLine(*plain), " 192.168.  0. 10 : Stage-Left");
}

}  // namespace
}  // namespace lumavox
