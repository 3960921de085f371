#include "editor/logic/BeatMarks.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "editor/logic/TimeLine.h"
#include "model/ColourEval.h"
#include "model/ProjectData.h"
#include "model/StepOps.h"

namespace lumavox {

void BeatMarks::Take(std::string soundPath, BeatAnalysis analysis) {
    m_soundPath = std::move(soundPath);
    m_analysis = std::move(analysis);
    m_known = true;
}

void BeatMarks::Clear() {
    m_soundPath.clear();
    m_analysis = {};
    m_known = false;
}

int32_t BeatMarks::Snapped(int32_t t, double pixelsPerMs) const {
    if (!m_snap || !m_known) return t;
    return NearestMark(t, m_analysis.Onsets, m_analysis.Beats, pixelsPerMs, kSnapRadiusPx)
        .value_or(t);
}

namespace {

// The time of the sorted list nearest to t (the earlier on a tie); nullopt for an empty list.
std::optional<int32_t> NearestIn(std::span<const int32_t> times, int32_t t) {
    if (times.empty()) return std::nullopt;
    const auto after = std::lower_bound(times.begin(), times.end(), t);
    if (after == times.begin()) return *after;
    const int32_t before = *(after - 1);
    if (after == times.end()) return before;
    const int64_t dBefore = static_cast<int64_t>(t) - before;
    const int64_t dAfter = static_cast<int64_t>(*after) - t;
    return dAfter < dBefore ? *after : before;
}

int64_t Distance(int32_t a, int32_t b) {
    return std::llabs(static_cast<int64_t>(a) - b);
}

}  // namespace

std::optional<int32_t> NearestMark(int32_t t, std::span<const int32_t> onsets,
                                   std::span<const int32_t> beats, double pixelsPerMs,
                                   int radiusPx) {
    std::optional<int32_t> best;
    for (const std::optional<int32_t> candidate : {NearestIn(onsets, t), NearestIn(beats, t)}) {
        if (!candidate) continue;
        if (!best || Distance(*candidate, t) < Distance(*best, t) ||
            (Distance(*candidate, t) == Distance(*best, t) && *candidate < *best)) {
            best = candidate;
        }
    }
    if (!best || !(pixelsPerMs > 0.0)) return std::nullopt;
    const double pixels = static_cast<double>(Distance(*best, t)) * pixelsPerMs;
    if (pixels > radiusPx) return std::nullopt;
    return best;
}

std::vector<int> MarkColumns(std::span<const int32_t> times, const TimeLine& timeLine, int l,
                             int e) {
    std::vector<int> columns;
    // TimeToX never decreases with the time: the first visible tick is found by binary search.
    auto it = std::partition_point(times.begin(), times.end(),
                                   [&](int32_t t) { return timeLine.TimeToX(t) < l; });
    for (; it != times.end(); ++it) {
        const int x = timeLine.TimeToX(*it);
        if (x >= e) break;
        if (columns.empty() || columns.back() != x) columns.push_back(x);
    }
    return columns;
}

std::optional<TimeRange> SelectionRange(const ProjectData& project) {
    const int line = project.CurrentLine.load(std::memory_order_relaxed);
    if (line < 0 || line >= kLineCount) return std::nullopt;
    std::optional<TimeRange> range;
    int selected = 0;
    for (const Step* step : project.Lines[static_cast<size_t>(line)].ItemsUnlocked()) {
        if (step->Selected == 0) continue;
        ++selected;
        if (!range) {
            range = TimeRange{step->Time, step->Time};
        } else {
            range->First = std::min(range->First, step->Time);
            range->Last = std::max(range->Last, step->Time);
        }
    }
    if (selected < 2) return std::nullopt;
    return range;
}

int AddStepsAtBeats(ProjectData& project, std::span<const int32_t> beats) {
    const std::optional<TimeRange> range = SelectionRange(project);
    if (!range) return 0;
    const int line = project.CurrentLine.load(std::memory_order_relaxed);
    const TStepList& list = project.Lines[static_cast<size_t>(line)];
    // What each new step shows is taken from the line as it was, before any is added.
    struct NewStep {
        int32_t Time;
        LineColour Look;
    };
    std::vector<NewStep> added;
    const auto first = std::lower_bound(beats.begin(), beats.end(), range->First);
    for (auto it = first; it != beats.end() && *it <= range->Last; ++it) {
        const int32_t t = *it;
        const TStepList::View items = list.ItemsUnlocked();
        const bool taken =
            std::any_of(items.begin(), items.end(), [t](const Step* s) { return s->Time == t; });
        if (taken) continue;
        LineColour look = LineColourAt(project, line, t);
        if (look.Colour == NoColour) look = {0, 0};
        added.push_back({t, look});
    }
    if (added.empty()) return 0;
    SaveUndoState(project);
    for (const NewStep& step : added) {
        AddStep(project, step.Look.Colour, step.Look.Brightness, step.Time, 0, false);
    }
    project.Modified = true;
    return static_cast<int>(added.size());
}

int SelectStepsNearestBeats(ProjectData& project, std::span<const int32_t> beats) {
    const int line = project.CurrentLine.load(std::memory_order_relaxed);
    if (line < 0 || line >= kLineCount) return 0;
    SetSelection(project, 0, false);
    const TStepList& list = project.Lines[static_cast<size_t>(line)];
    const TStepList::View items = list.ItemsUnlocked();
    if (items.empty() || beats.empty()) return 0;
    std::vector<int32_t> stepTimes;
    stepTimes.reserve(items.size());
    for (const Step* s : items) stepTimes.push_back(s->Time);
    // The lines are kept sorted; a copy that is not gets sorted for the search only.
    std::vector<int32_t> sortedTimes = stepTimes;
    std::sort(sortedTimes.begin(), sortedTimes.end());
    std::vector<const Step*> chosen;
    for (const int32_t beat : beats) {
        const std::optional<int32_t> near = NearestIn(sortedTimes, beat);
        if (!near || NearestIn(beats, *near) != beat) continue;
        // Every step at that time is equally near.
        for (size_t i = 0; i < items.size(); ++i) {
            if (stepTimes[i] == *near) chosen.push_back(items[i]);
        }
    }
    for (const Step* s : chosen) SetStepSelected(project, line, s, true);
    return static_cast<int>(chosen.size());
}

}  // namespace lumavox
