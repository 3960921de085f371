#include "dmx/usb/UsbDmxDevice.h"

#include <cstring>
#include <span>

namespace lumavox {
namespace {

constexpr int kDrainAttempts = 20;
constexpr int kKelpPackets = 16;
constexpr int kOtherPackets = 8;

}  // namespace

std::array<uint8_t, kUsbHeaderSize> UsbDmxHeader(bool flag10, bool flag20) {
    std::array<uint8_t, kUsbHeaderSize> header{};
    header[4] = static_cast<uint8_t>((flag10 ? 0x10 : 0) | (flag20 ? 0x20 : 0));
    return header;
}

bool OpenUsbDmxDevice(IUsbTransport& transport, uint16_t vendorId, uint16_t productId) {
    if (!transport.Open(vendorId, productId)) return false;
    std::array<uint8_t, kUsbPacketSize> buffer{};
    for (int attempt = 0; attempt < kDrainAttempts; ++attempt) {
        buffer.fill(0);
        if (transport.Read(buffer, kUsbReadTimeoutMs) != static_cast<int>(kUsbHeaderSize)) {
            continue;
        }
        // The 8 header bytes as a zero-terminated text (an unterminated one is cut at 8).
        const char* text = reinterpret_cast<const char*>(buffer.data());
        const bool kelp = strnlen(text, kUsbHeaderSize) == 5 && std::memcmp(text, "KELP5", 5) == 0;
        const int further = kelp ? kKelpPackets : kOtherPackets;
        for (int i = 0; i < further; ++i) transport.Read(buffer, kUsbReadTimeoutMs);
        break;
    }
    return true;
}

void WriteUsbDmxFrame(IUsbTransport& transport, const std::array<uint8_t, kUsbHeaderSize>& header,
                      bool sendData, const DmxFrame& frame) {
    if (transport.Write(header, kUsbWriteTimeoutMs) != static_cast<int>(kUsbHeaderSize)) return;
    if (!sendData) return;
    for (int n = 0; n < kUsbPacketsPerFrame; ++n) {
        const std::span<const uint8_t> packet(
            frame.data() + static_cast<size_t>(n) * kUsbPacketSize, kUsbPacketSize);
        const int written = transport.Write(packet, kUsbWriteTimeoutMs);
        if (written >= 0 && written < static_cast<int>(kUsbPacketSize)) return;
    }
}

}  // namespace lumavox
