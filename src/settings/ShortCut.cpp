#include "settings/ShortCut.h"

#include "settings/UsrIniFile.h"

namespace lumavox {

namespace {

struct NamedKey {
    uint16_t Code;
    std::string_view Name;
};

constexpr NamedKey kNamedKeys[] = {
    {0x08, "BkSp"},  {0x09, "Tab"},   {0x0D, "Enter"}, {0x1B, "Esc"},     {0x20, "Space"},
    {0x21, "PgUp"},  {0x22, "PgDn"},  {0x23, "End"},   {0x24, "Home"},    {0x25, "Left"},
    {0x26, "Up"},    {0x27, "Right"}, {0x28, "Down"},  {0x2D, "Ins"},     {0x2E, "Del"},
    {0x6A, "Num *"}, {0x6B, "Num +"}, {0x6D, "Num -"}, {0x6E, "Num Del"}, {0x6F, "Num /"},
};

constexpr ShortCut kLeft = 0x25;
constexpr ShortCut kUp = 0x26;
constexpr ShortCut kRight = 0x27;
constexpr ShortCut kDown = 0x28;

// Removes prefix from the front of text when it is there (ASCII case ignored).
bool TakePrefix(std::string_view& text, std::string_view prefix) {
    if (text.size() < prefix.size() || !EqualsNoCase(text.substr(0, prefix.size()), prefix)) {
        return false;
    }
    text.remove_prefix(prefix.size());
    return true;
}

}  // namespace

const std::array<std::string_view, 53> kShortCutKeyNames = {
    "A",   "B",    "C",   "D",     "E",    "F",   "G",   "H",     "I",     "J",    "K",
    "L",   "M",    "N",   "O",     "P",    "Q",   "R",   "S",     "T",     "U",    "V",
    "W",   "X",    "Y",   "Z",     "F1",   "F2",  "F3",  "F4",    "F5",    "F6",   "F7",
    "F8",  "F9",   "F10", "F11",   "F12",  "Del", "Ins", "BkSp",  "PgUp",  "PgDn", "Home",
    "End", "Left", "Up",  "Right", "Down", "Tab", "Esc", "Enter", "Space",
};

const std::array<ActionShortCut, kMainActionCount> kMainActions = {{
    {"NewPrjAction", 0},
    {"OpenPrjAction", 0},
    {"SavePrjAction", 0},
    {"SaveAsPrjAction", 0},
    {"SetPrjAction", 0},
    {"ZoomInAction", 0},
    {"ZoomOutAction", 0},
    {"ZoomFitAction", 0},
    {"CutStepAction", 0},
    {"CpyStepAction", 0},
    {"PstStepAction", 0},
    {"AddStepAction", 0},
    {"AddBlkStepAction", 0},
    {"DelStepAction", 0},
    {"DelAllStepAction", 0},
    {"SelectAllAction", 0},
    {"MovToCsrPosAction", 0},
    {"PropStepAction", 0},
    {"TimeStepAction", 0},
    {"CpyFrmTrkAction", 0},
    {"UndoAction", 0},
    {"PrvTimAction", kLeft},
    {"NxtTimAction", kRight},
    {"PrvStpAction", kCtrlBit | kLeft},
    {"NxtStpAction", kCtrlBit | kRight},
    {"UpBrightAction", kUp},
    {"DownBrightAction", kDown},
    {"TopPlayAction", 0},
    {"PlayAction", 0},
    {"PauseAction", 0},
    {"StopAction", 0},
    {"ToTopPosAction", 0},
    {"ToEndPosAction", 0},
    {"ViewFilToolAction", 0},
    {"ViewEditToolAction", 0},
    {"ViewPlayerAction", 0},
    {"ViewCurPalAction", 0},
    {"ViewSttBarAction", 0},
    {"ViewRefTrkAction", 0},
    {"ViewColMonAction", 0},
    {"DispMonoAction", 0},
    {"CutMltAction", 0},
    {"CpyMltAction", 0},
    {"PstMltAction", 0},
    {"SelectAllMltAction", 0},
    {"AlignMltAction", 0},
    {"StretchMltAction", 0},
    {"StretchBrtAction", 0},
    {"SaveSelGrpAction", 0},
    {"LoadGrpAction", 0},
    {"SelectExAction", 0},
    {"ReplaceSoundAction", 0},
}};

std::string KeyName(uint16_t keyCode) {
    if ((keyCode >= '0' && keyCode <= '9') || (keyCode >= 'A' && keyCode <= 'Z')) {
        return std::string(1, static_cast<char>(keyCode));
    }
    if (keyCode >= 0x60 && keyCode <= 0x69) {
        return std::string("Num ") + static_cast<char>('0' + (keyCode - 0x60));
    }
    if (keyCode >= 0x70 && keyCode <= 0x87) {
        const int number = keyCode - 0x70 + 1;
        std::string name(1, 'F');
        if (number >= 10) name.push_back(static_cast<char>('0' + number / 10));
        name.push_back(static_cast<char>('0' + number % 10));
        return name;
    }
    for (const NamedKey& key : kNamedKeys) {
        if (key.Code == keyCode) return std::string(key.Name);
    }
    return {};
}

std::string ShortCutToText(ShortCut shortCut) {
    const std::string name = KeyName(shortCut & kKeyMask);
    if (name.empty()) return {};
    std::string text;
    if ((shortCut & kShiftBit) != 0) text += "Shift+";
    if ((shortCut & kCtrlBit) != 0) text += "Ctrl+";
    if ((shortCut & kAltBit) != 0) text += "Alt+";
    return text + name;
}

ShortCut TextToShortCut(std::string_view text) {
    ShortCut modifiers = 0;
    for (;;) {
        if (TakePrefix(text, "Shift+")) {
            modifiers |= kShiftBit;
        } else if (TakePrefix(text, "Ctrl+")) {
            modifiers |= kCtrlBit;
        } else if (TakePrefix(text, "Alt+")) {
            modifiers |= kAltBit;
        } else {
            break;
        }
    }
    if (text.empty()) return 0;
    for (uint16_t code = 0x08; code <= 0xFF; ++code) {
        const std::string name = KeyName(code);
        if (!name.empty() && EqualsNoCase(name, text))
            return static_cast<ShortCut>(modifiers | code);
    }
    return 0;
}

MainShortCuts LoadShortCuts(const UsrIniFile& ini) {
    MainShortCuts shortCuts{};
    for (size_t i = 0; i < kMainActionCount; ++i) {
        const ActionShortCut& action = kMainActions[i];
        const std::string text = ini.ReadString("ShortCut", std::string(action.Name) + "Item", "");
        shortCuts[i] = text.empty() ? action.BuiltIn : TextToShortCut(text);
    }
    // Cut, copy and paste always end up with a shortcut.
    constexpr std::pair<std::string_view, char> kEditKeys[] = {
        {"CutStepAction", 'X'}, {"CpyStepAction", 'C'}, {"PstStepAction", 'V'}};
    for (const auto& [name, key] : kEditKeys) {
        for (size_t i = 0; i < kMainActionCount; ++i) {
            if (kMainActions[i].Name == name && shortCuts[i] == 0) {
                shortCuts[i] = static_cast<ShortCut>(kCtrlBit | static_cast<uint16_t>(key));
            }
        }
    }
    return shortCuts;
}

void SaveShortCuts(UsrIniFile& ini, const MainShortCuts& shortCuts) {
    for (size_t i = 0; i < kMainActionCount; ++i) {
        ini.WriteString("ShortCut", std::string(kMainActions[i].Name) + "Item",
                        ShortCutToText(shortCuts[i]));
    }
}

}  // namespace lumavox
