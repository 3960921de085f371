#include <gtest/gtest.h>

#include <deque>
#include <random>
#include <vector>

#include "StepTestUtil.h"
#include "model/StepOps.h"

namespace lumavox {
namespace {

using testing::LinesImage;
using Image = std::vector<uint8_t>;

// An undo or redo list as the user sees it: state images, nearest first, trimmed as TUndoList
// trims (50 at most; the oldest go while over the byte budget, never the newest).
struct ModelList {
    size_t budget;
    std::deque<Image> states;

    void Push(Image image) {
        states.push_front(std::move(image));
        auto bytes = [this] {
            size_t steps = 0;
            for (const Image& s : states) steps += (s.size() - kLineCount * 4) / sizeof(Step);
            return steps * TUndoList::kBytesPerStep;
        };
        while (states.size() > TUndoList::kMaxUndoStates || (states.size() > 1 && bytes() > budget))
            states.pop_back();
    }
    Image Pop() {
        Image front = std::move(states.front());
        states.pop_front();
        return front;
    }
};

// Random commands, drags, brightness wheel turns (no undo state), undos and redos against the
// model: redo brings back exactly the state undo replaced, only until the next edit of any kind,
// within the byte budget, and sets Modified after an automatic backup cleared it.
TEST(Redo, RandomSequencesMatchTheModelOfTwoStacks) {
    constexpr size_t kBudget = 40 * TUndoList::kBytesPerStep;
    constexpr TimeLimits kLimits{3000, 2000, 20000};
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
            SCOPED_TRACE(::testing::Message() << "seed " << seed << " op " << op);
            const Image before = LinesImage(project);
            const int kind = pick(0, 9);
            project.Modified = false;
            if (kind <= 3) {  // a command, or a drag: one undo state, then the change
                SaveUndoState(project);
                if (kind == 3) MoveSelected(project, pick(-500, 500), false, kLimits);
                project.CurrentLine = pick(0, 7);
                if (kind < 3) AddStep(project, pick(0, 0xFFFFFF), 0, pick(0, 9000), 0, false);
                undo.Push(before);
                redo.states.clear();
            } else if (kind == 4 && StepCount(project) > 0) {
                SetSelection(project, 1, true);
                OffsetBrightness(project, pick(0, 1) == 1 ? 4 : -16, nullptr);
                redo.states.clear();
            } else if (kind <= 6) {
                const bool had = !undo.states.empty();
                Undo(project);
                if (had) {
                    redo.Push(before);
                    ASSERT_EQ(LinesImage(project), undo.Pop());
                }
                ASSERT_EQ(project.Modified, had);
            } else {
                const bool had = !redo.states.empty();
                Redo(project);
                ASSERT_EQ(LinesImage(project), had ? redo.Pop() : before);
                if (had) undo.Push(before);
                ASSERT_EQ(project.Modified, had);
            }
            ASSERT_EQ(static_cast<size_t>(project.UndoList.Count()), undo.states.size());
            ASSERT_EQ(CanRedo(project), !redo.states.empty());
            if (StepCount(project) > 30) {  // an edit without undo state keeps the states small
                project.Lines[static_cast<size_t>(pick(0, 7))].Clear();
                redo.states.clear();
            }
        }
    }
}

// Fifty undos after more changes than the list keeps: fifty redos bring the newest state back and
// a fifty-first does nothing.
TEST(Redo, FiftyUndoneStatesAllComeBackAndNoMore) {
    ProjectData project;
    for (int i = 0; i < 55; ++i) AddStep(project, 0x000080, 0, i * 100, 0, true);
    const Image newest = LinesImage(project);
    for (int i = 0; i < 55; ++i) Undo(project);
    EXPECT_EQ(StepCount(project), 5);
    for (int i = 0; i < 51; ++i) Redo(project);
    EXPECT_EQ(LinesImage(project), newest);
    EXPECT_EQ(project.UndoList.Count(), 50);
    EXPECT_FALSE(CanRedo(project));
}

}  // namespace
}  // namespace lumavox
