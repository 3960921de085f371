// Renders the editor's time panes, stacked as in the main window, over the demo show into
// <folder>/panes-zoom-<z>.png for zooms 0.25 and 1. With --dense it renders instead a one-hour
// show of 100 000 steps on line 1 and 2000 on the others, at every zoom from the fit to 4, the
// reference pane in all-lines and one-line mode and the waveform in mono and stereo, into
// <folder>/dense-<n>.png: two renderings of the panes compared file by file show whether a
// change to the painters altered any pixel.
#include <QApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "DenseShow.h"
#include "cli/DemoShow.h"
#include "editor/LineEditorPane.h"
#include "editor/MarkBar.h"
#include "editor/OutputStrip.h"
#include "editor/PaneFixture.h"  // tests/editor
#include "editor/ReferencePane.h"
#include "editor/WaveformPane.h"
#include "model/StepOps.h"

using namespace lumavox;

namespace {

struct Row {
    QWidget* w;
    int h;
};

QImage Stack(std::span<const Row> rows, int width) {
    int total = 0;
    for (const Row& row : rows) total += row.h;
    QImage out(width, total, QImage::Format_RGB32);
    out.fill(QColor(160, 160, 160));
    int y = 0;
    for (const Row& row : rows) {
        if (row.w != nullptr) row.w->render(&out, QPoint(0, y));
        y += row.h;
    }
    return out;
}

QImage Stack(std::initializer_list<Row> rows, int width) {
    return Stack(std::span<const Row>(rows.begin(), rows.size()), width);
}

int DenseShow(const std::string& folder) {
    constexpr int kWidth = 2000;
    testing::PaneFixture f(360000, kWidth, 10000, 10000);
    FillDenseShow(f.project, {.FirstTime = -5000, .QuarterOnMiddleLine = true});
    f.env.LwavFg = 0x00FF00;
    f.env.RwavFg = 0x00C000;
    f.env.BlankBg = 0x404080;
    f.env.TLinFg = 0x000000;
    f.env.TLinBg = 0xC0C0C0;
    f.engine.CursorTime = 20000;

    WaveformPane l(f.panes, 0);
    WaveformPane r(f.panes, 1);
    MarkBar bar(f.panes);
    LineEditorPane pane(f.panes);
    OutputStrip strip(f.panes);
    ReferencePane ref(f.panes);
    l.resize(kWidth, 120);
    r.resize(kWidth, 90);
    bar.resize(kWidth, MarkBar::kHeight);
    pane.resize(kWidth, 301);
    strip.resize(kWidth, 30);
    ref.resize(kWidth, 83);
    int n = 0;
    f.panes.ZoomFit();
    do {
        for (const int place : {0, 1, 2}) {
            // the start with the pre-roll, the middle, the end with the post-roll
            const int range = f.timeLine.R();
            f.panes.SetScroll(place == 0 ? 0 : place == 1 ? range / 2 + 37 : range);
            f.project.CurrentLine = n % 3 == 0 ? 0 : n % kLineCount;
            f.state.CurrentStep = StepAt(f.project, (n * 7919) % 2000);
            f.panes.SetDragLine(f.timeLine.L() + 333);
            ref.SetView(n % 2 == 0 ? ReferencePane::kAllLines : n % kLineCount, true);
            l.SetMono(n % 4 == 1);
            r.SetMono(n % 4 == 1);
            f.panes.InvalidateAll();
            const QImage out = Stack({{&l, 120},
                                      {nullptr, 4},
                                      {&r, 90},
                                      {&bar, MarkBar::kHeight},
                                      {&pane, 301},
                                      {&strip, 30},
                                      {&ref, 83}},
                                     kWidth);
            const std::string name = folder + "/dense-" + std::to_string(n) + ".png";
            if (!out.save(QString::fromStdString(name))) return 1;
            std::printf("%s zoom %g\n", name.c_str(), f.timeLine.FrameZoom());
            ++n;
        }
    } while (f.panes.ZoomIn());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: pane_snapshot <folder> [--dense]\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::string folder = argv[1];
    if (argc > 2 && std::strcmp(argv[2], "--dense") == 0) return DenseShow(folder);
    constexpr int kWidth = 1000;

    testing::PaneFixture f(1, kWidth);
    const std::string wav = f.dir.File("demo.wav");
    if (!cli::WriteDemoWav(wav) || f.sound.LoadSound(wav) <= 0) {
        std::fprintf(stderr, "demo sound failed\n");
        return 1;
    }
    cli::BuildDemoSteps(f.project);
    f.env.LwavFg = 0x00FF00;
    f.env.RwavFg = 0x00FF00;
    f.env.TLinFg = 0x000000;
    f.env.TLinBg = 0xC0C0C0;
    const int32_t pre = f.project.Header.PrePlayTime;
    const int32_t post = f.project.Header.PostPlayTime;
    f.engine.PrePlayTime = pre;
    f.engine.PostPlayTime = post;
    f.engine.SoundLength = f.sound.List().Count() * 10;
    f.engine.TimelineLength = pre + f.engine.SoundLength + post;
    f.engine.CursorTime = 3000;
    // a selected step, a current one and a drag line to see the marks
    f.project.CurrentLine = 0;
    SetStepSelected(f.project, 0, StepAt(f.project, 2), true);
    f.state.CurrentStep = StepAt(f.project, 3);

    WaveformPane l(f.panes, 0);
    WaveformPane r(f.panes, 1);
    MarkBar bar(f.panes);
    LineEditorPane pane(f.panes);
    OutputStrip strip(f.panes);
    ReferencePane ref(f.panes);
    ref.SetView(ReferencePane::kAllLines, true);
    const Row rows[] = {{&l, 121},    {nullptr, 8}, {&r, 88},     {nullptr, 4}, {&bar, 46},
                        {&pane, 260}, {nullptr, 8}, {&strip, 30}, {nullptr, 8}, {&ref, 80}};
    for (const Row& row : rows) {
        if (row.w != nullptr) row.w->resize(kWidth, row.h);
    }
    for (const double zoom : {0.25, 1.0}) {
        while (f.timeLine.FrameZoom() < zoom && f.timeLine.ZoomIn()) {
        }
        f.panes.Relayout(kWidth);
        f.panes.SetDragLine(f.timeLine.TimeToX(5000));
        const QImage out = Stack(rows, kWidth);
        const std::string name = folder + "/panes-zoom-" + std::to_string(zoom) + ".png";
        if (!out.save(QString::fromStdString(name))) return 1;
        std::printf("%s\n", name.c_str());
    }
    return 0;
}
