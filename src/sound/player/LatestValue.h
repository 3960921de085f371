#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <type_traits>

namespace lumavox {

// A latest-value mailbox (a sequence lock): one writer publishes whole values, readers on other
// threads always get one complete value, the newest or the one before, without locks or waits on
// the writer. Read retries while a write is under way, which lasts a few stores.
//
// One writer thread at a time (callers serialise writers); any number of readers. The words are
// stored with release and loaded with acquire, which orders them against the sequence number on
// both sides without separate fences.
template <class T>
class LatestValue {
    static_assert(std::is_trivially_copyable_v<T>);
    static constexpr size_t kWords = (sizeof(T) + sizeof(uint64_t) - 1) / sizeof(uint64_t);

public:
    LatestValue() { Write(T{}); }

    void Write(const T& value) {
        std::array<uint64_t, kWords> words{};
        std::memcpy(words.data(), &value, sizeof(T));
        const uint32_t seq = m_sequence.load(std::memory_order_relaxed);
        m_sequence.store(seq + 1, std::memory_order_relaxed);  // odd: a write is under way
        for (size_t i = 0; i < kWords; ++i) m_words[i].store(words[i], std::memory_order_release);
        m_sequence.store(seq + 2, std::memory_order_release);
    }

    T Read() const {
        std::array<uint64_t, kWords> words{};
        for (;;) {
            const uint32_t before = m_sequence.load(std::memory_order_acquire);
            if (before & 1u) continue;
            for (size_t i = 0; i < kWords; ++i)
                words[i] = m_words[i].load(std::memory_order_acquire);
            if (m_sequence.load(std::memory_order_acquire) == before) break;
        }
        T value{};
        std::memcpy(static_cast<void*>(&value), words.data(), sizeof(T));
        return value;
    }

private:
    std::atomic<uint32_t> m_sequence{0};
    std::array<std::atomic<uint64_t>, kWords> m_words{};
};

}  // namespace lumavox
