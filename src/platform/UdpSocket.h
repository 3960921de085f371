#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace lumavox {

// IPv4 addresses are passed in host order throughout (2.255.255.255 is 0x02FFFFFF).

// How multicast datagrams leave a socket.
struct MulticastOptions {
    int interfaceIndex = 0;  // 0: the interface the routing table gives the group
    int ttl = 1;             // hops: 1 keeps them on the local network
    bool loopback = true;    // receivers on this machine get a copy as well
};

// A UDP socket bound to every local address on one port. Open and Close from the owning (control)
// thread while no other thread uses the socket; SendTo and Receive from any thread while it is
// open (the kernel serialises datagram sends).
class IUdpSocket {
public:
    virtual ~IUdpSocket() = default;
    // Binds 0.0.0.0:port, without address reuse (a port another program holds is an error), with
    // broadcast permission. On failure the socket stays closed and error holds the system's text.
    virtual bool Open(uint16_t port, std::string& error) = 0;
    virtual void Close() = 0;
    // Sets how multicast datagrams are sent, on an open socket; false with the system's text in
    // error when the system refuses (an interface that has gone, say). Sockets that never send
    // to a group need not do anything.
    virtual bool SetMulticast(const MulticastOptions& options, std::string& error) {
        (void)options;
        (void)error;
        return true;
    }
    // Send errors are the caller's to ignore; false when the datagram was not sent.
    virtual bool SendTo(uint32_t address, uint16_t port, std::span<const uint8_t> bytes) = 0;
    // Never blocks: the size of one waiting datagram (copied into buffer, cut to its size), or
    // nothing when none is waiting.
    virtual std::optional<size_t> Receive(std::span<uint8_t> buffer) = 0;
};

// The POSIX socket. Control thread opens and closes; any thread sends and receives.
class PosixUdpSocket final : public IUdpSocket {
public:
    PosixUdpSocket() = default;
    ~PosixUdpSocket() override;
    PosixUdpSocket(const PosixUdpSocket&) = delete;
    PosixUdpSocket& operator=(const PosixUdpSocket&) = delete;

    bool Open(uint16_t port, std::string& error) override;
    void Close() override;
    bool SetMulticast(const MulticastOptions& options, std::string& error) override;
    bool SendTo(uint32_t address, uint16_t port, std::span<const uint8_t> bytes) override;
    std::optional<size_t> Receive(std::span<uint8_t> buffer) override;

private:
    // Written only by Open/Close, which run while no other thread uses the socket; relaxed is
    // enough because starting and stopping those threads orders the accesses.
    std::atomic<int> m_fd{-1};
};

// The system's message text for an errno value.
std::string SystemErrorText(int errorNumber);

}  // namespace lumavox
