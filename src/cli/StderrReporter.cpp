#include "cli/StderrReporter.h"

#include <cstdio>

#include "cli/CliOutput.h"
#include "model/Msgstr.h"
#include "sound/WaveFormat.h"

namespace lumavox::cli {

std::string EnglishSoundText(std::string_view text) {
    // The readers speak the editor's language; this tool speaks English.
    std::string english;
    if (text == MsgText(Msg::FileNotFound)) {
        english = "not found";
    } else if (text == MsgText(Msg::IllegalFile)) {
        english = "not a valid sound file";
    } else if (text == MsgText(Msg::NoSupportFrm)) {
        english = "unsupported format";
    } else if (text == "MP3 Decoding Error") {
        english = "MP3 decoding failed";
    } else if (text.ends_with("を開けません")) {
        english = "cannot open";
    } else if (text.ends_with("を作成できません")) {
        english = "cannot write";
    } else {
        english = std::string(text);
    }
    return english;
}

void StderrReporter::ShowError(std::string_view text) {
    FailFile(m_path, EnglishSoundText(text));
}

WavProblem CheckWavFile(const std::string& path, bool acceptEightBit) {
    const WaveLayout layout = ReadWaveLayout(path);
    if (!layout.Opened) return {"cannot open", 1};
    const WaveFormat& f = layout.Format;
    char detail[160];
    switch (layout.Fault) {
        case WaveFault::IllegalFile:
            if (f.FormatTag == 0 && f.Channels == 0 && f.Rate == 0) {
                return {"not a valid WAV file (no RIFF/WAVE format header)", 2};
            }
            if (f.Channels != 1 && f.Channels != 2) {
                std::snprintf(detail, sizeof detail,
                              "not a valid WAV file (%u channels; mono and stereo are read)",
                              static_cast<unsigned>(f.Channels));
                return {detail, 2};
            }
            if (f.Rate == 0) return {"not a valid WAV file (sample rate 0)", 2};
            return {"not a valid WAV file (no data chunk)", 2};
        case WaveFault::NoSupportFrm:
            if (!f.Pcm && !f.Float) {
                std::snprintf(detail, sizeof detail,
                              "unsupported WAV format (format tag 0x%04X, neither PCM nor float)",
                              static_cast<unsigned>(f.FormatTag));
            } else {
                std::snprintf(detail, sizeof detail,
                              "unsupported WAV format (%u Hz; at most %u Hz is read)",
                              static_cast<unsigned>(f.Rate), static_cast<unsigned>(kMaxWaveRate));
            }
            return {detail, 3};
        case WaveFault::None:
            break;
    }
    const int32_t bytes = f.BytesPerSample;
    const bool eightBit = bytes == 1 && f.Pcm;
    if (WaveSamplesReadable(f) && (acceptEightBit || !eightBit)) return {};
    if (eightBit || bytes < 1 || bytes > 4) {
        std::snprintf(detail, sizeof detail,
                      "unsupported WAV format (%d-bit samples; the waveform reads 16-, 24- and "
                      "32-bit samples)",
                      static_cast<int>(bytes * 8));
    } else {
        std::snprintf(detail, sizeof detail,
                      "unsupported WAV format (%d-bit %s samples declared as %u bits with block "
                      "align %u)",
                      static_cast<int>(bytes * 8), f.Float ? "float" : "integer",
                      static_cast<unsigned>(f.BitsPerSample), static_cast<unsigned>(f.BlockAlign));
    }
    return {detail, 3};
}

}  // namespace lumavox::cli
