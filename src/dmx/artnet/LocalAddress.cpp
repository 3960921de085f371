#include "dmx/artnet/LocalAddress.h"

#include <cstdio>

namespace lumavox {

LocalAddressChoice ChooseLocalAddress(const std::optional<std::vector<Ipv4Interface>>& table) {
    LocalAddressChoice choice;
    if (!table) return choice;
    for (const Ipv4Interface& entry : *table) {
        if ((entry.address >> 24) == 2) {
            choice.address = entry.address;
            return choice;
        }
    }
    for (const Ipv4Interface& entry : *table) {
        if (entry.address != kLoopbackAddress) {
            choice.address = entry.address;
            choice.addAddress = true;
            choice.addedAddress = (entry.address & 0x00FFFFFF) | 0x02000000;
            choice.interfaceIndex = entry.interfaceIndex;
            return choice;
        }
    }
    return choice;
}

std::string DottedAddress(uint32_t address) {
    char text[16];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", address >> 24, (address >> 16) & 0xFFu,
                  (address >> 8) & 0xFFu, address & 0xFFu);
    return text;
}

}  // namespace lumavox
