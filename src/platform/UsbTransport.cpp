#include "platform/UsbTransport.h"

#include <libusb.h>

namespace lumavox {
namespace {

constexpr unsigned char kOutEndpoint = 0x02;
constexpr unsigned char kInEndpoint = 0x81;

libusb_device_handle* Handle(void* p) {
    return static_cast<libusb_device_handle*>(p);
}

}  // namespace

LibusbTransport::~LibusbTransport() {
    Close();
}

bool LibusbTransport::Open(uint16_t vendorId, uint16_t productId) {
    Close();
    if (vendorId == 0 && productId == 0) return false;
    libusb_context* context = nullptr;
    if (libusb_init(&context) != 0) return false;
    m_context = context;
    libusb_device_handle* handle = libusb_open_device_with_vid_pid(context, vendorId, productId);
    if (handle == nullptr) {
        Close();
        return false;
    }
    m_handle = handle;
    // Configuration index 0 is the first descriptor; its value (usually 1) is what selects it,
    // value 0 meaning "unconfigured".
    libusb_config_descriptor* config = nullptr;
    if (libusb_get_config_descriptor(libusb_get_device(handle), 0, &config) != 0) {
        Close();
        return false;
    }
    const int value = config->bConfigurationValue;
    libusb_free_config_descriptor(config);
    libusb_set_auto_detach_kernel_driver(handle, 1);
    int current = 0;
    if (libusb_get_configuration(handle, &current) != 0 ||
        (current != value && libusb_set_configuration(handle, value) != 0) ||
        libusb_claim_interface(handle, 0) != 0) {
        Close();
        return false;
    }
    if (libusb_set_interface_alt_setting(handle, 0, 0) != 0) {
        libusb_release_interface(handle, 0);
        Close();
        return false;
    }
    return true;
}

int LibusbTransport::Write(std::span<const uint8_t> bytes, uint32_t timeoutMs) {
    if (m_handle == nullptr) return -1;
    int transferred = 0;
    // libusb takes a non-const buffer for both directions; an OUT transfer only reads it.
    const int rc = libusb_bulk_transfer(Handle(m_handle), kOutEndpoint,
                                        const_cast<unsigned char*>(bytes.data()),
                                        static_cast<int>(bytes.size()), &transferred, timeoutMs);
    return rc == 0 ? transferred : -1;
}

int LibusbTransport::Read(std::span<uint8_t> buffer, uint32_t timeoutMs) {
    if (m_handle == nullptr) return -1;
    int transferred = 0;
    const int rc = libusb_bulk_transfer(Handle(m_handle), kInEndpoint, buffer.data(),
                                        static_cast<int>(buffer.size()), &transferred, timeoutMs);
    return rc == 0 ? transferred : -1;
}

void LibusbTransport::Close() {
    if (m_handle != nullptr) {
        libusb_release_interface(Handle(m_handle), 0);
        libusb_close(Handle(m_handle));
        m_handle = nullptr;
    }
    if (m_context != nullptr) {
        libusb_exit(static_cast<libusb_context*>(m_context));
        m_context = nullptr;
    }
}

}  // namespace lumavox
