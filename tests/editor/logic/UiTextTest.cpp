#include "editor/logic/UiText.h"

#include <gtest/gtest.h>

namespace lumavox {
namespace {

TEST(UiText, WindowCaptionPrefersTitleThenFileThenFallback) {
    EXPECT_EQ(WindowCaptionText("Show", "/a/b.PRJ", UntitledCaption()), "Lumavox  - Show");
    EXPECT_EQ(WindowCaptionText("", "/a/b.PRJ", UntitledCaption()), "Lumavox  - /a/b.PRJ");
    EXPECT_EQ(WindowCaptionText("", "", UntitledCaption()), "Lumavox  - <無題>");
    EXPECT_EQ(WindowCaptionText("", "", ""), "Lumavox  - ");
}

TEST(UiText, SaveQuestionNamesTheFileOrUntitled) {
    EXPECT_EQ(AskSaveText(""), "[無題] 変更内容を保存しますか");
    EXPECT_EQ(AskSaveText("/home/u/show.PRJ"), "[/home/u/show.PRJ] 変更内容を保存しますか");
}

TEST(UiText, RecentEntriesCarryKeysOneToNineThenZeroThenNone) {
    EXPECT_EQ(RecentEntryCaption(0, "/a.PRJ"), "&1: /a.PRJ");
    EXPECT_EQ(RecentEntryCaption(8, "/a.PRJ"), "&9: /a.PRJ");
    EXPECT_EQ(RecentEntryCaption(9, "/a.PRJ"), "&0: /a.PRJ");
    EXPECT_EQ(RecentEntryCaption(10, "/a.PRJ"), "   /a.PRJ");
    EXPECT_EQ(RecentEntryCaption(19, "/R&B/x.PRJ"), "   /R&&B/x.PRJ");
    EXPECT_EQ(RecentEntryCaption(2, "/R&B/x.PRJ"), "&3: /R&&B/x.PRJ");
}

TEST(UiText, SmallTexts) {
    EXPECT_EQ(UiTextOf(UiText::ArtNetInitError), "ArtNet初期化エラー");
    EXPECT_EQ(UiTextOf(UiText::AutoBackup), "Auto Backup...");
    EXPECT_EQ(LineTabText(0), "Line 1");
    EXPECT_EQ(LineLabelText(7), "Line8");
    EXPECT_EQ(SelectionCountText(12), "選択中=12");
    EXPECT_EQ(ProjectFileFilter(), "プロジェクトファイル (*.prj *.PRJ)");
}

}  // namespace
}  // namespace lumavox
