#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "settings/SaveResult.h"

namespace lumavox {

// Replaces the file at path with bytes: writes a temporary file in the same folder, syncs it and
// renames it over the target, so readers see either the old or the new file, never a part. A
// missing parent folder is created. On failure the temporary file is removed, the old file is
// untouched and the result carries "ファイル <path> を作成できません". Any thread (no shared
// state).
SaveResult WriteFileAtomically(const std::string& path, std::string_view bytes);

// The whole contents of a regular file; nullopt when it cannot be opened or read, or is larger than
// maxBytes (so a stray huge file is refused instead of filling memory).
std::optional<std::string> ReadFileBytes(const std::string& path, size_t maxBytes);

}  // namespace lumavox
