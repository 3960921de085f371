#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace lumavox {

// UTF-8 texts of the Qt-free layer as QStrings.
inline QString Qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace lumavox
