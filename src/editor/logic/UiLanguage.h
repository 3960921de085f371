#pragma once

#include <string_view>

namespace lumavox {

// The language of the editor's texts. Japanese is the language the texts are written in.
enum class UiLanguage { Japanese, English };

// Values of [General] Language; anything else, and no value, counts as automatic.
inline constexpr std::string_view kLanguageAuto = "auto";
inline constexpr std::string_view kLanguageJapanese = "ja";
inline constexpr std::string_view kLanguageEnglish = "en";

// The language for a [General] Language value and the locale variables (null when unset).
// Automatic takes the first non-empty one of LC_ALL, LC_MESSAGES and LANG, as the C library
// does: a "ja" locale ("ja", "ja_JP.UTF-8", "ja.eucJP") gives Japanese, every other one (C and
// POSIX included) and none at all English.
UiLanguage ChooseUiLanguage(std::string_view setting, const char* lcAll, const char* lcMessages,
                            const char* lang);

}  // namespace lumavox
