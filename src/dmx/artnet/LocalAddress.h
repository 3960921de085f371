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
    // The chosen 2.x.x.x address is one an earlier run added and left behind: it is used as it is
    // and removed at the end like an added one.
    bool leftOver = false;
    int prefixLength = kAddedPrefixLength;  // of the added or left-over address
};

// The first address in the 2.0.0.0/8 network (one of ours left behind included); otherwise the
// first address that is not 127.0.0.1, to be mirrored into 2.b.c.d on its interface; otherwise
// 127.0.0.1. Any thread.
LocalAddressChoice ChooseLocalAddress(const std::optional<std::vector<Ipv4Interface>>& table);

// The warning for a 2.x.x.x address that could not be added: the system's reason, that the lights
// may not be reached, and the two ways to mend it (the capability for `programPath`, or an address
// added by hand on `interfaceName`). Any thread.
std::string AddressRefusedWarning(const LocalAddressChoice& choice, const std::string& systemText,
                                  const std::string& interfaceName, const std::string& programPath);

// The warning for an Art-Net port that could not be opened: the system's reason (another program
// holding port 6454 gives "Address already in use"), that nothing is sent, and what to do. Any
// thread.
std::string PortRefusedWarning(const std::string& systemText);

// "a.b.c.d" from a host-order address.
std::string DottedAddress(uint32_t address);

}  // namespace lumavox
