// The .beats parser takes any bytes without crashing; what it accepts is exactly the text the
// writer makes of it, so that nothing a damaged file holds slips into the lane.
#include <cstdlib>
#include <string_view>

#include "sound/analysis/BeatCache.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace lumavox;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::optional<BeatCacheContent> content = ParseBeatCache(text);
    if (!content) return 0;
    if (FormatBeatCache(*content) != text) std::abort();
    const std::optional<BeatCacheContent> again = ParseBeatCache(FormatBeatCache(*content));
    if (!again || !(*again == *content)) std::abort();
    return 0;
}
