#include <gtest/gtest.h>

#include <atomic>
#include <deque>
#include <random>
#include <thread>
#include <vector>

#include "StepTestUtil.h"
#include "model/ColourEval.h"
#include "model/StepOps.h"

namespace lumavox {
namespace {

using testing::LinesImage;

constexpr TimeLimits kLimits{3000, 2000, 20000};
// Pasting doubles steps quickly; beyond this many the sequence only thins the project out again.
constexpr int kEnough = 1500;

// The invariants every operation keeps; returns a description of the first broken one.
std::string BrokenInvariant(const ProjectData& project) {
    for (int line = 0; line < kLineCount; ++line) {
        const auto& items = project.Lines[static_cast<size_t>(line)].ItemsUnlocked();
        for (size_t i = 0; i < items.size(); ++i) {
            const Step& s = *items[i];
            const std::string where = "line " + std::to_string(line) + " step " + std::to_string(i);
            if (s.LineIndex != line) return where + ": LineIndex " + std::to_string(s.LineIndex);
            if (s.Brightness < -255 || s.Brightness > 255) return where + ": brightness";
            if (s.Selected > 1) return where + ": Selected";
            const int32_t expected = i + 1 < items.size() ? items[i + 1]->Time - s.Time : 0;
            if (expected < 0) return where + ": not sorted";
            if (s.Length != expected) return where + ": Length " + std::to_string(s.Length);
        }
    }
    for (const auto& s : project.LineClipboard.ItemsUnlocked()) {
        if (s->Selected != 0) return "selected step in the line clipboard";
    }
    return {};
}

// Which selected steps an operation has clamped to the time line.
enum class Clamped { None, CurrentLine, AllLines };

bool SelectedWithinLimits(const ProjectData& project, Clamped scope) {
    for (int line = 0; line < kLineCount; ++line) {
        if (scope == Clamped::CurrentLine && line != project.CurrentLine) continue;
        for (const auto& s : project.Lines[static_cast<size_t>(line)].ItemsUnlocked()) {
            if (s->Selected != 0 && (s->Time < kLimits.Min() || s->Time > kLimits.Max())) {
                return false;
            }
        }
    }
    return true;
}

// Runs one editor-like operation chosen at random.
class RandomEditor {
public:
    explicit RandomEditor(uint32_t seed) : m_random(seed) {}

    // Returns true when the operation was an Undo.
    bool RunOne(ProjectData& project, Clamped& clamped) {
        clamped = Clamped::None;
        switch (Int(0, 21)) {
            case 0:
            case 1:
            case 2:
                AddStep(project, Int(0, 0xFFFFFF), Int(-255, 255), Time(), Int(0, 500),
                        Int(0, 1) == 1,
                        Int(0, 9) == 0 ? StepPlacement::AfterLineEnd : StepPlacement::AtTime);
                break;
            case 3:
                SetSelection(project, static_cast<uint8_t>(Int(0, 1)), Int(0, 1) == 1);
                break;
            case 4:
                SelectRange(project, Int(-1, 12), Int(-1, 12));
                break;
            case 5:
                DeleteSelectedInLine(project);
                break;
            case 6:
                DeleteSelected(project);
                break;
            case 7:
                if (Int(0, 4) == 0) ClearCurrentLine(project);
                break;
            case 8:
                CopyLine(project, Int(0, 1) == 1);
                break;
            case 9:
                CopyMulti(project, Int(0, 1) == 1);
                break;
            case 10:
                if (StepCount(project) < kEnough) PasteLine(project, Time());
                break;
            case 11:
                if (StepCount(project) < kEnough) PasteMulti(project, Time());
                break;
            case 12:
                if (Int(0, 1) == 1) SaveUndoState(project);  // a drag starts
                MoveSelected(project, Int(-3000, 3000), Int(0, 1) == 1, kLimits);
                clamped = Clamped::AllLines;
                break;
            case 13:
                StretchDrag(project);
                clamped = Clamped::CurrentLine;
                break;
            case 14:
                StretchSelected(project, Real(-10, 10), kLimits);
                clamped = Clamped::AllLines;
                break;
            case 15:
                ScaleBrightness(project, Real(-4, 4));
                break;
            case 16:
                AlignSelected(project);
                break;
            case 17:
                CopyLineFrom(project, Int(-1, 8), Int(-1, 8));
                break;
            case 18:
                project.CurrentLine = Int(0, 7);
                break;
            case 19:
                SaveUndoState(project);
                break;
            default:
                Undo(project);
                return true;
        }
        return false;
    }

private:
    int32_t Int(int32_t lo, int32_t hi) {
        return std::uniform_int_distribution<int32_t>(lo, hi)(m_random);
    }
    double Real(double lo, double hi) {
        return std::uniform_real_distribution<double>(lo, hi)(m_random);
    }
    int32_t Time() { return Int(-4000, 24000); }

    // What the mark bar does: remember the origins, move one anchor, stretch the rest, repeatedly.
    void StretchDrag(ProjectData& project) {
        const int line = project.CurrentLine;
        TStepList& list = project.Lines[static_cast<size_t>(line)];
        const Step* a = nullptr;
        const Step* b = nullptr;
        for (const auto& s : list.ItemsUnlocked()) {
            if (s->Selected == 0) continue;
            if (a == nullptr) a = s;
            b = s;
        }
        if (a == nullptr) return;
        SaveUndoState(project);
        list.Edit([](TStepList::Items& items) {
            for (auto& s : items) {
                if (s->Selected != 0) s->DragOrigin = s->Time;
            }
        });
        Step* dragged = const_cast<Step*>(Int(0, 1) == 1 ? b : a);
        const Step* other = dragged == a ? b : a;
        for (int i = 0; i < 3; ++i) {
            const int32_t newTime = Time();
            list.Edit([&](TStepList::Items&) { dragged->Time = newTime; });
            const double span = dragged->DragOrigin - other->DragOrigin;
            const double x = (newTime - other->DragOrigin) / span;  // may be inf or NaN
            AnchoredStretch(project, a, b, dragged, x, kLimits);
        }
    }

    std::mt19937 m_random;
};

// Long random sequences of operations, with another thread evaluating colours all the while as the
// output thread does. After every operation the invariants hold, and every Undo brings back exactly
// the bytes of the state that was saved.
TEST(StepOperationsProperty, RandomSequencesKeepInvariantsAndUndoRestoresBytes) {
    for (uint32_t seed = 1; seed <= 6; ++seed) {
        ProjectData project;
        std::atomic<bool> stop{false};
        std::thread reader([&] {
            while (!stop.load(std::memory_order_relaxed)) {
                for (int line = 0; line < kLineCount; ++line) {
                    const LineColour c = LineColourAt(project, line, 5000);
                    ASSERT_TRUE(c.Colour == NoColour || (c.Colour & ~0xFFFFFF) == 0);
                }
            }
        });

        RandomEditor editor(seed);
        std::deque<std::vector<uint8_t>> saved;  // mirror of the undo list
        for (int op = 0; op < 2500; ++op) {
            const auto before = LinesImage(project);
            const int countBefore = project.UndoList.Count();
            const TStepList* frontBefore = countBefore > 0 ? &project.UndoList.At(0) : nullptr;
            Clamped clamped = Clamped::None;
            const bool wasUndo = editor.RunOne(project, clamped);

            if (wasUndo) {
                if (!saved.empty()) {
                    ASSERT_EQ(LinesImage(project), saved.front())
                        << "seed " << seed << " op " << op;
                    saved.pop_front();
                } else {
                    ASSERT_EQ(LinesImage(project), before);
                }
            } else {
                const int pushed =
                    project.UndoList.Count() > 0 && &project.UndoList.At(0) != frontBefore ? 1 : 0;
                // the only operation that saves two states at once is a drag that starts twice;
                // the random editor never does that
                if (pushed == 1) {
                    saved.push_front(before);
                    if (saved.size() > TUndoList::kMaxUndoStates) saved.pop_back();
                }
            }
            ASSERT_EQ(static_cast<int>(saved.size()), project.UndoList.Count());
            const std::string broken = BrokenInvariant(project);
            ASSERT_TRUE(broken.empty()) << broken << " (seed " << seed << ", op " << op << ")";
            if (clamped != Clamped::None) {
                ASSERT_TRUE(SelectedWithinLimits(project, clamped)) << "seed " << seed;
            }
        }
        stop.store(true);
        reader.join();
    }
}

}  // namespace
}  // namespace lumavox
