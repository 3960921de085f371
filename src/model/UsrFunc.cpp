#include "model/UsrFunc.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "model/ColourEval.h"

namespace lumavox {

namespace {

uint64_t Magnitude(int64_t v) {
    return v < 0 ? static_cast<uint64_t>(-(v + 1)) + 1u : static_cast<uint64_t>(v);
}

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

std::string SecondsText(int64_t seconds) {
    const uint64_t u = Magnitude(seconds);
    const uint64_t s = u % 60;
    const uint64_t m = (u / 60) % 60;
    const uint64_t h = u / 3600;
    char buffer[48];
    if (h > 0) {
        std::snprintf(buffer, sizeof buffer, "%2llu:%02llu:%02llu",
                      static_cast<unsigned long long>(h), static_cast<unsigned long long>(m),
                      static_cast<unsigned long long>(s));
    } else if (m > 0) {
        std::snprintf(buffer, sizeof buffer, "%2llu:%02llu", static_cast<unsigned long long>(m),
                      static_cast<unsigned long long>(s));
    } else {
        std::snprintf(buffer, sizeof buffer, "%02llu", static_cast<unsigned long long>(s));
    }
    std::string out = seconds < 0 ? "-" : "";
    out += buffer;
    return out;
}

std::string MillisText(int64_t ms) {
    const uint64_t u = Magnitude(ms);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%02llu:%02llu:%02llu.%02llu",
                  static_cast<unsigned long long>(u / 3600000),
                  static_cast<unsigned long long>((u / 60000) % 60),
                  static_cast<unsigned long long>((u / 1000) % 60),
                  static_cast<unsigned long long>((u / 10) % 100));
    std::string out = ms < 0 ? "-" : "";
    out += buffer;
    return out;
}

int32_t HueRamp(double x) {
    // Callers pass 0..1; anything else (NaN included) is held to the ends of the ramp.
    double scaled = x * 1279.0;
    if (!(scaled >= 0.0)) scaled = 0.0;
    const int32_t v = static_cast<int32_t>(std::min(scaled, 1535.0));
    const int32_t f = v % 256;
    switch (v / 256) {
        case 0:
            return MakeColour(255, f, 0);
        case 1:
            return MakeColour(255 - f, 255, 0);
        case 2:
            return MakeColour(0, 255, f);
        case 3:
            return MakeColour(0, 255 - f, 255);
        case 4:
            return MakeColour(f, 0, 255);
        default:
            return MakeColour(255, 0, 255 - f);
    }
}

int32_t GreyBlend(int32_t colour, double x) {
    if (!(x >= 0.0)) x = 0.0;
    x = std::min(x, 1.0);
    auto blend = [x](int32_t c) {
        return static_cast<int32_t>(static_cast<double>(c) - static_cast<double>(c - 128) * x);
    };
    return MakeColour(blend(RedOf(colour)), blend(GreenOf(colour)), blend(BlueOf(colour)));
}

std::string ReplaceAll(const std::string& text, const std::string& search,
                       const std::string& replacement) {
    if (text.empty() || search.empty()) return text;
    std::string out;
    size_t scan = 0;
    while (true) {
        const size_t hit = text.find(search, scan);
        if (hit == std::string::npos) break;
        out.append(text, scan, hit - scan);
        out += replacement;
        scan = hit + search.size();
    }
    out.append(text, scan, std::string::npos);
    return out;
}

int FindNoCase(const std::string& pattern, const std::string& text) {
    if (pattern.empty() || pattern.size() > text.size()) return 0;
    for (size_t start = 0; start + pattern.size() <= text.size(); ++start) {
        bool match = true;
        for (size_t i = 0; i < pattern.size() && match; ++i) {
            match = AsciiLower(text[start + i]) == AsciiLower(pattern[i]);
        }
        if (match) return static_cast<int>(start + 1);
    }
    return 0;
}

}  // namespace lumavox
