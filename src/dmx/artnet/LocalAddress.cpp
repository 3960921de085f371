#include "dmx/artnet/LocalAddress.h"

#include <cstdio>
#include <string>

#include "dmx/artnet/ArtnetPackets.h"

namespace lumavox {

LocalAddressChoice ChooseLocalAddress(const std::optional<std::vector<Ipv4Interface>>& table) {
    LocalAddressChoice choice;
    if (!table) return choice;
    for (const Ipv4Interface& entry : *table) {
        if ((entry.address >> 24) == 2) {
            choice.address = entry.address;
            if (entry.addedByUs) {
                choice.leftOver = true;
                choice.addedAddress = entry.address;
                choice.interfaceIndex = entry.interfaceIndex;
                choice.prefixLength = entry.prefixLength;
            }
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

std::string AddressRefusedWarning(const LocalAddressChoice& choice, const std::string& systemText,
                                  const std::string& interfaceName,
                                  const std::string& programPath) {
    const std::string device = interfaceName.empty() ? "<interface>" : interfaceName;
    const std::string program = programPath.empty() ? "<program>" : programPath;
    return "could not add the address " + DottedAddress(choice.addedAddress) + "/" +
           std::to_string(choice.prefixLength) + " to " + device + ": " + systemText +
           ". Art-Net output goes on without it, but the lights may not be reached (frames to " +
           DottedAddress(kArtnetBroadcast) +
           " are not sent as broadcasts on this network). Give the program the capability to "
           "add it (sudo setcap cap_net_admin+ep " +
           program + "), or add a 2.x.x.x/8 address by hand (sudo ip addr add " +
           DottedAddress(choice.addedAddress) + "/8 brd + dev " + device + ").";
}

std::string PortRefusedWarning(const std::string& systemText) {
    return "cannot open UDP port " + std::to_string(kArtnetPort) + ": " +
           (systemText.empty() ? std::string("unknown error") : systemText) +
           ". Nothing is sent over Art-Net (NET:NG). If another Art-Net program holds the "
           "port, end it and start this one again.";
}

std::string DottedAddress(uint32_t address) {
    char text[16];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", address >> 24, (address >> 16) & 0xFFu,
                  (address >> 8) & 0xFFu, address & 0xFFu);
    return text;
}

}  // namespace lumavox
