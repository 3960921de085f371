#pragma once

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "platform/UdpSocket.h"

namespace lumavox {

struct SentDatagram {
    uint32_t address = 0;
    uint16_t port = 0;
    std::vector<uint8_t> bytes;
};

// Records every datagram sent and hands out datagrams the test injects. Any thread.
class FakeUdpSocket final : public IUdpSocket {
public:
    explicit FakeUdpSocket(bool openSucceeds = true) : m_openSucceeds(openSucceeds) {}

    bool Open(uint16_t port, std::string& error) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_port = port;
        if (!m_openSucceeds) error = "Address already in use";
        m_open = m_openSucceeds;
        return m_openSucceeds;
    }
    void Close() override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_open = false;
        ++m_closeCount;
    }
    bool SendTo(uint32_t address, uint16_t port, std::span<const uint8_t> bytes) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_open) return false;
        m_sent.push_back({address, port, {bytes.begin(), bytes.end()}});
        m_changed.notify_all();
        return true;
    }
    std::optional<size_t> Receive(std::span<uint8_t> buffer) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_open || m_inbox.empty()) return std::nullopt;
        const std::vector<uint8_t> d = std::move(m_inbox.front());
        m_inbox.pop_front();
        const size_t n = std::min(d.size(), buffer.size());
        std::copy_n(d.begin(), n, buffer.begin());
        m_changed.notify_all();
        return n;
    }

    void Inject(std::vector<uint8_t> datagram) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_inbox.push_back(std::move(datagram));
    }
    std::vector<SentDatagram> Sent() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_sent;
    }
    std::vector<SentDatagram> TakeSent() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return std::exchange(m_sent, {});
    }
    // Waits until pred(sent datagrams) holds, at most `bound`.
    template <class Pred>
    bool WaitForSent(Pred pred, std::chrono::milliseconds bound) {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_changed.wait_for(lock, bound, [&] { return pred(m_sent); });
    }
    bool InboxEmpty() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_inbox.empty();
    }
    bool IsOpen() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_open;
    }
    uint16_t Port() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_port;
    }

private:
    const bool m_openSucceeds;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_open = false;
    uint16_t m_port = 0;
    int m_closeCount = 0;
    std::vector<SentDatagram> m_sent;
    std::deque<std::vector<uint8_t>> m_inbox;
};

}  // namespace lumavox
