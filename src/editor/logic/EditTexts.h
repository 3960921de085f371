#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/Translation.h"

namespace lumavox {

// Fixed texts of the step dialogs and the stretch boxes that neither the message catalogue nor
// the UI text table holds, and the small formatted texts of the palette bars. UTF-8. Pure, any
// thread.
namespace edittext {
inline constexpr std::string_view kStandardTab = LV_TEXT("Lumavox", "標準");
inline constexpr std::string_view kUserPaletteTab = LV_TEXT("Lumavox", "ユーザパレット");
inline constexpr std::string_view kOk = "OK";
inline constexpr std::string_view kCancel = LV_TEXT("Lumavox", "キャンセル");
inline constexpr std::string_view kChooseImageItem = LV_TEXT("Lumavox", "パレット画像の選択(&P)");
inline constexpr std::string_view kDisplaySizeItem =
    LV_TEXT("Lumavox", "表示サイズ : ");  // + 240, 320 or 400
inline constexpr std::string_view kStretchTimeRange = " (-10.0 .. +10.0)";
inline constexpr std::string_view kStretchBrightnessRange = " (-4.0 .. +4.0)";
inline constexpr std::string_view kImageFilter = LV_TEXT(
    "Lumavox", "ビットマップ (*.bmp *.BMP);;JPEG File (*.JPG *.JPE *.JPEG *.jpg *.jpe *.jpeg)");
}  // namespace edittext

// "R%3u" of a colour component: "R  0", "R255"; "---" for none (channel < 0).
std::string ComponentText(char name, int channel);
// Status panel 2 after a brightness change: "明暗=%4d".
std::string BrightnessStatusText(int brightness);

}  // namespace lumavox
