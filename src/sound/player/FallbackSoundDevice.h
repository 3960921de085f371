#pragma once

#include <atomic>
#include <memory>

#include "platform/Clock.h"
#include "sound/player/ClockSoundDevice.h"
#include "sound/player/SoundDevice.h"

namespace lumavox {

// The sound device when no sound server may be there: plays on the given device (the sound
// server) when it answers, and otherwise on a ClockSoundDevice, silently, so that a show can still
// be located, played and sent to the lights. The choice is made at each Open by asking the server
// (the device's AudioTest): a server that comes up later serves from the next open on. A device is
// therefore always there (AudioTest is true); Silent() says which one plays.
//
// Threads: as ISoundDevice. Open and the commands come from the engine's thread; Silent() and the
// volume may be used from any thread.
class FallbackSoundDevice final : public ISoundDevice {
public:
    FallbackSoundDevice(std::unique_ptr<ISoundDevice> server, const IClock& clock);

    SoundResult Open(const std::string& path) override;
    void Close() override;
    SoundResult GetMode(SoundDeviceMode& mode) override;
    SoundResult GetPosition(int32_t& positionMs) override;
    SoundResult GetLength(int32_t& lengthMs) override;
    SoundResult Seek(int32_t positionMs) override;
    SoundResult Play() override;
    SoundResult PlayFromStart() override;
    SoundResult Stop() override;
    SoundResult Pause() override;
    SoundResult Resume() override;
    std::optional<uint32_t> EndedNaturally() override;
    bool AudioTest() override { return true; }
    bool Silent() const override { return m_silent.load(); }
    // The volume of the device that plays; a new volume goes to both.
    std::optional<uint16_t> GetWaveVolume() override;
    void SetWaveVolume(uint16_t volume) override;

private:
    std::unique_ptr<ISoundDevice> m_server;
    ClockSoundDevice m_clock;
    ISoundDevice* m_active;             // engine thread only
    std::atomic<bool> m_silent{false};  // m_active is the clock
};

}  // namespace lumavox
