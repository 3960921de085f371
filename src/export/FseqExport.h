#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "dmx/Patch.h"
#include "export/FseqWriter.h"

namespace lumavox {

class ProjectData;

inline constexpr int32_t kFseqMinStepMs = 10;
inline constexpr int32_t kFseqMaxStepMs = 100;
inline constexpr int32_t kFseqDefaultStepMs = 25;  // 40 frames a second

struct FseqExportOptions {
    int32_t StepMs = kFseqDefaultStepMs;
    uint32_t ChannelCount = kDmxChannels;  // the first channels of the universe, 1..512
    FseqCompression Compression = FseqCompression::None;
    std::string MediaName;  // the sound's file name, no folder; empty for none
    uint64_t UniqueId = 0;  // 0: the current time in microseconds
};

// Frames at show time 0, step, 2·step, ... up to endMs inclusive; 0 when endMs is negative or the
// count does not fit.
uint32_t FseqFrameCount(int64_t endMs, int32_t stepMs);

// Called every few hundred frames and after the last one; returning false cancels.
using FseqProgress = std::function<bool(uint32_t framesDone, uint32_t frameCount)>;

enum class FseqExportStatus { Done, Cancelled, BadOptions, CannotCreate, WriteFailed, Compress };

struct FseqExportResult {
    FseqExportStatus Status = FseqExportStatus::Done;
    int SystemError = 0;  // errno of CannotCreate and WriteFailed
    std::string Problem;  // what is wrong with the options (English), for BadOptions
};

// What is wrong with the options, in English; empty when they are usable.
std::string FseqOptionsProblem(const FseqExportOptions& options);

// Writes the show as an FSEQ v2 sequence into output: frame k is the universe the show sends with
// the play position at k × step (the frame render and the output threads build), from the
// sound's start (show time 0) to endMs, the end of the post-roll. Any thread that may read the
// project without its lock (the UI thread, or a tool's only thread).
FseqExportResult WriteShowFseq(const ProjectData& project, const PatchTable& patch, int64_t endMs,
                               const FseqExportOptions& options, IFseqOutput& output,
                               const FseqProgress& progress = {});

// The same into the file at path, which is replaced only when the whole sequence is written: a
// failed or cancelled export leaves it as it was.
FseqExportResult ExportFseq(const ProjectData& project, const PatchTable& patch, int64_t endMs,
                            const FseqExportOptions& options, const std::string& path,
                            const FseqProgress& progress = {});

}  // namespace lumavox
