#include "model/UsrFunc.h"

#include <gtest/gtest.h>

#include <climits>

#include "model/Msgstr.h"

namespace lumavox {
namespace {

TEST(TimeTexts, SecondsAndMillisFormats) {
    EXPECT_EQ(SecondsText(0), "00");
    EXPECT_EQ(SecondsText(5), "05");
    EXPECT_EQ(SecondsText(65), " 1:05");
    EXPECT_EQ(SecondsText(-65), "- 1:05");
    EXPECT_EQ(SecondsText(3600), " 1:00:00");
    EXPECT_EQ(SecondsText(3725), " 1:02:05");
    EXPECT_EQ(MillisText(3723450), "01:02:03.45");
    EXPECT_EQ(MillisText(-1500), "-00:00:01.50");
    EXPECT_EQ(MillisText(359999999), "99:59:59.99");
    EXPECT_EQ(MillisText(360000000), "100:00:00.00");
    EXPECT_EQ(MillisText(INT32_MIN), "-596:31:23.64");
}

TEST(PaletteColours, HueRampAndGreyBlend) {
    EXPECT_EQ(HueRamp(0.0), 0x0000FF);
    EXPECT_EQ(HueRamp(0.5), 0x7FFF00);
    EXPECT_EQ(HueRamp(1.0), 0xFF00FF);
    EXPECT_EQ(HueRamp(-3.0), 0x0000FF);   // held to the ramp's ends, never undefined
    EXPECT_EQ(HueRamp(1e300), 0x0000FF);  // end of segment 5
    EXPECT_EQ(GreyBlend(0x0000FF, 0.0), 0x0000FF);
    EXPECT_EQ(GreyBlend(0x0000FF, 1.0), 0x808080);
    EXPECT_EQ(GreyBlend(0x0000FF, 2.0), 0x808080);
    EXPECT_EQ(GreyBlend(0x0000FF, -1.0), 0x0000FF);
    EXPECT_EQ(GreyBlend(0x000000, 0.5), 0x404040);
}

TEST(TextHelpers, ReplaceAllNeverRescansAndFindNoCaseIsOneBased) {
    EXPECT_EQ(ReplaceAll("aaa", "a", "aa"), "aaaaaa");
    EXPECT_EQ(ReplaceAll("", "a", "b"), "");
    EXPECT_EQ(ReplaceAll("abc", "", "x"), "abc");
    EXPECT_EQ(ReplaceAll("Ctrl+Ctrl", "Ctrl", "C"), "C+C");
    EXPECT_EQ(FindNoCase(".MP3", "song.mp3"), 5);
    EXPECT_EQ(FindNoCase(".wav", "曲.WAV"), 4);
    EXPECT_EQ(FindNoCase("", "x"), 0);
    EXPECT_EQ(FindNoCase("abc", "ab"), 0);
    EXPECT_EQ(FindNoCase("b", "aBab"), 2);
}

TEST(MessageCatalogue, LooksUpBySymbol) {
    const MsgEntry* e = FindMsg("_U_AudioDeviceNG");
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->Number, 65499);
    EXPECT_EQ(e->Text, "オーディオ出力デバイスが無効です");
    EXPECT_EQ(MsgText(Msg::Warning), "警告");
    EXPECT_EQ(FindMsg("_U_Nothing"), nullptr);
    int count = 0;
    const MsgEntry* table = MsgTable(&count);
    ASSERT_EQ(count, 38);
    for (int i = 1; i < count; ++i) EXPECT_LT(table[i - 1].Number, table[i].Number);
}

}  // namespace
}  // namespace lumavox
