#pragma once

#include <deque>
#include <memory>

#include "model/TStepList.h"

namespace lumavox {

// Saved states for undo, newest first, at most kMaxUndoStates. Each snapshot is a TStepList holding
// copies of every step of all eight lines (line 0 first, each in list order). UI thread only; the
// list owns its snapshots and their steps.
class TUndoList {
public:
    static constexpr int kMaxUndoStates = 50;

    int Count() const { return static_cast<int>(m_states.size()); }
    bool Empty() const { return m_states.empty(); }
    // Puts a snapshot in front, dropping the oldest beyond kMaxUndoStates.
    void PushFront(std::unique_ptr<TStepList> snapshot);
    // Removes and returns the newest snapshot; null when there is none.
    std::unique_ptr<TStepList> PopFront();
    const TStepList& At(int index) const { return *m_states[static_cast<size_t>(index)]; }
    void Clear() { m_states.clear(); }

private:
    std::deque<std::unique_ptr<TStepList>> m_states;
};

}  // namespace lumavox
