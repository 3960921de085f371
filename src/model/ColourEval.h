#pragma once

#include <cstdint>
#include <optional>

#include "model/TStepList.h"

namespace lumavox {

class ProjectData;

// The absence of a colour: before a line's first step, or no preview. Never a step colour (those
// have bits 24..31 clear). Outputs as black.
inline constexpr int32_t NoColour = 0x1FFFFFFF;

struct LineColour {
    int32_t Colour = NoColour;  // 0x00BBGGRR, or NoColour
    int32_t Brightness = 0;
};

// The base colour and brightness of a line at time t: the colour of the last step at or before t,
// faded linearly toward the next step. Line outside 0..7, an empty line or t before the first step
// give (NoColour, 0). Any thread: takes the line's lock for the lookup.
LineColour LineColourAt(const ProjectData& project, int line, int32_t t);

// The same over a list the caller has locked (or owns on the UI thread). `sorted` says whether Time
// never decreases along the list: then a binary search is used, with exactly the result of the
// walk from the start; otherwise the list is walked.
LineColour LineColourAt(TStepList::View steps, bool sorted, int32_t t);

// The plain walk from the start of the list, the reference the fast search is held to.
LineColour LineColourAtByWalk(TStepList::View steps, int32_t t);

// The time of the first step of any line after t (Time > t), or nothing. Any thread: takes each
// line's lock in turn for a binary search (a walk over an unsorted list).
std::optional<int32_t> NextStepTime(const ProjectData& project, int32_t t);

// The shown and sent colour: NoColour gives black; brightness b > 0 lightens each channel by
// (255 - c) * b / 255, b < 0 darkens it to c * (b + 255) / 255 (integer arithmetic).
int32_t ApplyBrightness(int32_t colour, int32_t brightness);

// ApplyBrightness(LineColourAt(...)).
int32_t LineOutputColourAt(const ProjectData& project, int line, int32_t t);

inline constexpr int32_t RedOf(int32_t colour) {
    return colour & 0xFF;
}
inline constexpr int32_t GreenOf(int32_t colour) {
    return (colour >> 8) & 0xFF;
}
inline constexpr int32_t BlueOf(int32_t colour) {
    return (colour >> 16) & 0xFF;
}
inline constexpr int32_t MakeColour(int32_t red, int32_t green, int32_t blue) {
    return (red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16);
}

}  // namespace lumavox
