#include "model/StepOps.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <numeric>
#include <optional>
#include <utility>
#include <vector>

namespace lumavox {

namespace {

using Items = TStepList::Items;

constexpr int64_t kInt32Min = std::numeric_limits<int32_t>::min();
constexpr int64_t kInt32Max = std::numeric_limits<int32_t>::max();

std::unique_ptr<Step> CopyOf(const Step& s) {
    return std::make_unique<Step>(s);
}

TStepList* CurrentList(ProjectData& project) {
    const int32_t line = project.CurrentLine.load(std::memory_order_relaxed);
    if (line < 0 || line >= kLineCount) return nullptr;
    return &project.Lines[static_cast<size_t>(line)];
}

const TStepList* CurrentList(const ProjectData& project) {
    const int32_t line = project.CurrentLine.load(std::memory_order_relaxed);
    if (line < 0 || line >= kLineCount) return nullptr;
    return &project.Lines[static_cast<size_t>(line)];
}

int CountSelected(const TStepList& line) {
    int n = 0;
    for (const auto& s : line.ItemsUnlocked()) n += s->Selected != 0 ? 1 : 0;
    return n;
}

// trunc(v) clamped to the limits in the same order as TimeLimits::Clamp; none for NaN, which only
// a degenerate stretch factor (0/0) produces.
std::optional<int32_t> ClampTruncated(double v, const TimeLimits& limits) {
    if (std::isnan(v)) return std::nullopt;
    if (v < static_cast<double>(limits.Min())) return limits.Min();
    if (v > static_cast<double>(limits.Max())) return limits.Max();
    // Within [Min, Max] and so within int32; the cast truncates toward zero.
    return static_cast<int32_t>(v);
}

// Sorts one line by Time (equal times keep their list order) and recomputes the Lengths. The order
// and lengths are worked out on the UI thread's unlocked view; the lock is taken only to put the
// pointers into their new places and write the lengths, and not at all when nothing changes.
void NormaliseLine(TStepList& line) {
    const TStepList::View items = line.ItemsUnlocked();
    const size_t n = items.size();
    if (n == 0) return;

    bool sorted = true;
    for (size_t i = 1; i < n && sorted; ++i) sorted = items[i]->Time >= items[i - 1]->Time;

    std::vector<size_t> order;
    if (!sorted) {
        order.resize(n);
        std::iota(order.begin(), order.end(), size_t{0});
        std::stable_sort(order.begin(), order.end(),
                         [&](size_t a, size_t b) { return items[a]->Time < items[b]->Time; });
    }
    auto at = [&](size_t k) -> const Step& { return sorted ? *items[k] : *items[order[k]]; };

    std::vector<int32_t> lengths(n, 0);
    bool lengthsMatch = true;
    for (size_t k = 0; k < n; ++k) {
        if (k + 1 < n) {
            lengths[k] = SaturateTime(static_cast<int64_t>(at(k + 1).Time) - at(k).Time);
        }
        lengthsMatch = lengthsMatch && at(k).Length == lengths[k];
    }
    if (sorted && lengthsMatch) return;

    Items reordered;
    if (!sorted) reordered.resize(n);
    line.Edit([&](Items& live) {
        if (!sorted) {
            for (size_t k = 0; k < n; ++k) reordered[k] = std::move(live[order[k]]);
            live.swap(reordered);
        }
        for (size_t k = 0; k < n; ++k) live[k]->Length = lengths[k];
    });
}

TStepList* ListAt(ProjectData& project, int line) {
    if (line < 0 || line >= kLineCount) return nullptr;
    return &project.Lines[static_cast<size_t>(line)];
}

int IndexIn(const TStepList& list, const Step* step) {
    if (step == nullptr) return -1;
    const TStepList::View items = list.ItemsUnlocked();
    // The step's own LineIndex says where it lives; the search only confirms the address, so it
    // never reads through a pointer that may be stale.
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i] == step) return static_cast<int>(i);
    }
    return -1;
}

// Runs fn(Step&) on the step of line at the address, under the list's lock.
template <class Fn>
bool EditStep(ProjectData& project, int line, const Step* step, Fn&& fn) {
    TStepList* list = ListAt(project, line);
    if (list == nullptr) return false;
    const int i = IndexIn(*list, step);
    if (i < 0) return false;
    list->Edit([&](Items& live) { fn(*live[static_cast<size_t>(i)]); });
    return true;
}

// Runs fn(Step&) on every selected step of every line and on current, each once, one mutation
// per line that has any. Returns the number of steps visited.
template <class Fn>
int EditSelectedAnd(ProjectData& project, const Step* current, Fn&& fn) {
    int visited = 0;
    for (TStepList& line : project.Lines) {
        const TStepList::View items = line.ItemsUnlocked();
        const bool any = std::any_of(items.begin(), items.end(), [current](const Step* s) {
            return s->Selected != 0 || s == current;
        });
        if (!any) continue;
        line.Edit([&](Items& live) {
            for (auto& s : live) {
                if (s->Selected == 0 && s.get() != current) continue;
                fn(*s);
                ++visited;
            }
        });
    }
    return visited;
}

// Moves new steps onto the end of a line in one mutation.
void AppendSteps(TStepList& line, Items& fresh) {
    if (fresh.empty()) return;
    line.Edit([&](Items& live) {
        live.reserve(live.size() + fresh.size());
        for (auto& s : fresh) live.push_back(std::move(s));
    });
    fresh.clear();
}

// Removes the selected steps of a line in one mutation; they are freed after the lock is released.
int RemoveSelected(TStepList& line) {
    const int selected = CountSelected(line);
    if (selected == 0) return 0;
    Items kept;
    kept.reserve(static_cast<size_t>(line.Count() - selected));
    Items removed;
    removed.reserve(static_cast<size_t>(selected));
    line.Edit([&](Items& live) {
        for (auto& s : live) (s->Selected != 0 ? removed : kept).push_back(std::move(s));
        live.swap(kept);
    });
    return selected;
}

}  // namespace

int32_t SaturateTime(int64_t time) {
    return static_cast<int32_t>(std::clamp(time, kInt32Min, kInt32Max));
}

int32_t TimeLimits::Min() const {
    return SaturateTime(-static_cast<int64_t>(PrePlayTime));
}

int32_t TimeLimits::Max() const {
    return SaturateTime(static_cast<int64_t>(SoundLength) + PostPlayTime);
}

int32_t TimeLimits::Clamp(int64_t time) const {
    if (time < Min()) return Min();
    if (time > Max()) return Max();
    return static_cast<int32_t>(time);
}

const Step* StepAt(const ProjectData& project, int i) {
    const TStepList* line = CurrentList(project);
    if (line == nullptr || i < 0 || i >= line->Count()) return nullptr;
    return &line->At(i);
}

int SelectedCountInLine(const ProjectData& project) {
    const TStepList* line = CurrentList(project);
    return line == nullptr ? 0 : CountSelected(*line);
}

int SelectedCount(const ProjectData& project) {
    int n = 0;
    for (const TStepList& line : project.Lines) n += CountSelected(line);
    return n;
}

int StepCount(const ProjectData& project) {
    int n = 0;
    for (const TStepList& line : project.Lines) n += line.Count();
    return n;
}

void Normalise(ProjectData& project) {
    for (TStepList& line : project.Lines) NormaliseLine(line);
}

namespace {

std::unique_ptr<TStepList> Snapshot(const ProjectData& project) {
    Items all;
    all.reserve(static_cast<size_t>(StepCount(project)));
    for (const TStepList& line : project.Lines) {
        for (const auto& s : line.ItemsUnlocked()) all.push_back(CopyOf(*s));
    }
    auto snapshot = std::make_unique<TStepList>();
    snapshot->Edit([&](Items& items) { items.swap(all); });
    return snapshot;
}

std::array<uint64_t, kLineCount> LineRevisions(const ProjectData& project) {
    std::array<uint64_t, kLineCount> revisions{};
    for (size_t i = 0; i < revisions.size(); ++i) revisions[i] = project.Lines[i].Revision();
    return revisions;
}

// Moves the snapshot's steps into the lines they name, replacing all eight lines.
void Restore(ProjectData& project, std::unique_ptr<TStepList> snapshot) {
    std::array<Items, kLineCount> restored;
    // The snapshot is private to this function, so its lock is uncontended.
    snapshot->Edit([&](Items& items) {
        for (auto& s : items) {
            const int32_t line = s->LineIndex;
            if (line >= 0 && line < kLineCount) {
                restored[static_cast<size_t>(line)].push_back(std::move(s));
            }
        }
        items.clear();
    });
    for (size_t i = 0; i < restored.size(); ++i) {
        project.Lines[i].Edit([&](Items& live) { live.swap(restored[i]); });
        restored[i].clear();  // frees the replaced steps outside the lock
    }
    project.RedoRevisions = LineRevisions(project);
    // The restored state differs from the one a save (an automatic backup, say) may have written.
    project.Modified = true;
}

}  // namespace

void SaveUndoState(ProjectData& project) {
    project.RedoList.Clear();
    project.UndoList.PushFront(Snapshot(project));
}

void Undo(ProjectData& project) {
    std::unique_ptr<TStepList> snapshot = project.UndoList.PopFront();
    if (!snapshot) return;
    // Redo states from before an edit that saved no undo state cannot follow this one.
    if (!CanRedo(project)) project.RedoList.Clear();
    project.RedoList.PushFront(Snapshot(project));
    Restore(project, std::move(snapshot));
}

bool CanRedo(const ProjectData& project) {
    return !project.RedoList.Empty() && project.RedoRevisions == LineRevisions(project);
}

void Redo(ProjectData& project) {
    if (!CanRedo(project)) return;
    std::unique_ptr<TStepList> snapshot = project.RedoList.PopFront();
    project.UndoList.PushFront(Snapshot(project));
    Restore(project, std::move(snapshot));
}

void ClearUndo(ProjectData& project) {
    project.UndoList.Clear();
    project.RedoList.Clear();
}

void ClearLine(ProjectData& project, int line) {
    if (line < 0 || line >= kLineCount) return;
    project.Lines[static_cast<size_t>(line)].Clear();
}

void SetSelection(ProjectData& project, uint8_t value, bool allLines) {
    auto apply = [value](TStepList& line) {
        const auto& items = line.ItemsUnlocked();
        const bool differs = std::any_of(items.begin(), items.end(),
                                         [value](const auto& s) { return s->Selected != value; });
        if (!differs) return;
        line.Edit([value](Items& live) {
            for (auto& s : live) s->Selected = value;
        });
    };
    if (allLines) {
        for (TStepList& line : project.Lines) apply(line);
    } else if (TStepList* line = CurrentList(project)) {
        apply(*line);
    }
}

void SelectRange(ProjectData& project, int a, int b) {
    TStepList* line = CurrentList(project);
    if (line == nullptr) return;
    const int count = line->Count();
    int first = 0;
    int last = -1;  // empty range
    if (a != -1 && b != -1) {
        if (a > b) std::swap(a, b);
        if (a < count && b < count) {
            // Negative indices other than -1 name no step; they only shorten the range.
            first = std::max(a, 0);
            last = b;
        }
    } else if (a == -1 && b >= 0 && b < count) {
        first = b;
        last = b;
    }
    line->Edit([&](Items& live) {
        for (int i = 0; i < count; ++i) {
            live[static_cast<size_t>(i)]->Selected = (i >= first && i <= last) ? 1 : 0;
        }
    });
}

int AddStep(ProjectData& project, int32_t colour, int32_t brightness, int32_t time, int32_t length,
            bool saveUndo, StepPlacement placement) {
    TStepList* line = CurrentList(project);
    if (line == nullptr) return 0;
    if (saveUndo) SaveUndoState(project);
    auto step = std::make_unique<Step>();
    step->LineIndex = project.CurrentLine.load(std::memory_order_relaxed);
    if (placement == StepPlacement::AfterLineEnd) {
        time = 0;
        if (!line->Empty()) {
            const Step& last = line->At(line->Count() - 1);
            time = SaturateTime(static_cast<int64_t>(last.Time) + last.Length);
        }
    }
    step->Time = time;
    step->Length = length;
    step->Colour = colour;
    step->Brightness = std::clamp(brightness, kMinBrightness, kMaxBrightness);
    line->Edit([&](Items& live) { live.push_back(std::move(step)); });
    Normalise(project);
    project.Modified = true;
    return line->Count();
}

int DeleteSelectedInLine(ProjectData& project) {
    TStepList* line = CurrentList(project);
    if (line == nullptr || CountSelected(*line) == 0) return 0;
    SaveUndoState(project);
    const int removed = RemoveSelected(*line);
    Normalise(project);
    project.Modified = true;
    return removed;
}

int DeleteSelected(ProjectData& project) {
    if (SelectedCount(project) == 0) return 0;
    SaveUndoState(project);
    int removed = 0;
    for (TStepList& line : project.Lines) removed += RemoveSelected(line);
    Normalise(project);
    project.Modified = true;
    return removed;
}

void ClearCurrentLine(ProjectData& project) {
    TStepList* line = CurrentList(project);
    if (line == nullptr) return;
    SaveUndoState(project);
    line->Clear();
    project.Modified = true;
}

int CopyLine(ProjectData& project, bool cut) {
    TStepList* line = CurrentList(project);
    if (line == nullptr) return 0;
    std::vector<Step> copies;
    for (const auto& s : line->ItemsUnlocked()) {
        if (s->Selected == 0) continue;
        copies.push_back(*s);
        copies.back().Selected = 0;
    }
    if (copies.empty()) return 0;
    const int n = static_cast<int>(copies.size());
    project.LineClipboard.Assign(std::move(copies));
    if (cut) DeleteSelectedInLine(project);
    return n;
}

int CopyMulti(ProjectData& project, bool cut) {
    std::vector<Step> copies;
    for (const TStepList& line : project.Lines) {
        for (const auto& s : line.ItemsUnlocked()) {
            if (s->Selected == 0) continue;
            copies.push_back(*s);
            copies.back().Selected = 0;
        }
    }
    if (copies.empty()) return 0;
    const int n = static_cast<int>(copies.size());
    project.MultiLineClipboard.Assign(std::move(copies));
    if (cut) DeleteSelected(project);
    return n;
}

int PasteLine(ProjectData& project, int32_t t) {
    TStepList* line = CurrentList(project);
    if (line == nullptr || project.LineClipboard.Empty()) return 0;
    SaveUndoState(project);
    const int32_t lineIndex = project.CurrentLine.load(std::memory_order_relaxed);
    const auto& clip = project.LineClipboard.ItemsUnlocked();
    const int64_t shift = static_cast<int64_t>(t) - clip.front()->Time;
    Items fresh;
    fresh.reserve(clip.size());
    for (const auto& s : clip) {
        auto copy = CopyOf(*s);
        copy->LineIndex = lineIndex;
        copy->Time = SaturateTime(copy->Time + shift);
        copy->Selected = 0;
        fresh.push_back(std::move(copy));
    }
    const int n = static_cast<int>(fresh.size());
    AppendSteps(*line, fresh);
    Normalise(project);
    project.Modified = true;
    return n;
}

int PasteMulti(ProjectData& project, int32_t t) {
    if (project.MultiLineClipboard.Empty()) return 0;
    SaveUndoState(project);
    project.MultiLineClipboard.Edit([](Items& clip) {
        std::stable_sort(clip.begin(), clip.end(),
                         [](const auto& a, const auto& b) { return a->Time < b->Time; });
    });
    const auto& clip = project.MultiLineClipboard.ItemsUnlocked();
    const int64_t shift = static_cast<int64_t>(t) - clip.front()->Time;
    std::array<Items, kLineCount> fresh;
    int n = 0;
    for (const auto& s : clip) {
        const int32_t line = s->LineIndex;
        if (line < 0 || line >= kLineCount) continue;
        auto copy = CopyOf(*s);
        copy->Time = SaturateTime(copy->Time + shift);
        fresh[static_cast<size_t>(line)].push_back(std::move(copy));
        ++n;
    }
    for (size_t i = 0; i < fresh.size(); ++i) AppendSteps(project.Lines[i], fresh[i]);
    Normalise(project);
    project.Modified = true;
    return n;
}

int MoveSelected(ProjectData& project, int32_t deltaMs, bool noPass, const TimeLimits& limits) {
    if (deltaMs == 0) return 0;
    int moved = 0;
    for (TStepList& line : project.Lines) {
        const TStepList::View items = line.ItemsUnlocked();
        const size_t n = items.size();
        if (CountSelected(line) == 0) continue;
        // The unselected neighbour each selected step approaches: the nearest unselected step after
        // it for a move right, before it for a move left. Unselected steps do not move, so one pass
        // finds them all.
        constexpr size_t kNone = std::numeric_limits<size_t>::max();
        std::vector<size_t> neighbour(n, kNone);
        if (deltaMs > 0) {
            size_t next = kNone;
            for (size_t i = n; i-- > 0;) {
                neighbour[i] = next;
                if (items[i]->Selected == 0) next = i;
            }
        } else {
            size_t prev = kNone;
            for (size_t i = 0; i < n; ++i) {
                neighbour[i] = prev;
                if (items[i]->Selected == 0) prev = i;
            }
        }
        std::vector<int32_t> times(n);
        for (size_t i = 0; i < n; ++i) {
            const Step& s = *items[i];
            times[i] = s.Time;
            if (s.Selected == 0) continue;
            int64_t time = static_cast<int64_t>(s.Time) + deltaMs;
            if (neighbour[i] != kNone) {
                const int64_t other = items[neighbour[i]]->Time;
                if (deltaMs > 0 && ((noPass && time > other) || time == other)) time = other - 1;
                if (deltaMs < 0 && ((noPass && time < other) || time == other)) time = other + 1;
            }
            times[i] = limits.Clamp(time);
            ++moved;
        }
        line.Edit([&](Items& live) {
            for (size_t i = 0; i < n; ++i) live[i]->Time = times[i];
        });
    }
    if (moved == 0) return 0;
    Normalise(project);
    project.Modified = true;
    return moved;
}

int AnchoredStretch(ProjectData& project, const Step* a, const Step* b, const Step* dragged,
                    double x, const TimeLimits& limits) {
    TStepList* line = CurrentList(project);
    if (line == nullptr) return 0;
    const TStepList::View items = line->ItemsUnlocked();
    // a and b must be steps of this line: their DragOrigin is read below.
    auto holds = [&](const Step* p) {
        return p != nullptr &&
               std::any_of(items.begin(), items.end(), [p](const Step* s) { return s == p; });
    };
    if (!holds(a) || !holds(b)) return 0;
    const Step* anchor = nullptr;  // the anchor that stays put
    if (dragged == b) anchor = a;
    if (dragged == a) anchor = b;

    const size_t n = items.size();
    std::vector<int32_t> times(n);
    int selected = 0;
    for (size_t i = 0; i < n; ++i) {
        const Step& s = *items[i];
        times[i] = s.Time;
        if (s.Selected == 0) continue;
        ++selected;
        if (anchor != nullptr && &s != a && &s != b) {
            const double origin = anchor->DragOrigin;
            const double v = origin + (static_cast<double>(s.DragOrigin) - origin) * x;
            // A degenerate factor (both anchors started at the same time) leaves the step alone.
            if (const auto t = ClampTruncated(v, limits)) times[i] = *t;
        }
        times[i] = limits.Clamp(times[i]);
    }
    if (selected == 0) return 0;
    line->Edit([&](Items& live) {
        for (size_t i = 0; i < n; ++i) live[i]->Time = times[i];
    });
    Normalise(project);
    project.Modified = true;
    return selected;
}

int StretchSelected(ProjectData& project, double x, const TimeLimits& limits) {
    SaveUndoState(project);
    std::optional<int32_t> earliest;
    for (const TStepList& line : project.Lines) {
        for (const auto& s : line.ItemsUnlocked()) {
            if (s->Selected != 0 && (!earliest || s->Time < *earliest)) earliest = s->Time;
        }
    }
    if (!earliest) return 0;
    const double m = *earliest;
    int stretched = 0;
    for (TStepList& line : project.Lines) {
        const TStepList::View items = line.ItemsUnlocked();
        std::vector<int32_t> times(items.size());
        int inLine = 0;
        for (size_t i = 0; i < items.size(); ++i) {
            times[i] = items[i]->Time;
            if (items[i]->Selected == 0) continue;
            ++inLine;
            const double v = m + (static_cast<double>(items[i]->Time) - m) * x;
            if (const auto t = ClampTruncated(v, limits)) times[i] = *t;
        }
        if (inLine == 0) continue;
        stretched += inLine;
        line.Edit([&](Items& live) {
            for (size_t i = 0; i < live.size(); ++i) live[i]->Time = times[i];
        });
    }
    Normalise(project);
    project.Modified = true;
    return stretched;
}

int ScaleBrightness(ProjectData& project, double x) {
    if (SelectedCount(project) == 0) return 0;
    SaveUndoState(project);
    int scaled = 0;
    for (TStepList& line : project.Lines) {
        if (CountSelected(line) == 0) continue;
        line.Edit([&](Items& live) {
            for (auto& s : live) {
                if (s->Selected == 0) continue;
                ++scaled;
                const double v = static_cast<double>(s->Brightness) * x;
                if (std::isnan(v)) continue;
                if (v > kMaxBrightness) {
                    s->Brightness = kMaxBrightness;
                } else if (v < kMinBrightness) {
                    s->Brightness = kMinBrightness;
                } else {
                    s->Brightness = static_cast<int32_t>(v);
                }
            }
        });
    }
    project.Modified = true;
    return scaled;
}

int AlignSelected(ProjectData& project) {
    std::optional<int32_t> first;
    for (const TStepList& line : project.Lines) {
        for (const auto& s : line.ItemsUnlocked()) {
            if (s->Selected != 0) {
                first = s->Time;
                break;
            }
        }
        if (first) break;
    }
    if (!first) return 0;
    SaveUndoState(project);
    const int32_t time = *first;
    int aligned = 0;
    for (TStepList& line : project.Lines) {
        if (CountSelected(line) == 0) continue;
        line.Edit([&](Items& live) {
            for (auto& s : live) {
                if (s->Selected == 0) continue;
                s->Time = time;
                ++aligned;
            }
        });
    }
    Normalise(project);
    project.Modified = true;
    return aligned;
}

int CopyLineFrom(ProjectData& project, int src, int dst) {
    if (src < 0 || src >= kLineCount || dst < 0 || dst >= kLineCount || src == dst) return 0;
    const TStepList& from = project.Lines[static_cast<size_t>(src)];
    if (from.Empty()) return 0;
    std::vector<Step> copies = from.Copy();
    for (Step& s : copies) s.LineIndex = dst;
    TStepList& to = project.Lines[static_cast<size_t>(dst)];
    to.Assign(std::move(copies));
    project.Modified = true;
    return to.Count();
}

int IndexOfStep(const ProjectData& project, int line, const Step* step) {
    if (line < 0 || line >= kLineCount) return -1;
    return IndexIn(project.Lines[static_cast<size_t>(line)], step);
}

int LineOfStep(const ProjectData& project, const Step* step) {
    for (int line = 0; line < kLineCount; ++line) {
        if (IndexOfStep(project, line, step) >= 0) return line;
    }
    return -1;
}

bool SetStepColour(ProjectData& project, int line, const Step* step, int32_t colour) {
    return EditStep(project, line, step, [colour](Step& s) { s.Colour = colour; });
}

bool SetStepBrightness(ProjectData& project, int line, const Step* step, int32_t brightness) {
    const int32_t b = std::clamp(brightness, kMinBrightness, kMaxBrightness);
    return EditStep(project, line, step, [b](Step& s) { s.Brightness = b; });
}

bool SetStepSelected(ProjectData& project, int line, const Step* step, bool selected) {
    const uint8_t value = selected ? 1 : 0;
    return EditStep(project, line, step, [value](Step& s) { s.Selected = value; });
}

bool SetStepTime(ProjectData& project, int line, const Step* step, int32_t time) {
    if (!EditStep(project, line, step, [time](Step& s) { s.Time = time; })) return false;
    Normalise(project);
    return true;
}

int OffsetBrightness(ProjectData& project, int32_t delta, const Step* current) {
    return EditSelectedAnd(project, current, [delta](Step& s) {
        const int64_t b = static_cast<int64_t>(s.Brightness) + delta;
        s.Brightness = static_cast<int32_t>(std::clamp<int64_t>(b, kMinBrightness, kMaxBrightness));
    });
}

int SetColourOfSelectedAnd(ProjectData& project, const Step* current, int32_t colour) {
    return EditSelectedAnd(project, current, [colour](Step& s) { s.Colour = colour; });
}

int SetTimeOfSelectedAnd(ProjectData& project, const Step* current, int32_t time) {
    const int n = EditSelectedAnd(project, current, [time](Step& s) { s.Time = time; });
    if (n > 0) Normalise(project);
    return n;
}

int SelectSteps(ProjectData& project, std::span<const Step* const> steps) {
    // One pass over each line against the sorted addresses: a band over a dense line picks as
    // many steps as the line holds, so a search of the line per pick would be quadratic. The
    // addresses are only compared, never read through.
    std::vector<const Step*> wanted(steps.begin(), steps.end());
    std::sort(wanted.begin(), wanted.end(), std::less<const Step*>());
    wanted.erase(std::unique(wanted.begin(), wanted.end()), wanted.end());
    if (wanted.empty()) return 0;
    int selected = 0;
    for (TStepList& line : project.Lines) {
        const TStepList::View items = line.ItemsUnlocked();
        std::vector<size_t> picks;
        for (size_t i = 0; i < items.size(); ++i) {
            if (items[i]->Selected == 0 && std::binary_search(wanted.begin(), wanted.end(),
                                                              items[i], std::less<const Step*>())) {
                picks.push_back(i);
            }
        }
        if (picks.empty()) continue;
        line.Edit([&](Items& live) {
            for (size_t i : picks) {
                if (live[i]->Selected == 0) ++selected;
                live[i]->Selected = 1;
            }
        });
    }
    return selected;
}

void StoreDragOrigins(ProjectData& project) {
    TStepList* line = CurrentList(project);
    if (line == nullptr || CountSelected(*line) == 0) return;
    line->Edit([](Items& live) {
        for (auto& s : live) {
            if (s->Selected != 0) s->DragOrigin = s->Time;
        }
    });
}

bool SetMarks(ProjectData& project, const Step* step, int32_t markX, int32_t markY) {
    return EditStep(project, LineOfStep(project, step), step, [markX, markY](Step& s) {
        s.MarkX = markX;
        s.MarkY = markY;
    });
}

std::optional<int32_t> EarliestSelectedTime(const ProjectData& project) {
    std::optional<int32_t> earliest;
    for (const TStepList& line : project.Lines) {
        for (const Step* s : line.ItemsUnlocked()) {
            if (s->Selected != 0 && (!earliest || s->Time < *earliest)) earliest = s->Time;
        }
    }
    return earliest;
}

SelectedEnds FirstLastSelectedInLine(const ProjectData& project) {
    SelectedEnds ends;
    const TStepList* line = CurrentList(project);
    if (line == nullptr) return ends;
    for (const Step* s : line->ItemsUnlocked()) {
        if (s->Selected == 0) continue;
        if (ends.First == nullptr) ends.First = s;
        ends.Last = s;
    }
    return ends;
}

int ShiftAllSteps(ProjectData& project, int32_t deltaMs) {
    if (deltaMs == 0) return 0;
    int moved = 0;
    for (TStepList& line : project.Lines) {
        if (line.Empty()) continue;
        line.Edit([&](Items& live) {
            for (auto& step : live) step->Time = SaturateTime(int64_t{step->Time} + deltaMs);
        });
        moved += line.Count();
    }
    Normalise(project);
    project.Modified = true;
    return moved;
}

}  // namespace lumavox
