#pragma once

#include <cstddef>
#include <iterator>
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

    // A read-only view of the steps in list order: it yields const Step*, so a reader cannot write
    // a field past Edit() (a unique_ptr<Step> would hand out a writable Step even from a const
    // list). Valid until the next change of the list.
    class View {
    public:
        class Iterator {
        public:
            using iterator_category = std::random_access_iterator_tag;
            using iterator_concept = std::random_access_iterator_tag;
            using value_type = const Step*;
            using difference_type = std::ptrdiff_t;
            using pointer = void;
            using reference = const Step*;

            Iterator() = default;
            explicit Iterator(Items::const_iterator it) : m_it(it) {}
            const Step* operator*() const { return m_it->get(); }
            const Step* operator[](difference_type n) const { return m_it[n].get(); }
            Iterator& operator++() {
                ++m_it;
                return *this;
            }
            Iterator operator++(int) {
                Iterator old = *this;
                ++m_it;
                return old;
            }
            Iterator& operator--() {
                --m_it;
                return *this;
            }
            Iterator operator--(int) {
                Iterator old = *this;
                --m_it;
                return old;
            }
            Iterator& operator+=(difference_type n) {
                m_it += n;
                return *this;
            }
            Iterator& operator-=(difference_type n) {
                m_it -= n;
                return *this;
            }
            friend Iterator operator+(Iterator a, difference_type n) { return a += n; }
            friend Iterator operator+(difference_type n, Iterator a) { return a += n; }
            friend Iterator operator-(Iterator a, difference_type n) { return a -= n; }
            friend difference_type operator-(const Iterator& a, const Iterator& b) {
                return a.m_it - b.m_it;
            }
            friend bool operator==(const Iterator& a, const Iterator& b) = default;
            friend auto operator<=>(const Iterator& a, const Iterator& b) = default;

        private:
            Items::const_iterator m_it;
        };

        View(const Items& items) : m_items(&items) {}  // NOLINT: implicit on purpose
        Iterator begin() const { return Iterator(m_items->begin()); }
        Iterator end() const { return Iterator(m_items->end()); }
        size_t size() const { return m_items->size(); }
        bool empty() const { return m_items->empty(); }
        const Step* operator[](size_t i) const { return (*m_items)[i].get(); }
        const Step* front() const { return m_items->front().get(); }
        const Step* back() const { return m_items->back().get(); }

    private:
        const Items* m_items;
    };

    TStepList() = default;
    TStepList(const TStepList&) = delete;
    TStepList& operator=(const TStepList&) = delete;

    // UI thread (the writer) only.
    View ItemsUnlocked() const { return View(m_items); }
    int Count() const { return static_cast<int>(m_items.size()); }
    bool Empty() const { return m_items.empty(); }
    const Step& At(int index) const { return *m_items[static_cast<size_t>(index)]; }

    // UI thread only: runs fn(Items&) under the lock, then refreshes the sorted flag the fast
    // colour search relies on and counts the change.
    template <class Fn>
    decltype(auto) Edit(Fn&& fn) {
        std::lock_guard<std::mutex> lock(m_mutex);
        struct Refresh {
            TStepList* self;
            ~Refresh() {
                self->m_sorted = self->ComputeSorted();
                ++self->m_revision;
            }
        } refresh{this};
        return std::forward<Fn>(fn)(m_items);
    }

    // Any thread: runs fn(View, bool sorted) under the lock.
    template <class Fn>
    decltype(auto) Read(Fn&& fn) const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return std::forward<Fn>(fn)(View(m_items), m_sorted);
    }

    // UI thread only. Conveniences built on Edit().
    void Clear();
    void Add(const Step& step);                // appends a copy
    void Assign(std::vector<Step> steps);      // replaces the contents with copies
    std::vector<Step> Copy() const;            // copies of every step, in list order
    std::unique_ptr<TStepList> Clone() const;  // deep copy

    // True when Time never decreases along the list (maintained by Edit()).
    bool SortedUnlocked() const { return m_sorted; }
    // UI thread only. Grows with every Edit(), so a value worked out from the steps (a count, an
    // index) stays valid while the revision it was worked out at is unchanged.
    uint64_t Revision() const { return m_revision; }

private:
    bool ComputeSorted() const;

    mutable std::mutex m_mutex;
    Items m_items;
    bool m_sorted = true;     // written under m_mutex only
    uint64_t m_revision = 0;  // written by the UI thread under m_mutex, read by it alone
};

}  // namespace lumavox
