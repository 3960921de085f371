#include <gtest/gtest.h>

#include <deque>
#include <random>
#include <vector>

#include "StepTestUtil.h"
#include "model/StepOps.h"

namespace lumavox {
namespace {

using testing::LinesImage;
using testing::Put;

constexpr TimeLimits kLimits{3000, 2000, 20000};

// The undo and redo lists as the user sees them: the images of the saved states, nearest first,
// trimmed as TUndoList trims (at most 50, and the oldest go while over the byte budget, but never
// the newest).
struct ModelList {
    size_t budget;
    std::deque<std::vector<uint8_t>> states;

    static size_t BytesOf(const std::vector<uint8_t>& image) {
        return (image.size() - kLineCount * sizeof(uint32_t)) / sizeof(Step) *
               TUndoList::kBytesPerStep;
    }
    void Push(std::vector<uint8_t> image) {
        states.push_front(std::move(image));
        auto total = [&] {
            size_t sum = 0;
            for (const auto& s : states) sum += BytesOf(s);
            return sum;
        };
        while (states.size() > TUndoList::kMaxUndoStates ||
               (states.size() > 1 && total() > budget)) {
            states.pop_back();
        }
    }
    std::vector<uint8_t> Pop() {
        std::vector<uint8_t> front = std::move(states.front());
        states.pop_front();
        return front;
    }
};

// Random changes, undos, redos, edits that save no undo state and automatic backups, checked
// against the model after every step: redo brings back exactly the state undo replaced, only until
// the next change, within the same limits, and both set Modified.
TEST(Redo, RandomSequencesMatchTheModelOfTwoStacks) {
    constexpr size_t kBudget = 40 * TUndoList::kBytesPerStep;  // a few states of a grown project
    for (uint32_t seed = 1; seed <= 8; ++seed) {
        ProjectData project;
        project.UndoList = TUndoList(kBudget);
        project.RedoList = TUndoList(kBudget);
        ModelList undo{kBudget, {}};
        ModelList redo{kBudget, {}};
        std::mt19937 random(seed);
        auto pick = [&](int lo, int hi) {
            return std::uniform_int_distribution<int>(lo, hi)(random);
        };

        for (int op = 0; op < 3000; ++op) {
            const auto before = LinesImage(project);
            const int kind = pick(0, 9);
            project.Modified = false;  // an automatic backup may have written the project
            if (kind <= 2) {  // a command that saves its undo state (a drag start does the same)
                project.CurrentLine = pick(0, 7);
                AddStep(project, pick(0, 0xFFFFFF), 0, pick(0, 9000), 0, true);
                undo.Push(before);
                redo.states.clear();
            } else if (kind == 3) {  // a drag: one state at its start, then several moves
                SaveUndoState(project);
                for (int i = pick(0, 3); i > 0; --i) {
                    MoveSelected(project, pick(-500, 500), false, kLimits);
                }
                undo.Push(before);
                redo.states.clear();
            } else if (kind == 4) {  // the brightness wheel over selected steps: no undo state
                if (StepCount(project) == 0) continue;
                SetSelection(project, 1, true);
                OffsetBrightness(project, pick(0, 1) == 1 ? 4 : -16, nullptr);
                redo.states.clear();
            } else if (kind <= 6) {
                const bool had = !undo.states.empty();
                Undo(project);
                if (had) {
                    redo.Push(before);
                    ASSERT_EQ(LinesImage(project), undo.Pop()) << "seed " << seed << " op " << op;
                }
                ASSERT_EQ(project.Modified, had);
            } else {
                const bool had = !redo.states.empty();
                ASSERT_EQ(CanRedo(project), had) << "seed " << seed << " op " << op;
                Redo(project);
                if (had) {
                    undo.Push(before);
                    ASSERT_EQ(LinesImage(project), redo.Pop()) << "seed " << seed << " op " << op;
                } else {
                    ASSERT_EQ(LinesImage(project), before);
                }
                ASSERT_EQ(project.Modified, had);
            }
            ASSERT_EQ(static_cast<size_t>(project.UndoList.Count()), undo.states.size());
            ASSERT_EQ(CanRedo(project), !redo.states.empty()) << "seed " << seed << " op " << op;
            if (StepCount(project) > 30) {  // keep the states within a few budgets
                project.Lines[static_cast<size_t>(pick(0, 7))].Clear();
                redo.states.clear();
            }
        }
    }
}

// Fifty undos after more changes than the list keeps, then fifty redos: every state comes back in
// order, the last one is the newest, and a fifty-first redo does nothing.
TEST(Redo, FiftyUndoneStatesAllComeBackAndNoMore) {
    ProjectData project;
    std::vector<std::vector<uint8_t>> states;
    for (int i = 0; i < 55; ++i) {
        states.push_back(LinesImage(project));
        AddStep(project, 0x000080, 0, i * 100, 0, true);
    }
    const auto newest = LinesImage(project);
    for (int i = 0; i < 55; ++i) Undo(project);
    EXPECT_EQ(LinesImage(project), states[5]);
    EXPECT_EQ(project.RedoList.Count(), 50);
    for (int i = 6; i < 55; ++i) {
        Redo(project);
        ASSERT_EQ(LinesImage(project), states[static_cast<size_t>(i)]) << i;
    }
    Redo(project);
    EXPECT_EQ(LinesImage(project), newest);
    EXPECT_FALSE(CanRedo(project));
    Redo(project);
    EXPECT_EQ(LinesImage(project), newest);
    EXPECT_EQ(project.UndoList.Count(), 50);
}

// Undo restores the selection it saved; redo brings back the one that was there, and a project
// load or save (ClearUndo) ends redo as it ends undo.
TEST(Redo, BringsBackTheSelectionAndEndsWithTheUndoList) {
    ProjectData project;
    Put(project, 3, 1000, true);
    Put(project, 3, 2000);
    project.CurrentLine = 3;
    DeleteSelectedInLine(project);
    Undo(project);
    ASSERT_EQ(project.Lines[3].Count(), 2);
    EXPECT_EQ(project.Lines[3].At(0).Selected, 1);
    Redo(project);
    ASSERT_EQ(project.Lines[3].Count(), 1);
    EXPECT_EQ(project.Lines[3].At(0).Time, 2000);
    Undo(project);
    ClearUndo(project);
    EXPECT_FALSE(CanRedo(project));
}

}  // namespace
}  // namespace lumavox
