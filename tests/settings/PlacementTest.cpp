#include "settings/Placement.h"

#include <gtest/gtest.h>

#include "settings/UsrIniFile.h"

namespace lumavox {
namespace {

UsrIniFile Parsed(std::string_view text) {
    UsrIniFile ini("");
    ini.LoadText(text);
    return ini;
}

TEST(Placement, LoadUsesDefaultsAndRulesOfEachBorderKind) {
    const UsrIniFile ini = Parsed(
        "[General]\nWinLeft=5\nWinTop=6\nWinWidth=0\nWinHeight=-3\nWinState=1\n"
        "[Dlg]\nWinLeft=7\nWinWidth=500\nWinHeight=500\nWinState=2\n"
        "[Tool]\nWinWidth=300\nWinHeight=200\nWinState=2\n[Odd]\nWinState=9\n");
    WindowPlacement main;
    LoadPlacement(ini, "General", main, 768, 1024, 0, 0);
    EXPECT_EQ(main.Left, 5);
    EXPECT_EQ(main.Top, 6);
    EXPECT_EQ(main.Width, 1024);  // stored 0 gives the default (the screen width)
    EXPECT_EQ(main.Height, 768);
    EXPECT_EQ(main.State, WindowState::Minimised);

    WindowPlacement dialog{1, 2, 33, 44, WindowState::Normal, BorderKind::Dialog};
    LoadPlacement(ini, "Dlg", dialog, 400, 400, 100, 100);
    EXPECT_EQ(dialog.Left, 7);
    EXPECT_EQ(dialog.Top, 100);
    EXPECT_EQ(dialog.Width, 33);  // a fixed dialog keeps its designed size
    EXPECT_EQ(dialog.State, WindowState::Normal);

    // A tool window with no default size (the step time dialog) keeps its size; with one (the
    // extended selection) it reads it; neither reads a state.
    WindowPlacement tool{0, 0, 33, 44, WindowState::Normal, BorderKind::ToolWindow};
    LoadPlacement(ini, "Tool", tool, 0, 0, 150, 150);
    EXPECT_EQ(tool.Width, 33);
    WindowPlacement sizeable{0, 0, 0, 0, WindowState::Normal, BorderKind::ResizableToolWindow};
    LoadPlacement(ini, "Tool", sizeable, 400, 400, 0, 0);
    EXPECT_EQ(sizeable.Width, 300);
    EXPECT_EQ(sizeable.Height, 200);
    EXPECT_EQ(sizeable.State, WindowState::Normal);

    WindowPlacement odd;
    LoadPlacement(ini, "Odd", odd, 10, 10, 0, 0);
    EXPECT_EQ(odd.State, WindowState::Normal);
}

TEST(Placement, SavingAMaximisedWindowRecordsStateTwoAndLeavesItRestored) {
    UsrIniFile ini("");
    WindowPlacement monitor{30, 40, 480, 320, WindowState::Maximised, BorderKind::Resizable};
    SavePlacement(ini, "ColMonForm", monitor);
    EXPECT_EQ(monitor.State, WindowState::Normal);
    EXPECT_EQ(ini.Text(),
              "[ColMonForm]\r\nWinState=2\r\nWinLeft=30\r\nWinTop=40\r\nWinWidth=480\r\n"
              "WinHeight=320\r\n\r\n");

    WindowPlacement minimised{1, 2, 3, 4, WindowState::Minimised, BorderKind::Resizable};
    SavePlacement(ini, "General", minimised);
    EXPECT_EQ(ini.ReadInt("General", "WinState", -1), 0);

    WindowPlacement dialog{1, 2, 3, 4, WindowState::Normal, BorderKind::Dialog};
    SavePlacement(ini, "StepProperty", dialog);
    WindowPlacement panel{1, 2, 3, 4, WindowState::Maximised, BorderKind::None};
    SavePlacement(ini, "ColMon1", panel);
    EXPECT_EQ(ini.ReadInt("StepProperty", "WinWidth", -1), -1);
    EXPECT_EQ(ini.ReadInt("ColMon1", "WinState", -1), -1);
    EXPECT_EQ(ini.ReadInt("ColMon1", "WinWidth", -1), 3);
}

TEST(Placement, ToolBarsFloatOrDockAndRoundTrip) {
    UsrIniFile ini = Parsed("[Tool2]\nFloating=1\nFltLeft=300\nFltRight=350\n[Tool3]\nVisible=0\n");
    ToolBarPlacement floating;
    LoadToolBar(ini, "Tool2", floating, true);
    EXPECT_TRUE(floating.Floating);
    EXPECT_TRUE(floating.Flat);
    EXPECT_EQ(floating.FloatLeft, 300);
    EXPECT_EQ(floating.FloatTop, 100);
    EXPECT_EQ(floating.FloatWidth, 50);
    EXPECT_EQ(floating.FloatHeight, 100);

    ToolBarPlacement docked;
    docked.DockTop = 30;  // the designed position is the default
    docked.DockLeft = 11;
    LoadToolBar(ini, "Tool3", docked, false);
    EXPECT_FALSE(docked.Visible);
    EXPECT_FALSE(docked.Floating);
    EXPECT_EQ(docked.DockTop, 30);
    EXPECT_EQ(docked.DockLeft, 11);

    UsrIniFile out("");
    SaveToolBar(out, "Tool2", floating);
    SaveToolBar(out, "Tool3", docked);
    EXPECT_EQ(out.Text(),
              "[Tool2]\r\nVisible=1\r\nFloating=1\r\nFltLeft=300\r\nFltTop=100\r\nFltRight=350\r\n"
              "FltBottom=200\r\n\r\n[Tool3]\r\nVisible=0\r\nFloating=0\r\nDockTop=30\r\n"
              "DockLeft=11\r\n\r\n");

    // Extreme hand-edited frames neither overflow nor wrap.
    const UsrIniFile extreme =
        Parsed("[Tool1]\nFloating=1\nFltLeft=-2147483648\nFltRight=2147483647\n");
    ToolBarPlacement wide;
    LoadToolBar(extreme, "Tool1", wide, false);
    EXPECT_EQ(wide.FloatWidth, 2147483647);
}

}  // namespace
}  // namespace lumavox
