// Measures how well the sound device's reported position matches what the sound server really
// outputs. A click track (a 1 ms click every 500 ms) plays through PulseSoundDevice into a private
// null sink while parec records the sink's monitor; a second thread reads the device position
// every millisecond. Each recorded click is placed on the monotonic clock, and the position the
// device reported at that moment is compared with the click's place in the file.
//
// The recording and its time base are bench/MonitorRecording.h's.
//
// Usage: position_accuracy [seconds]   (default 60)
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

#include "MonitorRecording.h"
#include "fakes/HeadlessPulseServer.h"
#include "sound/WavFixture.h"
#include "sound/player/PulseSoundDevice.h"

namespace {

using lumavox::bench::MonitorRecording;
using lumavox::bench::MonotonicUs;
using lumavox::testing::HeadlessPulseServer;

constexpr uint32_t kRate = 44100;
constexpr uint32_t kClickEveryFrames = kRate / 2;  // 500 ms
constexpr int kClickFrames = 44;                   // 1 ms

struct Reading {
    int64_t AtUs;
    int32_t PositionMs;
};

// The position the device reported at atUs, interpolated between the two nearest readings.
double PositionAt(const std::vector<Reading>& readings, int64_t atUs) {
    auto after = std::lower_bound(readings.begin(), readings.end(), atUs,
                                  [](const Reading& r, int64_t t) { return r.AtUs < t; });
    if (after == readings.begin() || after == readings.end()) return NAN;
    const Reading& b = *after;
    const Reading& a = *(after - 1);
    const double x = static_cast<double>(atUs - a.AtUs) / static_cast<double>(b.AtUs - a.AtUs);
    return a.PositionMs + (b.PositionMs - a.PositionMs) * x;
}

}  // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::max(5, std::atoi(argv[1])) : 60;
    HeadlessPulseServer server;
    if (!server.Start()) {
        std::fprintf(stderr, "no sound server: %s\n", server.Error().c_str());
        return 1;
    }

    // The click track, a little longer than the measurement.
    const uint32_t frames = kRate * static_cast<uint32_t>(seconds + 2);
    std::vector<int16_t> samples(static_cast<size_t>(frames) * 2, 0);
    for (uint32_t f = 0; f < frames; f += kClickEveryFrames) {
        for (int i = 0; i < kClickFrames && f + static_cast<uint32_t>(i) < frames; ++i) {
            samples[2 * (f + static_cast<uint32_t>(i))] = 20000;
            samples[2 * (f + static_cast<uint32_t>(i)) + 1] = 20000;
        }
    }
    const std::string wav = server.Folder() + "clicks.wav";
    lumavox::test::WriteFile(
        wav, lumavox::test::WavBytes(lumavox::test::WavRecipe{}, lumavox::test::Pcm16(samples)));

    MonitorRecording recording;
    if (!recording.Start(seconds)) {
        std::fprintf(stderr, "parec cannot be started\n");
        return 1;
    }

    lumavox::PulseSoundDevice device;
    if (!device.Open(wav).Ok) {
        std::fprintf(stderr, "the click track does not open\n");
        return 1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(500));  // let the recording settle

    std::vector<Reading> readings;
    readings.reserve(static_cast<size_t>(seconds) * 1100);
    device.PlayFromStart();
    const int64_t start = MonotonicUs();
    for (int64_t next = start; next - start < static_cast<int64_t>(seconds) * 1000000;
         next += 1000) {
        timespec until{static_cast<time_t>(next / 1000000),
                       static_cast<long>(next % 1000000) * 1000};
        clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr);
        int32_t position = 0;
        device.GetPosition(position);
        readings.push_back({MonotonicUs(), position});
    }
    device.Stop();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    recording.Stop();

    // Click onsets: a loud sample after at least 100 quiet ones.
    const std::vector<size_t> onsets = recording.ClickOnsets();
    if (onsets.size() < 3) {
        std::fprintf(stderr, "too few clicks recorded (%zu)\n", onsets.size());
        return 1;
    }

    // Offset of each click: the reported position when it was output, minus its file time.
    std::vector<double> offsets;
    std::vector<double> clickTimes;
    const MonitorRecording::TimeBase base = recording.Fit();
    const double recordedRate = base.RateOfRealTime();
    for (size_t n = 0; n < onsets.size(); ++n) {
        const auto atUs = static_cast<int64_t>(base.AtUs(onsets[n]));
        // Which click this is: the nearest 500 ms step after the play command.
        const long k = std::lround(static_cast<double>(atUs - start) / 500000.0);
        const double reported = PositionAt(readings, atUs);
        if (std::getenv("LUMAVOX_VERBOSE")) {
            std::fprintf(stderr, "click %zu at %+.1f ms after play: k=%ld reported %.1f\n", n,
                         static_cast<double>(atUs - start) / 1000.0, k, reported);
        }
        if (std::isnan(reported) || reported <= 0.0) continue;  // before the first reading
        offsets.push_back(reported - static_cast<double>(k) * 500.0);
        clickTimes.push_back(static_cast<double>(k) * 0.5);
    }
    if (offsets.size() < 3) {
        std::fprintf(stderr, "too few clicks matched\n");
        return 1;
    }
    double mean = 0;
    for (double o : offsets) mean += o;
    mean /= static_cast<double>(offsets.size());
    double var = 0;
    for (double o : offsets) var += (o - mean) * (o - mean);
    const double spread = std::sqrt(var / static_cast<double>(offsets.size()));
    // Least-squares drift of the offset over time, in ms per minute.
    double tMean = 0;
    for (double t : clickTimes) tMean += t;
    tMean /= static_cast<double>(clickTimes.size());
    double num = 0;
    double den = 0;
    for (size_t i = 0; i < offsets.size(); ++i) {
        num += (clickTimes[i] - tMean) * (offsets[i] - mean);
        den += (clickTimes[i] - tMean) * (clickTimes[i] - tMean);
    }
    const double driftPerMinute = den > 0 ? num / den * 60.0 : 0.0;
    const auto [minIt, maxIt] = std::minmax_element(offsets.begin(), offsets.end());
    // The rates of the two clocks against the monotonic clock, to tell a drift's origin.
    const Reading& firstPlaying = *std::find_if(readings.begin(), readings.end(),
                                                [](const Reading& r) { return r.PositionMs > 0; });
    const double positionRate =
        static_cast<double>(readings.back().PositionMs - firstPlaying.PositionMs) * 1000.0 /
        static_cast<double>(readings.back().AtUs - firstPlaying.AtUs);
    std::printf("clicks matched       %zu over %d s\n", offsets.size(), seconds);
    std::printf("position rate        %.5f of real time\n", positionRate);
    std::printf("recording rate       %.5f of real time\n", recordedRate);
    std::printf("mean offset          %+.2f ms (positive: the reported position is ahead)\n", mean);
    std::printf("spread (std dev)     %.2f ms\n", spread);
    std::printf("min / max offset     %+.2f / %+.2f ms\n", *minIt, *maxIt);
    std::printf("drift                %+.3f ms per minute\n", driftPerMinute);
    return 0;
}
