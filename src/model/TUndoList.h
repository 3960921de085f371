#pragma once

#include <deque>
#include <memory>

#include "model/TStepList.h"

namespace lumavox {

// Saved states for undo, newest first, at most kMaxUndoStates, and no more than a byte budget
// (kMaxUndoBytes unless given) of memory together; the newest is kept whatever its size. Each
// snapshot is a TStepList holding copies of every step of all eight lines (line 0 first, each in
// list order). UI thread only; the list owns its snapshots and their steps.
class TUndoList {
public:
    static constexpr int kMaxUndoStates = 50;
    // Fifty snapshots of a show of 100 000 steps fit; one of a million steps keeps seven.
    static constexpr size_t kMaxUndoBytes = size_t{512} << 20;
    // The memory one step of a snapshot takes: its heap block (with the allocator's header,
    // rounded to 16 bytes) and the owning pointer in the list.
    static constexpr size_t kBytesPerStep =
        (sizeof(Step) + sizeof(size_t) + 15) / 16 * 16 + sizeof(std::unique_ptr<Step>);

    explicit TUndoList(size_t maxBytes = kMaxUndoBytes) : m_maxBytes(maxBytes) {}

    int Count() const { return static_cast<int>(m_states.size()); }
    bool Empty() const { return m_states.empty(); }
    // The memory the snapshots take together, counted as kBytesPerStep per step.
    size_t Bytes() const { return m_bytes; }
    // Puts a snapshot in front, dropping the oldest beyond kMaxUndoStates and, but for the new
    // one, while the snapshots together exceed the byte budget.
    void PushFront(std::unique_ptr<TStepList> snapshot);
    // Removes and returns the newest snapshot; null when there is none.
    std::unique_ptr<TStepList> PopFront();
    const TStepList& At(int index) const { return *m_states[static_cast<size_t>(index)].list; }
    // Each pushed snapshot gets the next number of a count that starts at 1 and never repeats,
    // so that callers can attach something of their own to one state (the sound a replace-sound
    // undo puts back). 0 for an empty list.
    uint64_t FrontSerial() const { return m_states.empty() ? 0 : m_states.front().serial; }
    bool HoldsSerial(uint64_t serial) const;
    void Clear() {
        m_states.clear();
        m_bytes = 0;
    }

private:
    struct State {
        std::unique_ptr<TStepList> list;
        size_t bytes = 0;
        uint64_t serial = 0;
    };
    size_t m_maxBytes;
    uint64_t m_lastSerial = 0;
    std::deque<State> m_states;
    size_t m_bytes = 0;
};

}  // namespace lumavox
