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

}  // namespace lumavox
