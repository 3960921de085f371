#include "editor/logic/PaneGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "editor/logic/TimeLine.h"
#include "model/Msgstr.h"

namespace lumavox {

PixelRect SpanRect(int x0, int y0, int x1, int y1) {
    const int left = std::min(x0, x1);
    const int top = std::min(y0, y1);
    return {left, top, std::max(x0, x1) - left, std::max(y0, y1) - top};
}

namespace line_pane {

int MarkerY(int32_t brightness, int m) {
    return TruncToInt(m - static_cast<double>(brightness) * m / 255);
}

int BandCentre(int32_t brightness, int m) {
    return m - TruncToInt(static_cast<double>(brightness) * m / 255);
}

PixelRect MarkerRect(int x, int32_t brightness, int m, Variant variant) {
    int y = MarkerY(brightness, m);
    if (variant == Variant::Hit && brightness < 0) ++y;
    return {x - kMarkerHalf, y - kMarkerHalf, 2 * kMarkerHalf, 2 * kMarkerHalf};
}

std::optional<int32_t> BrightnessAtY(int y, int m) {
    if (m < 1) return std::nullopt;
    const double b = std::trunc((static_cast<double>(m) - y) * 255 / m);
    return static_cast<int32_t>(std::clamp(b, -255.0, 255.0));
}

int HitTest(const TimeLine& timeLine, TStepList::View items, int x, int y, int m) {
    for (int k = 0;; ++k) {
        const int i = timeLine.Candidate(items, x, k);
        if (i < 0) return -1;
        const Step* s = items[static_cast<size_t>(i)];
        if (MarkerRect(timeLine.TimeToX(s->Time), s->Brightness, m, Variant::Hit).Contains(x, y)) {
            return i;
        }
    }
}

std::vector<const Step*> BandPicks(const TimeLine& timeLine, TStepList::View items,
                                   const PixelRect& band, int m) {
    std::vector<const Step*> picks;
    for (const Step* s : items) {
        if (s->Selected != 0) continue;
        if (band.Covers(MarkerRect(timeLine.TimeToX(s->Time), s->Brightness, m, Variant::Hit))) {
            picks.push_back(s);
        }
    }
    return picks;
}

}  // namespace line_pane

int MarkBarPick(const TimeLine& timeLine, TStepList::View items, int x) {
    int best = -1;
    int64_t bestDistance = 0;
    for (int k = 0;; ++k) {
        const int i = timeLine.Candidate(items, x, k);
        if (i < 0) return best;
        const int64_t d = std::abs(
            static_cast<int64_t>(timeLine.TimeToX(items[static_cast<size_t>(i)]->Time)) - x);
        if (best < 0 || d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
}

int MarkBarSpacing(double frameZoom) {
    if (frameZoom >= 0.1) return 100;
    if (frameZoom >= 0.01) return 1000;
    return 6000;
}

int MarkBarMajorPeriod(double frameZoom) {
    if (frameZoom >= 0.1) return 1000;
    if (frameZoom >= 0.01) return 6000;
    return 60000;
}

std::vector<MarkTick> MarkBarTicks(int l, int width, double frameZoom, int32_t prePlayTime) {
    std::vector<MarkTick> ticks;
    if (!(frameZoom > 0) || width <= 0) return ticks;
    const int64_t a = MarkBarSpacing(frameZoom);
    const int64_t h = MarkBarMajorPeriod(frameZoom);
    const double step = static_cast<double>(a) * frameZoom;
    const double origin = prePlayTime * frameZoom * 100 * 0.001;  // x of time 0
    // One tick before the first one at or left of L, so a label reaching into view is kept.
    int64_t k = static_cast<int64_t>(std::floor((l - origin) / step)) - 1;
    const int64_t end = static_cast<int64_t>(l) + width;
    for (;; ++k) {
        const int64_t u = k * a;  // frames from time 0
        const double p = origin + static_cast<double>(u) * frameZoom;
        const int x = TruncToInt(p);
        if (x >= end) break;
        if (x < 0) continue;
        MarkTick t;
        t.X = x;
        t.Major = u >= 0 && u % h == 0;
        t.Labelled = t.Major || frameZoom >= 1;
        t.Seconds = u / 100;  // trunc(u * 0.01)
        ticks.push_back(t);
    }
    return ticks;
}

RefRows::RefRows(int height) {
    Rh = std::max(1, (height - 4) / 8);
    P = std::max(Rh / 2 - 2, 4);
    O = std::min(P, 8);
}

int RefRows::RowOf(int y) const {
    if (y < 0) return -1;
    const int row = y / Rh;
    return row < 8 ? row : -1;
}

int RefRows::LabelTop(int line, int labelHeight) const {
    return line * Rh + std::max((Rh - labelHeight) / 2, 4);
}

std::vector<const Step*> RefRows::BandPicks(const TimeLine& timeLine, TStepList::View items,
                                            int line, const PixelRect& band) const {
    std::vector<const Step*> picks;
    for (const Step* s : items) {
        if (s->Selected == 0 && band.Contains(timeLine.TimeToX(s->Time), Yi(line))) {
            picks.push_back(s);
        }
    }
    return picks;
}

WaveSpan WaveColumn(int32_t a, int32_t b, int height, int gain) {
    // v * gain is exact in double, so gain 1 gives the unzoomed rows bit for bit.
    auto y = [height, gain](int32_t v) {
        return height - TruncToInt(static_cast<double>(v) * gain / 32767.0 * height);
    };
    const int ya = y(a);
    const int yb = y(b);
    // The end point is excluded in either direction.
    if (ya <= yb) return {ya, yb};
    return {yb + 1, ya + 1};
}

int StepWaveGain(int gain, int notches) {
    int g = ValidWaveGain(gain);
    for (int i = 0; i < notches && g < kMaxWaveGain; ++i) g *= 2;
    for (int i = 0; i > notches && g > 1; --i) g /= 2;
    return g;
}

int ValidWaveGain(int32_t stored) {
    return stored >= 1 && stored <= kMaxWaveGain && (stored & (stored - 1)) == 0 ? stored : 1;
}

std::string WaveGainText(int gain) {
    return gain > 1 ? "\u00D7" + std::to_string(gain) : std::string();
}

WaveLayout WaveAreaLayout(bool mono, int waveAreaHeight) {
    WaveLayout w;
    if (mono) {
        w.Bevel = 2;
        w.LHeight = 2;
        w.RHeight = std::max(0, waveAreaHeight - w.Bevel - 2);
        w.LHeaderHeight = 4;
        w.LHeaderText = "";
        w.RHeaderText = "L+R";
    } else {
        w.Bevel = 8;
        w.LHeight = std::max(0, (waveAreaHeight - w.Bevel) / 2);
        w.RHeight = w.LHeight;
        w.LHeaderHeight = (waveAreaHeight + w.Bevel) / 2;
    }
    const int spanned = w.LHeight + w.Bevel + w.RHeight + 4;
    w.RHeaderHeight = std::max(0, spanned - w.LHeaderHeight);
    return w;
}

RefLayout ReferenceLayout(bool shown, int refHeight) {
    RefLayout r;
    if (!shown) return r;
    r.PanelAbove = 8;
    r.PaneHeight = std::max(refHeight, 30);
    r.SplitterEnabled = true;
    return r;
}

std::string BrightnessText(int32_t brightness) {
    char buf[24];
    std::snprintf(buf, sizeof buf, "=%4d", static_cast<int>(brightness));
    return std::string(MsgText(Msg::Brightness)) + buf;
}

std::string SelectingText(int inLine, int inAll, bool showAll) {
    char buf[48];
    if (showAll && inLine < inAll) {
        std::snprintf(buf, sizeof buf, "=%d(%d)", inLine, inAll);
    } else {
        std::snprintf(buf, sizeof buf, "=%d", inLine);
    }
    return std::string(MsgText(Msg::Selecting)) + buf;
}

}  // namespace lumavox
