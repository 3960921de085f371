#include "platform/NetworkConfig.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <libmnl/libmnl.h>
#include <linux/if_addr.h>
#include <linux/rtnetlink.h>
#include <net/if.h>
#include <sys/socket.h>
#include <sys/time.h>

#include <cerrno>
#include <cstring>
#include <ctime>

#include "platform/UdpSocket.h"

namespace lumavox {

std::optional<std::vector<Ipv4Interface>> SystemInterfaceList::Ipv4Addresses() const {
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return std::nullopt;
    std::vector<Ipv4Interface> out;
    for (const ifaddrs* a = list; a != nullptr; a = a->ifa_next) {
        if (a->ifa_addr == nullptr || a->ifa_addr->sa_family != AF_INET) continue;
        sockaddr_in in{};
        std::memcpy(&in, a->ifa_addr, sizeof in);
        // Secondary addresses carry a label such as "eth0:1"; the index is the device's.
        std::string device = a->ifa_name;
        device = device.substr(0, device.find(':'));
        out.push_back(
            {ntohl(in.sin_addr.s_addr), static_cast<int>(if_nametoindex(device.c_str()))});
    }
    freeifaddrs(list);
    return out;
}

namespace {

// Sends one RTM_NEWADDR or RTM_DELADDR request and waits for the kernel's acknowledgement.
std::string AddressRequest(uint16_t type, uint32_t address, int prefixLength, int interfaceIndex) {
    alignas(nlmsghdr) char buffer[8192];
    nlmsghdr* nlh = mnl_nlmsg_put_header(buffer);
    nlh->nlmsg_type = type;
    nlh->nlmsg_flags = NLM_F_REQUEST | NLM_F_ACK;
    if (type == RTM_NEWADDR) nlh->nlmsg_flags |= NLM_F_CREATE | NLM_F_EXCL;
    const auto seq = static_cast<unsigned>(time(nullptr));
    nlh->nlmsg_seq = seq;
    auto* ifa = static_cast<ifaddrmsg*>(mnl_nlmsg_put_extra_header(nlh, sizeof(ifaddrmsg)));
    ifa->ifa_family = AF_INET;
    ifa->ifa_prefixlen = static_cast<unsigned char>(prefixLength);
    ifa->ifa_flags = IFA_F_PERMANENT;
    ifa->ifa_scope = RT_SCOPE_UNIVERSE;
    ifa->ifa_index = static_cast<unsigned>(interfaceIndex);
    const uint32_t mask = prefixLength <= 0 ? 0u : ~0u << (32 - prefixLength);
    mnl_attr_put_u32(nlh, IFA_LOCAL, htonl(address));
    mnl_attr_put_u32(nlh, IFA_ADDRESS, htonl(address));
    if (type == RTM_NEWADDR) mnl_attr_put_u32(nlh, IFA_BROADCAST, htonl(address | ~mask));

    mnl_socket* nl = mnl_socket_open(NETLINK_ROUTE);
    if (nl == nullptr) return SystemErrorText(errno);
    std::string result;
    // The kernel always acknowledges; the timeout only guards against a wedged netlink socket.
    timeval timeout{1, 0};
    setsockopt(mnl_socket_get_fd(nl), SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    if (mnl_socket_bind(nl, 0, MNL_SOCKET_AUTOPID) < 0 ||
        mnl_socket_sendto(nl, nlh, nlh->nlmsg_len) < 0) {
        result = SystemErrorText(errno);
    } else {
        const unsigned portId = mnl_socket_get_portid(nl);
        const ssize_t n = mnl_socket_recvfrom(nl, buffer, sizeof buffer);
        if (n < 0 ||
            mnl_cb_run(buffer, static_cast<size_t>(n), seq, portId, nullptr, nullptr) < 0) {
            result = SystemErrorText(errno);
        }
    }
    mnl_socket_close(nl);
    return result;
}

}  // namespace

std::string NetlinkAddressConfig::AddAddress(uint32_t address, int prefixLength,
                                             int interfaceIndex) {
    return AddressRequest(RTM_NEWADDR, address, prefixLength, interfaceIndex);
}

std::string NetlinkAddressConfig::RemoveAddress(uint32_t address, int prefixLength,
                                                int interfaceIndex) {
    return AddressRequest(RTM_DELADDR, address, prefixLength, interfaceIndex);
}

}  // namespace lumavox
