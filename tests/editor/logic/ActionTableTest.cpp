#include "editor/logic/ActionTable.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "editor/logic/UiText.h"

namespace lumavox {
namespace {

TEST(ActionTable, RowsFollowTheShortCutKeysAndCaptionsAreDistinct) {
    std::set<std::string_view> captions;
    for (size_t i = 0; i < kMainActionCount; ++i) {
        EXPECT_EQ(kActionTable[i].Name, kMainActions[i].Name) << i;
        EXPECT_FALSE(kActionTable[i].Caption.empty()) << kActionTable[i].Name;
        captions.insert(kActionTable[i].Caption);
        EXPECT_EQ(ActionIndex(kActionTable[i].Name), static_cast<int>(i));
    }
    EXPECT_EQ(captions.size(), kMainActionCount);
    EXPECT_EQ(ActionIndex("CurBrt0Action"), -1);  // second list: no shortcut key
    ASSERT_NE(FindAction("CurBrt0Action"), nullptr);
    EXPECT_EQ(FindAction("CurBrt0Action")->Caption, "0");
    EXPECT_EQ(FindAction("NoSuchAction"), nullptr);
}

TEST(ActionTable, CaptionsKeepTheirBlanksAndDots) {
    EXPECT_EQ(FindAction("SaveSelGrpAction")->Caption, "選択基点をファイルに保存  ");
    EXPECT_EQ(FindAction("CpyFrmTrkAction")->Caption, "他ラインからコピー(&F) ...");
    EXPECT_EQ(CaptionWithoutAccessKeys(FindAction("SetPrjAction")->Caption),
              "プロジェクトの設定(S)...");
    EXPECT_EQ(CaptionWithoutAccessKeys(FindAction("NewPrjAction")->Caption),
              "プロジェクトの新規作成(N)");
}

TEST(ActionTable, ViewActionsAreTheCheckableOnesAndMultiActionsSitInTheReferencePopup) {
    std::set<std::string_view> multi;
    for (const MenuEntry& entry : ReferencePopupMenu()) {
        if (entry.Kind == MenuEntryKind::Action) multi.insert(entry.Name);
    }
    for (const ActionInfo& action : kActionTable) {
        const bool view = action.Name.starts_with("View") || action.Name == "DispMonoAction";
        // Snapping is the one checkable command that is not a view.
        EXPECT_EQ(action.Checkable, view || action.Id == ActionId::SnapBeatAction) << action.Name;
        EXPECT_EQ(action.MultiOnly, multi.contains(action.Name)) << action.Name;
    }
    EXPECT_EQ(multi.size(), 7u);
}

// Every action a menu or a bar names exists, and the placement columns agree with the layouts.
TEST(ActionTable, MenusAndBarsNameKnownActionsAndAgreeWithThePlacement) {
    const ActionMenu menuOf[] = {ActionMenu::File, ActionMenu::Edit,     ActionMenu::Play,
                                 ActionMenu::View, ActionMenu::Settings, ActionMenu::None};
    ASSERT_EQ(MainMenus().size(), 6u);
    std::set<std::string_view> inMenus;
    for (size_t m = 0; m < MainMenus().size(); ++m) {
        EXPECT_EQ(MainMenus()[m].HelpContext, static_cast<int>(5 + m));
        for (const MenuEntry& entry : MainMenus()[m].Entries) {
            if (entry.Kind == MenuEntryKind::Action) {
                const ActionInfo* action = FindAction(entry.Name);
                ASSERT_NE(action, nullptr) << entry.Name;
                EXPECT_EQ(action->Menu, menuOf[m]) << entry.Name;
                inMenus.insert(entry.Name);
            } else if (entry.Kind != MenuEntryKind::Separator) {
                EXPECT_FALSE(CommandCaption(entry.Name).empty()) << entry.Name;
            }
        }
    }
    for (const MenuEntry& entry : ToolBarsSubmenu()) {
        EXPECT_EQ(FindAction(entry.Name)->Menu, ActionMenu::ViewToolBars);
        inMenus.insert(entry.Name);
    }
    for (const ActionInfo& action : kActionTable) {
        EXPECT_EQ(inMenus.contains(action.Name), action.Menu != ActionMenu::None) << action.Name;
    }

    const ActionToolBar barOf[] = {ActionToolBar::File, ActionToolBar::Edit, ActionToolBar::Player,
                                   ActionToolBar::None};
    ASSERT_EQ(ToolBars().size(), 4u);
    size_t buttons = 0;
    for (size_t b = 0; b < ToolBars().size(); ++b) {
        EXPECT_EQ(ToolBars()[b].Section, "Tool" + std::to_string(b + 1));
        EXPECT_TRUE(ActionInfoOf(ToolBars()[b].ViewAction).Checkable);
        for (const MenuEntry& entry : ToolBars()[b].Entries) {
            if (entry.Kind != MenuEntryKind::Action) continue;
            ++buttons;
            EXPECT_EQ(FindAction(entry.Name)->ToolBar, barOf[b]) << entry.Name;
            EXPECT_FALSE(FindAction(entry.Name)->ImageId.empty()) << entry.Name;
        }
    }
    size_t placed = 0;
    for (const ActionInfo& action : kActionTable) placed += action.ToolBar != ActionToolBar::None;
    EXPECT_EQ(buttons, placed);
}

}  // namespace
}  // namespace lumavox
