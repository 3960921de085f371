#include "editor/logic/ColMonArrangement.h"

#include "editor/logic/MonitorScale.h"
#include "settings/UsrIniFile.h"

namespace lumavox {

namespace {

constexpr std::string_view kMonitorSection = "ColMonForm";

void SavePanels(UsrIniFile& ini, ColMonArrangement& arrangement) {
    for (int i = 0; i < ColMonArrangement::kPanelCount; ++i) {
        auto& panel = arrangement.Panels[static_cast<size_t>(i)];
        const std::string section = ColMonArrangement::PanelSection(i);
        SavePlacement(ini, section, panel.Bounds);
        ini.WriteBool(section, "Visible", panel.Visible);
    }
}

}  // namespace

std::string ColMonArrangement::PanelSection(int index) {
    return "ColMon" + std::to_string(index + 1);
}

void LoadColMonArrangement(const UsrIniFile& ini, ColMonArrangement& arrangement, int32_t mainTop,
                           int32_t mainLeft) {
    LoadPlacement(ini, kMonitorSection, arrangement.Monitor, ColMonArrangement::kDefaultHeight,
                  ColMonArrangement::kDefaultWidth, mainTop + 200, mainLeft + 200);
    for (int i = 0; i < ColMonArrangement::kPanelCount; ++i) {
        auto& panel = arrangement.Panels[static_cast<size_t>(i)];
        const std::string section = ColMonArrangement::PanelSection(i);
        const PanelBounds initial = InitialPanelBounds(i);
        LoadPlacement(ini, section, panel.Bounds, initial.Height, initial.Width, initial.Top,
                      initial.Left);
        panel.Visible = ini.ReadBool(section, "Visible", true);
    }
}

void SaveColMonArrangement(UsrIniFile& ini, ColMonArrangement& arrangement) {
    SavePlacement(ini, kMonitorSection, arrangement.Monitor);
    SavePanels(ini, arrangement);
}

void SaveColMonArrangementPanelsFirst(UsrIniFile& ini, ColMonArrangement& arrangement) {
    SavePanels(ini, arrangement);
    SavePlacement(ini, kMonitorSection, arrangement.Monitor);
}

SaveResult SaveColMonArrangementFile(const std::string& path, ColMonArrangement& arrangement) {
    UsrIniFile file(path);
    SaveColMonArrangement(file, arrangement);
    return file.Flush();
}

ColMonArrangement LoadColMonArrangementFile(const std::string& path, int32_t mainTop,
                                            int32_t mainLeft) {
    const UsrIniFile file(path);
    ColMonArrangement arrangement;
    LoadColMonArrangement(file, arrangement, mainTop, mainLeft);
    return arrangement;
}

}  // namespace lumavox
