#include "dmx/sacn/SacnLoop.h"

#include <gtest/gtest.h>

#include "dmx/sacn/TSacnThread.h"
#include "fakes/FakeFrameSource.h"
#include "fakes/FakeUdpSocket.h"
#include "fakes/ManualClock.h"

namespace lumavox {
namespace {

bool IsData(const SentDatagram& d) {
    return d.bytes.size() == kSacnDataSize;
}
bool IsSync(const SentDatagram& d) {
    return d.bytes.size() == kSacnSyncSize;
}
bool Terminated(const SentDatagram& d) {
    return IsData(d) && (d.bytes[kSacnOptionsOffset] & kSacnOptionTerminated) != 0;
}
int CountData(const std::vector<SentDatagram>& sent) {
    return static_cast<int>(std::count_if(sent.begin(), sent.end(), IsData));
}

struct LoopRig {
    explicit LoopRig(SacnStream stream = {}) {
        socket.Open(0, error);
        shared.ready = true;
        loop.Configure(stream);
        loop.Start();
    }
    // Runs `frames` periods of 20 ms.
    void Frames(int frames) {
        for (int i = 0; i < frames; ++i) {
            clock.Advance(20);
            loop.Iterate();
        }
    }
    std::string error;
    FakeUdpSocket socket;
    FakeFrameSource source;
    ManualClock clock;
    SacnShared shared;
    SacnLoop loop{socket, source, clock, shared, 20};
};

TEST(SacnLoop, ChangesGoOutThreeTimesThenOnlyKeepAlivesWithinASecond) {
    SacnStream stream;
    stream.universe = 7;
    stream.priority = 42;
    LoopRig rig(stream);
    rig.Frames(1);  // the first frame always goes out
    rig.Frames(10);
    auto sent = rig.socket.TakeSent();
    ASSERT_EQ(CountData(sent), 3);
    for (const SentDatagram& d : sent) {
        EXPECT_EQ(d.address, 0xEFFF0007u);
        EXPECT_EQ(d.port, kSacnPort);
        EXPECT_EQ(d.bytes[kSacnPriorityOffset], 42);
    }

    // Nothing changes: one keep-alive 800 ms after the last packet, none before.
    rig.Frames(31);  // 8 × 20 + 31 × 20 = 780 ms since the third packet
    EXPECT_EQ(CountData(rig.socket.TakeSent()), 0);
    rig.Frames(1);
    EXPECT_EQ(CountData(rig.socket.TakeSent()), 1);

    // One channel changes: sent in that very frame, then twice more.
    rig.source.SetChannel(511, 9);
    rig.Frames(1);
    sent = rig.socket.TakeSent();
    ASSERT_EQ(CountData(sent), 1);
    EXPECT_EQ(sent[0].bytes[kSacnSlotsOffset + 511], 9);
    rig.Frames(5);
    EXPECT_EQ(CountData(rig.socket.TakeSent()), 2);
}

TEST(SacnLoop, SequenceCountsEveryPacketAndWraps) {
    LoopRig rig;
    rig.source.ChangeEveryTick();
    rig.Frames(300);
    const auto sent = rig.socket.TakeSent();
    ASSERT_EQ(sent.size(), 300u);
    for (size_t i = 0; i < sent.size(); ++i) {
        EXPECT_EQ(sent[i].bytes[kSacnSequenceOffset], static_cast<uint8_t>(i)) << i;
    }
}

TEST(SacnLoop, SyncPacketFollowsEachDataPacketWithItsOwnSequence) {
    SacnStream stream;
    stream.universe = 3;
    stream.syncUniverse = 500;
    LoopRig rig(stream);
    rig.source.ChangeEveryTick();
    rig.Frames(4);
    const auto sent = rig.socket.TakeSent();
    ASSERT_EQ(sent.size(), 8u);
    for (size_t i = 0; i < sent.size(); i += 2) {
        ASSERT_TRUE(IsData(sent[i]));
        EXPECT_EQ(sent[i].bytes[kSacnSyncAddressOffset], 500 >> 8);
        EXPECT_EQ(sent[i].bytes[kSacnSyncAddressOffset + 1], 500 & 0xFF);
        ASSERT_TRUE(IsSync(sent[i + 1]));
        EXPECT_EQ(sent[i + 1].address, SacnMulticastAddress(500));
        EXPECT_EQ(sent[i + 1].bytes[kSacnSyncSequenceOffset], i / 2);
        EXPECT_EQ(sent[i].bytes[kSacnSequenceOffset], i / 2);
    }
}

TEST(SacnLoop, UnicastSendsEveryPacketToEachAddressAndTerminationEndsTheStream) {
    SacnStream stream;
    stream.unicast = {0x0A000005, 0x0A000006};
    stream.syncUniverse = 9;
    LoopRig rig(stream);
    rig.Frames(1);
    auto sent = rig.socket.TakeSent();
    ASSERT_EQ(sent.size(), 4u);  // data and sync, to each address
    EXPECT_EQ(sent[0].address, 0x0A000005u);
    EXPECT_EQ(sent[1].address, 0x0A000006u);
    EXPECT_TRUE(IsSync(sent[2]));
    EXPECT_EQ(sent[3].address, 0x0A000006u);

    rig.loop.Terminate();
    sent = rig.socket.TakeSent();
    ASSERT_EQ(sent.size(), 6u);  // three terminated data packets each, no sync
    for (size_t i = 0; i < sent.size(); ++i) {
        EXPECT_TRUE(Terminated(sent[i]));
        EXPECT_EQ(sent[i].bytes[kSacnSequenceOffset], 1 + i / 2);
    }
    rig.loop.Terminate();  // nothing went out since: nothing to end
    EXPECT_TRUE(rig.socket.TakeSent().empty());

    // The stream starts again with the next frame, without the terminated bit.
    rig.Frames(1);
    sent = rig.socket.TakeSent();
    ASSERT_FALSE(sent.empty());
    EXPECT_FALSE(Terminated(sent[0]));
    EXPECT_EQ(sent[0].bytes[kSacnSequenceOffset], 4);
}

TEST(SacnLoop, WithoutAReadyNetworkFramesAreTickedButNothingIsSent) {
    LoopRig rig;
    rig.shared.ready = false;
    rig.Frames(5);
    rig.loop.Terminate();
    EXPECT_EQ(rig.source.Ticks(), 5);
    EXPECT_TRUE(rig.socket.Sent().empty());
}

TEST(SacnInterface, NamedInterfaceElseDefaultRouteElseFirstNonLoopback) {
    const std::vector<Ipv4Interface> table = {{0x7F000001, 1}, {0x0A000001, 4}};
    EXPECT_EQ(ChooseSacnInterface("eth1", 5, 2, table).index, 5);
    const SacnInterfaceChoice missing = ChooseSacnInterface("eth9", std::nullopt, 2, table);
    EXPECT_NE(missing.error.find("eth9"), std::string::npos);
    EXPECT_EQ(ChooseSacnInterface("", std::nullopt, 2, table).index, 2);
    EXPECT_EQ(ChooseSacnInterface("", std::nullopt, std::nullopt, table).index, 4);
    EXPECT_EQ(ChooseSacnInterface("", std::nullopt, std::nullopt, std::nullopt).index, 0);
}

}  // namespace
}  // namespace lumavox
