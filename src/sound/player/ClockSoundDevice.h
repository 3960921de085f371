#pragma once

#include <mutex>

#include "platform/Clock.h"
#include "sound/player/SoundDevice.h"

namespace lumavox {

// A sound device that plays nothing: it opens the file for its length and moves the position on
// the monotonic clock, with the same modes, commands and natural end as the real device. For
// running a show where no sound output exists or none is wanted (a headless tool). AudioTest is
// true: this device is always there.
//
// Any thread (one mutex, held only for a few field updates).
class ClockSoundDevice final : public ISoundDevice {
public:
    explicit ClockSoundDevice(const IClock& clock) : m_clock(clock) {}

    SoundResult Open(const std::string& path) override;
    // Opens a sound of the given length without a file.
    void OpenLength(int32_t lengthMs);
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
    bool Silent() const override { return true; }
    std::optional<uint16_t> GetWaveVolume() override;
    void SetWaveVolume(uint16_t volume) override;

private:
    void Settle();  // applies the natural end; m_mutex held
    int32_t PlayingPosition() const;

    const IClock& m_clock;
    std::mutex m_mutex;
    bool m_open = false;
    int32_t m_lengthMs = 0;
    SoundDeviceMode m_mode = SoundDeviceMode::Stopped;
    bool m_ended = false;      // stopped by the natural end, no command since
    int32_t m_heldMs = 0;      // position while stopped or paused
    int32_t m_startMs = 0;     // position when playing began
    uint32_t m_startTick = 0;  // clock when playing began
    uint32_t m_endTick = 0;    // clock when the sound ended naturally
    uint16_t m_volume = 0xFFFF;
};

}  // namespace lumavox
