#include "dmx/PatchCellText.h"

#include <charconv>
#include <string>

#include "dmx/Patch.h"

namespace lumavox {

namespace {

constexpr int32_t kSourceCount = 24;

// A whole decimal integer with an optional sign; 0 for anything else, overflow included.
int32_t IntegerOrZero(std::string_view text) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') return 0;
    }
    int32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end ? value : 0;
}

bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

}  // namespace

int32_t ParsePatchCell(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    std::string s(text);
    for (char& c : s) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    if (s.empty() || s == "0") return kUnpatch;

    const size_t split = s.find_last_of(",.-:RGB");
    // A split character in first place (or none) leaves a plain number, such as "-1".
    if (split == std::string::npos || split == 0) return IntegerOrZero(s);

    const std::string_view view(s);
    const int32_t line = IntegerOrZero(view.substr(0, split));
    if (line < 1 || line > 8) return kInvalidPatchCell;
    const int32_t base = 3 * (line - 1);
    switch (s[split]) {
        case 'R':
            return base + 1;
        case 'G':
            return base + 2;
        case 'B':
            return base + 3;
        default: {
            const int32_t colour = IntegerOrZero(view.substr(split + 1));
            return colour >= 1 && colour <= 3 ? base + colour : kInvalidPatchCell;
        }
    }
}

bool ApplyPatchCell(PatchTable& patch, int k, int32_t v) {
    const bool source = v >= 1 && v <= kSourceCount;
    if (!source && v != kUnpatch) return false;
    if (k < 0 || k >= kDmxChannels) return true;
    if (v == kUnpatch) {
        patch.Set(k, kUnpatch);
        return true;
    }
    const int32_t s0 = v - 1;
    patch.Set(k, s0);
    if (s0 % 3 == 0) {
        for (int i = 1; i <= 2 && k + i < kDmxChannels; ++i) patch.Set(k + i, s0 + i);
    }
    return true;
}

}  // namespace lumavox
