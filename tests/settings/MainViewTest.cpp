#include "settings/MainView.h"

#include <gtest/gtest.h>

#include "settings/UsrIniFile.h"

namespace lumavox {
namespace {

TEST(MainView, ReadsDefaultsRaisesShortReferencePaneAndRejectsIndexesOutOfRange) {
    UsrIniFile ini("");
    const MainView defaults = LoadMainView(ini);
    EXPECT_EQ(defaults.WavLRHeight, 360);
    EXPECT_EQ(defaults.RefTrackHi, 80);
    EXPECT_TRUE(defaults.StatusBarVisible);

    ini.LoadText("[General]\nRefTrackHi=10\nRefTrack=-2\nWavLRHeight=-1\n[StatusBar]\nVisible=0\n");
    const MainView view = LoadMainView(ini);
    EXPECT_EQ(view.RefTrackHi, 30);
    EXPECT_EQ(view.RefTrack, MainView::kAllLines);
    EXPECT_EQ(view.WavLRHeight, 360);
    EXPECT_FALSE(view.StatusBarVisible);
    for (const char* bad : {"8", "-1", "-3", "2147483647"}) {
        ini.WriteString("General", "RefTrack", bad);
        EXPECT_EQ(LoadMainView(ini).RefTrack, 0) << bad;
    }
}

TEST(MainView, AmplitudeZoomReadsPowersOfTwoAndIsWrittenOnlyOnceUsed) {
    UsrIniFile ini("");
    MainView view;
    SaveMainView(ini, view);
    EXPECT_EQ(ini.Text().find("WavAmpZoom"), std::string::npos);
    view.WavAmpZoom = 8;
    SaveMainView(ini, view);
    EXPECT_EQ(LoadMainView(ini).WavAmpZoom, 8);
    ini.WriteString("General", "WavAmpZoom", "6");
    EXPECT_EQ(LoadMainView(ini).WavAmpZoom, 1);
}

}  // namespace
}  // namespace lumavox
