#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumavox {

// Read-only facts about the machine's network, in the calling thread's network namespace. Any
// thread.

// The index of the interface that carries the IPv4 default route (the one of lowest metric);
// nothing without a default route.
std::optional<int> DefaultRouteInterface();
// The index of the named interface; nothing when there is none.
std::optional<int> InterfaceIndexOf(const std::string& name);
// The machine's host name; empty when it cannot be read.
std::string HostName();

// A dotted IPv4 address "a.b.c.d" of four decimal numbers 0..255, in host order; nothing for
// anything else (no shortened or octal forms).
std::optional<uint32_t> ParseIpv4Address(std::string_view text);
// A comma-separated list of such addresses (blanks around each allowed); nothing when one of
// them is not an address. An empty text is an empty list.
std::optional<std::vector<uint32_t>> ParseIpv4List(std::string_view text);

}  // namespace lumavox
