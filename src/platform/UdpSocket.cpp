#include "platform/UdpSocket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace lumavox {

std::string SystemErrorText(int errorNumber) {
    char buffer[256] = {};
    // GNU strerror_r returns the text, which may or may not be the buffer.
    return strerror_r(errorNumber, buffer, sizeof buffer);
}

PosixUdpSocket::~PosixUdpSocket() {
    Close();
}

bool PosixUdpSocket::Open(uint16_t port, std::string& error) {
    Close();
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        error = SystemErrorText(errno);
        return false;
    }
    const int on = 1;
    // Broadcast permission is needed before Linux sends to a broadcast address. No address reuse:
    // with two programs on the port, replies sent to this machine would reach only one of them, so
    // the second one gets the bind error and shows the output as not ready instead.
    if (setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0) {
        error = SystemErrorText(errno);
        ::close(fd);
        return false;
    }
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(port);
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    if (bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        error = SystemErrorText(errno);
        ::close(fd);
        return false;
    }
    m_fd.store(fd, std::memory_order_relaxed);
    return true;
}

void PosixUdpSocket::Close() {
    const int fd = m_fd.exchange(-1, std::memory_order_relaxed);
    if (fd >= 0) ::close(fd);
}

bool PosixUdpSocket::SetMulticast(const MulticastOptions& options, std::string& error) {
    const int fd = m_fd.load(std::memory_order_relaxed);
    if (fd < 0) {
        error = SystemErrorText(EBADF);
        return false;
    }
    ip_mreqn outgoing{};
    outgoing.imr_ifindex = options.interfaceIndex;
    const int ttl = options.ttl;
    const unsigned char loop = options.loopback ? 1 : 0;
    if (setsockopt(fd, IPPROTO_IP, IP_MULTICAST_IF, &outgoing, sizeof outgoing) != 0 ||
        setsockopt(fd, IPPROTO_IP, IP_MULTICAST_TTL, &ttl, sizeof ttl) != 0 ||
        setsockopt(fd, IPPROTO_IP, IP_MULTICAST_LOOP, &loop, sizeof loop) != 0) {
        error = SystemErrorText(errno);
        return false;
    }
    return true;
}

bool PosixUdpSocket::SendTo(uint32_t address, uint16_t port, std::span<const uint8_t> bytes) {
    const int fd = m_fd.load(std::memory_order_relaxed);
    if (fd < 0) return false;
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = htonl(address);
    const ssize_t sent = sendto(fd, bytes.data(), bytes.size(), MSG_DONTWAIT | MSG_NOSIGNAL,
                                reinterpret_cast<const sockaddr*>(&to), sizeof to);
    return sent == static_cast<ssize_t>(bytes.size());
}

std::optional<size_t> PosixUdpSocket::Receive(std::span<uint8_t> buffer) {
    const int fd = m_fd.load(std::memory_order_relaxed);
    if (fd < 0) return std::nullopt;
    const ssize_t n = recv(fd, buffer.data(), buffer.size(), MSG_DONTWAIT);
    if (n < 0) return std::nullopt;
    return static_cast<size_t>(n);  // a longer datagram is cut to the buffer (MSG_TRUNC unset)
}

}  // namespace lumavox
