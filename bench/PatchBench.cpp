// The frame build that runs every output period: eight colours into the source channels, then
// the patch over all 512 output channels.
#include <benchmark/benchmark.h>

#include "dmx/Patch.h"

namespace lumavox {
namespace {

void BM_BuildDmxFrame(benchmark::State& state) {
    PatchTable patch;
    for (int k = 0; k < kDmxChannels; ++k) patch.Set(k, k % 30 - 3);  // patched and unpatched mix
    std::array<int32_t, kLineCount> colours{};
    SourceChannels sources{};
    DmxFrame frame{};
    int32_t step = 0;
    for (auto _ : state) {
        colours[0] = ++step & 0xFFFFFF;
        FillSourceChannels(colours, sources);
        BuildDmxFrame(sources, patch, 7, frame);
        benchmark::DoNotOptimize(frame.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_BuildDmxFrame);

}  // namespace
}  // namespace lumavox
