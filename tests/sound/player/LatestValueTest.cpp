#include "sound/player/LatestValue.h"

#include <gtest/gtest.h>
#include <pthread.h>
#include <signal.h>
#include <time.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace lumavox {
namespace {

struct Sample {
    uint64_t A = 0;
    uint64_t B = 0;
    int64_t C = 0;
};

// The writer publishes values whose fields agree; a reader on another thread must never see a
// mix of two values, and must see the values in the order written.
TEST(LatestValue, ReadersSeeOnlyWholeValuesInOrder) {
    LatestValue<Sample> cell;
    std::atomic<bool> done{false};
    std::thread writer([&] {
        for (uint64_t i = 1; i <= 200000; ++i) {
            cell.Write(Sample{i, i * 3, -static_cast<int64_t>(i)});
        }
        done = true;
    });
    uint64_t last = 0;
    long reads = 0;
    Sample s;
    while (!done.load() || reads == 0) {
        cell.Read(s);
        ASSERT_EQ(s.B, s.A * 3);
        ASSERT_EQ(s.C, -static_cast<int64_t>(s.A));
        ASSERT_GE(s.A, last);
        last = s.A;
        ++reads;
    }
    writer.join();
    EXPECT_TRUE(cell.Read(s));
    EXPECT_EQ(s.A, 200000u);
}

std::atomic<bool> g_holdWriter{false};
std::atomic<bool> g_writerHeld{false};

void HoldWriter(int) {
    g_writerHeld.store(true);
    const timespec pause{0, 100000};
    while (g_holdWriter.load()) nanosleep(&pause, nullptr);
    g_writerHeld.store(false);
}

// A writer stopped in the middle of a write (a low-priority thread preempted by the reader on a
// shared CPU) must not hold the reader: it gives up after its tries and keeps the whole value it
// had. The writer is stopped by a signal that lands at a random point of its loop of writes.
TEST(LatestValue, AWriterStoppedInTheMiddleOfAWriteDoesNotHoldTheReader) {
#if defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "ThreadSanitizer defers signals to safe points";
#endif
    struct sigaction action {};
    action.sa_handler = HoldWriter;
    sigemptyset(&action.sa_mask);
    struct sigaction previous {};
    ASSERT_EQ(sigaction(SIGUSR1, &action, &previous), 0);

    LatestValue<Sample> cell;
    std::atomic<bool> done{false};
    std::thread writer([&] {
        for (uint64_t i = 1; !done.load(std::memory_order_relaxed); ++i) {
            cell.Write(Sample{i, i * 3, -static_cast<int64_t>(i)});
        }
    });
    int caughtMidWrite = 0;
    int heldReads = 0;
    for (int round = 0; round < 400 && caughtMidWrite < 5 && heldReads == 0; ++round) {
        g_holdWriter.store(true);
        pthread_kill(writer.native_handle(), SIGUSR1);
        while (!g_writerHeld.load()) std::this_thread::yield();
        const Sample last{7, 21, -7};  // what the reader had before
        Sample s = last;
        std::atomic<bool> read{false};
        bool whole = false;
        std::thread reader([&] {
            whole = cell.Read(s);
            read.store(true);
        });
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
        while (!read.load() && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::yield();
        }
        if (!read.load()) ++heldReads;
        g_holdWriter.store(false);  // lets a held reader finish too
        reader.join();
        while (g_writerHeld.load()) std::this_thread::yield();
        if (!whole) {
            ++caughtMidWrite;
            EXPECT_EQ(s.A, last.A);  // the last whole value stands
            EXPECT_EQ(s.C, last.C);
        }
    }
    done.store(true);
    writer.join();
    sigaction(SIGUSR1, &previous, nullptr);
    EXPECT_EQ(heldReads, 0);
    EXPECT_GT(caughtMidWrite, 0) << "the writer was never stopped in the middle of a write";
}

}  // namespace
}  // namespace lumavox
