#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace lumavox {

// A sound file as interleaved 16-bit PCM frames (one sample per channel, 1 or 2 channels) with an
// exact length, readable from any frame. WAV files are read as stored; MP3 files are decoded on
// the fly by libmpg123 in gapless mode, so the length and every frame position exclude the
// encoder's delay and padding. One thread at a time.
class IPcmSource {
public:
    virtual ~IPcmSource() = default;
    virtual uint32_t Rate() const = 0;
    virtual uint32_t Channels() const = 0;
    virtual uint64_t FrameCount() const = 0;
    // Moves the read position to frame (clamped to the frame count).
    virtual bool Seek(uint64_t frame) = 0;
    // Reads up to frameCount frames into out (frameCount * Channels() samples); 0 at the end.
    virtual size_t Read(int16_t* out, size_t frameCount) = 0;
};

struct PcmSourceResult {
    std::unique_ptr<IPcmSource> Source;
    std::string_view Error;  // static text when Source is null
};

// Opens a WAV or MP3 file, by its content (a RIFF header makes it a WAV file), and knows its
// length when it returns.
PcmSourceResult OpenPcmSource(const std::string& path);

// Length in ms of frameCount frames at rate: frames * 1000 / rate, truncated.
int64_t FramesToMs(uint64_t frameCount, uint32_t rate);

}  // namespace lumavox
