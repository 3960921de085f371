#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lumavox {

// RIFF/WAVE header parsing shared by the waveform reader and the sound player: the byte-wise tag
// search, the "fmt " record and the location of the sample data. Plain functions over a file the
// caller opened; any thread, one reader per thread.

inline constexpr uint16_t kWaveFormatPcm = 1;
inline constexpr uint16_t kWaveFormatIeeeFloat = 3;
inline constexpr uint16_t kWaveFormatExtensible = 0xFFFE;
// Highest sample rate accepted (the highest rate in common use). Above it a one-second buffer
// would grow without bound, so such files are refused as unsupported.
inline constexpr uint32_t kMaxWaveRate = 768000;

// Why a WAV header was refused; the texts are the program's messages "不正なファイルです" and
// "未対応なフォーマットです".
enum class WaveFault { None, IllegalFile, NoSupportFrm };

std::string_view WaveFaultText(WaveFault fault);

// The 16-byte "fmt " record and what the readers derive from it.
struct WaveFormat {
    uint16_t FormatTag = 0;  // as stored: 1 PCM, 3 float, 0xFFFE extensible, ...
    bool Pcm = false;        // plain PCM, or extensible with the PCM sub-format
    bool Float = false;      // IEEE float, plain or extensible with the float sub-format
    uint16_t Channels = 0;
    uint32_t Rate = 0;  // Hz
    uint32_t BytesPerSecond = 0;
    uint16_t BlockAlign = 0;
    uint16_t BitsPerSample = 0;  // as stored; the readers go by BytesPerSample instead
    int32_t BytesPerSample = 0;  // BlockAlign / Channels (integer division)
    uint64_t FmtOffset = 0;      // file offset of the first byte of the fmt record
    uint32_t FmtSize = 0;        // the size the "fmt " chunk declares
};

// Where the samples are: the data chunk as declared and what the file really holds of it.
struct WaveData {
    uint64_t Offset = 0;    // file offset of the first sample byte
    uint32_t Declared = 0;  // the size the "data" chunk declares
    uint64_t Bytes = 0;     // min(Declared, bytes from Offset to the end of the file)
};

// Buffered sequential reader over an open file descriptor (not owned), with the byte-wise tag
// search both readers use. Stops at end of file or on a read error; never reads past either.
class WaveFileReader {
public:
    explicit WaveFileReader(int fd);

    // Reads on from the current position until the bytes of tag have been seen in sequence; the
    // position is then just after the tag. False when the end of the file comes first.
    bool SearchTag(std::string_view tag);
    // Reads exactly size bytes; false (position undefined) when fewer are left.
    bool ReadExact(void* target, size_t size);
    bool Skip(uint64_t count);
    void Seek(uint64_t position);
    uint64_t Position() const { return m_position; }
    uint64_t FileSize() const { return m_fileSize; }

private:
    bool Fill();

    int m_fd;
    uint64_t m_fileSize = 0;
    uint64_t m_position = 0;     // logical position of the next byte
    uint64_t m_bufferStart = 0;  // file offset of m_buffer[0]
    size_t m_bufferLength = 0;
    std::vector<unsigned char> m_buffer;
};

// From the current position (normally 0): search "RIFF", skip its size, search "WAVEfmt " (or,
// when other chunks come first, walk the chunk list to "fmt "), read the fmt chunk size and the
// 16-byte record. Checks in order: a missing tag or a short record is
// IllegalFile; a format other than PCM or IEEE float (plain, or extensible with cbSize >= 22 and
// the PCM or float sub-format) is NoSupportFrm; channels other than 1 or 2 and a rate of 0 are
// IllegalFile; a rate above kMaxWaveRate is NoSupportFrm. The sample width is left to the caller to
// judge.
WaveFault ReadWaveFormat(WaveFileReader& reader, WaveFormat& format);

// Finds the data chunk after the fmt chunk: walks the chunk list from the end of the fmt chunk,
// and when that walk runs off the file, falls back to searching the bytes "data" from the end of
// the 16-byte record. A missing data chunk is IllegalFile.
WaveFault FindWaveData(WaveFileReader& reader, const WaveFormat& format, WaveData& data);

// Whether ConvertWaveSamples can read the samples: integer PCM of 1 to 4 bytes or 32-bit float.
// Beyond 16 bits the declared bits must fit the sample width (more than its upper three bytes, at
// most all of it) and one sample per channel must fill the block exactly, so that a header that
// contradicts itself is refused instead of being read as noise.
bool WaveSamplesReadable(const WaveFormat& format);

// Turns frameCount frames of stored samples (BlockAlign bytes apart) into interleaved 16-bit
// samples: 8-bit samples are unsigned and move to the top byte; wider integers are divided down to
// 16 bits, truncated toward zero; float samples are clipped to -1..1 and scaled by 32768 (1.0 gives
// 32767); a NaN gives 0. The format must be WaveSamplesReadable.
void ConvertWaveSamples(const WaveFormat& format, const unsigned char* in, size_t frameCount,
                        int16_t* out);

// Both steps on a whole file, for callers that only need the layout (the sound player). Every
// sample width passes; check WaveSamplesReadable. A file that cannot be opened is IllegalFile with
// Opened false.
struct WaveLayout {
    bool Opened = false;
    WaveFault Fault = WaveFault::None;
    WaveFormat Format;
    WaveData Data;
};
WaveLayout ReadWaveLayout(const std::string& path);

}  // namespace lumavox
