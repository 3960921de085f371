#include "editor/logic/SelExCandidates.h"

#include <algorithm>

#include "model/ProjectData.h"
#include "model/StepOps.h"

namespace lumavox {

SelExBand SelExBand::FromPoints(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    return {std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1)};
}

bool SelExBand::Contains(int32_t x, int32_t y) const {
    return Left <= x && x < Right && Top <= y && y < Bottom;
}

void SelExCandidates::Build(const ProjectData& project) {
    m_items.clear();
    const bool onlySelected = SelectedCount(project) >= 1;
    for (int line = 0; line < kLineCount; ++line) {
        const auto& items = project.Lines[static_cast<size_t>(line)].ItemsUnlocked();
        for (size_t i = 0; i < items.size(); ++i) {
            const Step& step = *items[i];
            if (onlySelected && step.Selected == 0) continue;
            Candidate c;
            c.Line = line;
            c.Index = static_cast<int>(i);
            c.Colour = step.Colour;
            c.Brightness = step.Brightness;
            m_items.push_back(c);
        }
    }
    m_initialCount = static_cast<int>(m_items.size());
    m_narrowed = false;
}

void SelExCandidates::Place(HueChartMode mode, int32_t width, int32_t height) {
    for (Candidate& c : m_items)
        c.Mark = HueChartPoint(c.Colour, c.Brightness, mode, width, height);
}

void SelExCandidates::ApplyBand(const SelExBand& band, SelExMode mode) {
    const bool keepInside = mode == SelExMode::Select;
    std::erase_if(m_items, [&](const Candidate& c) {
        return band.Contains(c.Mark.X, c.Mark.Y) != keepInside;
    });
    m_narrowed = true;
}

int SelExCandidates::Confirm(ProjectData& project) const {
    SetSelection(project, 0, true);
    int selected = 0;
    for (int line = 0; line < kLineCount; ++line) {
        std::vector<size_t> indices;
        for (const Candidate& c : m_items) {
            if (c.Line == line) indices.push_back(static_cast<size_t>(c.Index));
        }
        if (indices.empty()) continue;
        selected += project.Lines[static_cast<size_t>(line)].Edit([&](TStepList::Items& live) {
            int n = 0;
            for (size_t i : indices) {
                if (i < live.size()) {
                    live[i]->Selected = 1;
                    ++n;
                }
            }
            return n;
        });
    }
    return selected;
}

std::string SelExCandidates::StatusText() const {
    std::string text = std::to_string(m_items.size());
    if (m_narrowed) {
        text.push_back('/');
        text.append(std::to_string(m_initialCount));
    }
    text.append(" points");
    return text;
}

}  // namespace lumavox
