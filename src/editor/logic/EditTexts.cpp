#include "editor/logic/EditTexts.h"

#include <cstdio>

#include "model/Msgstr.h"

namespace lumavox {

std::string LineLabelText(int line) {
    return "Line" + std::to_string(line + 1);
}

std::string ComponentText(char name, int channel) {
    if (channel < 0) return "---";
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%c%3u", name, static_cast<unsigned>(channel) & 0xFFu);
    return buffer;
}

std::string BrightnessStatusText(int brightness) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "=%4d", brightness);
    return std::string(MsgText(Msg::Brightness)) + buffer;
}

std::string SelectionStatusText(int count) {
    return std::string(MsgText(Msg::Selecting)) + "=" + std::to_string(count);
}

std::string WithoutAccessKeys(std::string_view caption) {
    std::string out;
    for (char c : caption) {
        if (c != '&') out += c;
    }
    return out;
}

}  // namespace lumavox
