// Feeds arbitrary text to the patch cell parser (the first two bytes choose the entry), applies
// the result, and checks that only names of nothing are refused, that an accepted text writes only
// unpatched or line sources near the entry, and that case and surrounding blanks do not matter.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "dmx/Patch.h"
#include "dmx/PatchCellText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace lumavox;
    if (size < 2) return 0;
    const int k = (data[0] | (data[1] << 8)) % 520;
    const std::string_view text(reinterpret_cast<const char*>(data + 2), size - 2);

    const int32_t v = ParsePatchCell(text);
    std::string lower(" \t");
    for (char c : text) lower.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c);
    lower += "  ";
    if (ParsePatchCell(lower) != v) std::abort();

    PatchTable patch;
    std::array<int32_t, kDmxChannels> marked{};
    marked.fill(100);
    patch.Assign(marked);
    const bool accepted = ApplyPatchCell(patch, k, v);
    if (accepted != (v == kUnpatch || (v >= 1 && v <= 24))) std::abort();
    for (int i = 0; i < kDmxChannels; ++i) {
        const int32_t e = patch.Get(i);
        if (e == 100) continue;
        if (!accepted || i < k || i > k + 2) std::abort();
        if (e != kUnpatch && (e < 0 || e > 23)) std::abort();
    }
    return 0;
}
