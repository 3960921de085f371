#include "editor/logic/SelExCandidates.h"

#include <gtest/gtest.h>

#include "model/ColourEval.h"
#include "model/ProjectData.h"
#include "model/StepOps.h"

namespace lumavox {
namespace {

void AddTo(ProjectData& project, int line, int32_t colour, int32_t brightness, int32_t time,
           uint8_t selected = 0) {
    Step s;
    s.LineIndex = line;
    s.Time = time;
    s.Colour = colour;
    s.Brightness = brightness;
    s.Selected = selected;
    project.Lines[static_cast<size_t>(line)].Add(s);
}

std::vector<std::pair<int, int>> Names(const SelExCandidates& set) {
    std::vector<std::pair<int, int>> out;
    for (const auto& c : set.Items()) out.emplace_back(c.Line, c.Index);
    return out;
}

// Red (10, 10), blue (297, 10), grey 128 (226, 271) on a 451 × 281 hue/saturation chart.
class SelExCandidatesTest : public ::testing::Test {
protected:
    void SetUp() override {
        AddTo(project, 2, MakeColour(0, 0, 255), 0, 0);
        AddTo(project, 0, MakeColour(255, 0, 0), 0, 0);
        AddTo(project, 0, MakeColour(128, 128, 128), 0, 100);
    }
    ProjectData project;
};

TEST_F(SelExCandidatesTest, WithoutSelectionEveryStepIsACandidateElseOnlyTheSelected) {
    SelExCandidates set;
    set.Build(project);
    EXPECT_EQ(Names(set), (std::vector<std::pair<int, int>>{{0, 0}, {0, 1}, {2, 0}}));
    EXPECT_EQ(set.StatusText(), "3 points");

    project.Lines[2].Edit([](TStepList::Items& items) { items[0]->Selected = 1; });
    set.Build(project);
    EXPECT_EQ(Names(set), (std::vector<std::pair<int, int>>{{2, 0}}));
    EXPECT_EQ(set.StatusText(), "1 points");
}

TEST_F(SelExCandidatesTest, BandsNarrowTheSetWithRightAndBottomEdgesOutside) {
    SelExCandidates set;
    set.Build(project);
    set.Place(HueChartMode::HueSaturation, 451, 281);

    // the red square's centre lies on the right edge: outside, so 除外 keeps it
    set.ApplyBand(SelExBand::FromPoints(10, 0, 0, 20), SelExMode::Exclude);
    EXPECT_EQ(set.Count(), 3);
    set.ApplyBand(SelExBand::FromPoints(11, 21, 0, 0), SelExMode::Exclude);
    EXPECT_EQ(Names(set), (std::vector<std::pair<int, int>>{{0, 1}, {2, 0}}));
    EXPECT_EQ(set.StatusText(), "2/3 points");

    set.ApplyBand(SelExBand::FromPoints(200, 200, 300, 272), SelExMode::Select);
    EXPECT_EQ(Names(set), (std::vector<std::pair<int, int>>{{0, 1}}));
    EXPECT_EQ(set.StatusText(), "1/3 points");

    // a click without moving keeps nothing in 選択
    set.ApplyBand(SelExBand::FromPoints(226, 271, 226, 271), SelExMode::Select);
    EXPECT_EQ(set.StatusText(), "0/3 points");

    set.Build(project);
    EXPECT_EQ(set.StatusText(), "3 points");
}

}  // namespace
}  // namespace lumavox
