#include "model/ProjectData.h"

#include <algorithm>
#include <cstring>

#include "platform/ProgramVersion.h"

namespace lumavox {

std::array<int32_t, kPatchSize> ThroughPatch() {
    std::array<int32_t, kPatchSize> patch{};
    patch.fill(-1);
    for (int32_t i = 0; i < kLineCount * 3; ++i) patch[static_cast<size_t>(i)] = i;
    return patch;
}

ProjectData::ProjectData() {
    const std::string version = ProgramVersion();
    const size_t n = std::min(version.size(), sizeof(Header.Version) - 1);
    std::memcpy(Header.Version, version.data(), n);
    const auto patch = ThroughPatch();
    std::copy(patch.begin(), patch.end(), Header.Patch);
}

}  // namespace lumavox
