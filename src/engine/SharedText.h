#pragma once

#include <array>
#include <cstring>
#include <mutex>
#include <string>
#include <string_view>

namespace lumavox {

// A short text shared between threads and always exchanged whole: a reader never sees half of an
// old and half of a new value. Any thread. The lock is held only for a copy of at most
// kCapacity bytes, never across other work, and Set/Equals do not allocate (the tick uses them).
class SharedText {
public:
    static constexpr size_t kCapacity = 255;  // longer texts are cut at a UTF-8 character boundary

    void Set(std::string_view text) {
        size_t n = text.size() < kCapacity ? text.size() : kCapacity;
        while (n > 0 && n < text.size() && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) {
            --n;  // do not split a multi-byte character
        }
        std::lock_guard<std::mutex> lock(m_mutex);
        if (n > 0) std::memcpy(m_text.data(), text.data(), n);  // data() may be null when empty
        m_size = n;
    }
    std::string Get() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return std::string(m_text.data(), m_size);
    }
    bool Equals(std::string_view other) const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return std::string_view(m_text.data(), m_size) == other;
    }
    bool Empty() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_size == 0;
    }

private:
    mutable std::mutex m_mutex;
    std::array<char, kCapacity> m_text{};
    size_t m_size = 0;
};

// A file path shared between threads, exchanged whole and kept at any length (paths with
// multi-byte names pass 255 bytes easily). Set and Get allocate: the tick reads it only while it
// handles an open request. Any thread.
class SharedPath {
public:
    void Set(std::string_view path) {
        std::string copy(path);
        std::lock_guard<std::mutex> lock(m_mutex);
        m_path.swap(copy);
    }
    std::string Get() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_path;
    }

private:
    mutable std::mutex m_mutex;
    std::string m_path;
};

}  // namespace lumavox
