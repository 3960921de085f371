#pragma once

#include <cstdint>
#include <string_view>

namespace lumavox {

class PatchTable;

// What a patch grid cell's text asks for: kUnpatch, a source channel number 1..24 (line L red,
// green, blue = 3(L - 1) + 1, 2, 3), or anything else (kInvalidPatchCell among them) for text that
// names nothing.
inline constexpr int32_t kUnpatch = -1;
inline constexpr int32_t kInvalidPatchCell = 0;

// Reads a cell's text, case-insensitive, blanks and control characters at both ends ignored:
// "" or "0" unpatch; a plain integer is the source channel number; "<line><R|G|B>" and
// "<line><,|.|-|:><1..3>" name a line's colour (the last such character splits the text, so
// "3-1" is line 3 red). Integers are decimal with an optional sign and never overflow.
// Any thread.
int32_t ParsePatchCell(std::string_view text);

// Applies a parsed value to output entry k (channel k + 1): unpatch, or source v - 1; a red source
// also feeds the next two entries (its green and blue) as far as they exist. Entries outside
// 0..511 are left alone. False, with nothing changed, when v names nothing (the caller beeps).
// UI thread (the table's writer).
bool ApplyPatchCell(PatchTable& patch, int k, int32_t v);

}  // namespace lumavox
