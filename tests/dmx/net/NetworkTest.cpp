// Real sockets, addresses and the Art-Net thread, each test in network namespaces of its own.
#include <gtest/gtest.h>
#include <net/if.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>

#include "dmx/artnet/ArtnetPackets.h"
#include "dmx/artnet/TArtnetThread.h"
#include "dmx/net/ArtnetRig.h"
#include "dmx/net/NetSandbox.h"
#include "dmx/net/PeerSocket.h"
#include "fakes/ArtPollReplyMaker.h"
#include "fakes/FakeFrameSource.h"
#include "platform/NetworkConfig.h"
#include "platform/UdpSocket.h"

namespace lumavox {
namespace {

using namespace std::chrono_literals;

constexpr uint32_t kProgramAddress = 0x02000001;  // 2.0.0.1/8 on the program's side
constexpr uint32_t kPeerAddress = 0x02000002;

bool Lists(const IInterfaceList& list, uint32_t address) {
    const auto table = list.Ipv4Addresses();
    return table && std::any_of(table->begin(), table->end(),
                                [&](const Ipv4Interface& e) { return e.address == address; });
}

TEST(PosixUdpSocket, BroadcastsSharesThePortAndNeverBlocksOnReceive) {
    LUMAVOX_ENTER_NET_NAMESPACE_OR_SKIP();
    ASSERT_TRUE(RunInNamespace("ip link add lvxd0 type veth peer name lvxd1"));
    ASSERT_TRUE(RunInNamespace("ip addr add 2.0.0.1/8 brd + dev lvxd0"));
    ASSERT_TRUE(RunInNamespace("ip link set lvxd0 up && ip link set lvxd1 up"));
    PosixUdpSocket socket;
    std::string error;
    ASSERT_TRUE(socket.Open(kArtnetPort, error)) << error;
    PeerSocket witness(kArtnetPort);  // other Art-Net software on the same port (address reuse)
    ASSERT_TRUE(witness.Bound());
    std::array<uint8_t, 2048> buffer{};
    EXPECT_FALSE(socket.Receive(buffer));  // nothing waiting: returns at once

    const std::vector<uint8_t> bytes = {1, 2, 3, 4};
    ASSERT_TRUE(socket.SendTo(kArtnetBroadcast, kArtnetPort, bytes));  // needs SO_BROADCAST
    const auto seen = witness.Receive(5s);
    ASSERT_TRUE(seen);
    EXPECT_EQ(seen->bytes, bytes);
    EXPECT_EQ(seen->destination, kArtnetBroadcast);
    // The local copies of a broadcast reach every socket on the port in one delivery, so the
    // program's own copy is already waiting.
    const auto got = socket.Receive(buffer);
    ASSERT_TRUE(got);
    EXPECT_EQ(*got, 4u);
    EXPECT_FALSE(socket.Receive(buffer));

    socket.Close();
    EXPECT_FALSE(socket.SendTo(kArtnetBroadcast, kArtnetPort, bytes));
}

TEST(NetlinkAddressConfig, AddsListsAndRemovesAnAddress) {
    LUMAVOX_ENTER_NET_NAMESPACE_OR_SKIP();
    ASSERT_TRUE(RunInNamespace("ip link add lvxd0 type veth peer name lvxd1"));
    ASSERT_TRUE(RunInNamespace("ip addr add 192.168.1.20/24 dev lvxd0"));
    ASSERT_TRUE(RunInNamespace("ip link set lvxd0 up"));
    const int index = static_cast<int>(if_nametoindex("lvxd0"));
    SystemInterfaceList list;
    const auto table = list.Ipv4Addresses();
    ASSERT_TRUE(table);
    const std::vector<Ipv4Interface> expectedOrder = {{kLoopbackAddress, 1}, {0xC0A80114, index}};
    ASSERT_EQ(table->size(), 2u);
    EXPECT_EQ((*table)[0].address, expectedOrder[0].address);
    EXPECT_EQ((*table)[1].address, expectedOrder[1].address);
    EXPECT_EQ((*table)[1].interfaceIndex, index);

    NetlinkAddressConfig config;
    EXPECT_EQ(config.AddAddress(0x02A80114, 24, index), "");
    EXPECT_TRUE(Lists(list, 0x02A80114));
    EXPECT_EQ(config.AddAddress(0x02A80114, 24, index), "File exists");
    EXPECT_EQ(config.RemoveAddress(0x02A80114, 24, index), "");
    EXPECT_FALSE(Lists(list, 0x02A80114));
    EXPECT_FALSE(config.RemoveAddress(0x02A80114, 24, index).empty());
    EXPECT_FALSE(config.AddAddress(0x02A80114, 24, 9999).empty());  // no such interface
}

TEST(TArtnetThreadNetwork, MirrorsTheOnlyAddressInto2AndRemovesItAtTheEnd) {
    LUMAVOX_ENTER_NET_NAMESPACE_OR_SKIP();
    ASSERT_TRUE(RunInNamespace("ip link add lvxd0 type veth peer name lvxd1"));
    ASSERT_TRUE(RunInNamespace("ip addr add 192.168.1.20/24 dev lvxd0"));
    ASSERT_TRUE(RunInNamespace("ip link set lvxd0 up"));
    FakeFrameSource source;
    PosixUdpSocket socket;
    SystemInterfaceList interfaces;
    NetlinkAddressConfig addresses;
    SteadyClock clock;
    {
        TArtnetThread thread(source, {socket, interfaces, addresses}, clock, {});
        EXPECT_TRUE(thread.NetReady());
        EXPECT_FALSE(Lists(interfaces, 0x02A80114));  // nothing changes before output starts
        thread.Resume();
        EXPECT_EQ(thread.InitError(), "");
        EXPECT_EQ(thread.LocalAddressText(), "2.168.1.20");
        EXPECT_TRUE(Lists(interfaces, 0x02A80114));
        ASSERT_TRUE(source.WaitForTicks(2, 5s));
        ASSERT_TRUE(thread.Suspend());  // parked at exit: the address still goes
    }
    EXPECT_FALSE(Lists(interfaces, 0x02A80114));
    EXPECT_TRUE(Lists(interfaces, 0xC0A80114));
}

// The program in one namespace (2.0.0.1/8), another node in a second (2.0.0.2/8).
class ArtnetTraffic : public ArtnetRig {
protected:
    void SetUp() override {
        StartRig(ArtnetConfig{20, 3 * 16 + 10, true});
        if (IsSkipped() || HasFatalFailure()) return;
        ASSERT_EQ(thread->LocalAddress(), kProgramAddress);
    }
    std::optional<PeerDatagram> NextWithOpcode(uint16_t opcode, std::chrono::milliseconds bound) {
        return node->ReceiveUntil([&](const PeerDatagram& d) { return OpcodeOf(d) == opcode; },
                                  bound);
    }
};

TEST_F(ArtnetTraffic, BroadcastsArtDmxOnTheUniverseAndAnswersPolls) {
    source.SetChannel(0, 200);
    thread->Resume();
    thread->SendPoll();
    const auto poll = NextWithOpcode(kOpPoll, 5s);
    ASSERT_TRUE(poll);
    EXPECT_EQ(poll->bytes.size(), kArtPollSize);
    EXPECT_EQ(poll->destination, kArtnetBroadcast);
    const auto dmx = node->ReceiveUntil(
        [](const PeerDatagram& d) { return OpcodeOf(d) == kOpDmx && d.bytes[18] == 200; }, 5s);
    ASSERT_TRUE(dmx);
    EXPECT_EQ(dmx->bytes.size(), kArtDmxSize);
    EXPECT_EQ(dmx->bytes[14], 0x3A);
    EXPECT_EQ(dmx->bytes[15], 0x00);
    EXPECT_EQ(dmx->destination, kArtnetBroadcast);

    const ArtPollPacket ownPoll = BuildArtPoll();
    ASSERT_TRUE(node->SendTo(kArtnetBroadcast, kArtnetPort, {ownPoll.begin(), ownPoll.end()}));
    const auto reply = NextWithOpcode(kOpPollReply, 5s);
    ASSERT_TRUE(reply);
    const ArtPollReplyPacket expected = BuildArtPollReply(kProgramAddress);
    EXPECT_EQ(reply->bytes, std::vector<uint8_t>(expected.begin(), expected.end()));
    EXPECT_EQ(reply->destination, kArtnetBroadcast);
}

TEST_F(ArtnetTraffic, RecordsFifteenNodesFirstReplyWinsOwnNameIgnored) {
    thread->Resume();
    peer->Run([&] {
        node->SendTo(kArtnetBroadcast, kArtnetPort,
                     ReplyMaker({2, 0, 0, 2}, "ZQT_Application").Bytes());
        ReplyMaker first({2, 0, 1, 1}, "first");
        first.SetPort(0, 0x80, 0, 0x3A);
        node->SendTo(kProgramAddress, kArtnetPort, first.Bytes());
        node->SendTo(kProgramAddress, kArtnetPort, ReplyMaker({2, 0, 1, 1}, "again").Bytes());
        for (uint8_t i = 2; i <= 16; ++i) {
            char name[8];
            std::snprintf(name, sizeof name, "n%u", unsigned{i});
            node->SendTo(kProgramAddress, kArtnetPort, ReplyMaker({2, 0, 1, i}, name).Bytes());
        }
    });
    NodeTable& nodes = thread->Nodes();
    for (int i = 0; i < 250 && nodes.Count() < NodeTable::kCapacity; ++i) {
        source.WaitForTicks(source.Ticks() + 1, 1s);
    }
    // Let the loop read the rest of what was sent before looking.
    const int after = source.Ticks();
    source.WaitForTicks(after + 5, 2s);
    const auto entries = nodes.Entries();
    ASSERT_EQ(entries.size(), 15u);
    EXPECT_EQ(entries[0].ShortName(), "first");
    EXPECT_EQ(entries[0].matchMark, 1);
    EXPECT_EQ(NodeListLine(entries[0]), "*  2.  0.  1.  1 : first");
    EXPECT_EQ(entries[14].ShortName(), "n15");
    for (const auto& e : entries) EXPECT_NE(e.ShortName(), "ZQT_Application");
}

}  // namespace
}  // namespace lumavox
