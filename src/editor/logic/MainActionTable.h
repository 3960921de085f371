#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "settings/ShortCut.h"

namespace lumavox {

// The captions of the main window's actions, in the order of kMainActions (the shortcut table),
// so that menus, tool bars, the options dialog and the [ShortCut] keys cannot drift apart.
struct MainActionText {
    std::string_view Name;     // kMainActions[i].Name
    std::string_view Caption;  // menu text, "&" marks the access key
};

extern const std::array<MainActionText, kMainActionCount> kMainActionTexts;

// Index of the named action in kMainActions; kMainActionCount when there is none.
size_t MainActionIndex(std::string_view name);

}  // namespace lumavox
