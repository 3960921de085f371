#include "fakes/EngineRig.h"
#include "sound/player/FallbackSoundDevice.h"

#include <gtest/gtest.h>

#include <atomic>

#include "PlayerFiles.h"
#include "engine/Engine.h"
#include "engine/Transport.h"
#include "fakes/ManualClock.h"
#include "fakes/ScriptedSoundDevice.h"
#include "fakes/TempDir.h"
#include "model/ProjectData.h"

namespace lumavox {
namespace {

class FallbackSoundDeviceTest : public ::testing::Test {
protected:
    FallbackSoundDeviceTest() {
        auto server = std::make_unique<ScriptedSoundDevice>();
        m_server = server.get();
        m_wav = m_dir.File("a tone.wav");
        test::WriteToneWav(m_wav, 44100 * 3);  // 3000 ms
        m_server->AddFile(m_wav, 3000);
        m_device = std::make_unique<FallbackSoundDevice>(std::move(server), m_clock);
    }

    test::TempDir m_dir;
    std::string m_wav;
    ManualClock m_clock;
    ScriptedSoundDevice* m_server = nullptr;
    std::unique_ptr<FallbackSoundDevice> m_device;
};

// Without a server the clock plays: the sound opens for its length, seeks, plays on the clock and
// ends; the server device is never opened. A server that comes up later plays from the next open
// on, and the one that played is closed.
TEST_F(FallbackSoundDeviceTest, PlaysOnTheClockWithoutAServerAndOnTheServerOnceItAnswers) {
    m_server->SetAudioPresent(false);
    EXPECT_TRUE(m_device->AudioTest());
    ASSERT_TRUE(m_device->Open(m_wav).Ok);
    EXPECT_TRUE(m_device->Silent());
    EXPECT_FALSE(m_server->IsOpen());
    int32_t length = 0;
    ASSERT_TRUE(m_device->GetLength(length).Ok);
    EXPECT_EQ(length, 3000);
    ASSERT_TRUE(m_device->Seek(1000).Ok);
    ASSERT_TRUE(m_device->Play().Ok);
    m_clock.Advance(500);
    int32_t position = 0;
    ASSERT_TRUE(m_device->GetPosition(position).Ok);
    EXPECT_EQ(position, 1500);
    m_clock.Advance(2000);
    SoundDeviceMode mode{};
    ASSERT_TRUE(m_device->GetMode(mode).Ok);
    EXPECT_EQ(mode, SoundDeviceMode::Stopped);
    EXPECT_TRUE(m_device->EndedNaturally());
    for (const std::string& call : m_server->Commands())
        EXPECT_EQ(call.rfind("open", 0), std::string::npos);

    m_server->SetAudioPresent(true);
    ASSERT_TRUE(m_device->Open(m_wav).Ok);
    EXPECT_FALSE(m_device->Silent());
    EXPECT_TRUE(m_server->IsOpen());
    ASSERT_TRUE(m_device->Seek(700).Ok);
    EXPECT_EQ(m_server->Position(), 700);

    // and back: the server goes away, the clock takes over and the server's sound is closed
    m_server->SetAudioPresent(false);
    ASSERT_TRUE(m_device->Open(m_wav).Ok);
    EXPECT_TRUE(m_device->Silent());
    EXPECT_FALSE(m_server->IsOpen());
}

TEST_F(FallbackSoundDeviceTest, TheVolumeIsTheOneThatPlaysAndSurvivesTheSwitch) {
    m_server->SetAudioPresent(false);
    EXPECT_FALSE(m_device->GetWaveVolume().has_value());  // nothing opened: the server's answer
    m_device->SetWaveVolume(0x4040);
    ASSERT_TRUE(m_device->Open(m_wav).Ok);
    EXPECT_EQ(m_device->GetWaveVolume(), std::optional<uint16_t>(0x4040));
    m_server->SetAudioPresent(true);
    ASSERT_TRUE(m_device->Open(m_wav).Ok);
    EXPECT_EQ(m_device->GetWaveVolume(), std::optional<uint16_t>(0x4040));
}

// The engine on it without a server: the sound counts as available, so a click in the sound
// (a locate) places the cursor there instead of at 0, and play runs the show on the clock.
TEST_F(FallbackSoundDeviceTest, TheEngineLocatesAndPlaysWithoutAServer) {
    m_server->SetAudioPresent(false);
    int warnings = 0;
    test::EngineRig rig(*m_device, m_clock, false,
                        [&](std::string_view, std::string_view) { ++warnings; });
    EngineState& state = rig.state;
    Engine& engine = rig.engine;
    Transport transport(state, m_clock, rig.repeat);
    DmxFrame frame{};
    state.SoundPath.Set(m_wav);
    state.OpenRequest = true;
    engine.EngineTick(frame);
    EXPECT_TRUE(state.AudioAvailable);
    EXPECT_EQ(state.SoundLength, 3000);
    EXPECT_EQ(warnings, 0);  // the editor says it once, in its own words
    state.SoundLoaded = true;

    transport.Locate(1200);  // not playing: sets the seek request without waiting
    engine.EngineTick(frame);
    engine.EngineTick(frame);
    EXPECT_EQ(state.CursorTime, 1200);

    state.PlayRequest = true;
    engine.EngineTick(frame);
    m_clock.Advance(300);
    engine.EngineTick(frame);
    EXPECT_EQ(state.CursorTime, 1500);
    EXPECT_EQ(state.SoundMode.Get(), "playing");
}

}  // namespace
}  // namespace lumavox
