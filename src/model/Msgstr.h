#pragma once

#include <string_view>

namespace lumavox {

// The program's message catalogue: every user-visible named text, by symbol.
enum class Msg {
    AskThrPatch,
    AskClrPatch,
    IllegalFile,
    NoSupportFrm,
    Loading,
    Selecting,
    ColMonFile,
    GroupFile,
    Magnification,
    MltTimStrecth,
    MltBrtStrecth,
    AudioDeviceNG,
    AudioSilent,
    Scale,
    Volume,
    Brightness,
    CopyTrack,
    SourceTrackNo,
    Col_LwavFg,
    Col_LwavBg,
    Col_RwavFg,
    Col_RwavBg,
    Col_BlankBg,
    Col_TLinFg,
    Col_TLinBg,
    Col_CLinBg,
    SelPalImage,
    SoundFile,
    SelSoundFile,
    Warning,
    Confirm,
    AskSave,
    AskDelete,
    Untitled,
    FileNotFound,
    AskOverwrite,
    ProjectFile,
    OpenProject,
};

struct MsgEntry {
    Msg Id;
    int Number;               // resource number
    std::string_view Symbol;  // "_U_..."
    std::string_view Text;    // UTF-8, the source text (untranslated)
};

// The text of a message, in the language chosen at start-up (Translated).
std::string_view MsgText(Msg id);
// Lookup by symbol ("_U_Warning"); null when there is no such symbol.
const MsgEntry* FindMsg(std::string_view symbol);
// The whole table, in resource-number order.
const MsgEntry* MsgTable(int* count);

}  // namespace lumavox
