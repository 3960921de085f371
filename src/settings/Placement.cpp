#include "settings/Placement.h"

#include <algorithm>
#include <limits>

#include "settings/UsrIniFile.h"

namespace lumavox {

namespace {

// Frame sides are stored as right/bottom but kept as sizes; hand-edited extremes must not
// overflow either way.
int32_t ClampToInt32(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

}  // namespace

void LoadPlacement(const UsrIniFile& ini, std::string_view section, WindowPlacement& window,
                   int32_t defHeight, int32_t defWidth, int32_t defTop, int32_t defLeft) {
    window.Left = ini.ReadInt(section, "WinLeft", defLeft);
    window.Top = ini.ReadInt(section, "WinTop", defTop);
    if (window.Border != BorderKind::Dialog && defWidth > 0 && defHeight > 0) {
        const int32_t width = ini.ReadInt(section, "WinWidth", defWidth);
        const int32_t height = ini.ReadInt(section, "WinHeight", defHeight);
        window.Width = width > 0 ? width : defWidth;
        window.Height = height > 0 ? height : defHeight;
    }
    if (window.Border == BorderKind::Resizable) {
        switch (ini.ReadInt(section, "WinState", 0)) {
            case 1:
                window.State = WindowState::Minimised;
                break;
            case 2:
                window.State = WindowState::Maximised;
                break;
            default:
                window.State = WindowState::Normal;
                break;
        }
    }
}

void SavePlacement(UsrIniFile& ini, std::string_view section, WindowPlacement& window) {
    if (window.Border == BorderKind::Resizable) {
        if (window.State == WindowState::Minimised) window.State = WindowState::Normal;
        ini.WriteInt(section, "WinState", static_cast<int32_t>(window.State));
        window.State = WindowState::Normal;
    }
    ini.WriteInt(section, "WinLeft", window.Left);
    ini.WriteInt(section, "WinTop", window.Top);
    if (window.Border != BorderKind::Dialog) {
        ini.WriteInt(section, "WinWidth", window.Width);
        ini.WriteInt(section, "WinHeight", window.Height);
    }
}

void LoadToolBar(const UsrIniFile& ini, std::string_view section, ToolBarPlacement& bar,
                 bool flatToolBar) {
    bar.Floating = ini.ReadBool(section, "Floating", false);
    if (bar.Floating) {
        const int32_t left = ini.ReadInt(section, "FltLeft", 100);
        const int32_t top = ini.ReadInt(section, "FltTop", 100);
        const int32_t right = ini.ReadInt(section, "FltRight", 200);
        const int32_t bottom = ini.ReadInt(section, "FltBottom", 200);
        bar.FloatLeft = left;
        bar.FloatTop = top;
        bar.FloatWidth = ClampToInt32(int64_t{right} - left);
        bar.FloatHeight = ClampToInt32(int64_t{bottom} - top);
    } else {
        bar.DockTop = ini.ReadInt(section, "DockTop", bar.DockTop);
        bar.DockLeft = ini.ReadInt(section, "DockLeft", bar.DockLeft);
    }
    bar.Flat = flatToolBar;
    bar.Visible = ini.ReadBool(section, "Visible", true);
}

void SaveToolBar(UsrIniFile& ini, std::string_view section, const ToolBarPlacement& bar) {
    ini.WriteBool(section, "Visible", bar.Visible);
    ini.WriteBool(section, "Floating", bar.Floating);
    if (bar.Floating) {
        ini.WriteInt(section, "FltLeft", bar.FloatLeft);
        ini.WriteInt(section, "FltTop", bar.FloatTop);
        ini.WriteInt(section, "FltRight", ClampToInt32(int64_t{bar.FloatLeft} + bar.FloatWidth));
        ini.WriteInt(section, "FltBottom", ClampToInt32(int64_t{bar.FloatTop} + bar.FloatHeight));
    } else {
        ini.WriteInt(section, "DockTop", bar.DockTop);
        ini.WriteInt(section, "DockLeft", bar.DockLeft);
    }
}

}  // namespace lumavox
