// The Art-Net thread's work for one frame that changed: the ArtDmx broadcast (nodes = 0) against
// unicast to N subscribed nodes (destination lookup and N sends), each frame followed by an
// ArtSync. socket = 0 counts the sends only (the loop's own cost); socket = 1 sends for real
// through a veth pair in a fresh network namespace, the nodes' addresses as static neighbours on
// it (adds the system calls and the kernel's path; nothing leaves the namespace). Needs root for
// socket = 1.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "../tests/dmx/net/NetSandbox.h"
#include "dmx/artnet/ArtnetLoop.h"
#include "platform/UdpSocket.h"

namespace lumavox {
namespace {

class CountingSocket final : public IUdpSocket {
public:
    bool Open(uint16_t, std::string&) override { return true; }
    void Close() override {}
    bool SendTo(uint32_t, uint16_t, std::span<const uint8_t> bytes) override {
        benchmark::DoNotOptimize(bytes.data());
        ++sends;
        return true;
    }
    std::optional<size_t> Receive(std::span<uint8_t>) override { return std::nullopt; }
    int64_t sends = 0;
};

class StepClock final : public IClock {
public:
    uint32_t NowMs() const override { return now; }
    uint32_t now = 1000;
};

class ChangingSource final : public IFrameSource {
public:
    void Tick(DmxFrame& frame) override { ++frame[0]; }
};

constexpr uint32_t kMaxNodes = 64;

bool BenchNetwork() {
    static const bool ok = [] {
        if (!EnterFreshNetNamespace().empty() ||
            !RunInNamespace("ip link add lvxv0 type veth peer name lvxv1") ||
            !RunInNamespace("ip addr add 2.0.0.1/8 brd + dev lvxv0") ||
            !RunInNamespace("ip link set lvxv0 up && ip link set lvxv1 up")) {
            return false;
        }
        for (uint32_t i = 0; i < kMaxNodes; ++i) {
            const std::string n = std::to_string(i + 2);
            if (!RunInNamespace("ip neigh add 2.0.0." + n +
                                " lladdr 02:00:00:00:00:" + (i + 2 < 16 ? "0" : "") +
                                [&] {
                                    char hex[4];
                                    std::snprintf(hex, sizeof hex, "%x", i + 2);
                                    return std::string(hex);
                                }() +
                                " dev lvxv0 nud permanent")) {
                return false;
            }
        }
        return true;
    }();
    return ok;
}

void BM_ArtnetFrame(benchmark::State& state) {
    const auto nodes = static_cast<uint32_t>(state.range(0));
    const bool real = state.range(1) != 0;
    if (real && !BenchNetwork()) {
        state.SkipWithError("no network namespace (needs root)");
        return;
    }
    CountingSocket counting;
    PosixUdpSocket posix;
    std::string error;
    if (real && !posix.Open(kArtnetPort, error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    IUdpSocket& socket = real ? static_cast<IUdpSocket&>(posix) : counting;
    StepClock clock;
    ChangingSource source;
    ArtnetShared shared;
    shared.netReady = true;
    shared.sendEnabled = true;
    shared.unicast = nodes > 0;
    shared.artSync = true;
    const auto subscribe = [&] {
        for (uint32_t i = 0; i < nodes; ++i) {
            NodePorts ports;
            ports.address = 0x02000002 + i;
            ports.outputs = 1;
            shared.subscriptions.Update(ports, clock.now);
        }
    };
    ArtnetLoop loop(socket, source, clock, shared, 20);
    subscribe();
    loop.Start();
    uint32_t frames = 0;
    for (auto _ : state) {
        clock.now += 20;
        loop.Iterate();
        if (++frames % 256 == 0) subscribe();  // the replies to the 2-second poll
    }
    state.counters["nodes"] = nodes;
    if (!real) {
        state.counters["sends_per_frame"] =
            static_cast<double>(counting.sends) / static_cast<double>(frames + 1);
    }
}
BENCHMARK(BM_ArtnetFrame)->ArgNames({"nodes", "socket"})->ArgsProduct({{0, 1, 4, 16, 64}, {0, 1}});

}  // namespace
}  // namespace lumavox
