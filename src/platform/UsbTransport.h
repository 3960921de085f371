#pragma once

#include <cstdint>
#include <span>

namespace lumavox {

// Bulk transfers to one USB DMX interface: OUT endpoint 2, IN endpoint 0x81, first configuration,
// interface 0, alternate setting 0. Owned and called by one thread at a time (the output thread's
// owner opens it before the thread runs and closes it after).
class IUsbTransport {
public:
    virtual ~IUsbTransport() = default;
    // Finds the first device with these identifiers and claims its interface.
    virtual bool Open(uint16_t vendorId, uint16_t productId) = 0;
    // Bytes transferred, or -1 when the transfer failed or timed out.
    virtual int Write(std::span<const uint8_t> bytes, uint32_t timeoutMs) = 0;
    virtual int Read(std::span<uint8_t> buffer, uint32_t timeoutMs) = 0;
    virtual void Close() = 0;
};

// libusb-1.0. Identifiers 0/0 mean "no device configured" and open nothing.
class LibusbTransport final : public IUsbTransport {
public:
    LibusbTransport() = default;
    ~LibusbTransport() override;
    LibusbTransport(const LibusbTransport&) = delete;
    LibusbTransport& operator=(const LibusbTransport&) = delete;

    bool Open(uint16_t vendorId, uint16_t productId) override;
    int Write(std::span<const uint8_t> bytes, uint32_t timeoutMs) override;
    int Read(std::span<uint8_t> buffer, uint32_t timeoutMs) override;
    void Close() override;

private:
    void* m_context = nullptr;  // libusb_context, kept out of this header
    void* m_handle = nullptr;   // libusb_device_handle
};

}  // namespace lumavox
