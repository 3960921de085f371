#include "export/FseqExport.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <climits>

#include "engine/Engine.h"
#include "model/ProjectData.h"
#include "platform/FileReplace.h"
#include "platform/ProgramVersion.h"

namespace lumavox {

namespace {

constexpr uint32_t kProgressFrames = 512;

class FileOutput final : public IFseqOutput {
public:
    explicit FileOutput(FileReplacement& file) : m_file(file) {}
    int Append(std::span<const uint8_t> bytes) override { return m_file.Append(bytes); }
    int WriteAt(uint64_t offset, std::span<const uint8_t> bytes) override {
        return m_file.WriteAt(offset, bytes);
    }

private:
    FileReplacement& m_file;
};

uint64_t NowMicroseconds() {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::microseconds>(now).count());
}

}  // namespace

uint32_t FseqFrameCount(int64_t endMs, int32_t stepMs) {
    if (endMs < 0 || stepMs <= 0) return 0;
    const int64_t count = endMs / stepMs + 1;
    return count > UINT32_MAX ? 0 : static_cast<uint32_t>(count);
}

std::string FseqOptionsProblem(const FseqExportOptions& options) {
    if (options.StepMs < kFseqMinStepMs || options.StepMs > kFseqMaxStepMs) {
        return "the step must be 10 to 100 ms";
    }
    if (options.ChannelCount < 1 || options.ChannelCount > kDmxChannels) {
        return "the channel count must be 1 to 512";
    }
    if (options.MediaName.find('/') != std::string::npos) {
        return "the media name is a file name, without a folder";
    }
    return {};
}

FseqExportResult WriteShowFseq(const ProjectData& project, const PatchTable& patch, int64_t endMs,
                               const FseqExportOptions& options, IFseqOutput& output,
                               const FseqProgress& progress) {
    if (std::string problem = FseqOptionsProblem(options); !problem.empty()) {
        return {FseqExportStatus::BadOptions, 0, std::move(problem)};
    }
    FseqSettings settings;
    settings.FrameCount = FseqFrameCount(endMs, options.StepMs);
    settings.ChannelCount = options.ChannelCount;
    settings.StepMs = static_cast<uint8_t>(options.StepMs);
    settings.Compression = options.Compression;
    settings.UniqueId = options.UniqueId != 0 ? options.UniqueId : NowMicroseconds();
    settings.MediaName = options.MediaName;
    settings.Producer = "Lumavox " + ProgramVersion();
    if (std::string problem = FseqSettingsProblem(settings); !problem.empty()) {
        return {FseqExportStatus::BadOptions, 0, std::move(problem)};
    }

    auto failed = [](const FseqResult& r) {
        return FseqExportResult{r.Error == FseqError::Write ? FseqExportStatus::WriteFailed
                                                            : FseqExportStatus::Compress,
                                r.SystemError,
                                {}};
    };
    FseqWriter writer(settings, output);
    if (const FseqResult r = writer.Begin(); !r) return failed(r);
    std::array<int32_t, kLineCount> colours{};
    DmxFrame frame{};
    for (uint32_t k = 0; k < settings.FrameCount; ++k) {
        // endMs fits int32 for every show, so k × step does too
        const int64_t t = static_cast<int64_t>(k) * options.StepMs;
        RenderFrame(project, patch, static_cast<int32_t>(std::min<int64_t>(t, INT32_MAX)), colours,
                    frame);
        if (const FseqResult r = writer.AddFrame(frame); !r) return failed(r);
        if (progress && ((k + 1) % kProgressFrames == 0 || k + 1 == settings.FrameCount) &&
            !progress(k + 1, settings.FrameCount)) {
            return {FseqExportStatus::Cancelled, 0, {}};
        }
    }
    if (const FseqResult r = writer.Finish(); !r) return failed(r);
    return {};
}

FseqExportResult ExportFseq(const ProjectData& project, const PatchTable& patch, int64_t endMs,
                            const FseqExportOptions& options, const std::string& path,
                            const FseqProgress& progress) {
    if (std::string problem = FseqOptionsProblem(options); !problem.empty()) {
        return {FseqExportStatus::BadOptions, 0, std::move(problem)};
    }
    FileReplacement file;
    if (const int error = file.Open(path); error != 0) {
        return {FseqExportStatus::CannotCreate, error, {}};
    }
    FileOutput output(file);
    FseqExportResult result = WriteShowFseq(project, patch, endMs, options, output, progress);
    if (result.Status != FseqExportStatus::Done) return result;  // file discards the new file
    if (const int error = file.Commit(); error != 0) {
        return {FseqExportStatus::WriteFailed, error, {}};
    }
    return result;
}

}  // namespace lumavox
