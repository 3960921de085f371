#include "engine/Transport.h"

namespace lumavox {

Transport::Transport(EngineState& state, const IClock& clock, std::atomic<bool>& repeat,
                     std::chrono::milliseconds waitBound)
    : m_state(state), m_clock(clock), m_repeat(repeat), m_waitBound(waitBound) {}

void Transport::Post(std::atomic<bool>& request) {
    PostRequest(m_state, request, m_waitBound);
}

// The free clock is cleared before the stop is posted and again after the wait: a post-roll that
// the tick started on a natural end meanwhile is ended, and a stop that the tick carries out late
// (after the wait gave up) leaves alone a clock that a later command starts.
// A play or resume posted earlier that no tick has taken yet is taken back: a tick that had
// passed its play check when the play came would otherwise carry out the stop first and start
// the sound after it.
void Transport::PostStop() {
    m_state.PlayRequest.store(false);
    m_state.PlayFromStartRequest.store(false);
    m_state.ResumeRequest.store(false);
    m_state.FreeClockRunning.store(false);
    Post(m_state.StopRequest);
    m_state.FreeClockRunning.store(false);
}

// The tick reads the clock only while FreeClockRunning is set, so that is stored last.
void Transport::StartFreeClock(int32_t at) {
    m_state.FreeClockBase.store(at);
    m_state.FreeClockTime.store(at);
    m_state.FreeClockBaseTick.store(m_clock.NowMs());
    m_state.FreeClockPaused.store(false);
    m_state.FreeClockRunning.store(true);
}

void Transport::PlayFromStart() {
    m_state.FreeClockRunning.store(false);
    const int32_t pre = m_state.PrePlayTime.load();
    if (pre <= 0) {
        // The sound restarts at 0, so the position goes there too: the tick follows the device
        // only inside the sound and would leave a position in the post-roll behind.
        m_state.CursorTime.store(0);
        m_state.PlayFromStartRequest.store(true);
    } else {
        PostStop();
        m_state.CursorTime.store(-pre);
        StartFreeClock(-pre);
    }
    m_state.TransportActive.store(true);
}

void Transport::Play() {
    m_state.FreeClockRunning.store(false);
    const int32_t cursor = m_state.CursorTime.load();
    if (cursor < 0 || cursor >= m_state.SoundLength.load()) {
        PostStop();
        StartFreeClock(cursor);
    } else {
        m_state.PlayRequest.store(true);
    }
    m_state.TransportActive.store(true);
}

void Transport::PauseResume() {
    if (m_state.FreeClockRunning.load()) {
        if (m_state.FreeClockPaused.load()) {
            // Continue from the held time, not from the time that passed meanwhile.
            m_state.FreeClockBase.store(m_state.FreeClockTime.load());
            m_state.FreeClockBaseTick.store(m_clock.NowMs());
            m_state.FreeClockPaused.store(false);
        } else {
            m_state.FreeClockPaused.store(true);
        }
        return;
    }
    if (m_state.SoundMode.Equals("playing")) {
        m_state.PauseRequest.store(true);
    } else if (m_state.SoundMode.Equals("paused")) {
        m_state.ResumeRequest.store(true);
    }
}

void Transport::Stop() {
    PostStop();
    m_state.TransportActive.store(false);
}

void Transport::ToSoundStart() {
    m_state.FreeClockRunning.store(false);
    if (m_state.SoundLoaded.load()) {
        PostStop();
        m_state.CursorTime.store(0);
        Post(m_state.SeekRequest);
    } else {
        m_state.CursorTime.store(0);
        m_state.SoundPosition.store(0);
    }
}

void Transport::ToSoundEnd() {
    m_state.FreeClockRunning.store(false);
    if (m_state.SoundLoaded.load()) {
        PostStop();
        m_state.CursorTime.store(m_state.SoundLength.load());
        Post(m_state.SeekRequest);
    } else {
        m_state.CursorTime.store(0);
        m_state.SoundPosition.store(0);
    }
}

void Transport::Locate(int32_t timeMs, int* programmaticChange) {
    const int32_t length = m_state.SoundLength.load();
    if (!m_state.SoundMode.Equals("playing") && !m_state.FreeClockRunning.load()) {
        m_state.CursorTime.store(timeMs);
        if (timeMs < 0 || timeMs > length) {
            m_state.FreeClockTime.store(timeMs);
            // A paused sound is given up, as a seek inside it does: resuming it would play the
            // sound on from its old place while the position stays out here.
            if (m_state.SoundMode.Equals("paused")) m_state.StopRequest.store(true);
        } else {
            m_state.SeekRequest.store(true);
        }
        return;
    }
    if (programmaticChange) ++*programmaticChange;
    PostStop();
    m_state.CursorTime.store(timeMs);
    Post(m_state.SeekRequest);
    if (timeMs < 0 || timeMs >= length) {
        PostStop();
        StartFreeClock(timeMs);
    } else {
        Post(m_state.PlayRequest);
    }
    if (programmaticChange) --*programmaticChange;
}

void Transport::ToggleRepeat() {
    m_repeat.store(!m_repeat.load());
}

bool Transport::CanPlayFromStart(bool waveformHasData) const {
    return m_state.AudioAvailable.load() && waveformHasData;
}

bool Transport::CanPlay(bool waveformHasData) const {
    return m_state.AudioAvailable.load() && waveformHasData &&
           (!m_state.FreeClockRunning.load() || m_state.FreeClockPaused.load()) &&
           !m_state.SoundMode.Equals("playing");
}

bool Transport::CanPauseResume() const {
    return m_state.FreeClockRunning.load() || m_state.SoundMode.Equals("playing") ||
           m_state.SoundMode.Equals("paused");
}

bool Transport::CanStop() const {
    return m_state.TransportActive.load();
}

bool Transport::CanGoToSoundStartOrEnd(bool waveformHasData) const {
    return waveformHasData && !m_state.TransportActive.load();
}

}  // namespace lumavox
