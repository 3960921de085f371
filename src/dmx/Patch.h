#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "model/ColourEval.h"
#include "model/ProjectData.h"

namespace lumavox {

inline constexpr int kDmxChannels = 512;
inline constexpr int kSourceChannelCount = 512;  // only 0..23 ever carry a value

// One DMX universe, one byte per channel, channel 1 first; no start code.
using DmxFrame = std::array<uint8_t, kDmxChannels>;
// Built by each tick: 3j, 3j+1, 3j+2 = red, green, blue of line j; 24..511 always 0.
using SourceChannels = std::array<uint8_t, kSourceChannelCount>;

// The working patch of the process: entry k feeds output channel k+1 from a source channel, any
// value outside 0..511 meaning unpatched. All -1 until a project is loaded. Written by the UI
// thread, read by the output thread's tick; each entry is an independent relaxed atomic, since a
// frame mixing old and new entries is corrected by the next tick.
class PatchTable {
public:
    PatchTable();
    int32_t Get(int channel) const {
        return m_entries[static_cast<size_t>(channel)].load(std::memory_order_relaxed);
    }
    void Set(int channel, int32_t source) {
        m_entries[static_cast<size_t>(channel)].store(source, std::memory_order_relaxed);
    }
    void Assign(const std::array<int32_t, kDmxChannels>& entries);
    std::array<int32_t, kDmxChannels> Snapshot() const;
    void SetThrough() { Assign(ThroughPatch()); }
    void ClearAll();

private:
    std::array<std::atomic<int32_t>, kDmxChannels> m_entries;
};

// The last output colour of each line (0x00BBGGRR), written by the tick and read by the UI's
// colour displays. Relaxed atomics: each colour is independent and repainted every period.
class LineOutput {
public:
    int32_t Get(int line) const {
        return m_colours[static_cast<size_t>(line)].load(std::memory_order_relaxed);
    }
    void Set(int line, int32_t colour) {
        m_colours[static_cast<size_t>(line)].store(colour, std::memory_order_relaxed);
    }

private:
    std::array<std::atomic<int32_t>, kLineCount> m_colours{};
};

// Splits the eight line colours into the source channels.
void FillSourceChannels(const std::array<int32_t, kLineCount>& lineColours, SourceChannels& out);

// Builds the frame: the triple of patchCheckChannel (fixture 0..170, -1 off) at 255, every other
// channel from its patched source, 0 when unpatched.
void BuildDmxFrame(const SourceChannels& sources, const PatchTable& patch,
                   int32_t patchCheckChannel, DmxFrame& frame);

}  // namespace lumavox
