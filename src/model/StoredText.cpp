#include "model/StoredText.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>

namespace lumavox {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

// One conversion descriptor per call: iconv_t keeps state and must not be shared between threads.
class Converter {
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Converter() {
        if (Valid()) iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool Valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    iconv_t Get() const { return m_cd; }

private:
    iconv_t m_cd;
};

bool IsAscii(std::string_view text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    }
    return true;
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
    size_t i = 0;
    const size_t n = text.size();
    auto byte = [&](size_t k) { return static_cast<uint8_t>(text[k]); };
    auto continuation = [&](size_t k) { return k < n && (byte(k) & 0xC0) == 0x80; };
    while (i < n) {
        const uint8_t b = byte(i);
        if (b < 0x80) {
            ++i;
        } else if (b >= 0xC2 && b <= 0xDF) {
            if (!continuation(i + 1)) return false;
            i += 2;
        } else if (b >= 0xE0 && b <= 0xEF) {
            if (!continuation(i + 1) || !continuation(i + 2)) return false;
            const uint8_t b1 = byte(i + 1);
            if (b == 0xE0 && b1 < 0xA0) return false;   // overlong
            if (b == 0xED && b1 >= 0xA0) return false;  // surrogate
            i += 3;
        } else if (b >= 0xF0 && b <= 0xF4) {
            if (!continuation(i + 1) || !continuation(i + 2) || !continuation(i + 3)) return false;
            const uint8_t b1 = byte(i + 1);
            if (b == 0xF0 && b1 < 0x90) return false;   // overlong
            if (b == 0xF4 && b1 >= 0x90) return false;  // above U+10FFFF
            i += 4;
        } else {
            return false;
        }
    }
    return true;
}

std::optional<std::string> Utf8ToCp932(std::string_view utf8) {
    if (!IsValidUtf8(utf8)) return std::nullopt;
    if (IsAscii(utf8)) return std::string(utf8);
    Converter converter("CP932", "UTF-8");
    if (!converter.Valid()) return std::nullopt;
    std::string out(utf8.size() * 2 + 4, '\0');
    char* in = const_cast<char*>(utf8.data());  // iconv does not write through it
    size_t inLeft = utf8.size();
    char* outPtr = out.data();
    size_t outLeft = out.size();
    if (iconv(converter.Get(), &in, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) {
        return std::nullopt;
    }
    if (iconv(converter.Get(), nullptr, nullptr, &outPtr, &outLeft) == static_cast<size_t>(-1)) {
        return std::nullopt;
    }
    out.resize(out.size() - outLeft);
    // Some characters convert one way only (U+00A5 becomes the byte 0x5C, which reads back as '\');
    // such a text is not carried exactly.
    if (Cp932ToUtf8(out) != utf8) return std::nullopt;
    return out;
}

std::string Cp932ToUtf8(std::string_view cp932) {
    if (IsAscii(cp932)) return std::string(cp932);
    std::string result;
    Converter converter("UTF-8", "CP932");
    if (!converter.Valid()) {
        for (const char c : cp932) {
            if (static_cast<unsigned char>(c) < 0x80) {
                result.push_back(c);
            } else {
                result.append(kReplacement);
            }
        }
        return result;
    }
    char* in = const_cast<char*>(cp932.data());  // iconv does not write through it
    size_t inLeft = cp932.size();
    std::string chunk(cp932.size() * 3 + 8, '\0');
    while (inLeft > 0) {
        char* outPtr = chunk.data();
        size_t outLeft = chunk.size();
        const size_t rc = iconv(converter.Get(), &in, &inLeft, &outPtr, &outLeft);
        result.append(chunk.data(), chunk.size() - outLeft);
        if (rc != static_cast<size_t>(-1)) break;
        if (errno == E2BIG) continue;
        // EILSEQ (a byte CP932 does not define) or EINVAL (a lead byte cut off at the end): show
        // one replacement character and go on after the offending byte.
        result.append(kReplacement);
        ++in;
        --inLeft;
        iconv(converter.Get(), nullptr, nullptr, nullptr, nullptr);
    }
    return result;
}

std::optional<std::string> EncodeStoredText(std::string_view utf8) {
    if (!IsValidUtf8(utf8) || utf8.find('\0') != std::string_view::npos) return std::nullopt;
    if (IsAscii(utf8)) return std::string(utf8);
    // The CP932 form is used only when reading it back gives the same text: CP932 bytes that
    // happen to be valid UTF-8 (0xC3 0xA9 is two half-width katakana, and also "é") would be read
    // as UTF-8. Storing the UTF-8 itself keeps such a text exact.
    if (auto cp932 = Utf8ToCp932(utf8); cp932 && !IsValidUtf8(*cp932)) return cp932;
    return std::string(utf8);
}

std::string DecodeStoredText(std::string_view stored) {
    if (IsValidUtf8(stored)) return std::string(stored);
    return Cp932ToUtf8(stored);
}

}  // namespace lumavox
