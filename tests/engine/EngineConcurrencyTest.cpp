#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "engine/Engine.h"
#include "engine/PlayDisplay.h"
#include "engine/PostRequest.h"
#include "engine/Transport.h"
#include "fakes/ManualClock.h"
#include "fakes/ScriptedSoundDevice.h"
#include "model/ProjectData.h"
#include "model/StepOps.h"

namespace lumavox {
namespace {

// The output thread ticks without pause while the UI thread runs every transport command, edits
// the lines and reads what the display shows. Under ThreadSanitizer this proves the engine's
// sharing; everywhere it checks that the commands' waits are answered and that a final Stop
// leaves the engine stopped.
TEST(EngineConcurrency, TransportAndEditingWhileTheOutputThreadTicks) {
    EngineState state;
    ProjectData project;
    PatchTable patch;
    patch.SetThrough();
    LineOutput output;
    ScriptedSoundDevice device;
    device.AddFile("/music/show.wav", 5000);
    ManualClock clock;
    std::atomic<bool> repeat{false};
    std::atomic<int32_t> patchCheck{-1};
    std::atomic<int> warnings{0};
    Engine engine(
        EngineContext{state, project, patch, output, device, clock, repeat, patchCheck,
                      [&](std::string_view, std::string_view) { warnings.fetch_add(1); }});
    Transport transport(state, clock, repeat, std::chrono::seconds(10));
    state.PrePlayTime = 300;
    state.PostPlayTime = 300;

    std::atomic<bool> stop{false};
    std::atomic<long> ticks{0};
    std::thread outputThread([&] {
        DmxFrame frame{};
        while (!stop.load()) {
            clock.Advance(5);
            device.Advance(5);
            engine.EngineTick(frame);
            // Event-timed output between ticks reads the lines the UI is editing.
            engine.SetLightOffsetMs(static_cast<int32_t>(ticks.load() % 3) * 40 - 40);
            if (const auto next = engine.NextStepAt(clock.NowMs())) engine.FrameAt(*next, frame);
            ticks.fetch_add(1);
        }
    });
    auto waitForTicks = [&](long count) {
        const long target = ticks.load() + count;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (ticks.load() < target && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::yield();
        }
        return ticks.load() >= target;
    };

    state.SoundPath.Set("/music/show.wav");
    PostRequest(state, state.OpenRequest, std::chrono::seconds(10));
    ASSERT_FALSE(state.OpenRequest);
    state.SoundLoaded = true;

    std::string shown;
    for (int round = 0; round < 60; ++round) {
        TStepList& line = project.Lines[static_cast<size_t>(round % kLineCount)];
        std::vector<Step> steps(50);
        for (int i = 0; i < 50; ++i) {
            steps[static_cast<size_t>(i)].LineIndex = round % kLineCount;
            steps[static_cast<size_t>(i)].Time = i * 100;
            steps[static_cast<size_t>(i)].Length = 100;
            steps[static_cast<size_t>(i)].Colour = MakeColour(i, round, 7);
        }
        line.Assign(steps);
        switch (round % 6) {
            case 0:
                transport.PlayFromStart();
                break;
            case 1:
                transport.Locate(round * 97 % 6000 - 500);
                break;
            case 2:
                transport.PauseResume();
                break;
            case 3:
                transport.Play();
                break;
            case 4:
                transport.Stop();
                transport.ToSoundStart();
                break;
            case 5:
                repeat = !repeat.load();
                transport.Locate(4990);
                break;
        }
        line.Edit([](TStepList::Items& items) {
            for (auto& s : items) s->Brightness = -100;
        });
        // The editing commands the UI runs meanwhile, on the current line.
        project.CurrentLine = round % kLineCount;
        const TimeLimits limits{state.PrePlayTime, state.PostPlayTime, state.SoundLength};
        AddStep(project, MakeColour(round, 1, 2), 50, round * 37 % 5000, 0, true);
        SelectRange(project, 2, 12);
        MoveSelected(project, round % 2 == 0 ? 250 : -250, false, limits);
        ScaleBrightness(project, 0.5);
        CopyLine(project, round % 3 == 0);
        PasteLine(project, round * 11 % 4000);
        if (round % 4 == 0) DeleteSelectedInLine(project);
        if (round % 5 == 0) Undo(project);
        state.PreviewColour = round % 3 == 0 ? NoColour : MakeColour(round, 0, 0);
        shown = FormatTimeLabel(state.CursorTime, state.SoundLength).Text;
        shown += state.SoundMode.Get();
        (void)output.Get(round % kLineCount);
        (void)transport.CanPlay(true);
        ASSERT_TRUE(waitForTicks(3));
    }

    transport.Stop();
    ASSERT_TRUE(waitForTicks(5));
    EXPECT_FALSE(state.FreeClockRunning);
    EXPECT_FALSE(state.TransportActive);
    EXPECT_EQ(device.Mode(), SoundDeviceMode::Stopped);
    const int32_t stoppedAt = state.CursorTime;
    ASSERT_TRUE(waitForTicks(5));
    EXPECT_EQ(state.CursorTime, stoppedAt);

    state.CloseRequest = true;
    ASSERT_TRUE(waitForTicks(2));
    EXPECT_FALSE(state.SoundOpen);
    stop = true;
    outputThread.join();
    EXPECT_EQ(warnings.load(), 0);
    EXPECT_FALSE(shown.empty());
}

// The sound runs to its end while the UI presses Stop at every moment around it: whether the
// end or the stop comes first, once Stop has returned no post-roll runs on.
TEST(EngineConcurrency, StopAroundTheNaturalEndNeverLeavesAPostRollRunning) {
    EngineState state;
    ProjectData project;
    PatchTable patch;
    LineOutput output;
    ScriptedSoundDevice device;
    device.AddFile("/music/show.wav", 5000);
    ManualClock clock;
    std::atomic<bool> repeat{false};
    std::atomic<int32_t> patchCheck{-1};
    Engine engine(
        EngineContext{state, project, patch, output, device, clock, repeat, patchCheck, {}});
    Transport transport(state, clock, repeat, std::chrono::seconds(10));
    state.PostPlayTime = 100000;  // still running whenever the UI looks

    std::atomic<bool> stop{false};
    std::atomic<long> ticks{0};
    std::thread outputThread([&] {
        DmxFrame frame{};
        while (!stop.load()) {
            clock.Advance(5);
            device.Advance(5);
            if (device.Mode() == SoundDeviceMode::Playing && device.Position() == 5000) {
                device.FinishNaturalEnd();
            }
            engine.EngineTick(frame);
            // Event-timed output between ticks reads the lines the UI is editing.
            engine.SetLightOffsetMs(static_cast<int32_t>(ticks.load() % 3) * 40 - 40);
            if (const auto next = engine.NextStepAt(clock.NowMs())) engine.FrameAt(*next, frame);
            ticks.fetch_add(1);
        }
    });
    auto waitForTicks = [&](long count) {
        const long target = ticks.load() + count;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (ticks.load() < target && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::yield();
        }
        return ticks.load() >= target;
    };

    state.SoundPath.Set("/music/show.wav");
    PostRequest(state, state.OpenRequest, std::chrono::seconds(10));
    state.SoundLoaded = true;
    int postRolls = 0;
    for (int round = 0; round < 60; ++round) {
        transport.Locate(4950);
        ASSERT_TRUE(waitForTicks(1));
        transport.Play();
        ASSERT_TRUE(waitForTicks(round % 20));  // the end comes after about 10 ticks
        if (state.FreeClockRunning.load()) ++postRolls;
        transport.Stop();
        ASSERT_TRUE(waitForTicks(3));
        EXPECT_FALSE(state.FreeClockRunning) << "round " << round;
        EXPECT_EQ(device.Mode(), SoundDeviceMode::Stopped) << "round " << round;
    }
    stop = true;
    outputThread.join();
    EXPECT_GT(postRolls, 0);
}

}  // namespace
}  // namespace lumavox
