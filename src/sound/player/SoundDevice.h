#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "settings/WaveVolume.h"

namespace lumavox {

// What the sound device is doing. Its text form ("playing", "paused", "stopped") is what the
// engine shows as SoundMode.
enum class SoundDeviceMode { Stopped, Playing, Paused };

std::string_view SoundDeviceModeText(SoundDeviceMode mode);

// The outcome of a device command: success, or a failure with the device's own error text. The
// text points to static storage, so results can be passed and stored without allocating.
struct SoundResult {
    bool Ok = true;
    std::string_view Error;

    static SoundResult Success() { return {}; }
    static SoundResult Failure(std::string_view error) { return {false, error}; }
};

// The sound player the engine drives: one sound file at a time, positions in milliseconds from
// the sound start.
//
// Threads. The playback commands and queries are made by the output thread's engine tick and must
// return quickly (no waiting for a sound server); each command's outcome is visible in Mode() and
// Position() as soon as it returns: after Seek the position is the target and the mode "stopped",
// after Play the mode is "playing", after Stop the mode is "stopped". Open and Close may block.
// AudioTest and the volume may be called from any thread.
//
// At the natural end of the sound, as soon as its last sample has been played, the mode turns
// "stopped" with the position at the length (while playing the position stays below it), and
// EndedNaturally() says so until the next command that moves the device. A caller polling once
// per period therefore still sees the end when it polls late, and can tell it from a stop or a
// seek to the length.
class ISoundDevice : public IWaveVolume {
public:
    virtual ~ISoundDevice() = default;

    // Opens a sound file (WAV or MP3), closing any open one first. On success the length is known
    // and the device is stopped at 0.
    virtual SoundResult Open(const std::string& path) = 0;
    virtual void Close() = 0;

    virtual SoundResult GetMode(SoundDeviceMode& mode) = 0;
    virtual SoundResult GetPosition(int32_t& positionMs) = 0;
    virtual SoundResult GetLength(int32_t& lengthMs) = 0;

    // Moves to the position (clamped to 0..length) and leaves the device stopped there.
    virtual SoundResult Seek(int32_t positionMs) = 0;
    // Plays from the current position (after a stop or a seek) or resumes a pause.
    virtual SoundResult Play() = 0;
    virtual SoundResult PlayFromStart() = 0;
    // Stops and keeps the position where the sound was.
    virtual SoundResult Stop() = 0;
    virtual SoundResult Pause() = 0;
    virtual SoundResult Resume() = 0;

    // From the moment the sound has played to its end until the next open, close, seek, play,
    // play from start or stop: how many ms ago it ended. Nothing otherwise. A pause or resume of
    // the stopped device does nothing and keeps it.
    virtual std::optional<uint32_t> EndedNaturally() = 0;

    // True when a 44 100 Hz 16-bit stereo output stream can be opened on the default output.
    virtual bool AudioTest() = 0;
    // True when the device plays nothing and only moves the position on a clock. Any thread.
    virtual bool Silent() const { return false; }

    // IWaveVolume: the output volume, a gain on the played sound kept as left channel in the low
    // 16 bits and right in the high 16 bits of one 32-bit value. GetWaveVolume gives the left
    // channel, or nothing when no output can be reached; SetWaveVolume sets both channels.
};

inline std::string_view SoundDeviceModeText(SoundDeviceMode mode) {
    switch (mode) {
        case SoundDeviceMode::Playing:
            return "playing";
        case SoundDeviceMode::Paused:
            return "paused";
        case SoundDeviceMode::Stopped:
            break;
    }
    return "stopped";
}

}  // namespace lumavox
