#include "editor/logic/UiLanguage.h"

namespace lumavox {

namespace {

bool IsJapaneseLocale(std::string_view locale) {
    if (!locale.starts_with("ja")) return false;
    // "ja" alone or followed by the territory, codeset or modifier: not "jav" (Javanese).
    return locale.size() == 2 || locale[2] == '_' || locale[2] == '.' || locale[2] == '@';
}

}  // namespace

UiLanguage ChooseUiLanguage(std::string_view setting, const char* lcAll, const char* lcMessages,
                            const char* lang) {
    if (setting == kLanguageJapanese) return UiLanguage::Japanese;
    if (setting == kLanguageEnglish) return UiLanguage::English;
    for (const char* value : {lcAll, lcMessages, lang}) {
        if (value != nullptr && *value != '\0') {
            return IsJapaneseLocale(value) ? UiLanguage::Japanese : UiLanguage::English;
        }
    }
    return UiLanguage::English;
}

}  // namespace lumavox
