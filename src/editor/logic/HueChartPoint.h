#pragma once

#include <cstdint>

namespace lumavox {

// The two charts of the extended selection window (the tab index).
enum class HueChartMode { HueSaturation = 0, HueBrightness = 1 };

// Half the side of a step's square on a chart of width × height: min / 50, held to 4..8.
int32_t HueChartSquareHalf(int32_t width, int32_t height);

// Where a step sits on the chart and the colour of its square.
struct HueChartMark {
    int32_t X = 0;
    int32_t Y = 0;
    int32_t Colour = 0;  // 0x00BBGGRR
};

// The centre of a step's square. The plot area is the chart less 2a on every side. Hue runs along
// x (red at the left edge; greys are spread by their level, hue = level / 255 × 360). Mode
// HueSaturation: y from saturation (saturated at the top), square in the step's colour. Mode
// HueBrightness: y from brightness (+255 at the top, 0 on the chart's middle line, -255 at the
// bottom), square in the colour as shown (ApplyBrightness). Any thread.
HueChartMark HueChartPoint(int32_t colour, int32_t brightness, HueChartMode mode, int32_t width,
                           int32_t height);

}  // namespace lumavox
