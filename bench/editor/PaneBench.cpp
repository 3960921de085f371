// Repaint costs of the editor's time panes on a one-hour sound with 100 000 steps on the current
// line: the content images of each pane, the play cursor overlay, and a page scroll of all panes.
#include <benchmark/benchmark.h>

#include <QApplication>

#include <random>

#include "editor/LineEditorPane.h"
#include "editor/MarkBar.h"
#include "editor/OutputStrip.h"
#include "editor/PaneFixture.h"  // tests/editor
#include "editor/ReferencePane.h"
#include "editor/WaveformPane.h"

namespace lumavox {
namespace {

constexpr int kWidth = 2000;
constexpr int32_t kHourFrames = 360000;

struct Show {
    testing::PaneFixture f{kHourFrames, kWidth, 10000, 10000};
    Show() {
        std::mt19937 rng(7);
        for (int line = 0; line < kLineCount; ++line) {
            const int count = line == 0 ? 100000 : 2000;
            std::vector<Step> steps(static_cast<size_t>(count));
            for (int i = 0; i < count; ++i) {
                Step& s = steps[static_cast<size_t>(i)];
                s.LineIndex = line;
                s.Time = static_cast<int32_t>(int64_t{i} * 3600000 / count);
                s.Colour = static_cast<int32_t>(rng() & 0xFFFFFF);
                s.Brightness = static_cast<int32_t>(rng() % 511) - 255;
                s.Selected = i % 7 == 0 ? 1 : 0;
            }
            f.project.Lines[static_cast<size_t>(line)].Assign(std::move(steps));
        }
        Normalise(f.project);
        f.panes.SetScroll(500000);
    }
};

void BM_LineEditorFullRepaint(benchmark::State& state) {
    Show show;
    LineEditorPane pane(show.f.panes);
    pane.resize(kWidth, 400);
    for (auto _ : state) {
        pane.InvalidateContent();
        benchmark::DoNotOptimize(pane.Content().constBits());
    }
}
BENCHMARK(BM_LineEditorFullRepaint)->Unit(benchmark::kMillisecond);

// The display tick moves the cursor by a few pixels: two 1-px strips repainted from the cache.
void BM_CursorOverlayMove(benchmark::State& state) {
    Show show;
    LineEditorPane pane(show.f.panes);
    pane.resize(kWidth, 400);
    QImage screen(pane.size(), QImage::Format_RGB32);
    pane.render(&screen);
    int32_t t = show.f.timeLine.XToTime(show.f.timeLine.L() + 10);
    for (auto _ : state) {
        t += 40;
        show.f.engine.CursorTime = t;
        const TimeLine::CursorMove move = show.f.timeLine.CursorUpdate(t, false);
        const int l = show.f.timeLine.L();
        const QRegion strips = QRegion(move.OldX - l, 0, 1, pane.height()) +
                               QRegion(move.NewX - l, 0, 1, pane.height());
        pane.render(&screen, QPoint(), strips, QWidget::RenderFlags());
    }
}
BENCHMARK(BM_CursorOverlayMove)->Unit(benchmark::kMicrosecond);

void BM_WaveformPaneRepaint(benchmark::State& state) {
    Show show;
    WaveformPane pane(show.f.panes, 1);
    pane.resize(kWidth, 180);
    for (auto _ : state) {
        pane.InvalidateContent();
        benchmark::DoNotOptimize(pane.Content().constBits());
    }
}
BENCHMARK(BM_WaveformPaneRepaint)->Unit(benchmark::kMillisecond);

// A page of scrolling re-renders every pane: L, R, mark bar, line editor, strip, reference.
void BM_PageScrollAllPanes(benchmark::State& state) {
    Show show;
    WaveformPane l(show.f.panes, 0);
    WaveformPane r(show.f.panes, 1);
    MarkBar bar(show.f.panes);
    LineEditorPane pane(show.f.panes);
    OutputStrip strip(show.f.panes);
    ReferencePane ref(show.f.panes);
    ref.SetView(ReferencePane::kAllLines, true);
    l.resize(kWidth, 176);
    r.resize(kWidth, 176);
    bar.resize(kWidth, MarkBar::kHeight);
    pane.resize(kWidth, 300);
    strip.resize(kWidth, 30);
    ref.resize(kWidth, 80);
    TimePane* all[] = {&l, &r, &bar, &pane, &strip, &ref};
    bool forward = true;
    for (auto _ : state) {
        show.f.panes.SetScroll(show.f.timeLine.L() + (forward ? kWidth : -kWidth));
        forward = !forward;
        for (TimePane* p : all) benchmark::DoNotOptimize(p->Content().constBits());
    }
}
BENCHMARK(BM_PageScrollAllPanes)->Unit(benchmark::kMillisecond);

template <class Pane>
void BM_OnePane(benchmark::State& state) {
    Show show;
    Pane pane(show.f.panes);
    if constexpr (std::is_same_v<Pane, ReferencePane>) pane.SetView(ReferencePane::kAllLines, true);
    pane.resize(kWidth, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        pane.InvalidateContent();
        benchmark::DoNotOptimize(pane.Content().constBits());
    }
}
BENCHMARK_TEMPLATE(BM_OnePane, MarkBar)->Arg(46)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_OnePane, OutputStrip)->Arg(30)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_OnePane, ReferencePane)->Arg(80)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lumavox

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
