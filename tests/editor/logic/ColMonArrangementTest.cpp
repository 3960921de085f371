#include "editor/logic/ColMonArrangement.h"

#include <gtest/gtest.h>

#include "fakes/TempDir.h"
#include "settings/UsrIniFile.h"

namespace lumavox {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

ColMonArrangement SampleArrangement() {
    ColMonArrangement a;
    a.Monitor.Left = 300;
    a.Monitor.Top = 250;
    a.Monitor.Width = 640;
    a.Monitor.Height = 400;
    for (int i = 0; i < ColMonArrangement::kPanelCount; ++i) {
        auto& p = a.Panels[static_cast<size_t>(i)];
        p.Bounds.Left = 20 * i;
        p.Bounds.Top = 15 * i + 1;
        p.Bounds.Width = 50 + i;
        p.Bounds.Height = 60 + i;
        p.Visible = i % 3 != 0;
    }
    return a;
}

TEST(ColMonArrangement, FileRoundTripKeepsForeignSectionsAndKeysInPlace) {
    TempDir dir;
    const std::string path = dir.File("show.ARG");
    WriteBytes(path, "[Notes]\r\nAuthor=Kei\r\n\r\n[ColMon3]\r\nWinLeft=1\r\nColour=red\r\n\r\n");

    ColMonArrangement saved = SampleArrangement();
    saved.Monitor.State = WindowState::Maximised;
    ASSERT_TRUE(SaveColMonArrangementFile(path, saved).Ok());
    EXPECT_EQ(saved.Monitor.State, WindowState::Normal);  // left restored

    const std::string text = ReadBytes(path);
    EXPECT_EQ(text.rfind("[Notes]\r\nAuthor=Kei\r\n\r\n[ColMon3]\r\nWinLeft=40\r\nColour=red\r\n"
                         "WinTop=31\r\nWinWidth=52\r\nWinHeight=62\r\nVisible=1\r\n\r\n"
                         "[ColMonForm]\r\nWinState=2\r\nWinLeft=300\r\n",
                         0),
              0u)
        << text;

    const ColMonArrangement loaded = LoadColMonArrangementFile(path, 0, 0);
    EXPECT_EQ(loaded.Monitor.State, WindowState::Maximised);
    EXPECT_EQ(loaded.Monitor.Width, 640);
    for (size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(loaded.Panels[i].Bounds.Left, saved.Panels[i].Bounds.Left);
        EXPECT_EQ(loaded.Panels[i].Bounds.Top, saved.Panels[i].Bounds.Top);
        EXPECT_EQ(loaded.Panels[i].Bounds.Width, saved.Panels[i].Bounds.Width);
        EXPECT_EQ(loaded.Panels[i].Bounds.Height, saved.Panels[i].Bounds.Height);
        EXPECT_EQ(loaded.Panels[i].Visible, saved.Panels[i].Visible);
    }
}

TEST(ColMonArrangement, NewFileListsMonitorThenPanelsWithKeysInOrder) {
    TempDir dir;
    const std::string path = dir.File("new.ARG");
    ColMonArrangement a = SampleArrangement();
    ASSERT_TRUE(SaveColMonArrangementFile(path, a).Ok());
    EXPECT_EQ(
        ReadBytes(path).rfind("[ColMonForm]\r\nWinState=0\r\nWinLeft=300\r\nWinTop=250\r\n"
                              "WinWidth=640\r\nWinHeight=400\r\n\r\n[ColMon1]\r\nWinLeft=0\r\n"
                              "WinTop=1\r\nWinWidth=50\r\nWinHeight=60\r\nVisible=0\r\n\r\n"
                              "[ColMon2]\r\n",
                              0),
        0u);
}

TEST(ColMonArrangement, MissingOrMalformedValuesTakeTheFirstShowingDefaults) {
    TempDir dir;
    const std::string path = dir.File("odd.arg");
    WriteBytes(path, "this is not an arrangement\r\n[ColMon6]\r\nWinWidth=abc\r\nVisible=0\r\n");
    const ColMonArrangement a = LoadColMonArrangementFile(path, 64, 157);
    EXPECT_EQ(a.Monitor.Left, 357);
    EXPECT_EQ(a.Monitor.Top, 264);
    EXPECT_EQ(a.Monitor.Width, 480);
    EXPECT_EQ(a.Monitor.Height, 320);
    EXPECT_EQ(a.Panels[5].Bounds.Left, 120);
    EXPECT_EQ(a.Panels[5].Bounds.Top, 120);
    EXPECT_EQ(a.Panels[5].Bounds.Width, 100);
    EXPECT_FALSE(a.Panels[5].Visible);
    EXPECT_TRUE(a.Panels[4].Visible);
    EXPECT_EQ(LoadColMonArrangementFile(dir.File("missing.ARG"), 0, 0).Panels[7].Bounds.Left, 340);
}

}  // namespace
}  // namespace lumavox
