#pragma once

#include <string>
#include <string_view>

namespace lumavox {

// Texts of the editor that are not in the message catalogue (MsgText): window, menu and tool bar
// captions, hints, dialog titles and notices. Widgets take every fixed text from here or from
// MsgText, never from literals of their own.
enum class UiText {
    AppTitle,         // "Lumavox"
    ArtNetInitError,  // caption of the Art-Net start-up warning
    SacnInitError,    // caption of the sACN start-up warning
    AutoBackup,       // status panel 4 while the backup saves
    StepTimeTitle,    // the step time dialog
    AboutTitle,       // the about box
    VersionPrefix,    // "Version " + ProgramVersion()
    Ok,               // the about box's button
    FileMenu,
    EditMenu,
    PlayMenu,
    ViewMenu,
    SettingsMenu,
    HelpMenu,
    RecentProjectsMenu,
    ExitMenu,
    RepeatMenu,
    VolumeControlMenu,
    ToolBarsMenu,
    OptionsMenu,
    HelpContentsMenu,
    WebPageMenu,
    AboutMenu,
    RefAllLinesMenu,
    RefHideMenu,
    FileToolBar,
    EditToolBar,
    PlayerToolBar,
    PaletteToolBar,
    VolumeHint,        // the volume slider
    BaseColourHint,    // palette bar: base colour panel
    OutputColourHint,  // palette bar and player bar: output colour panels
    PaletteHint,       // the hue palette
    BrightnessHint,    // the brightness slider
    LeftHeader,        // "L"
    RightHeader,       // "R"
    OptionsTitle,      // the options dialog
    ColourMonitorTitle,
    ExtendedSelectionTitle,
    NodeDetailsTitle,  // the Art-Net node details
    HelpTitle,         // the help window
    WebPageAddress,    // opened by "Webページ(&W)"
};

// The text in the language chosen at start-up (Translated).
std::string_view UiTextOf(UiText id);
// The text as written in the source, untranslated: for tables made once, which the widgets
// translate when they show them.
std::string_view UiTextSource(UiText id);

// The main window's caption once a project is open ("Lumavox" alone before): "Lumavox  - " + the
// project's title, or its file path when the title is empty, or untitledFallback when both are
// empty. An
// open passes "<無題>" (UntitledCaption()); the project settings dialog passes "" (then the
// caption ends with the separator).
std::string WindowCaptionText(std::string_view title, std::string_view prjFile,
                              std::string_view untitledFallback);
// "<無題>".
std::string UntitledCaption();

// The save question: "[" + (projectFileName or "無題") + "] 変更内容を保存しますか".
std::string AskSaveText(std::string_view projectFileName);

// Entry i (from 0) of the recent-project submenu: "&1: path" .. "&9: path", "&0: path" for the
// tenth, three blanks + path from the eleventh on. "&" in the path is doubled so that no
// character of it becomes an access key.
std::string RecentEntryCaption(int index, std::string_view path);

// "Line 1".."Line 8" (tabs, pop-up entries) and "Line1".."Line8" (palette and player labels), for
// line 0..7.
std::string LineTabText(int line);
std::string LineLabelText(int line);

// Status panel 3: "選択中=" + count.
std::string SelectionCountText(int count);

// Open/save dialog filters: the catalogue's file-type name with both spellings of the extension,
// since Linux file dialogs match patterns case-sensitively.
std::string ProjectFileFilter();  // "プロジェクトファイル (*.prj *.PRJ)"
std::string GroupFileFilter();    // "基点ファイル (*.grp *.GRP)"

}  // namespace lumavox
