#include "editor/logic/HueChartPoint.h"

#include <algorithm>

#include "editor/logic/MonitorScale.h"
#include "editor/logic/Truncate.h"
#include "model/ColourEval.h"

namespace lumavox {

int32_t HueChartSquareHalf(int32_t width, int32_t height) {
    return std::clamp(std::min(width, height) / 50, 4, 8);
}

HueChartMark HueChartPoint(int32_t colour, int32_t brightness, HueChartMode mode, int32_t width,
                           int32_t height) {
    const int32_t a = HueChartSquareHalf(width, height);
    const double plotWidth = static_cast<double>(width) - 4.0 * a;
    const double plotHeight = static_cast<double>(height) - 4.0 * a;
    const double offset = 2.0 * a;

    const double r = RedOf(colour);
    const double g = GreenOf(colour);
    const double b = BlueOf(colour);
    const double mx = std::max({r, g, b});
    const double mn = std::min({r, g, b});
    double hue = 0;
    double saturation = 0;
    if (mx > mn) {
        const double d = mx - mn;
        if (r == mx) {
            hue = (g - b) / d * 60.0;
        } else if (g == mx) {
            hue = ((b - r) / d + 2.0) * 60.0;
        } else {
            hue = ((r - g) / d + 4.0) * 60.0;
        }
        if (hue < 0) hue += 360.0;
        saturation = d / mx;
    } else {
        hue = mx / 255.0 * 360.0;
    }

    HueChartMark mark;
    mark.X = TruncToInt(hue / 360.0 * plotWidth + offset);
    if (mode == HueChartMode::HueSaturation) {
        mark.Y = TruncToInt((1.0 - saturation) * plotHeight + offset);
        mark.Colour = colour;
    } else {
        // The middle is an integer division of the plot height, as the line drawn at H / 2 is.
        const double mid = static_cast<double>(TruncToInt(plotHeight) / 2);
        mark.Y = TruncToInt(mid - brightness / 255.0 * mid + offset);
        mark.Colour = ApplyBrightness(colour, brightness);
    }
    return mark;
}

}  // namespace lumavox
