#pragma once

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

#include "platform/UsbTransport.h"

namespace lumavox {

// Records the packet sequence written to a pretend USB DMX interface. Reads answer from a script
// (-1 once it is used up); writes report the whole packet unless the script says otherwise.
// Any thread.
class FakeUsbTransport final : public IUsbTransport {
public:
    struct Transfer {
        std::vector<uint8_t> bytes;
        uint32_t timeoutMs = 0;
    };

    explicit FakeUsbTransport(bool present = true) : m_present(present) {}

    bool Open(uint16_t vendorId, uint16_t productId) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_vendorId = vendorId;
        m_productId = productId;
        m_open = m_present;
        return m_present;
    }
    int Write(std::span<const uint8_t> bytes, uint32_t timeoutMs) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_writes.push_back({{bytes.begin(), bytes.end()}, timeoutMs});
        m_changed.notify_all();
        if (!m_writeResults.empty()) {
            const int r = m_writeResults.front();
            m_writeResults.pop_front();
            return r;
        }
        return static_cast<int>(bytes.size());
    }
    int Read(std::span<uint8_t> buffer, uint32_t timeoutMs) override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_readTimeouts.push_back(timeoutMs);
        if (m_reads.empty()) return -1;
        const std::optional<std::vector<uint8_t>> r = std::move(m_reads.front());
        m_reads.pop_front();
        if (!r) return -1;
        const size_t n = std::min(r->size(), buffer.size());
        std::copy_n(r->begin(), n, buffer.begin());
        return static_cast<int>(n);
    }
    void Close() override {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_open = false;
        ++m_closeCount;
    }

    void ScriptRead(std::optional<std::vector<uint8_t>> answer) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_reads.push_back(std::move(answer));
    }
    void ScriptWrite(int result) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_writeResults.push_back(result);
    }
    std::vector<Transfer> Writes() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_writes;
    }
    std::vector<Transfer> TakeWrites() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return std::exchange(m_writes, {});
    }
    std::vector<uint32_t> ReadTimeouts() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_readTimeouts;
    }
    bool WaitForWrites(size_t count, std::chrono::milliseconds bound) {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_changed.wait_for(lock, bound, [&] { return m_writes.size() >= count; });
    }
    int CloseCount() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_closeCount;
    }
    uint16_t VendorId() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_vendorId;
    }
    uint16_t ProductId() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_productId;
    }

private:
    const bool m_present;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_open = false;
    int m_closeCount = 0;
    uint16_t m_vendorId = 0;
    uint16_t m_productId = 0;
    std::deque<std::optional<std::vector<uint8_t>>> m_reads;
    std::deque<int> m_writeResults;
    std::vector<uint32_t> m_readTimeouts;
    std::vector<Transfer> m_writes;
};

}  // namespace lumavox
