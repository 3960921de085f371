#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace lumavox {

// FSEQ v2 sequence files as show players read them. Layout (all numbers little-endian):
//
//   0  "PSEQ"                       20  compression (bits 0-3), block count bits 8-11 (bits 4-7)
//   4  channel data offset (u16)    21  block count bits 0-7
//   6  minor 0, major 2             22  sparse range count
//   8  header length (u16)          23  flags, 0
//  10  channels per frame (u32)     24  unique id (u64)
//  14  frame count (u32)            32  block index: first frame (u32), stored length (u32)
//  18  step time in ms (u8)             sparse ranges: first channel (u24), channel count (u24)
//  19  flags, 0                         variable headers: length (u16, with these 4 bytes),
//                                       code (2 chars), text with its NUL
//
// The header length ends before the variable headers; the channel data starts at the next
// multiple of 4 after them. Frames follow one after another, channelsPerFrame bytes each; with
// zstd, each block of frames is one complete zstd frame, so a player decompresses only the block
// it seeks into.

enum class FseqCompression : uint8_t { None = 0, Zstd = 1 };

// Channels of the universe a file carries, 0-based.
struct FseqRange {
    uint32_t Start = 0;
    uint32_t Count = 0;
};

struct FseqSettings {
    uint32_t FrameCount = 0;
    // The universe size the frames handed to AddFrame have. Without ranges a frame stores its
    // first ChannelCount channels; with ranges, the ranges one after another.
    uint32_t ChannelCount = 0;
    std::vector<FseqRange> Ranges;
    uint8_t StepMs = 25;
    FseqCompression Compression = FseqCompression::None;
    uint64_t UniqueId = 0;
    std::string MediaName;  // "mf": the sound the player starts with the sequence; empty for none
    std::string Producer;   // "sp"
    // Frames per zstd block after the first one; 0 chooses.
    uint32_t FramesPerBlock = 0;
};

enum class FseqError {
    None,
    BadSettings,  // see FseqSettingsProblem
    Write,        // the output refused the bytes; SystemError says why
    Compress,     // zstd failed
};

struct FseqResult {
    FseqError Error = FseqError::None;
    int SystemError = 0;
    explicit operator bool() const { return Error == FseqError::None; }
};

// Why the settings cannot be written (English, for messages), empty when they can.
std::string FseqSettingsProblem(const FseqSettings& settings);

// The zstd blocks: how many frames each holds. The first block is short so that a player has the
// first frames at once; the others are equal, except the last. At most 255 blocks while blocks
// stay small enough, since early readers only know the low byte of the count; up to 4095 after.
std::vector<uint32_t> FseqBlockFrames(uint32_t frameCount, uint32_t channelsPerFrame,
                                      uint32_t framesPerBlock = 0);

// Where the bytes go. Both return 0 or an errno.
class IFseqOutput {
public:
    virtual ~IFseqOutput() = default;
    virtual int Append(std::span<const uint8_t> bytes) = 0;
    virtual int WriteAt(uint64_t offset, std::span<const uint8_t> bytes) = 0;
};

// Streams one sequence into an output: Begin writes the header (the block index zeroed), each
// AddFrame takes one universe, Finish writes the last block and fills in the block index. Holds
// one block of frames at most. One thread.
class FseqWriter {
public:
    FseqWriter(FseqSettings settings, IFseqOutput& output);
    ~FseqWriter();
    FseqWriter(const FseqWriter&) = delete;
    FseqWriter& operator=(const FseqWriter&) = delete;

    FseqResult Begin();
    // universe holds at least the settings' ChannelCount bytes.
    FseqResult AddFrame(std::span<const uint8_t> universe);
    // After exactly FrameCount frames.
    FseqResult Finish();

    uint32_t ChannelsPerFrame() const { return m_channelsPerFrame; }

private:
    FseqResult FlushBlock();

    FseqSettings m_settings;
    IFseqOutput& m_output;
    uint32_t m_channelsPerFrame = 0;
    std::vector<uint32_t> m_blockFrames;
    std::vector<uint8_t> m_index;  // the block index as it is stored
    std::vector<uint8_t> m_block;  // frames of the block being filled
    std::vector<uint8_t> m_compressed;
    size_t m_blockNumber = 0;
    uint32_t m_framesAdded = 0;
    uint32_t m_blockFirstFrame = 0;
    void* m_context = nullptr;  // ZSTD_CCtx
};

// The header as Begin writes it, up to the channel data offset, with the given block index (each
// entry first frame, stored length).
std::vector<uint8_t> FseqHeader(const FseqSettings& settings,
                                std::span<const std::pair<uint32_t, uint32_t>> blockIndex);

}  // namespace lumavox
