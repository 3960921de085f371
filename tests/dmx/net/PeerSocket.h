#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

namespace lumavox {

// A datagram as another Art-Net node sees it: its bytes, the address it was sent to and the
// monotonic time it arrived.
struct PeerDatagram {
    std::vector<uint8_t> bytes;
    uint32_t destination = 0;  // host order, from IP_PKTINFO
    std::chrono::steady_clock::time_point arrival;
};

// A UDP socket bound to 0.0.0.0:port in whatever namespace the thread that opens it is in. Test
// helper; one thread at a time.
class PeerSocket {
public:
    explicit PeerSocket(uint16_t port) {
        m_fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        const int on = 1;
        setsockopt(m_fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        setsockopt(m_fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
        setsockopt(m_fd, IPPROTO_IP, IP_PKTINFO, &on, sizeof on);
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_port = htons(port);
        m_bound = bind(m_fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) == 0;
    }
    ~PeerSocket() {
        if (m_fd >= 0) close(m_fd);
    }
    PeerSocket(const PeerSocket&) = delete;
    PeerSocket& operator=(const PeerSocket&) = delete;

    bool Bound() const { return m_bound; }
    std::optional<int> Fd() const { return m_fd >= 0 ? std::optional<int>(m_fd) : std::nullopt; }

    bool SendTo(uint32_t address, uint16_t port, const std::vector<uint8_t>& bytes) {
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(port);
        to.sin_addr.s_addr = htonl(address);
        return sendto(m_fd, bytes.data(), bytes.size(), 0, reinterpret_cast<const sockaddr*>(&to),
                      sizeof to) == static_cast<ssize_t>(bytes.size());
    }

    // The next datagram within the bound, or nothing.
    std::optional<PeerDatagram> Receive(std::chrono::milliseconds bound) {
        pollfd p{m_fd, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(bound.count())) <= 0) return std::nullopt;
        PeerDatagram d;
        d.bytes.resize(2048);
        iovec io{d.bytes.data(), d.bytes.size()};
        alignas(cmsghdr) char control[256];
        msghdr msg{};
        msg.msg_iov = &io;
        msg.msg_iovlen = 1;
        msg.msg_control = control;
        msg.msg_controllen = sizeof control;
        const ssize_t n = recvmsg(m_fd, &msg, 0);
        d.arrival = std::chrono::steady_clock::now();
        if (n < 0) return std::nullopt;
        d.bytes.resize(static_cast<size_t>(n));
        for (cmsghdr* c = CMSG_FIRSTHDR(&msg); c != nullptr; c = CMSG_NXTHDR(&msg, c)) {
            if (c->cmsg_level == IPPROTO_IP && c->cmsg_type == IP_PKTINFO) {
                in_pktinfo info{};
                std::memcpy(&info, CMSG_DATA(c), sizeof info);
                d.destination = ntohl(info.ipi_addr.s_addr);
            }
        }
        return d;
    }

    // Receives until pred(datagram) holds or the bound passes.
    template <class Pred>
    std::optional<PeerDatagram> ReceiveUntil(Pred pred, std::chrono::milliseconds bound) {
        const auto end = std::chrono::steady_clock::now() + bound;
        while (true) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                end - std::chrono::steady_clock::now());
            if (left.count() <= 0) return std::nullopt;
            auto d = Receive(left);
            if (d && pred(*d)) return d;
        }
    }

private:
    int m_fd = -1;
    bool m_bound = false;
};

inline uint16_t OpcodeOf(const PeerDatagram& d) {
    return d.bytes.size() >= 10 ? static_cast<uint16_t>(d.bytes[8] | d.bytes[9] << 8) : 0;
}

}  // namespace lumavox
