// Output timing of the sACN thread: 3000 frames at 20 ms (LUMAVOX_TIMING_FRAMES to change), every
// frame different so each is sent, multicast to a receiver in a second network namespace that
// joined the universe's group and timestamped by its kernel. Reports the interval median and the
// 99th percentile and maximum deviation from 20 ms, idle and with both cores busy.
// Needs root for the namespaces; everything stays inside them.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <optional>
#include <thread>
#include <vector>

#include "../tests/dmx/net/SacnReceiver.h"
#include "ArtnetTiming.h"
#include "dmx/sacn/TSacnThread.h"
#include "platform/NetworkConfig.h"
#include "platform/UdpSocket.h"

namespace lumavox {
namespace {

class CountingSource final : public IFrameSource {
public:
    void Tick(DmxFrame& frame) override {
        ++frame[0];  // every frame differs, so every frame is sent
        frame[1] = static_cast<uint8_t>(frame[0] == 0 ? frame[1] + 1 : frame[1]);
    }
};

void BM_SacnOutputTiming(benchmark::State& state) {
    const bool busy = state.range(0) != 0;
    const char* framesText = std::getenv("LUMAVOX_TIMING_FRAMES");
    const int frames = framesText != nullptr ? std::max(10, std::atoi(framesText)) : 3000;
    for (auto _ : state) {
        PeerNamespace peer;
        const std::string linkError = bench::LinkToPeer(peer);  // lvxa0 here, lvxb0 there
        if (!linkError.empty()) {
            state.SkipWithError(linkError.c_str());
            return;
        }
        std::optional<SacnReceiver> receiver;
        peer.Run([&] { receiver.emplace("lvxb0", std::vector<uint16_t>{1}); });
        if (!receiver->Ok()) {
            state.SkipWithError("the receiver could not join the group");
            return;
        }

        bench::BusyCores load(busy);

        CountingSource source;
        PosixUdpSocket socket;
        SystemInterfaceList interfaces;
        SteadyClock clock;
        SacnConfig config;
        config.interfaceName = "lvxa0";
        TSacnThread thread(source, socket, interfaces, clock, config);

        std::vector<double> times;
        std::thread receive([&] {
            const auto seen = receiver->ReceiveSome(static_cast<size_t>(frames + 2),
                                                    std::chrono::seconds(frames / 40 + 30));
            for (const SacnDatagram& d : seen) {
                if (d.IsData()) times.push_back(d.kernelMs);
            }
        });
        thread.Resume();
        receive.join();
        thread.Terminate();
        load.Stop();

        const bench::Figures f = bench::Analyse(times);
        state.counters["frames"] = static_cast<double>(times.size());
        state.counters["median_ms"] = f.medianMs;
        state.counters["p99_dev_ms"] = f.p99DevMs;
        state.counters["max_dev_ms"] = f.maxDevMs;
    }
}
BENCHMARK(BM_SacnOutputTiming)
    ->ArgName("busy")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

}  // namespace
}  // namespace lumavox
