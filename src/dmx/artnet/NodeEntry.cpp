#include "dmx/artnet/NodeEntry.h"

#include <cstdio>

namespace lumavox {

std::string NodeListLine(const NodeEntry& entry) {
    char line[128];
    std::snprintf(line, sizeof line, "%s%3u.%3u.%3u.%3u : %s", entry.matchMark != 0 ? "*" : " ",
                  unsigned{entry.address[0]}, unsigned{entry.address[1]},
                  unsigned{entry.address[2]}, unsigned{entry.address[3]}, entry.shortName.data());
    return line;
}

std::string NodeAddressText(const NodeEntry& entry) {
    char text[32];
    std::snprintf(text, sizeof text, "%3u.%3u.%3u.%3u", unsigned{entry.address[0]},
                  unsigned{entry.address[1]}, unsigned{entry.address[2]},
                  unsigned{entry.address[3]});
    return text;
}

std::string NodePortCellText(const NodeEntry& entry, int port, bool input) {
    if (port < 0 || port > 3) return {};
    const auto index = static_cast<size_t>(port);
    const uint8_t type = entry.portTypes[index];
    if ((type & (input ? 0x40 : 0x80)) == 0) return {};
    const unsigned universe = input ? entry.swIn[index] : entry.swOut[index];
    char text[16];
    std::snprintf(text, sizeof text, "%X : %X", (universe >> 4) & 0xFu, universe & 0xFu);
    return text;
}

}  // namespace lumavox
