// Output timing of the Art-Net thread: 3000 frames at 20 ms (LUMAVOX_TIMING_FRAMES to change),
// every frame different so each is sent, timestamped by the kernel at a receiver in a second
// network namespace. Beside it, in the same run, a naive sender (a loop sleeping 20 ms between
// sends) as the reference for this machine's noise. Reports the interval median, the 99th
// percentile and maximum deviation from 20 ms for both, idle and with both cores busy.
// Needs root for the namespaces; everything stays inside them.
#include <benchmark/benchmark.h>
#include <sys/socket.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <thread>
#include <vector>

#include "../tests/dmx/net/PeerSocket.h"
#include "ArtnetTiming.h"
#include "dmx/artnet/ArtnetPackets.h"
#include "dmx/artnet/LocalAddress.h"
#include "dmx/artnet/TArtnetThread.h"
#include "platform/NetworkConfig.h"
#include "platform/UdpSocket.h"

namespace lumavox {
namespace {

using namespace std::chrono_literals;
constexpr uint16_t kNaivePort = 6455;
using bench::Analyse;
using bench::ReceiveTimes;

class CountingSource final : public IFrameSource {
public:
    void Tick(DmxFrame& frame) override {
        ++frame[0];  // every frame differs, so every frame is sent
        frame[1] = static_cast<uint8_t>(frame[0] == 0 ? frame[1] + 1 : frame[1]);
    }
};

void BM_ArtnetOutputTiming(benchmark::State& state) {
    const bool busy = state.range(0) != 0;
    const char* framesText = std::getenv("LUMAVOX_TIMING_FRAMES");
    const int frames = framesText != nullptr ? std::max(10, std::atoi(framesText)) : 3000;
    for (auto _ : state) {
        PeerNamespace peer;
        const std::string linkError = bench::LinkToPeer(peer);
        if (!linkError.empty()) {
            state.SkipWithError(linkError.c_str());
            return;
        }
        std::optional<PeerSocket> artnetNode, naiveNode;
        peer.Run([&] {
            artnetNode.emplace(kArtnetPort);
            naiveNode.emplace(kNaivePort);
        });

        bench::BusyCores load(busy);

        CountingSource source;
        PosixUdpSocket socket;
        SystemInterfaceList interfaces;
        NetlinkAddressConfig addresses;
        SteadyClock clock;
        TArtnetThread thread(source, {socket, interfaces, addresses}, clock, ArtnetConfig{});

        std::vector<double> artnetTimes, naiveTimes;
        std::thread artnetReceiver([&] {
            artnetTimes =
                ReceiveTimes(*artnetNode->Fd(), frames + 2, std::chrono::seconds(frames / 40 + 30));
        });
        std::thread naiveReceiver([&] {
            naiveTimes =
                ReceiveTimes(*naiveNode->Fd(), frames + 2, std::chrono::seconds(frames / 40 + 30));
        });
        std::thread naiveSender([&] {
            PosixUdpSocket naive;
            std::string error;
            naive.Open(kNaivePort + 1, error);
            ArtDmxPacket packet = BuildArtDmx(0, DmxFrame{});
            for (int i = 0; i < frames + 2; ++i) {
                ++packet[kArtDmxDataOffset];
                naive.SendTo(kArtnetBroadcast, kNaivePort, packet);
                std::this_thread::sleep_for(20ms);
            }
        });
        thread.Resume();
        naiveSender.join();
        artnetReceiver.join();
        naiveReceiver.join();
        thread.Terminate();
        load.Stop();

        const bench::Figures a = Analyse(artnetTimes), n = Analyse(naiveTimes);
        state.counters["frames"] = static_cast<double>(artnetTimes.size());
        state.counters["thread_median_ms"] = a.medianMs;
        state.counters["thread_p99_dev_ms"] = a.p99DevMs;
        state.counters["thread_max_dev_ms"] = a.maxDevMs;
        state.counters["naive_median_ms"] = n.medianMs;
        state.counters["naive_p99_dev_ms"] = n.p99DevMs;
        state.counters["naive_max_dev_ms"] = n.maxDevMs;
        state.counters["p99_ratio_thread_to_naive"] = n.p99DevMs > 0 ? a.p99DevMs / n.p99DevMs : 0;
    }
}
BENCHMARK(BM_ArtnetOutputTiming)
    ->ArgName("busy")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

}  // namespace
}  // namespace lumavox
