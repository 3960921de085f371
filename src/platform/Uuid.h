#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lumavox {

// A 128-bit identifier in network byte order (the first byte is the first two hex digits of its
// text). Any thread.
using Uuid = std::array<uint8_t, 16>;

// A new random (version 4, variant 1) identifier from the system's random source.
Uuid NewRandomUuid();
// "xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx" in lower-case hex.
std::string UuidText(const Uuid& uuid);
// The text form, hex digits in either case, optionally in braces; nothing for anything else
// (the all-zero identifier included, which names nobody).
std::optional<Uuid> ParseUuid(std::string_view text);

}  // namespace lumavox
