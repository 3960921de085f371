#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "sound/analysis/BeatAnalysis.h"

namespace lumavox {

class ProjectData;
class TimeLine;

// The onsets and beats found in the open sound, as the editor uses them: ticks in the beat lane,
// the times steps snap to, and the beat commands. Empty until an analysis of the open sound is
// taken in; forgotten when the sound changes. Owned by the main window; UI thread only.
class BeatMarks {
public:
    // How close (in pixels at the current zoom) a time must lie to an onset or beat to snap.
    static constexpr int kSnapRadiusPx = 8;

    // The analysis of the sound at soundPath becomes the marks.
    void Take(std::string soundPath, BeatAnalysis analysis);
    void Clear();
    bool Known() const { return m_known; }
    const std::string& SoundPath() const { return m_soundPath; }
    const std::vector<int32_t>& Onsets() const { return m_analysis.Onsets; }
    const std::vector<int32_t>& Beats() const { return m_analysis.Beats; }
    double Tempo() const { return m_analysis.Tempo; }

    bool SnapOn() const { return m_snap; }
    void SetSnap(bool on) { m_snap = on; }
    // t moved onto the nearest onset or beat within the snap radius when snapping is on and the
    // marks are known; t itself otherwise.
    int32_t Snapped(int32_t t, double pixelsPerMs) const;

private:
    std::string m_soundPath;
    BeatAnalysis m_analysis;
    bool m_known = false;
    bool m_snap = false;
};

// The time of both sorted lists nearest to t whose distance from t, in pixels at pixelsPerMs, is
// at most radiusPx; the earlier one when two are equally near; nullopt when none is that near.
std::optional<int32_t> NearestMark(int32_t t, std::span<const int32_t> onsets,
                                   std::span<const int32_t> beats, double pixelsPerMs,
                                   int radiusPx);

// The columns x in [l, e) where a tick of the sorted times falls on the time line, ascending and
// each once (times that share a column give one tick).
std::vector<int> MarkColumns(std::span<const int32_t> times, const TimeLine& timeLine, int l,
                             int e);

// The earliest and the latest time of the current line's selected steps; nullopt with fewer than
// two selected steps.
struct TimeRange {
    int32_t First = 0;
    int32_t Last = 0;
};
std::optional<TimeRange> SelectionRange(const ProjectData& project);

// Adds a step at every beat within the selection range of the current line where the line has no
// step at that time yet, each leaving the line's look unchanged (the line's colour and brightness
// at that time, as a blank step). One undo state, saved only when a step is added; the project is
// then modified. Returns the number of steps added.
int AddStepsAtBeats(ProjectData& project, std::span<const int32_t> beats);

// Selects, in place of the current line's selection, the steps nearest the beats: a step is
// selected when it is the step nearest to some beat and that beat is the beat nearest to it (the
// earlier one on a tie). Returns the number selected.
int SelectStepsNearestBeats(ProjectData& project, std::span<const int32_t> beats);

}  // namespace lumavox
