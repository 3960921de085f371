// The colour monitor's 50 ms refresh: one tick over the eight panels with every colour changed,
// then either the synchronous repaint of the whole window or the event loop's repaint of the
// panels that changed, on Qt's offscreen platform. The goal is under 1 ms of UI time per refresh.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QWindow>

#include "../QtBenchMain.h"
#include "dialogs/DialogTestContext.h"
#include "dialogs/TColMonForm.h"
#include "model/ColourEval.h"

namespace lumavox {
namespace {

// Counts the paint events the panels receive, so the figure is known to include painting.
class PaintCounter : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++Count;
        return false;
    }
    int64_t Count = 0;
};

void WaitExposed(QWidget& window) {
    QElapsedTimer timer;
    timer.start();
    while (!(window.windowHandle() && window.windowHandle()->isExposed()) &&
           timer.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
}

void BM_ColMonTickAndRepaint(benchmark::State& state) {
    testing::DialogTestContext t;
    TColMonForm form(t.context, nullptr);
    form.resize(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    form.show();
    if (state.range(0) > 480) {
        form.ToggleScaled();  // panels grow with the window
        form.resize(static_cast<int>(state.range(0)) + 1, static_cast<int>(state.range(1)) + 1);
    }
    WaitExposed(form);
    PaintCounter counter;
    for (int i = 0; i < 8; ++i) form.Panel(i)->installEventFilter(&counter);
    int32_t level = 0;
    for (auto _ : state) {
        level = (level + 1) & 0xFF;
        for (int i = 0; i < 8; ++i) t.lineOutput.Set(i, MakeColour(level, 255 - level, i * 30));
        t.project.CurrentLine = level & 7;
        form.Tick();
        if (state.range(2) == 0) {
            form.repaint();  // the whole window at once: the worst case
        } else {
            QCoreApplication::processEvents();  // the timer's path: the changed panels only
        }
    }
    state.counters["panel_paints_per_refresh"] = benchmark::Counter(
        static_cast<double>(counter.Count) / static_cast<double>(state.iterations()));
    form.hide();
}
BENCHMARK(BM_ColMonTickAndRepaint)
    ->ArgNames({"w", "h", "eventloop"})
    ->Args({480, 320, 0})
    ->Args({480, 320, 1})
    ->Args({1920, 1080, 0})
    ->Args({1920, 1080, 1})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace lumavox

int main(int argc, char** argv) {
    return lumavox::bench::RunWidgetBenchmarks(argc, argv);
}
