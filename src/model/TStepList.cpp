#include "model/TStepList.h"

namespace lumavox {

void TStepList::Clear() {
    Items old;
    Edit([&](Items& items) { old.swap(items); });
    // old's steps are freed here, outside the lock
}

void TStepList::Add(const Step& step) {
    auto copy = std::make_unique<Step>(step);
    Edit([&](Items& items) { items.push_back(std::move(copy)); });
}

void TStepList::Assign(std::vector<Step> steps) {
    Items fresh;
    fresh.reserve(steps.size());
    for (const Step& s : steps) fresh.push_back(std::make_unique<Step>(s));
    Edit([&](Items& items) { items.swap(fresh); });
}

std::vector<Step> TStepList::Copy() const {
    std::vector<Step> out;
    out.reserve(m_items.size());
    for (const auto& s : m_items) out.push_back(*s);
    return out;
}

std::unique_ptr<TStepList> TStepList::Clone() const {
    auto clone = std::make_unique<TStepList>();
    clone->Assign(Copy());
    return clone;
}

bool TStepList::ComputeSorted() const {
    for (size_t i = 1; i < m_items.size(); ++i) {
        if (m_items[i]->Time < m_items[i - 1]->Time) return false;
    }
    return true;
}

}  // namespace lumavox
