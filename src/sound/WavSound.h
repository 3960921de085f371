#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "sound/PeakFrame.h"
#include "sound/SoundReporter.h"
#include "sound/SoundScan.h"

namespace lumavox {

// Results of LoadSound below 0; each is reported through the SoundReporter before returning.
// "ファイルが見つかりません", or "ファイル %s を開けません" for a file that cannot be opened.
inline constexpr int32_t kSoundFileNotFound = -1;
inline constexpr int32_t kSoundIllegalFile = -2;   // "不正なファイルです"
inline constexpr int32_t kSoundNoSupportFrm = -3;  // "未対応なフォーマットです"
inline constexpr int32_t kSoundMp3Failed = -4;     // "MP3 Decoding Error"

// The longest sound the peak list takes: 48 hours (about 276 MB of entries). Longer sounds are
// refused as unsupported rather than allocating without bound.
inline constexpr int64_t kMaxPeakFrames = 48LL * 3600 * 100;

// What ReadWaveInfo reports of a WAV file.
struct WaveInfo {
    int32_t Channels = 0;
    int32_t Rate = 0;  // Hz
    int32_t BytesPerSample = 0;
    int32_t BitsPerSample = 0;  // 8 × BytesPerSample
    int32_t LengthMs = 0;
};

// The fewest entries a complete peak list of the sound at path holds, told from the file's header
// without reading the samples: for a WAV file exactly what LoadSound gives; for an MP3
// file its length in whole seconds less one second (the decoder trims the encoder's delay, which
// moves the end by a few milliseconds). nullopt when the file cannot tell: missing, unreadable, or
// in a format LoadSound refuses. The path is resolved against the program folder.
std::optional<int64_t> MinimumPeakFrames(const std::string& path);

// Whether the .wfm file at cachePath can stand for the sound at soundPath as LoadPeakCacheFor
// decides it, told from the file's size without reading it.
bool PeakCacheCovers(const std::string& cachePath, const std::string& soundPath);
// A peak list with the format of the sound it was read from, kept whole so that a sound change
// can be undone without reading the former sound again.
struct WavSoundState {
    TWavFrmList List;
    int32_t Channels = 0;
    int32_t Rate = 0;
    int32_t BytesPerSample = 0;
};

// The loaded sound: its waveform peak list (100 entries per second of sound) and the format of
// the last sound read. Owned by the main window for the whole run. UI thread only (or the one
// thread of a command-line tool); reading a long sound blocks that thread and reports progress.
class WavSound {
public:
    explicit WavSound(SoundReporter& reporter) : m_reporter(reporter) {}

    // Reads a WAV file of 16-, 24- or 32-bit integer or 32-bit float samples (plain or
    // extensible), or an MP3 file through a temporary WAV file, into the peak list. Wider samples
    // are brought to the 16-bit range first, so the entries and the cache keep one scale. The path
    // is resolved against the program folder. Returns the entry count (0 for a sound too short for
    // one entry), or a kSound... code after reporting it. The list is replaced only once the data
    // chunk has been found; before that the previous list stays.
    int32_t LoadSound(const std::string& path);
    // The second half of LoadSound for a sound read elsewhere (ScanSound on a worker): takes the
    // format and the frames in as LoadSound would and reports a failure. A cancelled scan changes
    // nothing. Returns what LoadSound would have returned.
    int32_t TakeScan(SoundScan&& scan);
    // Replaces the list with the records of a .wfm file; on any error the list ends empty. Reports
    // nothing. Returns the count.
    int32_t LoadPeakCache(const std::string& path);
    // LoadPeakCache, kept only when the cache can stand for the sound at soundPath: not empty and
    // not short of MinimumPeakFrames (soundPath). A cache that falls short (cut off, or written
    // empty) leaves the list empty, so that the caller reads the sound again. Reports nothing.
    int32_t LoadPeakCacheFor(const std::string& cachePath, const std::string& soundPath);
    // Writes the list as a .wfm file, atomically (a temporary file beside it, then renamed over
    // it). An empty list writes nothing and gives false; a failure is reported and gives false.
    bool SavePeakCache(const std::string& path);
    // Frees every entry and empties the list.
    void Clear() { m_list.Clear(); }
    // Reads the format of a WAV file LoadSound or the player can read (8-bit PCM included); info
    // may be null. Reports a refused
    // file (a file that cannot be opened only gives false).
    bool ReadWaveInfo(const std::string& path, WaveInfo* info);

    WavSoundState State() const { return {m_list, m_channels, m_rate, m_bytesPerSample}; }
    void Restore(WavSoundState state) {
        m_list = std::move(state.List);
        m_channels = state.Channels;
        m_rate = state.Rate;
        m_bytesPerSample = state.BytesPerSample;
    }

    const TWavFrmList& List() const { return m_list; }
    int32_t Channels() const { return m_channels; }
    int32_t Rate() const { return m_rate; }
    int32_t BytesPerSample() const { return m_bytesPerSample; }

private:
    int32_t Fail(int32_t code, const std::string& path);

    SoundReporter& m_reporter;
    TWavFrmList m_list;
    int32_t m_channels = 0;
    int32_t m_rate = 0;
    int32_t m_bytesPerSample = 0;
};

}  // namespace lumavox
