#include "platform/Uuid.h"

#include <random>

namespace lumavox {
namespace {

constexpr size_t kTextSize = 36;

bool IsDashPosition(size_t i) {
    return i == 8 || i == 13 || i == 18 || i == 23;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

Uuid NewRandomUuid() {
    std::random_device random;  // the kernel's random source on Linux
    Uuid uuid{};
    for (size_t i = 0; i < uuid.size(); i += 4) {
        const uint32_t word = random();
        for (size_t k = 0; k < 4; ++k) uuid[i + k] = static_cast<uint8_t>(word >> (8 * k));
    }
    uuid[6] = static_cast<uint8_t>((uuid[6] & 0x0F) | 0x40);  // version 4
    uuid[8] = static_cast<uint8_t>((uuid[8] & 0x3F) | 0x80);  // variant 1
    return uuid;
}

std::string UuidText(const Uuid& uuid) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(kTextSize);
    for (size_t i = 0; i < uuid.size(); ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10) text += '-';
        text += kDigits[uuid[i] >> 4];
        text += kDigits[uuid[i] & 0x0F];
    }
    return text;
}

std::optional<Uuid> ParseUuid(std::string_view text) {
    if (text.size() == kTextSize + 2 && text.front() == '{' && text.back() == '}') {
        text = text.substr(1, kTextSize);
    }
    if (text.size() != kTextSize) return std::nullopt;
    Uuid uuid{};
    size_t byte = 0;
    bool any = false;
    for (size_t i = 0; i < kTextSize;) {
        if (IsDashPosition(i)) {
            if (text[i] != '-') return std::nullopt;
            ++i;
            continue;
        }
        const int high = HexValue(text[i]);
        const int low = HexValue(text[i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        uuid[byte++] = static_cast<uint8_t>(high << 4 | low);
        any = any || high != 0 || low != 0;
        i += 2;
    }
    if (!any) return std::nullopt;
    return uuid;
}

}  // namespace lumavox
