#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace lumavox {

// One 10-ms entry of the waveform: the largest positive and the most negative 16-bit sample of
// each channel, widened to 32 bits. Also the 16-byte record of the .wfm cache file, stored as
// four little-endian int32 in this order. Right values are 0 for a mono sound.
struct PeakFrame {
    int32_t LeftMax = 0;   // 0..32767
    int32_t LeftMin = 0;   // -32768..0
    int32_t RightMax = 0;  // 0..32767
    int32_t RightMin = 0;  // -32768..0

    friend bool operator==(const PeakFrame&, const PeakFrame&) = default;
};
static_assert(sizeof(PeakFrame) == 16, "PeakFrame is the 16-byte .wfm record");
static_assert(std::endian::native == std::endian::little, "records are stored as in memory");

// The waveform peak list: entry i covers 10·i ms to 10·(i+1) ms; its count is the sound's length
// in frames and a sound counts as loaded when it is above 0. Owns its entries. UI thread only:
// WavSound replaces it as a whole; everyone else reads it.
class TWavFrmList {
public:
    int32_t Count() const { return static_cast<int32_t>(m_frames.size()); }
    bool Empty() const { return m_frames.empty(); }
    const PeakFrame& operator[](int32_t index) const {
        return m_frames[static_cast<size_t>(index)];
    }
    const PeakFrame* Data() const { return m_frames.data(); }

    // Frees every entry (the memory included) and empties the list.
    void Clear() { std::vector<PeakFrame>().swap(m_frames); }
    void Add(const PeakFrame& frame) { m_frames.push_back(frame); }
    void Reserve(size_t count) { m_frames.reserve(count); }
    void Replace(std::vector<PeakFrame>&& frames) { m_frames = std::move(frames); }

private:
    std::vector<PeakFrame> m_frames;
};

}  // namespace lumavox
