#pragma once

#include <string>
#include <string_view>

namespace lumavox {

// The text with control bytes, DEL, UTF-8 C1 controls and bytes that are not valid UTF-8 written
// as \xHH, so that a path or name taken from a file or the network shows as one harmless line
// (on a terminal or in a message box). Any thread.
std::string EscapeControlBytes(std::string_view text);

}  // namespace lumavox
