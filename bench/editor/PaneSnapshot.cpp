// Renders the editor's time panes, stacked as in the main window, over the demo show into
// <folder>/panes-zoom-<z>.png for zooms 0.25 and 1.
#include <QApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>
#include <string>

#include "cli/DemoShow.h"
#include "editor/LineEditorPane.h"
#include "editor/MarkBar.h"
#include "editor/OutputStrip.h"
#include "editor/PaneFixture.h"  // tests/editor
#include "editor/ReferencePane.h"
#include "editor/WaveformPane.h"
#include "model/StepOps.h"

using namespace lumavox;

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: pane_snapshot <folder>\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::string folder = argv[1];
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
    struct Row {
        QWidget* w;
        int h;
    };
    const Row rows[] = {{&l, 121},    {nullptr, 8}, {&r, 88},     {nullptr, 4}, {&bar, 46},
                        {&pane, 260}, {nullptr, 8}, {&strip, 30}, {nullptr, 8}, {&ref, 80}};
    int total = 0;
    for (const Row& row : rows) {
        if (row.w != nullptr) row.w->resize(kWidth, row.h);
        total += row.h;
    }
    for (const double zoom : {0.25, 1.0}) {
        while (f.timeLine.FrameZoom() < zoom && f.timeLine.ZoomIn()) {
        }
        f.panes.Relayout(kWidth);
        f.panes.SetDragLine(f.timeLine.TimeToX(5000));
        QImage out(kWidth, total, QImage::Format_RGB32);
        out.fill(QColor(160, 160, 160));
        int y = 0;
        for (const Row& row : rows) {
            if (row.w != nullptr) row.w->render(&out, QPoint(0, y));
            y += row.h;
        }
        const std::string name = folder + "/panes-zoom-" + std::to_string(zoom) + ".png";
        if (!out.save(QString::fromStdString(name))) return 1;
        std::printf("%s\n", name.c_str());
    }
    return 0;
}
