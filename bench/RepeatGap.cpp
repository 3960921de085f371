// Measures repeat play on the real sound device: a 2 s sound looped through the whole engine, an
// output thread ticking every 20 ms, on a private null sink with no keep-alive stream (the sink a
// user's private server gives). For each wrap it prints how long the show time stood at the sound
// start and the wall-clock time the loop lost, then the median and the largest of each.
//
// Usage: repeat_gap [loops] [--recorder]   (default 5 loops; --recorder records the sink's monitor
// with parec meanwhile, as a listener on that sink would)
#include <signal.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "fakes/HeadlessPulseServer.h"
#include "sound/player/PlayerFiles.h"
#include "sound/player/PulseSoundDevice.h"
#include "sound/player/RepeatLoops.h"

namespace {

using lumavox::testing::HeadlessPulseServer;

void PrintSummary(const char* what, std::vector<double> values) {
    std::sort(values.begin(), values.end());
    std::printf("%s: median %.1f ms, largest %.1f ms\n", what, values[values.size() / 2],
                values.back());
}

}  // namespace

int main(int argc, char** argv) {
    int loops = 5;
    bool recorder = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--recorder") == 0) {
            recorder = true;
        } else {
            loops = std::max(1, std::atoi(argv[i]));
        }
    }
    HeadlessPulseServer server;
    if (!server.Start()) {
        std::fprintf(stderr, "no sound server: %s\n", server.Error().c_str());
        return 1;
    }
    server.SetKeepAlive(false);
    pid_t parec = 0;
    if (recorder) {
        posix_spawn_file_actions_t quiet;
        posix_spawn_file_actions_init(&quiet);
        posix_spawn_file_actions_addopen(&quiet, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        parec = HeadlessPulseServer::Spawn(
            {"parec", "--device=" + std::string(HeadlessPulseServer::SinkName()) + ".monitor",
             "--raw", "--format=s16le", "--rate=44100", "--channels=2"},
            &quiet);
        posix_spawn_file_actions_destroy(&quiet);
        if (parec <= 0) {
            std::fprintf(stderr, "parec cannot be started\n");
            return 1;
        }
    }

    const std::string wav = server.Folder() + "loop.wav";
    lumavox::test::WriteToneWav(wav, 44100 * 2);
    lumavox::PulseSoundDevice device;
    const lumavox::test::RepeatRun run = lumavox::test::RunRepeatLoops(device, wav, loops);
    if (parec > 0) {
        kill(parec, SIGTERM);
        waitpid(parec, nullptr, 0);
    }
    if (!run.Opened || run.Loops.empty()) {
        std::fprintf(stderr, "the sound did not play in loops\n");
        return 1;
    }
    std::printf("%s, %zu wraps\n", recorder ? "with a recorder on the monitor" : "nobody recording",
                run.Loops.size());
    std::vector<double> advances;
    std::vector<double> gaps;
    for (const lumavox::test::LoopFigures& loop : run.Loops) {
        std::printf("wrap at %7.0f ms: show time runs again after %6.1f ms, loop gap %6.1f ms\n",
                    loop.WrapAtMs, loop.AdvancesAfterMs, loop.GapMs);
        advances.push_back(loop.AdvancesAfterMs);
        gaps.push_back(loop.GapMs);
    }
    PrintSummary("show time runs again after", advances);
    PrintSummary("loop gap", gaps);
    return 0;
}
