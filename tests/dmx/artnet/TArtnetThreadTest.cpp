#include "dmx/artnet/TArtnetThread.h"

#include <gtest/gtest.h>

#include "dmx/OutputStatus.h"
#include "fakes/ArtPollReplyMaker.h"
#include "fakes/FakeFrameSource.h"
#include "fakes/FakeNetworkConfig.h"
#include "fakes/FakeUdpSocket.h"

namespace lumavox {
namespace {

using namespace std::chrono_literals;

constexpr uint32_t kLanAddress = 0xC0A80114;     // 192.168.1.20
constexpr uint32_t kArtnetAddress = 0x02A80114;  // 2.168.1.20
const std::vector<Ipv4Interface> kLanOnly = {{kLoopbackAddress, 1, 8, false},
                                             {kLanAddress, 3, 24, false}};

bool HasOpcode(const std::vector<SentDatagram>& sent, uint8_t high) {
    for (const auto& d : sent) {
        if (d.bytes.size() > 9 && d.bytes[9] == high) return true;
    }
    return false;
}

TEST(LocalAddress, ChoosesAnExisting2AddressOrMirrorsTheFirstOtherOne) {
    const auto existing = ChooseLocalAddress(std::vector<Ipv4Interface>{
        {kLoopbackAddress, 1, 8, false}, {kLanAddress, 3, 24, false}, {0x02010203, 4, 8, false}});
    EXPECT_EQ(existing.address, 0x02010203u);
    EXPECT_FALSE(existing.addAddress);

    const auto mirrored = ChooseLocalAddress(kLanOnly);
    EXPECT_EQ(mirrored.address, kLanAddress);
    EXPECT_TRUE(mirrored.addAddress);
    EXPECT_EQ(mirrored.addedAddress, kArtnetAddress);
    EXPECT_EQ(mirrored.interfaceIndex, 3);

    for (const auto& table :
         {std::optional<std::vector<Ipv4Interface>>{},
          std::optional<std::vector<Ipv4Interface>>{{{kLoopbackAddress, 1, 8, false}}}}) {
        const auto none = ChooseLocalAddress(table);
        EXPECT_EQ(none.address, kLoopbackAddress);
        EXPECT_FALSE(none.addAddress);
    }
    EXPECT_EQ(DottedAddress(kArtnetAddress), "2.168.1.20");
}

TEST(TArtnetThread, AddsTheAddressOnlyWhenOutputStartsAndRemovesItAtTheEnd) {
    FakeFrameSource source;
    FakeUdpSocket socket;
    FakeInterfaceList interfaces(kLanOnly);
    FakeAddressConfig addresses;
    SteadyClock clock;
    {
        TArtnetThread thread(source, {socket, interfaces, addresses}, clock, {});
        EXPECT_TRUE(addresses.Changes().empty());
        EXPECT_EQ(thread.LocalAddressText(), "192.168.1.20");
        EXPECT_EQ(socket.Port(), kArtnetPort);
        thread.Resume();
        EXPECT_EQ(thread.LocalAddressText(), "2.168.1.20");
        EXPECT_TRUE(thread.InitError().empty());
        thread.Suspend();
        thread.Resume();  // a second start adds nothing more
        EXPECT_TRUE(thread.Terminate());
        EXPECT_FALSE(socket.IsOpen());
    }
    const std::vector<FakeAddressConfig::Change> expected = {{true, kArtnetAddress, 24, 3},
                                                             {false, kArtnetAddress, 24, 3}};
    EXPECT_EQ(addresses.Changes(), expected);
    EXPECT_EQ(addresses.LastBroadcast(), kArtnetBroadcast);  // not 2.168.1.255

    FakeAddressConfig untouched;
    { TArtnetThread neverStarted(source, {socket, interfaces, untouched}, clock, {}); }
    EXPECT_TRUE(untouched.Changes().empty());
}

// After a run that was killed, its labelled address is still there; the next run must not take it
// for the user's own and leave it behind for good.
TEST(TArtnetThread, AnAddressOfOursLeftBehindIsUsedAndRemoved) {
    FakeFrameSource source;
    FakeUdpSocket socket;
    FakeInterfaceList interfaces(std::vector<Ipv4Interface>{{kLoopbackAddress, 1, 8, false},
                                                            {kLanAddress, 3, 24, false},
                                                            {kArtnetAddress, 3, 24, true}});
    FakeAddressConfig addresses;
    SteadyClock clock;
    {
        TArtnetThread thread(source, {socket, interfaces, addresses}, clock, {});
        thread.Resume();
        EXPECT_EQ(thread.LocalAddressText(), "2.168.1.20");
        EXPECT_TRUE(thread.InitError().empty());
    }
    const std::vector<FakeAddressConfig::Change> expected = {{false, kArtnetAddress, 24, 3}};
    EXPECT_EQ(addresses.Changes(), expected);

    // A running copy owns it (another user's, say): used, never removed.
    FakeAddressConfig owned;
    owned.SetOwnedElsewhere(true);
    {
        TArtnetThread thread(source, {socket, interfaces, owned}, clock, {});
        thread.Resume();
        EXPECT_EQ(thread.LocalAddressText(), "2.168.1.20");
    }
    EXPECT_EQ(owned.TakeOverAsked().size(), 1u);
    EXPECT_TRUE(owned.Changes().empty());

    // The user's own 2.x address (no label of ours) stays.
    FakeInterfaceList own(std::vector<Ipv4Interface>{{kArtnetAddress, 3, 8, false}});
    FakeAddressConfig untouched;
    {
        TArtnetThread thread(source, {socket, own, untouched}, clock, {});
        thread.Resume();
    }
    EXPECT_TRUE(untouched.Changes().empty());
}

TEST(TArtnetThread, RefusedAddressWarnsThatLightsMayNotBeReachedAndOutputGoesOn) {
    FakeFrameSource source;
    FakeUdpSocket socket;
    FakeInterfaceList interfaces(kLanOnly);
    FakeAddressConfig addresses("Operation not permitted");
    SteadyClock clock;
    TArtnetThread thread(source, {socket, interfaces, addresses}, clock, {});
    thread.Resume();
    // The system's reason, what it means and both remedies.
    const std::string& warning = thread.InitError();
    for (const char* part :
         {"2.168.1.20/24", "eth3", "Operation not permitted", "lights may not be reached",
          "setcap cap_net_admin+ep ", "2.x.x.x/8", "ip addr add 2.168.1.20/8 brd + dev eth3"}) {
        EXPECT_NE(warning.find(part), std::string::npos) << part << " in: " << warning;
    }
    EXPECT_EQ(thread.LocalAddressText(), "192.168.1.20");
    EXPECT_TRUE(socket.WaitForSent([](const auto& s) { return HasOpcode(s, 0x50); }, 5s));
    thread.ClearInitError();
    EXPECT_TRUE(thread.InitError().empty());
    thread.Terminate();
    EXPECT_EQ(addresses.Changes().size(), 1u);  // nothing to remove
}

// Another program holds port 6454: the output says why, and the machine's addresses are left as
// they are (no address added for a socket that cannot send, none of another copy's taken over).
TEST(TArtnetThread, APortThatDidNotOpenIsExplainedAndNoAddressIsTouched) {
    FakeFrameSource source;
    FakeUdpSocket socket(false);
    FakeInterfaceList interfaces(kLanOnly);
    FakeAddressConfig addresses;
    SteadyClock clock;
    {
        TArtnetThread thread(source, {socket, interfaces, addresses}, clock, {});
        EXPECT_FALSE(thread.NetReady());
        EXPECT_EQ(NetStatusText(thread.NetReady(), thread.Nodes().Count()), "NET:NG");
        EXPECT_EQ(thread.InitError(), "");  // told when output starts, not before
        thread.Resume();
        EXPECT_EQ(thread.InitError(),
                  "cannot open UDP port 6454: Address already in use. Nothing is sent over "
                  "Art-Net (NET:NG). If another Art-Net program holds the port, end it and start "
                  "this one again.");
        EXPECT_EQ(thread.LocalAddressText(), "192.168.1.20");
        thread.SendPoll();
        EXPECT_TRUE(source.WaitForTicks(3, 5s));  // the tick still runs
        thread.Terminate();
        EXPECT_TRUE(socket.Sent().empty());
    }
    EXPECT_TRUE(addresses.Changes().empty());

    FakeInterfaceList leftOver(
        std::vector<Ipv4Interface>{{kLanAddress, 3, 24, false}, {kArtnetAddress, 3, 24, true}});
    { TArtnetThread thread(source, {socket, leftOver, addresses}, clock, {}); }
    EXPECT_TRUE(addresses.TakeOverAsked().empty());
    EXPECT_TRUE(addresses.Changes().empty());
}

TEST(TArtnetThread, RunsParksAndDiscoversNodes) {
    FakeFrameSource source;
    FakeUdpSocket socket;
    FakeInterfaceList interfaces(std::vector<Ipv4Interface>{{0x02000001, 2, 8, false}});
    FakeAddressConfig addresses;
    SteadyClock clock;
    TArtnetThread thread(source, {socket, interfaces, addresses}, clock, {20, 0x3A, true});
    EXPECT_EQ(NetStatusText(thread.NetReady(), thread.Nodes().Count()), "NET:--");
    EXPECT_EQ(source.Ticks(), 0);  // created parked

    thread.Resume();
    thread.SendPoll();
    // The forced frame at start, then polls; a node answers.
    ASSERT_TRUE(socket.WaitForSent(
        [](const auto& s) { return HasOpcode(s, 0x50) && HasOpcode(s, 0x20); }, 5s));
    for (const auto& d : socket.Sent()) {
        if (d.bytes[9] == 0x50) {
            EXPECT_EQ(d.bytes[14], 0x3A);
        }
    }
    socket.Inject(ReplyMaker({2, 0, 0, 50}, "Node-50").Bytes());
    for (int i = 0; i < 1000 && thread.Nodes().Count() == 0; ++i) {
        source.WaitForTicks(source.Ticks() + 1, 1s);
    }
    ASSERT_EQ(thread.Nodes().Count(), 1);
    EXPECT_TRUE(thread.Nodes().TakeNodesChanged());
    EXPECT_EQ(NodeListLine(*thread.Nodes().Entry(0)), "   2.  0.  0. 50 : Node-50");
    EXPECT_EQ(NetStatusText(thread.NetReady(), thread.Nodes().Count()), "NET:OK");

    ASSERT_TRUE(thread.Suspend());
    const int parkedAt = source.Ticks();
    EXPECT_TRUE(thread.Terminate());
    EXPECT_EQ(source.Ticks(), parkedAt);  // a parked loop ends without another pass
}

}  // namespace
}  // namespace lumavox
