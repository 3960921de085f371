// Output cadence against the real clock: release build only, generous tolerances (shared machines).
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "dmx/artnet/ArtnetPackets.h"
#include "dmx/artnet/TArtnetThread.h"
#include "dmx/net/ArtnetRig.h"
#include "dmx/net/NetSandbox.h"
#include "dmx/net/PeerSocket.h"
#include "dmx/usb/TDmxDtThread.h"
#include "fakes/FakeFrameSource.h"
#include "fakes/FakeUsbTransport.h"
#include "platform/NetworkConfig.h"
#include "platform/UdpSocket.h"

namespace lumavox {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

// Arrival times at another node of each datagram with `opcode`, over `span`.
std::vector<Clock::time_point> Arrivals(PeerSocket& node, uint16_t opcode, Clock::duration span) {
    std::vector<Clock::time_point> out;
    const auto end = Clock::now() + span;
    while (Clock::now() < end) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
        const auto d = node.Receive(std::max(left, 1ms));
        if (d && OpcodeOf(*d) == opcode) out.push_back(d->arrival);
    }
    return out;
}

class ArtnetCadence : public ArtnetRig {
protected:
    void SetUp() override { StartRig(ArtnetConfig{}); }
};

TEST_F(ArtnetCadence, StaticSceneIsSentAtStartThenEveryOneAndAHalfSeconds) {
    thread->Resume();
    const auto dmx = Arrivals(*node, kOpDmx, 3400ms);
    ASSERT_EQ(dmx.size(), 3u);
    EXPECT_NEAR(Ms(dmx[1] - dmx[0]), 1500.0, 100.0);
    EXPECT_NEAR(Ms(dmx[2] - dmx[1]), 1500.0, 100.0);
}

TEST_F(ArtnetCadence, PollsEveryTwoSeconds) {
    thread->Resume();
    const auto polls = Arrivals(*node, kOpPoll, 4500ms);
    ASSERT_GE(polls.size(), 2u);
    for (size_t i = 1; i < polls.size(); ++i)
        EXPECT_NEAR(Ms(polls[i] - polls[i - 1]), 2000.0, 100.0);
}

TEST_F(ArtnetCadence, ChangingFramesGoOutEveryPeriod) {
    source.ChangeEveryTick();
    thread->Resume();
    const auto dmx = Arrivals(*node, kOpDmx, 2000ms);
    ASSERT_GE(dmx.size(), 80u);
    std::vector<double> intervals;
    for (size_t i = 2; i < dmx.size(); ++i) intervals.push_back(Ms(dmx[i] - dmx[i - 1]));
    EXPECT_NEAR(Median(intervals), 20.0, 1.0);
}

TEST(UsbCadence, FramesFollowTheNewPeriodAfterAChange) {
    FakeFrameSource source;
    FakeUsbTransport usb;
    SteadyClock clock;
    TDmxDtThread thread(source, usb, clock, UsbDmxConfig{});
    thread.Resume();
    ASSERT_TRUE(source.WaitForTicks(10, 5s));
    ASSERT_TRUE(thread.Suspend());
    thread.SetPeriod(40);
    const int before = source.Ticks();
    thread.Resume();
    ASSERT_TRUE(source.WaitForTicks(before + 30, 10s));
    thread.Terminate();
    const auto times = source.TickTimes();
    std::vector<double> intervals;
    // Skip the first frames after the resume: the catch-up may add one tick there.
    for (size_t i = static_cast<size_t>(before) + 3; i < times.size(); ++i) {
        intervals.push_back(Ms(times[i] - times[i - 1]));
    }
    EXPECT_NEAR(Median(intervals), 40.0, 1.5);
}

}  // namespace
}  // namespace lumavox
