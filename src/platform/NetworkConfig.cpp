#include "platform/NetworkConfig.h"

#include <arpa/inet.h>
#include <libmnl/libmnl.h>
#include <linux/if_addr.h>
#include <linux/rtnetlink.h>
#include <net/if.h>
#include <sys/socket.h>
#include <sys/time.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <string_view>

#include "platform/UdpSocket.h"

namespace lumavox {

std::string AddedAddressLabel(const std::string& interfaceName) {
    constexpr std::string_view kSuffix = ":lvx";
    constexpr size_t kLabelChars = IFNAMSIZ - 1;
    return interfaceName.substr(0, kLabelChars - kSuffix.size()) + std::string(kSuffix);
}

std::string SystemInterfaceList::InterfaceName(int interfaceIndex) const {
    char name[IF_NAMESIZE] = {};
    if (interfaceIndex <= 0 ||
        if_indextoname(static_cast<unsigned>(interfaceIndex), name) == nullptr)
        return {};
    return name;
}

namespace {

int KeepAddressAttribute(const nlattr* attr, void* data) {
    if (mnl_attr_type_valid(attr, IFA_MAX) < 0) return MNL_CB_OK;
    static_cast<const nlattr**>(data)[mnl_attr_get_type(attr)] = attr;
    return MNL_CB_OK;
}

struct AddressDump {
    const SystemInterfaceList* list = nullptr;
    std::vector<Ipv4Interface> entries;
};

int TakeAddress(const nlmsghdr* nlh, void* data) {
    auto* dump = static_cast<AddressDump*>(data);
    const auto* ifa = static_cast<const ifaddrmsg*>(mnl_nlmsg_get_payload(nlh));
    if (ifa->ifa_family != AF_INET) return MNL_CB_OK;
    const nlattr* attrs[IFA_MAX + 1] = {};
    if (mnl_attr_parse(nlh, sizeof(ifaddrmsg), KeepAddressAttribute, attrs) < 0) return MNL_CB_OK;
    // IFA_LOCAL is the interface's own address; IFA_ADDRESS differs only on point-to-point links.
    const nlattr* local = attrs[IFA_LOCAL] != nullptr ? attrs[IFA_LOCAL] : attrs[IFA_ADDRESS];
    if (local == nullptr || mnl_attr_validate(local, MNL_TYPE_U32) < 0) return MNL_CB_OK;
    Ipv4Interface entry;
    entry.address = ntohl(mnl_attr_get_u32(local));
    entry.interfaceIndex = static_cast<int>(ifa->ifa_index);
    entry.prefixLength = ifa->ifa_prefixlen;
    const nlattr* label = attrs[IFA_LABEL];
    if (label != nullptr && mnl_attr_validate(label, MNL_TYPE_NUL_STRING) >= 0) {
        entry.addedByUs = mnl_attr_get_str(label) ==
                          AddedAddressLabel(dump->list->InterfaceName(entry.interfaceIndex));
    }
    dump->entries.push_back(entry);
    return MNL_CB_OK;
}

}  // namespace

std::optional<std::vector<Ipv4Interface>> SystemInterfaceList::Ipv4Addresses() const {
    std::vector<char> buffer(32768);
    nlmsghdr* nlh = mnl_nlmsg_put_header(buffer.data());
    nlh->nlmsg_type = RTM_GETADDR;
    nlh->nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
    const auto seq = static_cast<unsigned>(time(nullptr));
    nlh->nlmsg_seq = seq;
    auto* request = static_cast<ifaddrmsg*>(mnl_nlmsg_put_extra_header(nlh, sizeof(ifaddrmsg)));
    request->ifa_family = AF_INET;

    mnl_socket* nl = mnl_socket_open(NETLINK_ROUTE);
    if (nl == nullptr) return std::nullopt;
    timeval timeout{1, 0};
    setsockopt(mnl_socket_get_fd(nl), SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    AddressDump dump;
    dump.list = this;
    bool ok = mnl_socket_bind(nl, 0, MNL_SOCKET_AUTOPID) >= 0 &&
              mnl_socket_sendto(nl, nlh, nlh->nlmsg_len) >= 0;
    const unsigned portId = ok ? mnl_socket_get_portid(nl) : 0;
    // The dump comes in parts; the last one ends it (MNL_CB_STOP). Bounded by the receive timeout.
    while (ok) {
        const ssize_t n = mnl_socket_recvfrom(nl, buffer.data(), buffer.size());
        if (n <= 0) {
            ok = false;
            break;
        }
        const int run =
            mnl_cb_run(buffer.data(), static_cast<size_t>(n), seq, portId, TakeAddress, &dump);
        if (run < 0) ok = false;
        if (run <= MNL_CB_STOP) break;
    }
    mnl_socket_close(nl);
    if (!ok) return std::nullopt;
    return std::move(dump.entries);
}

namespace {

// Sends one RTM_NEWADDR or RTM_DELADDR request and waits for the kernel's acknowledgement.
std::string AddressRequest(uint16_t type, uint32_t address, int prefixLength, uint32_t broadcast,
                           int interfaceIndex) {
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
    mnl_attr_put_u32(nlh, IFA_LOCAL, htonl(address));
    mnl_attr_put_u32(nlh, IFA_ADDRESS, htonl(address));
    if (type == RTM_NEWADDR) {
        // The kernel routes a send to the broadcast address out of this interface, from this
        // address, only when it is the address's own broadcast address.
        mnl_attr_put_u32(nlh, IFA_BROADCAST, htonl(broadcast));
        // A later run recognises an address left behind (after SIGKILL, say) by this label.
        const std::string label =
            AddedAddressLabel(SystemInterfaceList().InterfaceName(interfaceIndex));
        mnl_attr_put_strz(nlh, IFA_LABEL, label.c_str());
    }

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

NetlinkAddressConfig::NetlinkAddressConfig(std::string ownerFolder)
    : m_owners(std::move(ownerFolder)) {}

std::string NetlinkAddressConfig::AddAddress(uint32_t address, int prefixLength, uint32_t broadcast,
                                             int interfaceIndex) {
    std::string error =
        AddressRequest(RTM_NEWADDR, address, prefixLength, broadcast, interfaceIndex);
    // A record that cannot be written leaves the address unclaimed; the port this copy holds
    // still keeps every other copy from taking it over while it runs.
    if (error.empty()) {
        m_owners.Claim(address, SystemInterfaceList().InterfaceName(interfaceIndex));
    }
    return error;
}

std::string NetlinkAddressConfig::RemoveAddress(uint32_t address, int prefixLength,
                                                int interfaceIndex) {
    const std::string name = SystemInterfaceList().InterfaceName(interfaceIndex);
    std::string error = AddressRequest(RTM_DELADDR, address, prefixLength, 0, interfaceIndex);
    // After the address: a record gone first would let another copy take the address over just
    // before it goes.
    m_owners.Release(name);
    return error;
}

bool NetlinkAddressConfig::TakeOver(uint32_t address, int interfaceIndex) {
    const std::string name = SystemInterfaceList().InterfaceName(interfaceIndex);
    if (m_owners.ClaimedByLiveProcess(address, name)) return false;
    m_owners.Claim(address, name);
    return true;
}

}  // namespace lumavox
