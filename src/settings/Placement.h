#pragma once

#include <cstdint>
#include <string_view>

namespace lumavox {

class UsrIniFile;

// How a window's border affects what of its placement is stored.
enum class BorderKind {
    Resizable,   // main window, colour monitor: bounds and state
    Dialog,      // fixed dialog: position only
    ToolWindow,  // fixed tool window: position and size
    ResizableToolWindow,
    None,  // borderless (colour monitor panels)
};

enum class WindowState : int32_t { Normal = 0, Minimised = 1, Maximised = 2 };

// A window's placement without a toolkit: the window reads it into its geometry after
// LoadPlacement and fills it from its geometry (normal, not maximised, bounds) before
// SavePlacement. UI thread only.
struct WindowPlacement {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    WindowState State = WindowState::Normal;
    BorderKind Border = BorderKind::Resizable;
};

// Keys WinLeft, WinTop, WinWidth, WinHeight, WinState of section. Position always; the size
// unless the window is a fixed dialog or a default size is 0 or less (a stored size of 0 or less
// gives the default); the state only for a resizable border (any other stored value is normal).
void LoadPlacement(const UsrIniFile& ini, std::string_view section, WindowPlacement& window,
                   int32_t defHeight, int32_t defWidth, int32_t defTop, int32_t defLeft);
// A resizable window records state 0 or 2 (minimised is stored as normal) and is left in the
// normal state, so that the bounds written are its normal bounds; the size is written unless it
// is a fixed dialog.
void SavePlacement(UsrIniFile& ini, std::string_view section, WindowPlacement& window);

// A tool bar's docking state. The floating frame is given by its left/top and its client size.
// UI thread only.
struct ToolBarPlacement {
    bool Visible = true;
    bool Floating = false;
    bool Flat = false;
    int32_t FloatLeft = 100;
    int32_t FloatTop = 100;
    int32_t FloatWidth = 100;
    int32_t FloatHeight = 100;
    int32_t DockTop = 0;  // inside the tool bar area
    int32_t DockLeft = 0;
};

// Keys Visible, Floating, FltLeft/FltTop/FltRight/FltBottom (defaults 100, 100, 200, 200) for a
// floating bar, DockTop/DockLeft (defaults: the bar's present values) for a docked one; the flat
// style follows flatToolBar.
void LoadToolBar(const UsrIniFile& ini, std::string_view section, ToolBarPlacement& bar,
                 bool flatToolBar);
void SaveToolBar(UsrIniFile& ini, std::string_view section, const ToolBarPlacement& bar);

}  // namespace lumavox
