#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "editor/logic/UiText.h"
#include "model/Msgstr.h"
#include "model/Translation.h"

namespace lumavox {

// UTF-8 texts of the core and the text tables as Qt strings, and back.
inline QString QtText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
inline QString QtText(UiText id) {
    return QtText(UiTextOf(id));
}
inline QString QtText(Msg id) {
    return QtText(MsgText(id));
}
inline std::string StdText(const QString& text) {
    return text.toStdString();
}
// A fixed text of the tables (a caption, a dialog label) in the chosen language. Data (paths,
// titles) goes through QtText instead, so that it is never looked up as a text.
inline QString Tr(std::string_view source) {
    return QtText(Translated(source));
}
// The same, under the short name the edit commands use.
inline QString Qs(std::string_view text) {
    return QtText(text);
}

}  // namespace lumavox
