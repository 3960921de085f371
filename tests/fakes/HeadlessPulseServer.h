#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace lumavox::testing {

// A private PulseAudio server for the real-time tests and the measurements: a null sink, the
// native protocol on a unix socket in a fresh temporary folder, and a silent 10 ms keep-alive
// stream from pacat so the idle sink does not start late. The process's own HOME, XDG folders,
// cookie and PULSE_SERVER are pointed into that folder, so neither the server nor the client
// library touches the user's files or the user's sound server. Stopped and removed by the
// destructor. Start() says whether the server came up (within a bound); Error() says why not.
//
// Without the keep-alive (SetKeepAlive(false)) the sink is what a user's private server with only
// a null sink gives: while no stream asks for a low latency it renders up to 2 s ahead at once.
//
// One per test process, made on the main thread before any sound code runs.
class HeadlessPulseServer {
public:
    HeadlessPulseServer() = default;
    HeadlessPulseServer(const HeadlessPulseServer&) = delete;
    HeadlessPulseServer& operator=(const HeadlessPulseServer&) = delete;
    ~HeadlessPulseServer() { Stop(); }

    bool Start(int boundMs = 15000) {
        std::string templ =
            (std::filesystem::temp_directory_path() / "lumavox-pulse-XXXXXX").string();
        if (!mkdtemp(templ.data())) return Fail("cannot create a temporary folder");
        m_dir = templ;
        setenv("HOME", m_dir.c_str(), 1);
        setenv("XDG_RUNTIME_DIR", m_dir.c_str(), 1);
        setenv("XDG_CONFIG_HOME", (m_dir + "/config").c_str(), 1);
        setenv("PULSE_COOKIE", (m_dir + "/cookie").c_str(), 1);
        setenv("PULSE_SERVER", ("unix:" + Socket()).c_str(), 1);
        unsetenv("PULSE_SINK");

        int pipeFds[2];
        if (pipe2(pipeFds, O_CLOEXEC) != 0) return Fail("cannot create a pipe");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDERR_FILENO);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        const std::vector<std::string> args = {
            "pulseaudio",
            "-n",
            "--daemonize=no",
            "--system=no",
            "--exit-idle-time=-1",
            "--disallow-exit",
            "--use-pid-file=no",
            "--log-target=stderr",
            "--log-level=info",
            "-L",
            "module-native-protocol-unix socket=" + Socket() + " auth-anonymous=1",
            "-L",
            "module-null-sink sink_name=lumavox_null rate=44100"};
        m_server = Spawn(args, &actions);
        posix_spawn_file_actions_destroy(&actions);
        close(pipeFds[1]);
        if (m_server <= 0) {
            close(pipeFds[0]);
            return Fail("pulseaudio cannot be started");
        }
        const bool ready = WaitForLine(pipeFds[0], "Daemon startup complete", boundMs);
        m_readyAt = std::chrono::steady_clock::now();
        // The rest of the log is read and dropped until the server ends, so it never blocks on
        // a full pipe.
        m_logDrain = std::thread([fd = pipeFds[0]] {
            char buffer[4096];
            while (read(fd, buffer, sizeof buffer) > 0) {
            }
            close(fd);
        });
        if (!ready) return Fail("pulseaudio did not report ready: " + m_log);

        if (!SetKeepAlive(true)) return Fail("pacat cannot be started");
        // A new null sink renders its first block of up to 2 s at once, before any stream asks
        // for a lower latency; positions are only meaningful once that block has played out.
        std::this_thread::sleep_until(m_readyAt + std::chrono::milliseconds(2200));
        return true;
    }

    // Starts or ends the silent keep-alive stream; false when pacat cannot be started.
    bool SetKeepAlive(bool on) {
        if (!on) {
            End(m_keepAlive);
            return true;
        }
        if (m_keepAlive > 0) return true;
        posix_spawn_file_actions_t quiet;
        posix_spawn_file_actions_init(&quiet);
        posix_spawn_file_actions_addopen(&quiet, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&quiet, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        m_keepAlive =
            Spawn({"pacat", "--playback", "--raw", "--format=s16le", "--rate=44100", "--channels=2",
                   "--latency-msec=10", "--stream-name=keep-alive", "/dev/zero"},
                  &quiet);
        posix_spawn_file_actions_destroy(&quiet);
        return m_keepAlive > 0;
    }

    void Stop() {
        End(m_keepAlive);
        End(m_server);
        if (m_logDrain.joinable()) m_logDrain.join();
        if (!m_dir.empty()) {
            std::error_code ec;
            std::filesystem::remove_all(m_dir, ec);
            m_dir.clear();
        }
    }

    std::string Socket() const { return m_dir + "/native"; }
    std::string Folder() const { return m_dir + "/"; }
    const std::string& Error() const { return m_error; }
    static const char* SinkName() { return "lumavox_null"; }

    // Runs a program to its end; true when it exited with 0.
    static bool Run(const std::vector<std::string>& args) {
        posix_spawn_file_actions_t quiet;
        posix_spawn_file_actions_init(&quiet);
        posix_spawn_file_actions_addopen(&quiet, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&quiet, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        const pid_t pid = Spawn(args, &quiet);
        posix_spawn_file_actions_destroy(&quiet);
        if (pid <= 0) return false;
        int status = 0;
        waitpid(pid, &status, 0);
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

    static pid_t Spawn(const std::vector<std::string>& args,
                       const posix_spawn_file_actions_t* actions) {
        std::vector<char*> argv;
        for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        pid_t pid = 0;
        if (posix_spawnp(&pid, argv[0], actions, nullptr, argv.data(), environ) != 0) return -1;
        return pid;
    }

private:
    static void End(pid_t& pid) {
        if (pid <= 0) return;
        kill(pid, SIGTERM);
        int status = 0;
        waitpid(pid, &status, 0);
        pid = 0;
    }

    bool Fail(std::string why) {
        m_error = std::move(why);
        Stop();
        return false;
    }

    // Reads the server's log until a line contains text, the log ends, or boundMs pass.
    bool WaitForLine(int fd, const char* text, int boundMs) {
        timespec start{};
        clock_gettime(CLOCK_MONOTONIC, &start);
        for (;;) {
            if (m_log.find(text) != std::string::npos) return true;
            timespec now{};
            clock_gettime(CLOCK_MONOTONIC, &now);
            const long elapsed =
                (now.tv_sec - start.tv_sec) * 1000 + (now.tv_nsec - start.tv_nsec) / 1000000;
            if (elapsed >= boundMs) return false;
            pollfd p{fd, POLLIN, 0};
            if (poll(&p, 1, static_cast<int>(boundMs - elapsed)) <= 0) return false;
            char buffer[4096];
            const ssize_t got = read(fd, buffer, sizeof buffer);
            if (got <= 0) return false;
            m_log.append(buffer, static_cast<size_t>(got));
        }
    }

    std::string m_dir;
    std::string m_error;
    std::string m_log;
    pid_t m_server = 0;
    pid_t m_keepAlive = 0;
    std::thread m_logDrain;
    std::chrono::steady_clock::time_point m_readyAt;
};

}  // namespace lumavox::testing
