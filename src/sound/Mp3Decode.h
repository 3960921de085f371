#pragma once

#include <cstdint>
#include <string>

namespace lumavox {

struct SoundReadControl;

// MP3 (and other MPEG audio) decoding for the waveform reader and the project settings dialog.
// Synchronous; any thread (each call has its own decoder handle). No messages: callers report.

// What the settings dialog shows of an MP3 file.
struct Mp3Info {
    int32_t Channels = 0;   // 2 stereo, 1 mono
    int32_t BitRate = 0;    // kbit/s; the average for variable bit rates
    int32_t Rate = 0;       // Hz
    int32_t LengthSec = 0;  // whole seconds of decoded sound
};

// Decodes source into target as a 16-bit PCM WAV file (RIFF, "WAVEfmt ", "data") that starts at
// the first real sample: the encoder's delay and padding are trimmed when the file records them
// (gapless decoding). An existing target is deleted first. False when the source cannot be
// opened or decoded, decodes to nothing, or would not fit a WAV file; target is then removed.
// control (optional) hears "MP3 Decoding... N%" and can stop the decode, which then gives false.
bool DecodeMp3(const std::string& source, const std::string& target,
               const SoundReadControl* control = nullptr);

// Reads the format and scans the stream for its length. False when the file cannot be opened or
// holds no MPEG audio.
bool ReadMp3Info(const std::string& path, Mp3Info* info);

}  // namespace lumavox
