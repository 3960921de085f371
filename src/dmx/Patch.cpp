#include "dmx/Patch.h"

namespace lumavox {

PatchTable::PatchTable() {
    for (auto& e : m_entries) e.store(-1, std::memory_order_relaxed);
}

void PatchTable::Assign(const std::array<int32_t, kDmxChannels>& entries) {
    for (size_t k = 0; k < entries.size(); ++k) {
        m_entries[k].store(entries[k], std::memory_order_relaxed);
    }
}

std::array<int32_t, kDmxChannels> PatchTable::Snapshot() const {
    std::array<int32_t, kDmxChannels> out{};
    for (size_t k = 0; k < out.size(); ++k) out[k] = m_entries[k].load(std::memory_order_relaxed);
    return out;
}

void PatchTable::ClearAll() {
    for (auto& e : m_entries) e.store(-1, std::memory_order_relaxed);
}

void FillSourceChannels(const std::array<int32_t, kLineCount>& lineColours, SourceChannels& out) {
    out.fill(0);
    for (size_t j = 0; j < lineColours.size(); ++j) {
        out[3 * j] = static_cast<uint8_t>(RedOf(lineColours[j]));
        out[3 * j + 1] = static_cast<uint8_t>(GreenOf(lineColours[j]));
        out[3 * j + 2] = static_cast<uint8_t>(BlueOf(lineColours[j]));
    }
}

void BuildDmxFrame(const SourceChannels& sources, const PatchTable& patch,
                   int32_t patchCheckChannel, DmxFrame& frame) {
    for (int k = 0; k < kDmxChannels; ++k) {
        if (k / 3 == patchCheckChannel) {
            frame[static_cast<size_t>(k)] = 255;
            continue;
        }
        const int32_t p = patch.Get(k);
        frame[static_cast<size_t>(k)] =
            (p >= 0 && p < kSourceChannelCount) ? sources[static_cast<size_t>(p)] : 0;
    }
}

}  // namespace lumavox
