#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "editor/logic/HueChartPoint.h"

namespace lumavox {

class ProjectData;

// A rectangle drawn on the extended selection chart, normalised (Left <= Right, Top <= Bottom).
// A point is inside when Left <= x < Right and Top <= y < Bottom, so an empty band holds nothing.
struct SelExBand {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;

    static SelExBand FromPoints(int32_t x0, int32_t y0, int32_t x1, int32_t y1);
    bool Contains(int32_t x, int32_t y) const;
};

// What a band does to the set: keep only the steps inside it, or drop the steps inside it.
enum class SelExMode { Select = 0, Exclude = 1 };

// The steps the extended selection window still offers, narrowed by bands and finally made the
// project's selection. A step is named by its line and its index in that line's list, never by a
// pointer: the window is modal, so the lists do not change while it is open, and the selection is
// written only through the step operations and TStepList::Edit. UI thread only.
class SelExCandidates {
public:
    struct Candidate {
        int Line = 0;
        int Index = 0;
        int32_t Colour = 0;
        int32_t Brightness = 0;
        HueChartMark Mark;  // placed by the last Place()
    };

    // The selected steps of all lines when any is selected, else every step; line 0 first, each
    // line in list order.
    void Build(const ProjectData& project);
    // Computes every candidate's square on a chart of this size.
    void Place(HueChartMode mode, int32_t width, int32_t height);
    // Narrows the set by a band over the squares of the last Place().
    void ApplyBand(const SelExBand& band, SelExMode mode);
    // Deselects every step of all lines, then selects the remaining candidates (those still in
    // their line). Returns the number selected.
    int Confirm(ProjectData& project) const;

    // "N points" after a build, "n/N points" once a band has been applied.
    std::string StatusText() const;

    const std::vector<Candidate>& Items() const { return m_items; }
    int Count() const { return static_cast<int>(m_items.size()); }
    int InitialCount() const { return m_initialCount; }

private:
    std::vector<Candidate> m_items;
    int m_initialCount = 0;
    bool m_narrowed = false;
};

}  // namespace lumavox
