// Reading sounds into the peak list: a long 16-bit WAV file (page cache warm) and an MP3 file
// decoded through its temporary WAV file. Fixtures are generated once into a temporary folder.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "sound/SoundReporter.h"
#include "sound/SoundScan.h"
#include "sound/WavSound.h"

namespace {

using lumavox::WavSound;

class QuietReporter : public lumavox::SoundReporter {
public:
    void ShowStatus(std::string_view) override {}
    void ShowError(std::string_view) override {}
};

class BenchFolder {
public:
    BenchFolder() {
        std::string templ =
            (std::filesystem::temp_directory_path() / "lumavox-bench-XXXXXX").string();
        if (mkdtemp(templ.data()) != nullptr) m_path = templ;
    }
    ~BenchFolder() {
        std::error_code ec;
        if (!m_path.empty()) std::filesystem::remove_all(m_path, ec);
    }
    BenchFolder(const BenchFolder&) = delete;
    BenchFolder& operator=(const BenchFolder&) = delete;
    std::string File(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

BenchFolder& Folder() {
    static BenchFolder folder;
    return folder;
}

void Put32(std::ofstream& out, uint32_t v) {
    const char b[4] = {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF),
                       static_cast<char>((v >> 16) & 0xFF), static_cast<char>(v >> 24)};
    out.write(b, 4);
}

void Put16(std::ofstream& out, uint32_t v) {
    const char b[2] = {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)};
    out.write(b, 2);
}

// A 44.1 kHz 16-bit stereo WAV file of music-like content: a few tones, a beat and some noise.
std::string MakeWav(const std::string& name, int seconds) {
    const std::string path = Folder().File(name);
    const uint32_t frames = 44100u * static_cast<uint32_t>(seconds);
    const uint32_t dataBytes = frames * 4;
    std::ofstream out(path, std::ios::binary);
    out.write("RIFF", 4);
    Put32(out, 36 + dataBytes);
    out.write("WAVEfmt ", 8);
    Put32(out, 16);
    Put16(out, 1);
    Put16(out, 2);
    Put32(out, 44100);
    Put32(out, 44100 * 4);
    Put16(out, 4);
    Put16(out, 16);
    out.write("data", 4);
    Put32(out, dataBytes);
    std::vector<int16_t> block(44100 * 2);
    uint32_t noise = 12345;
    for (uint32_t f = 0; f < frames;) {
        for (size_t i = 0; i < 44100 && f < frames; ++i, ++f) {
            const double t = f / 44100.0;
            const double beat = std::exp(-std::fmod(t, 0.5) * 12.0);
            noise = noise * 1664525u + 1013904223u;
            const double n = (static_cast<int32_t>(noise >> 16) - 32768) / 32768.0;
            const double l = 0.3 * std::sin(2 * M_PI * 220 * t) +
                             0.2 * std::sin(2 * M_PI * 331 * t) + 0.3 * beat * n;
            const double r = 0.3 * std::sin(2 * M_PI * 277 * t) +
                             0.2 * std::sin(2 * M_PI * 440 * t) + 0.3 * beat * n;
            block[2 * i] = static_cast<int16_t>(l * 30000.0);
            block[2 * i + 1] = static_cast<int16_t>(r * 30000.0);
        }
        out.write(reinterpret_cast<const char*>(block.data()),
                  static_cast<std::streamsize>(block.size() * 2));
    }
    return path;
}

void BM_PeakScanWav10Minutes(benchmark::State& state) {
    static const std::string path = MakeWav("ten-minutes.wav", 600);
    QuietReporter reporter;
    WavSound sound(reporter);
    sound.LoadSound(path);  // warms the page cache
    for (auto _ : state) {
        benchmark::DoNotOptimize(sound.LoadSound(path));
    }
    state.SetBytesProcessed(state.iterations() *
                            static_cast<int64_t>(std::filesystem::file_size(path)));
    state.counters["entries"] = sound.List().Count();
}
BENCHMARK(BM_PeakScanWav10Minutes)->Unit(benchmark::kMillisecond)->UseRealTime();

// Five minutes encoded at 192 kbit/s; empty when lame is not installed.
const std::string& FiveMinuteMp3() {
    static const std::string mp3 = [] {
        const std::string wav = MakeWav("five-minutes.wav", 300);
        const std::string out = Folder().File("five-minutes.mp3");
        const std::string command = "lame --quiet -b 192 '" + wav + "' '" + out + "'";
        if (std::system(command.c_str()) != 0) return std::string();
        std::filesystem::remove(wav);
        return out;
    }();
    return mp3;
}

void BM_LoadMp3FiveMinutes192k(benchmark::State& state) {
    const std::string& mp3 = FiveMinuteMp3();
    if (mp3.empty()) {
        state.SkipWithError("lame is not installed");
        return;
    }
    QuietReporter reporter;
    WavSound sound(reporter);
    for (auto _ : state) {
        benchmark::DoNotOptimize(sound.LoadSound(mp3));
    }
    state.counters["entries"] = sound.List().Count();
}
BENCHMARK(BM_LoadMp3FiveMinutes192k)->Unit(benchmark::kMillisecond)->UseRealTime();

// What opening a project with a peak cache adds: the sound's length told from its header (WAV)
// or from a scan of its frame headers (MP3), to check that the cache is not short.
void BM_CacheCheckWav10Minutes(benchmark::State& state) {
    static const std::string path = MakeWav("ten-minutes.wav", 600);
    for (auto _ : state) {
        benchmark::DoNotOptimize(lumavox::MinimumPeakFrames(path));
    }
}
BENCHMARK(BM_CacheCheckWav10Minutes)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_CacheCheckMp3FiveMinutes192k(benchmark::State& state) {
    const std::string& mp3 = FiveMinuteMp3();
    if (mp3.empty()) {
        state.SkipWithError("lame is not installed");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(lumavox::MinimumPeakFrames(mp3));
    }
}
BENCHMARK(BM_CacheCheckMp3FiveMinutes192k)->Unit(benchmark::kMillisecond)->UseRealTime();

// How long a read on a worker goes on once it is cancelled (what Escape waits for in the
// editor): the worker is cancelled once it has told its first progress text past 0 %.
void CancelLatency(benchmark::State& state, const std::string& path) {
    for (auto _ : state) {
        std::atomic<bool> cancel{false};
        std::mutex mutex;
        std::condition_variable started;
        bool running = false;
        lumavox::SoundReadControl control;
        control.Cancel = &cancel;
        control.Status = [&](std::string_view text) {
            if (text.empty() || text.ends_with(" 0%") || text.ends_with(".. ")) return;
            const std::lock_guard lock(mutex);
            running = true;
            started.notify_one();
        };
        std::chrono::steady_clock::time_point cancelled;
        std::thread worker([&] { benchmark::DoNotOptimize(lumavox::ScanSound(path, control)); });
        {
            std::unique_lock lock(mutex);
            started.wait_for(lock, std::chrono::seconds(60), [&] { return running; });
            cancelled = std::chrono::steady_clock::now();
            cancel.store(true);
        }
        worker.join();
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - cancelled).count());
    }
}

void BM_CancelWav10Minutes(benchmark::State& state) {
    CancelLatency(state, MakeWav("ten-minutes.wav", 600));
}
BENCHMARK(BM_CancelWav10Minutes)->Unit(benchmark::kMillisecond)->UseManualTime();

void BM_CancelMp3FiveMinutes192k(benchmark::State& state) {
    const std::string& mp3 = FiveMinuteMp3();
    if (mp3.empty()) {
        state.SkipWithError("lame is not installed");
        return;
    }
    CancelLatency(state, mp3);
}
BENCHMARK(BM_CancelMp3FiveMinutes192k)->Unit(benchmark::kMillisecond)->UseManualTime();

}  // namespace
