#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "model/ColourEval.h"
#include "model/ProjectData.h"

namespace lumavox {
namespace {

// The UI thread rebuilds, sorts and edits fields of a line while another thread evaluates it, as
// the output thread's tick does. Run under ThreadSanitizer this proves the locking; everywhere it
// checks that the reader only ever sees colours that some complete state of the list produces.
TEST(StepListConcurrency, EvaluationWhileEditingSeesOnlyWholeStates) {
    ProjectData project;
    std::atomic<bool> stop{false};
    std::atomic<long> evaluations{0};

    std::thread reader([&] {
        while (!stop.load()) {
            for (int line = 0; line < kLineCount; ++line) {
                const LineColour c = LineColourAt(project, line, 500);
                // every state below uses only the colours 0x10 or 0x20 in red, constant lines
                ASSERT_TRUE(c.Colour == NoColour || c.Colour == 0x10 || c.Colour == 0x20)
                    << std::hex << c.Colour;
            }
            evaluations.fetch_add(1);
        }
    });

    for (int round = 0; round < 300; ++round) {
        TStepList& line = project.Lines[static_cast<size_t>(round % kLineCount)];
        std::vector<Step> steps(200);
        for (int i = 0; i < 200; ++i) {
            steps[static_cast<size_t>(i)].Time = (199 - i) * 5;
            steps[static_cast<size_t>(i)].Colour = 0x10;
        }
        line.Assign(steps);
        line.Edit([](TStepList::Items& items) {
            std::sort(items.begin(), items.end(),
                      [](const auto& a, const auto& b) { return a->Time < b->Time; });
            for (auto& s : items) s->Colour = 0x20;  // in-place field change
        });
        std::vector<const Step*> reversed;
        for (const auto& s : line.ItemsUnlocked()) reversed.insert(reversed.begin(), s);
        line.Reorder(reversed);
        line.Add(Step{});
        if (round % 5 == 0) line.Clear();
    }
    // let the reader get some evaluations in even on a slow sanitizer build
    while (evaluations.load() < 100) std::this_thread::yield();
    stop.store(true);
    reader.join();
    EXPECT_GT(evaluations.load(), 0);
}

TEST(StepList, CloneAndCopyAreDeepAndKeepAllFiftyTwoBytes) {
    TStepList list;
    Step s;
    s.Time = 42;
    s.Reserved[5] = 7;
    s.Padding[1] = 3;
    list.Add(s);
    auto clone = list.Clone();
    list.Edit([](TStepList::Items& items) { items[0]->Time = 1; });
    ASSERT_EQ(clone->Count(), 1);
    EXPECT_EQ(clone->At(0).Time, 42);
    EXPECT_EQ(clone->At(0).Reserved[5], 7);
    EXPECT_EQ(clone->At(0).Padding[1], 3);
}

TEST(StepList, ReorderKeepsEveryStepAndTracksSortedness) {
    TStepList list;
    std::vector<Step> steps(3);
    steps[0].Time = 30;
    steps[1].Time = 10;
    steps[2].Time = 20;
    list.Assign(steps);
    EXPECT_FALSE(list.SortedUnlocked());
    std::vector<const Step*> order{&list.At(1), &list.At(2), &list.At(0)};
    const Step* first = order[0];
    list.Reorder(order);
    EXPECT_TRUE(list.SortedUnlocked());
    EXPECT_EQ(&list.At(0), first);  // the same record, not a copy
    EXPECT_EQ(list.At(2).Time, 30);
}

TEST(UndoList, KeepsTheFiftyNewestStatesNewestFirst) {
    TUndoList undo;
    for (int i = 0; i < 51; ++i) {
        auto snap = std::make_unique<TStepList>();
        Step s;
        s.Time = i;
        snap->Add(s);
        undo.PushFront(std::move(snap));
    }
    ASSERT_EQ(undo.Count(), TUndoList::kMaxUndoStates);
    EXPECT_EQ(undo.At(0).At(0).Time, 50);
    EXPECT_EQ(undo.At(49).At(0).Time, 1);
    EXPECT_EQ(undo.PopFront()->At(0).Time, 50);
    EXPECT_EQ(undo.Count(), 49);
}

TEST(ProjectData, NewProjectIsEmptyWithTheThroughPatch) {
    ProjectData project;
    for (const auto& line : project.Lines) EXPECT_TRUE(line.Empty());
    EXPECT_EQ(project.CurrentLine.load(), 0);
    EXPECT_FALSE(project.Modified);
    EXPECT_TRUE(project.ProjectFileName.empty());
    EXPECT_EQ(project.Header.Patch[0], 0);
    EXPECT_EQ(project.Header.Patch[23], 23);
    EXPECT_EQ(project.Header.Patch[24], -1);
    EXPECT_EQ(project.Header.Patch[511], -1);
    EXPECT_EQ(project.Header.PrePlayTime, 0);
    EXPECT_EQ(project.Header.SoundFileTime, 0.0);
    EXPECT_STRNE(project.Header.Version, "");
    EXPECT_EQ(project.Header.Title[0], '\0');
}

}  // namespace
}  // namespace lumavox
