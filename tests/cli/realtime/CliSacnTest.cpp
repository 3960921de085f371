// "lumavox-cli play --output sacn" received by OLA's E1.31 input (olad, inside a network
// namespace the test makes): every frame OLA records is one the show renders, in play order, and
// the last is the show's last. Release build only; skips without olad (fails under CI=true).
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>

#include "cli/DemoShow.h"
#include "cli/ShowRender.h"
#include "dmx/net/NetSandbox.h"
#include "engine/Engine.h"
#include "fakes/TempDir.h"
#include "model/ProjectData.h"
#include "model/ProjectFile.h"

namespace lumavox::cli {
namespace {

using namespace std::chrono_literals;

constexpr int kSoundSeconds = 2;
constexpr int32_t kPadMs = 500;
constexpr uint16_t kUniverse = 7;

// Line 1 ramps red up over the whole time line, so that each frame tells the time it was made at.
std::string WriteRampShow(const std::string& dir) {
    const std::string wav = dir + "/ramp.wav";
    EXPECT_TRUE(WriteDemoWav(wav, kSoundSeconds));
    ProjectData project;
    Step a, b;
    a.Time = -kPadMs;
    a.Length = kSoundSeconds * 1000 + 2 * kPadMs;
    a.Colour = 0x000000;
    b.Time = kSoundSeconds * 1000 + kPadMs;
    b.Colour = 0x0000FF;
    project.Lines[0].Assign({a, b});
    EXPECT_TRUE(SetSoundFilePath(project.Header, wav));
    project.ProjectFileName = dir + "/ramp.prj";
    EXPECT_TRUE(SaveProjectFile(project, ThroughPatch(), kPadMs, kPadMs, false).Ok());
    return project.ProjectFileName;
}

// Starts a command in the background; its process id, or -1.
pid_t Spawn(const std::string& command) {
    const pid_t pid = fork();
    if (pid == 0) {
        execl("/bin/sh", "sh", "-c", ("exec " + command).c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    return pid;
}

void Stop(pid_t pid, int signal) {
    if (pid <= 0) return;
    kill(pid, signal);
    for (int i = 0; i < 50; ++i) {  // at most 5 s, then for good
        if (waitpid(pid, nullptr, WNOHANG) == pid) return;
        std::this_thread::sleep_for(100ms);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

// The frames of universe 7 in an ola_recorder show file ("7 v1,v2,..." lines between delays).
std::vector<DmxFrame> RecordedFrames(const std::string& path) {
    std::vector<DmxFrame> frames;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("7 ", 0) != 0) continue;
        DmxFrame frame{};
        std::istringstream values(line.substr(2));
        std::string value;
        for (size_t i = 0; i < frame.size() && std::getline(values, value, ','); ++i) {
            frame[i] = static_cast<uint8_t>(std::stoi(value));
        }
        frames.push_back(frame);
    }
    return frames;
}

TEST(CliSacn, OlaReceivesTheRenderedFramesOnTheUniverseInPlayOrder) {
    if (std::system("command -v olad >/dev/null 2>&1") != 0) {
        if (UnderCi()) FAIL() << "olad is missing";
        GTEST_SKIP() << "olad is missing (Debian package ola)";
    }
    if (const std::string why = EnterFreshNetNamespace(); !why.empty()) {
        if (UnderCi()) FAIL() << why;
        GTEST_SKIP() << "network namespaces unavailable: " << why;
    }
    ASSERT_TRUE(RunInNamespace("ip link add lvxo0 type veth peer name lvxo1"));
    ASSERT_TRUE(RunInNamespace("ip addr add 10.9.0.1/24 dev lvxo0"));
    ASSERT_TRUE(RunInNamespace("ip link set lvxo0 up && ip link set lvxo1 up"));
    ASSERT_TRUE(RunInNamespace("ip route add default dev lvxo0"));

    testing::TempDir dir;
    std::string folder = dir.Folder();
    folder.pop_back();
    // olad refuses to run as root: it runs as nobody, with a configuration of E1.31 alone.
    const std::string conf = folder + "/ola";
    std::filesystem::create_directories(conf);
    for (const char* plugin :
         {"artnet",   "dummy",    "espnet",  "ftdidmx",          "gpio",    "karate",   "kinet",
          "milinst",  "nanoleaf", "opendmx", "openpixelcontrol", "osc",     "pathport", "renard",
          "sandnet",  "shownet",  "spi",     "stageprofi",       "uartdmx", "usbdmx",   "usbserial",
          "dmx4linux"}) {
        std::ofstream(conf + "/ola-" + plugin + ".conf") << "enabled = false\n";
    }
    std::ofstream(conf + "/ola-e131.conf")
        << "enabled = true\nip = 10.9.0.1\ninput_ports = 1\noutput_ports = 0\n";
    std::filesystem::permissions(folder, std::filesystem::perms::all);
    std::filesystem::permissions(conf, std::filesystem::perms::all);
    const std::string asNobody =
        geteuid() == 0 ? "setpriv --reuid=nobody --regid=nogroup --clear-groups " : "";
    const pid_t olad = Spawn(asNobody + "olad -c " + conf + " -l 1 >/dev/null 2>&1");
    bool up = false;
    for (int i = 0; i < 100 && !up; ++i) {  // at most 10 s
        up = RunInNamespace("ola_dev_info");
        if (!up) std::this_thread::sleep_for(100ms);
    }
    ASSERT_TRUE(up) << "olad did not start";
    ASSERT_TRUE(RunInNamespace("ola_patch -d 1 -p 0 -i -u " + std::to_string(kUniverse)));
    const std::string show = folder + "/received.show";
    const pid_t recorder =
        Spawn("ola_recorder -r " + show + " -u " + std::to_string(kUniverse) + " >/dev/null 2>&1");
    std::this_thread::sleep_for(500ms);  // the recorder registers for the universe

    const std::string prj = WriteRampShow(folder);
    const std::string command = "env XDG_RUNTIME_DIR=" + folder + " XDG_CONFIG_HOME=" + folder +
                                " HOME=" + folder + " PULSE_SERVER=unix:/nonexistent " +
                                LUMAVOX_CLI_PATH + " play '" + prj +
                                "' --output sacn --universe 7 --quiet 2>" + folder + "/err.txt";
    const int status = std::system(command.c_str());
    std::this_thread::sleep_for(300ms);
    Stop(recorder, SIGINT);
    Stop(olad, SIGTERM);
    std::ifstream errFile(folder + "/err.txt");
    const std::string err((std::istreambuf_iterator<char>(errFile)),
                          std::istreambuf_iterator<char>());
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << err;
    EXPECT_NE(err.find("sACN to 239.255.0.7 on lvxo0, universe 7"), std::string::npos) << err;

    ProjectData project;
    const ProjectLoadResult loaded = LoadProjectFile(project, prj);
    ASSERT_TRUE(loaded.Loaded());
    PatchTable patch;
    patch.Assign(loaded.Patch);
    std::map<DmxFrame, int32_t> firstTime;
    const int32_t end = kSoundSeconds * 1000 + kPadMs;
    DmxFrame last{};
    for (int32_t t = -kPadMs; t <= end; ++t) {
        std::array<int32_t, kLineCount> colours{};
        RenderFrame(project, patch, t, colours, last);
        firstTime.try_emplace(last, t);
    }

    std::vector<DmxFrame> frames = RecordedFrames(show);
    // OLA's universe starts dark, before any packet
    while (!frames.empty() && frames.front() == DmxFrame{}) frames.erase(frames.begin());
    ASSERT_GT(frames.size(), 50u) << err;
    int32_t previous = -kPadMs;
    for (const DmxFrame& frame : frames) {
        const auto it = firstTime.find(frame);
        ASSERT_NE(it, firstTime.end()) << "OLA holds a frame the show never renders";
        EXPECT_GE(it->second, previous) << "frames out of play order";
        previous = it->second;
    }
    EXPECT_EQ(frames.back(), last);
}

}  // namespace
}  // namespace lumavox::cli
