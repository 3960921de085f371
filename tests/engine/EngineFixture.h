#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "engine/Engine.h"
#include "engine/Transport.h"
#include "fakes/ManualClock.h"
#include "fakes/ScriptedSoundDevice.h"
#include "model/ProjectData.h"

namespace lumavox {

// One engine with a scripted device and a manual clock. The test thread plays the output thread
// (Tick) and, through Command(), the UI thread.
class EngineFixture : public ::testing::Test {
protected:
    static constexpr int32_t kPeriod = 20;
    static constexpr const char* kSoundPath = "/music/a song é.wav";

    EngineFixture() {
        state.PrePlayTime = 10000;
        state.PostPlayTime = 10000;
        patch.SetThrough();
    }

    void Tick() { engine.EngineTick(frame); }

    // One output period: time passes on the clock and in a playing sound, then the tick runs.
    void Period(int32_t ms = kPeriod) {
        clock.Advance(static_cast<uint32_t>(ms));
        device.Advance(ms);
        Tick();
    }
    void Periods(int count) {
        for (int i = 0; i < count; ++i) Period();
    }

    // Runs a transport command on a second thread (the UI) while this thread keeps ticking, so
    // the command's waits are answered as in the program. Time does not move meanwhile.
    template <class Fn>
    void Command(Fn&& fn) {
        std::atomic<bool> done{false};
        std::thread ui([&] {
            fn();
            done.store(true);
        });
        while (!done.load()) {
            Tick();
            std::this_thread::yield();
        }
        ui.join();
    }

    void OpenSound(int32_t lengthMs) {
        device.AddFile(kSoundPath, lengthMs);
        state.SoundPath.Set(kSoundPath);
        state.OpenRequest = true;
        Tick();
        state.SoundLoaded = true;
        state.CursorTime = -state.PrePlayTime.load();
    }

    // Starts the open sound from 0 without pre-roll; the device plays from the next period on.
    void StartPlayingAtZero() {
        state.PrePlayTime = 0;
        transport.PlayFromStart();
        Tick();
    }

    EngineState state;
    ProjectData project;
    PatchTable patch;
    LineOutput output;
    ScriptedSoundDevice device;
    ManualClock clock{1000};
    std::atomic<bool> repeat{false};
    std::atomic<int32_t> patchCheck{-1};
    std::vector<std::pair<std::string, std::string>> warnings;
    Engine engine{EngineContext{state, project, patch, output, device, clock, repeat, patchCheck,
                                [this](std::string_view message, std::string_view caption) {
                                    warnings.emplace_back(message, caption);
                                }}};
    Transport transport{state, clock, repeat};
    DmxFrame frame{};
};

}  // namespace lumavox
