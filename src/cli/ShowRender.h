#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace lumavox::cli {

// The length of a sound file as the sound player reports it (sample frames × 1000 / rate,
// truncated); nothing, with the reason in problem, when it cannot be read as a sound.
std::optional<int32_t> SoundLengthOf(const std::string& soundPath, std::string& problem);

}  // namespace lumavox::cli
