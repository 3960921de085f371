#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lumavox {

// One IPv4 address of the machine (host order) and the index of its interface.
struct Ipv4Interface {
    uint32_t address = 0;
    int interfaceIndex = 0;
};

// The machine's IPv4 address table, in the system's order. Any thread.
class IInterfaceList {
public:
    virtual ~IInterfaceList() = default;
    // Nothing when the table cannot be read.
    virtual std::optional<std::vector<Ipv4Interface>> Ipv4Addresses() const = 0;
};

// Adds and removes an IPv4 address on an interface. Control thread. Each returns an empty text on
// success, otherwise the system's message text.
class IAddressConfig {
public:
    virtual ~IAddressConfig() = default;
    virtual std::string AddAddress(uint32_t address, int prefixLength, int interfaceIndex) = 0;
    virtual std::string RemoveAddress(uint32_t address, int prefixLength, int interfaceIndex) = 0;
};

// getifaddrs.
class SystemInterfaceList final : public IInterfaceList {
public:
    std::optional<std::vector<Ipv4Interface>> Ipv4Addresses() const override;
};

// rtnetlink RTM_NEWADDR / RTM_DELADDR; needs CAP_NET_ADMIN, otherwise the kernel's refusal text.
class NetlinkAddressConfig final : public IAddressConfig {
public:
    std::string AddAddress(uint32_t address, int prefixLength, int interfaceIndex) override;
    std::string RemoveAddress(uint32_t address, int prefixLength, int interfaceIndex) override;
};

}  // namespace lumavox
