#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/NetworkConfig.h"

namespace lumavox {

inline constexpr uint32_t kLoopbackAddress = 0x7F000001;  // 127.0.0.1
inline constexpr uint32_t kArtnetBroadcast = 0x02FFFFFF;  // 2.255.255.255
inline constexpr int kAddedPrefixLength = 24;             // mask 255.255.255.0

// Which address the program announces, and whether a 2.x.x.x address has to be added for it.
struct LocalAddressChoice {
    uint32_t address = kLoopbackAddress;  // host order
    bool addAddress = false;
    uint32_t addedAddress = 0;  // the chosen address with its first octet replaced by 2
    int interfaceIndex = 0;     // where to add it
};

// The first address in the 2.0.0.0/8 network; otherwise the first address that is not 127.0.0.1,
// to be mirrored into 2.b.c.d on its interface; otherwise 127.0.0.1. Any thread.
LocalAddressChoice ChooseLocalAddress(const std::optional<std::vector<Ipv4Interface>>& table);

// "a.b.c.d" from a host-order address.
std::string DottedAddress(uint32_t address);

}  // namespace lumavox
