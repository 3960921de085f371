#pragma once

#include <cstddef>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "model/Step.h"

namespace lumavox {

// An owning, ordered list of steps: one line of a project, a clipboard, or an undo snapshot.
//
// Threads. The UI thread is the only writer. The output thread evaluates line colours while the UI
// thread edits, so every change to the list or to a step it holds, a field of a step included, goes
// through Edit(), which holds the list's lock for the duration of that one mutation. The output
// thread reads through Read(), which takes the same lock; it therefore waits at most for one
// mutation and never sees a half-built list. The UI thread may read without the lock (Items(),
// Count(), At()): as the only writer it cannot race with itself. Keep each Edit() to one
// operation's worth of work on this list and never do file I/O, dialogs or undo copying inside it.
//
// Ownership: the list owns its steps (unique_ptr); a step's address stays stable while it stays in
// the list, also across sorting. Copies for clipboards and snapshots are made with Clone()/Add().
class TStepList {
public:
    using Items = std::vector<std::unique_ptr<Step>>;

    TStepList() = default;
    TStepList(const TStepList&) = delete;
    TStepList& operator=(const TStepList&) = delete;

    // UI thread (the writer) only.
    const Items& ItemsUnlocked() const { return m_items; }
    int Count() const { return static_cast<int>(m_items.size()); }
    bool Empty() const { return m_items.empty(); }
    const Step& At(int index) const { return *m_items[static_cast<size_t>(index)]; }

    // UI thread only: runs fn(Items&) under the lock, then refreshes the sorted flag the fast
    // colour search relies on.
    template <class Fn>
    decltype(auto) Edit(Fn&& fn) {
        std::lock_guard<std::mutex> lock(m_mutex);
        struct Refresh {
            TStepList* self;
            ~Refresh() { self->m_sorted = self->ComputeSorted(); }
        } refresh{this};
        return std::forward<Fn>(fn)(m_items);
    }

    // Any thread: runs fn(const Items&, bool sorted) under the lock.
    template <class Fn>
    decltype(auto) Read(Fn&& fn) const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return std::forward<Fn>(fn)(static_cast<const Items&>(m_items), m_sorted);
    }

    // UI thread only. Conveniences built on Edit().
    void Clear();
    void Add(const Step& step);                // appends a copy
    void Assign(std::vector<Step> steps);      // replaces the contents with copies
    std::vector<Step> Copy() const;            // copies of every step, in list order
    std::unique_ptr<TStepList> Clone() const;  // deep copy

    // True when Time never decreases along the list (maintained by Edit()).
    bool SortedUnlocked() const { return m_sorted; }

private:
    bool ComputeSorted() const;

    mutable std::mutex m_mutex;
    Items m_items;
    bool m_sorted = true;  // written under m_mutex only
};

}  // namespace lumavox
