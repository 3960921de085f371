#pragma once

#include <cstdint>

namespace lumavox {

class UsrIniFile;

// The main window's view settings of section [General] (plus the status bar's visibility), read
// when the window is first shown and written when it closes. UI thread only.
struct MainView {
    bool DispMonoWav = false;   // waveform shown as one channel
    int32_t WavLRHeight = 360;  // total height of the waveform area, pixels
    bool ViewRefTrack = false;  // reference line pane shown
    int32_t RefTrack = 0;       // 0..7 one line, kAllLines every line
    int32_t RefTrackHi = 80;    // reference pane height, pixels, at least kMinRefTrackHi
    bool ViewColMon = false;    // colour monitor shown
    int32_t WavAmpZoom = 1;     // waveform amplitude zoom: 1, 2, 4, 8 or 16
    bool StatusBarVisible = true;

    static constexpr int32_t kAllLines = -2;
    static constexpr int32_t kMinRefTrackHi = 30;
};

// Missing or malformed values take the defaults above; a reference height below 30 reads as 30.
// A reference line outside 0..7 and -2, or a negative waveform height, reads as the default (the
// panes index by the one and size by the other).
MainView LoadMainView(const UsrIniFile& ini);
// [General] WavLRHeight, DispMonoWav, ViewRefTrack, RefTrack, RefTrackHi, ViewColMon, in that
// order (after the window's placement, before the colour monitor closes); then WavAmpZoom, but
// only once it is not 1 or the file has it, so a file that never had it keeps its keys.
void SaveMainView(UsrIniFile& ini, const MainView& view);
// [StatusBar] Visible (after the tool bars).
void SaveStatusBar(UsrIniFile& ini, bool visible);

}  // namespace lumavox
