#pragma once

#include <array>
#include <string_view>

#include "model/Translation.h"

namespace lumavox {

// Fixed captions of the options and project settings dialogs (page names, group frames, buttons,
// list contents) that the message catalogue does not hold. Widgets take them from here.
namespace dlgtext {

// Options dialog.
inline constexpr std::array<std::string_view, 7> kOptionPages = {
    LV_TEXT("Lumavox", "表示"),           LV_TEXT("Lumavox", "操作"),
    LV_TEXT("Lumavox", "ショートカット"), LV_TEXT("Lumavox", "パレット"),
    LV_TEXT("Lumavox", "自動保存"),       "DMX",
    LV_TEXT("Lumavox", "高度な設定")};
inline constexpr std::array<std::string_view, 8> kColourItems = {
    LV_TEXT("Lumavox", "波形表示色(L)"),    LV_TEXT("Lumavox", "波形の背景(L)"),
    LV_TEXT("Lumavox", "波形表示色(R)"),    LV_TEXT("Lumavox", "波形の背景(R)"),
    LV_TEXT("Lumavox", "無音部分の背景"),   LV_TEXT("Lumavox", "タイムライン表示"),
    LV_TEXT("Lumavox", "タイムライン背景"), LV_TEXT("Lumavox", "カラー表示の背景")};
inline constexpr std::string_view kColourGroup = LV_TEXT("Lumavox", "配色");
inline constexpr std::string_view kChooseColour = LV_TEXT("Lumavox", "指定...");
inline constexpr std::string_view kFlatButtons = LV_TEXT("Lumavox", "ツールボタンをフラットに");
inline constexpr std::string_view kDispTracking = LV_TEXT("Lumavox", "基点移動時に表示を更新");
inline constexpr std::string_view kMonClickTab =
    LV_TEXT("Lumavox", "カラーモニタパネルのクリックでタブを切替");
inline constexpr std::string_view kUseWheel = LV_TEXT("Lumavox", "マウスホイール機能を使う");
inline constexpr std::string_view kCurActivate =
    LV_TEXT("Lumavox", "カーソル通過時に基点をアクティブに");
inline constexpr std::string_view kLanguageGroup = LV_TEXT("Lumavox", "言語");
// The language choices, in the order of kLanguageValues.
inline constexpr std::array<std::string_view, 3> kLanguageItems = {
    LV_TEXT("Lumavox", "システムの設定に従う"), "日本語", "English"};
inline constexpr std::array<std::string_view, 3> kLanguageValues = {"auto", "ja", "en"};
inline constexpr std::string_view kLanguageNote =
    LV_TEXT("Lumavox", "次回の起動から有効になります");
inline constexpr std::string_view kKeyGroup = LV_TEXT("Lumavox", "キー");
inline constexpr std::string_view kChangeKey = LV_TEXT("Lumavox", "変更(&C)");
inline constexpr std::string_view kClearKey = LV_TEXT("Lumavox", "解除(&R)");
inline constexpr std::string_view kPaletteGroup = LV_TEXT("Lumavox", "ユーザパレット画像");
inline constexpr std::string_view kBitmapFilter = LV_TEXT("Lumavox", "ビットマップ (*.bmp *.BMP)");
inline constexpr std::string_view kJpegFilter = "JPEG File (*.JPG *.JPE *.JPEG *.jpg *.jpe *.jpeg)";
// PNG palette images, read by the editor through Qt.
inline constexpr std::string_view kPngFilter = "PNG File (*.png *.PNG)";
inline constexpr std::string_view kAutoBackup = LV_TEXT("Lumavox", "自動バックアップを行う");
inline constexpr std::string_view kInterval = LV_TEXT("Lumavox", "間隔");
inline constexpr std::string_view kMinutes = LV_TEXT("Lumavox", "分");
inline constexpr std::array<std::string_view, 7> kSaveIntervals = {"5",  "10", "15", "20",
                                                                   "30", "45", "60"};
inline constexpr std::string_view kInterfaceGroup = LV_TEXT("Lumavox", "インターフェイス");
inline constexpr std::string_view kUsbDmx = "USBDMX";
inline constexpr std::string_view kArtNet = "ArtNet";
// The sACN block of the DMX page.
inline constexpr std::string_view kSacn = "sACN";
inline constexpr std::string_view kSacnUniverse = LV_TEXT("Lumavox", "ユニバース");
inline constexpr std::string_view kSacnPriority = LV_TEXT("Lumavox", "優先度");
inline constexpr std::string_view kSacnSync = LV_TEXT("Lumavox", "同期ユニバース");
inline constexpr std::string_view kSacnNoSync = LV_TEXT("Lumavox", "なし");
inline constexpr std::string_view kSacnUnicast = LV_TEXT("Lumavox", "ユニキャスト先");
inline constexpr std::string_view kSacnUnicastHint =
    LV_TEXT("Lumavox", "空欄でマルチキャスト (例: 10.0.0.5,10.0.0.6)");
inline constexpr std::string_view kSacnInterface = LV_TEXT("Lumavox", "インターフェイス");
inline constexpr std::string_view kSacnInterfaceHint =
    LV_TEXT("Lumavox", "空欄で既定の経路のインターフェイス");
inline constexpr std::string_view kSacnTargetPrefix = LV_TEXT("Lumavox", "送信先: ");
inline constexpr std::string_view kOutputPortGroup = LV_TEXT("Lumavox", "出力ポート");
inline constexpr std::string_view kSubNet = "SUB-NET";
inline constexpr std::string_view kId = "ID";
inline constexpr std::string_view kIpPrefix = "IP: ";
inline constexpr std::string_view kScan = LV_TEXT("Lumavox", "スキャン");
inline constexpr std::string_view kDetails = LV_TEXT("Lumavox", "詳細");
// Art-Net delivery ([Output] settings), and the node details' line on what the node receives.
inline constexpr std::string_view kArtnetUnicast = LV_TEXT("Lumavox", "受信ノードへユニキャスト");
inline constexpr std::string_view kArtSync = LV_TEXT("Lumavox", "ArtSyncを送る");
inline constexpr std::string_view kNodeGetsUnicast =
    LV_TEXT("Lumavox", "ユニキャスト: このノードへ送信中");
inline constexpr std::string_view kNodeNoUnicast =
    LV_TEXT("Lumavox", "ユニキャスト: 送信なし（出力ユニバースを受けていないノード）");
inline constexpr std::string_view kDisplayPeriod = LV_TEXT("Lumavox", "画面更新周期");
inline constexpr std::string_view kDmxPeriod = LV_TEXT("Lumavox", "DMX更新周期");
inline constexpr std::string_view kMs = "ms";
// Output timing ([Output] settings): frames at each step's time, and each output's light offset.
inline constexpr std::string_view kOutputTiming = LV_TEXT("Lumavox", "出力タイミング");
inline constexpr std::string_view kEventTimed =
    LV_TEXT("Lumavox", "ステップ時刻にも送信 (Art-Net・sACN)");
inline constexpr std::string_view kMinFrameGap = LV_TEXT("Lumavox", "最小間隔");
inline constexpr std::string_view kLightOffset = LV_TEXT("Lumavox", "ライト先行 (ms)");
inline constexpr std::array<std::string_view, 4> kDisplayPeriods = {"50", "100", "150", "200"};
inline constexpr std::array<std::string_view, 5> kDmxPeriods = {"20", "25", "30", "40", "50"};
inline constexpr std::string_view kOk = "OK";
inline constexpr std::string_view kCancel = LV_TEXT("Lumavox", "キャンセル");

// Project settings dialog.
inline constexpr std::array<std::string_view, 3> kProjectPages = {
    LV_TEXT("Lumavox", "全般"), LV_TEXT("Lumavox", "DMXパッチ"), LV_TEXT("Lumavox", "その他")};
inline constexpr std::string_view kTitleGroup = LV_TEXT("Lumavox", "タイトル");
inline constexpr std::string_view kSoundGroup = LV_TEXT("Lumavox", "サウンドファイル( .WAV)");
inline constexpr std::string_view kThroughPatch = LV_TEXT("Lumavox", "スルーパッチ");
inline constexpr std::string_view kClearPatch = LV_TEXT("Lumavox", "全て解除");
inline constexpr std::string_view kCheckGroup = LV_TEXT("Lumavox", "負荷チェック");
inline constexpr std::string_view kPrePlay = LV_TEXT("Lumavox", "プリプレイ・タイム");
inline constexpr std::string_view kPostPlay = LV_TEXT("Lumavox", "ポストプレイ・タイム");
inline constexpr std::string_view kSeconds = LV_TEXT("Lumavox", "秒");
inline constexpr std::string_view kDmxOut = "DMX out";
inline constexpr std::string_view kUnpatchedCell = "__";
inline constexpr std::string_view kSettingsSection = "SetProjectDlg";
// Refusals of a too long title or sound path (the project file has fixed-size fields).
inline constexpr std::string_view kTitleTooLong = LV_TEXT("Lumavox", "タイトルが長すぎます");
inline constexpr std::string_view kSoundPathTooLong =
    LV_TEXT("Lumavox", "サウンドファイルのパスが長すぎます");

}  // namespace dlgtext
}  // namespace lumavox
