#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "settings/ActionId.h"

namespace lumavox {

class UsrIniFile;

// A keyboard shortcut as a number: the key's virtual-key code (Windows numbering, as stored in
// settings files) plus these modifier bits; 0 is no shortcut. "Ctrl+Left" is 0x4025 = 16421.
using ShortCut = uint16_t;
inline constexpr ShortCut kShiftBit = 0x2000;
inline constexpr ShortCut kCtrlBit = 0x4000;
inline constexpr ShortCut kAltBit = 0x8000;
inline constexpr ShortCut kKeyMask = 0x00FF;

// The key names the shortcut editor offers, in its order (53 names).
extern const std::array<std::string_view, 53> kShortCutKeyNames;

// The key name of a virtual-key code ("A", "F5", "PgUp", "Num 3"...); empty for a code without one.
std::string KeyName(uint16_t keyCode);
// The shortcut text: "Shift+", "Ctrl+", "Alt+" (those present, in this order) and the key name;
// empty for 0 or for a key without a name.
std::string ShortCutToText(ShortCut shortCut);
// The reverse. Modifier prefixes in any order and the key name match without regard to case;
// text that names no key (empty, unknown, or modifiers alone) gives 0.
ShortCut TextToShortCut(std::string_view text);

// One action of the main window whose shortcut the user may change, with the built-in shortcut.
struct ActionShortCut {
    std::string_view Name;  // the settings key is Name + "Item"
    ShortCut BuiltIn;
};
// Indexed by IndexOf(ActionId).
extern const std::array<ActionShortCut, kMainActionCount> kMainActions;
using MainShortCuts = std::array<ShortCut, kMainActionCount>;
// Redo answers this key too, unless another action has it.
inline constexpr ShortCut kRedoSecondShortCut = kCtrlBit | kShiftBit | 'Z';

// Section [ShortCut]: a stored non-empty value replaces the built-in shortcut (a value naming no
// key gives none); empty or missing keeps the built-in one. Cut, copy and paste that end up with
// none get Ctrl+X, Ctrl+C and Ctrl+V. UI thread only, like the store.
MainShortCuts LoadShortCuts(const UsrIniFile& ini);
// Writes every action's shortcut text, empty for none.
void SaveShortCuts(UsrIniFile& ini, const MainShortCuts& shortCuts);

}  // namespace lumavox
