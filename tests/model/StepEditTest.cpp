#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "StepTestUtil.h"
#include "model/StepOps.h"

namespace lumavox {
namespace {

using ::testing::ElementsAre;
using testing::Put;
using testing::Times;

std::vector<int32_t> Brightnesses(const ProjectData& project, int line) {
    std::vector<int32_t> out;
    for (const Step* s : project.Lines[static_cast<size_t>(line)].ItemsUnlocked()) {
        out.push_back(s->Brightness);
    }
    return out;
}

TEST(StepEdits, OffsetBrightnessChangesSelectedAndCurrentOnceEachClampedAlone) {
    ProjectData project;
    Put(project, 0, 0, true, 250);
    Put(project, 0, 100, true, 0);  // current and selected: changed once, not twice
    Put(project, 0, 200, false, 0);
    Put(project, 0, 300, false, 10);  // current only in the second call
    Put(project, 5, 0, true, -250);
    Normalise(project);
    const Step* current = StepAt(project, 1);
    EXPECT_EQ(OffsetBrightness(project, 16, current), 3);
    EXPECT_THAT(Brightnesses(project, 0), ElementsAre(255, 16, 0, 10));
    EXPECT_THAT(Brightnesses(project, 5), ElementsAre(-234));
    EXPECT_EQ(OffsetBrightness(project, -300, StepAt(project, 3)), 4);
    EXPECT_THAT(Brightnesses(project, 0), ElementsAre(-45, -255, 0, -255));
    EXPECT_THAT(Brightnesses(project, 5), ElementsAre(-255));
    EXPECT_FALSE(project.Modified);  // the editor marks it
}

TEST(StepEdits, AStepKeepsItsIdentityWhenATimeChangeResortsTheLine) {
    ProjectData project;
    Put(project, 2, 0);
    Put(project, 2, 100);
    Put(project, 2, 200);
    Normalise(project);
    const Step* first = &project.Lines[2].At(0);
    EXPECT_TRUE(SetStepTime(project, 2, first, 150));
    EXPECT_THAT(Times(project, 2), ElementsAre(100, 150, 200));
    EXPECT_EQ(IndexOfStep(project, 2, first), 1);
    EXPECT_EQ(first->Length, 50);
    EXPECT_EQ(LineOfStep(project, first), 2);
    // an address of another line, or of no line, changes nothing
    EXPECT_FALSE(SetStepBrightness(project, 3, first, 9));
    const Step stranger;
    EXPECT_FALSE(SetStepColour(project, 2, &stranger, 1));
    EXPECT_EQ(IndexOfStep(project, 2, &stranger), -1);
    EXPECT_EQ(IndexOfStep(project, 9, first), -1);
    EXPECT_EQ(SetTimeOfSelectedAnd(project, &stranger, 5), 0);
}

TEST(StepEdits, SelectionEndsAndDragOriginsOfTheCurrentLine) {
    ProjectData project;
    project.CurrentLine = 1;
    for (int t : {0, 100, 200, 300}) Put(project, 1, t);
    Put(project, 4, 50);
    Normalise(project);
    const Step stranger;
    const std::vector<const Step*> picks{StepAt(project, 3), StepAt(project, 1), &stranger,
                                         &project.Lines[4].At(0), StepAt(project, 1)};
    EXPECT_EQ(SelectSteps(project, picks), 3);
    EXPECT_EQ(SelectedCount(project), 3);
    EXPECT_EQ(SelectSteps(project, picks), 0);  // already selected: nothing new
    const SelectedEnds ends = FirstLastSelectedInLine(project);
    EXPECT_EQ(ends.First, StepAt(project, 1));
    EXPECT_EQ(ends.Last, StepAt(project, 3));
    EXPECT_EQ(EarliestSelectedTime(project), 50);
    StoreDragOrigins(project);
    EXPECT_EQ(StepAt(project, 1)->DragOrigin, 100);
    EXPECT_EQ(StepAt(project, 3)->DragOrigin, 300);
    EXPECT_EQ(StepAt(project, 2)->DragOrigin, 0);
    EXPECT_EQ(project.Lines[4].At(0).DragOrigin, 0);  // other lines keep theirs
    SetStepSelected(project, 1, StepAt(project, 3), false);
    EXPECT_EQ(FirstLastSelectedInLine(project).Last, StepAt(project, 1));
    SetSelection(project, 0, true);
    EXPECT_FALSE(EarliestSelectedTime(project).has_value());
}

}  // namespace
}  // namespace lumavox
