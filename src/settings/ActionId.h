#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace lumavox {

// The main actions of the editor, one line each: the name (the action's object name; its settings
// key in [ShortCut] is Name + "Item") and the built-in shortcut, written with the key names of
// ShortCut.cpp. The order is the order of the [ShortCut] keys, of the shortcut editor and of
// kActionTable; a new action is one line here and one row there.
#define LUMAVOX_MAIN_ACTIONS(X)        \
    X(NewPrjAction, 0)                 \
    X(OpenPrjAction, 0)                \
    X(SavePrjAction, 0)                \
    X(SaveAsPrjAction, 0)              \
    X(SetPrjAction, 0)                 \
    X(ZoomInAction, 0)                 \
    X(ZoomOutAction, 0)                \
    X(ZoomFitAction, 0)                \
    X(CutStepAction, 0)                \
    X(CpyStepAction, 0)                \
    X(PstStepAction, 0)                \
    X(AddStepAction, 0)                \
    X(AddBlkStepAction, 0)             \
    X(DelStepAction, 0)                \
    X(DelAllStepAction, 0)             \
    X(SelectAllAction, 0)              \
    X(MovToCsrPosAction, 0)            \
    X(PropStepAction, 0)               \
    X(TimeStepAction, 0)               \
    X(CpyFrmTrkAction, 0)              \
    X(UndoAction, 0)                   \
    X(PrvTimAction, kLeft)             \
    X(NxtTimAction, kRight)            \
    X(PrvStpAction, kCtrlBit | kLeft)  \
    X(NxtStpAction, kCtrlBit | kRight) \
    X(UpBrightAction, kUp)             \
    X(DownBrightAction, kDown)         \
    X(TopPlayAction, 0)                \
    X(PlayAction, 0)                   \
    X(PauseAction, 0)                  \
    X(StopAction, 0)                   \
    X(ToTopPosAction, 0)               \
    X(ToEndPosAction, 0)               \
    X(ViewFilToolAction, 0)            \
    X(ViewEditToolAction, 0)           \
    X(ViewPlayerAction, 0)             \
    X(ViewCurPalAction, 0)             \
    X(ViewSttBarAction, 0)             \
    X(ViewRefTrkAction, 0)             \
    X(ViewColMonAction, 0)             \
    X(DispMonoAction, 0)               \
    X(CutMltAction, 0)                 \
    X(CpyMltAction, 0)                 \
    X(PstMltAction, 0)                 \
    X(SelectAllMltAction, 0)           \
    X(AlignMltAction, 0)               \
    X(StretchMltAction, 0)             \
    X(StretchBrtAction, 0)             \
    X(SaveSelGrpAction, 0)             \
    X(LoadGrpAction, 0)                \
    X(SelectExAction, 0)               \
    X(ExportFseqAction, 0)             \
    X(ViewBeatLaneAction, 0)           \
    X(SnapBeatAction, kCtrlBit | 0x42) \
    X(AddBeatStepsAction, 0)           \
    X(SelectBeatStepsAction, 0)        \
    X(RedoAction, kCtrlBit | 'Y')      \
    X(ReplaceSoundAction, 0)

// An action of the main window. The main actions come first, in list order; CurBrt0Action (the
// palette's brightness-zero button) follows them: it belongs to a second list and has no shortcut
// key.
enum class ActionId : uint8_t {
#define LUMAVOX_ACTION_ENUM(name, builtIn) name,
    LUMAVOX_MAIN_ACTIONS(LUMAVOX_ACTION_ENUM)
#undef LUMAVOX_ACTION_ENUM
        CurBrt0Action,
};

inline constexpr size_t kMainActionCount = static_cast<size_t>(ActionId::CurBrt0Action);
inline constexpr size_t kActionIdCount = kMainActionCount + 1;

constexpr size_t IndexOf(ActionId id) {
    return static_cast<size_t>(id);
}

inline constexpr std::array<std::string_view, kActionIdCount> kActionNames = {
#define LUMAVOX_ACTION_NAME(name, builtIn) #name,
    LUMAVOX_MAIN_ACTIONS(LUMAVOX_ACTION_NAME)
#undef LUMAVOX_ACTION_NAME
        "CurBrt0Action",
};

// The object name of an action ("CutStepAction").
constexpr std::string_view ActionName(ActionId id) {
    return kActionNames[IndexOf(id)];
}

// The action a name read from outside the program names (a settings key without "Item", a test);
// none for an unknown name. Code that knows its action uses the id.
constexpr std::optional<ActionId> ActionIdFromName(std::string_view name) {
    for (size_t i = 0; i < kActionIdCount; ++i) {
        if (kActionNames[i] == name) return static_cast<ActionId>(i);
    }
    return std::nullopt;
}

}  // namespace lumavox
