#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "sound/PeakFrame.h"

namespace lumavox {

// How a sound read tells its progress and learns that it is no longer wanted. Both are optional.
struct SoundReadControl {
    // The status text of the moment ("MP3 Decoding... 12%", "読み込み中... 42%"; empty when done),
    // called on the reading thread each time the text changes.
    std::function<void(std::string_view)> Status;
    // Set from any thread to stop the read. Looked at between blocks of at most one second of
    // samples while scanning and after each megabyte of decoded sound, i.e. every few milliseconds.
    // Relaxed loads are enough: the flag carries no data, and the reader only has to see it soon.
    const std::atomic<bool>* Cancel = nullptr;

    bool Cancelled() const { return Cancel != nullptr && Cancel->load(std::memory_order_relaxed); }
    void Show(std::string_view text) const {
        if (Status) Status(text);
    }
};

// A sound read into peak frames without touching any WavSound: what WavSound::LoadSound does up to
// the point where it replaces its list and reports, so that the reading can run on a worker and
// the result be taken in (WavSound::TakeScan) on the thread that owns the sound.
struct SoundScan {
    std::string Path;         // as asked for
    double FileTime = 0.0;    // FileDateTime of the file when the read began
    bool Cancelled = false;   // stopped through the control; nothing else below is meaningful
    int32_t Code = 0;         // the entry count, or a code below 0 (see WavSound.h)
    bool FormatRead = false;  // the three format values describe the file (even after a failure)
    int32_t Channels = 0;
    int32_t Rate = 0;
    int32_t BytesPerSample = 0;
    bool DataFound = false;  // the data chunk was found: Frames replace the peak list
    std::vector<PeakFrame> Frames;
};

// Reads the 16-bit PCM WAV or MP3 file at path (resolved against the program folder) into peak
// frames, 100 per second. Any thread; touches no shared state besides the temporary files of an
// MP3 decode, which it removes. Reports nothing: the caller passes the result to TakeScan.
SoundScan ScanSound(const std::string& path, const SoundReadControl& control);

}  // namespace lumavox
