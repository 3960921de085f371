#include "model/TUndoList.h"

namespace lumavox {

void TUndoList::PushFront(std::unique_ptr<TStepList> snapshot) {
    m_states.push_front(std::move(snapshot));
    while (m_states.size() > static_cast<size_t>(kMaxUndoStates)) m_states.pop_back();
}

std::unique_ptr<TStepList> TUndoList::PopFront() {
    if (m_states.empty()) return nullptr;
    auto front = std::move(m_states.front());
    m_states.pop_front();
    return front;
}

}  // namespace lumavox
