#include "model/StoredText.h"

#include <gtest/gtest.h>

#include <string>

namespace lumavox {
namespace {

TEST(StoredText, JapaneseTextIsStoredInCp932AndReadBack) {
    const std::string title = "照明ショー";
    const auto stored = EncodeStoredText(title);
    ASSERT_TRUE(stored);
    EXPECT_EQ(*stored, "\x8F\xC6\x96\xBE\x83\x56\x83\x87\x81\x5B");
    EXPECT_EQ(DecodeStoredText(*stored), title);
}

TEST(StoredText, WindowsPathKeepsItsBackslashes) {
    // 0x5C inside and after a double-byte character ("ソ" is 0x83 0x5C) must stay a backslash.
    const std::string path = "C:\\ソフト\\sound\\a.wav";
    const auto stored = EncodeStoredText(path);
    ASSERT_TRUE(stored);
    EXPECT_EQ(*stored, "C:\\\x83\x5C\x83\x74\x83\x67\\sound\\a.wav");
    EXPECT_EQ(DecodeStoredText(*stored), path);
    EXPECT_EQ(DecodeStoredText("sound\\a.wav"), "sound\\a.wav");
}

TEST(StoredText, TextsCp932CannotCarryExactlyAreStoredAsUtf8) {
    // é has no CP932 form; the yen sign and the wave dash convert one way only; the half-width
    // katakana "ﾃｩ" are the bytes 0xC3 0xA9 in CP932, which would read back as "é".
    for (const std::string text : {"/home/rené/musique/été.wav", "¥100", "〜", "ﾃｩ"}) {
        const auto stored = EncodeStoredText(text);
        ASSERT_TRUE(stored) << text;
        EXPECT_EQ(*stored, text);
        EXPECT_EQ(DecodeStoredText(*stored), text);
    }
    EXPECT_FALSE(Utf8ToCp932("é"));
    EXPECT_FALSE(Utf8ToCp932("¥"));
}

TEST(StoredText, RefusesWhatAFieldCannotHold) {
    EXPECT_FALSE(EncodeStoredText(std::string("a\0b", 3)));
    EXPECT_FALSE(EncodeStoredText("\xC3"));          // cut-off sequence
    EXPECT_FALSE(EncodeStoredText("\xC0\xAF"));      // overlong '/'
    EXPECT_FALSE(EncodeStoredText("\xED\xA0\x80"));  // surrogate
    EXPECT_FALSE(EncodeStoredText("\xF4\x90\x80\x80"));
    EXPECT_TRUE(EncodeStoredText("\xF0\x9F\x8E\xB5"));  // U+1F3B5 is stored as UTF-8
}

TEST(StoredText, UndecodableBytesBecomeReplacementCharacters) {
    // 0xA0 is undefined in CP932; 0x81 at the end lacks its trail byte.
    EXPECT_EQ(DecodeStoredText("a\xA0"
                               "b\x81"),
              "a\xEF\xBF\xBD"
              "b\xEF\xBF\xBD");
    EXPECT_EQ(DecodeStoredText("\x82\xA0\xFF\x82\xA2"), "あ\xEF\xBF\xBDい");
}

}  // namespace
}  // namespace lumavox
