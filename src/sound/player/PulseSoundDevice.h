#pragma once

#include <chrono>
#include <memory>

#include "sound/player/SoundDevice.h"

namespace lumavox {

// The sound device on a PulseAudio (or PipeWire) sound server, through libpulse's threaded main
// loop. One playback stream per play segment, started corked and prefilled so that a play command
// only has to uncork it. A new segment's stream is made before the old one goes, so the sink always
// holds a stream asking for low latency and a restart (a repeat) is heard at once on any sink.
//
// Threads. Commands and queries return at once (see ISoundDevice): they change the device's own
// view of the mode and position under a private mutex and hand the wanted state to the main
// loop's thread, which builds, corks and uncorks the streams. The position comes from a
// lock-free cell that the main loop fills every 10 ms with the stream's played time; a query
// extrapolates it to the present and never takes the main loop's lock. Open and Close take that
// lock and may block (Open for at most a few seconds when the server does not answer).
class PulseSoundDevice final : public ISoundDevice {
public:
    PulseSoundDevice();
    ~PulseSoundDevice() override;
    PulseSoundDevice(const PulseSoundDevice&) = delete;
    PulseSoundDevice& operator=(const PulseSoundDevice&) = delete;

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
    bool AudioTest() override;
    std::optional<uint16_t> GetWaveVolume() override;
    void SetWaveVolume(uint16_t volume) override;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

// Connects to the default sound server (never starting one) and opens a 44 100 Hz 16-bit stereo
// playback stream, giving up after bound. Any thread.
bool PulseAudioTest(std::chrono::milliseconds bound);

}  // namespace lumavox
