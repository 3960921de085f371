#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lumavox {

// Fixed texts of the edit commands, the palette tool bars and the step dialogs that the message
// catalogue does not hold, and the small formatted texts they show. UTF-8. Pure, any thread.
namespace edittext {
inline constexpr std::string_view kStepTimeCaption = "基点のタイム設定";
inline constexpr std::string_view kStandardTab = "標準";
inline constexpr std::string_view kUserPaletteTab = "ユーザパレット";
inline constexpr std::string_view kOk = "OK";
inline constexpr std::string_view kCancel = "キャンセル";
inline constexpr std::string_view kChooseImageItem = "パレット画像の選択(&P)";
inline constexpr std::string_view kDisplaySizeItem = "表示サイズ : ";  // + 240, 320 or 400
inline constexpr std::string_view kBaseColourHint = "基本色";
inline constexpr std::string_view kOutputColourHint = "出力色";
inline constexpr std::string_view kPaletteHint = "色指定";
inline constexpr std::string_view kBrightnessHint = "明暗の変更";
inline constexpr std::string_view kStretchTimeRange = " (-10.0 .. +10.0)";
inline constexpr std::string_view kStretchBrightnessRange = " (-4.0 .. +4.0)";
inline constexpr std::string_view kImageFilter =
    "ビットマップ (*.bmp *.BMP);;JPEG File (*.JPG *.JPE *.JPEG *.jpg *.jpe *.jpeg)";
}  // namespace edittext

// "Line" and the 1-based line number, no blank: "Line1".
std::string LineLabelText(int line);
// "R%3u" of a colour component: "R  0", "R255"; "---" for none (channel < 0).
std::string ComponentText(char name, int channel);
// Status panel 2 after a brightness change: "明暗=%4d".
std::string BrightnessStatusText(int brightness);
// Status panel 3 after a selection command: "選択中=" and the count.
std::string SelectionStatusText(int count);
// A caption without its access-key marks: every '&' removed.
std::string WithoutAccessKeys(std::string_view caption);

}  // namespace lumavox
