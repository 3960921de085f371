#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace lumavox {

// Small arithmetic behind the editor's dialogs and input boxes. Pure functions, any thread.

// A step time as the step time dialog shows it: hours, minutes, seconds, hundredths of the
// absolute time; Negative remembers the sign so that OK without edits keeps a pre-roll time
// negative. Hours are not limited to a day.
struct TimeFields {
    int64_t Hours = 0;
    int64_t Minutes = 0;
    int64_t Seconds = 0;
    int64_t Hundredths = 0;
    bool Negative = false;
};
TimeFields SplitTime(int32_t timeMs);
// ((h × 3600 + m × 60 + s) × 100 + c) × 10 with the sign of fields.Negative, computed in 64 bits;
// nullopt when the result does not fit an int32 (the caller refuses it like any time out of range).
std::optional<int32_t> ComposeTime(const TimeFields& fields);
// A field's text as the dialogs read it: a decimal number of digits only; anything else (empty,
// signs, letters) reads as 0. Values beyond int64 saturate.
int64_t ReadDigits(std::string_view text);

// The colour typed into the R, G, B edits: each value's low 8 bits (256 → 0, 300 → 44), red in
// the lowest byte. Texts that are not digits read as 0.
int32_t RgbFromEdits(std::string_view r, std::string_view g, std::string_view b);

// The palette's colour at column j, row i of a w × h area: GreyBlend(HueRamp(j / w), i / h).
int32_t PaletteColour(int j, int i, int w, int h);

// Where a user palette image of imageWidth × imageHeight is drawn in a w × h area: at the top-left,
// full width when wider than high (height trunc(h / a)), full height when higher than wide (width
// trunc(a × w)), a = imageWidth / imageHeight. Empty (0 × 0) for an empty image.
struct PaletteRect {
    int Width = 0;
    int Height = 0;
};
PaletteRect UserPaletteRect(int imageWidth, int imageHeight, int w, int h);

// The number typed into "copy from line": an integer (surrounding blanks allowed), else -1.
int ReadLineNumber(std::string_view text);
// A stretch factor typed into an input box, read with the C locale: nullopt for an empty answer,
// 99 for text that is not a number (so the caller's limit check refuses it).
std::optional<double> ReadStretchFactor(std::string_view text);

// The time of a new step: the play cursor's pixel column converted back, trunc(x / ppm) - pre,
// saturated to int32; -pre when ppm is not positive.
int32_t PixelGridTime(int cursorX, double pixelsPerMs, int32_t prePlayTime);

}  // namespace lumavox
