// Real sockets, addresses and the Art-Net thread, each test in network namespaces of its own.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <linux/if_ether.h>
#include <linux/if_packet.h>
#include <net/if.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <thread>

#include "dmx/OutputPair.h"
#include "dmx/OutputStatus.h"
#include "dmx/artnet/ArtnetPackets.h"
#include "dmx/artnet/TArtnetThread.h"
#include "dmx/net/ArtnetRig.h"
#include "dmx/net/NetSandbox.h"
#include "dmx/net/PeerSocket.h"
#include "fakes/ArtPollReplyMaker.h"
#include "fakes/FakeFrameSource.h"
#include "fakes/FakeUdpSocket.h"
#include "fakes/FakeUsbTransport.h"
#include "fakes/TempDir.h"
#include "platform/AddressOwners.h"
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

TEST(PosixUdpSocket, BroadcastsKeepsThePortToItselfAndNeverBlocksOnReceive) {
    LUMAVOX_ENTER_NET_NAMESPACE_OR_SKIP();
    ASSERT_TRUE(RunInNamespace("ip link add lvxd0 type veth peer name lvxd1"));
    ASSERT_TRUE(RunInNamespace("ip addr add 2.0.0.1/8 brd + dev lvxd0"));
    ASSERT_TRUE(RunInNamespace("ip link set lvxd0 up && ip link set lvxd1 up"));
    PosixUdpSocket socket;
    std::string error;
    ASSERT_TRUE(socket.Open(kArtnetPort, error)) << error;
    // Another Art-Net program on the port, with or without address reuse, gets the bind error
    // (its output shows "NET:NG") instead of sharing the port and missing the replies.
    EXPECT_FALSE(PeerSocket(kArtnetPort).Bound());
    PosixUdpSocket second;
    EXPECT_FALSE(second.Open(kArtnetPort, error));
    EXPECT_EQ(error, "Address already in use");
    {
        FakeFrameSource source;
        SystemInterfaceList interfaces;
        NetlinkAddressConfig addresses;
        SteadyClock clock;
        TArtnetThread other(source, {second, interfaces, addresses}, clock, {});
        EXPECT_EQ(NetStatusText(other.NetReady(), other.Nodes().Count()), "NET:NG");
    }

    std::array<uint8_t, 2048> buffer{};
    EXPECT_FALSE(socket.Receive(buffer));  // nothing waiting: returns at once
    PeerSocket witness(kArtnetPort + 1);
    ASSERT_TRUE(witness.Bound());
    const std::vector<uint8_t> bytes = {1, 2, 3, 4};
    ASSERT_TRUE(socket.SendTo(kArtnetBroadcast, kArtnetPort + 1, bytes));  // needs SO_BROADCAST
    const auto seen = witness.Receive(5s);
    ASSERT_TRUE(seen);
    EXPECT_EQ(seen->bytes, bytes);
    EXPECT_EQ(seen->destination, kArtnetBroadcast);
    // The socket's own broadcast comes back to it through the local delivery.
    ASSERT_TRUE(socket.SendTo(kArtnetBroadcast, kArtnetPort, bytes));
    std::optional<size_t> got;
    for (int i = 0; i < 5000 && !got; ++i) {
        got = socket.Receive(buffer);
        if (!got) std::this_thread::sleep_for(1ms);
    }
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
    const std::vector<Ipv4Interface> expectedOrder = {{kLoopbackAddress, 1, 8, false},
                                                      {0xC0A80114, index, 24, false}};
    ASSERT_EQ(table->size(), 2u);
    EXPECT_EQ((*table)[0].address, expectedOrder[0].address);
    EXPECT_EQ((*table)[1].address, expectedOrder[1].address);
    EXPECT_EQ((*table)[1].interfaceIndex, index);

    EXPECT_EQ((*table)[1].prefixLength, 24);
    EXPECT_FALSE((*table)[1].addedByUs);

    testing::TempDir records;
    NetlinkAddressConfig config(records.Folder());
    EXPECT_EQ(config.AddAddress(0x02A80114, 24, kArtnetBroadcast, index), "");
    const auto added = list.Ipv4Addresses();
    ASSERT_TRUE(added);
    ASSERT_EQ(added->size(), 3u);
    EXPECT_EQ((*added)[2].address, 0x02A80114u);
    EXPECT_EQ((*added)[2].prefixLength, 24);
    EXPECT_TRUE((*added)[2].addedByUs);  // labelled "lvxd0:lvx"
    EXPECT_EQ(config.AddAddress(0x02A80114, 24, kArtnetBroadcast, index), "File exists");
    EXPECT_EQ(config.RemoveAddress(0x02A80114, 24, index), "");
    EXPECT_FALSE(Lists(list, 0x02A80114));
    EXPECT_FALSE(config.RemoveAddress(0x02A80114, 24, index).empty());
    EXPECT_FALSE(config.AddAddress(0x02A80114, 24, kArtnetBroadcast, 9999).empty());  // no such
    EXPECT_EQ(AddedAddressLabel("enx001122334455"), "enx00112233:lvx");  // fits 15 characters
}

TEST(TArtnetThreadNetwork, MirrorsTheOnlyAddressInto2AndRemovesItAtTheEnd) {
    LUMAVOX_ENTER_NET_NAMESPACE_OR_SKIP();
    ASSERT_TRUE(RunInNamespace("ip link add lvxd0 type veth peer name lvxd1"));
    ASSERT_TRUE(RunInNamespace("ip addr add 192.168.1.20/24 dev lvxd0"));
    ASSERT_TRUE(RunInNamespace("ip link set lvxd0 up"));
    testing::TempDir records;
    FakeFrameSource source;
    PosixUdpSocket socket;
    SystemInterfaceList interfaces;
    NetlinkAddressConfig addresses(records.Folder());
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

// Ethernet frames as they arrive on an interface (a packet socket): what a node on the same link
// receives whatever addresses it holds. Open it in the namespace of the interface.
class FrameCapture {
public:
    explicit FrameCapture(const char* interfaceName) {
        m_fd = socket(AF_PACKET, SOCK_RAW | SOCK_CLOEXEC, htons(ETH_P_ALL));
        sockaddr_ll at{};
        at.sll_family = AF_PACKET;
        at.sll_protocol = htons(ETH_P_ALL);
        at.sll_ifindex = static_cast<int>(if_nametoindex(interfaceName));
        m_ok = m_fd >= 0 && at.sll_ifindex > 0 &&
               bind(m_fd, reinterpret_cast<const sockaddr*>(&at), sizeof at) == 0;
    }
    ~FrameCapture() {
        if (m_fd >= 0) close(m_fd);
    }
    FrameCapture(const FrameCapture&) = delete;
    FrameCapture& operator=(const FrameCapture&) = delete;
    bool Ok() const { return m_ok; }

    struct ArtnetFrame {
        bool ethernetBroadcast = false;
        uint32_t source = 0;
        uint32_t destination = 0;
        uint16_t opcode = 0;
        uint8_t firstChannel = 0;  // of an ArtDmx
    };
    // The next UDP datagram to port 6454 within the bound whose opcode is `opcode`.
    std::optional<ArtnetFrame> Next(uint16_t opcode, std::chrono::milliseconds bound) {
        const auto end = std::chrono::steady_clock::now() + bound;
        std::array<uint8_t, 2048> b{};
        while (true) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                end - std::chrono::steady_clock::now());
            pollfd p{m_fd, POLLIN, 0};
            if (left.count() <= 0 || poll(&p, 1, static_cast<int>(left.count())) <= 0) return {};
            const ssize_t n = recv(m_fd, b.data(), b.size(), 0);
            if (n < 14 + 20 + 8 + 10 || b[12] != 0x08 || b[13] != 0x00 || b[23] != 17) continue;
            const size_t udp = 14 + size_t{4} * (b[14] & 0x0Fu);
            if (static_cast<size_t>(n) < udp + 8 + 10) continue;
            if ((b[udp + 2] << 8 | b[udp + 3]) != kArtnetPort) continue;
            ArtnetFrame f;
            f.ethernetBroadcast =
                std::all_of(b.begin(), b.begin() + 6, [](uint8_t x) { return x == 0xFF; });
            const auto be32 = [&](size_t at) {
                return uint32_t{b[at]} << 24 | uint32_t{b[at + 1]} << 16 |
                       uint32_t{b[at + 2]} << 8 | uint32_t{b[at + 3]};
            };
            f.source = be32(26);
            f.destination = be32(30);
            f.opcode = static_cast<uint16_t>(b[udp + 8 + 8] | b[udp + 8 + 9] << 8);
            if (static_cast<size_t>(n) > udp + 8 + 18) f.firstChannel = b[udp + 8 + 18];
            if (f.opcode == opcode) return f;
        }
    }

private:
    int m_fd = -1;
    bool m_ok = false;
};

// The lights sit in 2.0.0.0/8; the machine has only 192.168.1.20/24. Through the address the
// program adds, its frames must reach the link as broadcasts from 2.168.1.20, also for a node that
// holds no 2.x address of its own (without a default route nothing would leave at all).
TEST(TArtnetThreadNetwork, FramesLeaveThroughTheAddedAddressAsBroadcasts) {
    LUMAVOX_ENTER_NET_NAMESPACE_OR_SKIP();
    PeerNamespace peer;
    ASSERT_TRUE(peer.Ok()) << peer.Error();
    ASSERT_TRUE(peer.Link("lvxa1", "192.168.1.20/24", "lvxb1", "192.168.1.30/24"));
    std::optional<FrameCapture> capture;
    peer.Run([&] { capture.emplace("lvxb1"); });
    ASSERT_TRUE(capture && capture->Ok());

    testing::TempDir records;
    FakeFrameSource source;
    source.SetChannel(0, 99);
    PosixUdpSocket socket;
    SystemInterfaceList interfaces;
    NetlinkAddressConfig addresses(records.Folder());
    SteadyClock clock;
    TArtnetThread thread(source, {socket, interfaces, addresses}, clock, {});
    thread.Resume();
    ASSERT_EQ(thread.InitError(), "");
    ASSERT_EQ(thread.LocalAddressText(), "2.168.1.20");
    thread.SendPoll();
    for (const uint16_t opcode : {kOpPoll, kOpDmx}) {
        const auto frame = capture->Next(opcode, 5s);
        ASSERT_TRUE(frame) << "opcode " << opcode;
        EXPECT_TRUE(frame->ethernetBroadcast);
        EXPECT_EQ(frame->source, 0x02A80114u);
        EXPECT_EQ(frame->destination, kArtnetBroadcast);
    }
}

// Two copies on one machine, as when one runs under sudo and one as the user: their instance locks
// lie in different runtime folders, so both start. The second cannot open the port; it must leave
// the first one's address alone, and the first keeps sending to the lights after it has ended.
TEST(TArtnetThreadNetwork, ASecondCopyLeavesTheFirstCopysAddressAloneAndItKeepsSending) {
    LUMAVOX_ENTER_NET_NAMESPACE_OR_SKIP();
    PeerNamespace peer;
    ASSERT_TRUE(peer.Ok()) << peer.Error();
    ASSERT_TRUE(peer.Link("lvxa3", "192.168.1.20/24", "lvxb3", "192.168.1.30/24"));
    std::optional<FrameCapture> capture;
    peer.Run([&] { capture.emplace("lvxb3"); });
    ASSERT_TRUE(capture && capture->Ok());

    testing::TempDir records;  // both copies' ownership records, as /tmp would hold them
    constexpr uint32_t kAdded = 0x02A80114;
    SystemInterfaceList interfaces;
    SteadyClock clock;
    FakeFrameSource sourceA;
    PosixUdpSocket socketA;
    NetlinkAddressConfig addressesA(records.Folder());
    TArtnetThread a(sourceA, {socketA, interfaces, addressesA}, clock, {});
    a.Resume();
    ASSERT_EQ(a.InitError(), "");
    ASSERT_EQ(a.LocalAddressText(), "2.168.1.20");
    {
        FakeFrameSource sourceB;
        PosixUdpSocket socketB;
        NetlinkAddressConfig addressesB(records.Folder());
        TArtnetThread b(sourceB, {socketB, interfaces, addressesB}, clock, {});
        EXPECT_EQ(NetStatusText(b.NetReady(), b.Nodes().Count()), "NET:NG");
        b.Resume();
        EXPECT_THAT(b.InitError(), ::testing::HasSubstr("6454: Address already in use"));
        ASSERT_TRUE(sourceB.WaitForTicks(2, 5s));
    }
    EXPECT_TRUE(Lists(interfaces, kAdded));
    // A copy that finds the port free (as in the moment the first one has closed its socket but
    // not yet removed its address) learns from the record that the address is still owned.
    {
        FakeFrameSource sourceC;
        FakeUdpSocket socketC;
        NetlinkAddressConfig addressesC(records.Folder());
        TArtnetThread c(sourceC, {socketC, interfaces, addressesC}, clock, {});
        c.Resume();
        EXPECT_EQ(c.LocalAddressText(), "2.168.1.20");
    }
    ASSERT_TRUE(Lists(interfaces, kAdded));

    sourceA.SetChannel(0, 77);
    std::optional<FrameCapture::ArtnetFrame> frame;
    for (int i = 0; i < 100 && !(frame && frame->firstChannel == 77); ++i) {
        frame = capture->Next(kOpDmx, 100ms);
    }
    ASSERT_TRUE(frame && frame->firstChannel == 77) << "the first copy stopped sending";
    EXPECT_EQ(frame->source, kAdded);

    a.Terminate();
    EXPECT_FALSE(Lists(interfaces, kAdded));
    EXPECT_FALSE(std::filesystem::exists(AddressOwners(records.Folder()).RecordPath("lvxa3")));
}

// Another Art-Net program holds the port: the editor's start-up warning gives the system's reason,
// the status shows NET:NG, and no address is added for output that cannot be sent.
TEST(OutputPairNetwork, APortHeldByAnotherProgramIsExplainedAndNoAddressIsAdded) {
    LUMAVOX_ENTER_NET_NAMESPACE_OR_SKIP();
    ASSERT_TRUE(RunInNamespace("ip link add lvxd0 type veth peer name lvxd1"));
    ASSERT_TRUE(RunInNamespace("ip addr add 192.168.1.20/24 dev lvxd0"));
    ASSERT_TRUE(RunInNamespace("ip link set lvxd0 up"));
    PeerSocket holder(kArtnetPort);
    ASSERT_TRUE(holder.Bound());
    testing::TempDir records;
    FakeFrameSource source;
    PosixUdpSocket socket;
    SystemInterfaceList interfaces;
    NetlinkAddressConfig addresses(records.Folder());
    FakeUsbTransport usb;
    SteadyClock clock;
    OutputPair pair(source, clock, {}, {socket, interfaces, addresses}, usb);
    pair.Start(OutputType::ArtNet);
    EXPECT_THAT(pair.InitErrorAfterStart(),
                ::testing::StartsWith("cannot open UDP port 6454: Address already in use."));
    EXPECT_EQ(NetStatusText(pair.Artnet().NetReady(), pair.Artnet().Nodes().Count()), "NET:NG");
    EXPECT_EQ(pair.Artnet().LocalAddressText(), "192.168.1.20");
    EXPECT_FALSE(Lists(interfaces, 0x02A80114));
    pair.Terminate();
    EXPECT_FALSE(Lists(interfaces, 0x02A80114));
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

// Two nodes on one link (a bridge on the program's side, 2.0.0.1/8): 2.0.0.2 outputs the universe
// 3:A the program sends, 2.0.0.3 the universe 3:B. With unicast only the first gets ArtDmx, and
// each of its frames is followed by an ArtSync, which as a broadcast reaches both.
TEST(TArtnetThreadNetwork, UnicastReachesOnlyTheSubscribedNodeAndArtSyncFollowsEachFrame) {
    LUMAVOX_ENTER_NET_NAMESPACE_OR_SKIP();
    ASSERT_TRUE(RunInNamespace("ip link add lvxbr0 type bridge"));
    ASSERT_TRUE(RunInNamespace("ip addr add 2.0.0.1/8 brd + dev lvxbr0 && ip link set lvxbr0 up"));
    std::array<PeerNamespace, 2> peers;
    std::array<std::optional<PeerSocket>, 2> nodes;
    for (uint8_t i = 0; i < 2; ++i) {
        ASSERT_TRUE(peers[i].Ok()) << peers[i].Error();
        const std::string local = "lvxa" + std::to_string(i + 5);
        const std::string remote = "lvxb" + std::to_string(i + 5);
        ASSERT_TRUE(RunInNamespace("ip link add " + local + " type veth peer name " + remote +
                                   " netns " + std::to_string(peers[i].Tid())));
        ASSERT_TRUE(RunInNamespace("ip link set " + local + " master lvxbr0 && ip link set " +
                                   local + " up"));
        bool up = false;
        peers[i].Run([&] {
            up = RunInNamespace("ip addr add 2.0.0." + std::to_string(i + 2) + "/8 brd + dev " +
                                remote + " && ip link set " + remote + " up");
            nodes[i].emplace(kArtnetPort);
        });
        ASSERT_TRUE(up && nodes[i]->Bound());
    }

    FakeFrameSource source;
    source.ChangeEveryTick();
    PosixUdpSocket socket;
    SystemInterfaceList interfaces;
    NetlinkAddressConfig addresses;
    SteadyClock clock;
    ArtnetConfig config;
    config.txUniverse = 3 * 16 + 10;
    config.unicast = true;
    config.artSync = true;
    TArtnetThread thread(source, {socket, interfaces, addresses}, clock, config);
    ASSERT_TRUE(thread.NetReady());
    ASSERT_EQ(thread.LocalAddress(), kProgramAddress);
    thread.Resume();
    for (uint8_t i = 0; i < 2; ++i) {
        ReplyMaker reply({2, 0, 0, static_cast<uint8_t>(i + 2)}, "node");
        reply.SetByte(19, 0x03);
        reply.SetPort(0, 0x80, 0, i == 0 ? 0x0A : 0x0B);
        ASSERT_TRUE(nodes[i]->SendTo(kProgramAddress, kArtnetPort, reply.Bytes()));
    }

    // The subscribed node: ArtDmx to its own address, then the ArtSync, frame after frame.
    std::string order;
    for (int i = 0; i < 200 && order.size() < 20; ++i) {
        const auto d = nodes[0]->Receive(2s);
        ASSERT_TRUE(d) << "received so far: " << order;
        if (OpcodeOf(*d) == kOpDmx) {
            order += 'D';
            EXPECT_EQ(d->destination, kPeerAddress);
            EXPECT_EQ(d->bytes[14], 0x3A);
        } else if (OpcodeOf(*d) == kOpSync) {
            order += 'S';
            EXPECT_EQ(d->destination, kArtnetBroadcast);
            EXPECT_EQ(d->bytes.size(), kArtSyncSize);
        }
    }
    EXPECT_EQ(order, "DSDSDSDSDSDSDSDSDSDS");
    EXPECT_TRUE(thread.ReceivesUnicast({2, 0, 0, 2}));
    EXPECT_FALSE(thread.ReceivesUnicast({2, 0, 0, 3}));

    // The other node heard the same time's broadcasts (polls, syncs) but no ArtDmx.
    thread.Terminate();
    int syncs = 0;
    int dmx = 0;
    for (int i = 0; i < 1000; ++i) {
        const auto d = nodes[1]->Receive(50ms);
        if (!d) break;
        syncs += OpcodeOf(*d) == kOpSync ? 1 : 0;
        dmx += OpcodeOf(*d) == kOpDmx ? 1 : 0;
    }
    EXPECT_GE(syncs, 10);
    EXPECT_EQ(dmx, 0);
}

}  // namespace
}  // namespace lumavox
