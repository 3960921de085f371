#include "editor/logic/ActionTable.h"

#include "editor/logic/UiText.h"

namespace lumavox {

namespace {

using Id = ActionId;
using M = ActionMenu;
using T = ActionToolBar;

constexpr MenuEntry A(ActionId id) {
    return {MenuEntryKind::Action, ActionName(id), id};
}
constexpr MenuEntry C(std::string_view name) {
    return {MenuEntryKind::Command, name};
}
constexpr MenuEntry S(std::string_view name) {
    return {MenuEntryKind::Submenu, name};
}
constexpr MenuEntry kSep{MenuEntryKind::Separator, {}};

// No action has a hint of its own; the status bar shows the hints of the panels and sliders.
constexpr ActionInfo Row(ActionId id, std::string_view caption, std::string_view image,
                         ActionMenu menu, ActionToolBar bar, bool checkable = false,
                         bool multiOnly = false) {
    return ActionInfo{id, ActionName(id), caption, {}, image, menu, bar, checkable, multiOnly};
}

template <size_t N>
constexpr bool InIdOrder(const std::array<ActionInfo, N>& rows) {
    for (size_t i = 0; i < N; ++i) {
        if (IndexOf(rows[i].Id) != i) return false;
    }
    return true;
}

constexpr MenuEntry kFileMenu[] = {A(Id::NewPrjAction),
                                   A(Id::OpenPrjAction),
                                   A(Id::SavePrjAction),
                                   A(Id::SaveAsPrjAction),
                                   S(kRecentProjectsSubmenu),
                                   kSep,
                                   A(Id::SaveSelGrpAction),
                                   A(Id::LoadGrpAction),
                                   kSep,
                                   A(Id::ExportFseqAction),
                                   kSep,
                                   C(kExitCommand)};

constexpr MenuEntry kEditMenu[] = {A(Id::CutStepAction),
                                   A(Id::CpyStepAction),
                                   A(Id::PstStepAction),
                                   kSep,
                                   A(Id::SelectAllAction),
                                   kSep,
                                   A(Id::AddStepAction),
                                   A(Id::AddBlkStepAction),
                                   A(Id::DelStepAction),
                                   A(Id::DelAllStepAction),
                                   kSep,
                                   A(Id::PropStepAction),
                                   A(Id::TimeStepAction),
                                   A(Id::MovToCsrPosAction),
                                   kSep,
                                   A(Id::UndoAction),
                                   A(Id::RedoAction),
                                   kSep,
                                   A(Id::PrvStpAction),
                                   A(Id::NxtStpAction),
                                   kSep,
                                   A(Id::CpyFrmTrkAction),
                                   A(Id::SelectExAction),
                                   kSep,
                                   A(Id::SnapBeatAction),
                                   A(Id::AddBeatStepsAction),
                                   A(Id::SelectBeatStepsAction)};

constexpr MenuEntry kPlayMenu[] = {
    A(Id::TopPlayAction),    A(Id::PlayAction),     A(Id::PauseAction), A(Id::StopAction),
    A(Id::ToTopPosAction),   A(Id::ToEndPosAction), C(kRepeatCommand),  kSep,
    C(kVolumeControlCommand)};

constexpr MenuEntry kViewMenu[] = {S(kToolBarsSubmenu),
                                   A(Id::ViewSttBarAction),
                                   kSep,
                                   A(Id::ZoomInAction),
                                   A(Id::ZoomOutAction),
                                   A(Id::ZoomFitAction),
                                   kSep,
                                   A(Id::DispMonoAction),
                                   A(Id::ViewBeatLaneAction),
                                   kSep,
                                   A(Id::ViewRefTrkAction),
                                   A(Id::ViewColMonAction)};

constexpr MenuEntry kToolBarsMenu[] = {A(Id::ViewFilToolAction), A(Id::ViewEditToolAction),
                                       A(Id::ViewPlayerAction), A(Id::ViewCurPalAction)};

constexpr MenuEntry kSettingsMenu[] = {A(Id::SetPrjAction), A(Id::ReplaceSoundAction), kSep,
                                       C(kOptionsCommand)};

constexpr MenuEntry kHelpMenu[] = {C(kHelpContentsCommand), C(kWebPageCommand), kSep,
                                   C(kAboutCommand)};

constexpr MenuEntry kFileBar[] = {
    A(Id::NewPrjAction),  A(Id::OpenPrjAction), A(Id::SavePrjAction), A(Id::SaveAsPrjAction), kSep,
    A(Id::CutStepAction), A(Id::CpyStepAction), A(Id::PstStepAction)};

constexpr MenuEntry kEditBar[] = {A(Id::AddStepAction),
                                  A(Id::AddBlkStepAction),
                                  A(Id::DelStepAction),
                                  kSep,
                                  A(Id::PropStepAction),
                                  kSep,
                                  A(Id::PrvStpAction),
                                  A(Id::NxtStpAction),
                                  kSep,
                                  A(Id::ZoomInAction),
                                  A(Id::ZoomOutAction),
                                  A(Id::ZoomFitAction),
                                  kSep,
                                  A(Id::UndoAction),
                                  A(Id::RedoAction),
                                  kSep,
                                  A(Id::SnapBeatAction)};

constexpr MenuEntry kPlayerBar[] = {A(Id::TopPlayAction),  A(Id::PlayAction),
                                    A(Id::PauseAction),    A(Id::StopAction),
                                    A(Id::ToTopPosAction), A(Id::ToEndPosAction)};

constexpr MenuEntry kStepPopup[] = {A(Id::CutStepAction),
                                    A(Id::CpyStepAction),
                                    A(Id::PstStepAction),
                                    kSep,
                                    A(Id::SelectAllAction),
                                    kSep,
                                    A(Id::AddStepAction),
                                    A(Id::AddBlkStepAction),
                                    A(Id::DelStepAction),
                                    A(Id::DelAllStepAction),
                                    kSep,
                                    A(Id::PropStepAction),
                                    A(Id::TimeStepAction),
                                    A(Id::MovToCsrPosAction),
                                    kSep,
                                    A(Id::CpyFrmTrkAction)};

constexpr MenuEntry kEmptySpacePopup[] = {A(Id::CutStepAction),   A(Id::CpyStepAction),
                                          A(Id::PstStepAction),   kSep,
                                          A(Id::SelectAllAction), kSep,
                                          A(Id::DelStepAction),   A(Id::DelAllStepAction),
                                          A(Id::CpyFrmTrkAction)};

constexpr MenuEntry kReferencePopup[] = {C(kAllLinesCommand),       kSep,
                                         C(kRefHideCommand),        kSep,
                                         A(Id::CutMltAction),       A(Id::CpyMltAction),
                                         A(Id::PstMltAction),       kSep,
                                         A(Id::SelectAllMltAction), kSep,
                                         A(Id::AlignMltAction),     A(Id::StretchMltAction),
                                         A(Id::StretchBrtAction)};

}  // namespace

// Captions are the menu texts of the program; the images are theme icon names the widgets look
// up (with a built-in fallback), so every button has one.
constexpr std::array<ActionInfo, kMainActionCount> kActionTable = {{
    Row(Id::NewPrjAction, LV_TEXT("Lumavox", "プロジェクトの新規作成(&N)"), "document-new", M::File,
        T::File),
    Row(Id::OpenPrjAction, LV_TEXT("Lumavox", "プロジェクトを開く(&O)..."), "document-open",
        M::File, T::File),
    Row(Id::SavePrjAction, LV_TEXT("Lumavox", "上書き保存(&S)"), "document-save", M::File, T::File),
    Row(Id::SaveAsPrjAction, LV_TEXT("Lumavox", "名前を付けて保存(&A)..."), "document-save-as",
        M::File, T::File),
    Row(Id::SetPrjAction, LV_TEXT("Lumavox", "プロジェクトの設定(&S)..."), "document-properties",
        M::Settings, T::None),
    Row(Id::ZoomInAction, LV_TEXT("Lumavox", "タイムスケール拡大(&I)"), "zoom-in", M::View,
        T::Edit),
    Row(Id::ZoomOutAction, LV_TEXT("Lumavox", "タイムスケール縮小(&O)"), "zoom-out", M::View,
        T::Edit),
    Row(Id::ZoomFitAction, LV_TEXT("Lumavox", "タイムスケールを画面幅に(&F)"), "zoom-fit-best",
        M::View, T::Edit),
    Row(Id::CutStepAction, LV_TEXT("Lumavox", "切り取り(&T)"), "edit-cut", M::Edit, T::File),
    Row(Id::CpyStepAction, LV_TEXT("Lumavox", "コピー(&C)"), "edit-copy", M::Edit, T::File),
    Row(Id::PstStepAction, LV_TEXT("Lumavox", "貼り付け(&P)"), "edit-paste", M::Edit, T::File),
    Row(Id::AddStepAction, LV_TEXT("Lumavox", "基点の追加(&A)..."), "list-add", M::Edit, T::Edit),
    Row(Id::AddBlkStepAction, LV_TEXT("Lumavox", "空基点追加(&B)"), "insert-object", M::Edit,
        T::Edit),
    Row(Id::DelStepAction, LV_TEXT("Lumavox", "基点の削除(&D)"), "list-remove", M::Edit, T::Edit),
    Row(Id::DelAllStepAction, LV_TEXT("Lumavox", "全ての基点を削除(&K)"), "edit-clear", M::Edit,
        T::None),
    Row(Id::SelectAllAction, LV_TEXT("Lumavox", "全て選択(&S)"), "edit-select-all", M::Edit,
        T::None),
    Row(Id::MovToCsrPosAction, LV_TEXT("Lumavox", "基点をカーソル位置へ移動(&M)"), "go-jump",
        M::Edit, T::None),
    Row(Id::PropStepAction, LV_TEXT("Lumavox", "基点の色指定(&C)..."), "color-select", M::Edit,
        T::Edit),
    Row(Id::TimeStepAction, LV_TEXT("Lumavox", "基点のタイム指定(&I)"), "appointment-new", M::Edit,
        T::None),
    Row(Id::CpyFrmTrkAction, LV_TEXT("Lumavox", "他ラインからコピー(&F) ..."), "edit-copy", M::Edit,
        T::None),
    Row(Id::UndoAction, LV_TEXT("Lumavox", "元に戻す(&U)"), "edit-undo", M::Edit, T::Edit),
    Row(Id::PrvTimAction, LV_TEXT("Lumavox", "0.1秒戻る"), "", M::None, T::None),
    Row(Id::NxtTimAction, LV_TEXT("Lumavox", "0.1秒進む"), "", M::None, T::None),
    Row(Id::PrvStpAction, LV_TEXT("Lumavox", "前の基点へ(&P)"), "go-previous", M::Edit, T::Edit),
    Row(Id::NxtStpAction, LV_TEXT("Lumavox", "次の基点へ(&N)"), "go-next", M::Edit, T::Edit),
    Row(Id::UpBrightAction, LV_TEXT("Lumavox", "明度を上げる"), "", M::None, T::None),
    Row(Id::DownBrightAction, LV_TEXT("Lumavox", "明度を下げる"), "", M::None, T::None),
    Row(Id::TopPlayAction, LV_TEXT("Lumavox", "先頭から再生"), "media-skip-backward", M::Play,
        T::Player),
    Row(Id::PlayAction, LV_TEXT("Lumavox", "再生"), "media-playback-start", M::Play, T::Player),
    Row(Id::PauseAction, LV_TEXT("Lumavox", "一旦停止"), "media-playback-pause", M::Play,
        T::Player),
    Row(Id::StopAction, LV_TEXT("Lumavox", "停止"), "media-playback-stop", M::Play, T::Player),
    Row(Id::ToTopPosAction, LV_TEXT("Lumavox", "サウンドの先頭へ"), "media-seek-backward", M::Play,
        T::Player),
    Row(Id::ToEndPosAction, LV_TEXT("Lumavox", "サウンドの最後へ"), "media-seek-forward", M::Play,
        T::Player),
    Row(Id::ViewFilToolAction, LV_TEXT("Lumavox", "標準バー(&F)"), "", M::ViewToolBars, T::None,
        true),
    Row(Id::ViewEditToolAction, LV_TEXT("Lumavox", "編集バー(&E)"), "", M::ViewToolBars, T::None,
        true),
    Row(Id::ViewPlayerAction, LV_TEXT("Lumavox", "プレーヤ(&P)"), "", M::ViewToolBars, T::None,
        true),
    Row(Id::ViewCurPalAction, LV_TEXT("Lumavox", "カラーパレット(&C)"), "", M::ViewToolBars,
        T::None, true),
    Row(Id::ViewSttBarAction, LV_TEXT("Lumavox", "ステータスバー(&S)"), "", M::View, T::None, true),
    Row(Id::ViewRefTrkAction, LV_TEXT("Lumavox", "参照ライン表示(&R)"), "", M::View, T::None, true),
    Row(Id::ViewColMonAction, LV_TEXT("Lumavox", "カラーモニタ"), "", M::View, T::None, true),
    Row(Id::DispMonoAction, LV_TEXT("Lumavox", "モノラル表示(&M)"), "", M::View, T::None, true),
    Row(Id::CutMltAction, LV_TEXT("Lumavox", "複数ラインの切り取り(&T)"), "edit-cut", M::None,
        T::None, false, true),
    Row(Id::CpyMltAction, LV_TEXT("Lumavox", "複数ラインのコピー(&C)"), "edit-copy", M::None,
        T::None, false, true),
    Row(Id::PstMltAction, LV_TEXT("Lumavox", "複数ラインの貼り付け(&P)"), "edit-paste", M::None,
        T::None, false, true),
    Row(Id::SelectAllMltAction, LV_TEXT("Lumavox", "全ライン全て選択(&M)"), "edit-select-all",
        M::None, T::None, false, true),
    Row(Id::AlignMltAction, LV_TEXT("Lumavox", "複数ライン位置揃え(&L)"), "format-justify-left",
        M::None, T::None, false, true),
    Row(Id::StretchMltAction, LV_TEXT("Lumavox", "複数ラインのタイム伸縮(&S)"), "", M::None,
        T::None, false, true),
    Row(Id::StretchBrtAction, LV_TEXT("Lumavox", "複数ラインの明暗伸縮(&B)"), "", M::None, T::None,
        false, true),
    Row(Id::SaveSelGrpAction, LV_TEXT("Lumavox", "選択基点をファイルに保存  "), "document-save",
        M::File, T::None),
    Row(Id::LoadGrpAction, LV_TEXT("Lumavox", "ファイルからカーソル位置に読込"), "document-open",
        M::File, T::None),
    Row(Id::SelectExAction, LV_TEXT("Lumavox", "拡張選択(&E)"), "edit-find", M::Edit, T::None),
    Row(Id::ExportFseqAction, LV_TEXT("Lumavox", "FSEQ形式でエクスポート(&E)..."),
        "document-export", M::File, T::None),
    Row(Id::ViewBeatLaneAction, LV_TEXT("Lumavox", "ビートレーン(&B)"), "", M::View, T::None, true),
    Row(Id::SnapBeatAction, LV_TEXT("Lumavox", "ビートにスナップ(&H)"), "view-grid", M::Edit,
        T::Edit, true),
    Row(Id::AddBeatStepsAction, LV_TEXT("Lumavox", "選択範囲のビートに基点を追加(&Y)"), "", M::Edit,
        T::None),
    Row(Id::SelectBeatStepsAction, LV_TEXT("Lumavox", "ビートに最も近い基点を選択(&R)"), "",
        M::Edit, T::None),
    Row(Id::RedoAction, LV_TEXT("Lumavox", "やり直し(&R)"), "edit-redo", M::Edit, T::Edit),
    Row(Id::ReplaceSoundAction, LV_TEXT("Lumavox", "サウンドの差し替え(&R)..."), "document-revert",
        M::Settings, T::None),
}};

static_assert(InIdOrder(kActionTable), "kActionTable rows follow the order of ActionId");

constexpr ActionInfo kCurBrt0Action = Row(Id::CurBrt0Action, "0", "", M::None, T::None);

const ActionInfo& ActionInfoOf(ActionId id) {
    return id == Id::CurBrt0Action ? kCurBrt0Action : kActionTable[IndexOf(id)];
}

int ActionIndex(std::string_view name) {
    const std::optional<ActionId> id = ActionIdFromName(name);
    return id && *id != Id::CurBrt0Action ? static_cast<int>(IndexOf(*id)) : -1;
}

const ActionInfo* FindAction(std::string_view name) {
    const std::optional<ActionId> id = ActionIdFromName(name);
    return id ? &ActionInfoOf(*id) : nullptr;
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
        {UiTextSource(UiText::FileToolBar), "Tool1", Id::ViewFilToolAction, kFileBar},
        {UiTextSource(UiText::EditToolBar), "Tool2", Id::ViewEditToolAction, kEditBar},
        {UiTextSource(UiText::PlayerToolBar), "Tool3", Id::ViewPlayerAction, kPlayerBar},
        {UiTextSource(UiText::PaletteToolBar), "Tool4", Id::ViewCurPalAction, {}},
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
