#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/ShowSession.h"
#include "model/ProjectData.h"
#include "model/StepOps.h"
#include "model/Translation.h"

namespace lumavox {

// Replacing the project's sound while the show stays: the steps keep their times, or all move by
// one shift. Clamping a shift at the ends of the time line would stack steps on one time, so a
// shift that carries any step off the time line is refused instead; a shift of 0 keeps every step
// where it is, also steps beyond the end of a shorter sound (they stay in the project, as loading
// keeps them). UI thread.

// The replace-sound dialog's texts.
namespace soundtext {
inline constexpr std::string_view kCurrentSound = LV_TEXT("Lumavox", "現在のサウンド :");
inline constexpr std::string_view kNewSound = LV_TEXT("Lumavox", "新しいサウンド :");
inline constexpr std::string_view kShift = LV_TEXT("Lumavox", "全ての基点をずらす (ミリ秒) :");
inline constexpr std::string_view kShiftHint =
    LV_TEXT("Lumavox", "基点の時刻はそのままです。ずらす量を指定すると全ての基点が移動します。");
}  // namespace soundtext

// Steps of all lines that would lie before limits.Min() and after limits.Max() once moved by
// shiftMs.
struct StepsOffTimeLine {
    int Before = 0;
    int After = 0;
    int Total() const { return Before + After; }
};
StepsOffTimeLine StepsOffTimeLineAfterShift(const ProjectData& project, int32_t shiftMs,
                                            const TimeLimits& limits);

// Whether the shift may be applied with the new sound's limits (see above).
bool SoundShiftAllowed(const ProjectData& project, int32_t shiftMs, const TimeLimits& limits);

// The shift the replace-sound dialog proposes for moving from the old sound to the new one.
// When the beat lane has analysed both sounds (fresh .beats caches with the default settings) it
// is the new sound's first onset minus the old one's, so that the show follows the music;
// otherwise 0 (the steps stay where they are).
int32_t ProposedSoundShiftMs(const std::string& oldSoundPath, const std::string& newSoundPath);

// Why the dialog refuses a shift: "n 個の基点がタイムライン (a 〜 b ms) の外に出ます".
std::string ShiftRefusalText(const StepsOffTimeLine& off, const TimeLimits& limits);
// The dialog's note for a shift of 0 that leaves steps after the end of a shorter sound.
std::string StepsKeptBeyondEndText(int count);

// The undo list and the redo list: undo takes a state from the first and leaves one on the second,
// redo the other way round.
enum class UndoSide : uint8_t { Undo, Redo };

// The sound a step over a replace-sound state puts back, by the state's list and serial. Undoing a
// replacement leaves a state on the redo list that puts the replacing sound back, and redoing it
// one on the undo list that puts the former sound back, so a mark moves from list to list with
// its state. A mark lives as long as its state: marks of states a list has dropped (its limits, a
// new change that ends redo, a save that empties both) are discarded whenever marks are added or
// taken.
class SoundUndoMarks {
public:
    void Add(UndoSide side, uint64_t serial, ShowSession::SoundRecord sound,
             const ProjectData& project);
    // Call after an undo (from Undo) or a redo (from Redo): when the state with serial (the front
    // of that list before the step) was marked and the step took it, removes the mark and gives
    // its sound; else nullopt.
    std::optional<ShowSession::SoundRecord> Take(UndoSide from, uint64_t serial,
                                                 const ProjectData& project);
    size_t Count() const { return m_marks.size(); }

private:
    void Prune(const ProjectData& project);
    struct Mark {
        UndoSide Side = UndoSide::Undo;
        uint64_t Serial = 0;
        ShowSession::SoundRecord Sound;
    };
    std::vector<Mark> m_marks;
};

// The whole replacement once the user has chosen the file and the shift: the new sound is read and
// opened (ChangeSound, with readAhead as it takes it; when it fails nothing changes and false is
// returned), one undo state is saved and marked with the former sound, and every step moves by
// shiftMs. The caller has checked the shift with SoundShiftAllowed.
bool ReplaceSound(ShowSession& session, ProjectData& project, SoundUndoMarks& marks,
                  const std::string& soundPath, int32_t shiftMs, SoundScan* readAhead = nullptr);

// The undo and redo commands' sound half: run step (the caller's own undo or redo command, which
// takes a state from the from list and leaves one on the other); when the state it took was a
// replacement's, the state it left is marked with the sound open now and the marked sound is put
// back. True when a sound was put back.
template <class StepFn>
bool StepWithSound(ShowSession& session, ProjectData& project, SoundUndoMarks& marks, UndoSide from,
                   StepFn&& step) {
    const bool undo = from == UndoSide::Undo;
    const uint64_t front = (undo ? project.UndoList : project.RedoList).FrontSerial();
    step();
    std::optional<ShowSession::SoundRecord> sound = marks.Take(from, front, project);
    if (!sound) return false;
    const uint64_t left = (undo ? project.RedoList : project.UndoList).FrontSerial();
    if (left != 0) {
        marks.Add(undo ? UndoSide::Redo : UndoSide::Undo, left, session.CurrentSound(), project);
    }
    session.RestoreSound(*sound);
    return true;
}

template <class UndoFn>
bool UndoWithSound(ShowSession& session, ProjectData& project, SoundUndoMarks& marks,
                   UndoFn&& undo) {
    return StepWithSound(session, project, marks, UndoSide::Undo, undo);
}

template <class RedoFn>
bool RedoWithSound(ShowSession& session, ProjectData& project, SoundUndoMarks& marks,
                   RedoFn&& redo) {
    return StepWithSound(session, project, marks, UndoSide::Redo, redo);
}

}  // namespace lumavox
