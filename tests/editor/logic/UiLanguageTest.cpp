#include "editor/logic/UiLanguage.h"

#include <gtest/gtest.h>

namespace lumavox {
namespace {

TEST(UiLanguage, SettingWinsOverTheLocale) {
    EXPECT_EQ(ChooseUiLanguage("ja", nullptr, nullptr, "en_US.UTF-8"), UiLanguage::Japanese);
    EXPECT_EQ(ChooseUiLanguage("en", "ja_JP.UTF-8", nullptr, nullptr), UiLanguage::English);
}

TEST(UiLanguage, AutomaticTakesTheFirstSetLocaleVariable) {
    for (std::string_view setting : {"", "auto", "fr", "JA"}) {
        EXPECT_EQ(ChooseUiLanguage(setting, "ja_JP.UTF-8", "C", "C"), UiLanguage::Japanese);
        EXPECT_EQ(ChooseUiLanguage(setting, "C.UTF-8", "ja_JP.UTF-8", "ja_JP.UTF-8"),
                  UiLanguage::English);
        // An empty variable counts as unset.
        EXPECT_EQ(ChooseUiLanguage(setting, "", "ja_JP.eucJP", "en_GB.UTF-8"),
                  UiLanguage::Japanese);
        EXPECT_EQ(ChooseUiLanguage(setting, nullptr, nullptr, "ja"), UiLanguage::Japanese);
    }
}

TEST(UiLanguage, OnlyAJapaneseLocaleGivesJapanese) {
    for (const char* locale : {"ja", "ja_JP", "ja_JP.UTF-8", "ja.UTF-8", "ja_JP@cjknarrow"}) {
        EXPECT_EQ(ChooseUiLanguage("auto", nullptr, nullptr, locale), UiLanguage::Japanese)
            << locale;
    }
    for (const char* locale : {"C", "POSIX", "C.UTF-8", "en_US.UTF-8", "jv_ID", "jav", "j", ""}) {
        EXPECT_EQ(ChooseUiLanguage("auto", nullptr, nullptr, locale), UiLanguage::English)
            << locale;
    }
    EXPECT_EQ(ChooseUiLanguage("auto", nullptr, nullptr, nullptr), UiLanguage::English);
}

}  // namespace
}  // namespace lumavox
