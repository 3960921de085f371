#include "model/Translation.h"

#include <atomic>

namespace lumavox {

namespace {
// Written once before other threads start; relaxed is enough for those that start after it.
std::atomic<TextTranslator> g_translator{nullptr};
}  // namespace

void SetTextTranslator(TextTranslator translator) {
    g_translator.store(translator, std::memory_order_relaxed);
}

std::string_view Translated(std::string_view source) {
    const TextTranslator translator = g_translator.load(std::memory_order_relaxed);
    return translator == nullptr ? source : translator(source);
}

std::string TranslatedWith(std::string_view source, std::string_view argument) {
    std::string text(Translated(source));
    if (const size_t at = text.find("%1"); at != std::string::npos) {
        text.replace(at, 2, argument);
    }
    return text;
}

}  // namespace lumavox
