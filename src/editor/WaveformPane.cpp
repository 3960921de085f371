#include "editor/WaveformPane.h"

#include <QMouseEvent>
#include <QWheelEvent>

#include "editor/logic/PaneGeometry.h"
#include "settings/EnvData.h"
#include "sound/WavSound.h"

namespace lumavox {

WaveformPane::WaveformPane(TimePanes& panes, int tag, QWidget* parent)
    : TimePane(panes, kCursor | kDragLine, parent), m_tag(tag) {}

void WaveformPane::SetMono(bool mono) {
    m_mono = mono;
    InvalidateContent();
}

void WaveformPane::Render(PaneCanvas& c) {
    if (m_tl.R() == 0) return;
    const int l = m_tl.L();
    const int e = m_tl.RightEnd();
    if (e <= l) return;
    const int h = height();
    const EnvData& env = m_ctx.env;
    const QRgb fg = PixelOf(m_tag == 0 ? env.LwavFg : env.RwavFg);
    const QRgb blank = PixelOf(env.BlankBg);
    const bool monoL = m_mono && m_tag == 0;
    c.Fill(l, 0, e - l, h, PixelOf(m_tag == 0 ? env.LwavBg : env.RwavBg));
    const TWavFrmList& peaks = m_ctx.sound.List();
    const int gain = m_panes.WaveGain();
    for (int x = l; x < e; ++x) {
        const double f = m_tl.XToFrame(x);
        if (!m_tl.FrameShown(f) || static_cast<int32_t>(f) >= peaks.Count()) {
            if (!monoL) c.Fill(x, 0, 1, h, blank);
            continue;
        }
        if (monoL) continue;
        const PeakFrame& pf = peaks[static_cast<int32_t>(f)];
        int32_t a = pf.LeftMax;
        int32_t b = pf.LeftMin;
        if (m_mono) {
            a = (pf.LeftMax + pf.RightMax) / 2;
            b = (pf.LeftMin + pf.RightMin) / 2;
        } else if (m_tag == 1) {
            a = pf.RightMax;
            b = pf.RightMin;
        }
        const WaveSpan span = WaveColumn(a, b, h, gain);
        if (span.Bottom > span.Top) c.Fill(x, span.Top, 1, span.Bottom - span.Top, fg);
    }
    c.Fill(l, h, e - l, 1, fg);  // the baseline, on the pane's bottom edge
}

void WaveformPane::mousePressEvent(QMouseEvent* event) {
    if (!BeginPress(event)) return;
    if (!m_panes.SoundLoaded()) return;
    const int x = ContentX(event->position());
    if (event->button() == Qt::LeftButton) {
        m_panes.Locate(m_tl.XToTime(x));
    } else if (event->button() == Qt::RightButton) {
        emit m_panes.stepMenuRequested(event->globalPosition().toPoint() + QPoint(2, 0));
    }
}

void WaveformPane::wheelEvent(QWheelEvent* event) {
    if (WheelZoom(event)) return;
    if (!m_ctx.env.UseWheel || !event->modifiers().testFlag(Qt::ShiftModifier)) {
        event->ignore();
        return;
    }
    // Some platforms turn a Shift+wheel turn into a horizontal one.
    const QPoint angle = event->angleDelta();
    const int delta = angle.y() != 0 ? angle.y() : angle.x();
    if (delta != 0) m_panes.SetWaveGain(StepWaveGain(m_panes.WaveGain(), delta > 0 ? 1 : -1));
    event->accept();
}

void WaveformPane::mouseMoveEvent(QMouseEvent* event) {
    if (!event->buttons().testFlag(Qt::LeftButton) || !m_panes.SoundLoaded()) return;
    m_panes.Scrub(ContentX(event->position()), m_state.ProgrammaticChange != 0);
}

}  // namespace lumavox
