#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "model/ProjectData.h"
#include "model/Step.h"

namespace lumavox::testing {

// Appends a step to a line as a loaded or hand-made project would have it; callers Normalise.
inline const Step& Put(ProjectData& project, int line, int32_t time, bool selected = false,
                       int32_t brightness = 0, int32_t colour = 0x000080) {
    Step s;
    s.LineIndex = line;
    s.Time = time;
    s.Colour = colour;
    s.Brightness = brightness;
    s.Selected = selected ? 1 : 0;
    TStepList& list = project.Lines[static_cast<size_t>(line)];
    list.Add(s);
    return *list.ItemsUnlocked().back();
}

inline std::vector<int32_t> Times(const ProjectData& project, int line) {
    std::vector<int32_t> out;
    for (const auto& s : project.Lines[static_cast<size_t>(line)].ItemsUnlocked()) {
        out.push_back(s->Time);
    }
    return out;
}

// Every byte of every step of all lines, with each line's count in front, so that two images are
// equal exactly when the lines hold the same records in the same order.
inline std::vector<uint8_t> LinesImage(const ProjectData& project) {
    std::vector<uint8_t> out;
    for (const TStepList& line : project.Lines) {
        const auto count = static_cast<uint32_t>(line.Count());
        const auto* c = reinterpret_cast<const uint8_t*>(&count);
        out.insert(out.end(), c, c + sizeof(count));
        for (const auto& s : line.ItemsUnlocked()) {
            const auto* b = reinterpret_cast<const uint8_t*>(s);
            out.insert(out.end(), b, b + sizeof(Step));
        }
    }
    return out;
}

}  // namespace lumavox::testing
