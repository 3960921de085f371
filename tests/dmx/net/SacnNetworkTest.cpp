// The sACN thread on real sockets: the program in a namespace of its own (10.0.0.1/24, default
// route through the peer), receivers in a second one (10.0.0.2/24) joined by a veth pair.
#include <gtest/gtest.h>

#include <optional>

#include "dmx/OutputStatus.h"
#include "dmx/net/NetSandbox.h"
#include "dmx/net/SacnReceiver.h"
#include "dmx/sacn/TSacnThread.h"
#include "fakes/FakeFrameSource.h"
#include "platform/NetworkConfig.h"
#include "platform/NetworkInfo.h"
#include "platform/UdpSocket.h"

namespace lumavox {
namespace {

using namespace std::chrono_literals;

class SacnNetwork : public ::testing::Test {
protected:
    void SetUp() override {
        LUMAVOX_ENTER_NET_NAMESPACE_OR_SKIP();
        peer.emplace();
        ASSERT_TRUE(peer->Ok()) << peer->Error();
        ASSERT_TRUE(peer->Link("lvxs0", "10.0.0.1/24", "lvxs1", "10.0.0.2/24"));
        ASSERT_TRUE(RunInNamespace("ip route add default via 10.0.0.2"));
        source.ChangeEveryTick();
    }
    void TearDown() override {
        thread.reset();
        receiver.reset();
        peer.reset();
    }
    void Listen(const std::vector<uint16_t>& universes) {
        peer->Run([&] { receiver.emplace("lvxs1", universes); });
        ASSERT_TRUE(receiver->Ok());
    }

    FakeFrameSource source;
    PosixUdpSocket socket;
    SystemInterfaceList interfaces;
    SteadyClock clock;
    std::optional<PeerNamespace> peer;
    std::optional<SacnReceiver> receiver;
    std::optional<TSacnThread> thread;
};

TEST_F(SacnNetwork, MulticastReachesTheGroupOnTheDefaultRouteWithTtlOneSyncAndTermination) {
    Listen({7, 9});
    SacnConfig config;
    config.stream.universe = 7;
    config.stream.priority = 150;
    config.stream.syncUniverse = 9;
    thread.emplace(source, socket, interfaces, clock, config);
    ASSERT_TRUE(thread->NetReady()) << thread->InitError();
    EXPECT_EQ(DefaultRouteInterface(), InterfaceIndexOf("lvxs0"));
    EXPECT_EQ(thread->DestinationText(), "239.255.0.7 on lvxs0");
    thread->Resume();
    const auto seen = receiver->ReceiveSome(40, 5s);
    ASSERT_EQ(seen.size(), 40u);

    int expectedData = -1, expectedSync = -1;
    for (size_t i = 0; i < seen.size(); ++i) {
        const SacnDatagram& d = seen[i];
        EXPECT_EQ(d.ttl, 1);
        if (d.IsData()) {
            EXPECT_EQ(d.destination, 0xEFFF0007u);  // 239.255.0.7
            EXPECT_EQ(d.Universe(), 7);
            EXPECT_EQ(d.bytes[kSacnPriorityOffset], 150);
            EXPECT_EQ(d.Be16(kSacnSyncAddressOffset), 9);
            if (expectedData >= 0) {
                EXPECT_EQ(d.Sequence(), static_cast<uint8_t>(expectedData));
            }
            expectedData = d.Sequence() + 1;
            // every data packet is followed by the sync packet of its frame
            ASSERT_LT(i + 1, seen.size());
            EXPECT_TRUE(seen[i + 1].IsSync());
        } else {
            ASSERT_TRUE(d.IsSync());
            EXPECT_EQ(d.destination, 0xEFFF0009u);
            EXPECT_EQ(d.Be16(kSacnSyncUniverseOffset), 9);
            if (expectedSync >= 0) {
                EXPECT_EQ(d.Sequence(), static_cast<uint8_t>(expectedSync));
            }
            expectedSync = d.Sequence() + 1;
        }
    }

    ASSERT_TRUE(thread->Terminate());
    int terminated = 0;
    for (int i = 0; i < 20 && terminated < 3; ++i) {
        const auto d = receiver->Receive(1s);
        if (!d) break;
        terminated += d->Terminated() ? 1 : 0;
    }
    EXPECT_EQ(terminated, 3);
}

TEST_F(SacnNetwork, UnicastGoesToTheListedAddressAndAMissingInterfaceSendsNothing) {
    Listen({});  // not a member of any group: only unicast reaches it
    SacnConfig config;
    config.stream.universe = 7;
    config.stream.unicast = {0x0A000002};
    thread.emplace(source, socket, interfaces, clock, config);
    thread->Resume();
    const auto d = receiver->Receive(5s);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->destination, 0x0A000002u);
    EXPECT_EQ(d->Universe(), 7);
    EXPECT_TRUE(thread->LastSendOk());

    config.stream.unicast.clear();
    config.interfaceName = "lvxnone";
    thread->Reconfigure(config);
    EXPECT_FALSE(thread->NetReady());
    EXPECT_NE(thread->InitError().find("lvxnone"), std::string::npos);
    // the unicast stream was ended; after that nothing more arrives
    int terminated = 0;
    while (const auto more = receiver->Receive(300ms)) terminated += more->Terminated() ? 1 : 0;
    EXPECT_EQ(terminated, 3);
}

}  // namespace
}  // namespace lumavox
