#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace lumavox {

inline constexpr int kPatchSize = 512;

// The 4568-byte record that opens every project file, read and written as one block. Texts are
// NUL-terminated in their stored form (see the project file code); the in-memory project keeps
// them in this record as stored.
struct ProjectHeader {
    char Version[64] = {};  // version text of the program that made the project
    char Title[128] = {};   // at most 127 bytes + NUL
    char SoundFile[264] =
        {};  // at most 263 bytes + NUL; relative to the program folder or absolute
    double SoundFileTime = 0;        // sound file time when its peak cache was made (FileDateTime)
    int32_t Patch[kPatchSize] = {};  // stored copy of the patch; -1 = unpatched
    int32_t PrePlayTime = 0;         // stored copy, ms
    int32_t PostPlayTime = 0;        // stored copy, ms
    uint8_t Reserved[2048] = {};
};

static_assert(sizeof(ProjectHeader) == 4568);
static_assert(std::is_trivially_copyable_v<ProjectHeader>);
static_assert(std::is_standard_layout_v<ProjectHeader>);
static_assert(offsetof(ProjectHeader, Version) == 0);
static_assert(offsetof(ProjectHeader, Title) == 64);
static_assert(offsetof(ProjectHeader, SoundFile) == 192);
static_assert(offsetof(ProjectHeader, SoundFileTime) == 456);
static_assert(offsetof(ProjectHeader, Patch) == 464);
static_assert(offsetof(ProjectHeader, PrePlayTime) == 2512);
static_assert(offsetof(ProjectHeader, PostPlayTime) == 2516);
static_assert(offsetof(ProjectHeader, Reserved) == 2520);

}  // namespace lumavox
