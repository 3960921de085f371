#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/AddressOwners.h"

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

// Adds and removes an IPv4 address on an interface, and keeps track of which running process owns
// an address labelled as this program's, so that one copy never removes another's. Control
// thread. Add and Remove return an empty text on success, otherwise the system's message text.
class IAddressConfig {
public:
    virtual ~IAddressConfig() = default;
    // Adds the address with its own broadcast address (which need not follow from the prefix),
    // labelled as this program's (AddedAddressLabel), and records this process as its owner.
    virtual std::string AddAddress(uint32_t address, int prefixLength, uint32_t broadcast,
                                   int interfaceIndex) = 0;
    // Removes the address and this process's ownership record.
    virtual std::string RemoveAddress(uint32_t address, int prefixLength, int interfaceIndex) = 0;
    // For a labelled address found on the interface: true, with this process recorded as its
    // owner, when no running process owns it (a run that was killed left it behind); false when
    // one does (it is that process's to remove).
    virtual bool TakeOver(uint32_t address, int interfaceIndex) = 0;
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
// Ownership records in `ownerFolder` (AddressOwners).
class NetlinkAddressConfig final : public IAddressConfig {
public:
    explicit NetlinkAddressConfig(std::string ownerFolder = "/tmp");
    std::string AddAddress(uint32_t address, int prefixLength, uint32_t broadcast,
                           int interfaceIndex) override;
    std::string RemoveAddress(uint32_t address, int prefixLength, int interfaceIndex) override;
    bool TakeOver(uint32_t address, int interfaceIndex) override;

private:
    AddressOwners m_owners;
};

}  // namespace lumavox
