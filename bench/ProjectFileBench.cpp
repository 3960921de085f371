// Project files and undo at 100 000 steps: load, save (with and without the final fsync), one undo
// snapshot (also at 1 000 000 steps, with the undo memory), one undo, and the re-sort after moving
// 10 000 selected steps.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "model/ProjectFile.h"
#include "model/StepOps.h"
#include "platform/FileReplace.h"

namespace lumavox {
namespace {

constexpr int kSteps = 100000;
constexpr int32_t kSpacingMs = 250;

// 100 000 steps (or `total`) spread over the eight lines; every tenth step selected.
void Fill(ProjectData& project, int total = kSteps) {
    std::mt19937 rng(7);
    for (int line = 0; line < kLineCount; ++line) {
        std::vector<Step> steps(static_cast<size_t>(total / kLineCount));
        for (size_t i = 0; i < steps.size(); ++i) {
            Step& s = steps[i];
            s.LineIndex = line;
            s.Time = static_cast<int32_t>(i) * kSpacingMs;
            s.Colour = static_cast<int32_t>(rng() & 0xFFFFFF);
            s.Brightness = static_cast<int32_t>(rng() % 511) - 255;
            s.Selected = i % 10 == 0 ? 1 : 0;
        }
        project.Lines[static_cast<size_t>(line)].Assign(std::move(steps));
    }
    Normalise(project);
}

class Folder {
public:
    Folder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "lumavox-bench-XXXXXX");
        if (mkdtemp(pattern.data()) == nullptr) std::abort();
        m_path = pattern + "/";
    }
    ~Folder() { std::filesystem::remove_all(m_path); }
    std::string operator/(const char* name) const { return m_path + name; }

private:
    std::string m_path;
};

void BM_LoadProject100k(benchmark::State& state) {
    Folder folder;
    ProjectData source;
    Fill(source);
    source.ProjectFileName = folder / "show.prj";
    if (!SaveProjectFile(source, ThroughPatch(), 0, 0, false).Ok()) std::abort();
    ProjectData project;
    for (auto _ : state) {
        const auto result = LoadProjectFile(project, source.ProjectFileName);
        benchmark::DoNotOptimize(result.Count);
    }
}
BENCHMARK(BM_LoadProject100k)->Unit(benchmark::kMillisecond);

// What SaveProjectFile does, without the fsync of the file and its folder.
void BM_SaveProject100kWithoutFsync(benchmark::State& state) {
    Folder folder;
    ProjectData project;
    Fill(project);
    const std::string path = folder / "show.prj";
    for (auto _ : state) {
        SetSelection(project, 0, true);
        const auto bytes = ProjectFileBytes(project);
        if (ReplaceFileAtomically(path, bytes, /*sync=*/false) != 0) std::abort();
    }
}
BENCHMARK(BM_SaveProject100kWithoutFsync)->Unit(benchmark::kMillisecond);

void BM_SaveProject100k(benchmark::State& state) {
    Folder folder;
    ProjectData project;
    Fill(project);
    project.ProjectFileName = folder / "show.prj";
    for (auto _ : state) {
        if (!SaveProjectFile(project, ThroughPatch(), 0, 0, true).Ok()) std::abort();
    }
}
BENCHMARK(BM_SaveProject100k)->Unit(benchmark::kMillisecond)->UseRealTime();

// Steady state: the undo list is full, so each snapshot also frees the oldest. Reports how many
// snapshots the list keeps and the memory they take (its byte budget bounds the 1 000 000-step
// case).
void BM_SaveUndoState(benchmark::State& state) {
    ProjectData project;
    Fill(project, static_cast<int>(state.range(0)));
    for (int i = 0; i < TUndoList::kMaxUndoStates; ++i) SaveUndoState(project);
    for (auto _ : state) SaveUndoState(project);
    state.counters["snapshots_kept"] = project.UndoList.Count();
    state.counters["undo_MB"] = static_cast<double>(project.UndoList.Bytes()) / (1 << 20);
}
BENCHMARK(BM_SaveUndoState)->Arg(kSteps)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_Undo100k(benchmark::State& state) {
    ProjectData project;
    Fill(project);
    for (auto _ : state) {
        state.PauseTiming();
        SaveUndoState(project);
        state.ResumeTiming();
        Undo(project);
    }
}
BENCHMARK(BM_Undo100k)->Unit(benchmark::kMillisecond);

// 10 000 selected steps moved past their neighbours; MoveSelected includes the Normalise.
void BM_MoveAndNormalise10kSelected(benchmark::State& state) {
    ProjectData project;
    Fill(project);
    const TimeLimits limits{0, 0, kSteps * kSpacingMs};
    int32_t delta = 3 * kSpacingMs + 10;
    for (auto _ : state) {
        MoveSelected(project, delta, false, limits);
        delta = -delta;
    }
}
BENCHMARK(BM_MoveAndNormalise10kSelected)->Unit(benchmark::kMillisecond);

// Normalise alone, on lines whose selected steps were shifted out of order.
void BM_NormaliseAfterMoving10k(benchmark::State& state) {
    ProjectData project;
    Fill(project);
    int32_t delta = 3 * kSpacingMs + 10;
    for (auto _ : state) {
        state.PauseTiming();
        for (TStepList& line : project.Lines) {
            line.Edit([&](TStepList::Items& items) {
                for (auto& s : items) {
                    if (s->Selected != 0) s->Time += delta;
                }
            });
        }
        delta = -delta;
        state.ResumeTiming();
        Normalise(project);
    }
}
BENCHMARK(BM_NormaliseAfterMoving10k)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lumavox
