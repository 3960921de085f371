// Onsets and beats of a one-hour stereo 16-bit WAV file at 44.1 kHz (a minute of the test click
// track written sixty times; page cache warm after the first run), the whole AnalyseSound call.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "fakes/ClickTrack.h"
#include "sound/WavFixture.h"
#include "sound/analysis/BeatAnalysis.h"

namespace {

std::string OneHourWav(const lumavox::test::TempDir& dir) {
    constexpr int kMinutes = 60;
    const lumavox::testing::ClickTrack minute = lumavox::testing::MakeClickTrack(60.0);
    std::string pcm = lumavox::test::Pcm16(minute.Samples);
    lumavox::test::WavRecipe recipe;
    recipe.DeclaredDataSize = static_cast<int64_t>(pcm.size()) * kMinutes;
    // the header declares all sixty minutes; the first follows it, the others are appended
    std::string bytes = lumavox::test::WavBytes(recipe, pcm);
    const std::string path = dir.File("hour.wav");
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    for (int i = 1; i < kMinutes; ++i)
        out.write(pcm.data(), static_cast<std::streamsize>(pcm.size()));
    return path;
}

void BM_AnalyseOneHourWav(benchmark::State& state) {
    lumavox::test::TempDir dir;
    const std::string path = OneHourWav(dir);
    size_t onsets = 0;
    for (auto _ : state) {
        lumavox::BeatAnalysis result;
        if (lumavox::AnalyseSound(path, {}, result) != 0) state.SkipWithError("analysis failed");
        onsets = result.Onsets.size();
    }
    state.counters["onsets"] = static_cast<double>(onsets);
}
BENCHMARK(BM_AnalyseOneHourWav)->Unit(benchmark::kSecond)->Iterations(2);

}  // namespace
