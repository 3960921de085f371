#pragma once

// The editor's own texts that are not in the message catalogue: window and bar captions, menu
// entries that are not actions, status notices. One table so that no widget spells them itself.

namespace lumavox::ui {

inline constexpr const char* kAppTitle = "Lumavox";
inline constexpr const char* kArtNetInitError = "ArtNet初期化エラー";
inline constexpr const char* kAutoBackup = "Auto Backup...";
inline constexpr const char* kUntitledCaption = "<無題>";
inline constexpr const char* kWebPage = "https://lumavox.org/";

// Tool bars (window titles) and their settings sections.
inline constexpr const char* kFileBar = "ファイル";
inline constexpr const char* kEditBar = "編集";
inline constexpr const char* kPlayerBar = "プレーヤ";
inline constexpr const char* kPaletteBar = "カラーパレット";

// Menus.
inline constexpr const char* kFileMenu = "ファイル(&F)";
inline constexpr const char* kRecentMenu = "最近開いたプロジェクト(&H)";
inline constexpr const char* kExit = "終了(&X)";
inline constexpr const char* kEditMenu = "編集(&E)";
inline constexpr const char* kPlayMenu = "再生(&P)";
inline constexpr const char* kRepeat = "繰り返し(&R)";
inline constexpr const char* kVolumeControl = "ボリュームコントロール(&V)";
inline constexpr const char* kViewMenu = "表示(&V)";
inline constexpr const char* kToolBarMenu = "ツールバー(&T)";
inline constexpr const char* kRefLineShort = "参照ライン(&R)";
inline constexpr const char* kSettingsMenu = "設定(&O)";
inline constexpr const char* kOptions = "オプション設定(&O)...";
inline constexpr const char* kHelpMenu = "ヘルプ(&H)";
inline constexpr const char* kHelpContents = "目次(&C)";
inline constexpr const char* kWebPageItem = "Webページ(&W)";
inline constexpr const char* kAbout = "バージョン情報(&A)";
inline constexpr const char* kVolumeHint = "音量の変更";
inline constexpr const char* kGroupFilter = "基点ファイル (*.grp *.GRP)";

// Window captions of the dialogs.
inline constexpr const char* kSetPrjCaption = "プロジェクトの設定";
inline constexpr const char* kStpPropCaption = "基点の色指定";
inline constexpr const char* kAboutCaption = "バージョン情報";
inline constexpr const char* kOptionCaption = "オプション設定";
inline constexpr const char* kColMonCaption = "カラーモニタ";
inline constexpr const char* kSelExCaption = "拡張選択";
inline constexpr const char* kStpTimeCaption = "基点のタイム設定";
inline constexpr const char* kArtNetPropCaption = "ノードの詳細情報";
inline constexpr const char* kHelpCaption = "Lumavox ヘルプ";

// Help contexts: the main window's and its six menus'.
inline constexpr int kMainWindowHelpContext = 3;
inline constexpr int kFirstMenuHelpContext = 5;

}  // namespace lumavox::ui
