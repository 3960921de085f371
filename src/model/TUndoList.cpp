#include "model/TUndoList.h"

namespace lumavox {

void TUndoList::PushFront(std::unique_ptr<TStepList> snapshot) {
    const size_t bytes = static_cast<size_t>(snapshot->Count()) * kBytesPerStep;
    m_states.push_front(State{std::move(snapshot), bytes, ++m_lastSerial});
    m_bytes += bytes;
    while (m_states.size() > static_cast<size_t>(kMaxUndoStates) ||
           (m_states.size() > 1 && m_bytes > m_maxBytes)) {
        m_bytes -= m_states.back().bytes;
        m_states.pop_back();
    }
}

bool TUndoList::HoldsSerial(uint64_t serial) const {
    for (const State& state : m_states) {
        if (state.serial == serial) return true;
    }
    return false;
}

std::unique_ptr<TStepList> TUndoList::PopFront() {
    if (m_states.empty()) return nullptr;
    State front = std::move(m_states.front());
    m_states.pop_front();
    m_bytes -= front.bytes;
    return std::move(front.list);
}

}  // namespace lumavox
