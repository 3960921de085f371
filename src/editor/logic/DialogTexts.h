#pragma once

#include <array>
#include <string_view>

namespace lumavox {

// Fixed captions of the options and project settings dialogs (page names, group frames, buttons,
// list contents) that the message catalogue does not hold. Widgets take them from here.
namespace dlgtext {

// Options dialog.
inline constexpr std::array<std::string_view, 7> kOptionPages = {
    "表示", "操作", "ショートカット", "パレット", "自動保存", "DMX", "高度な設定"};
inline constexpr std::array<std::string_view, 8> kColourItems = {
    "波形表示色(L)",  "波形の背景(L)",    "波形表示色(R)",    "波形の背景(R)",
    "無音部分の背景", "タイムライン表示", "タイムライン背景", "カラー表示の背景"};
inline constexpr std::string_view kColourGroup = "配色";
inline constexpr std::string_view kChooseColour = "指定...";
inline constexpr std::string_view kFlatButtons = "ツールボタンをフラットに";
inline constexpr std::string_view kDispTracking = "基点移動時に表示を更新";
inline constexpr std::string_view kMonClickTab = "カラーモニタパネルのクリックでタブを切替";
inline constexpr std::string_view kUseWheel = "マウスホイール機能を使う";
inline constexpr std::string_view kCurActivate = "カーソル通過時に基点をアクティブに";
inline constexpr std::string_view kKeyGroup = "キー";
inline constexpr std::string_view kChangeKey = "変更(&C)";
inline constexpr std::string_view kClearKey = "解除(&R)";
inline constexpr std::string_view kPaletteGroup = "ユーザパレット画像";
inline constexpr std::string_view kBitmapFilter = "ビットマップ (*.bmp *.BMP)";
inline constexpr std::string_view kJpegFilter = "JPEG File (*.JPG *.JPE *.JPEG *.jpg *.jpe *.jpeg)";
inline constexpr std::string_view kAutoBackup = "自動バックアップを行う";
inline constexpr std::string_view kInterval = "間隔";
inline constexpr std::string_view kMinutes = "分";
inline constexpr std::array<std::string_view, 7> kSaveIntervals = {"5",  "10", "15", "20",
                                                                   "30", "45", "60"};
inline constexpr std::string_view kInterfaceGroup = "インターフェイス";
inline constexpr std::string_view kUsbDmx = "USBDMX";
inline constexpr std::string_view kArtNet = "ArtNet";
inline constexpr std::string_view kOutputPortGroup = "出力ポート";
inline constexpr std::string_view kSubNet = "SUB-NET";
inline constexpr std::string_view kId = "ID";
inline constexpr std::string_view kIpPrefix = "IP: ";
inline constexpr std::string_view kScan = "スキャン";
inline constexpr std::string_view kDetails = "詳細";
inline constexpr std::string_view kDisplayPeriod = "画面更新周期";
inline constexpr std::string_view kDmxPeriod = "DMX更新周期";
inline constexpr std::string_view kMs = "ms";
inline constexpr std::array<std::string_view, 4> kDisplayPeriods = {"50", "100", "150", "200"};
inline constexpr std::array<std::string_view, 5> kDmxPeriods = {"20", "25", "30", "40", "50"};
inline constexpr std::string_view kOk = "OK";
inline constexpr std::string_view kCancel = "キャンセル";

// Project settings dialog.
inline constexpr std::array<std::string_view, 3> kProjectPages = {"全般", "DMXパッチ", "その他"};
inline constexpr std::string_view kTitleGroup = "タイトル";
inline constexpr std::string_view kSoundGroup = "サウンドファイル( .WAV)";
inline constexpr std::string_view kThroughPatch = "スルーパッチ";
inline constexpr std::string_view kClearPatch = "全て解除";
inline constexpr std::string_view kCheckGroup = "負荷チェック";
inline constexpr std::string_view kPrePlay = "プリプレイ・タイム";
inline constexpr std::string_view kPostPlay = "ポストプレイ・タイム";
inline constexpr std::string_view kSeconds = "秒";
inline constexpr std::string_view kDmxOut = "DMX out";
inline constexpr std::string_view kUnpatchedCell = "__";
inline constexpr std::string_view kSettingsSection = "SetProjectDlg";
// Refusals of a too long title or sound path (the project file has fixed-size fields).
inline constexpr std::string_view kTitleTooLong = "タイトルが長すぎます";
inline constexpr std::string_view kSoundPathTooLong = "サウンドファイルのパスが長すぎます";

}  // namespace dlgtext
}  // namespace lumavox
