#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "settings/WaveVolume.h"

namespace lumavox {

// An output level held in memory; nullopt plays a machine without sound. Records every set.
class FakeWaveVolume final : public IWaveVolume {
public:
    explicit FakeWaveVolume(std::optional<uint16_t> level) : m_level(level) {}

    std::optional<uint16_t> GetWaveVolume() override { return m_level; }
    void SetWaveVolume(uint16_t volume) override {
        m_sets.push_back(volume);
        if (m_level) m_level = volume;
    }

    void SetLevel(std::optional<uint16_t> level) { m_level = level; }
    const std::vector<uint16_t>& Sets() const { return m_sets; }

private:
    std::optional<uint16_t> m_level;
    std::vector<uint16_t> m_sets;
};

}  // namespace lumavox
