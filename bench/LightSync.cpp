// light_sync [SECONDS] [PLAY OPTIONS...]: how far the lights lead or trail the sound, end to end
// with the real programs. `lumavox-cli calibrate --write-only --seconds SECONDS` writes the click
// show (a click and a white flash every second); `lumavox-cli play --output artnet` plays it into
// a private null sink (fakes/HeadlessPulseServer.h) whose monitor parec records
// (MonitorRecording.h), and sends its ArtDmx over a veth pair to a receiver in a second network
// namespace. Both namespaces are made here; the machine's own interfaces are never used. Clicks
// and frames are placed on the monotonic clock, which all namespaces share (a frame at the
// kernel's receive stamp), and for each click the flash's onset (the first ArtDmx with the flash
// on) minus the click's time is its error.
//
// Default 300 s; the play options (--event-timed, --light-offset MS...) go to play as given.
// Needs root (or the capabilities to make network namespaces and veth pairs, as under
// `unshare -r`); without them it says so and exits with 77, using no network at all.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "MonitorRecording.h"
#include "dmx/net/NetSandbox.h"
#include "fakes/HeadlessPulseServer.h"

namespace {

using lumavox::PeerNamespace;
using lumavox::bench::MonitorRecording;
using lumavox::bench::MonotonicUs;
using lumavox::testing::HeadlessPulseServer;

constexpr int kSkipStatus = 77;
constexpr size_t kArtDmxChannel1 = 18;
// The calibration show plays this long around its sound.
constexpr int kPreRollSeconds = 2;
constexpr int kPostRollSeconds = 1;

struct Frame {
    int64_t atUs;    // taken in by the receiver's kernel
    int64_t wakeUs;  // until the receiving thread had it
    bool lit;        // the flash is on (channel 1 at least half)
};

// An Art-Net node in the peer namespace: a socket on the Art-Net port there, or -1.
int BindReceiver(PeerNamespace& peer) {
    int fd = -1;
    peer.Run([&] {
        fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        const int one = 1;
        setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(6454);
        addr.sin_addr.s_addr = htonl(INADDR_ANY);
        if (bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
            close(fd);
            fd = -1;
            return;
        }
        timeval timeout{0, 200000};
        setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
        setsockopt(fd, SOL_SOCKET, SO_TIMESTAMPNS, &one, sizeof one);
    });
    return fd;
}

int64_t RealtimeUs() {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000;
}

// Receives one datagram; atUs: when the kernel took it in (its CLOCK_REALTIME stamp moved onto the
// monotonic clock), wokeUs: when this thread got it. -1: nothing within the timeout.
ssize_t ReceiveStamped(int fd, std::span<uint8_t> buffer, int64_t& atUs, int64_t& wokeUs) {
    iovec io{buffer.data(), buffer.size()};
    alignas(cmsghdr) char control[256];
    msghdr msg{};
    msg.msg_iov = &io;
    msg.msg_iovlen = 1;
    msg.msg_control = control;
    msg.msg_controllen = sizeof control;
    const ssize_t n = recvmsg(fd, &msg, 0);
    wokeUs = MonotonicUs();
    atUs = wokeUs;
    if (n < 0) return n;
    const int64_t realtimeAhead = RealtimeUs() - MonotonicUs();
    for (cmsghdr* c = CMSG_FIRSTHDR(&msg); c != nullptr; c = CMSG_NXTHDR(&msg, c)) {
        if (c->cmsg_level == SOL_SOCKET && c->cmsg_type == SCM_TIMESTAMPNS) {
            timespec ts{};
            std::memcpy(&ts, CMSG_DATA(c), sizeof ts);
            atUs = static_cast<int64_t>(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000 - realtimeAhead;
        }
    }
    return n;
}

// Runs lumavox-cli with stdout dropped and stderr into errFile; its exit status, or -1 when it
// had to be killed after boundSeconds.
int RunCli(const std::vector<std::string>& args, const std::string& errFile, int boundSeconds) {
    std::vector<std::string> argv{LUMAVOX_CLI_PATH};
    argv.insert(argv.end(), args.begin(), args.end());
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errFile.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const pid_t pid = HeadlessPulseServer::Spawn(argv, &actions);
    posix_spawn_file_actions_destroy(&actions);
    if (pid <= 0) return -1;
    int status = 0;
    for (int i = 0; i < boundSeconds * 10; ++i) {
        if (waitpid(pid, &status, WNOHANG) == pid) {
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    kill(pid, SIGTERM);
    waitpid(pid, &status, 0);
    return -1;
}

std::string FileText(const std::string& path) {
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Least-squares slope of y over x.
double Slope(const std::vector<double>& x, const std::vector<double>& y) {
    double mx = 0;
    double my = 0;
    for (size_t i = 0; i < x.size(); ++i) {
        mx += x[i];
        my += y[i];
    }
    mx /= static_cast<double>(x.size());
    my /= static_cast<double>(y.size());
    double num = 0;
    double den = 0;
    for (size_t i = 0; i < x.size(); ++i) {
        num += (x[i] - mx) * (y[i] - my);
        den += (x[i] - mx) * (x[i] - mx);
    }
    return den > 0 ? num / den : 0.0;
}

double MeanOf(const std::vector<double>& v) {
    double sum = 0;
    for (double e : v) sum += e;
    return v.empty() ? NAN : sum / static_cast<double>(v.size());
}

}  // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::clamp(std::atoi(argv[1]), 10, 3600) : 300;
    const std::vector<std::string> playOptions(argv + std::min(argc, 2), argv + argc);
    // The lights are meant to lead the sound by the light offset.
    double target = 0;
    for (size_t i = 0; i + 1 < playOptions.size(); ++i) {
        if (playOptions[i] == "--light-offset") target = -std::atof(playOptions[i + 1].c_str());
    }

    // Both namespaces first: nothing below runs in the machine's own network.
    if (const std::string why = lumavox::EnterFreshNetNamespace(); !why.empty()) {
        std::fprintf(stderr,
                     "light_sync: skipped: cannot make a network namespace (%s); run it as root "
                     "or with user namespaces\n",
                     why.c_str());
        return kSkipStatus;
    }
    PeerNamespace peer;
    if (!peer.Ok()) {
        std::fprintf(stderr, "light_sync: skipped: cannot make the peer namespace (%s)\n",
                     peer.Error().c_str());
        return kSkipStatus;
    }
    if (!peer.Link("lvxsync0", "2.0.0.1/8", "lvxsync1", "2.0.0.2/8")) {
        std::fprintf(stderr, "light_sync: skipped: cannot link the namespaces with a veth pair\n");
        return kSkipStatus;
    }
    const int receiver = BindReceiver(peer);
    if (receiver < 0) {
        std::fprintf(stderr, "light_sync: no Art-Net receiver in the peer namespace\n");
        return 1;
    }

    HeadlessPulseServer server;
    if (!server.Start()) {
        std::fprintf(stderr, "light_sync: no sound server: %s\n", server.Error().c_str());
        return 1;
    }
    const std::string dir = server.Folder() + "show";
    const std::string errFile = server.Folder() + "cli-stderr.txt";
    if (RunCli({"calibrate", dir, "--write-only", "--seconds", std::to_string(seconds)}, errFile,
               60) != 0) {
        std::fprintf(stderr, "light_sync: calibrate failed: %s\n", FileText(errFile).c_str());
        return 1;
    }

    MonitorRecording recording;
    if (!recording.Start(seconds + kPreRollSeconds + kPostRollSeconds)) {
        std::fprintf(stderr, "light_sync: parec cannot be started\n");
        return 1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(500));  // let the recording settle

    // The receiver stamps every ArtDmx as it arrives; it ends when told or after the bound.
    std::atomic<bool> stop{false};
    std::vector<Frame> frames;
    frames.reserve(static_cast<size_t>(seconds) * 200);
    const int64_t boundUs = static_cast<int64_t>(seconds + 120) * 1000000;
    std::thread receive([&] {
        std::array<uint8_t, 2048> buffer{};
        const int64_t start = MonotonicUs();
        while (!stop.load() && MonotonicUs() - start < boundUs) {
            int64_t at = 0;
            int64_t woke = 0;
            const ssize_t n = ReceiveStamped(receiver, buffer, at, woke);
            if (n <= static_cast<ssize_t>(kArtDmxChannel1) ||
                std::memcmp(buffer.data(), "Art-Net\0", 8) != 0 || buffer[8] != 0x00 ||
                buffer[9] != 0x50) {
                continue;  // polls, replies, timeouts
            }
            frames.push_back({at, woke - at, buffer[kArtDmxChannel1] >= 128});
        }
    });

    std::vector<std::string> play{"play", dir + "/calibrate.prj", "--output", "artnet"};
    play.insert(play.end(), playOptions.begin(), playOptions.end());
    std::string shown;
    for (const auto& a : playOptions) shown += " " + a;
    std::printf("light_sync: %d s, lumavox-cli play --output artnet%s\n", seconds, shown.c_str());
    std::fflush(stdout);
    // What the null sink says of its latency while the show plays (it renders that far ahead of
    // what it counts as played, and its monitor has the samples when they are rendered).
    std::string sinkLatency;
    std::thread askSink([&] {
        for (int i = 0; i < (kPreRollSeconds + 5) * 10 && !stop.load(); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        if (std::FILE* pipe = popen("pactl list sinks 2>/dev/null | grep -i latency", "r")) {
            char line[256];
            while (std::fgets(line, sizeof line, pipe)) sinkLatency += line;
            pclose(pipe);
        }
    });
    const int status = RunCli(play, errFile, seconds + kPreRollSeconds + kPostRollSeconds + 60);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    stop = true;
    receive.join();
    askSink.join();
    close(receiver);
    recording.Stop();
    if (status != 0) {
        std::fprintf(stderr, "light_sync: play ended with %d: %s\n", status,
                     FileText(errFile).c_str());
        return 1;
    }

    // The flashes' onsets and the clicks' onsets, both on the monotonic clock.
    std::vector<double> lightMs;
    for (size_t i = 1; i < frames.size(); ++i) {
        if (frames[i].lit && !frames[i - 1].lit) {
            lightMs.push_back(static_cast<double>(frames[i].atUs) / 1000.0);
        }
    }
    const MonitorRecording::TimeBase base = recording.Fit();
    std::vector<double> clickMs;
    for (const size_t frame : recording.ClickOnsets()) clickMs.push_back(base.AtUs(frame) / 1000.0);
    if (clickMs.size() < 3 || lightMs.empty()) {
        std::fprintf(stderr, "light_sync: too few clicks (%zu) or flashes (%zu)\n", clickMs.size(),
                     lightMs.size());
        return 1;
    }

    // Each click against the nearest flash onset (flashes are a second apart).
    std::vector<double> errors;
    std::vector<double> minutes;  // the click's time since the first click
    for (const double click : clickMs) {
        const auto after = std::lower_bound(lightMs.begin(), lightMs.end(), click);
        double best = INFINITY;
        if (after != lightMs.end()) best = *after - click;
        if (after != lightMs.begin() && std::abs(*(after - 1) - click) < std::abs(best)) {
            best = *(after - 1) - click;
        }
        if (std::abs(best) > 450.0) continue;
        errors.push_back(best);
        minutes.push_back((click - clickMs.front()) / 60000.0);
    }
    if (errors.size() < 3) {
        std::fprintf(stderr, "light_sync: too few clicks matched a flash\n");
        return 1;
    }
    std::vector<double> first;
    std::vector<double> last;
    const double lastMinute = minutes.back() - 1.0;
    for (size_t i = 0; i < errors.size(); ++i) {
        if (minutes[i] < 1.0) first.push_back(errors[i]);
        if (minutes[i] > lastMinute) last.push_back(errors[i]);
    }
    const double mean = MeanOf(errors);
    double var = 0;
    for (double e : errors) var += (e - mean) * (e - mean);
    const auto within = [&](double ms) {
        return 100.0 *
               static_cast<double>(
                   std::count_if(errors.begin(), errors.end(),
                                 [&](double e) { return std::abs(e - target) <= ms; })) /
               static_cast<double>(errors.size());
    };
    const double within1 = within(1.0);
    const double within2 = within(2.0);
    const double slope = Slope(minutes, errors);
    std::vector<double> sorted = errors;
    std::sort(sorted.begin(), sorted.end());
    const auto percentile = [&](double p) {
        return sorted[std::min(
            sorted.size() - 1,
            static_cast<size_t>(p / 100.0 * static_cast<double>(sorted.size())))];
    };
    std::printf("clicks recorded      %zu, flashes received %zu, matched %zu (ArtDmx %zu)\n",
                clickMs.size(), lightMs.size(), errors.size(), frames.size());
    int64_t wakeMax = 0;
    double wakeMean = 0;
    for (const Frame& f : frames) {
        wakeMax = std::max(wakeMax, f.wakeUs);
        wakeMean += static_cast<double>(f.wakeUs) / static_cast<double>(frames.size());
    }
    std::printf("recording rate       %.5f of real time\n", base.RateOfRealTime());
    std::printf("null sink, 5 s in    %s",
                sinkLatency.empty() ? "(no answer)\n" : sinkLatency.c_str());
    std::printf(
        "receiver wake-up     mean %.3f ms, max %.3f ms after the kernel stamp (not in "
        "the errors)\n",
        wakeMean / 1000.0, static_cast<double>(wakeMax) / 1000.0);
    std::printf("error (light-sound)  mean %+.2f ms, std dev %.2f ms\n", mean,
                std::sqrt(var / static_cast<double>(errors.size())));
    std::printf("min / max            %+.2f / %+.2f ms\n", sorted.front(), sorted.back());
    std::printf("1 %% / 99 %%           %+.2f / %+.2f ms\n", percentile(1), percentile(99));
    std::printf("within +-1 / +-2 ms  %.1f %% / %.1f %% of %+.0f ms\n", within1, within2, target);
    std::printf(
        "drift                %+.3f ms per minute (fit); first minute mean %+.2f ms, "
        "last minute mean %+.2f ms\n",
        slope, MeanOf(first), MeanOf(last));
    return 0;
}
