#include "fakes/EngineRig.h"
#include "sound/player/ClockSoundDevice.h"

#include <gtest/gtest.h>

#include <atomic>

#include "PlayerFiles.h"
#include "engine/Engine.h"
#include "fakes/ManualClock.h"
#include "model/ProjectData.h"

namespace lumavox {
namespace {

struct Reading {
    SoundDeviceMode Mode;
    int32_t Position;
};

Reading Read(ClockSoundDevice& device) {
    Reading r{};
    EXPECT_TRUE(device.GetMode(r.Mode).Ok);
    EXPECT_TRUE(device.GetPosition(r.Position).Ok);
    return r;
}

TEST(ClockSoundDevice, PlaysPausesAndStopsOnTheClock) {
    ManualClock clock;
    ClockSoundDevice device(clock);
    SoundDeviceMode mode{};
    EXPECT_FALSE(device.GetMode(mode).Ok);  // nothing open
    device.OpenLength(10000);
    device.Seek(2000);
    device.Play();
    clock.Advance(500);
    EXPECT_EQ(Read(device).Position, 2500);
    device.Pause();
    clock.Advance(1000);
    EXPECT_EQ(Read(device).Mode, SoundDeviceMode::Paused);
    EXPECT_EQ(Read(device).Position, 2500);
    device.Resume();
    clock.Advance(100);
    EXPECT_EQ(Read(device).Position, 2600);
    device.Stop();
    clock.Advance(100);
    EXPECT_EQ(Read(device).Mode, SoundDeviceMode::Stopped);
    EXPECT_EQ(Read(device).Position, 2600);
    device.Play();  // on from where it stopped
    clock.Advance(100);
    EXPECT_EQ(Read(device).Position, 2700);
    device.Seek(20000);  // clamped, and stopped
    EXPECT_EQ(Read(device).Mode, SoundDeviceMode::Stopped);
    EXPECT_EQ(Read(device).Position, 10000);
}

TEST(ClockSoundDevice, NaturalEndStopsAtTheLengthAndStaysEndedUntilTheNextCommand) {
    ManualClock clock;
    ClockSoundDevice device(clock);
    device.OpenLength(1000);
    device.PlayFromStart();
    clock.Advance(999);
    EXPECT_EQ(Read(device).Mode, SoundDeviceMode::Playing);
    EXPECT_FALSE(device.EndedNaturally());
    clock.Advance(1);
    EXPECT_EQ(Read(device).Mode, SoundDeviceMode::Stopped);
    EXPECT_EQ(Read(device).Position, 1000);
    clock.Advance(5000);  // a caller that polls late still sees the end, and when it was
    EXPECT_EQ(device.EndedNaturally(), std::optional<uint32_t>(5000));
    device.Pause();  // does nothing to a stopped device
    device.Resume();
    EXPECT_TRUE(device.EndedNaturally());
    device.Stop();
    EXPECT_FALSE(device.EndedNaturally());
    EXPECT_EQ(Read(device).Position, 1000);

    device.Seek(500);
    device.Play();
    clock.Advance(600);
    EXPECT_TRUE(device.EndedNaturally());
    device.Seek(1000);  // a seek to the length is no natural end
    EXPECT_FALSE(device.EndedNaturally());
    EXPECT_EQ(Read(device).Position, 1000);
}

// The engine on a device that keeps the natural-end contract: every output period the engine may
// run at, up to the slowest (50 ms), sees the end and runs the post-roll.
TEST(ClockSoundDevice, EngineSeesTheNaturalEndAtEveryOutputPeriod) {
    test::TempDir dir;
    const std::string wav = dir.File("show.wav");
    test::WriteToneWav(wav, 88950);  // 2017 ms at 44 100 Hz
    for (uint32_t period : {20u, 25u, 30u, 40u, 50u}) {
        ManualClock clock;
        ClockSoundDevice device(clock);
        test::EngineRig rig(device, clock);
        EngineState& state = rig.state;
        Engine& engine = rig.engine;
        state.PrePlayTime = 1000;
        state.PostPlayTime = 500;
        state.SoundPath.Set(wav);
        state.OpenRequest = true;
        DmxFrame frame{};
        engine.EngineTick(frame);
        ASSERT_EQ(state.SoundLength, 2017);
        ASSERT_TRUE(state.AudioAvailable);

        // Play from the start of the pre-roll, as the play command does.
        state.CursorTime = -1000;
        state.FreeClockBase = -1000;
        state.FreeClockTime = -1000;
        state.FreeClockBaseTick = clock.NowMs();
        state.FreeClockRunning = true;
        state.TransportActive = true;

        bool sawSound = false;
        bool sawPostRoll = false;
        for (int i = 0; i < 5000 / static_cast<int>(period); ++i) {
            clock.Advance(period);
            engine.EngineTick(frame);
            const int32_t t = state.CursorTime;
            if (state.SoundMode.Equals("playing") && t > 0) sawSound = true;
            if (state.FreeClockRunning && t > 2017) sawPostRoll = true;
        }
        EXPECT_TRUE(sawSound) << "period " << period;
        EXPECT_TRUE(sawPostRoll) << "period " << period;
        EXPECT_FALSE(state.FreeClockRunning) << "period " << period;
        EXPECT_GE(state.CursorTime, 2517) << "period " << period;
        EXPECT_LT(state.CursorTime, 2517 + static_cast<int32_t>(period)) << "period " << period;
    }
}

}  // namespace
}  // namespace lumavox
