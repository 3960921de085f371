#include "editor/logic/SoundReplace.h"

#include <algorithm>
#include <climits>
#include <optional>
#include <utility>

#include "model/ProjectData.h"
#include "model/Translation.h"
#include "sound/analysis/BeatCache.h"

namespace lumavox {

StepsOffTimeLine StepsOffTimeLineAfterShift(const ProjectData& project, int32_t shiftMs,
                                            const TimeLimits& limits) {
    StepsOffTimeLine off;
    const int64_t low = limits.Min();
    const int64_t high = limits.Max();
    for (const TStepList& line : project.Lines) {
        for (const Step* step : line.ItemsUnlocked()) {
            const int64_t time = int64_t{step->Time} + shiftMs;
            if (time < low) ++off.Before;
            if (time > high) ++off.After;
        }
    }
    return off;
}

bool SoundShiftAllowed(const ProjectData& project, int32_t shiftMs, const TimeLimits& limits) {
    return shiftMs == 0 || StepsOffTimeLineAfterShift(project, shiftMs, limits).Total() == 0;
}

int32_t ProposedSoundShiftMs(const std::string& oldSoundPath, const std::string& newSoundPath) {
    // Only what the beat lane has already found: analysing here would hold up the dialog.
    const BeatSettings settings;
    const std::optional<BeatAnalysis> before = LoadBeatCache(oldSoundPath, settings);
    if (!before || before->Onsets.empty()) return 0;
    const std::optional<BeatAnalysis> after = LoadBeatCache(newSoundPath, settings);
    if (!after || after->Onsets.empty()) return 0;
    const int64_t shift = int64_t{after->Onsets.front()} - int64_t{before->Onsets.front()};
    return static_cast<int32_t>(std::clamp<int64_t>(shift, INT32_MIN, INT32_MAX));
}

std::string ShiftRefusalText(const StepsOffTimeLine& off, const TimeLimits& limits) {
    return TranslatedWith(LV_TEXT("Lumavox", "%1 個の基点がタイムラインの外に出ます"),
                          std::to_string(off.Total())) +
           " (" + std::to_string(limits.Min()) + " .. " + std::to_string(limits.Max()) + " ms)";
}

std::string StepsKeptBeyondEndText(int count) {
    return TranslatedWith(LV_TEXT("Lumavox", "%1 個の基点が新しいサウンドの終わりより後に残ります"),
                          std::to_string(count));
}

void SoundUndoMarks::Prune(const ProjectData& project) {
    std::erase_if(m_marks, [&](const Mark& mark) {
        const TUndoList& list = mark.Side == UndoSide::Undo ? project.UndoList : project.RedoList;
        return !list.HoldsSerial(mark.Serial);
    });
}

void SoundUndoMarks::Add(UndoSide side, uint64_t serial, ShowSession::SoundRecord sound,
                         const ProjectData& project) {
    Prune(project);
    m_marks.push_back(Mark{side, serial, std::move(sound)});
}

std::optional<ShowSession::SoundRecord> SoundUndoMarks::Take(UndoSide from, uint64_t serial,
                                                             const ProjectData& project) {
    std::optional<ShowSession::SoundRecord> taken;
    const TUndoList& list = from == UndoSide::Undo ? project.UndoList : project.RedoList;
    if (serial != 0 && !list.HoldsSerial(serial)) {
        const auto it = std::find_if(m_marks.begin(), m_marks.end(), [&](const Mark& mark) {
            return mark.Side == from && mark.Serial == serial;
        });
        if (it != m_marks.end()) {
            taken = std::move(it->Sound);
            m_marks.erase(it);
        }
    }
    Prune(project);
    return taken;
}

bool ReplaceSound(ShowSession& session, ProjectData& project, SoundUndoMarks& marks,
                  const std::string& soundPath, int32_t shiftMs, SoundScan* readAhead) {
    ShowSession::SoundRecord former = session.CurrentSound();
    if (!session.ChangeSound(soundPath, std::nullopt, readAhead)) return false;
    SaveUndoState(project);
    marks.Add(UndoSide::Undo, project.UndoList.FrontSerial(), std::move(former), project);
    ShiftAllSteps(project, shiftMs);
    return true;
}

}  // namespace lumavox
