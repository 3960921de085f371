#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>

#include <atomic>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "dmx/Patch.h"
#include "editor/TimePanes.h"
#include "editor/logic/EditorContext.h"
#include "editor/logic/PaneState.h"
#include "editor/logic/TimeLine.h"
#include "engine/EngineState.h"
#include "engine/Transport.h"
#include "fakes/ManualClock.h"
#include "fakes/RecordingSoundReporter.h"
#include "fakes/TempDir.h"
#include "model/ProjectData.h"
#include "settings/EnvData.h"
#include "sound/WavSound.h"

namespace lumavox::testing {

// The objects of an editor with a loaded sound of `frames` peak frames (a triangle wave), no
// pre- or post-roll, laid out for a visible width. Steps are added with Put.
class PaneFixture {
public:
    explicit PaneFixture(int32_t frames = 6000, int width = 800, int32_t pre = 0, int32_t post = 0)
        : env(dir.File("Lumavox.ini"), dir.Folder()),
          sound(reporter),
          transport(engine, clock, repeat, std::chrono::milliseconds(0)),
          ctx{project, engine, env, sound, patch, lineOutput, transport, timeLine},
          panes(ctx, state) {
        std::vector<PeakFrame> peaks(static_cast<size_t>(frames));
        for (size_t i = 0; i < peaks.size(); ++i) {
            const int32_t v = static_cast<int32_t>((i * 331) % 32768);
            peaks[i] = {v, -v, v / 2, -v / 2};
        }
        const std::string path = dir.File("s.wfm");
        if (FILE* f = std::fopen(path.c_str(), "wb")) {
            std::fwrite(peaks.data(), sizeof(PeakFrame), peaks.size(), f);
            std::fclose(f);
        }
        sound.LoadPeakCache(path);
        engine.PrePlayTime = pre;
        engine.PostPlayTime = post;
        engine.SoundLength = frames * 10;
        engine.TimelineLength = pre + frames * 10 + post;
        engine.SoundLoaded = true;
        env.CLinBg = 0x202020;
        panes.Relayout(width);
    }

    const Step& Put(int line, int32_t time, int32_t brightness = 0, bool selected = false,
                    int32_t colour = 0x0000FF) {
        Step s;
        s.LineIndex = line;
        s.Time = time;
        s.Brightness = brightness;
        s.Colour = colour;
        s.Selected = selected ? 1 : 0;
        project.Lines[static_cast<size_t>(line)].Add(s);
        Normalise(project);
        for (const Step* p : project.Lines[static_cast<size_t>(line)].ItemsUnlocked()) {
            if (p->Time == time && p->Brightness == brightness) return *p;
        }
        return project.Lines[static_cast<size_t>(line)].At(0);
    }

    TempDir dir;
    ProjectData project;
    EngineState engine;
    EnvData env;
    test::RecordingSoundReporter reporter;
    WavSound sound;
    PatchTable patch;
    LineOutput lineOutput;
    ManualClock clock;
    std::atomic<bool> repeat{false};
    Transport transport;
    TimeLine timeLine;
    EditorContext ctx;
    PaneState state;
    TimePanes panes;
};

// Mouse events with modifiers on every kind (QTest's mouseMove carries none).
inline void Send(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button,
                 Qt::KeyboardModifiers mods = {}) {
    const Qt::MouseButtons buttons =
        type == QEvent::MouseButtonRelease ? Qt::MouseButtons() : Qt::MouseButtons(button);
    QMouseEvent e(type, QPointF(pos), w->mapToGlobal(QPointF(pos)),
                  type == QEvent::MouseMove ? Qt::NoButton : button,
                  type == QEvent::MouseMove ? Qt::MouseButtons(Qt::LeftButton) : buttons, mods);
    QApplication::sendEvent(w, &e);
}
inline void Press(QWidget* w, QPoint pos, Qt::KeyboardModifiers mods = {},
                  Qt::MouseButton button = Qt::LeftButton) {
    Send(w, QEvent::MouseButtonPress, pos, button, mods);
}
inline void Move(QWidget* w, QPoint pos, Qt::KeyboardModifiers mods = {}) {
    Send(w, QEvent::MouseMove, pos, Qt::LeftButton, mods);
}
inline void Release(QWidget* w, QPoint pos, Qt::KeyboardModifiers mods = {},
                    Qt::MouseButton button = Qt::LeftButton) {
    Send(w, QEvent::MouseButtonRelease, pos, button, mods);
}
inline void DoubleClick(QWidget* w, QPoint pos, Qt::KeyboardModifiers mods = {}) {
    Send(w, QEvent::MouseButtonDblClick, pos, Qt::LeftButton, mods);
}
inline void Wheel(QWidget* w, QPoint pos, int delta, Qt::KeyboardModifiers mods = {}) {
    QWheelEvent e(QPointF(pos), w->mapToGlobal(QPointF(pos)), QPoint(), QPoint(0, delta),
                  Qt::NoButton, mods, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
}

}  // namespace lumavox::testing
