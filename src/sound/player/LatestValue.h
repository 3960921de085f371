#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <type_traits>

namespace lumavox {

// A latest-value mailbox (a sequence lock): one writer publishes whole values, readers on other
// threads get one complete value, the newest or the one before, without locks or waits on the
// writer. A read that meets a write under way tries again, a bounded number of times: a reader of
// higher priority on the same CPU as a preempted writer would otherwise spin until the scheduler
// happens to run the writer. After the last try the reader keeps the last complete value it had.
//
// One writer thread at a time (callers serialise writers); any number of readers. The words are
// stored with release and loaded with acquire, which orders them against the sequence number on
// both sides without separate fences.
template <class T>
class LatestValue {
    static_assert(std::is_trivially_copyable_v<T>);
    static constexpr size_t kWords = (sizeof(T) + sizeof(uint64_t) - 1) / sizeof(uint64_t);

public:
    // A write lasts a few stores, so a reader on another CPU almost never needs a second try.
    static constexpr int kMaxTries = 64;

    LatestValue() { Write(T{}); }

    void Write(const T& value) {
        std::array<uint64_t, kWords> words{};
        std::memcpy(words.data(), &value, sizeof(T));
        const uint32_t seq = m_sequence.load(std::memory_order_relaxed);
        m_sequence.store(seq + 1, std::memory_order_relaxed);  // odd: a write is under way
        for (size_t i = 0; i < kWords; ++i) m_words[i].store(words[i], std::memory_order_release);
        m_sequence.store(seq + 2, std::memory_order_release);
    }

    // Replaces value with the newest complete value and returns true; false, with value left as
    // it was, when every try met a write under way. Pass the last value read, so that it stands
    // in for the newest one.
    bool Read(T& value) const {
        std::array<uint64_t, kWords> words{};
        for (int tries = 0; tries < kMaxTries; ++tries) {
            const uint32_t before = m_sequence.load(std::memory_order_acquire);
            if (before & 1u) continue;
            for (size_t i = 0; i < kWords; ++i)
                words[i] = m_words[i].load(std::memory_order_acquire);
            if (m_sequence.load(std::memory_order_acquire) != before) continue;
            std::memcpy(static_cast<void*>(&value), words.data(), sizeof(T));
            return true;
        }
        return false;
    }

private:
    std::atomic<uint32_t> m_sequence{0};
    std::array<std::atomic<uint64_t>, kWords> m_words{};
};

}  // namespace lumavox
