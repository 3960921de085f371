#pragma once

// What a private null sink really outputs, on the monotonic clock: parec records the sink's
// monitor into a pipe that a thread of this program reads, noting when each read's data arrived.
// The recording's time base is the earliest delivery of parec's data (capture can only precede
// delivery), so times placed on it include at most the smallest monitor-to-pipe delay. The sound
// server's sample clock need not run at exactly the monotonic rate, so the delivery times are
// fitted against the frame count (least squares for the rate) and the line is put under every
// delivery.
//
// Needs the private server of fakes/HeadlessPulseServer.h to be running (PULSE_SERVER points
// there).
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "fakes/HeadlessPulseServer.h"

namespace lumavox::bench {

inline int64_t MonotonicUs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000;
}

class MonitorRecording {
public:
    static constexpr uint32_t kRate = 44100;

    MonitorRecording() = default;
    MonitorRecording(const MonitorRecording&) = delete;
    MonitorRecording& operator=(const MonitorRecording&) = delete;
    ~MonitorRecording() { Stop(); }

    // Starts parec on the null sink's monitor; false when it cannot be started.
    bool Start(int expectedSeconds) {
        int pipeFds[2];
        if (pipe(pipeFds) != 0) return false;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
        const std::string monitor = std::string("--device=") +
                                    lumavox::testing::HeadlessPulseServer::SinkName() + ".monitor";
        m_parec = lumavox::testing::HeadlessPulseServer::Spawn(
            {"parec", monitor, "--raw", "--format=s16le", "--rate=44100", "--channels=2",
             "--latency-msec=2"},
            &actions);
        posix_spawn_file_actions_destroy(&actions);
        close(pipeFds[1]);
        if (m_parec <= 0) {
            close(pipeFds[0]);
            return false;
        }
        m_fd = pipeFds[0];
        m_left.reserve(static_cast<size_t>(kRate) * static_cast<size_t>(expectedSeconds + 10));
        m_deliveries.reserve(1 << 20);
        m_reader = std::thread([this] { Read(); });
        return true;
    }

    // Ends parec and the reader (after the last data it delivered).
    void Stop() {
        if (m_parec > 0) {
            kill(m_parec, SIGTERM);
            waitpid(m_parec, nullptr, 0);
            m_parec = 0;
        }
        if (m_reader.joinable()) m_reader.join();
        if (m_fd >= 0) {
            close(m_fd);
            m_fd = -1;
        }
    }

    // After Stop: the frames of click onsets, each a sample louder than threshold after at least
    // `quiet` quieter ones (left channel).
    std::vector<size_t> ClickOnsets(int threshold = 10000, size_t quiet = 100) const {
        std::vector<size_t> onsets;
        size_t run = 0;
        for (size_t i = 0; i < m_left.size(); ++i) {
            if (std::abs(m_left[i]) > threshold) {
                if (run >= quiet) onsets.push_back(i);
                run = 0;
            } else {
                ++run;
            }
        }
        return onsets;
    }

    // After Stop: where recorded frames lie on the monotonic clock.
    struct TimeBase {
        double BaseUs = 0;
        double UsPerFrame = 1e6 / kRate;
        double AtUs(size_t frame) const { return BaseUs + UsPerFrame * static_cast<double>(frame); }
        // The server's sample clock against the monotonic clock.
        double RateOfRealTime() const { return 1e6 / kRate / UsPerFrame; }
    };
    TimeBase Fit() const {
        TimeBase base;
        if (m_deliveries.empty()) return base;
        double fMean = 0;
        double tMeanUs = 0;
        for (const auto& [f, t] : m_deliveries) {
            fMean += static_cast<double>(f);
            tMeanUs += static_cast<double>(t);
        }
        fMean /= static_cast<double>(m_deliveries.size());
        tMeanUs /= static_cast<double>(m_deliveries.size());
        double sxy = 0;
        double sxx = 0;
        for (const auto& [f, t] : m_deliveries) {
            sxy += (static_cast<double>(f) - fMean) * (static_cast<double>(t) - tMeanUs);
            sxx += (static_cast<double>(f) - fMean) * (static_cast<double>(f) - fMean);
        }
        if (sxx > 0) base.UsPerFrame = sxy / sxx;
        base.BaseUs = INFINITY;
        for (const auto& [f, t] : m_deliveries) {
            base.BaseUs = std::min(
                base.BaseUs, static_cast<double>(t) - base.UsPerFrame * static_cast<double>(f));
        }
        return base;
    }

private:
    void Read() {
        std::vector<char> buffer(4096);
        std::vector<char> carry;
        uint64_t framesSoFar = 0;
        for (;;) {
            const ssize_t got = read(m_fd, buffer.data(), buffer.size());
            if (got <= 0) break;
            const int64_t now = MonotonicUs();
            carry.insert(carry.end(), buffer.begin(), buffer.begin() + got);
            const size_t whole = carry.size() / 4;
            for (size_t i = 0; i < whole; ++i) {
                int16_t left;
                std::memcpy(&left, carry.data() + 4 * i, 2);
                m_left.push_back(left);
            }
            carry.erase(carry.begin(), carry.begin() + static_cast<std::ptrdiff_t>(whole * 4));
            framesSoFar += whole;
            m_deliveries.emplace_back(framesSoFar, now);
        }
    }

    pid_t m_parec = 0;
    int m_fd = -1;
    std::thread m_reader;
    std::vector<int16_t> m_left;
    // (frames recorded so far, monotonic µs when they were delivered), one per read.
    std::vector<std::pair<uint64_t, int64_t>> m_deliveries;
};

}  // namespace lumavox::bench
