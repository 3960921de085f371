#include "editor/logic/ActionTable.h"

#include "editor/logic/UiText.h"

namespace lumavox {

namespace {

using M = ActionMenu;
using T = ActionToolBar;

constexpr MenuEntry A(std::string_view name) {
    return {MenuEntryKind::Action, name};
}
constexpr MenuEntry C(std::string_view name) {
    return {MenuEntryKind::Command, name};
}
constexpr MenuEntry S(std::string_view name) {
    return {MenuEntryKind::Submenu, name};
}
constexpr MenuEntry kSep{MenuEntryKind::Separator, {}};

// No action has a hint of its own; the status bar shows the hints of the panels and sliders.
constexpr ActionInfo Row(std::string_view name, std::string_view caption, std::string_view image,
                         ActionMenu menu, ActionToolBar bar, bool checkable = false,
                         bool multiOnly = false) {
    return ActionInfo{name, caption, {}, image, menu, bar, checkable, multiOnly};
}

constexpr MenuEntry kFileMenu[] = {
    A("NewPrjAction"),     A("OpenPrjAction"),        A("SavePrjAction"),
    A("SaveAsPrjAction"),  S(kRecentProjectsSubmenu), kSep,
    A("SaveSelGrpAction"), A("LoadGrpAction"),        kSep,
    C(kExitCommand)};

constexpr MenuEntry kEditMenu[] = {A("CutStepAction"),
                                   A("CpyStepAction"),
                                   A("PstStepAction"),
                                   kSep,
                                   A("SelectAllAction"),
                                   kSep,
                                   A("AddStepAction"),
                                   A("AddBlkStepAction"),
                                   A("DelStepAction"),
                                   A("DelAllStepAction"),
                                   kSep,
                                   A("PropStepAction"),
                                   A("TimeStepAction"),
                                   A("MovToCsrPosAction"),
                                   kSep,
                                   A("UndoAction"),
                                   kSep,
                                   A("PrvStpAction"),
                                   A("NxtStpAction"),
                                   kSep,
                                   A("CpyFrmTrkAction"),
                                   A("SelectExAction")};

constexpr MenuEntry kPlayMenu[] = {
    A("TopPlayAction"),      A("PlayAction"),     A("PauseAction"),  A("StopAction"),
    A("ToTopPosAction"),     A("ToEndPosAction"), C(kRepeatCommand), kSep,
    C(kVolumeControlCommand)};

constexpr MenuEntry kViewMenu[] = {S(kToolBarsSubmenu),
                                   A("ViewSttBarAction"),
                                   kSep,
                                   A("ZoomInAction"),
                                   A("ZoomOutAction"),
                                   A("ZoomFitAction"),
                                   kSep,
                                   A("DispMonoAction"),
                                   kSep,
                                   A("ViewRefTrkAction"),
                                   A("ViewColMonAction")};

constexpr MenuEntry kToolBarsMenu[] = {A("ViewFilToolAction"), A("ViewEditToolAction"),
                                       A("ViewPlayerAction"), A("ViewCurPalAction")};

constexpr MenuEntry kSettingsMenu[] = {A("SetPrjAction"), A("ReplaceSoundAction"), kSep,
                                       C(kOptionsCommand)};

constexpr MenuEntry kHelpMenu[] = {C(kHelpContentsCommand), C(kWebPageCommand), kSep,
                                   C(kAboutCommand)};

constexpr MenuEntry kFileBar[] = {
    A("NewPrjAction"),  A("OpenPrjAction"), A("SavePrjAction"), A("SaveAsPrjAction"), kSep,
    A("CutStepAction"), A("CpyStepAction"), A("PstStepAction")};

constexpr MenuEntry kEditBar[] = {A("AddStepAction"),
                                  A("AddBlkStepAction"),
                                  A("DelStepAction"),
                                  kSep,
                                  A("PropStepAction"),
                                  kSep,
                                  A("PrvStpAction"),
                                  A("NxtStpAction"),
                                  kSep,
                                  A("ZoomInAction"),
                                  A("ZoomOutAction"),
                                  A("ZoomFitAction"),
                                  kSep,
                                  A("UndoAction")};

constexpr MenuEntry kPlayerBar[] = {A("TopPlayAction"), A("PlayAction"),     A("PauseAction"),
                                    A("StopAction"),    A("ToTopPosAction"), A("ToEndPosAction")};

constexpr MenuEntry kStepPopup[] = {A("CutStepAction"),
                                    A("CpyStepAction"),
                                    A("PstStepAction"),
                                    kSep,
                                    A("SelectAllAction"),
                                    kSep,
                                    A("AddStepAction"),
                                    A("AddBlkStepAction"),
                                    A("DelStepAction"),
                                    A("DelAllStepAction"),
                                    kSep,
                                    A("PropStepAction"),
                                    A("TimeStepAction"),
                                    A("MovToCsrPosAction"),
                                    kSep,
                                    A("CpyFrmTrkAction")};

constexpr MenuEntry kEmptySpacePopup[] = {A("CutStepAction"),   A("CpyStepAction"),
                                          A("PstStepAction"),   kSep,
                                          A("SelectAllAction"), kSep,
                                          A("DelStepAction"),   A("DelAllStepAction"),
                                          A("CpyFrmTrkAction")};

constexpr MenuEntry kReferencePopup[] = {C(kAllLinesCommand),     kSep,
                                         C(kRefHideCommand),      kSep,
                                         A("CutMltAction"),       A("CpyMltAction"),
                                         A("PstMltAction"),       kSep,
                                         A("SelectAllMltAction"), kSep,
                                         A("AlignMltAction"),     A("StretchMltAction"),
                                         A("StretchBrtAction")};

}  // namespace

// Captions are the menu texts of the program; the images are theme icon names the widgets look
// up (with a built-in fallback), so every button has one.
const std::array<ActionInfo, kMainActionCount> kActionTable = {{
    Row("NewPrjAction", LV_TEXT("Lumavox", "プロジェクトの新規作成(&N)"), "document-new", M::File,
        T::File),
    Row("OpenPrjAction", LV_TEXT("Lumavox", "プロジェクトを開く(&O)..."), "document-open", M::File,
        T::File),
    Row("SavePrjAction", LV_TEXT("Lumavox", "上書き保存(&S)"), "document-save", M::File, T::File),
    Row("SaveAsPrjAction", LV_TEXT("Lumavox", "名前を付けて保存(&A)..."), "document-save-as",
        M::File, T::File),
    Row("SetPrjAction", LV_TEXT("Lumavox", "プロジェクトの設定(&S)..."), "document-properties",
        M::Settings, T::None),
    Row("ZoomInAction", LV_TEXT("Lumavox", "タイムスケール拡大(&I)"), "zoom-in", M::View, T::Edit),
    Row("ZoomOutAction", LV_TEXT("Lumavox", "タイムスケール縮小(&O)"), "zoom-out", M::View,
        T::Edit),
    Row("ZoomFitAction", LV_TEXT("Lumavox", "タイムスケールを画面幅に(&F)"), "zoom-fit-best",
        M::View, T::Edit),
    Row("CutStepAction", LV_TEXT("Lumavox", "切り取り(&T)"), "edit-cut", M::Edit, T::File),
    Row("CpyStepAction", LV_TEXT("Lumavox", "コピー(&C)"), "edit-copy", M::Edit, T::File),
    Row("PstStepAction", LV_TEXT("Lumavox", "貼り付け(&P)"), "edit-paste", M::Edit, T::File),
    Row("AddStepAction", LV_TEXT("Lumavox", "基点の追加(&A)..."), "list-add", M::Edit, T::Edit),
    Row("AddBlkStepAction", LV_TEXT("Lumavox", "空基点追加(&B)"), "insert-object", M::Edit,
        T::Edit),
    Row("DelStepAction", LV_TEXT("Lumavox", "基点の削除(&D)"), "list-remove", M::Edit, T::Edit),
    Row("DelAllStepAction", LV_TEXT("Lumavox", "全ての基点を削除(&K)"), "edit-clear", M::Edit,
        T::None),
    Row("SelectAllAction", LV_TEXT("Lumavox", "全て選択(&S)"), "edit-select-all", M::Edit, T::None),
    Row("MovToCsrPosAction", LV_TEXT("Lumavox", "基点をカーソル位置へ移動(&M)"), "go-jump", M::Edit,
        T::None),
    Row("PropStepAction", LV_TEXT("Lumavox", "基点の色指定(&C)..."), "color-select", M::Edit,
        T::Edit),
    Row("TimeStepAction", LV_TEXT("Lumavox", "基点のタイム指定(&I)"), "appointment-new", M::Edit,
        T::None),
    Row("CpyFrmTrkAction", LV_TEXT("Lumavox", "他ラインからコピー(&F) ..."), "edit-copy", M::Edit,
        T::None),
    Row("UndoAction", LV_TEXT("Lumavox", "元に戻す(&U)"), "edit-undo", M::Edit, T::Edit),
    Row("PrvTimAction", LV_TEXT("Lumavox", "0.1秒戻る"), "", M::None, T::None),
    Row("NxtTimAction", LV_TEXT("Lumavox", "0.1秒進む"), "", M::None, T::None),
    Row("PrvStpAction", LV_TEXT("Lumavox", "前の基点へ(&P)"), "go-previous", M::Edit, T::Edit),
    Row("NxtStpAction", LV_TEXT("Lumavox", "次の基点へ(&N)"), "go-next", M::Edit, T::Edit),
    Row("UpBrightAction", LV_TEXT("Lumavox", "明度を上げる"), "", M::None, T::None),
    Row("DownBrightAction", LV_TEXT("Lumavox", "明度を下げる"), "", M::None, T::None),
    Row("TopPlayAction", LV_TEXT("Lumavox", "先頭から再生"), "media-skip-backward", M::Play,
        T::Player),
    Row("PlayAction", LV_TEXT("Lumavox", "再生"), "media-playback-start", M::Play, T::Player),
    Row("PauseAction", LV_TEXT("Lumavox", "一旦停止"), "media-playback-pause", M::Play, T::Player),
    Row("StopAction", LV_TEXT("Lumavox", "停止"), "media-playback-stop", M::Play, T::Player),
    Row("ToTopPosAction", LV_TEXT("Lumavox", "サウンドの先頭へ"), "media-seek-backward", M::Play,
        T::Player),
    Row("ToEndPosAction", LV_TEXT("Lumavox", "サウンドの最後へ"), "media-seek-forward", M::Play,
        T::Player),
    Row("ViewFilToolAction", LV_TEXT("Lumavox", "標準バー(&F)"), "", M::ViewToolBars, T::None,
        true),
    Row("ViewEditToolAction", LV_TEXT("Lumavox", "編集バー(&E)"), "", M::ViewToolBars, T::None,
        true),
    Row("ViewPlayerAction", LV_TEXT("Lumavox", "プレーヤ(&P)"), "", M::ViewToolBars, T::None, true),
    Row("ViewCurPalAction", LV_TEXT("Lumavox", "カラーパレット(&C)"), "", M::ViewToolBars, T::None,
        true),
    Row("ViewSttBarAction", LV_TEXT("Lumavox", "ステータスバー(&S)"), "", M::View, T::None, true),
    Row("ViewRefTrkAction", LV_TEXT("Lumavox", "参照ライン表示(&R)"), "", M::View, T::None, true),
    Row("ViewColMonAction", LV_TEXT("Lumavox", "カラーモニタ"), "", M::View, T::None, true),
    Row("DispMonoAction", LV_TEXT("Lumavox", "モノラル表示(&M)"), "", M::View, T::None, true),
    Row("CutMltAction", LV_TEXT("Lumavox", "複数ラインの切り取り(&T)"), "edit-cut", M::None,
        T::None, false, true),
    Row("CpyMltAction", LV_TEXT("Lumavox", "複数ラインのコピー(&C)"), "edit-copy", M::None, T::None,
        false, true),
    Row("PstMltAction", LV_TEXT("Lumavox", "複数ラインの貼り付け(&P)"), "edit-paste", M::None,
        T::None, false, true),
    Row("SelectAllMltAction", LV_TEXT("Lumavox", "全ライン全て選択(&M)"), "edit-select-all",
        M::None, T::None, false, true),
    Row("AlignMltAction", LV_TEXT("Lumavox", "複数ライン位置揃え(&L)"), "format-justify-left",
        M::None, T::None, false, true),
    Row("StretchMltAction", LV_TEXT("Lumavox", "複数ラインのタイム伸縮(&S)"), "", M::None, T::None,
        false, true),
    Row("StretchBrtAction", LV_TEXT("Lumavox", "複数ラインの明暗伸縮(&B)"), "", M::None, T::None,
        false, true),
    Row("SaveSelGrpAction", LV_TEXT("Lumavox", "選択基点をファイルに保存  "), "document-save",
        M::File, T::None),
    Row("LoadGrpAction", LV_TEXT("Lumavox", "ファイルからカーソル位置に読込"), "document-open",
        M::File, T::None),
    Row("SelectExAction", LV_TEXT("Lumavox", "拡張選択(&E)"), "edit-find", M::Edit, T::None),
    Row("ReplaceSoundAction", LV_TEXT("Lumavox", "サウンドの差し替え(&R)..."), "document-revert",
        M::Settings, T::None),
}};

const ActionInfo kCurBrt0Action = Row("CurBrt0Action", "0", "", M::None, T::None);

int ActionIndex(std::string_view name) {
    for (size_t i = 0; i < kActionTable.size(); ++i) {
        if (kActionTable[i].Name == name) return static_cast<int>(i);
    }
    return -1;
}

const ActionInfo* FindAction(std::string_view name) {
    if (name == kCurBrt0Action.Name) return &kCurBrt0Action;
    const int index = ActionIndex(name);
    return index < 0 ? nullptr : &kActionTable[static_cast<size_t>(index)];
}

std::string CaptionWithoutAccessKeys(std::string_view caption) {
    std::string text;
    text.reserve(caption.size());
    for (const char c : caption) {
        if (c != '&') text.push_back(c);
    }
    return text;
}

std::string EscapeAccessKeys(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        if (c == '&') escaped.push_back('&');
        escaped.push_back(c);
    }
    return escaped;
}

std::string_view CommandCaption(std::string_view name) {
    struct Entry {
        std::string_view Name;
        UiText Text;
    };
    static constexpr Entry kCommands[] = {
        {kRecentProjectsSubmenu, UiText::RecentProjectsMenu},
        {kToolBarsSubmenu, UiText::ToolBarsMenu},
        {kExitCommand, UiText::ExitMenu},
        {kRepeatCommand, UiText::RepeatMenu},
        {kVolumeControlCommand, UiText::VolumeControlMenu},
        {kOptionsCommand, UiText::OptionsMenu},
        {kHelpContentsCommand, UiText::HelpContentsMenu},
        {kWebPageCommand, UiText::WebPageMenu},
        {kAboutCommand, UiText::AboutMenu},
        {kAllLinesCommand, UiText::RefAllLinesMenu},
        {kRefHideCommand, UiText::RefHideMenu},
    };
    for (const Entry& entry : kCommands) {
        if (entry.Name == name) return UiTextOf(entry.Text);
    }
    return {};
}

std::span<const MainMenu> MainMenus() {
    static const MainMenu kMenus[] = {
        {UiTextSource(UiText::FileMenu), 5, kFileMenu},
        {UiTextSource(UiText::EditMenu), 6, kEditMenu},
        {UiTextSource(UiText::PlayMenu), 7, kPlayMenu},
        {UiTextSource(UiText::ViewMenu), 8, kViewMenu},
        {UiTextSource(UiText::SettingsMenu), 9, kSettingsMenu},
        {UiTextSource(UiText::HelpMenu), 10, kHelpMenu},
    };
    return kMenus;
}

std::span<const MenuEntry> ToolBarsSubmenu() {
    return kToolBarsMenu;
}

std::span<const ToolBarInfo> ToolBars() {
    static const ToolBarInfo kBars[] = {
        {UiTextSource(UiText::FileToolBar), "Tool1", "ViewFilToolAction", kFileBar},
        {UiTextSource(UiText::EditToolBar), "Tool2", "ViewEditToolAction", kEditBar},
        {UiTextSource(UiText::PlayerToolBar), "Tool3", "ViewPlayerAction", kPlayerBar},
        {UiTextSource(UiText::PaletteToolBar), "Tool4", "ViewCurPalAction", {}},
    };
    return kBars;
}

std::span<const MenuEntry> StepPopupMenu() {
    return kStepPopup;
}
std::span<const MenuEntry> EmptySpacePopupMenu() {
    return kEmptySpacePopup;
}
std::span<const MenuEntry> ReferencePopupMenu() {
    return kReferencePopup;
}

}  // namespace lumavox
