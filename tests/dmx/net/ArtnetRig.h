#pragma once

// The program's Art-Net thread in a fresh namespace (2.0.0.1/8) and another node in a second one
// (2.0.0.2/8), joined by a veth pair; shared by the traffic tests and the cadence measurements.

#include <gtest/gtest.h>

#include <optional>

#include "dmx/artnet/ArtnetPackets.h"
#include "dmx/artnet/TArtnetThread.h"
#include "dmx/net/NetSandbox.h"
#include "dmx/net/PeerSocket.h"
#include "fakes/FakeFrameSource.h"
#include "platform/Clock.h"
#include "platform/NetworkConfig.h"
#include "platform/UdpSocket.h"

namespace lumavox {

class ArtnetRig : public ::testing::Test {
protected:
    // Call from SetUp; skips (or fails under CI=true) when namespaces cannot be made.
    void StartRig(const ArtnetConfig& config) {
        LUMAVOX_ENTER_NET_NAMESPACE_OR_SKIP();
        peer.emplace();
        ASSERT_TRUE(peer->Ok()) << peer->Error();
        ASSERT_TRUE(peer->Link("lvxa0", "2.0.0.1/8", "lvxb0", "2.0.0.2/8"));
        peer->Run([&] { node.emplace(kArtnetPort); });
        ASSERT_TRUE(node->Bound());
        thread.emplace(source, ArtnetNetwork{socket, interfaces, addresses}, clock, config);
        ASSERT_TRUE(thread->NetReady());
    }
    void TearDown() override {
        thread.reset();
        node.reset();
        peer.reset();
    }

    FakeFrameSource source;
    PosixUdpSocket socket;
    SystemInterfaceList interfaces;
    NetlinkAddressConfig addresses;
    SteadyClock clock;
    std::optional<PeerNamespace> peer;
    std::optional<PeerSocket> node;
    std::optional<TArtnetThread> thread;
};

}  // namespace lumavox
