#include "settings/ShortCut.h"

#include <gtest/gtest.h>

#include "settings/UsrIniFile.h"

namespace lumavox {
namespace {

size_t ActionIndex(std::string_view name) {
    for (size_t i = 0; i < kMainActionCount; ++i) {
        if (kMainActions[i].Name == name) return i;
    }
    ADD_FAILURE() << name;
    return 0;
}

TEST(ShortCut, TextsPutModifiersInFixedOrderAndConvertBothWays) {
    EXPECT_EQ(TextToShortCut("Ctrl+Left"), 16421);
    EXPECT_EQ(ShortCutToText(16421), "Ctrl+Left");
    EXPECT_EQ(ShortCutToText(kShiftBit | kCtrlBit | kAltBit | 0x74), "Shift+Ctrl+Alt+F5");
    EXPECT_EQ(TextToShortCut("alt+ctrl+SHIFT+f5"), kShiftBit | kCtrlBit | kAltBit | 0x74);
    EXPECT_EQ(TextToShortCut("Num 3"), 0x63);
    EXPECT_EQ(TextToShortCut("F24"), 0x87);
    // Every name the shortcut editor offers survives the round trip with every modifier set.
    for (std::string_view name : kShortCutKeyNames) {
        for (int mods : {0, 0x2000, 0x4000, 0x8000, 0xE000}) {
            const std::string full = std::string(mods & kShiftBit ? "Shift+" : "") +
                                     (mods & kCtrlBit ? "Ctrl+" : "") +
                                     (mods & kAltBit ? "Alt+" : "") + std::string(name);
            const ShortCut code = TextToShortCut(full);
            ASSERT_NE(code, 0) << full;
            EXPECT_EQ(ShortCutToText(code), full);
        }
    }
}

TEST(ShortCut, TextNamingNoKeyIsNoShortCut) {
    for (const char* text :
         {"", "Ctrl+", "Shift+Ctrl+", "Ctrl+Nothing", "Left+Ctrl", "Ctrl+ X", "Ctrl+XX", "+"}) {
        EXPECT_EQ(TextToShortCut(text), 0) << text;
    }
    EXPECT_EQ(ShortCutToText(0), "");
    EXPECT_EQ(ShortCutToText(kCtrlBit | 0xFF), "");  // a code without a name
}

TEST(ShortCut, StoredValuesOverrideBuiltInsAndClearedOnesComeBack) {
    UsrIniFile ini("");
    ini.LoadText(
        "[ShortCut]\nPrvTimActionItem=\nNxtTimActionItem=Shift+Ctrl+F5\nUpBrightActionItem=Bogus\n"
        "CutStepActionItem=\nCpyStepActionItem=Ctrl+K\nPlayActionItem=space\n");
    const MainShortCuts loaded = LoadShortCuts(ini);
    EXPECT_EQ(ShortCutToText(loaded[ActionIndex("PrvTimAction")]), "Left");
    EXPECT_EQ(ShortCutToText(loaded[ActionIndex("NxtTimAction")]), "Shift+Ctrl+F5");
    EXPECT_EQ(loaded[ActionIndex("UpBrightAction")], 0);  // names no key: no shortcut
    EXPECT_EQ(ShortCutToText(loaded[ActionIndex("CutStepAction")]), "Ctrl+X");
    EXPECT_EQ(ShortCutToText(loaded[ActionIndex("CpyStepAction")]), "Ctrl+K");
    EXPECT_EQ(ShortCutToText(loaded[ActionIndex("PstStepAction")]), "Ctrl+V");
    EXPECT_EQ(ShortCutToText(loaded[ActionIndex("PlayAction")]), "Space");
    EXPECT_EQ(ShortCutToText(loaded[ActionIndex("PrvStpAction")]), "Ctrl+Left");

    // The user clears PrvTim and Cut: both are stored empty and come back at the next start.
    MainShortCuts edited = loaded;
    edited[ActionIndex("PrvTimAction")] = 0;
    edited[ActionIndex("CutStepAction")] = 0;
    SaveShortCuts(ini, edited);
    EXPECT_EQ(ini.ReadString("ShortCut", "PrvTimActionItem", "none"), "none");
    EXPECT_EQ(ini.ReadString("ShortCut", "UpBrightActionItem", "none"), "none");
    const MainShortCuts again = LoadShortCuts(ini);
    EXPECT_EQ(ShortCutToText(again[ActionIndex("PrvTimAction")]), "Left");
    EXPECT_EQ(ShortCutToText(again[ActionIndex("CutStepAction")]), "Ctrl+X");
    // Text that named no key is stored as empty, so the built-in shortcut returns after a restart.
    EXPECT_EQ(again[ActionIndex("UpBrightAction")], TextToShortCut("Up"));
}

// Redo is Ctrl+Y out of the box; its key is written like every other action's and a changed
// value comes back.
TEST(ShortCut, RedoIsCtrlYAndItsKeyRoundTrips) {
    UsrIniFile ini("");
    MainShortCuts shortCuts = LoadShortCuts(ini);
    SaveShortCuts(ini, shortCuts);
    EXPECT_EQ(ini.ReadString("ShortCut", "RedoActionItem", ""), "Ctrl+Y");
    shortCuts[ActionIndex("RedoAction")] = TextToShortCut("Ctrl+R");
    SaveShortCuts(ini, shortCuts);
    SaveShortCuts(ini, LoadShortCuts(ini));
    EXPECT_EQ(ini.ReadString("ShortCut", "RedoActionItem", ""), "Ctrl+R");
}

}  // namespace
}  // namespace lumavox
