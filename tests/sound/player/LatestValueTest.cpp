#include "sound/player/LatestValue.h"

#include <gtest/gtest.h>

#include <atomic>
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
    while (!done.load() || reads == 0) {
        const Sample s = cell.Read();
        ASSERT_EQ(s.B, s.A * 3);
        ASSERT_EQ(s.C, -static_cast<int64_t>(s.A));
        ASSERT_GE(s.A, last);
        last = s.A;
        ++reads;
    }
    writer.join();
    EXPECT_EQ(cell.Read().A, 200000u);
}

}  // namespace
}  // namespace lumavox
