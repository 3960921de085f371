#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "settings/Placement.h"
#include "settings/SaveResult.h"

namespace lumavox {

class UsrIniFile;

// The colour monitor's arrangement: the monitor window's placement and each of its eight panels'
// bounds (in the monitor's client area) and visibility. Kept in the settings file (written at
// every close of the monitor) and in arrangement files (.ARG), both under the sections
// [ColMonForm] and [ColMon1]..[ColMon8]. The label and scaling switches are not part of it.
// UI thread only.
struct ColMonArrangement {
    static constexpr int kPanelCount = 8;
    static constexpr int32_t kDefaultWidth = 480;
    static constexpr int32_t kDefaultHeight = 320;

    struct Panel {
        WindowPlacement Bounds{0, 0, 0, 0, WindowState::Normal, BorderKind::None};
        bool Visible = true;
    };

    WindowPlacement Monitor{0, 0, 0, 0, WindowState::Normal, BorderKind::Resizable};
    std::array<Panel, kPanelCount> Panels;

    // Section name of panel i (0..7): "ColMon1".."ColMon8".
    static std::string PanelSection(int index);
};

// Reads the arrangement; whatever is missing takes the defaults of a first showing: a 480 × 320
// monitor at (mainLeft + 200, mainTop + 200), the initial panel arrangement, panels visible.
void LoadColMonArrangement(const UsrIniFile& ini, ColMonArrangement& arrangement, int32_t mainTop,
                           int32_t mainLeft);

// Writes the monitor first, then the panels, as an arrangement file lists them. A maximised
// monitor records state 2 and is left in the normal state (the caller restores the window).
void SaveColMonArrangement(UsrIniFile& ini, ColMonArrangement& arrangement);

// Writes the panels first, then the monitor: the order of the monitor's close into the settings.
void SaveColMonArrangementPanelsFirst(UsrIniFile& ini, ColMonArrangement& arrangement);

// Writes an arrangement file. An existing file is read first, so its other sections and keys keep
// their places; the file is replaced atomically. A failure is returned, never thrown.
SaveResult SaveColMonArrangementFile(const std::string& path, ColMonArrangement& arrangement);

// Reads an arrangement file; a missing or malformed file gives the defaults throughout.
ColMonArrangement LoadColMonArrangementFile(const std::string& path, int32_t mainTop,
                                            int32_t mainLeft);

}  // namespace lumavox
