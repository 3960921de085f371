#pragma once

// A sACN receiver for tests and benchmarks: a UDP socket on port 5568 in whatever namespace the
// thread that makes it is in, joined to the groups of the universes it is given on one interface,
// reporting for each datagram its destination address, TTL and kernel arrival time, and the
// fields of a data or sync packet read at their fixed offsets.

#include <arpa/inet.h>
#include <net/if.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "dmx/sacn/SacnPackets.h"

namespace lumavox {

struct SacnDatagram {
    std::vector<uint8_t> bytes;
    uint32_t destination = 0;  // host order
    int ttl = -1;
    double kernelMs = 0;  // SO_TIMESTAMPNS, CLOCK_REALTIME: only differences mean anything

    bool IsData() const { return bytes.size() == kSacnDataSize; }
    bool IsSync() const { return bytes.size() == kSacnSyncSize; }
    uint16_t Be16(size_t at) const { return static_cast<uint16_t>(bytes[at] << 8 | bytes[at + 1]); }
    uint16_t Universe() const { return Be16(kSacnUniverseOffset); }
    uint8_t Sequence() const {
        return IsData() ? bytes[kSacnSequenceOffset] : bytes[kSacnSyncSequenceOffset];
    }
    bool Terminated() const {
        return IsData() && (bytes[kSacnOptionsOffset] & kSacnOptionTerminated) != 0;
    }
    std::array<uint8_t, 512> Slots() const {
        std::array<uint8_t, 512> slots{};
        if (IsData()) std::memcpy(slots.data(), bytes.data() + kSacnSlotsOffset, slots.size());
        return slots;
    }
};

class SacnReceiver {
public:
    // Joins the groups of `universes` on `interfaceName` (none: unicast only).
    SacnReceiver(const std::string& interfaceName, const std::vector<uint16_t>& universes) {
        m_fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        const int on = 1;
        setsockopt(m_fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        setsockopt(m_fd, IPPROTO_IP, IP_PKTINFO, &on, sizeof on);
        setsockopt(m_fd, IPPROTO_IP, IP_RECVTTL, &on, sizeof on);
        setsockopt(m_fd, SOL_SOCKET, SO_TIMESTAMPNS, &on, sizeof on);
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_port = htons(kSacnPort);
        m_ok = bind(m_fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) == 0;
        for (const uint16_t universe : universes) {
            ip_mreqn group{};
            group.imr_multiaddr.s_addr = htonl(SacnMulticastAddress(universe));
            group.imr_ifindex = static_cast<int>(if_nametoindex(interfaceName.c_str()));
            m_ok =
                m_ok && setsockopt(m_fd, IPPROTO_IP, IP_ADD_MEMBERSHIP, &group, sizeof group) == 0;
        }
    }
    ~SacnReceiver() {
        if (m_fd >= 0) close(m_fd);
    }
    SacnReceiver(const SacnReceiver&) = delete;
    SacnReceiver& operator=(const SacnReceiver&) = delete;

    bool Ok() const { return m_ok; }

    // The next datagram within the bound, or nothing.
    std::optional<SacnDatagram> Receive(std::chrono::milliseconds bound) {
        pollfd p{m_fd, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(bound.count())) <= 0) return std::nullopt;
        SacnDatagram d;
        d.bytes.resize(2048);
        iovec io{d.bytes.data(), d.bytes.size()};
        alignas(cmsghdr) char control[512];
        msghdr msg{};
        msg.msg_iov = &io;
        msg.msg_iovlen = 1;
        msg.msg_control = control;
        msg.msg_controllen = sizeof control;
        const ssize_t n = recvmsg(m_fd, &msg, 0);
        if (n < 0) return std::nullopt;
        d.bytes.resize(static_cast<size_t>(n));
        for (cmsghdr* c = CMSG_FIRSTHDR(&msg); c != nullptr; c = CMSG_NXTHDR(&msg, c)) {
            if (c->cmsg_level == IPPROTO_IP && c->cmsg_type == IP_PKTINFO) {
                in_pktinfo info{};
                std::memcpy(&info, CMSG_DATA(c), sizeof info);
                d.destination = ntohl(info.ipi_addr.s_addr);
            } else if (c->cmsg_level == IPPROTO_IP && c->cmsg_type == IP_TTL) {
                std::memcpy(&d.ttl, CMSG_DATA(c), sizeof d.ttl);
            } else if (c->cmsg_level == SOL_SOCKET && c->cmsg_type == SCM_TIMESTAMPNS) {
                timespec ts{};
                std::memcpy(&ts, CMSG_DATA(c), sizeof ts);
                d.kernelMs =
                    static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
            }
        }
        return d;
    }

    // Datagrams until `count` arrived or the bound passed.
    std::vector<SacnDatagram> ReceiveSome(size_t count, std::chrono::milliseconds bound) {
        std::vector<SacnDatagram> all;
        const auto end = std::chrono::steady_clock::now() + bound;
        while (all.size() < count) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                end - std::chrono::steady_clock::now());
            if (left.count() <= 0) break;
            if (auto d = Receive(left)) all.push_back(std::move(*d));
        }
        return all;
    }

private:
    int m_fd = -1;
    bool m_ok = false;
};

}  // namespace lumavox
