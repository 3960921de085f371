#pragma once

#include <string>
#include <string_view>

#include "sound/SoundReporter.h"

namespace lumavox::cli {

// Sound reader messages for a terminal: errors go to stderr as one English line about the file
// being read, progress texts are dropped so that stdout stays machine-readable.
class StderrReporter final : public SoundReporter {
public:
    explicit StderrReporter(std::string path) : m_path(std::move(path)) {}
    void ShowStatus(std::string_view) override {}
    void ShowError(std::string_view text) override;

private:
    std::string m_path;
};

// A message of the sound readers in English ("不正なファイルです" → "not a valid sound file").
std::string EnglishSoundText(std::string_view text);

// Why a WAV file cannot be used, in English with the detail the reader's own messages lack
// ("unsupported WAV format (8-bit samples; the waveform reads 16-, 24- and 32-bit samples)"), and
// the reader's error code for it; empty text when the header is fine. acceptEightBit: 8-bit files
// pass (for wavinfo; the waveform reads 16 bits and wider).
struct WavProblem {
    std::string Text;
    int Code = 0;  // 1 cannot open, 2 not a valid file, 3 unsupported format
};
WavProblem CheckWavFile(const std::string& path, bool acceptEightBit);

}  // namespace lumavox::cli
