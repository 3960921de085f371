#pragma once

#include "settings/ShortCut.h"

namespace lumavox {

// The shortcuts the main window actually assigns: each key goes only to the first action in list
// order that has it, later holders get none. (A key given to two actions would fire neither in Qt;
// the user's configured list stays untouched and is what the settings store.) Pure, any thread.
MainShortCuts EffectiveShortCuts(const MainShortCuts& configured);

}  // namespace lumavox
