// step_onsets [SECONDS] [OFFSET_MS]: how far step onsets leave the Art-Net loop from their show
// time, periodic and event-timed, in real time: the engine plays a silent sound on the clock
// device (its position is the monotonic clock since the play started) through the Art-Net loop
// on its own thread, into a socket that only timestamps the frames. A jump every 250 ms at a
// varying phase against the 20 ms period. Nothing is sent anywhere.
#include <time.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "cli/DemoShow.h"
#include "dmx/OutputThreadGate.h"
#include "dmx/artnet/ArtnetLoop.h"
#include "engine/Engine.h"
#include "engine/Transport.h"
#include "model/ProjectData.h"
#include "platform/UdpSocket.h"
#include "sound/player/ClockSoundDevice.h"

namespace lumavox {
namespace {

double MonotonicMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) * 1000.0 + static_cast<double>(ts.tv_nsec) / 1e6;
}

// Keeps the time and channel 1 of every ArtDmx.
class StampingSocket final : public IUdpSocket {
public:
    bool Open(uint16_t, std::string&) override { return true; }
    void Close() override {}
    bool SendTo(uint32_t, uint16_t, std::span<const uint8_t> bytes) override {
        if (bytes.size() != kArtDmxSize) return true;
        std::lock_guard<std::mutex> lock(mutex);
        sent.push_back({MonotonicMs(), bytes[kArtDmxDataOffset]});
        return true;
    }
    std::optional<size_t> Receive(std::span<uint8_t>) override { return std::nullopt; }
    struct Sent {
        double ms;
        int value;
    };
    std::mutex mutex;
    std::vector<Sent> sent;
};

struct Figures {
    int onsets = 0;
    double mean = 0, p1 = 0, p99 = 0, min = 0, max = 0, within1 = 0, within2 = 0;
};

Figures Run(const std::string& wav, int seconds, bool eventTimed, int32_t offset) {
    ProjectData project;
    std::vector<Step> steps;
    std::vector<std::pair<int32_t, int>> onsets;  // show time, value
    // The colour before the first jump from the start, so that its hold changes nothing either.
    Step first;
    first.Time = 0;
    first.Colour = MakeColour(1, 0, 0);
    steps.push_back(first);
    for (int k = 1; k * 250 < seconds * 1000 - 500; ++k) {
        const int32_t t = k * 250 + (k * 7) % 20;  // every phase against the period
        const int value = 1 + k % 250;
        const int before = 1 + (k - 1) % 250;
        Step hold;
        hold.Time = t - 1;
        hold.Colour = MakeColour(before, 0, 0);
        steps.push_back(hold);
        Step jump;
        jump.Time = t;
        jump.Colour = MakeColour(value, 0, 0);
        steps.push_back(jump);
        onsets.emplace_back(t, value);
    }
    for (size_t i = 0; i + 1 < steps.size(); ++i)
        steps[i].Length = steps[i + 1].Time - steps[i].Time;
    project.Lines[0].Assign(std::move(steps));

    EngineState state;
    state.PrePlayTime = 0;
    state.PostPlayTime = 0;
    PatchTable patch;
    patch.SetThrough();
    LineOutput output;
    SteadyClock clock;
    ClockSoundDevice device(clock);
    std::atomic<bool> repeat{false};
    std::atomic<int32_t> patchCheck{-1};
    Engine engine(
        EngineContext{state, project, patch, output, device, clock, repeat, patchCheck, {}});
    StampingSocket socket;
    ArtnetShared shared;
    shared.netReady = true;
    shared.sendEnabled = true;
    shared.eventTimed = eventTimed;
    shared.lightOffsetMs = offset;
    ArtnetLoop loop(socket, engine, clock, shared, 20);
    OutputThreadGate gate;
    std::thread thread([&] { RunOutputLoop(gate, loop); });
    gate.Resume();
    state.SoundPath.Set(wav);
    state.OpenRequest = true;
    for (int i = 0; i < 500 && state.OpenRequest.load(); ++i) SleepMs(10);
    state.SoundLoaded = true;
    Transport transport(state, clock, repeat);
    transport.PlayFromStart();
    // Where show time 0 lies on the monotonic clock: the device's position is the clock since
    // the play started, read here on the same clock.
    double zero = 1e300;
    for (int i = 0; i < seconds * 10; ++i) {
        SleepMs(100);
        int32_t position = 0;
        const double before = MonotonicMs();
        device.GetPosition(position);
        if (position > 0) zero = std::min(zero, before - position);
    }
    gate.RequestTerminate();
    thread.join();

    std::vector<double> errors;
    size_t from = 0;
    for (const auto& [t, value] : onsets) {
        while (from < socket.sent.size() && socket.sent[from].value != value) ++from;
        if (from == socket.sent.size()) break;
        const double error = socket.sent[from].ms - (zero + t - offset);
        errors.push_back(error);
        if (eventTimed && error > 2.0) {
            // What went out just before: a frame within the minimum gap held the onset back; none
            // means the loop itself was late.
            const double due = zero + t - offset;
            const double before = from > 0 ? socket.sent[from - 1].ms - due : -1e9;
            std::printf(
                "late onset at %d ms: %+.2f ms; the frame before left %+.2f ms from the "
                "onset's time\n",
                t, error, before);
        }
    }
    Figures f;
    if (errors.empty()) return f;
    f.onsets = static_cast<int>(errors.size());
    for (double e : errors) f.mean += e / static_cast<double>(errors.size());
    f.within1 = static_cast<double>(
        std::count_if(errors.begin(), errors.end(), [](double e) { return e >= -1 && e <= 1; }));
    f.within2 = static_cast<double>(
        std::count_if(errors.begin(), errors.end(), [](double e) { return e >= -2 && e <= 2; }));
    std::sort(errors.begin(), errors.end());
    f.min = errors.front();
    f.max = errors.back();
    f.p1 = errors[errors.size() / 100];
    f.p99 = errors[errors.size() * 99 / 100];
    return f;
}

}  // namespace
}  // namespace lumavox

int main(int argc, char** argv) {
    using namespace lumavox;
    const int seconds = argc > 1 ? std::max(5, std::atoi(argv[1])) : 60;
    const int32_t offset = argc > 2 ? std::atoi(argv[2]) : 0;
    const std::string wav = "/tmp/step_onsets_" + std::to_string(getpid()) + ".wav";
    if (!cli::WriteDemoWav(wav, seconds)) return 1;
    for (const bool eventTimed : {false, true}) {
        const Figures f = Run(wav, seconds, eventTimed, offset);
        std::printf(
            "%-12s offset %4d ms: %d onsets, error mean %+.2f ms, 1%% %+.2f, 99%% %+.2f, "
            "min %+.2f, max %+.2f, within +-1 ms %.1f%%, within +-2 ms %.1f%%\n",
            eventTimed ? "event-timed" : "periodic", offset, f.onsets, f.mean, f.p1, f.p99, f.min,
            f.max, 100.0 * f.within1 / std::max(1, f.onsets),
            100.0 * f.within2 / std::max(1, f.onsets));
    }
    std::remove(wav.c_str());
    return 0;
}
