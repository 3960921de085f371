#pragma once

#include <cstdint>
#include <optional>

namespace lumavox {

// The output level of the default sound output, as a 16-bit value (0..65535). Reading gives the
// left channel's level, setting sets both channels alike. UI thread only.
class IWaveVolume {
public:
    virtual ~IWaveVolume() = default;
    // nullopt when the level cannot be read (no sound device, server gone).
    virtual std::optional<uint16_t> GetWaveVolume() = 0;
    virtual void SetWaveVolume(uint16_t volume) = 0;
};

}  // namespace lumavox
