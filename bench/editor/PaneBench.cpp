// Repaint costs of the editor's time panes on a one-hour sound with 100 000 steps on the current
// line: the content images of each pane, the play cursor overlay, and a page scroll of all panes.
// Last, the Art-Net thread's frame intervals while the UI thread scrolls and repaints without a
// pause and edits a line now and then (needs root for the network namespaces, as
// bench_artnettimingbench).
#include <benchmark/benchmark.h>

#include <QApplication>

#include <atomic>
#include <optional>
#include <thread>

#include "../ArtnetTiming.h"
#include "../QtBenchMain.h"
#include "DenseShow.h"
#include "dmx/artnet/ArtnetPackets.h"
#include "dmx/artnet/TArtnetThread.h"
#include "dmx/net/PeerSocket.h"  // tests/dmx/net
#include "model/ColourEval.h"
#include "model/StepOps.h"
#include "platform/Clock.h"
#include "platform/NetworkConfig.h"
#include "platform/UdpSocket.h"

#include "editor/BeatLane.h"
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
        FillDenseShow(f.project, {});
        f.panes.SetScroll(500000);
    }
};

// Every time pane at its size in the main window.
struct AllPanes {
    WaveformPane l, r;
    MarkBar bar;
    LineEditorPane pane;
    OutputStrip strip;
    ReferencePane ref;
    TimePane* all[6] = {&l, &r, &bar, &pane, &strip, &ref};

    explicit AllPanes(TimePanes& panes)
        : l(panes, 0), r(panes, 1), bar(panes), pane(panes), strip(panes), ref(panes) {
        ref.SetView(ReferencePane::kAllLines, true);
        l.resize(kWidth, 176);
        r.resize(kWidth, 176);
        bar.resize(kWidth, MarkBar::kHeight);
        pane.resize(kWidth, 300);
        strip.resize(kWidth, 30);
        ref.resize(kWidth, 80);
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

// The same at the largest amplitude zoom: most columns then run past the pane's edges.
void BM_WaveformPaneRepaintAmplified(benchmark::State& state) {
    Show show;
    show.f.panes.SetWaveGain(16);
    WaveformPane pane(show.f.panes, 1);
    pane.resize(kWidth, 180);
    for (auto _ : state) {
        pane.InvalidateContent();
        benchmark::DoNotOptimize(pane.Content().constBits());
    }
}
BENCHMARK(BM_WaveformPaneRepaintAmplified)->Unit(benchmark::kMillisecond);

// A page of scrolling re-renders every pane: L, R, mark bar, line editor, strip, reference.
void BM_PageScrollAllPanes(benchmark::State& state) {
    Show show;
    AllPanes panes(show.f.panes);
    bool forward = true;
    for (auto _ : state) {
        show.f.panes.SetScroll(show.f.timeLine.L() + (forward ? kWidth : -kWidth));
        forward = !forward;
        for (TimePane* p : panes.all) benchmark::DoNotOptimize(p->Content().constBits());
    }
}
BENCHMARK(BM_PageScrollAllPanes)->Unit(benchmark::kMillisecond);

// Every pane repainted with the whole hour in view: all 100 000 steps of the line on screen.
void BM_AllPanesAtFitZoom(benchmark::State& state) {
    Show show;
    show.f.panes.ZoomFit();
    AllPanes panes(show.f.panes);
    for (auto _ : state) {
        for (TimePane* p : panes.all) {
            p->InvalidateContent();
            benchmark::DoNotOptimize(p->Content().constBits());
        }
    }
}
BENCHMARK(BM_AllPanesAtFitZoom)->Unit(benchmark::kMillisecond);

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

// The beat lane over an hour of onsets every 125 ms and beats every 500 ms (36 000 marks), at the
// show's zoom (0) and with the whole hour in view (1).
void BM_BeatLaneRepaint(benchmark::State& state) {
    Show show;
    if (state.range(0) == 1) show.f.panes.ZoomFit();
    BeatAnalysis analysis;
    for (int32_t t = 0; t < kHourFrames * 10; t += 125) {
        analysis.Onsets.push_back(t);
        if (t % 500 == 0) analysis.Beats.push_back(t);
    }
    BeatMarks marks;
    marks.Take("hour.wav", std::move(analysis));
    BeatLane lane(show.f.panes, marks);
    lane.resize(kWidth, BeatLane::kHeight);
    for (auto _ : state) {
        lane.InvalidateContent();
        benchmark::DoNotOptimize(lane.Content().constBits());
    }
}
BENCHMARK(BM_BeatLaneRepaint)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_OnePane, OutputStrip)->Arg(30)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_OnePane, ReferencePane)->Arg(80)->Unit(benchmark::kMillisecond);

// A band over the whole view at the fitting zoom, where all 100 000 steps of the line lie in
// 2000 px: press on empty space, drag, release (every step inside becomes selected).
void BM_BandSelectDenseLine(benchmark::State& state) {
    Show show;
    show.f.project.Lines[0].Edit([](TStepList::Items& items) {
        for (auto& step : items) step->Brightness = 0;  // markers on the middle line
    });
    show.f.panes.ZoomFit();
    LineEditorPane pane(show.f.panes);
    pane.resize(kWidth, 400);
    int64_t picked = 0;
    for (auto _ : state) {
        testing::Press(&pane, {2, 2});
        testing::Move(&pane, {kWidth - 2, 398});
        testing::Release(&pane, {kWidth - 2, 398});
        picked = SelectedCountInLine(show.f.project);
    }
    state.counters["selected"] = static_cast<double>(picked);
}
BENCHMARK(BM_BandSelectDenseLine)->Unit(benchmark::kMillisecond);

// The output side of a show: the eight line colours at a time that advances 20 ms a tick, read
// under each list's lock as the engine's tick reads them, and a counter so every frame is sent.
class ShowSource final : public IFrameSource {
public:
    explicit ShowSource(const ProjectData& project) : m_project(project) {}
    void Tick(DmxFrame& frame) override {
        m_t = (m_t + 20) % 3600000;
        for (int line = 0; line < kLineCount; ++line) {
            const LineColour c = LineColourAt(m_project, line, m_t);
            const int32_t bgr = c.Colour == NoColour ? 0 : ApplyBrightness(c.Colour, c.Brightness);
            for (int k = 0; k < 3; ++k) {
                frame[static_cast<size_t>(line * 3 + k)] = static_cast<uint8_t>(bgr >> (8 * k));
            }
        }
        ++frame[511];
    }

private:
    const ProjectData& m_project;
    int32_t m_t = 0;
};

void BM_ArtnetWhileRepainting(benchmark::State& state) {
    const char* framesText = std::getenv("LUMAVOX_TIMING_FRAMES");
    const int frames = framesText != nullptr ? std::max(10, std::atoi(framesText)) : 1500;
    for (auto _ : state) {
        PeerNamespace peer;
        const std::string linkError = bench::LinkToPeer(peer);
        if (!linkError.empty()) {
            state.SkipWithError(linkError.c_str());
            return;
        }
        std::optional<PeerSocket> node;
        peer.Run([&] { node.emplace(kArtnetPort); });

        Show show;
        AllPanes panes(show.f.panes);

        ShowSource source(show.f.project);
        PosixUdpSocket socket;
        SystemInterfaceList interfaces;
        NetlinkAddressConfig addresses;
        SteadyClock clock;
        TArtnetThread thread(source, {socket, interfaces, addresses}, clock, ArtnetConfig{});
        std::atomic<bool> received{false};
        std::vector<double> times;
        std::thread receiver([&] {
            times = bench::ReceiveTimes(*node->Fd(), frames + 2,
                                        std::chrono::seconds(frames / 40 + 30));
            received.store(true);
        });
        thread.Resume();
        // The UI thread: page scrolls with every pane repainted, and every tenth round a colour
        // pass over a 2000-step line under its lock.
        int64_t rounds = 0;
        bool forward = true;
        while (!received.load()) {
            show.f.panes.SetScroll(show.f.timeLine.L() + (forward ? kWidth : -kWidth));
            forward = !forward;
            for (TimePane* p : panes.all) benchmark::DoNotOptimize(p->Content().constBits());
            if (++rounds % 10 == 0) {
                show.f.project.Lines[1].Edit([](TStepList::Items& items) {
                    for (auto& step : items) step->Colour ^= 0x010101;
                });
            }
        }
        receiver.join();
        thread.Terminate();

        const bench::Figures a = bench::Analyse(times);
        state.counters["frames"] = static_cast<double>(times.size());
        state.counters["median_ms"] = a.medianMs;
        state.counters["p99_dev_ms"] = a.p99DevMs;
        state.counters["max_dev_ms"] = a.maxDevMs;
        state.counters["ui_rounds"] = static_cast<double>(rounds);
    }
}
BENCHMARK(BM_ArtnetWhileRepainting)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace
}  // namespace lumavox

int main(int argc, char** argv) {
    return lumavox::bench::RunWidgetBenchmarks(argc, argv);
}
