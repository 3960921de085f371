#include "platform/NetworkInfo.h"

#include <net/if.h>
#include <unistd.h>

#include <charconv>
#include <climits>
#include <fstream>
#include <sstream>

namespace lumavox {

std::optional<int> DefaultRouteInterface() {
    // The thread's own view: the output threads and the tests may live in another namespace than
    // the process's first thread.
    std::ifstream routes("/proc/thread-self/net/route");
    std::string line;
    std::getline(routes, line);  // the header
    std::optional<int> best;
    unsigned long bestMetric = ULONG_MAX;
    while (std::getline(routes, line)) {
        std::istringstream fields(line);
        std::string name, destination, gateway, flags, refCount, use, metric, mask;
        if (!(fields >> name >> destination >> gateway >> flags >> refCount >> use >> metric >>
              mask)) {
            continue;
        }
        if (destination != "00000000" || mask != "00000000") continue;
        const unsigned long value = std::strtoul(metric.c_str(), nullptr, 10);
        const std::optional<int> index = InterfaceIndexOf(name);
        if (index && (!best || value < bestMetric)) {
            best = index;
            bestMetric = value;
        }
    }
    return best;
}

std::optional<int> InterfaceIndexOf(const std::string& name) {
    if (name.empty() || name.size() >= IF_NAMESIZE) return std::nullopt;
    const unsigned index = if_nametoindex(name.c_str());
    if (index == 0 || index > INT_MAX) return std::nullopt;
    return static_cast<int>(index);
}

std::string HostName() {
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0) return {};
    return name;
}

std::optional<uint32_t> ParseIpv4Address(std::string_view text) {
    uint32_t address = 0;
    const char* p = text.data();
    const char* end = p + text.size();
    for (int part = 0; part < 4; ++part) {
        if (part > 0) {
            if (p == end || *p != '.') return std::nullopt;
            ++p;
        }
        if (p == end || *p < '0' || *p > '9') return std::nullopt;
        // One to three digits, no leading zero (which some readers take as octal).
        if (*p == '0' && p + 1 != end && p[1] >= '0' && p[1] <= '9') return std::nullopt;
        unsigned value = 0;
        const auto result = std::from_chars(p, end, value);
        if (result.ec != std::errc() || value > 255 || result.ptr - p > 3) return std::nullopt;
        address = address << 8 | value;
        p = result.ptr;
    }
    if (p != end) return std::nullopt;
    return address;
}

std::optional<std::vector<uint32_t>> ParseIpv4List(std::string_view text) {
    std::vector<uint32_t> addresses;
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    const auto notBlank = text.find_first_not_of(" \t");
    if (notBlank == std::string_view::npos) return addresses;
    while (true) {
        const size_t comma = text.find(',');
        std::string_view item = text.substr(0, comma);
        while (!item.empty() && isBlank(item.front())) item.remove_prefix(1);
        while (!item.empty() && isBlank(item.back())) item.remove_suffix(1);
        const std::optional<uint32_t> address = ParseIpv4Address(item);
        if (!address) return std::nullopt;
        addresses.push_back(*address);
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    return addresses;
}

}  // namespace lumavox
