#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "model/Translation.h"
#include "settings/ShortCut.h"

namespace lumavox {

// Where an action sits in the main menu bar (besides any pop-up menu).
enum class ActionMenu { None, File, Edit, Play, View, ViewToolBars, Settings };
// The tool bar that shows the action as a button (the player bar's buttons sit on its panel).
enum class ActionToolBar { None, File, Edit, Player };

// One action of the main window. The row order is the order of the [ShortCut] keys and of the
// shortcut editor; the settings key is Name + "Item".
struct ActionInfo {
    std::string_view Name;
    std::string_view Caption;  // menu text, "&" before the access key; untranslated
    std::string_view Hint;     // tool tip and status-bar text; empty when there is none
    // Icon of the freedesktop icon theme for the button and menu entry; empty for none.
    std::string_view ImageId;
    ActionMenu Menu = ActionMenu::None;
    ActionToolBar ToolBar = ActionToolBar::None;
    bool Checkable = false;  // the view actions: checked = shown
    bool MultiOnly = false;  // visible only while the reference pane shows all lines
};

// The 52 actions of the main action list, in the order of kMainActions.
extern const std::array<ActionInfo, kMainActionCount> kActionTable;
// The one action of the second list (the palette's brightness-zero button); no user shortcut.
extern const ActionInfo kCurBrt0Action;
// ViewRefTrkAction as the "表示(&V)" menu shows it (its caption stays the table's).
inline constexpr std::string_view kViewRefTrkMenuCaption = LV_TEXT("Lumavox", "参照ライン(&R)");

// Row of an action in kActionTable; -1 for an unknown name.
int ActionIndex(std::string_view name);
const ActionInfo* FindAction(std::string_view name);

// A caption with every "&" removed: the title of a dialog opened by that action.
std::string CaptionWithoutAccessKeys(std::string_view caption);
// A text built from user data (a path, a title) made safe as a menu caption: "&" doubled.
std::string EscapeAccessKeys(std::string_view text);

// Menus, tool bars and pop-up menus as ordered entries. An Action entry names a row of
// kActionTable; a Command entry names a UI command that is not an action (UiText captions);
// a Submenu entry names a submenu the widget fills itself.
enum class MenuEntryKind { Action, Separator, Command, Submenu };
struct MenuEntry {
    MenuEntryKind Kind = MenuEntryKind::Separator;
    std::string_view Name;  // action name, or one of the command / submenu names below
};

// Commands and submenus that are not actions.
inline constexpr std::string_view kRecentProjectsSubmenu = "RecentProjects";
inline constexpr std::string_view kToolBarsSubmenu = "ToolBars";
inline constexpr std::string_view kExitCommand = "Exit";
inline constexpr std::string_view kRepeatCommand = "Repeat";
inline constexpr std::string_view kVolumeControlCommand = "VolumeControl";
inline constexpr std::string_view kOptionsCommand = "Options";
inline constexpr std::string_view kHelpContentsCommand = "HelpContents";
inline constexpr std::string_view kWebPageCommand = "WebPage";
inline constexpr std::string_view kAboutCommand = "About";
inline constexpr std::string_view kAllLinesCommand = "RefAllLines";  // reference pop-up
inline constexpr std::string_view kRefHideCommand = "RefHide";       // reference pop-up

// The caption of a command or submenu above ("終了(&X)", "最近開いたプロジェクト(&H)", ...);
// empty for an unknown name.
std::string_view CommandCaption(std::string_view name);

struct MainMenu {
    std::string_view Caption;  // "ファイル(&F)" ..., untranslated
    int HelpContext;           // 5..10 in menu-bar order
    std::span<const MenuEntry> Entries;
};
// The six menus of the menu bar, left to right.
std::span<const MainMenu> MainMenus();
// "ツールバー(&T)" inside "表示(&V)".
std::span<const MenuEntry> ToolBarsSubmenu();

struct ToolBarInfo {
    std::string_view Caption;  // "ファイル", "編集", "プレーヤ", "カラーパレット", untranslated
    std::string_view Section;  // settings section "Tool1".."Tool4"
    std::string_view ViewAction;
    std::span<const MenuEntry> Entries;  // buttons; the player and palette bars hold panels
};
// Tool1..Tool4 in settings order.
std::span<const ToolBarInfo> ToolBars();

// Pop-up menus of the time panes: on a step, on empty line-editor space, and the action part of
// the reference pop-up (after its eight line entries, which the pane adds).
std::span<const MenuEntry> StepPopupMenu();
std::span<const MenuEntry> EmptySpacePopupMenu();
std::span<const MenuEntry> ReferencePopupMenu();

inline constexpr int kMainWindowHelpContext = 3;

}  // namespace lumavox
