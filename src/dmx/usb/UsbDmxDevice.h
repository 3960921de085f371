#pragma once

#include <array>
#include <cstdint>

#include "dmx/Patch.h"
#include "platform/UsbTransport.h"

namespace lumavox {

// Identifiers of the supported USB DMX interface. No unit with known identifiers is built in: both
// stay 0 (no device) unless [Option] UsbVendorId / UsbProductId name one.
inline constexpr uint16_t kUsbVendorId = 0;
inline constexpr uint16_t kUsbProductId = 0;

// Bounds of one bulk transfer. A silent or wedged device must never hold start-up or the output
// thread (which also carries the play position) for longer than this per transfer.
inline constexpr uint32_t kUsbWriteTimeoutMs = 100;
inline constexpr uint32_t kUsbReadTimeoutMs = 100;

inline constexpr size_t kUsbHeaderSize = 8;
inline constexpr size_t kUsbPacketSize = 64;
inline constexpr int kUsbPacketsPerFrame = 8;

// The 8-byte header written before each frame: byte 4 carries flag 0x10 and/or 0x20.
std::array<uint8_t, kUsbHeaderSize> UsbDmxHeader(bool flag10, bool flag20);

// Opens the device and, when it opened, runs the start-up drain: up to 20 reads of 64 bytes until
// one returns exactly 8 bytes (the device's header); then 16 further reads when those bytes read
// "KELP5" as a zero-terminated text, otherwise 8. Nothing read is kept. True when a device is
// present. Control thread, before the output thread runs.
bool OpenUsbDmxDevice(IUsbTransport& transport, uint16_t vendorId, uint16_t productId);

// Writes one frame: the header, then (when sendData) the eight 64-byte packets in channel order,
// stopping at the first packet write that reports between 0 and 63 bytes (a failed write, -1,
// does not stop the sequence). A header write that does not report 8 bytes skips the data.
// Output thread.
void WriteUsbDmxFrame(IUsbTransport& transport, const std::array<uint8_t, kUsbHeaderSize>& header,
                      bool sendData, const DmxFrame& frame);

}  // namespace lumavox
