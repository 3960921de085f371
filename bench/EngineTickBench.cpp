// One engine tick with 8 lines x 10 000 steps while the real sound device plays on a private
// headless PulseAudio server; reports the median and the 99th percentile per tick.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "engine/Engine.h"
#include "fakes/HeadlessPulseServer.h"
#include "fakes/ScriptedSoundDevice.h"
#include "model/ProjectData.h"
#include "sound/WavFixture.h"
#include "sound/player/PulseSoundDevice.h"

namespace lumavox {
namespace {

void FillLines(ProjectData& project) {
    for (int line = 0; line < kLineCount; ++line) {
        std::vector<Step> steps(10000);
        for (int i = 0; i < 10000; ++i) {
            Step& s = steps[static_cast<size_t>(i)];
            s.LineIndex = line;
            s.Time = i * 60;  // ten minutes of steps
            s.Length = 60;
            s.Colour = MakeColour(i & 0xFF, (i * 7) & 0xFF, line * 30);
            s.Brightness = (i % 11) * 20 - 100;
        }
        project.Lines[static_cast<size_t>(line)].Assign(std::move(steps));
    }
}

void ReportPercentiles(benchmark::State& state, std::vector<double>& micros) {
    if (micros.empty()) return;
    std::sort(micros.begin(), micros.end());
    state.counters["median_us"] = micros[micros.size() / 2];
    state.counters["p99_us"] = micros[micros.size() * 99 / 100];
    state.counters["max_us"] = micros.back();
}

void RunTicks(benchmark::State& state, Engine& engine) {
    DmxFrame frame{};
    std::vector<double> micros;
    micros.reserve(1 << 20);
    for (auto _ : state) {
        const auto before = std::chrono::steady_clock::now();
        engine.EngineTick(frame);
        const auto after = std::chrono::steady_clock::now();
        micros.push_back(std::chrono::duration<double, std::micro>(after - before).count());
        benchmark::DoNotOptimize(frame);
    }
    ReportPercentiles(state, micros);
}

void BM_EngineTickRealDevicePlaying(benchmark::State& state) {
    testing::HeadlessPulseServer server;
    if (!server.Start()) {
        state.SkipWithError(("no sound server: " + server.Error()).c_str());
        return;
    }
    const std::string wav = server.Folder() + "bench tone.wav";
    {
        std::vector<int16_t> samples(static_cast<size_t>(44100) * 2 * 120);  // two minutes
        test::WriteFile(wav, test::WavBytes(test::WavRecipe{}, test::Pcm16(samples)));
    }
    EngineState engineState;
    ProjectData project;
    FillLines(project);
    PatchTable patch;
    patch.SetThrough();
    LineOutput output;
    PulseSoundDevice device;
    SteadyClock clock;
    std::atomic<bool> repeat{false};
    std::atomic<int32_t> patchCheck{-1};
    Engine engine(
        EngineContext{engineState, project, patch, output, device, clock, repeat, patchCheck, {}});
    DmxFrame frame{};
    engineState.SoundPath.Set(wav);
    engineState.OpenRequest = true;
    engine.EngineTick(frame);
    engineState.CursorTime = 0;
    engineState.PlayFromStartRequest = true;
    engine.EngineTick(frame);
    engine.EngineTick(frame);  // reads the mode the play command set
    if (!engineState.AudioAvailable || !engineState.SoundMode.Equals("playing")) {
        state.SkipWithError("the sound does not play");
        return;
    }
    RunTicks(state, engine);
    device.Stop();
}
BENCHMARK(BM_EngineTickRealDevicePlaying)->Iterations(200000)->Unit(benchmark::kMicrosecond);

// The same tick on a machine without sound, the free clock running in the middle of the show:
// the colour and frame work alone.
void BM_EngineTickFreeClockWithoutAudio(benchmark::State& state) {
    EngineState engineState;
    ProjectData project;
    FillLines(project);
    PatchTable patch;
    patch.SetThrough();
    LineOutput output;
    ScriptedSoundDevice device;
    device.SetAudioPresent(false);
    SteadyClock clock;
    std::atomic<bool> repeat{false};
    std::atomic<int32_t> patchCheck{-1};
    Engine engine(
        EngineContext{engineState, project, patch, output, device, clock, repeat, patchCheck, {}});
    engineState.CursorTime = 300001;  // past the sound, so the free clock drives it
    engineState.SoundLength = 300000;
    engineState.PostPlayTime = 300000;
    engineState.FreeClockBase = 300001;
    engineState.FreeClockBaseTick = clock.NowMs();
    engineState.FreeClockRunning = true;
    RunTicks(state, engine);
}
BENCHMARK(BM_EngineTickFreeClockWithoutAudio)->Iterations(200000)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace lumavox
