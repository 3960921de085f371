#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/ShowSession.h"
#include "model/StepOps.h"
#include "model/Translation.h"

namespace lumavox {

class ProjectData;

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
// With onset analysis results for both sounds it is the distance between their first onsets, so
// that the show follows the music; no analysis is available to this function yet, so it proposes
// 0 (the steps stay where they are).
int32_t ProposedSoundShiftMs(const std::string& oldSoundPath, const std::string& newSoundPath);

// Why the dialog refuses a shift: "n 個の基点がタイムライン (a 〜 b ms) の外に出ます".
std::string ShiftRefusalText(const StepsOffTimeLine& off, const TimeLimits& limits);
// The dialog's note for a shift of 0 that leaves steps after the end of a shorter sound.
std::string StepsKeptBeyondEndText(int count);

// The sound each replace-sound undo state puts back, by the state's serial in the undo list. A
// mark lives as long as its state: marks of states the list has dropped (its limits, a save that
// empties it) are discarded whenever marks are added or taken.
class SoundUndoMarks {
public:
    void Add(uint64_t serial, ShowSession::SoundRecord sound, const TUndoList& list);
    // Call after an undo: when the state with serial (the front before the undo) was a
    // replace-sound state and the undo took it, its record; else nullptr. Valid until the next
    // call.
    const ShowSession::SoundRecord* TakeAfterUndo(uint64_t serial, const TUndoList& list);
    size_t Count() const { return m_marks.size(); }

private:
    void Prune(const TUndoList& list);
    struct Mark {
        uint64_t Serial = 0;
        ShowSession::SoundRecord Sound;
    };
    std::vector<Mark> m_marks;
    Mark m_taken;
};

// The whole replacement once the user has chosen the file and the shift: the new sound is read and
// opened (ChangeSound; when it fails nothing changes and false is returned), one undo state is
// saved and marked with the former sound, and every step moves by shiftMs. The caller has checked
// the shift with SoundShiftAllowed.
bool ReplaceSound(ShowSession& session, ProjectData& project, SoundUndoMarks& marks,
                  const std::string& soundPath, int32_t shiftMs);

// The undo command's sound half: run undo (the caller's own undo command), then put back the sound
// of a replace-sound state it took. True when a sound was put back.
template <class UndoFn>
bool UndoWithSound(ShowSession& session, ProjectData& project, SoundUndoMarks& marks,
                   UndoFn&& undo) {
    const uint64_t front = project.UndoList.FrontSerial();
    undo();
    const ShowSession::SoundRecord* sound = marks.TakeAfterUndo(front, project.UndoList);
    if (sound == nullptr) return false;
    session.RestoreSound(*sound);
    return true;
}

}  // namespace lumavox
