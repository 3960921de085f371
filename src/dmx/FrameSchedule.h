#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>

namespace lumavox {

// How the outputs time their frames ([Output] EventTimed, MinFrameGapMs, *LightOffsetMs). Event
// timing is for the network outputs only; each output has its own light offset.
struct OutputTiming {
    static constexpr int32_t kMaxLightOffsetMs = 500;
    bool EventTimed = false;
    uint32_t MinFrameGapMs = 5;
    int32_t UsbLightOffsetMs = 0;
    int32_t ArtnetLightOffsetMs = 0;
    int32_t SacnLightOffsetMs = 0;

    static int32_t ClampOffset(int32_t ms) {
        return std::clamp(ms, -kMaxLightOffsetMs, kMaxLightOffsetMs);
    }
};

// The timing of event-timed output, shared by the network loops: besides the periodic tick a
// frame goes out at the clock time of the next step, and no two frames leave closer than the
// minimum gap (a step inside it goes out at the gap's end; so does a periodic frame, whose tick
// still runs on time, and a periodic frame just before a step goes with the step's frame instead,
// so it cannot push the step behind a gap; when that step changes nothing, with the next one).
// Times are IClock milliseconds, compared wrap-safe.
// Plain arithmetic, no threads; one per loop.
class FrameSchedule {
public:
    static constexpr uint32_t kDefaultMinGapMs = 5;
    static constexpr uint32_t kMaxMinGapMs = 100;

    void Configure(bool eventTimed, uint32_t minGapMs) {
        m_eventTimed = eventTimed;
        m_minGapMs = std::min(minGapMs, kMaxMinGapMs);
    }
    bool EventTimed() const { return m_eventTimed; }
    uint32_t MinGapMs() const { return m_minGapMs; }

    // Forgets everything: nothing sent, no step, no frame held.
    void Reset() {
        m_sent = false;
        m_nextStep.reset();
        m_held = false;
    }
    // A frame went out at now.
    void Sent(uint32_t now) {
        m_sent = true;
        m_lastSent = now;
        m_held = false;
    }
    // The clock time of the next step (nothing: none known).
    void SetNextStep(std::optional<uint32_t> at) { m_nextStep = m_eventTimed ? at : std::nullopt; }
    // A periodic frame due at now: whether it may go now; if not, it is held for the gap's end
    // or for the step due within the gap after now.
    bool PeriodicMayGo(uint32_t now) {
        if (!m_eventTimed) return true;
        if (InsideGap(now)) {
            m_held = true;
            m_heldAt = now;
            m_heldUntil = m_lastSent + m_minGapMs;
            return false;
        }
        if (StepWithinGapAfter(now)) {
            m_held = true;
            m_heldAt = now;
            m_heldUntil = *m_nextStep;
            return false;
        }
        return true;
    }
    bool Held() const { return m_held; }
    // The held frame is due at now but changes nothing (it would go only as a repeat): whether
    // it waits further for the next step, which lies inside the gap after now, so that its packet
    // cannot push that step behind a gap. Set the next step after now first. A held frame
    // waits at most twice the gap after its tick.
    bool HoldForNextStep(uint32_t now) {
        if (!m_held || !StepWithinGapAfter(now) ||
            !Before(*m_nextStep, m_heldAt + 2 * m_minGapMs)) {
            return false;
        }
        m_heldUntil = *m_nextStep;
        return true;
    }
    // The held frame turned out to need no packet.
    void DropHeld() { m_held = false; }

    // When the next off-period frame may leave: the step's time or the held frame's, moved to
    // the gap's end; nothing when none waits.
    std::optional<uint32_t> NextSend() const {
        if (!m_eventTimed) return std::nullopt;
        std::optional<uint32_t> at;
        if (m_held) at = m_heldUntil;
        if (m_nextStep && (!at || Before(*m_nextStep, *at))) at = m_nextStep;
        if (!at) return std::nullopt;
        if (m_sent && Before(*at, m_lastSent + m_minGapMs)) at = m_lastSent + m_minGapMs;
        return at;
    }
    // Whether an off-period frame is due at now.
    bool Due(uint32_t now) const {
        const auto at = NextSend();
        return at && !Before(now, *at);
    }
    // How long the loop may sleep at now before it must look again: up to 2 ms before the
    // periodic tick at nextTick or an off-period frame, whichever is first (0: look again at the
    // next millisecond).
    uint32_t SleepMs(uint32_t now, uint32_t nextTick) const {
        uint32_t until = nextTick;
        if (const auto at = NextSend(); at && Before(*at, until)) until = *at;
        if (!Before(now, until)) return 0;
        const uint32_t left = until - now;
        return left > 2 ? left - 2 : 0;
    }

    // a earlier than b, for clock times less than 2^31 ms apart.
    static bool Before(uint32_t a, uint32_t b) { return static_cast<int32_t>(a - b) < 0; }

private:
    bool InsideGap(uint32_t now) const { return m_sent && Before(now, m_lastSent + m_minGapMs); }
    bool StepWithinGapAfter(uint32_t now) const {
        return m_nextStep && Before(now, *m_nextStep) && Before(*m_nextStep, now + m_minGapMs);
    }

    bool m_eventTimed = false;
    uint32_t m_minGapMs = kDefaultMinGapMs;
    bool m_sent = false;
    uint32_t m_lastSent = 0;
    std::optional<uint32_t> m_nextStep;
    bool m_held = false;
    uint32_t m_heldAt = 0;  // the tick of the held frame
    uint32_t m_heldUntil = 0;
};

}  // namespace lumavox
