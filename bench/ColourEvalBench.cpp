// Colour evaluation: one pane repaint (one call per pixel column) and one tick's worth (8 lines).
#include <benchmark/benchmark.h>

#include <random>

#include "model/ColourEval.h"
#include "model/ProjectData.h"

namespace lumavox {
namespace {

constexpr int32_t kStepSpacingMs = 250;

void FillLine(TStepList& line, int line_index, int count) {
    std::mt19937 rng(static_cast<unsigned>(count + line_index));
    std::vector<Step> steps(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        Step& s = steps[static_cast<size_t>(i)];
        s.LineIndex = line_index;
        s.Time = i * kStepSpacingMs;
        s.Length = i + 1 < count ? kStepSpacingMs : 0;
        s.Colour = static_cast<int32_t>(rng() & 0xFFFFFF);
        s.Brightness = static_cast<int32_t>(rng() % 511) - 255;
    }
    line.Assign(std::move(steps));
}

// A 2000-column pane showing the whole line: one evaluation per column.
void BM_PaneOf2000Columns(benchmark::State& state) {
    ProjectData project;
    const int count = static_cast<int>(state.range(0));
    FillLine(project.Lines[0], 0, count);
    const int64_t span = static_cast<int64_t>(count) * kStepSpacingMs;
    for (auto _ : state) {
        int32_t sum = 0;
        for (int x = 0; x < 2000; ++x) {
            const auto t = static_cast<int32_t>(span * x / 2000);
            sum += LineOutputColourAt(project, 0, t);
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_PaneOf2000Columns)->Arg(100)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// What one engine tick evaluates: all eight lines at one time, lines of 10 000 steps.
void BM_TickEightLines(benchmark::State& state) {
    ProjectData project;
    const int count = static_cast<int>(state.range(0));
    for (int j = 0; j < kLineCount; ++j) FillLine(project.Lines[static_cast<size_t>(j)], j, count);
    int32_t t = 0;
    const int32_t end = count * kStepSpacingMs;
    for (auto _ : state) {
        int32_t sum = 0;
        for (int j = 0; j < kLineCount; ++j) sum += LineOutputColourAt(project, j, t);
        benchmark::DoNotOptimize(sum);
        t = (t + 20) % end;
    }
}
BENCHMARK(BM_TickEightLines)->Arg(10000)->Unit(benchmark::kNanosecond);

}  // namespace
}  // namespace lumavox
