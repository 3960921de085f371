#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace lumavox {

// One key point of a colour line. These 52 bytes are also the record of .PRJ and .GRP files, so
// the layout below is the file format (little-endian, no padding beyond the fields named here).
struct Step {
    int32_t LineIndex = 0;   // 0..7, always the index of the line list that holds the step
    int32_t Time = 0;        // ms from the sound start; the sort key of every line
    int32_t Length = 0;      // ms to the next step of the line, 0 for the last step
    int32_t Colour = 0;      // 0x00BBGGRR
    int32_t Brightness = 0;  // -255..255: negative darkens toward black, positive lightens
    uint8_t Selected = 0;    // 1 = selected (edit state, cleared on save)
    uint8_t Padding[3] = {};
    int32_t DragOrigin = 0;  // scratch: Time at the start of a stretch drag
    int32_t MarkX = 0;       // scratch: marker position in the extended selection window
    int32_t MarkY = 0;
    uint8_t Reserved[16] = {};
};

static_assert(sizeof(Step) == 52);
static_assert(std::is_trivially_copyable_v<Step>);
static_assert(std::is_standard_layout_v<Step>);
static_assert(offsetof(Step, LineIndex) == 0);
static_assert(offsetof(Step, Time) == 4);
static_assert(offsetof(Step, Length) == 8);
static_assert(offsetof(Step, Colour) == 12);
static_assert(offsetof(Step, Brightness) == 16);
static_assert(offsetof(Step, Selected) == 20);
static_assert(offsetof(Step, Padding) == 21);
static_assert(offsetof(Step, DragOrigin) == 24);
static_assert(offsetof(Step, MarkX) == 28);
static_assert(offsetof(Step, MarkY) == 32);
static_assert(offsetof(Step, Reserved) == 36);

inline constexpr int kLineCount = 8;
inline constexpr int32_t kMinBrightness = -255;
inline constexpr int32_t kMaxBrightness = 255;

}  // namespace lumavox
