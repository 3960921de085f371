#include "engine/PlayDisplay.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace lumavox {
namespace {

TEST(TimeLabel, SignAndColourFollowTheRegion) {
    EXPECT_EQ(FormatTimeLabel(-10000, 60000).Text, "-00:00:10.00");
    EXPECT_EQ(FormatTimeLabel(-10000, 60000).FontColour, 0x808000);
    EXPECT_EQ(FormatTimeLabel(0, 60000).Text, " 00:00:00.00");
    EXPECT_EQ(FormatTimeLabel(60000, 60000).Text, " 00:01:00.00");  // the end is inside
    EXPECT_EQ(FormatTimeLabel(60000, 60000).FontColour, 0xFFFFFF);
    EXPECT_EQ(FormatTimeLabel(60001, 60000).Text, "+00:01:00.00");
    EXPECT_EQ(FormatTimeLabel(60001, 60000).FontColour, 0xFF00FF);
    EXPECT_EQ(FormatTimeLabel(3723459, 4000000).Text, " 01:02:03.45");
}

TEST(TimeLabel, ExtremeTimesPrintWithoutOverflow) {
    EXPECT_EQ(FormatTimeLabel(std::numeric_limits<int32_t>::min(), 0).Text, "-596:31:23.64");
    EXPECT_EQ(FormatTimeLabel(std::numeric_limits<int32_t>::max(), 0).Text, "+596:31:23.64");
}

TEST(StatusPanel, OutputStateThenAudio) {
    EXPECT_EQ(StatusPanel0Text("DMX:OK", false), "DMX:OK  Audio:NG");
    EXPECT_EQ(StatusPanel0Text("NET:--", true), "NET:--  Audio:OK");
    EXPECT_EQ(StatusPanel0Text("NET:OK", true, true), "NET:OK  Audio:--");
    EXPECT_EQ(StatusPanel0Text("DMX:NG", false, true), "DMX:NG  Audio:NG");  // nothing opened
}

// One warning when the clock stands in, none while it goes on standing in (every later open
// finds no server either), one more only after the server has served in between.
TEST(StatusPanel, SilentClockIsAnnouncedOncePerFallback) {
    SilentAudioNotice notice;
    EXPECT_FALSE(notice.Due(false));
    EXPECT_TRUE(notice.Due(true));
    EXPECT_FALSE(notice.Due(true));
    EXPECT_FALSE(notice.Due(false));
    EXPECT_TRUE(notice.Due(true));
}

TEST(VolumeSlider, TopIsFullVolumeBottomIsSilence) {
    EXPECT_EQ(VolumeStatusText(0), "音量=100");
    EXPECT_EQ(VolumeStatusText(255), "音量=  0");
    EXPECT_EQ(VolumeStatusText(128), "音量= 49");
    EXPECT_EQ(SliderWaveVolume(0), 65025);
    EXPECT_EQ(SliderWaveVolume(255), 0);
    EXPECT_EQ(SliderWaveVolume(-5), 65025);  // out-of-range slider values are clamped
}

TEST(ScrollToSoundStart, SixteenPixelsBeforeTheStartNeverNegative) {
    EXPECT_EQ(SoundStartScrollPosition(10000, 0.1), 984);
    EXPECT_EQ(SoundStartScrollPosition(100, 0.1), 0);
    EXPECT_EQ(SoundStartScrollPosition(10000, std::nan("")), 0);
    EXPECT_EQ(SoundStartScrollPosition(std::numeric_limits<int32_t>::max(), 1e9),
              std::numeric_limits<int32_t>::max() - 16);
}

TEST(AutoBackup, OnlyModifiedProjectsThatHaveAFile) {
    EXPECT_TRUE(AutoBackupDue(true, true, "/p/show.PRJ"));
    EXPECT_FALSE(AutoBackupDue(true, true, ""));  // untitled: never written
    EXPECT_FALSE(AutoBackupDue(true, false, "/p/show.PRJ"));
    EXPECT_FALSE(AutoBackupDue(false, true, "/p/show.PRJ"));
}

}  // namespace
}  // namespace lumavox
