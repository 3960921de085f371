#include "dmx/OutputThreadGate.h"

namespace lumavox {

void OutputThreadGate::Resume() {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_request.load(std::memory_order_relaxed) == Request::Terminate) return;
    m_request.store(Request::Run, std::memory_order_release);
    m_changed.notify_all();
}

bool OutputThreadGate::Suspend(std::chrono::milliseconds bound) {
    std::unique_lock<std::mutex> lock(m_mutex);
    if (m_request.load(std::memory_order_relaxed) == Request::Run) {
        m_request.store(Request::Park, std::memory_order_release);
        m_changed.notify_all();
    }
    return m_changed.wait_for(lock, bound, [&] { return m_parked || m_exited; });
}

void OutputThreadGate::RequestTerminate() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_request.store(Request::Terminate, std::memory_order_release);
    m_changed.notify_all();
}

bool OutputThreadGate::WaitExited(std::chrono::milliseconds bound) {
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_changed.wait_for(lock, bound, [&] { return m_exited; });
}

bool OutputThreadGate::Continue() {
    if (m_request.load(std::memory_order_acquire) == Request::Run) return true;
    std::unique_lock<std::mutex> lock(m_mutex);
    while (m_request.load(std::memory_order_relaxed) == Request::Park) {
        if (!m_parked) {
            m_parked = true;
            m_changed.notify_all();
        }
        m_changed.wait(lock);
    }
    m_parked = false;
    return m_request.load(std::memory_order_relaxed) == Request::Run;
}

void OutputThreadGate::MarkExited() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_exited = true;
    m_parked = false;
    m_changed.notify_all();
}

}  // namespace lumavox
