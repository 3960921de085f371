#pragma once

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "engine/Engine.h"
#include "engine/PostRequest.h"
#include "engine/Transport.h"
#include "fakes/EngineRig.h"
#include "model/ProjectData.h"
#include "platform/Clock.h"
#include "sound/player/SoundDevice.h"

namespace lumavox::test {

// One wrap of repeat play, as the output thread saw it.
struct LoopFigures {
    double WrapAtMs = 0;  // the tick that went back to the sound start
    // From that tick to the first tick whose position is past the wrap's: how long the lights
    // stood at the sound start.
    double AdvancesAfterMs = 0;
    // The wall-clock time lost across the wrap: the moment position 0 of the new loop was played
    // (the first advancing tick less its position) minus the moment the old loop reached the end
    // (the last tick before the wrap plus what was left of the sound). 0 for a seamless loop.
    double GapMs = 0;
};

struct RepeatRun {
    bool Opened = false;
    std::vector<LoopFigures> Loops;
    struct Tick {
        double AtMs;
        int32_t Cursor;
    };
    std::vector<Tick> Ticks;
};

// Plays the sound with repeat on through the whole engine on device, an output thread ticking
// every period, until `loops` wraps have been seen (or a bound of twice the time they take), and
// measures each wrap.
inline RepeatRun RunRepeatLoops(ISoundDevice& device, const std::string& wav, int loops,
                                std::chrono::milliseconds period = std::chrono::milliseconds(20)) {
    using Clock = std::chrono::steady_clock;
    using std::chrono::milliseconds;
    SteadyClock clock;
    EngineRig rig(device, clock, true);
    EngineState& state = rig.state;
    Engine& engine = rig.engine;
    Transport transport(state, clock, rig.repeat);
    state.PrePlayTime = 0;
    state.PostPlayTime = 0;

    RepeatRun run;
    run.Ticks.reserve(4096);
    std::atomic<bool> stop{false};
    const auto start = Clock::now();
    std::thread outputThread([&] {
        DmxFrame frame{};
        for (auto next = Clock::now(); !stop.load(); next += period) {
            std::this_thread::sleep_until(next);
            engine.EngineTick(frame);
            run.Ticks.push_back(
                {std::chrono::duration<double, std::milli>(Clock::now() - start).count(),
                 state.CursorTime.load()});
        }
    });

    state.SoundPath.Set(wav);
    PostRequest(state, state.OpenRequest, milliseconds(5000));
    const int32_t length = state.SoundLength.load();
    run.Opened = !state.OpenRequest.load() && state.AudioAvailable.load() && length > 0;
    if (run.Opened) {
        transport.PlayFromStart();
        // The first start may wait for a sink that rendered ahead while it was idle: allow 2 s.
        const auto bound = Clock::now() + milliseconds(2 * (loops + 1) * length + 2000);
        // The tick raises RepeatRestarted at each wrap; taken here as the display timer does.
        int wraps = 0;
        while (wraps < loops && Clock::now() < bound) {
            std::this_thread::sleep_for(period);
            if (state.RepeatRestarted.exchange(false)) ++wraps;
        }
        // one more loop's worth of ticks, so the last wrap's restart is seen
        std::this_thread::sleep_for(milliseconds(length / 2));
    }
    stop = true;
    outputThread.join();
    if (!run.Opened) return run;

    const std::vector<RepeatRun::Tick>& t = run.Ticks;
    for (size_t w = 1; w < t.size(); ++w) {
        if (t[w].Cursor >= t[w - 1].Cursor) continue;  // only a wrap goes back
        size_t k = w + 1;
        while (k < t.size() && t[k].Cursor <= t[w].Cursor) ++k;
        if (k == t.size()) break;
        LoopFigures f;
        f.WrapAtMs = t[w].AtMs;
        f.AdvancesAfterMs = t[k].AtMs - t[w].AtMs;
        const double endReached = t[w - 1].AtMs + (length - t[w - 1].Cursor);
        f.GapMs = (t[k].AtMs - t[k].Cursor) - endReached;
        run.Loops.push_back(f);
    }
    return run;
}

}  // namespace lumavox::test
