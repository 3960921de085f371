#include "dmx/FrameSchedule.h"

#include <gtest/gtest.h>

#include <optional>

namespace lumavox {
namespace {

struct Row {
    const char* what;
    std::optional<uint32_t> lastSent;
    std::optional<uint32_t> step;
    bool held;
    uint32_t now;
    std::optional<uint32_t> send;  // NextSend()
    uint32_t sleep;                // SleepMs(now, nextTick)
};

TEST(FrameSchedule, PlacesOffPeriodFramesAndSleepsUpToThem) {
    constexpr uint32_t kNextTick = 120;
    constexpr uint32_t kWrap = 0xFFFFFFFEu;
    const Row rows[] = {
        {"no step: sleep to 2 ms before the tick", 100, std::nullopt, false, 100, std::nullopt, 18},
        {"step after the gap: at its time", 100, 110, false, 100, 110, 8},
        {"step inside the gap: at the gap's end", 100, 103, false, 101, 105, 2},
        {"step just ahead: look every millisecond", 100, 106, false, 105, 106, 0},
        {"step overdue: sent at once", 100, 104, false, 112, 105, 0},
        {"nothing sent yet: the step's time", std::nullopt, 101, false, 100, 101, 0},
        {"held tick waits for the gap's end", 100, std::nullopt, true, 102, 105, 1},
        {"held tick and a later step: the held first", 100, 115, true, 102, 105, 1},
        {"tick just before a step goes with it", 50, 103, true, 100, 103, 1},
        {"gap across the clock wrap", kWrap, 1u, false, kWrap, 3u, 3},
    };
    for (const Row& r : rows) {
        FrameSchedule s;
        s.Configure(true, 5);
        if (r.lastSent) s.Sent(*r.lastSent);
        s.SetNextStep(r.step);
        if (r.held) {
            EXPECT_FALSE(s.PeriodicMayGo(r.now)) << r.what;
        }
        EXPECT_EQ(s.NextSend(), r.send) << r.what;
        const uint32_t tick = r.now >= kWrap ? 20u : kNextTick;
        EXPECT_EQ(s.SleepMs(r.now, tick), r.sleep) << r.what;
    }
}

}  // namespace
}  // namespace lumavox
