// How long the output thread's colour evaluation waits for the step-list lock while the UI thread
// edits a 100 000-step project: sorting a line, rewriting a field of every step, replacing a line.
// Reports the longest and the mean wait of a tick-like reader running every millisecond.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <random>
#include <thread>

#include "model/ColourEval.h"
#include "model/ProjectData.h"

namespace lumavox {
namespace {

using Clock = std::chrono::steady_clock;

std::vector<Step> RandomSteps(int line, int count, std::mt19937& rng) {
    std::vector<Step> steps(static_cast<size_t>(count));
    for (Step& s : steps) {
        s.LineIndex = line;
        s.Time = static_cast<int32_t>(rng() % 3'000'000);
        s.Colour = static_cast<int32_t>(rng() & 0xFFFFFF);
    }
    return steps;
}

void BM_TickWaitWhileEditing100kSteps(benchmark::State& state) {
    ProjectData project;
    std::mt19937 rng(7);
    constexpr int kPerLine = 100000 / kLineCount;
    for (int j = 0; j < kLineCount; ++j) {
        auto steps = RandomSteps(j, kPerLine, rng);
        std::sort(steps.begin(), steps.end(),
                  [](const Step& a, const Step& b) { return a.Time < b.Time; });
        project.Lines[static_cast<size_t>(j)].Assign(std::move(steps));
    }

    for (auto _ : state) {
        std::atomic<bool> stop{false};
        int64_t longestNs = 0;
        int64_t totalNs = 0;
        int64_t ticks = 0;
        std::thread tick([&] {
            while (!stop.load()) {
                const auto start = Clock::now();
                int32_t sum = 0;
                for (int j = 0; j < kLineCount; ++j) sum += LineOutputColourAt(project, j, 1500000);
                benchmark::DoNotOptimize(sum);
                const int64_t ns =
                    std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - start)
                        .count();
                longestNs = std::max(longestNs, ns);
                totalNs += ns;
                ++ticks;
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        });

        // The UI side: each kind of list mutation an editing command makes, done the way the
        // editing code does it (heavy work outside the lock, a swap or a field pass inside).
        for (int round = 0; round < 20; ++round) {
            TStepList& line = project.Lines[static_cast<size_t>(round % kLineCount)];
            // 1. a field of every step (brightness scaling, moving a selection)
            line.Edit([](TStepList::Items& items) {
                for (auto& s : items) s->Time += 1;
            });
            // 2. re-sort: sort a copy of the pointer order outside, reorder inside
            std::vector<const Step*> order;
            for (const auto& s : line.ItemsUnlocked()) order.push_back(s);
            std::sort(order.begin(), order.end(),
                      [](const Step* a, const Step* b) { return a->Time < b->Time; });
            line.Reorder(order);
            // 3. replacing the whole line (undo, paste of a whole line)
            line.Assign(line.Copy());
        }
        stop.store(true);
        tick.join();
        state.counters["longest_wait_us"] = static_cast<double>(longestNs) / 1000.0;
        state.counters["mean_tick_us"] =
            ticks > 0 ? static_cast<double>(totalNs) / static_cast<double>(ticks) / 1000.0 : 0.0;
        state.counters["ticks"] = static_cast<double>(ticks);
    }
}
BENCHMARK(BM_TickWaitWhileEditing100kSteps)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lumavox
