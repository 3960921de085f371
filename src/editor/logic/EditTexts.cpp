#include "editor/logic/EditTexts.h"

#include <cstdio>

#include "model/Msgstr.h"

namespace lumavox {

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

}  // namespace lumavox
