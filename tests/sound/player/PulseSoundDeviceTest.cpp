#include "fakes/EngineRig.h"
#include "sound/player/PulseSoundDevice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

#include "PlayerFiles.h"
#include "RepeatLoops.h"
#include "engine/Engine.h"
#include "engine/PostRequest.h"
#include "engine/Transport.h"
#include "model/ProjectData.h"

namespace lumavox {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
using testing::HeadlessPulseServer;

HeadlessPulseServer* g_server = nullptr;
bool g_serverUp = false;

// Starts the private sound server before any test and stops it after the last.
class PulseEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        g_server = new HeadlessPulseServer();
        g_serverUp = g_server->Start();
        if (!g_serverUp) std::fprintf(stderr, "no sound server: %s\n", g_server->Error().c_str());
    }
    void TearDown() override {
        delete g_server;
        g_server = nullptr;
    }
};
const auto* const g_environment = ::testing::AddGlobalTestEnvironment(new PulseEnvironment);

#define REQUIRE_SOUND_SERVER()                                                       \
    do {                                                                             \
        if (!g_serverUp) {                                                           \
            if (std::getenv("CI")) FAIL() << "the headless sound server must start"; \
            GTEST_SKIP() << "no headless sound server";                              \
        }                                                                            \
    } while (0)

// For one test: the sink as a user's private server with only a null sink has it, with no stream
// of its own keeping the latency low. Afterwards the keep-alive comes back and its first block
// plays out, as at the server's start.
class NobodyOnTheSink {
public:
    NobodyOnTheSink() { g_server->SetKeepAlive(false); }
    ~NobodyOnTheSink() {
        g_server->SetKeepAlive(true);
        std::this_thread::sleep_for(milliseconds(2200));
    }
};

struct Sample {
    int64_t AtMs;  // since the sampling began
    SoundDeviceMode Mode;
    int32_t PositionMs;
};

// Reads mode and position every period for duration, as an output thread does.
std::vector<Sample> SampleFor(ISoundDevice& device, milliseconds duration,
                              milliseconds period = milliseconds(20)) {
    std::vector<Sample> samples;
    const auto start = Clock::now();
    for (auto next = start; next - start <= duration; next += period) {
        std::this_thread::sleep_until(next);
        Sample s{};
        s.AtMs = std::chrono::duration_cast<milliseconds>(Clock::now() - start).count();
        EXPECT_TRUE(device.GetMode(s.Mode).Ok);
        EXPECT_TRUE(device.GetPosition(s.PositionMs).Ok);
        samples.push_back(s);
    }
    return samples;
}

class PulseSoundDeviceTest : public ::testing::Test {
protected:
    std::string ToneWav(const std::string& name, uint32_t frames) {
        const std::string path = m_dir.File(name);
        test::WriteToneWav(path, frames);
        return path;
    }

    // Plays from the current position and measures the advance over about ten seconds against
    // the monotonic clock, from the first sample at which the sound is audible.
    void ExpectRealSpeed(PulseSoundDevice& device) {
        ASSERT_TRUE(device.Play().Ok);
        const std::vector<Sample> start = SampleFor(device, milliseconds(600));
        const Sample& first = start.back();
        ASSERT_GT(first.PositionMs, 0) << "the sound did not start";
        const auto t0 = Clock::now();
        std::this_thread::sleep_until(t0 + milliseconds(10000));
        int32_t p1 = 0;
        ASSERT_TRUE(device.GetPosition(p1).Ok);
        const auto elapsed = std::chrono::duration_cast<milliseconds>(Clock::now() - t0).count();
        const int64_t advanced = p1 - first.PositionMs;
        EXPECT_NEAR(static_cast<double>(advanced), static_cast<double>(elapsed),
                    static_cast<double>(elapsed) * 0.01)
            << "advanced " << advanced << " ms in " << elapsed << " ms";
    }

    test::TempDir m_dir;
};

TEST_F(PulseSoundDeviceTest, AudioTestFindsTheServerAndFailsQuicklyWithoutOne) {
    REQUIRE_SOUND_SERVER();
    PulseSoundDevice device;
    EXPECT_TRUE(device.AudioTest());

    const std::string server = std::getenv("PULSE_SERVER");
    setenv("PULSE_SERVER", "unix:/nonexistent", 1);
    const auto before = Clock::now();
    const bool found = device.AudioTest();
    const auto took = Clock::now() - before;
    EXPECT_FALSE(device.GetWaveVolume().has_value());
    setenv("PULSE_SERVER", server.c_str(), 1);
    EXPECT_FALSE(found);
    EXPECT_LT(took, milliseconds(1000));
}

TEST_F(PulseSoundDeviceTest, CommandsReportTheirOutcomeAtOnce) {
    REQUIRE_SOUND_SERVER();
    PulseSoundDevice device;
    ASSERT_TRUE(device.Open(ToneWav("a tone with blanks ä.wav", 44100 * 10)).Ok);
    int32_t length = 0;
    ASSERT_TRUE(device.GetLength(length).Ok);
    EXPECT_EQ(length, 10000);

    SoundDeviceMode mode{};
    int32_t position = -1;
    ASSERT_TRUE(device.Seek(5000).Ok);
    ASSERT_TRUE(device.GetMode(mode).Ok);
    ASSERT_TRUE(device.GetPosition(position).Ok);
    EXPECT_EQ(mode, SoundDeviceMode::Stopped);
    EXPECT_EQ(position, 5000);

    ASSERT_TRUE(device.Play().Ok);
    ASSERT_TRUE(device.GetMode(mode).Ok);
    EXPECT_EQ(mode, SoundDeviceMode::Playing);
    const std::vector<Sample> playing = SampleFor(device, milliseconds(1000));
    for (size_t i = 1; i < playing.size(); ++i) {
        EXPECT_GE(playing[i].PositionMs, playing[i - 1].PositionMs);  // never backwards
        EXPECT_GE(playing[i].PositionMs, 5000);
    }
    EXPECT_NEAR(static_cast<double>(playing.back().PositionMs),
                static_cast<double>(5000 + playing.back().AtMs), 200.0);

    ASSERT_TRUE(device.Stop().Ok);
    ASSERT_TRUE(device.GetMode(mode).Ok);
    ASSERT_TRUE(device.GetPosition(position).Ok);
    EXPECT_EQ(mode, SoundDeviceMode::Stopped);
    const int32_t stoppedAt = position;
    EXPECT_GT(stoppedAt, 5500);
    const std::vector<Sample> stopped = SampleFor(device, milliseconds(200));
    EXPECT_EQ(stopped.back().PositionMs, stoppedAt);

    ASSERT_TRUE(device.PlayFromStart().Ok);
    const std::vector<Sample> fromStart = SampleFor(device, milliseconds(500));
    EXPECT_EQ(fromStart.front().PositionMs, 0);
    EXPECT_NEAR(static_cast<double>(fromStart.back().PositionMs),
                static_cast<double>(fromStart.back().AtMs), 200.0);
}

TEST_F(PulseSoundDeviceTest, PauseHoldsThePositionAndResumeGoesOn) {
    REQUIRE_SOUND_SERVER();
    PulseSoundDevice device;
    ASSERT_TRUE(device.Open(ToneWav("pause.wav", 44100 * 10)).Ok);
    ASSERT_TRUE(device.PlayFromStart().Ok);
    SampleFor(device, milliseconds(800));
    ASSERT_TRUE(device.Pause().Ok);
    SoundDeviceMode mode{};
    int32_t held = 0;
    ASSERT_TRUE(device.GetMode(mode).Ok);
    ASSERT_TRUE(device.GetPosition(held).Ok);
    EXPECT_EQ(mode, SoundDeviceMode::Paused);
    EXPECT_GT(held, 500);
    const std::vector<Sample> paused = SampleFor(device, milliseconds(500));
    for (const Sample& s : paused) EXPECT_EQ(s.PositionMs, held);

    ASSERT_TRUE(device.Resume().Ok);
    const std::vector<Sample> resumed = SampleFor(device, milliseconds(600));
    EXPECT_GE(resumed.front().PositionMs, held);
    EXPECT_NEAR(static_cast<double>(resumed.back().PositionMs),
                static_cast<double>(held + resumed.back().AtMs), 200.0);
}

// The end is declared when the last sample has been played, not a grace time later: the mode
// turns "stopped" within one output period of the moment the position reaches the length, and
// stays a natural end for a caller that looks late, until the next command.
TEST_F(PulseSoundDeviceTest, NaturalEndStopsWithinAPeriodOfTheLastSampleAndStaysEnded) {
    REQUIRE_SOUND_SERVER();
    PulseSoundDevice device;
    ASSERT_TRUE(device.Open(ToneWav("end.wav", 44100 * 3 / 2 + 7)).Ok);
    int32_t length = 0;
    ASSERT_TRUE(device.GetLength(length).Ok);
    ASSERT_EQ(length, 1500);
    for (int run = 0; run < 3; ++run) {
        ASSERT_TRUE(device.PlayFromStart().Ok);
        const std::vector<Sample> samples = SampleFor(device, milliseconds(1800), milliseconds(2));
        const Sample* lastShort = nullptr;
        const Sample* stoppedAt = nullptr;
        for (const Sample& s : samples) {
            EXPECT_LE(s.PositionMs, length);
            // a reading clear of the end, where the position still runs at real speed
            if (s.Mode == SoundDeviceMode::Playing && s.PositionMs <= length - 15) lastShort = &s;
            if (s.Mode == SoundDeviceMode::Stopped && !stoppedAt) stoppedAt = &s;
        }
        ASSERT_NE(lastShort, nullptr);
        ASSERT_NE(stoppedAt, nullptr) << "the sound never stopped";
        EXPECT_EQ(stoppedAt->PositionMs, length);
        // when the position, running on from the last reading short of the end, reached it
        const int64_t reachedAt = lastShort->AtMs + (length - lastShort->PositionMs);
        const int64_t delay = stoppedAt->AtMs - reachedAt;
        std::fprintf(stderr, "end to stopped: %lld ms\n", static_cast<long long>(delay));
        EXPECT_GE(delay, -5);
        EXPECT_LE(delay, 20 + 10);  // one output period and a margin

        std::this_thread::sleep_for(milliseconds(200));
        SoundDeviceMode mode{};
        int32_t position = 0;
        ASSERT_TRUE(device.GetMode(mode).Ok);
        ASSERT_TRUE(device.GetPosition(position).Ok);
        EXPECT_EQ(mode, SoundDeviceMode::Stopped);
        EXPECT_EQ(position, length);
        EXPECT_TRUE(device.EndedNaturally());
        ASSERT_TRUE(device.Pause().Ok);  // nothing to pause: the end stands
        EXPECT_TRUE(device.EndedNaturally());
    }
    ASSERT_TRUE(device.Seek(length).Ok);
    EXPECT_FALSE(device.EndedNaturally());
}

TEST_F(PulseSoundDeviceTest, WavAdvancesAtRealSpeed) {
    REQUIRE_SOUND_SERVER();
    PulseSoundDevice device;
    ASSERT_TRUE(device.Open(ToneWav("speed.wav", 44100 * 13)).Ok);
    ExpectRealSpeed(device);
}

TEST_F(PulseSoundDeviceTest, Mp3OpensWithItsExactLengthAndAdvancesAtRealSpeed) {
    REQUIRE_SOUND_SERVER();
    const std::string wav = ToneWav("speed.wav", 44100 * 13 + 441);
    const std::string mp3 = m_dir.File("スピード test.mp3");
    ASSERT_TRUE(test::EncodeMp3(wav, mp3)) << "lame is needed for the MP3 fixture";
    PulseSoundDevice device;
    ASSERT_TRUE(device.Open(mp3).Ok);
    int32_t length = 0;
    ASSERT_TRUE(device.GetLength(length).Ok);
    EXPECT_EQ(length, 13010);
    ASSERT_TRUE(device.Seek(1000).Ok);
    ExpectRealSpeed(device);
}

TEST_F(PulseSoundDeviceTest, VolumeIsKeptAsBothChannels) {
    REQUIRE_SOUND_SERVER();
    PulseSoundDevice device;
    device.SetWaveVolume(1234);
    EXPECT_EQ(device.GetWaveVolume(), std::optional<uint16_t>(1234));
}

TEST_F(PulseSoundDeviceTest, OpenFailureCarriesAText) {
    REQUIRE_SOUND_SERVER();
    PulseSoundDevice device;
    const SoundResult result = device.Open(m_dir.File("missing.wav"));
    EXPECT_FALSE(result.Ok);
    EXPECT_FALSE(result.Error.empty());
    SoundDeviceMode mode{};
    EXPECT_FALSE(device.GetMode(mode).Ok);
}

// The whole engine on the real device: pre-roll on the free clock, the sound from 0, its natural
// end and the post-roll, with an output thread ticking every 20 ms.
TEST_F(PulseSoundDeviceTest, EngineFollowsARealSoundThroughPreRollAndPostRoll) {
    REQUIRE_SOUND_SERVER();
    PulseSoundDevice device;
    SteadyClock clock;
    test::EngineRig rig(device, clock);
    EngineState& state = rig.state;
    Engine& engine = rig.engine;
    Transport transport(state, clock, rig.repeat);
    state.PrePlayTime = 500;
    state.PostPlayTime = 400;

    struct Seen {
        int64_t AtMs;
        int32_t Cursor;
        bool FreeClock;
        bool Playing;
    };
    std::vector<Seen> seen;
    seen.reserve(1000);
    std::atomic<bool> stop{false};
    const auto start = Clock::now();
    std::thread outputThread([&] {
        DmxFrame frame{};
        for (auto next = Clock::now(); !stop.load(); next += milliseconds(20)) {
            std::this_thread::sleep_until(next);
            engine.EngineTick(frame);
            seen.push_back({std::chrono::duration_cast<milliseconds>(Clock::now() - start).count(),
                            state.CursorTime.load(), state.FreeClockRunning.load(),
                            state.SoundMode.Equals("playing")});
        }
    });

    state.SoundPath.Set(ToneWav("show.wav", 44100 * 2));
    PostRequest(state, state.OpenRequest, milliseconds(5000));
    ASSERT_FALSE(state.OpenRequest);
    ASSERT_TRUE(state.AudioAvailable);
    ASSERT_EQ(state.SoundLength, 2000);
    const auto played = Clock::now();
    transport.PlayFromStart();
    std::this_thread::sleep_until(played + milliseconds(4000));
    stop = true;
    outputThread.join();
    const int64_t playedAt = std::chrono::duration_cast<milliseconds>(played - start).count();

    // Pre-roll from -500, the sound from 0 to 2000, the post-roll to 2400 and no further.
    // The post-roll takes over within one output period of the sound's end: its positions keep
    // the sound's lag behind the wall clock, plus at most a period.
    std::vector<double> soundLag;
    std::vector<double> postRollLag;
    bool sawPreRoll = false;
    bool sawSound = false;
    bool sawPostRoll = false;
    int32_t last = INT32_MIN;
    for (const Seen& s : seen) {
        // from the first tick after the play command's stop wait (late on a loaded machine)
        if (s.AtMs < playedAt + 20 || (!sawPreRoll && s.Cursor >= 0)) continue;
        EXPECT_GE(s.Cursor, last) << "at " << s.AtMs;
        last = s.Cursor;
        if (s.Cursor < 0) sawPreRoll = true;
        if (s.Playing && s.Cursor > 0 && s.Cursor < 2000) {
            sawSound = true;
            // the sound position runs with the wall clock, behind it by the output latency
            const double expected = static_cast<double>(s.AtMs - playedAt - 500);
            EXPECT_NEAR(s.Cursor, expected, 250.0) << "at " << s.AtMs;
            soundLag.push_back(expected - s.Cursor);
        }
        if (s.FreeClock && s.Cursor > 2000) {
            sawPostRoll = true;
            postRollLag.push_back(static_cast<double>(s.AtMs - playedAt - 500) - s.Cursor);
        }
    }
    ASSERT_FALSE(soundLag.empty());
    ASSERT_FALSE(postRollLag.empty());
    std::sort(soundLag.begin(), soundLag.end());
    std::sort(postRollLag.begin(), postRollLag.end());
    const double handOver = postRollLag[postRollLag.size() / 2] - soundLag[soundLag.size() / 2];
    std::fprintf(stderr, "post-roll starts %.1f ms after the sound's end\n", handOver);
    EXPECT_GE(handOver, -5.0);
    EXPECT_LE(handOver, 20.0 + 10.0);
    if (::testing::Test::HasFailure()) {
        for (const Seen& s : seen) {
            std::fprintf(stderr, "%lld %d %d %d\n", static_cast<long long>(s.AtMs - playedAt),
                         s.Cursor, s.FreeClock, s.Playing);
        }
    }
    EXPECT_TRUE(sawPreRoll);
    EXPECT_TRUE(sawSound);
    EXPECT_TRUE(sawPostRoll);
    // The free clock stops at the first tick at or past the end and stays there.
    EXPECT_GE(seen.back().Cursor, 2400);
    EXPECT_LE(seen.back().Cursor, 2400 + 60);
    EXPECT_FALSE(seen.back().FreeClock);
}

// A restart at the natural end, in the same poll that sees it, is heard at once even on a sink
// that rendered ahead while it was idle: the position runs again within a few output periods.
TEST_F(PulseSoundDeviceTest, RestartAtTheEndRunsAtOnceOnASinkNobodyRecords) {
    REQUIRE_SOUND_SERVER();
    NobodyOnTheSink idleSink;
    PulseSoundDevice device;
    ASSERT_TRUE(device.Open(ToneWav("loop.wav", 44100)).Ok);
    ASSERT_TRUE(device.PlayFromStart().Ok);
    for (int loop = 0; loop < 4; ++loop) {
        SoundDeviceMode mode = SoundDeviceMode::Playing;
        const auto bound = Clock::now() + milliseconds(4000);  // the first start may wait 2 s
        while (mode == SoundDeviceMode::Playing && Clock::now() < bound) {
            std::this_thread::sleep_for(milliseconds(2));
            ASSERT_TRUE(device.GetMode(mode).Ok);
        }
        ASSERT_EQ(mode, SoundDeviceMode::Stopped) << "loop " << loop << " never ended";
        ASSERT_TRUE(device.EndedNaturally());
        ASSERT_TRUE(device.PlayFromStart().Ok);
        const auto restarted = Clock::now();
        int32_t position = 0;
        while (position == 0 && Clock::now() - restarted < milliseconds(3000)) {
            std::this_thread::sleep_for(milliseconds(2));
            ASSERT_TRUE(device.GetPosition(position).Ok);
        }
        const auto after =
            std::chrono::duration_cast<milliseconds>(Clock::now() - restarted).count();
        std::fprintf(stderr, "loop %d: the position runs again %lld ms after the restart\n", loop,
                     static_cast<long long>(after));
        EXPECT_LE(after, 3 * 20 + 10) << "loop " << loop;
    }
}

// Repeat play through the engine on that sink: at every wrap the show time runs again within
// three output periods, and the loop loses no more than the restart's own few periods.
TEST_F(PulseSoundDeviceTest, EngineRepeatRestartsTheSoundAtOnceOnASinkNobodyRecords) {
    REQUIRE_SOUND_SERVER();
    NobodyOnTheSink idleSink;
    PulseSoundDevice device;
    const test::RepeatRun run =
        test::RunRepeatLoops(device, ToneWav("repeat.wav", 44100 * 3 / 2), 4);
    ASSERT_TRUE(run.Opened);
    ASSERT_GE(run.Loops.size(), 4u);
    for (const test::LoopFigures& loop : run.Loops) {
        std::fprintf(stderr, "wrap at %.0f ms: runs again after %.1f ms, gap %.1f ms\n",
                     loop.WrapAtMs, loop.AdvancesAfterMs, loop.GapMs);
        EXPECT_LE(loop.AdvancesAfterMs, 3 * 20.0 + 10.0) << "wrap at " << loop.WrapAtMs;
        EXPECT_LE(loop.GapMs, 3 * 20.0 + 20.0) << "wrap at " << loop.WrapAtMs;
    }
}

}  // namespace
}  // namespace lumavox
