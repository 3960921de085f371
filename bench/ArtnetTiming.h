#pragma once
// Kernel-timestamped reception of ArtDmx frames and the interval figures the Art-Net timing
// benchmarks report.
#include <benchmark/benchmark.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <string>
#include <thread>
#include <vector>

#include "../tests/dmx/net/NetSandbox.h"

namespace lumavox::bench {

constexpr double kPeriodMs = 20.0;

// Two threads that keep both cores busy from construction until Stop (nothing when !busy).
class BusyCores {
public:
    explicit BusyCores(bool busy) {
        if (!busy) return;
        for (unsigned i = 0; i < 2; ++i) {
            m_threads.emplace_back([this] {
                uint64_t x = 1;
                while (!m_stop.load(std::memory_order_relaxed)) {
                    x = x * 6364136223846793005u + 1442695040888963407u;
                    benchmark::DoNotOptimize(x);
                }
            });
        }
    }
    ~BusyCores() { Stop(); }
    BusyCores(const BusyCores&) = delete;
    BusyCores& operator=(const BusyCores&) = delete;
    void Stop() {
        m_stop.store(true, std::memory_order_relaxed);  // a stop request, nothing else rides on it
        for (auto& t : m_threads) t.join();
        m_threads.clear();
    }

private:
    std::atomic<bool> m_stop{false};
    std::vector<std::thread> m_threads;
};

// Moves the calling thread into a fresh network namespace linked by a veth pair to `peer`
// (2.0.0.1 here, 2.0.0.2 there). Empty on success, else what failed.
inline std::string LinkToPeer(PeerNamespace& peer) {
    std::string error = EnterFreshNetNamespace();
    if (!error.empty()) return error;
    if (!peer.Ok() || !peer.Link("lvxa0", "2.0.0.1/8", "lvxb0", "2.0.0.2/8")) {
        return "could not link the namespaces";
    }
    return {};
}

// Kernel receive timestamps (CLOCK_REALTIME, only differences are used) of `count` datagrams.
inline std::vector<double> ReceiveTimes(int fd, int count, std::chrono::seconds bound) {
    const int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_TIMESTAMPNS, &on, sizeof on);
    std::vector<double> times;
    const auto end = std::chrono::steady_clock::now() + bound;
    while (static_cast<int>(times.size()) < count && std::chrono::steady_clock::now() < end) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 200) <= 0) continue;
        uint8_t buffer[2048];
        iovec io{buffer, sizeof buffer};
        alignas(cmsghdr) char control[256];
        msghdr msg{};
        msg.msg_iov = &io;
        msg.msg_iovlen = 1;
        msg.msg_control = control;
        msg.msg_controllen = sizeof control;
        const ssize_t n = recvmsg(fd, &msg, 0);
        if (n < 10 || buffer[9] != 0x50) continue;  // ArtDmx only
        for (cmsghdr* c = CMSG_FIRSTHDR(&msg); c != nullptr; c = CMSG_NXTHDR(&msg, c)) {
            if (c->cmsg_level == SOL_SOCKET && c->cmsg_type == SCM_TIMESTAMPNS) {
                timespec ts{};
                std::memcpy(&ts, CMSG_DATA(c), sizeof ts);
                times.push_back(static_cast<double>(ts.tv_sec) * 1e3 +
                                static_cast<double>(ts.tv_nsec) / 1e6);
            }
        }
    }
    return times;
}

struct Figures {
    double medianMs = 0, p99DevMs = 0, maxDevMs = 0;
};

inline Figures Analyse(const std::vector<double>& times) {
    std::vector<double> intervals, deviations;
    for (size_t i = 2; i < times.size(); ++i) {  // the first interval includes start-up
        intervals.push_back(times[i] - times[i - 1]);
        deviations.push_back(std::fabs(intervals.back() - kPeriodMs));
    }
    Figures f;
    if (intervals.empty()) return f;
    std::sort(intervals.begin(), intervals.end());
    std::sort(deviations.begin(), deviations.end());
    f.medianMs = intervals[intervals.size() / 2];
    f.p99DevMs = deviations[std::min(deviations.size() - 1, deviations.size() * 99 / 100)];
    f.maxDevMs = deviations.back();
    return f;
}

}  // namespace lumavox::bench
