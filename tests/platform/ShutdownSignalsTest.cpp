#include "platform/ShutdownSignals.h"

#include <gtest/gtest.h>
#include <pthread.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace lumavox {
namespace {

using namespace std::chrono_literals;

TEST(ShutdownSignals, TermAndIntBecomeARequestInsteadOfEndingTheProcess) {
    for (const int signal : {SIGTERM, SIGINT}) {
        ShutdownSignals signals;
        EXPECT_FALSE(signals.Wait(0ms));
        ASSERT_EQ(pthread_kill(pthread_self(), signal), 0);  // blocked: stays pending
        EXPECT_TRUE(signals.Wait(5000ms));
        EXPECT_TRUE(signals.Wait(0ms));  // stays set
    }
}

// A closed terminal (SIGHUP) ends the run through the same shutdown; a closed output pipe (SIGPIPE)
// and a second stop signal during the shutdown end nothing. In a child, so that a fault ends only
// the child.
TEST(ShutdownSignals, HangUpStopsPipeIsIgnoredAndALateStopIsSwallowed) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        int code = 0;
        {
            ShutdownSignals signals;
            kill(getpid(), SIGHUP);
            if (!signals.Wait(5000ms)) code = 2;
            int pipeEnds[2];
            if (pipe(pipeEnds) != 0) _exit(3);
            close(pipeEnds[0]);
            if (write(pipeEnds[1], "x", 1) != -1 || errno != EPIPE) code = 4;
            kill(getpid(), SIGTERM);  // the impatient second Ctrl+C / TERM
        }
        struct sigaction restored {};
        sigaction(SIGPIPE, nullptr, &restored);
        if (restored.sa_handler != SIG_DFL) code = 5;
        _exit(code);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace lumavox
