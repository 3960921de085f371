#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lumavox {

// Texts of the project header are UTF-8 in the program and stored in the Windows Japanese code
// page (CP932) in files, as files made on Windows have them. A text CP932 cannot carry exactly is
// stored as UTF-8 instead; reading takes bytes that are valid UTF-8 as UTF-8 and anything else as
// CP932. Pure functions, any thread.

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view text);

// The CP932 bytes of a UTF-8 text, or none when some character has no CP932 form that converts
// back to the same character.
std::optional<std::string> Utf8ToCp932(std::string_view utf8);

// CP932 bytes as UTF-8; a byte sequence CP932 does not define becomes U+FFFD.
std::string Cp932ToUtf8(std::string_view cp932);

// The stored form of a UTF-8 text: CP932 when that reads back as the same text, else the UTF-8
// itself. None for invalid UTF-8 or a text with a NUL, which a NUL-terminated field cannot hold.
std::optional<std::string> EncodeStoredText(std::string_view utf8);

// The UTF-8 text of stored bytes (without their terminator).
std::string DecodeStoredText(std::string_view stored);

}  // namespace lumavox
