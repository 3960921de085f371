// End-to-end runs of "lumavox-cli play": real time, a real (headless) sound server, real Art-Net
// packets between two network namespaces made by the test. Release build only.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <thread>

#include "cli/DemoShow.h"
#include "cli/ShowRender.h"
#include "dmx/net/NetSandbox.h"
#include "dmx/net/PeerSocket.h"
#include "engine/Engine.h"
#include "fakes/ArtPollReplyMaker.h"
#include "fakes/HeadlessPulseServer.h"
#include "fakes/TempDir.h"
#include "model/ProjectData.h"
#include "model/ProjectFile.h"

namespace lumavox::cli {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kSoundSeconds = 3;
constexpr int32_t kPadMs = 1000;  // pre-roll and post-roll

struct PlayRun {
    int status = -1;
    double seconds = 0;
    std::string err;
};

// Runs lumavox-cli play with the given extra environment, in the calling thread's network
// namespace, and times it.
PlayRun RunPlay(const std::string& args, const std::string& env, const std::string& dir) {
    const std::string errFile = dir + "/play-stderr.txt";
    const std::string command = "env " + env + " " + std::string(LUMAVOX_CLI_PATH) + " play " +
                                args + " >/dev/null 2>" + errFile;
    PlayRun run;
    const auto start = Clock::now();
    const int status = std::system(command.c_str());
    run.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream in(errFile);
    run.err.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return run;
}

// A short show whose line 1 ramps red up and line 2 ramps green down over the whole time line,
// so that every frame tells the play position it was made at.
std::string WriteRampShow(const std::string& dir) {
    const std::string wav = dir + "/short.wav";
    EXPECT_TRUE(WriteDemoWav(wav, kSoundSeconds));
    ProjectData project;
    const int32_t end = kSoundSeconds * 1000 + kPadMs;
    Step a, b, c, d;
    a.Time = -kPadMs;
    a.Length = end + kPadMs;
    a.Colour = 0x000000;
    b.Time = end;
    b.Colour = 0x0000FF;
    c.LineIndex = 1;
    c.Time = -kPadMs;
    c.Length = end + kPadMs;
    c.Colour = 0x00FF00;
    d.LineIndex = 1;
    d.Time = end;
    project.Lines[0].Assign({a, b});
    project.Lines[1].Assign({c, d});
    EXPECT_TRUE(SetSoundFilePath(project.Header, wav));
    project.ProjectFileName = dir + "/short.prj";
    EXPECT_TRUE(SaveProjectFile(project, ThroughPatch(), kPadMs, kPadMs, false).Ok());
    return project.ProjectFileName;
}

std::string PathOf(const testing::TempDir& dir) {
    std::string folder = dir.Folder();
    folder.pop_back();
    return folder;
}

std::string IsolatedEnv(const std::string& dir) {
    // the instance lock and any settings lookup stay inside the test's folder
    return "XDG_RUNTIME_DIR=" + dir + " XDG_CONFIG_HOME=" + dir + " HOME=" + dir;
}

// A node in the peer namespace: a socket bound to the Art-Net port there, or -1.
int BindPeerNode(PeerNamespace& peer) {
    int receiver = -1;
    peer.Run([&] {
        receiver = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        const int one = 1;
        setsockopt(receiver, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(6454);
        addr.sin_addr.s_addr = htonl(INADDR_ANY);
        if (bind(receiver, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
            close(receiver);
            receiver = -1;
        }
        timeval timeout{0, 200000};
        setsockopt(receiver, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    });
    return receiver;
}

TEST(CliPlay, WithoutAnAudioDeviceTheShowRunsSilentlyForItsWholeTimeLine) {
    testing::TempDir dir;
    const std::string prj = WriteRampShow(PathOf(dir));
    const PlayRun run =
        RunPlay("'" + prj + "' --output none",
                IsolatedEnv(PathOf(dir)) + " PULSE_SERVER=unix:/nonexistent", PathOf(dir));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("no sound server"), std::string::npos) << run.err;
    const double expected = kSoundSeconds + 2.0 * kPadMs / 1000.0;
    EXPECT_GT(run.seconds, expected - 0.3);
    EXPECT_LT(run.seconds, expected + 2.0);

    const PlayRun refused =
        RunPlay("'" + prj + "' --output none --require-audio",
                IsolatedEnv(PathOf(dir)) + " PULSE_SERVER=unix:/nonexistent", PathOf(dir));
    EXPECT_EQ(refused.status, 1) << refused.err;
    EXPECT_NE(refused.err.find("no sound server"), std::string::npos) << refused.err;
}

TEST(CliPlay, OnAHeadlessSoundServerPlaysPreRollSoundAndPostRoll) {
    testing::TempDir dir;
    const std::string prj = WriteRampShow(PathOf(dir));
    testing::HeadlessPulseServer server;
    if (!server.Start()) {
        if (UnderCi()) FAIL() << server.Error();
        GTEST_SKIP() << "no headless sound server: " << server.Error();
    }
    const PlayRun run =
        RunPlay("'" + prj + "' --output none", "XDG_CONFIG_HOME=" + PathOf(dir), PathOf(dir));
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err.find("no sound server"), std::string::npos) << run.err;
    const double expected = kSoundSeconds + 2.0 * kPadMs / 1000.0;
    EXPECT_GT(run.seconds, expected - 0.3) << run.err;
    EXPECT_LT(run.seconds, expected + 3.0) << run.err;
}

TEST(CliPlay, ArtDmxFramesMatchTheRenderedShowAtTheirArrivalTimes) {
    if (const std::string why = EnterFreshNetNamespace(); !why.empty()) {
        if (UnderCi()) FAIL() << why;
        GTEST_SKIP() << "network namespaces unavailable: " << why;
    }
    testing::TempDir dir;
    const std::string prj = WriteRampShow(PathOf(dir));
    PeerNamespace peer;
    ASSERT_TRUE(peer.Ok()) << peer.Error();
    ASSERT_TRUE(peer.Link("lvxcli0", "2.0.0.1/8", "lvxcli1", "2.0.0.2/8"));

    // The receiver lives in the peer namespace, on the peer's own thread.
    const int receiver = BindPeerNode(peer);
    ASSERT_GE(receiver, 0);

    struct Received {
        double ms;  // arrival, ms since the player was started
        std::array<uint8_t, 512> data;
    };
    std::vector<Received> frames;
    const auto start = Clock::now();
    PlayRun run;
    std::thread player([&] {
        run = RunPlay("'" + prj + "' --output artnet",
                      IsolatedEnv(PathOf(dir)) + " PULSE_SERVER=unix:/nonexistent", PathOf(dir));
    });
    const double showSeconds = kSoundSeconds + 2.0 * kPadMs / 1000.0;
    std::thread receive([&] {
        std::array<uint8_t, 2048> buffer{};
        while (std::chrono::duration<double>(Clock::now() - start).count() < showSeconds + 4.0) {
            const ssize_t n = recv(receiver, buffer.data(), buffer.size(), 0);
            if (n != 530 || std::memcmp(buffer.data(), "Art-Net\0", 8) != 0 || buffer[8] != 0x00 ||
                buffer[9] != 0x50) {
                continue;  // polls, replies, timeouts
            }
            Received r;
            r.ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            std::memcpy(r.data.data(), buffer.data() + 18, 512);
            frames.push_back(r);
        }
    });
    player.join();
    receive.join();
    close(receiver);
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_GT(frames.size(), 100u) << run.err;

    // Every frame must be one the show renders at some play position; the arrival times, less
    // one fixed start-up offset, must agree with those positions within an output period.
    ProjectData project;
    const ProjectLoadResult loaded = LoadProjectFile(project, prj);
    ASSERT_TRUE(loaded.Loaded());
    PatchTable patch;
    patch.Assign(loaded.Patch);
    std::map<std::array<uint8_t, 512>, std::pair<int32_t, int32_t>> positions;  // first, last t
    const int32_t end = kSoundSeconds * 1000 + kPadMs;
    for (int32_t t = -kPadMs; t <= end; ++t) {
        std::array<int32_t, kLineCount> colours{};
        DmxFrame frame{};
        RenderFrame(project, patch, t, colours, frame);
        auto [it, inserted] = positions.try_emplace(frame, t, t);
        if (!inserted) it->second.second = t;
    }
    // The output thread announces itself with a dark frame before its first tick.
    const std::array<uint8_t, 512> dark{};
    if (!frames.empty() && frames.front().data == dark) frames.erase(frames.begin());
    // The play position follows the clock in three stretches: the pre-roll on the free clock, the
    // sound on the device, the post-roll on the free clock again. Each hand-over may shift the
    // position against the wall clock (the tick sees the device's end up to a period late), so
    // the arrival times are compared with the positions stretch by stretch.
    const int32_t soundEnd = kSoundSeconds * 1000;
    auto stretchOf = [&](int32_t t) { return t < 0 ? 0 : (t < soundEnd ? 1 : 2); };
    std::array<std::vector<double>, 3> offsets;
    for (const Received& r : frames) {
        const auto it = positions.find(r.data);
        ASSERT_NE(it, positions.end()) << "a frame the show never renders, at " << r.ms << " ms";
        offsets[static_cast<size_t>(stretchOf(it->second.first))].push_back(r.ms -
                                                                            it->second.first);
    }
    std::array<double, 3> offset{};
    for (size_t k = 0; k < 3; ++k) {
        ASSERT_GT(offsets[k].size(), 20u) << "too few frames in stretch " << k;
        std::sort(offsets[k].begin(), offsets[k].end());
        offset[k] = offsets[k][offsets[k].size() / 2];
    }
    // a hand-over never loses or gains more than a few periods; the post-roll takes over
    // within one period of the sound's end
    EXPECT_LT(std::abs(offset[1] - offset[0]), 60.0);
    EXPECT_LT(std::abs(offset[2] - offset[1]), 20.0 + 15.0);
    int outside = 0;
    for (const Received& r : frames) {
        const auto& [first, last] = positions.at(r.data);
        const double position = r.ms - offset[static_cast<size_t>(stretchOf(first))];
        // within one 20 ms period (plus scheduling slack) of where that frame belongs
        if (position < first - 25.0 || position > last + 25.0) ++outside;
    }
    // a keyframe repeats an unchanged frame, and the show's end frame repeats; allow stragglers
    EXPECT_LE(outside, static_cast<int>(frames.size() / 50)) << "of " << frames.size();
}

// A show on a 2 s sound whose frame changes every few ms and tells its play position: line 1
// ramps red up over the whole time line, line 2 ramps blue up and down every 400 ms.
std::string WriteLoopShow(const std::string& dir, int32_t padMs) {
    const std::string wav = dir + "/loop.wav";
    EXPECT_TRUE(WriteDemoWav(wav, 2));
    ProjectData project;
    const int32_t end = 2000 + padMs;
    Step a, b;
    a.Time = -padMs;
    a.Length = end + padMs;
    b.Time = end;
    b.Colour = 0x0000FF;
    std::vector<Step> saw;
    for (int32_t t = -padMs, k = 0; t <= end; t += 400, ++k) {
        Step s;
        s.LineIndex = 1;
        s.Time = t;
        s.Length = t + 400 <= end ? 400 : 0;
        s.Colour = k % 2 == 0 ? 0x000000 : 0xFF0000;
        saw.push_back(s);
    }
    project.Lines[0].Assign({a, b});
    project.Lines[1].Assign(std::move(saw));
    EXPECT_TRUE(SetSoundFilePath(project.Header, wav));
    project.ProjectFileName = dir + "/loop.prj";
    EXPECT_TRUE(SaveProjectFile(project, ThroughPatch(), padMs, padMs, false).Ok());
    return project.ProjectFileName;
}

struct Arrival {
    double ms;      // since the capture began
    int32_t first;  // the first and last play positions that render this frame
    int32_t last;
};

// Runs the player in this thread's namespace while the peer's node records the ArtDmx frames,
// and maps each frame to the play positions that render it.
std::vector<Arrival> CaptureShow(int receiver, const std::string& prj, const std::string& args,
                                 const std::string& env, const std::string& dir,
                                 double captureSeconds, PlayRun& run) {
    std::vector<Arrival> arrivals;
    ProjectData project;
    const ProjectLoadResult loaded = LoadProjectFile(project, prj);
    EXPECT_TRUE(loaded.Loaded());
    PatchTable patch;
    patch.Assign(loaded.Patch);
    std::map<std::array<uint8_t, 512>, std::pair<int32_t, int32_t>> positions;
    for (int32_t t = -loaded.PrePlayTime; t <= 2000 + loaded.PostPlayTime; ++t) {
        std::array<int32_t, kLineCount> colours{};
        DmxFrame frame{};
        RenderFrame(project, patch, t, colours, frame);
        auto [it, inserted] = positions.try_emplace(frame, t, t);
        if (!inserted) it->second.second = t;
    }

    const auto start = Clock::now();
    std::thread player([&] { run = RunPlay("'" + prj + "' " + args, env, dir); });
    std::array<uint8_t, 2048> buffer{};
    std::array<uint8_t, 512> data{};
    while (std::chrono::duration<double>(Clock::now() - start).count() < captureSeconds) {
        const ssize_t n = recv(receiver, buffer.data(), buffer.size(), 0);
        if (n != 530 || std::memcmp(buffer.data(), "Art-Net\0", 8) != 0 || buffer[8] != 0x00 ||
            buffer[9] != 0x50) {
            continue;
        }
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        std::memcpy(data.data(), buffer.data() + 18, 512);
        const auto it = positions.find(data);
        if (it != positions.end()) arrivals.push_back({ms, it->second.first, it->second.second});
    }
    player.join();
    return arrivals;
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// On the real sound device, on a sink nobody records (no stream of the test's own keeps its
// latency low): with --repeat the lights go on from the sound start at each loop, the show time
// running again within three periods of every wrap and no hole in the 20 ms ArtDmx stream longer
// than two periods; without it the post-roll takes over within one period of the sound's end.
TEST(CliPlay, RepeatLoopsAndThePostRollFollowTheSoundEndWithoutAHole) {
    if (const std::string why = EnterFreshNetNamespace(); !why.empty()) {
        if (UnderCi()) FAIL() << why;
        GTEST_SKIP() << "network namespaces unavailable: " << why;
    }
    testing::TempDir dir;
    testing::HeadlessPulseServer server;
    if (!server.Start()) {
        if (UnderCi()) FAIL() << server.Error();
        GTEST_SKIP() << "no headless sound server: " << server.Error();
    }
    server.SetKeepAlive(false);
    const std::string folder = PathOf(dir);
    const std::string prj = WriteLoopShow(folder, 500);
    const std::string env = "XDG_CONFIG_HOME=" + folder;
    PeerNamespace peer;
    ASSERT_TRUE(peer.Ok()) << peer.Error();
    ASSERT_TRUE(peer.Link("lvxloop0", "2.0.0.1/8", "lvxloop1", "2.0.0.2/8"));
    const int receiver = BindPeerNode(peer);
    ASSERT_GE(receiver, 0);

    // Five loops (the first start may wait up to 2 s for the idle sink), then Ctrl+C.
    PlayRun run;
    const std::vector<Arrival> loops =
        CaptureShow(receiver, prj, "--output artnet --repeat",
                    "timeout --preserve-status -s INT 13 env " + env, folder, 13.5, run);
    EXPECT_EQ(run.status, 0) << run.err;
    ASSERT_GT(loops.size(), 200u) << run.err;
    int wraps = 0;
    for (size_t i = 1; i < loops.size(); ++i) {
        if (loops[i].first > 300 || loops[i - 1].first < 1700) continue;  // not a wrap
        ++wraps;
        // The show time runs again: the first later frame that belongs to a later position. A
        // frame that stays is not sent again before its keyframe, so a frozen time line shows
        // as a late one here however long it stands.
        size_t next = i + 1;
        while (next < loops.size() && loops[next].first <= loops[i].last) ++next;
        if (next == loops.size()) {
            // only a wrap in the last moments before Ctrl+C may go without one
            EXPECT_LT(loops.back().ms - loops[i].ms, 3 * 20.0 + 10.0)
                << "the show time never ran again after the wrap at " << loops[i].ms << " ms";
            break;
        }
        const double runsAfter = loops[next].ms - loops[i].ms;
        // the widest gap between packets within 300 ms either side of the wrap, a gap that
        // reaches beyond that window included
        double widest = 0;
        for (size_t k = i; k > 0 && loops[i].ms - loops[k].ms < 300; --k) {
            widest = std::max(widest, loops[k].ms - loops[k - 1].ms);
        }
        for (size_t k = i + 1; k < loops.size() && loops[k - 1].ms - loops[i].ms < 300; ++k) {
            widest = std::max(widest, loops[k].ms - loops[k - 1].ms);
        }
        std::fprintf(stderr,
                     "wrap at %.0f ms: the show time runs again after %.1f ms, hole %.1f ms\n",
                     loops[i].ms, runsAfter, widest);
        // the end tick shows the sound start, the next one restarts the sound, the one after
        // reads the running position: three periods
        EXPECT_LE(runsAfter, 3 * 20.0 + 10.0) << "wrap at " << loops[i].ms << " ms";
        // two periods between the last frame of a loop and the first of the next
        EXPECT_LE(widest, 2 * 20.0 + 10.0) << "wrap at " << loops[i].ms << " ms";
    }
    EXPECT_GE(wraps, 4) << run.err;

    // Pre-roll, sound, post-roll once; the post-roll's lag behind the wall clock is the sound's.
    const std::vector<Arrival> once =
        CaptureShow(receiver, prj, "--output artnet", env, folder, 5.0, run);
    EXPECT_EQ(run.status, 0) << run.err;
    std::vector<double> soundLag;
    std::vector<double> postRollLag;
    for (const Arrival& a : once) {
        if (a.first > 100 && a.last < 1900) soundLag.push_back(a.ms - a.first);
        if (a.first > 2000 && a.last < 2400) postRollLag.push_back(a.ms - a.first);
    }
    ASSERT_GT(soundLag.size(), 50u) << run.err;
    ASSERT_GT(postRollLag.size(), 10u) << run.err;
    const double postRollLate = Median(postRollLag) - Median(soundLag);
    std::fprintf(stderr, "post-roll starts %.1f ms after the sound's end\n", postRollLate);
    EXPECT_GE(postRollLate, -5.0);
    EXPECT_LE(postRollLate, 20.0 + 10.0);
    close(receiver);
}

// The player with unicast and ArtSync: a node that answers each ArtPoll for the played universe
// (3:A) gets every ArtDmx at its own address, each followed by an ArtSync; none is broadcast.
TEST(CliPlay, ArtnetUnicastReachesTheNodeThatAnswersForTheUniverse) {
    if (const std::string why = EnterFreshNetNamespace(); !why.empty()) {
        if (UnderCi()) FAIL() << why;
        GTEST_SKIP() << "network namespaces unavailable: " << why;
    }
    testing::TempDir dir;
    const std::string prj = WriteRampShow(PathOf(dir));
    PeerNamespace peer;
    ASSERT_TRUE(peer.Ok()) << peer.Error();
    ASSERT_TRUE(peer.Link("lvxcli4", "2.0.0.1/8", "lvxcli5", "2.0.0.2/8"));
    std::optional<PeerSocket> node;
    peer.Run([&] { node.emplace(6454); });
    ASSERT_TRUE(node->Bound());
    ReplyMaker reply({2, 0, 0, 2}, "node-3A");
    reply.SetByte(19, 0x03);
    reply.SetPort(0, 0x80, 0, 0x0A);

    std::atomic<bool> done{false};
    PlayRun run;
    std::thread player([&] {
        run = RunPlay("'" + prj + "' --output artnet --universe 58 --artnet-unicast --artsync",
                      IsolatedEnv(PathOf(dir)) + " PULSE_SERVER=unix:/nonexistent", PathOf(dir));
        done = true;
    });
    int unicast = 0;
    int broadcast = 0;
    int syncs = 0;
    const auto end = Clock::now() + std::chrono::seconds(kSoundSeconds + 10);
    while (!done && Clock::now() < end) {
        const auto d = node->Receive(std::chrono::milliseconds(200));
        if (!d) continue;
        if (OpcodeOf(*d) == 0x2000) node->SendTo(0x02000001, 6454, reply.Bytes());
        if (OpcodeOf(*d) == 0x5000) (d->destination == 0x02000002 ? unicast : broadcast)++;
        if (OpcodeOf(*d) == 0x5200) ++syncs;
    }
    player.join();
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("unicast"), std::string::npos) << run.err;
    EXPECT_GT(unicast, 100);
    EXPECT_EQ(broadcast, 0);
    EXPECT_GE(syncs, unicast - 1);
    EXPECT_LE(syncs, unicast);
}

}  // namespace
}  // namespace lumavox::cli
