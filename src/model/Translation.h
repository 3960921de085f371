#pragma once

#include <string>
#include <string_view>

// Marks a fixed text for the translation tools (lupdate reads it as QT_TRANSLATE_NOOP). The
// program's texts are written in Japanese, and the marked literal stays the text's one source;
// Translated() gives it in the language chosen at start-up.
#define LV_TEXT(context, text) text

namespace lumavox {

// Every marked text belongs to this one translation context.
inline constexpr const char* kTextContext = "Lumavox";

// Maps a marked source text to the chosen language; returns the source itself when it has no
// translation. The returned view stays valid for the rest of the process.
using TextTranslator = std::string_view (*)(std::string_view source);

// Installed once by the editor at start-up, before the first window and before any other thread
// reads a text. Without a translator (the core, the command-line tool, the tests) every text
// stays as written.
void SetTextTranslator(TextTranslator translator);

// The text in the chosen language. Any thread.
std::string_view Translated(std::string_view source);
// The same, with "%1" in it replaced by argument (a path, a name).
std::string TranslatedWith(std::string_view source, std::string_view argument);

}  // namespace lumavox
