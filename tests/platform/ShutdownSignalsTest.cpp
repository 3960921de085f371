#include "platform/ShutdownSignals.h"

#include <gtest/gtest.h>
#include <pthread.h>
#include <signal.h>

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

}  // namespace
}  // namespace lumavox
