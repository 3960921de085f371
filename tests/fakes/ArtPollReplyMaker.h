#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace lumavox {

// Builds the 240-byte ArtPollReply another node would send, for tests.
class ReplyMaker {
public:
    ReplyMaker(std::array<uint8_t, 4> ip, const std::string& shortName) : m_bytes(240, 0) {
        std::memcpy(m_bytes.data(), "Art-Net", 8);
        m_bytes[9] = 0x21;
        std::memcpy(m_bytes.data() + 10, ip.data(), 4);
        m_bytes[14] = 0x36;
        m_bytes[15] = 0x19;
        Text(26, 18, shortName);
        m_bytes[173] = 4;
    }
    void SetLongName(const std::string& text) { Text(44, 64, text); }
    void SetNodeReport(const std::string& text) { Text(108, 64, text); }
    void SetPort(size_t index, uint8_t type, uint8_t swIn, uint8_t swOut) {
        m_bytes[174 + index] = type;
        m_bytes[186 + index] = swIn;
        m_bytes[190 + index] = swOut;
    }
    // Net switch (byte 18), sub switch (19), bind index (211) and the like.
    void SetByte(size_t offset, uint8_t value) { m_bytes.at(offset) = value; }
    const std::vector<uint8_t>& Bytes() const { return m_bytes; }

private:
    void Text(size_t offset, size_t size, const std::string& text) {
        std::memset(m_bytes.data() + offset, 0, size);
        std::memcpy(m_bytes.data() + offset, text.data(), std::min(text.size(), size));
    }
    std::vector<uint8_t> m_bytes;
};

}  // namespace lumavox
