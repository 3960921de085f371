#include "dmx/artnet/ArtnetLoop.h"

#include <gtest/gtest.h>

#include <vector>

#include "dmx/artnet/LocalAddress.h"
#include "fakes/ArtPollReplyMaker.h"
#include "fakes/FakeFrameSource.h"
#include "fakes/FakeUdpSocket.h"
#include "fakes/ManualClock.h"

namespace lumavox {
namespace {

uint16_t Opcode(const SentDatagram& d) {
    return static_cast<uint16_t>(d.bytes[8] | d.bytes[9] << 8);
}

int Count(const std::vector<SentDatagram>& sent, uint16_t opcode) {
    int n = 0;
    for (const auto& d : sent) n += Opcode(d) == opcode ? 1 : 0;
    return n;
}

// The loop driven by hand: a manual clock, a fake socket and a fake frame source.
class ArtnetLoopTest : public ::testing::Test {
protected:
    ArtnetLoopTest() {
        std::string error;
        socket.Open(kArtnetPort, error);
        shared.netReady = true;
        shared.sendEnabled = true;
    }
    // Advances to the next frame and runs passes until it has been ticked.
    void NextFrame() {
        clock.Advance(20);
        loop.Iterate();
    }

    ManualClock clock;
    FakeUdpSocket socket;
    FakeFrameSource source;
    ArtnetShared shared;
    ArtnetLoop loop{socket, source, clock, shared, 20};
};

TEST_F(ArtnetLoopTest, StaticSceneSendsOnlyAtStartAndEveryKeyframe) {
    source.SetChannel(0, 10);
    loop.Start();
    auto sent = socket.TakeSent();
    ASSERT_EQ(sent.size(), 1u);  // the forced frame at start: still all zero
    EXPECT_EQ(sent[0].address, kArtnetBroadcast);
    EXPECT_EQ(sent[0].port, kArtnetPort);
    EXPECT_EQ(sent[0].bytes.size(), kArtDmxSize);
    EXPECT_EQ(sent[0].bytes[kArtDmxDataOffset], 0);

    NextFrame();  // frame 1 changed (channel 1 = 10): sent
    ASSERT_EQ(Count(socket.TakeSent(), kOpDmx), 1);
    std::vector<int> sendingFrames;
    for (int frame = 2; frame <= 160; ++frame) {
        NextFrame();
        if (Count(socket.TakeSent(), kOpDmx) > 0) sendingFrames.push_back(frame);
    }
    EXPECT_EQ(sendingFrames, (std::vector<int>{75, 150}));
    EXPECT_EQ(source.Ticks(), 160);
}

TEST_F(ArtnetLoopTest, OneChangedChannelGoesOutInTheNextFrame) {
    loop.Start();
    socket.TakeSent();
    NextFrame();
    EXPECT_TRUE(socket.TakeSent().empty());
    source.SetChannel(511, 1);
    NextFrame();
    const auto sent = socket.TakeSent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].bytes[kArtDmxDataOffset + 511], 1);
}

TEST_F(ArtnetLoopTest, UniverseChangeShowsAtTheLatestInTheNextKeyframe) {
    loop.Start();
    socket.TakeSent();
    shared.txUniverse = 3 * 16 + 10;
    for (int frame = 1; frame < 75; ++frame) NextFrame();
    EXPECT_TRUE(socket.TakeSent().empty());
    NextFrame();
    const auto sent = socket.TakeSent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].bytes[14], 0x3A);
    EXPECT_EQ(sent[0].bytes[15], 0x00);
}

TEST_F(ArtnetLoopTest, PollsEveryTwoSecondsBetweenFrames) {
    loop.Start();
    socket.TakeSent();
    std::vector<uint32_t> pollTimes;
    const uint32_t t0 = clock.NowMs();
    for (int ms = 0; ms < 4100; ++ms) {
        clock.Advance(1);
        loop.Iterate();
        for (const auto& d : socket.TakeSent()) {
            if (Opcode(d) == kOpPoll) {
                EXPECT_EQ(d.bytes.size(), kArtPollSize);
                pollTimes.push_back(clock.NowMs() - t0);
            }
        }
    }
    // At exactly 2000 ms a frame is due, so the poll follows at the next pass between frames.
    EXPECT_EQ(pollTimes, (std::vector<uint32_t>{2001, 4001}));
}

TEST_F(ArtnetLoopTest, SleepsUntilTwoMillisecondsBeforeTheNextFrame) {
    loop.Start();
    clock.Advance(20);
    EXPECT_EQ(loop.Iterate(), 18u);
    clock.Advance(5);  // between frames: spin
    EXPECT_EQ(loop.Iterate(), 0u);
}

TEST_F(ArtnetLoopTest, ReceivedPollIsAnsweredWithTheOwnReplyToTheBroadcastAddress) {
    loop.SetLocalAddress(0x02A80114);
    loop.Start();
    socket.TakeSent();
    const ArtPollPacket poll = BuildArtPoll();
    socket.Inject({poll.begin(), poll.end()});
    socket.Inject(ReplyMaker({2, 0, 0, 7}, "Node-7").Bytes());
    socket.Inject({1, 2, 3});  // garbage is dropped
    clock.Advance(1);
    loop.Iterate();
    const auto sent = socket.TakeSent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].address, kArtnetBroadcast);
    ASSERT_EQ(sent[0].bytes.size(), kArtPollReplySize);
    const ArtPollReplyPacket expected = BuildArtPollReply(0x02A80114);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), sent[0].bytes.begin()));
    EXPECT_EQ(shared.nodes.Count(), 1);
}

TEST_F(ArtnetLoopTest, WithoutNetworkTheTickStillRunsAndNothingIsSentOrReceived) {
    shared.netReady = false;
    socket.Inject({'x'});
    loop.Start();
    for (int i = 0; i < 200; ++i) NextFrame();
    EXPECT_EQ(source.Ticks(), 200);
    EXPECT_TRUE(socket.Sent().empty());
    EXPECT_FALSE(socket.InboxEmpty());
}

TEST_F(ArtnetLoopTest, SendDisabledStillPollsAndAnswers) {
    shared.sendEnabled = false;
    loop.Start();
    source.SetChannel(0, 1);
    for (int i = 0; i < 101; ++i) NextFrame();
    clock.Advance(1);
    loop.Iterate();
    const auto sent = socket.TakeSent();
    EXPECT_EQ(Count(sent, kOpDmx), 0);
    EXPECT_EQ(Count(sent, kOpPoll), 1);
}

// Unicast: node .10 outputs the universe 3:A, node .11 the universe 3:B.
TEST_F(ArtnetLoopTest, UnicastGoesToSubscribedNodesUntilTheirRepliesAreTenSecondsOld) {
    shared.unicast = true;
    shared.artSync = true;
    shared.txUniverse = 0x3A;
    source.SetChannel(0, 1);
    loop.Start();
    EXPECT_TRUE(socket.TakeSent().empty());  // nobody has subscribed yet
    NextFrame();
    EXPECT_TRUE(socket.TakeSent().empty());
    for (const uint8_t last : {uint8_t{10}, uint8_t{11}}) {
        ReplyMaker reply({2, 0, 0, last}, "node");
        reply.SetByte(19, 0x03);
        reply.SetPort(0, 0x80, 0, last == 10 ? 0x0A : 0x0B);
        socket.Inject(reply.Bytes());
    }
    // The frame has not changed, but the new subscriber gets it with the next frame, followed
    // by the ArtSync to the broadcast address.
    NextFrame();
    auto sent = socket.TakeSent();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(Opcode(sent[0]), kOpDmx);
    EXPECT_EQ(sent[0].address, 0x0200000Au);
    EXPECT_EQ(sent[0].bytes[kArtDmxDataOffset], 1);
    EXPECT_EQ(Opcode(sent[1]), kOpSync);
    EXPECT_EQ(sent[1].address, kArtnetBroadcast);
    EXPECT_EQ(sent[1].bytes.size(), kArtSyncSize);

    // Keyframes keep reaching it while its reply is fresh; none after 10 s without one.
    std::vector<SentDatagram> dmx;
    for (int frame = 0; frame < 1000; ++frame) {
        NextFrame();
        for (auto& d : socket.TakeSent()) {
            EXPECT_NE(d.address, 0x0200000Bu);
            if (Opcode(d) == kOpDmx) dmx.push_back(d);
        }
    }
    ASSERT_FALSE(dmx.empty());
    EXPECT_LE(dmx.size(), 10000u / 1500u + 1);
    for (const auto& d : dmx) EXPECT_EQ(d.address, 0x0200000Au);
}

}  // namespace
}  // namespace lumavox
