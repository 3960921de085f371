#include "model/EscapedText.h"

#include <cstdint>

namespace lumavox {

namespace {

// The length of the valid UTF-8 sequence of a printable character at text[i], or 0.
size_t PrintableSequence(std::string_view text, size_t i) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    if (lead >= 0x20 && lead < 0x7F) return 1;
    size_t length = 0;
    uint32_t code = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07u;
    } else {
        return 0;
    }
    if (i + length > text.size()) return 0;
    for (size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0u) != 0x80u) return 0;
        code = (code << 6) | (byte(i + k) & 0x3Fu);
    }
    const uint32_t smallest = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
    if (code < smallest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    if (code < 0xA0) return 0;  // C1 controls act on terminals like ESC sequences
    return length;
}

}  // namespace

std::string EscapeControlBytes(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const size_t length = PrintableSequence(text, i);
        if (length > 0) {
            out.append(text.substr(i, length));
            i += length;
            continue;
        }
        const auto b = static_cast<unsigned char>(text[i]);
        out += "\\x";
        out += kHex[b >> 4];
        out += kHex[b & 0x0F];
        ++i;
    }
    return out;
}

}  // namespace lumavox
