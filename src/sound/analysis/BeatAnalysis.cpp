#include "sound/analysis/BeatAnalysis.h"

#include <aubio/aubio.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <filesystem>
#include <memory>

#include "model/Msgstr.h"
#include "platform/FileRead.h"
#include "platform/Paths.h"
#include "sound/Mp3Decode.h"
#include "sound/SoundScan.h"
#include "sound/WavSound.h"
#include "sound/WaveFormat.h"

namespace lumavox {

namespace {

constexpr std::string_view kMethod = "hfc";
// Bumped whenever a change of the method moves the times it gives, so that caches of the old
// method are rebuilt.
constexpr int kMethodVersion = 2;

int32_t ClampSensitivity(int32_t sensitivity) {
    return std::clamp(sensitivity, 1, 100);
}

// The peak-picking threshold of the onset detector for a sensitivity: 1 → 1.0, 50 → 0.51,
// 100 → 0.02 (lower thresholds take smaller rises). At 50 a steady chord between drum hits
// gives no onsets of its own.
float ThresholdOf(int32_t sensitivity) {
    const double s = (ClampSensitivity(sensitivity) - 1) / 99.0;
    return static_cast<float>(0.02 + 0.98 * (1.0 - s));
}

// Below this level (dBFS) nothing counts as an onset; quieter for higher sensitivities.
float SilenceOf(int32_t sensitivity) {
    return static_cast<float>(-50.0 - 0.4 * ClampSensitivity(sensitivity));
}

// The detectors work on the sound averaged down to about 11 kHz, which keeps what they look at
// (the rise of the high band and the spectral flux up to 5 kHz) at a quarter of the work.
uint32_t DecimationFor(int32_t rate) {
    return std::max<uint32_t>(1, static_cast<uint32_t>(rate) / 11025);
}

// The detectors' hop at the averaged rate: about 5.8 ms, a power of two (64 at 11 kHz). The onset
// detector looks at windows of four hops, the beat tracker at windows of two, which on drums
// kept its beats closest to the hits.
uint32_t OnsetHopFor(int32_t rate) {
    uint32_t hop = 32;
    while (hop * 3 / 2 <= static_cast<uint32_t>(rate) * 58 / 10000) hop *= 2;
    return hop;
}

struct AubioDeleter {
    void operator()(aubio_onset_t* p) const { del_aubio_onset(p); }
    void operator()(aubio_tempo_t* p) const { del_aubio_tempo(p); }
    void operator()(fvec_t* p) const { del_fvec(p); }
};
template <typename T>
using AubioPtr = std::unique_ptr<T, AubioDeleter>;

// Streams mono samples through an onset detector and a beat tracker and refines each onset the
// detector reports to the sample where the level rises most steeply, which the detector, working
// in hops of a few milliseconds behind a fixed delay, can only place roughly.
class Analyser {
public:
    Analyser(int32_t rate, const BeatSettings& settings)
        : m_rate(rate),
          m_decimation(DecimationFor(rate)),
          m_hop(OnsetHopFor(rate / static_cast<int32_t>(m_decimation))),
          m_tempoHop(m_hop),
          m_onset(new_aubio_onset(kMethod.data(), m_hop * 4, m_hop,
                                  static_cast<uint_t>(rate) / m_decimation)),
          m_tempo(new_aubio_tempo("default", m_tempoHop * 2, m_tempoHop,
                                  static_cast<uint_t>(rate) / m_decimation)),
          m_onsetIn(new_fvec(m_hop)),
          m_onsetOut(new_fvec(1)),
          m_tempoIn(new_fvec(m_tempoHop)),
          m_tempoOut(new_fvec(1)) {
        size_t ring = 1;
        while (ring < static_cast<size_t>(m_hop) * m_decimation * 64) ring *= 2;
        m_ring.assign(ring, 0.0f);
        m_before = std::max<size_t>(8, static_cast<size_t>(rate) * 4 / 1000);
        m_after = std::max<size_t>(4, static_cast<size_t>(rate) / 1000);
        m_search = static_cast<size_t>(m_hop) * m_decimation * 4;
        m_minGap = static_cast<uint64_t>(rate) * 20 / 1000;
        if (m_onset) {
            aubio_onset_set_threshold(m_onset.get(), ThresholdOf(settings.Sensitivity));
            aubio_onset_set_silence(m_onset.get(), SilenceOf(settings.Sensitivity));
            aubio_onset_set_minioi_ms(m_onset.get(), 20.0f);
        }
    }

    bool Ok() const {
        return m_onset && m_tempo && m_onsetIn && m_onsetOut && m_tempoIn && m_tempoOut;
    }

    void Feed(const float* mono, size_t count) {
        for (size_t i = 0; i < count; ++i) {
            const float s = mono[i];
            m_ring[static_cast<size_t>(m_total) & (m_ring.size() - 1)] = s;
            ++m_total;
            m_sum += s;
            if (++m_summed < m_decimation) continue;
            const float average = m_sum / static_cast<float>(m_decimation);
            m_sum = 0.0f;
            m_summed = 0;
            m_onsetIn->data[m_onsetFill++] = average;
            m_tempoIn->data[m_tempoFill++] = average;
            if (m_onsetFill == m_hop) {
                m_onsetFill = 0;
                aubio_onset_do(m_onset.get(), m_onsetIn.get(), m_onsetOut.get());
                if (m_onsetOut->data[0] > 0.0f) {
                    AddOnset(uint64_t{aubio_onset_get_last(m_onset.get())} * m_decimation);
                }
            }
            if (m_tempoFill == m_tempoHop) {
                m_tempoFill = 0;
                aubio_tempo_do(m_tempo.get(), m_tempoIn.get(), m_tempoOut.get());
                if (m_tempoOut->data[0] > 0.0f) {
                    m_beats.push_back(uint64_t{aubio_tempo_get_last(m_tempo.get())} * m_decimation);
                }
            }
        }
    }

    BeatAnalysis Finish() {
        // Flush the detectors' look-ahead with silence so that a hit near the end is reported.
        const std::vector<float> tail(static_cast<size_t>(m_hop) * m_decimation * 8, 0.0f);
        const uint64_t end = m_total;
        Feed(tail.data(), tail.size());
        BeatAnalysis result;
        for (const uint64_t at : m_onsets) {
            if (at < end) result.Onsets.push_back(ToMs(at));
        }
        result.Onsets.erase(std::unique(result.Onsets.begin(), result.Onsets.end()),
                            result.Onsets.end());
        // The beat tracker places a beat to its hop; a beat that falls on a hit takes the hit's
        // refined time.
        const auto snapMs = static_cast<int32_t>(uint64_t{m_tempoHop} * m_decimation * 1000 /
                                                 static_cast<uint64_t>(m_rate));
        for (const uint64_t at : m_beats) {
            if (at >= end) continue;
            int32_t beat = ToMs(at);
            const auto next = std::lower_bound(result.Onsets.begin(), result.Onsets.end(), beat);
            int32_t nearest = -1;
            if (next != result.Onsets.end()) nearest = *next;
            if (next != result.Onsets.begin() &&
                (nearest < 0 || beat - *(next - 1) < nearest - beat)) {
                nearest = *(next - 1);
            }
            if (nearest >= 0 && std::abs(nearest - beat) <= snapMs) beat = nearest;
            result.Beats.push_back(beat);
        }
        std::sort(result.Beats.begin(), result.Beats.end());
        result.Beats.erase(std::unique(result.Beats.begin(), result.Beats.end()),
                           result.Beats.end());
        result.Tempo = TempoOf(result.Beats);
        return result;
    }

private:
    int32_t ToMs(uint64_t sample) const {
        return static_cast<int32_t>(
            std::min<uint64_t>(sample * 1000 / static_cast<uint64_t>(m_rate), INT32_MAX));
    }

    float At(uint64_t index) const {
        return m_ring[static_cast<size_t>(index) & (m_ring.size() - 1)];
    }

    // The sample within the search range around reported where the mean power of the next
    // m_after samples over that of the m_before samples before rises most. The power is that of
    // the sample less 0.95 of the one before (a gentle high-pass), which keeps the low notes and
    // the tails of earlier hits from outweighing the attack; a plain difference would weigh the
    // ringing a resampler leaves before a low hit above the hit itself. Before the first sample the
    // sound counts as silent, so that a sound starting loud has its onset at 0.
    void AddOnset(uint64_t reported) {
        const auto total = static_cast<int64_t>(m_total);
        const auto at = static_cast<int64_t>(reported);
        const auto before = static_cast<int64_t>(m_before);
        const auto after = static_cast<int64_t>(m_after);
        const auto search = static_cast<int64_t>(m_search);
        const int64_t oldest = total - static_cast<int64_t>(m_ring.size());
        const int64_t lo = std::max({oldest > 0 ? oldest + before : int64_t{0}, at - search});
        const int64_t hi = std::min(at + search, total - after);
        int64_t best = std::clamp(at, int64_t{0}, total);
        if (lo < hi) {
            // prefix sums of the power from lo - m_before to hi + m_after
            const int64_t first = lo - before;
            const auto n = static_cast<size_t>(hi + after - first);
            m_prefix.assign(n + 1, 0.0);
            double previous = first <= 0 ? 0.0 : At(static_cast<uint64_t>(first - 1));
            for (size_t i = 0; i < n; ++i) {
                const int64_t index = first + static_cast<int64_t>(i);
                const double v = index < 0 ? 0.0 : At(static_cast<uint64_t>(index));
                const double rise = v - 0.95 * previous;
                previous = v;
                m_prefix[i + 1] = m_prefix[i] + rise * rise;
            }
            const auto b = static_cast<size_t>(before);
            const auto a = static_cast<size_t>(after);
            // What lies 30 dB below the loudest part of the range counts as silence: the
            // noise an MP3 encoder spreads just before a hit must not look like its start.
            double loudest = 0.0;
            for (int64_t p = lo; p < hi; ++p) {
                const auto k = static_cast<size_t>(p - first);
                loudest = std::max(loudest, m_prefix[k + a] - m_prefix[k]);
            }
            const double floor = loudest / static_cast<double>(a) * 1e-3 + 1e-12;
            double bestRatio = -1.0;
            for (int64_t p = lo; p < hi; ++p) {
                const auto k = static_cast<size_t>(p - first);
                const double powerBefore = (m_prefix[k] - m_prefix[k - b]) / static_cast<double>(b);
                const double powerAfter = (m_prefix[k + a] - m_prefix[k]) / static_cast<double>(a);
                const double ratio = (powerAfter + floor) / (powerBefore + floor);
                if (ratio > bestRatio) {
                    bestRatio = ratio;
                    best = p;
                }
            }
        }
        const auto sample = static_cast<uint64_t>(best);
        if (!m_onsets.empty() && sample < m_onsets.back() + m_minGap) return;
        m_onsets.push_back(sample);
    }

    // Beats per minute, to a thousandth: the time the beats span over the number of beat
    // periods in it, each gap counted as the whole number of median gaps nearest to it (so that
    // a skipped beat counts twice and the hop-sized steps of single gaps average out).
    static double TempoOf(const std::vector<int32_t>& beats) {
        if (beats.size() < 2) return 0.0;
        std::vector<int32_t> gaps;
        gaps.reserve(beats.size() - 1);
        for (size_t i = 1; i < beats.size(); ++i) gaps.push_back(beats[i] - beats[i - 1]);
        std::vector<int32_t> sorted = gaps;
        std::nth_element(sorted.begin(),
                         sorted.begin() + static_cast<std::ptrdiff_t>(sorted.size() / 2),
                         sorted.end());
        const double median = sorted[sorted.size() / 2];
        if (median <= 0.0) return 0.0;
        double span = 0.0;
        double periods = 0.0;
        for (const int32_t gap : gaps) {
            const double count = std::floor(gap / median + 0.5);
            if (count < 1.0) continue;
            span += gap;
            periods += count;
        }
        return periods > 0.0 ? std::floor(60000.0 * periods / span * 1000.0 + 0.5) / 1000.0 : 0.0;
    }

    int32_t m_rate;
    uint_t m_decimation;
    uint_t m_hop;
    uint_t m_tempoHop;
    AubioPtr<aubio_onset_t> m_onset;
    AubioPtr<aubio_tempo_t> m_tempo;
    AubioPtr<fvec_t> m_onsetIn;
    AubioPtr<fvec_t> m_onsetOut;
    AubioPtr<fvec_t> m_tempoIn;
    AubioPtr<fvec_t> m_tempoOut;
    uint_t m_onsetFill = 0;
    uint_t m_tempoFill = 0;
    float m_sum = 0.0f;
    uint_t m_summed = 0;
    std::vector<float> m_ring;
    std::vector<double> m_prefix;
    size_t m_before = 0;
    size_t m_after = 0;
    size_t m_search = 0;
    uint64_t m_minGap = 0;
    uint64_t m_total = 0;
    std::vector<uint64_t> m_onsets;
    std::vector<uint64_t> m_beats;
};

// Calls the progress callback when the whole percent changes.
class ProgressTicker {
public:
    ProgressTicker(const AnalysisControl& control, uint64_t total)
        : m_control(control), m_total(total) {}
    void At(uint64_t done) {
        if (!m_control.Progress) return;
        const int32_t percent =
            m_total == 0 ? 100
                         : static_cast<int32_t>(std::min<uint64_t>(done, m_total) * 100 / m_total);
        if (percent == m_last) return;
        m_last = percent;
        m_control.Progress(percent);
    }
    bool Cancelled() const {
        return m_control.Cancel != nullptr && m_control.Cancel->load(std::memory_order_relaxed);
    }

private:
    const AnalysisControl& m_control;
    uint64_t m_total;
    int32_t m_last = -1;
};

void Downmix(const int16_t* samples, size_t frames, int32_t channels, std::vector<float>& mono) {
    mono.resize(frames);
    constexpr float kScale = 1.0f / 32768.0f;
    if (channels == 2) {
        for (size_t i = 0; i < frames; ++i) {
            mono[i] =
                (static_cast<float>(samples[2 * i]) + static_cast<float>(samples[2 * i + 1])) *
                (0.5f * kScale);
        }
    } else {
        for (size_t i = 0; i < frames; ++i) mono[i] = static_cast<float>(samples[i]) * kScale;
    }
}

// Reads a 16-bit PCM WAV file second by second into the analyser, as the peak list reader
// does: a data chunk cut short by the end of the file is read as far as it goes.
int32_t AnalyseWaveFile(const std::string& path, const BeatSettings& settings, BeatAnalysis& result,
                        const AnalysisControl& control) {
    const FileDescriptor file(OpenRegularFile(path));
    const int fd = file.Get();
    if (fd < 0) return kSoundFileNotFound;
    WaveFileReader reader(fd);
    WaveFormat format;
    WaveData data;
    WaveFault fault = ReadWaveFormat(reader, format);
    if (fault == WaveFault::None && format.BytesPerSample != 2) fault = WaveFault::NoSupportFrm;
    if (fault == WaveFault::None) fault = FindWaveData(reader, format, data);
    if (fault != WaveFault::None) {
        return fault == WaveFault::NoSupportFrm ? kSoundNoSupportFrm : kSoundIllegalFile;
    }
    const uint64_t frameBytes = uint64_t{2} * format.Channels;
    const uint64_t frames = data.Bytes / frameBytes;
    if (frames / format.Rate * 100 > static_cast<uint64_t>(kMaxPeakFrames)) {
        return kSoundNoSupportFrm;
    }

    Analyser analyser(static_cast<int32_t>(format.Rate), settings);
    if (!analyser.Ok()) return kSoundNoSupportFrm;
    ProgressTicker progress(control, frames);
    progress.At(0);
    std::vector<int16_t> block(static_cast<size_t>(format.Rate) * format.Channels);
    std::vector<float> mono;
    for (uint64_t done = 0; done < frames;) {
        if (progress.Cancelled()) return kAnalysisCancelled;
        const uint64_t count = std::min<uint64_t>(format.Rate, frames - done);
        if (!ReadAt(fd, block.data(), static_cast<size_t>(count * frameBytes),
                    data.Offset + done * frameBytes)) {
            break;  // the file shrank while being read: analyse what was there
        }
        Downmix(block.data(), static_cast<size_t>(count), format.Channels, mono);
        analyser.Feed(mono.data(), mono.size());
        done += count;
        progress.At(done);
    }
    if (progress.Cancelled()) return kAnalysisCancelled;
    result = analyser.Finish();
    progress.At(frames);
    return 0;
}

// A private folder for one MP3 decode, removed with its file when it goes.
class DecodeFolder {
public:
    DecodeFolder() {
        std::error_code ec;
        std::filesystem::path base = std::filesystem::temp_directory_path(ec);
        if (ec) base = "/tmp";
        std::string templ = (base / "lumavox-beats-XXXXXX").string();
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
    std::string WavPath() const { return m_folder + "/decoded.wav"; }

private:
    std::string m_folder;
};

}  // namespace

std::string BeatSettingsKey(const BeatSettings& settings) {
    return std::string(kMethod) + "-" + std::to_string(kMethodVersion) + " sensitivity " +
           std::to_string(ClampSensitivity(settings.Sensitivity));
}

int32_t AnalyseSamples(const int16_t* samples, size_t frameCount, int32_t channels, int32_t rate,
                       const BeatSettings& settings, BeatAnalysis& result,
                       const AnalysisControl& control) {
    result = {};
    if (rate <= 0 || (channels != 1 && channels != 2)) return kSoundNoSupportFrm;
    Analyser analyser(rate, settings);
    if (!analyser.Ok()) return kSoundNoSupportFrm;
    ProgressTicker progress(control, frameCount);
    progress.At(0);
    std::vector<float> mono;
    const size_t blockFrames = static_cast<size_t>(rate);
    for (size_t done = 0; done < frameCount;) {
        if (progress.Cancelled()) return kAnalysisCancelled;
        const size_t count = std::min(blockFrames, frameCount - done);
        Downmix(samples + done * static_cast<size_t>(channels), count, channels, mono);
        analyser.Feed(mono.data(), mono.size());
        done += count;
        progress.At(done);
    }
    if (progress.Cancelled()) return kAnalysisCancelled;
    result = analyser.Finish();
    progress.At(frameCount);
    return 0;
}

int32_t AnalyseSound(const std::string& path, const BeatSettings& settings, BeatAnalysis& result,
                     const AnalysisControl& control) {
    result = {};
    const std::string fullPath = CompletePath(path);
    struct stat st {};
    if (fullPath.empty() || stat(fullPath.c_str(), &st) != 0) return kSoundFileNotFound;
    const std::string ext = UpperExtension(fullPath);
    if (ext == ".WAV") return AnalyseWaveFile(fullPath, settings, result, control);
    if (ext != ".MP3") return kSoundNoSupportFrm;
    DecodeFolder folder;
    // The decode looks at the same cancel flag, so a cancel during a long MP3 answers at once.
    SoundReadControl decode;
    decode.Cancel = control.Cancel;
    const bool decoded = folder.Ok() && DecodeMp3(fullPath, folder.WavPath(), &decode);
    if (control.Cancel != nullptr && control.Cancel->load(std::memory_order_relaxed)) {
        return kAnalysisCancelled;
    }
    if (!decoded) return kSoundMp3Failed;
    const int32_t code = AnalyseWaveFile(folder.WavPath(), settings, result, control);
    // the decoder's own file: a fault in it is the decoding's
    return code == kSoundIllegalFile || code == kSoundFileNotFound ? kSoundMp3Failed : code;
}

std::string_view BeatFailureText(int32_t code) {
    switch (code) {
        case kSoundFileNotFound:
            return MsgText(Msg::FileNotFound);
        case kSoundIllegalFile:
            return MsgText(Msg::IllegalFile);
        case kSoundNoSupportFrm:
            return MsgText(Msg::NoSupportFrm);
        case kSoundMp3Failed:
            return "MP3 Decoding Error";
        default:
            return {};
    }
}

}  // namespace lumavox
