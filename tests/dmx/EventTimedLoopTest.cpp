#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "dmx/artnet/ArtnetLoop.h"
#include "dmx/sacn/SacnLoop.h"
#include "fakes/FakeUdpSocket.h"
#include "fakes/ManualClock.h"

namespace lumavox {
namespace {

constexpr uint32_t kStart = 1000;  // clock time of show time 0

// A show of single-channel steps: channel 1 holds how many steps lie at or before the show time
// (clock - kStart + offset). Holds are steps that change nothing (as one that keeps the colour
// before a jump). Stands in for the engine, on the same clock as the loop.
class StepShow final : public IFrameSource {
public:
    StepShow(const IClock& clock, std::vector<int32_t> steps, const std::vector<int32_t>& holds)
        : m_clock(clock), m_steps(std::move(steps)), m_allSteps(m_steps) {
        m_allSteps.insert(m_allSteps.end(), holds.begin(), holds.end());
        std::sort(m_allSteps.begin(), m_allSteps.end());
    }
    void Tick(DmxFrame& frame) override { FrameAt(m_clock.NowMs(), frame); }
    void SetLightOffsetMs(int32_t offsetMs) override { m_offset = offsetMs; }
    std::optional<uint32_t> NextStepAt(uint32_t afterMs) override {
        const auto it = std::upper_bound(m_allSteps.begin(), m_allSteps.end(), ShowTime(afterMs));
        if (it == m_allSteps.end()) return std::nullopt;
        return static_cast<uint32_t>(static_cast<int32_t>(kStart) + *it - m_offset);
    }
    void FrameAt(uint32_t nowMs, DmxFrame& frame) override {
        const auto it = std::upper_bound(m_steps.begin(), m_steps.end(), ShowTime(nowMs));
        frame[0] = static_cast<uint8_t>(it - m_steps.begin());
    }

private:
    int32_t ShowTime(uint32_t now) const { return static_cast<int32_t>(now - kStart) + m_offset; }
    const IClock& m_clock;
    std::vector<int32_t> m_steps;
    std::vector<int32_t> m_allSteps;
    int32_t m_offset = 0;
};

struct Sent {
    uint32_t at;
    int value;  // channel 1
};

// Runs a loop as its thread does (sleep what Iterate says, else to the next millisecond) on the
// manual clock until `until`, and returns the DMX data packets with their clock times.
template <class Loop>
std::vector<Sent> RunLoop(Loop& loop, ManualClock& clock, FakeUdpSocket& socket, uint32_t until,
                          size_t dataSize, size_t slotsOffset) {
    std::vector<Sent> sent;
    auto collect = [&] {
        for (const auto& d : socket.TakeSent()) {
            if (d.bytes.size() == dataSize) sent.push_back({clock.NowMs(), d.bytes[slotsOffset]});
        }
    };
    clock.Set(kStart);
    loop.Start();
    collect();
    for (int pass = 0; pass < 100000 && clock.NowMs() < until; ++pass) {
        const uint32_t sleep = loop.Iterate();
        collect();
        clock.Advance(std::max<uint32_t>(sleep, 1));
    }
    return sent;
}

// When each step's value first left, relative to the clock time of show time 0.
std::vector<int32_t> Onsets(const std::vector<Sent>& sent, size_t stepCount) {
    std::vector<int32_t> onsets;
    for (size_t n = 1; n <= stepCount; ++n) {
        const auto it = std::find_if(sent.begin(), sent.end(),
                                     [n](const Sent& s) { return s.value >= static_cast<int>(n); });
        onsets.push_back(it == sent.end() ? -1 : static_cast<int32_t>(it->at - kStart));
    }
    return onsets;
}

uint32_t SmallestGap(const std::vector<Sent>& sent) {
    uint32_t smallest = UINT32_MAX;
    for (size_t i = 1; i < sent.size(); ++i) {
        smallest = std::min(smallest, sent[i].at - sent[i - 1].at);
    }
    return smallest;
}

// Steps between ticks, one inside the gap after another, one on a tick, one just before a tick
// (which then waits for the gap's end), a jump held 1 ms before (the hold must not start a gap)
// a pair 1 ms apart, and one just after a tick that would repeat the last change.
const std::vector<int32_t> kSteps{113, 240, 242, 500, 521, 610, 620, 731, 732, 752};
const std::vector<int32_t> kHolds{619};

struct Case {
    const char* name;
    bool eventTimed;
    int32_t offset;
    std::vector<int32_t> onsets;
};

class EventTimedLoops : public ::testing::TestWithParam<Case> {
protected:
    ManualClock clock{kStart};
    FakeUdpSocket socket;
    StepShow show{clock, kSteps, kHolds};
};

TEST_P(EventTimedLoops, ArtnetAndSacnSendStepsAtTheirTimeAndKeepTheGap) {
    const Case& c = GetParam();
    std::string error;
    socket.Open(kArtnetPort, error);
    {
        ArtnetShared shared;
        shared.netReady = true;
        shared.sendEnabled = true;
        shared.eventTimed = c.eventTimed;
        shared.lightOffsetMs = c.offset;
        ArtnetLoop loop(socket, show, clock, shared, 25);
        const auto sent =
            RunLoop(loop, clock, socket, kStart + 1000, kArtDmxSize, kArtDmxDataOffset);
        EXPECT_EQ(Onsets(sent, kSteps.size()), c.onsets) << "Art-Net";
        if (c.eventTimed) {
            EXPECT_GE(SmallestGap(sent), 5u) << "Art-Net";
        }
    }
    {
        SacnShared shared;
        shared.ready = true;
        shared.eventTimed = c.eventTimed;
        shared.lightOffsetMs = c.offset;
        SacnLoop loop(socket, show, clock, shared, 25);
        const auto sent =
            RunLoop(loop, clock, socket, kStart + 1000, kSacnDataSize, kSacnSlotsOffset);
        EXPECT_EQ(Onsets(sent, kSteps.size()), c.onsets) << "sACN";
        if (c.eventTimed) {
            EXPECT_GE(SmallestGap(sent), 5u) << "sACN";
        }
    }
}

// A periodic frame that must go out although nothing changed (a keyframe for Art-Net, a repeat
// after a change for sACN), ticking just before or right on a hold that precedes a jump by 1 ms,
// goes with the jump's frame: sent at the hold, it would push the jump to the end of its gap.
TEST(EventTimedLoop, RepeatHeldForAHoldDoesNotDelayTheJumpAfterIt) {
    ManualClock clock{kStart};
    FakeUdpSocket socket;
    std::string error;
    socket.Open(kArtnetPort, error);
    // sACN repeats a change on the next two ticks (500 and 525, 2000 and 2025); Art-Net's
    // keyframes are the ticks at 1500 and 3000 (every 60 frames of 25 ms).
    StepShow show{clock, {490, 529, 1504, 1990, 2026, 3001}, {528, 1503, 2025, 3000}};
    const std::vector<int32_t> onsets{490, 529, 1504, 1990, 2026, 3001};
    {
        ArtnetShared shared;
        shared.netReady = true;
        shared.sendEnabled = true;
        shared.eventTimed = true;
        ArtnetLoop loop(socket, show, clock, shared, 25);
        const auto sent =
            RunLoop(loop, clock, socket, kStart + 3100, kArtDmxSize, kArtDmxDataOffset);
        EXPECT_EQ(Onsets(sent, onsets.size()), onsets) << "Art-Net";
        EXPECT_GE(SmallestGap(sent), 5u) << "Art-Net";
    }
    {
        SacnShared shared;
        shared.ready = true;
        shared.eventTimed = true;
        SacnLoop loop(socket, show, clock, shared, 25);
        const auto sent =
            RunLoop(loop, clock, socket, kStart + 3100, kSacnDataSize, kSacnSlotsOffset);
        EXPECT_EQ(Onsets(sent, onsets.size()), onsets) << "sACN";
        EXPECT_GE(SmallestGap(sent), 5u) << "sACN";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Timing, EventTimedLoops,
    ::testing::Values(
        // Periodic only: each step waits for the next 25 ms tick.
        Case{"Periodic", false, 0, {125, 250, 250, 500, 525, 625, 625, 750, 750, 775}},
        // 242 falls inside the gap after 240 and leaves at its end; so does 732 after 731.
        Case{"EventTimed", true, 0, {113, 240, 245, 500, 521, 610, 620, 731, 736, 752}},
        Case{"EarlyBy50", true, 50, {63, 190, 195, 450, 471, 560, 570, 681, 686, 702}},
        Case{"LateBy20", true, -20, {133, 260, 265, 520, 541, 630, 640, 751, 756, 772}},
        Case{"PeriodicEarlyBy50", false, 50, {75, 200, 200, 450, 475, 575, 575, 700, 700, 725}}),
    [](const auto& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace lumavox
