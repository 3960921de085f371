#include "sound/player/Gain.h"

#include <gtest/gtest.h>

namespace lumavox {
namespace {

TEST(Gain, EachChannelHasItsOwnGainAndUnityChangesNothing) {
    int16_t stereo[4] = {32767, -32768, 1000, -1000};
    ApplyGain(stereo, 2, 2, 0xFFFFFFFFu);
    EXPECT_EQ(stereo[0], 32767);
    EXPECT_EQ(stereo[1], -32768);

    ApplyGain(stereo, 2, 2, 0x0000FFFFu);  // left unity, right silent
    EXPECT_EQ(stereo[0], 32767);
    EXPECT_EQ(stereo[1], 0);
    EXPECT_EQ(stereo[2], 1000);
    EXPECT_EQ(stereo[3], 0);

    int16_t loud[2] = {-32768, -32768};
    ApplyGain(loud, 1, 2, 0xFFFEFFFEu);  // the largest product that is not unity
    EXPECT_EQ(loud[0], -32767);          // truncated toward zero
    EXPECT_EQ(loud[1], -32767);
}

TEST(Gain, MonoUsesTheLeftGain) {
    int16_t mono[3] = {30000, -30000, 7};
    ApplyGain(mono, 3, 1, (0xFFFFu << 16) | 0x8000u);
    EXPECT_EQ(mono[0], 15000);
    EXPECT_EQ(mono[1], -15000);
    EXPECT_EQ(mono[2], 3);
}

}  // namespace
}  // namespace lumavox
