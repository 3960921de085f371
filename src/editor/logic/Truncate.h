#pragma once

#include <cmath>
#include <limits>

namespace lumavox {

// trunc(v) toward zero, saturated to the int range; NaN gives 0. Every pixel and time the editor
// computes in double goes through here, so no value can make the conversion undefined.
inline int TruncToInt(double v) {
    if (std::isnan(v)) return 0;
    constexpr double kMin = std::numeric_limits<int>::min();
    constexpr double kMax = std::numeric_limits<int>::max();
    if (v <= kMin) return std::numeric_limits<int>::min();
    if (v >= kMax) return std::numeric_limits<int>::max();
    return static_cast<int>(v);
}

}  // namespace lumavox
