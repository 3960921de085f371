#include <gtest/gtest.h>

#include "engine/EngineFixture.h"
#include "model/ColourEval.h"
#include "model/StepOps.h"

namespace lumavox {
namespace {

// The engine between ticks: where the next step falls on the clock and the frame at an instant.
class EngineEventTiming : public EngineFixture {
protected:
    void AddStep(int line, int32_t time, int32_t red) {
        Step s;
        s.LineIndex = line;
        s.Time = time;
        s.Colour = MakeColour(red, 0, 0);
        project.Lines[static_cast<size_t>(line)].Add(s);
        Normalise(project);
    }
    // Line 0 holds `from` from 0 and jumps to `to` at `at` (a 1 ms fade from the step before).
    void Jump(int32_t at, int32_t from, int32_t to) {
        AddStep(0, 0, from);
        AddStep(0, at - 1, from);
        AddStep(0, at, to);
    }
    // Red of line 0 in the frame for clock time `at`.
    int RedAt(uint32_t at) {
        DmxFrame f{};
        engine.FrameAt(at, f);
        return f[0];
    }
};

TEST_F(EngineEventTiming, NextStepIsPlacedOnTheClockByTheTicksModelWithTheOffset) {
    Jump(1013, 10, 20);
    AddStep(3, 1007, 30);  // another line's step comes first
    OpenSound(30000);
    StartPlayingAtZero();
    Periods(50);  // position 1000 at this tick's clock
    ASSERT_EQ(state.CursorTime, 1000);
    const uint32_t tickAt = clock.NowMs();

    EXPECT_EQ(engine.NextStepAt(tickAt), tickAt + 7);
    EXPECT_EQ(engine.NextStepAt(tickAt + 7), tickAt + 12);  // a step at the instant is past
    EXPECT_EQ(engine.NextStepAt(tickAt + 12), tickAt + 13);
    EXPECT_EQ(RedAt(tickAt + 12), 10);
    EXPECT_EQ(RedAt(tickAt + 13), 20);

    engine.SetLightOffsetMs(10);  // sent 10 ms early
    EXPECT_EQ(engine.NextStepAt(tickAt + 2), tickAt + 3);
    EXPECT_EQ(RedAt(tickAt + 2), 10);
    EXPECT_EQ(RedAt(tickAt + 3), 20);
    engine.SetLightOffsetMs(-10);  // held back 10 ms
    EXPECT_EQ(engine.NextStepAt(tickAt + 7), tickAt + 17);
    EXPECT_EQ(RedAt(tickAt + 22), 10);
    EXPECT_EQ(RedAt(tickAt + 23), 20);
}

TEST_F(EngineEventTiming, OffsetAppliesToTheTickOnlyWhileTheShowRuns) {
    Jump(1010, 10, 20);
    OpenSound(30000);
    state.CursorTime = 1000;
    engine.SetLightOffsetMs(20);
    Tick();  // stopped: the lights show the cursor's colour
    EXPECT_EQ(frame[0], 10);
    EXPECT_FALSE(engine.NextStepAt(clock.NowMs()).has_value());
    EXPECT_EQ(RedAt(clock.NowMs() + 100), 10);  // nothing advances

    StartPlayingAtZero();
    Periods(50);
    ASSERT_EQ(state.CursorTime, 1000);
    EXPECT_EQ(frame[0], 20);  // 1000 + 20 is past the step
}

TEST_F(EngineEventTiming, TickDoesNotTakeTheLightsBackAcrossAStepAlreadySent) {
    Jump(1010, 10, 20);
    OpenSound(30000);
    StartPlayingAtZero();
    Periods(50);
    const uint32_t tickAt = clock.NowMs();
    EXPECT_EQ(RedAt(tickAt + 10), 20);
    // The device reports a little less than the clock says at the next tick.
    clock.Advance(20);
    device.Advance(9);
    Tick();
    ASSERT_EQ(state.CursorTime, 1009);
    EXPECT_EQ(frame[0], 20);
    // A seek far back is a new start, not held.
    Command([&] { transport.Locate(500); });
    Tick();
    EXPECT_EQ(frame[0], 10);
}

// An unsorted line is walked, a sorted one searched: the earliest later step of all lines.
TEST(NextStepTime, FindsTheEarliestLaterStepOverSortedAndUnsortedLines) {
    ProjectData project;
    for (const auto& [line, time] : {std::pair{0, 100}, {0, 300}, {2, 250}, {2, 120}}) {
        Step s;
        s.LineIndex = line;
        s.Time = time;
        project.Lines[static_cast<size_t>(line)].Add(s);
    }
    EXPECT_EQ(NextStepTime(project, 100), 120);
    EXPECT_EQ(NextStepTime(project, 250), 300);
    EXPECT_FALSE(NextStepTime(project, 300).has_value());
}

}  // namespace
}  // namespace lumavox
