#include "sound/WavSound.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <filesystem>
#include <limits>
#include <span>
#include <string_view>
#include <vector>

#include "model/Msgstr.h"
#include "model/Translation.h"
#include "platform/FileRead.h"
#include "platform/FileReplace.h"
#include "platform/Paths.h"
#include "sound/Mp3Decode.h"
#include "sound/SoundScan.h"
#include "sound/WaveFormat.h"

namespace lumavox {

namespace {

constexpr std::string_view kMp3Decoding = "MP3 Decoding... ";
constexpr std::string_view kMp3Error = "MP3 Decoding Error";
constexpr std::string_view kTempWavName = "$$temp.wav";
// ScanWaveFile's result for a file that exists but cannot be opened as a regular file.
constexpr int32_t kOpenFailed = std::numeric_limits<int32_t>::min();

int32_t CodeOf(WaveFault fault) {
    return fault == WaveFault::NoSupportFrm ? kSoundNoSupportFrm : kSoundIllegalFile;
}

// The largest positive and most negative sample of each channel over frameCount sample frames.
// The samples run through kLanes independent accumulators (even lanes left, odd lanes right for
// stereo) so that the compiler turns the loop into vector max/min instructions.
template <size_t Channels>
PeakFrame GroupPeaks(const int16_t* samples, size_t frameCount) {
    constexpr size_t kLanes = 32;
    static_assert(kLanes % Channels == 0);
    int16_t high[kLanes] = {};
    int16_t low[kLanes] = {};
    const size_t count = frameCount * Channels;
    size_t i = 0;
    for (; i + kLanes <= count; i += kLanes) {
        for (size_t j = 0; j < kLanes; ++j) {
            const int16_t s = samples[i + j];
            high[j] = s > high[j] ? s : high[j];
            low[j] = s < low[j] ? s : low[j];
        }
    }
    for (size_t j = 0; i + j < count; ++j) {
        const int16_t s = samples[i + j];
        high[j] = s > high[j] ? s : high[j];
        low[j] = s < low[j] ? s : low[j];
    }
    PeakFrame peak;
    for (size_t j = 0; j < kLanes; j += Channels) {
        peak.LeftMax = std::max<int32_t>(peak.LeftMax, high[j]);
        peak.LeftMin = std::min<int32_t>(peak.LeftMin, low[j]);
        if constexpr (Channels == 2) {
            peak.RightMax = std::max<int32_t>(peak.RightMax, high[j + 1]);
            peak.RightMin = std::min<int32_t>(peak.RightMin, low[j + 1]);
        }
    }
    return peak;
}

// One block (at most one second): a frame group of groupFrames sample frames per entry; the
// incomplete group at the end of the block is dropped.
void ScanBlock(const int16_t* samples, size_t frameCount, int32_t channels, size_t groupFrames,
               std::vector<PeakFrame>& out) {
    const size_t groups = frameCount / groupFrames;
    const size_t stride = groupFrames * static_cast<size_t>(channels);
    for (size_t g = 0; g < groups; ++g) {
        const int16_t* group = samples + g * stride;
        out.push_back(channels == 2 ? GroupPeaks<2>(group, groupFrames)
                                    : GroupPeaks<1>(group, groupFrames));
    }
}

// Whether LoadSound reads the file's samples: 16-bit PCM as stored, and the wider integer and
// float samples through ConvertWaveSamples. 8-bit samples are refused.
bool PeaksReadable(const WaveFormat& format) {
    return format.BytesPerSample >= 2 && WaveSamplesReadable(format);
}

// Bytes of one sample frame as the peak scan steps through the data.
uint64_t FrameBytesOf(const WaveFormat& format) {
    return static_cast<uint64_t>(format.BytesPerSample) * format.Channels;
}

// The entries a scan of dataBytes gives: 100 per whole second and the complete groups of
// rate / 100 sample frames in the last partial second.
uint64_t PeakFramesOf(const WaveFormat& format, uint64_t dataBytes) {
    const uint64_t frameBytes = FrameBytesOf(format);
    const uint64_t secondBytes = format.Rate * frameBytes;
    const uint64_t groupFrames = format.Rate / 100;  // 0 below 100 Hz: no entry is ever complete
    if (groupFrames == 0 || secondBytes == 0) return 0;
    return dataBytes / secondBytes * (format.Rate / groupFrames) +
           dataBytes % secondBytes / frameBytes / groupFrames;
}

// A private folder for one MP3 decode, so that parallel users never share the temporary file.
// Removes the file and the folder when it goes.
class DecodeFolder {
public:
    DecodeFolder() {
        std::error_code ec;
        std::filesystem::path base = std::filesystem::temp_directory_path(ec);
        if (ec) base = "/tmp";
        std::string templ = (base / "lumavox-mp3-XXXXXX").string();
        if (mkdtemp(templ.data()) != nullptr) m_folder = templ;
    }
    ~DecodeFolder() {
        if (m_folder.empty()) return;
        unlink(WavPath().c_str());
        rmdir(m_folder.c_str());
    }
    DecodeFolder(const DecodeFolder&) = delete;
    DecodeFolder& operator=(const DecodeFolder&) = delete;

    bool Ok() const { return !m_folder.empty(); }
    std::string WavPath() const { return m_folder + "/" + std::string(kTempWavName); }

private:
    std::string m_folder;
};

}  // namespace

namespace {

// Scans the WAV file at path into scan: the format, then one block of at most one
// second at a time (see ScanBlock), telling the progress in whole seconds.
void ScanWaveFile(const std::string& path, const SoundReadControl& control, SoundScan& scan) {
    const FileDescriptor file(OpenRegularFile(path));
    if (file.Get() < 0) {
        scan.Code = kOpenFailed;
        return;
    }
    WaveFileReader reader(file.Get());
    WaveFormat format;
    WaveFault fault = ReadWaveFormat(reader, format);
    if (fault != WaveFault::None) {
        scan.Code = CodeOf(fault);
        return;
    }
    scan.FormatRead = true;
    scan.Channels = format.Channels;
    scan.Rate = static_cast<int32_t>(format.Rate);
    scan.BytesPerSample = format.BytesPerSample;
    if (!PeaksReadable(format)) {
        scan.Code = kSoundNoSupportFrm;
        return;
    }
    WaveData data;
    fault = FindWaveData(reader, format, data);
    if (fault != WaveFault::None) {
        scan.Code = CodeOf(fault);
        return;
    }

    // Rate, channels and width were checked (1..kMaxWaveRate, 1 or 2, 2..4 bytes): a second is
    // at most a few MB.
    const uint64_t frameBytes = FrameBytesOf(format);
    const uint64_t secondBytes = format.Rate * frameBytes;
    const uint64_t wholeSeconds = data.Bytes / secondBytes;
    const uint64_t remainder = data.Bytes % secondBytes;
    const uint64_t groupFrames = format.Rate / 100;
    const uint64_t expected = PeakFramesOf(format, data.Bytes);
    if (expected > static_cast<uint64_t>(kMaxPeakFrames)) {
        scan.Code = kSoundNoSupportFrm;
        return;
    }

    std::vector<PeakFrame>& frames = scan.Frames;
    frames.reserve(static_cast<size_t>(expected));
    scan.DataFound = true;
    if (groupFrames > 0) {
        // 16-bit PCM is read straight into the sample buffer; other samples pass through a byte
        // buffer and are converted to 16 bits, so that the peaks keep the 16-bit range.
        const bool direct = format.Pcm && format.BytesPerSample == 2;
        std::vector<int16_t> buffer(static_cast<size_t>(format.Rate) * format.Channels);
        std::vector<unsigned char> raw(direct ? 0 : static_cast<size_t>(secondBytes));
        void* target = direct ? static_cast<void*>(buffer.data()) : raw.data();
        uint64_t offset = data.Offset;
        for (uint64_t i = 0; i <= wholeSeconds; ++i) {
            if (control.Cancelled()) {
                scan.Cancelled = true;
                return;
            }
            if (wholeSeconds > 0) {
                control.Show(std::string(MsgText(Msg::Loading)) + "... " +
                             std::to_string(i * 100 / wholeSeconds) + "%");
            }
            const uint64_t blockBytes = i < wholeSeconds ? secondBytes : remainder;
            const uint64_t blockFrames = blockBytes / frameBytes;
            if (blockFrames == 0) break;
            if (!ReadAt(file.Get(), target, static_cast<size_t>(blockBytes), offset)) break;
            offset += blockBytes;
            if (!direct) {
                ConvertWaveSamples(format, raw.data(), static_cast<size_t>(blockFrames),
                                   buffer.data());
            }
            ScanBlock(buffer.data(), static_cast<size_t>(blockFrames), format.Channels,
                      static_cast<size_t>(groupFrames), frames);
        }
    }
    scan.Code = static_cast<int32_t>(frames.size());
}

}  // namespace

SoundScan ScanSound(const std::string& path, const SoundReadControl& control) {
    SoundScan scan;
    scan.Path = path;
    const std::string fullPath = CompletePath(path);
    struct stat st {};
    if (fullPath.empty() || stat(fullPath.c_str(), &st) != 0) {
        scan.Code = kSoundFileNotFound;
        return scan;
    }
    scan.FileTime = FileDateTime(fullPath);
    const std::string ext = UpperExtension(fullPath);
    if (ext == ".WAV") {
        ScanWaveFile(fullPath, control, scan);
    } else if (ext == ".MP3") {
        control.Show(kMp3Decoding);
        DecodeFolder folder;
        const bool decoded = folder.Ok() && DecodeMp3(fullPath, folder.WavPath(), &control);
        control.Show({});
        if (decoded) {
            ScanWaveFile(folder.WavPath(), control, scan);
        } else {
            scan.Cancelled = control.Cancelled();
            scan.Code = kSoundMp3Failed;
        }
    } else {
        scan.Code = kSoundNoSupportFrm;
    }
    control.Show({});
    return scan;
}

int32_t WavSound::LoadSound(const std::string& path) {
    SoundReadControl control;
    control.Status = [this](std::string_view text) { m_reporter.ShowStatus(text); };
    return TakeScan(ScanSound(path, control));
}

int32_t WavSound::TakeScan(SoundScan&& scan) {
    if (scan.Cancelled) return m_list.Count();
    if (scan.FormatRead) {
        m_channels = scan.Channels;
        m_rate = scan.Rate;
        m_bytesPerSample = scan.BytesPerSample;
    }
    if (scan.DataFound) m_list.Replace(std::move(scan.Frames));
    return scan.Code < 0 ? Fail(scan.Code, CompletePath(scan.Path)) : m_list.Count();
}

int32_t WavSound::Fail(int32_t code, const std::string& path) {
    switch (code) {
        case kOpenFailed:
            // The framework's stream error for a file that exists but cannot be opened.
            m_reporter.ShowError(
                TranslatedWith(LV_TEXT("Lumavox", "ファイル %1 を開けません"), path));
            return kSoundFileNotFound;
        case kSoundFileNotFound:
            m_reporter.ShowFileError(MsgText(Msg::FileNotFound), path);
            break;
        case kSoundIllegalFile:
            m_reporter.ShowFileError(MsgText(Msg::IllegalFile), path);
            break;
        case kSoundNoSupportFrm:
            m_reporter.ShowError(MsgText(Msg::NoSupportFrm));
            break;
        default:
            m_reporter.ShowError(kMp3Error);
            break;
    }
    return code;
}

int32_t WavSound::LoadPeakCache(const std::string& path) {
    m_list.Clear();
    const FileDescriptor file(OpenRegularFile(path));
    if (file.Get() < 0) return 0;
    struct stat st {};
    if (fstat(file.Get(), &st) != 0 || st.st_size < 0) return 0;
    const uint64_t count = static_cast<uint64_t>(st.st_size) / sizeof(PeakFrame);
    if (count > static_cast<uint64_t>(kMaxPeakFrames)) return 0;
    std::vector<PeakFrame> frames(static_cast<size_t>(count));
    size_t got = 0;
    const size_t want = frames.size() * sizeof(PeakFrame);
    auto* out = reinterpret_cast<unsigned char*>(frames.data());
    while (got < want) {
        const ssize_t n = read(file.Get(), out + got, want - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return 0;
        if (n == 0) break;  // the file shrank: keep the whole records read
        got += static_cast<size_t>(n);
    }
    frames.resize(got / sizeof(PeakFrame));
    m_list.Replace(std::move(frames));
    return m_list.Count();
}

int32_t WavSound::LoadPeakCacheFor(const std::string& cachePath, const std::string& soundPath) {
    const int32_t count = LoadPeakCache(cachePath);
    if (count == 0) return 0;
    const std::optional<int64_t> least = MinimumPeakFrames(soundPath);
    if (least && count < *least) {
        m_list.Clear();
        return 0;
    }
    return count;
}

bool PeakCacheCovers(const std::string& cachePath, const std::string& soundPath) {
    struct stat st {};
    if (stat(cachePath.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    const int64_t count = static_cast<int64_t>(st.st_size) / int64_t{sizeof(PeakFrame)};
    if (count == 0 || count > kMaxPeakFrames) return false;
    const std::optional<int64_t> least = MinimumPeakFrames(soundPath);
    return !least || count >= *least;
}

std::optional<int64_t> MinimumPeakFrames(const std::string& path) {
    const std::string fullPath = CompletePath(path);
    const std::string ext = UpperExtension(fullPath);
    if (ext == ".WAV") {
        const FileDescriptor file(OpenRegularFile(fullPath));
        if (file.Get() < 0) return std::nullopt;
        WaveFileReader reader(file.Get());
        WaveFormat format;
        WaveData data;
        if (ReadWaveFormat(reader, format) != WaveFault::None || !PeaksReadable(format) ||
            FindWaveData(reader, format, data) != WaveFault::None) {
            return std::nullopt;
        }
        return static_cast<int64_t>(PeakFramesOf(format, data.Bytes));
    }
    if (ext == ".MP3") {
        Mp3Info info;
        if (!ReadMp3Info(fullPath, &info)) return std::nullopt;
        return std::max<int64_t>(0, (int64_t{info.LengthSec} - 1) * 100);
    }
    return std::nullopt;
}

bool WavSound::SavePeakCache(const std::string& path) {
    if (m_list.Empty()) return false;
    const auto* bytes = reinterpret_cast<const uint8_t*>(m_list.Data());
    const size_t size = static_cast<size_t>(m_list.Count()) * sizeof(PeakFrame);
    if (ReplaceFileAtomically(path, std::span<const uint8_t>(bytes, size)) == 0) return true;
    m_reporter.ShowError(TranslatedWith(LV_TEXT("Lumavox", "ファイル %1 を作成できません"), path));
    return false;
}

bool WavSound::ReadWaveInfo(const std::string& path, WaveInfo* info) {
    if (UpperExtension(path) != ".WAV") {
        m_reporter.ShowError(MsgText(Msg::NoSupportFrm));
        return false;
    }
    const FileDescriptor file(OpenRegularFile(CompletePath(path)));
    if (file.Get() < 0) return false;
    WaveFileReader reader(file.Get());
    WaveFormat format;
    WaveData data;
    WaveFault fault = ReadWaveFormat(reader, format);
    if (fault == WaveFault::None && !WaveSamplesReadable(format)) {
        fault = WaveFault::IllegalFile;
    }
    if (fault == WaveFault::None) fault = FindWaveData(reader, format, data);
    if (fault != WaveFault::None) {
        m_reporter.ShowError(WaveFaultText(fault));
        return false;
    }
    const uint64_t frames =
        data.Bytes / static_cast<uint64_t>(format.BytesPerSample * format.Channels);
    const double lengthMs = std::trunc(static_cast<double>(frames) / (format.Rate * 0.001));
    if (info != nullptr) {
        info->Channels = format.Channels;
        info->Rate = static_cast<int32_t>(format.Rate);
        info->BytesPerSample = format.BytesPerSample;
        info->BitsPerSample = 8 * format.BytesPerSample;
        // A day-long 8-bit file at a low rate can pass 2^31 ms; the length then saturates.
        info->LengthMs = static_cast<int32_t>(
            std::min(lengthMs, static_cast<double>(std::numeric_limits<int32_t>::max())));
    }
    return true;
}

}  // namespace lumavox
