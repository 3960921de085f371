#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/TStepList.h"

namespace lumavox {

class TimeLine;

// A pixel rectangle with exclusive right and bottom edges (x..x + w - 1 are inside).
struct PixelRect {
    int X = 0;
    int Y = 0;
    int W = 0;
    int H = 0;
    int Right() const { return X + W; }   // exclusive
    int Bottom() const { return Y + H; }  // exclusive
    bool Contains(int px, int py) const {
        return px >= X && px < Right() && py >= Y && py < Bottom();
    }
    // other lies wholly inside this rectangle
    bool Covers(const PixelRect& other) const {
        return other.X >= X && other.Right() <= Right() && other.Y >= Y &&
               other.Bottom() <= Bottom();
    }
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// The normalised rectangle spanned by two corner points (the band of a rubber-band selection).
PixelRect SpanRect(int x0, int y0, int x1, int y1);

// Vertical geometry of the line editor pane: M = H / 2 is brightness 0, +255 is the top, -255 the
// bottom. Pure functions, any thread.
namespace line_pane {

inline constexpr int kMarkerHalf = 8;
enum class Variant {
    Paint,  // painting and the double-click test
    Hit,    // hit test, drag outline and band test: one pixel lower for a negative brightness
};

// trunc(M - b * M / 255), in floating point.
int MarkerY(int32_t brightness, int m);
// M - trunc(b * M / 255): the colour band's centre (a different rounding from MarkerY).
int BandCentre(int32_t brightness, int m);
// The 16 x 16 marker square of a step at content x.
PixelRect MarkerRect(int x, int32_t brightness, int m, Variant variant);
// clamp(trunc((M - y) * 255 / M), -255, 255); none while the pane is under 2 px high (M = 0).
std::optional<int32_t> BrightnessAtY(int y, int m);
// The step of the list hit at content (x, y): the first candidate (k = 0, 1, ...) whose hit square
// holds the point; -1 when none does or there is no candidate left.
int HitTest(const TimeLine& timeLine, TStepList::View items, int x, int y, int m);
// What a rubber band picks: the unselected steps whose hit squares it covers wholly, in list order.
std::vector<const Step*> BandPicks(const TimeLine& timeLine, TStepList::View items,
                                   const PixelRect& band, int m);

}  // namespace line_pane

// The step of the list a mark-bar press picks at content x: of the steps within reach (the
// candidates), the one whose marker centre is nearest, the earlier on a tie; -1 when none is in
// reach. All mark-bar squares stand in one row, so a square test could not tell close steps apart.
int MarkBarPick(const TimeLine& timeLine, TStepList::View items, int x);

// The ruler of the mark bar for one view. Ticks start at a multiple of the spacing counted from
// time 0 (so every pre-roll gets aligned, labelled major ticks).
struct MarkTick {
    int X = 0;  // content x
    bool Major = false;
    bool Labelled = false;
    int64_t Seconds = 0;  // label value
};
// Ticks with trunc(p) in [0, L + width); the first may lie left of L (its label can still show).
std::vector<MarkTick> MarkBarTicks(int l, int width, double frameZoom, int32_t prePlayTime);
// The spacing a and major period h in frames for a zoom.
int MarkBarSpacing(double frameZoom);
int MarkBarMajorPeriod(double frameZoom);

// Row geometry of the reference pane in all-lines mode, from its client height. rh is at least 1
// (the pane keeps a 30-px minimum, so this only guards a transient layout).
struct RefRows {
    explicit RefRows(int height);
    int Rh = 1;  // row height: (H - 4) / 8
    int P = 4;   // half band: max(rh / 2 - 2, 4)
    int O = 4;   // marker half size: min(p, 8)
    int Yi(int line) const { return line * Rh + P + 2; }
    // y / rh, or -1 outside rows 0..7
    int RowOf(int y) const;
    // within o of the row's centre
    bool NearCentre(int line, int y) const { return y >= Yi(line) - O && y <= Yi(line) + O; }
    // Label top of row i for a label of labelHeight.
    int LabelTop(int line, int labelHeight) const;
    // What a rubber band picks in row `line`: the unselected steps whose marker centre lies
    // inside it, in list order.
    std::vector<const Step*> BandPicks(const TimeLine& timeLine, TStepList::View items, int line,
                                       const PixelRect& band) const;
};

// The y span of one waveform column: a line from y(a) toward y(b), end excluded, with
// y(v) = H - trunc(v * gain / 32767 * H). Rows [Top, Bottom) are drawn (may extend past the pane;
// the canvas clips at its edges).
struct WaveSpan {
    int Top = 0;
    int Bottom = 0;
};
WaveSpan WaveColumn(int32_t a, int32_t b, int height, int gain = 1);

// The waveform's amplitude zoom: 1, 2, 4, 8 or 16 times the peak values.
inline constexpr int kMaxWaveGain = 16;
// The gain `notches` doublings (halvings when negative) away, kept within 1..16.
int StepWaveGain(int gain, int notches);
// A stored gain: anything but 1, 2, 4, 8 or 16 reads as 1.
int ValidWaveGain(int32_t stored);
// What the waveform headers add to their text: empty at 1, else "×2" .. "×16".
std::string WaveGainText(int gain);

// Heights of the waveform area from its total (L pane + bevel + R pane) and the mono display. The
// L and R headers beside it span the panes, the bevel and the 4 px splitter under them.
struct WaveLayout {
    int Bevel = 8;
    int LHeight = 0;
    int RHeight = 0;
    int LHeaderHeight = 0;
    int RHeaderHeight = 0;
    const char* LHeaderText = "L";
    const char* RHeaderText = "R";
};
WaveLayout WaveAreaLayout(bool mono, int waveAreaHeight);

// Heights around the reference pane: the panel above it, the pane itself (at least 30 px while
// shown), and whether its splitter works. The header beside it spans the pane and the scroll bar
// under it, whose height only the widget knows.
struct RefLayout {
    int PanelAbove = 4;
    int PaneHeight = 2;
    bool SplitterEnabled = false;
};
RefLayout ReferenceLayout(bool shown, int refHeight);

// Status texts of the panes: "明暗=%4d", "選択中=n" (+ "(all)" when smaller than all).
std::string BrightnessText(int32_t brightness);
std::string SelectingText(int inLine, int inAll, bool showAll);

}  // namespace lumavox
