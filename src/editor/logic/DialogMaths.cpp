#include "editor/logic/DialogMaths.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

#include "model/StepOps.h"
#include "model/UsrFunc.h"

namespace lumavox {
namespace {

constexpr int64_t kMsPerHour = 3600000;

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

}  // namespace

TimeFields SplitTime(int32_t timeMs) {
    const int64_t t = std::abs(static_cast<int64_t>(timeMs));
    TimeFields f;
    f.Hours = t / kMsPerHour;
    f.Minutes = t / 60000 % 60;
    f.Seconds = t / 1000 % 60;
    f.Hundredths = t / 10 % 100;
    f.Negative = timeMs < 0;
    return f;
}

std::optional<int32_t> ComposeTime(const TimeFields& f) {
    // Each field is at most int64 max from ReadDigits; bound them before multiplying so that the
    // products cannot overflow 64 bits either.
    constexpr int64_t kBound = int64_t{1} << 40;
    if (f.Hours < 0 || f.Minutes < 0 || f.Seconds < 0 || f.Hundredths < 0 || f.Hours > kBound ||
        f.Minutes > kBound || f.Seconds > kBound || f.Hundredths > kBound) {
        return std::nullopt;
    }
    int64_t ms = ((f.Hours * 3600 + f.Minutes * 60 + f.Seconds) * 100 + f.Hundredths) * 10;
    if (f.Negative) ms = -ms;
    if (ms < std::numeric_limits<int32_t>::min() || ms > std::numeric_limits<int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<int32_t>(ms);
}

int64_t ReadDigits(std::string_view text) {
    if (text.empty()) return 0;
    int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return 0;
        const int64_t digit = c - '0';
        if (value > (std::numeric_limits<int64_t>::max() - digit) / 10) {
            value = std::numeric_limits<int64_t>::max();
        } else {
            value = value * 10 + digit;
        }
    }
    return value;
}

int32_t RgbFromEdits(std::string_view r, std::string_view g, std::string_view b) {
    const auto low = [](std::string_view text) {
        return static_cast<int32_t>(static_cast<uint64_t>(ReadDigits(text)) & 0xFF);
    };
    return low(r) | low(g) << 8 | low(b) << 16;
}

int32_t PaletteColour(int j, int i, int w, int h) {
    if (w <= 0 || h <= 0) return 0;
    return GreyBlend(HueRamp(static_cast<double>(j) / w), static_cast<double>(i) / h);
}

PaletteRect UserPaletteRect(int imageWidth, int imageHeight, int w, int h) {
    if (imageWidth <= 0 || imageHeight <= 0) return {};
    const double a = static_cast<double>(imageWidth) / imageHeight;
    if (a > 1) return {w, static_cast<int>(std::trunc(h / a))};
    if (a < 1) return {static_cast<int>(std::trunc(a * w)), h};
    return {w, h};
}

int ReadLineNumber(std::string_view text) {
    text = Trim(text);
    int value = -1;
    const char* end = text.data() + text.size();
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end) return -1;
    return value;
}

std::optional<double> ReadStretchFactor(std::string_view text) {
    if (text.empty()) return std::nullopt;
    const std::string_view trimmed = Trim(text);
    // from_chars is locale-independent: "1.5" is one and a half whatever the user's locale.
    std::string_view body = trimmed;
    if (!body.empty() && body.front() == '+') body.remove_prefix(1);
    double value = 0;
    const char* end = body.data() + body.size();
    const auto [ptr, ec] = std::from_chars(body.data(), end, value);
    if (body.empty() || ec != std::errc() || ptr != end || !std::isfinite(value)) return 99.0;
    return value;
}

int32_t PixelGridTime(int cursorX, double pixelsPerMs, int32_t prePlayTime) {
    if (!(pixelsPerMs > 0)) return SaturateTime(-static_cast<int64_t>(prePlayTime));
    const double ms = std::trunc(cursorX / pixelsPerMs) - static_cast<double>(prePlayTime);
    if (!(ms > std::numeric_limits<int32_t>::min())) return std::numeric_limits<int32_t>::min();
    if (!(ms < std::numeric_limits<int32_t>::max())) return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(ms);
}

}  // namespace lumavox
