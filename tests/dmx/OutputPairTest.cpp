#include "dmx/OutputPair.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fakes/FakeFrameSource.h"
#include "fakes/FakeNetworkConfig.h"
#include "fakes/FakeUdpSocket.h"
#include "fakes/FakeUsbTransport.h"

namespace lumavox {
namespace {

using namespace std::chrono_literals;

const std::vector<Ipv4Interface> kLan = {{kLoopbackAddress, 1}, {0xC0A80114, 3}};

bool SentArtPoll(const std::vector<SentDatagram>& sent) {
    for (const auto& d : sent) {
        if (d.bytes.size() > 9 && d.bytes[8] == 0x00 && d.bytes[9] == 0x20) return true;
    }
    return false;
}

struct PairRig {
    explicit PairRig(std::string addError = {}) : addresses(std::move(addError)) {}
    FakeFrameSource source;
    FakeUdpSocket socket;
    FakeInterfaceList interfaces{kLan};
    FakeAddressConfig addresses;
    FakeUsbTransport usb;
    SteadyClock clock;
};

TEST(OutputPair, OnlyTheSelectedThreadRunsThroughSwitchesAndPeriodChanges) {
    PairRig rig;
    OutputPair pair(rig.source, rig.clock, {0, 20, 0, 0},
                    {rig.socket, rig.interfaces, rig.addresses}, rig.usb);
    EXPECT_FALSE(pair.Usb().Running());
    EXPECT_FALSE(pair.Artnet().Running());

    pair.Start(OutputType::Usb);
    EXPECT_TRUE(pair.Usb().Running());
    EXPECT_TRUE(rig.addresses.Changes().empty());  // Art-Net never started: machine untouched
    pair.SetUsbPeriod(40);
    EXPECT_TRUE(pair.Usb().Running());
    EXPECT_EQ(pair.Usb().Period(), 40u);

    NodeEntry node{};
    pair.Artnet().Nodes().Add(node);
    pair.SwitchTo(OutputType::ArtNet, 0ms);
    EXPECT_EQ(pair.Active(), OutputType::ArtNet);
    EXPECT_FALSE(pair.Usb().Running());
    EXPECT_TRUE(pair.Artnet().Running());
    EXPECT_EQ(pair.Artnet().Nodes().Count(), 0);
    EXPECT_TRUE(SentArtPoll(rig.socket.Sent()));

    // A period change while Art-Net runs must not start the parked USB thread as well.
    pair.SetUsbPeriod(25);
    EXPECT_FALSE(pair.Usb().Running());
    EXPECT_EQ(pair.Usb().Period(), 25u);
    EXPECT_TRUE(pair.Artnet().Running());

    rig.socket.TakeSent();
    pair.SwitchTo(OutputType::ArtNet, 0ms);  // already active: no second poll
    EXPECT_FALSE(SentArtPoll(rig.socket.Sent()));

    pair.SwitchTo(OutputType::Usb, 0ms);
    EXPECT_TRUE(pair.Usb().Running());
    EXPECT_FALSE(pair.Artnet().Running());
    EXPECT_TRUE(rig.source.WaitForTicks(rig.source.Ticks() + 3, 5s));

    pair.Terminate();
    EXPECT_FALSE(pair.Usb().Running());
    EXPECT_FALSE(rig.socket.IsOpen());
    EXPECT_EQ(rig.addresses.Changes().size(), 2u);  // the added address is gone again
    pair.Terminate();
}

TEST(OutputPair, ArtNetStartErrorIsHandedOutOnceAfterTheFirstResume) {
    PairRig rig("Operation not permitted");
    OutputPair pair(rig.source, rig.clock, {0x12, 20, 0, 0},
                    {rig.socket, rig.interfaces, rig.addresses}, rig.usb);
    EXPECT_EQ(pair.InitErrorAfterStart(), "");
    pair.Start(OutputType::ArtNet);
    EXPECT_TRUE(pair.Artnet().Running());
    EXPECT_FALSE(pair.Usb().Running());
    EXPECT_EQ(pair.Artnet().TxUniverse(), 0x12);
    EXPECT_THAT(pair.InitErrorAfterStart(), ::testing::HasSubstr("Operation not permitted"));
    EXPECT_EQ(pair.InitErrorAfterStart(), "");
    EXPECT_TRUE(SentArtPoll(rig.socket.Sent()));
}

// The player's pair for USB or for no output: nothing of the network is touched, and the USB
// thread ticks the source even without a device.
TEST(OutputPair, WithoutArtNetNeitherThePortNorAnAddressIsTouched) {
    PairRig rig;
    OutputPairConfig config;
    config.WithArtnet = false;
    OutputPair pair(rig.source, rig.clock, config, {rig.socket, rig.interfaces, rig.addresses},
                    rig.usb);
    EXPECT_FALSE(pair.HasArtnet());
    EXPECT_FALSE(rig.socket.IsOpen());  // an Art-Net thread opens it when it is built
    pair.Start(OutputType::Usb);
    EXPECT_TRUE(rig.source.WaitForTicks(3, 5s));
    pair.SwitchTo(OutputType::ArtNet, 0ms);
    EXPECT_EQ(pair.Active(), OutputType::Usb);
    EXPECT_TRUE(pair.Usb().Running());
    EXPECT_EQ(pair.InitErrorAfterStart(), "");
    pair.Terminate();
    EXPECT_TRUE(rig.socket.Sent().empty());
    EXPECT_TRUE(rig.addresses.Changes().empty());
}

TEST(OutputType, DmxTypeOneIsArtNetEverythingElseUsb) {
    EXPECT_EQ(OutputTypeOf(1), OutputType::ArtNet);
    EXPECT_EQ(OutputTypeOf(0), OutputType::Usb);
    EXPECT_EQ(OutputTypeOf(7), OutputType::Usb);
    EXPECT_EQ(DmxTypeOf(OutputType::ArtNet), 1);
}

}  // namespace
}  // namespace lumavox
