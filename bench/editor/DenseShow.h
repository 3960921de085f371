// The dense show of the pane benchmarks and snapshots: 100 000 steps on line 1 and 2000 on each
// other line, evenly spread over one hour, with colours and brightness from a fixed seed and every
// seventh step selected.
#pragma once

#include <cstdint>
#include <random>
#include <utility>
#include <vector>

#include "model/ProjectData.h"
#include "model/StepOps.h"

namespace lumavox {

struct DenseShowShape {
    int32_t FirstTime = 0;  // ms of each line's first step
    // A quarter of the steps on the middle line: markers that cover one another exactly.
    bool QuarterOnMiddleLine = false;
};

inline void FillDenseShow(ProjectData& project, const DenseShowShape& shape) {
    std::mt19937 rng(7);
    for (int line = 0; line < kLineCount; ++line) {
        const int count = line == 0 ? 100000 : 2000;
        std::vector<Step> steps(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i) {
            Step& s = steps[static_cast<size_t>(i)];
            s.LineIndex = line;
            s.Time = static_cast<int32_t>(int64_t{i} * 3600000 / count) + shape.FirstTime;
            s.Colour = static_cast<int32_t>(rng() & 0xFFFFFF);
            s.Brightness = shape.QuarterOnMiddleLine && rng() % 4 == 0
                               ? 0
                               : static_cast<int32_t>(rng() % 511) - 255;
            s.Selected = i % 7 == 0 ? 1 : 0;
        }
        project.Lines[static_cast<size_t>(line)].Assign(std::move(steps));
    }
    Normalise(project);
}

}  // namespace lumavox
