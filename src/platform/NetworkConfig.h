#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lumavox {

// One IPv4 address of the machine (host order), the index of its interface, its prefix length,
// and whether it carries the label this program gives the addresses it adds (one left behind by a
// run that was killed).
struct Ipv4Interface {
    uint32_t address = 0;
    int interfaceIndex = 0;
    int prefixLength = 32;
    bool addedByUs = false;
};

// The machine's IPv4 address table, in the system's order. Any thread.
class IInterfaceList {
public:
    virtual ~IInterfaceList() = default;
    // Nothing when the table cannot be read.
    virtual std::optional<std::vector<Ipv4Interface>> Ipv4Addresses() const = 0;
    // The interface's name ("eth0"); empty when there is no such interface.
    virtual std::string InterfaceName(int interfaceIndex) const = 0;
};

// Adds and removes an IPv4 address on an interface. Control thread. Each returns an empty text on
// success, otherwise the system's message text.
class IAddressConfig {
public:
    virtual ~IAddressConfig() = default;
    // Adds the address with its own broadcast address (which need not follow from the prefix),
    // labelled as this program's (AddedAddressLabel).
    virtual std::string AddAddress(uint32_t address, int prefixLength, uint32_t broadcast,
                                   int interfaceIndex) = 0;
    virtual std::string RemoveAddress(uint32_t address, int prefixLength, int interfaceIndex) = 0;
};

// The label of an address this program adds on the named interface: "<name>:lvx", the name cut
// so that the label fits the kernel's 15 characters.
std::string AddedAddressLabel(const std::string& interfaceName);

// rtnetlink RTM_GETADDR.
class SystemInterfaceList final : public IInterfaceList {
public:
    std::optional<std::vector<Ipv4Interface>> Ipv4Addresses() const override;
    std::string InterfaceName(int interfaceIndex) const override;
};

// rtnetlink RTM_NEWADDR / RTM_DELADDR; needs CAP_NET_ADMIN, otherwise the kernel's refusal text.
class NetlinkAddressConfig final : public IAddressConfig {
public:
    std::string AddAddress(uint32_t address, int prefixLength, uint32_t broadcast,
                           int interfaceIndex) override;
    std::string RemoveAddress(uint32_t address, int prefixLength, int interfaceIndex) override;
};

}  // namespace lumavox
