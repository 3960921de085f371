#pragma once

#include <cstdint>
#include <string>

namespace lumavox {

// Small text and colour helpers shared by the editor, the dialogs and the tools. Pure functions,
// any thread. Texts are UTF-8.

// Whole seconds for the ruler: "05", " 1:05", " 1:02:05"; negative values get a leading "-".
std::string SecondsText(int64_t seconds);
// Milliseconds as "hh:mm:ss.cc" (hundredths); negative values get a leading "-".
std::string MillisText(int64_t ms);
// The palette's hue ramp, x in 0..1: red, yellow, green, cyan, blue toward magenta. 0x00BBGGRR.
int32_t HueRamp(double x);
// Blends colour toward mid-grey 0x808080; x is clamped to 0..1.
int32_t GreyBlend(int32_t colour, double x);
// Replaces every occurrence of search, scanning on after each inserted replacement.
std::string ReplaceAll(const std::string& text, const std::string& search,
                       const std::string& replacement);
// 1-based byte position of the first occurrence of pattern in text, ignoring the case of ASCII
// letters; 0 when there is none or the pattern is empty.
int FindNoCase(const std::string& pattern, const std::string& text);

}  // namespace lumavox
