// The FSEQ export of a one-hour show at 40 frames a second (144 000 frames of 512 channels) into a
// file, uncompressed and with zstd: frame building, compression and the file written and synced.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <vector>

#include "export/FseqExport.h"
#include "fakes/TempDir.h"
#include "model/ProjectData.h"

namespace lumavox {
namespace {

constexpr int32_t kHourMs = 3600 * 1000;

// A step every 1.5 s on each line for the whole hour, fading between varied colours.
void FillHour(ProjectData& project) {
    for (int line = 0; line < kLineCount; ++line) {
        const int count = kHourMs / 1500;
        std::vector<Step> steps(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i) {
            Step& s = steps[static_cast<size_t>(i)];
            s.LineIndex = line;
            s.Time = i * 1500;
            s.Length = 1500;
            s.Colour = MakeColour((i * 37) & 0xFF, (i * 7) & 0xFF, line * 30);
            s.Brightness = (i % 11) * 20 - 100;
        }
        project.Lines[static_cast<size_t>(line)].Assign(std::move(steps));
    }
}

void ExportHour(benchmark::State& state, FseqCompression compression) {
    ProjectData project;
    FillHour(project);
    PatchTable patch;
    patch.SetThrough();
    testing::TempDir dir;
    const std::string path = dir.File("hour.fseq");
    FseqExportOptions options;
    options.Compression = compression;
    options.MediaName = "hour.mp3";
    // 144 000 frames: 0 .. 3 599 975 ms
    const int64_t endMs = kHourMs - kFseqDefaultStepMs;
    for (auto _ : state) {
        const FseqExportResult r = ExportFseq(project, patch, endMs, options, path);
        if (r.Status != FseqExportStatus::Done) state.SkipWithError("export failed");
    }
    state.counters["frames"] = FseqFrameCount(endMs, options.StepMs);
    state.counters["MB"] = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
}

void BM_FseqExportHourUncompressed(benchmark::State& state) {
    ExportHour(state, FseqCompression::None);
}
void BM_FseqExportHourZstd(benchmark::State& state) {
    ExportHour(state, FseqCompression::Zstd);
}

BENCHMARK(BM_FseqExportHourUncompressed)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_FseqExportHourZstd)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace lumavox
