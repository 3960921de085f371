#include "settings/MainView.h"

#include <algorithm>

#include "settings/UsrIniFile.h"

namespace lumavox {

MainView LoadMainView(const UsrIniFile& ini) {
    MainView view;
    view.DispMonoWav = ini.ReadBool("General", "DispMonoWav", false);
    const int32_t height = ini.ReadInt("General", "WavLRHeight", 360);
    view.WavLRHeight = height >= 0 ? height : 360;
    view.ViewRefTrack = ini.ReadBool("General", "ViewRefTrack", false);
    const int32_t line = ini.ReadInt("General", "RefTrack", 0);
    view.RefTrack = (line >= 0 && line <= 7) || line == MainView::kAllLines ? line : 0;
    view.RefTrackHi = std::max(ini.ReadInt("General", "RefTrackHi", 80), MainView::kMinRefTrackHi);
    view.ViewColMon = ini.ReadBool("General", "ViewColMon", false);
    const int32_t amp = ini.ReadInt("General", "WavAmpZoom", 1);
    view.WavAmpZoom = amp >= 1 && amp <= 16 && (amp & (amp - 1)) == 0 ? amp : 1;
    view.StatusBarVisible = ini.ReadBool("StatusBar", "Visible", true);
    return view;
}

void SaveMainView(UsrIniFile& ini, const MainView& view) {
    ini.WriteInt("General", "WavLRHeight", view.WavLRHeight);
    ini.WriteBool("General", "DispMonoWav", view.DispMonoWav);
    ini.WriteBool("General", "ViewRefTrack", view.ViewRefTrack);
    ini.WriteInt("General", "RefTrack", view.RefTrack);
    ini.WriteInt("General", "RefTrackHi", view.RefTrackHi);
    ini.WriteBool("General", "ViewColMon", view.ViewColMon);
    if (view.WavAmpZoom != 1 || !ini.ReadString("General", "WavAmpZoom", "").empty()) {
        ini.WriteInt("General", "WavAmpZoom", view.WavAmpZoom);
    }
}

void SaveStatusBar(UsrIniFile& ini, bool visible) {
    ini.WriteBool("StatusBar", "Visible", visible);
}

}  // namespace lumavox
