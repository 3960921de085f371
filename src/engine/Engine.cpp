#include "engine/Engine.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <optional>
#include <string>

#include "model/ColourEval.h"
#include "model/Msgstr.h"
#include "model/ProjectData.h"

namespace lumavox {

namespace {

constexpr std::string_view kPlaying = "playing";
constexpr std::string_view kPaused = "paused";
constexpr std::string_view kStopped = "stopped";

int32_t ClampToInt32(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

}  // namespace

void Engine::ModeText::Assign(std::string_view a, std::string_view b) {
    // An empty view may have a null data(), which memcpy must not be given even for 0 bytes.
    const size_t na = std::min(a.size(), Text.size());
    if (na > 0) std::memcpy(Text.data(), a.data(), na);
    const size_t nb = std::min(b.size(), Text.size() - na);
    if (nb > 0) std::memcpy(Text.data() + na, b.data(), nb);
    Size = na + nb;
}

Engine::Engine(EngineContext context) : m_context(std::move(context)) {}

void Engine::EngineTick(DmxFrame& frame) {
    try {
        m_movedThisTick = false;
        m_commandedThisTick = false;
        m_openedThisTick = false;
        m_modelClock = m_context.Clock.NowMs();
        AdvanceFreeClock();
        ReadModeAndPosition();
        HandleOpenOrClose();
        const ModeText tickMode = m_mode;
        HandleTransportRequests(tickMode);
        SettlePosition();
        HandleEndOfSound();
        NoteClockModel();
        BuildOutput(frame);
    } catch (...) {
        // The output must go on: a failure here leaves the state as far as it got and the frame as
        // the last complete build left it.
    }
}

// Step 1: FreeClockTime = FreeClockBase + elapsed ms since FreeClockBaseTick (uint32 wrap-safe).
void Engine::AdvanceFreeClock() {
    EngineState& s = m_context.State;
    if (!s.FreeClockRunning.load() || s.FreeClockPaused.load()) return;
    const uint32_t elapsed = m_context.Clock.NowMs() - s.FreeClockBaseTick.load();
    s.FreeClockTime.store(ClampToInt32(static_cast<int64_t>(s.FreeClockBase.load()) + elapsed));
}

// Step 2: the mode once, the position while playing or paused and once more when the sound has
// just stopped.
void Engine::ReadModeAndPosition() {
    EngineState& s = m_context.State;
    m_positionRead = false;
    m_endedNaturally = false;
    if (!s.AudioAvailable.load()) {
        m_mode.Assign({});
        s.SoundMode.Set({});
        s.SoundPosition.store(0);
        return;
    }
    SoundDeviceMode mode = SoundDeviceMode::Stopped;
    const SoundResult result = m_context.Device.GetMode(mode);
    if (!result.Ok) {
        m_mode.Assign("ERROR:", result.Error);
    } else {
        m_mode.Assign(SoundDeviceModeText(mode));
    }
    s.SoundMode.Set(m_mode.View());
    const auto underWay = [](std::string_view m) { return m == kPlaying || m == kPaused; };
    if (underWay(m_mode.View())) {
        m_positionRead = true;
        int32_t position = 0;
        if (m_context.Device.GetPosition(position).Ok) s.SoundPosition.store(position);
    } else if (m_mode.View() == kStopped && underWay(m_prevMode.View())) {
        // The sound stopped since the last tick: where it stopped and whether it ran to its end
        // decide the end rule, even when this tick comes late and the end is long past.
        int32_t position = 0;
        if (m_context.Device.GetPosition(position).Ok) s.SoundPosition.store(position);
        const std::optional<uint32_t> sinceEnd = m_context.Device.EndedNaturally();
        m_endedNaturally = sinceEnd.has_value();
        m_msSinceEnd = sinceEnd.value_or(0);
    }
}

// Step 3.
void Engine::HandleOpenOrClose() {
    EngineState& s = m_context.State;
    ISoundDevice& device = m_context.Device;
    if (s.OpenRequest.load()) {
        if (s.SoundOpen.load()) device.Close();
        s.SoundOpen.store(false);
        m_stopCommanded = true;
        m_commandedThisTick = true;
        s.AudioAvailable.store(device.AudioTest());
        const std::string path = s.SoundPath.Get();  // the one allocation, on an open request only
        const SoundResult opened =
            path.empty() ? SoundResult::Failure("no sound file is named") : device.Open(path);
        s.SoundOpenError.Set(opened.Error);
        if (opened.Ok) {
            s.SoundOpen.store(true);
            int32_t length = 0;
            if (!device.GetLength(length).Ok) length = 0;
            s.SoundLength.store(length);
            RecomputeTimelineLength(s);
            s.SoundPosition.store(0);
            m_openedThisTick = true;
        }
        if (!s.AudioAvailable.load() && m_context.Warn) {
            // The UI shows the message; the output carries on without sound.
            m_context.Warn(MsgText(Msg::AudioDeviceNG), MsgText(Msg::Warning));
        }
        s.OpenRequest.store(false);
        s.RequestCleared.Notify();
    } else if (s.CloseRequest.load()) {
        if (s.SoundOpen.load()) device.Close();
        s.SoundOpen.store(false);
        m_stopCommanded = true;
        m_commandedThisTick = true;
        s.AudioAvailable.store(false);
        // Without a sound the time line is the pre- and post-roll alone, so nothing (move limits,
        // the time line end, "to sound end") goes on using the closed sound's length.
        s.SoundLength.store(0);
        RecomputeTimelineLength(s);
        s.CloseRequest.store(false);
        s.RequestCleared.Notify();
    }
}

// Steps 4 to 7. tickMode is the mode read in step 2 of this tick.
void Engine::HandleTransportRequests(const ModeText& tickMode) {
    EngineState& s = m_context.State;
    ISoundDevice& device = m_context.Device;
    const bool audio = s.AudioAvailable.load();

    // The seek request is taken before CursorTime is read: a locate that lands while this seek
    // runs sets the flag again and is carried out by the next tick, never lost.
    if (s.SeekRequest.exchange(false)) {
        const int32_t target = s.CursorTime.load();
        if (audio && s.SoundPosition.load() != target) {
            device.Seek(target);
            s.SoundPosition.store(target);
            m_stopCommanded = true;
            m_movedThisTick = true;
            m_commandedThisTick = true;
        }
        s.RequestCleared.Notify();
    }

    // The play commands stop the free clock before they post; a post-roll that the end rule
    // started meanwhile must not run on over the sound they start.
    if (s.PlayRequest.load()) {
        s.FreeClockRunning.store(false);
        if (audio) {
            device.Play();
            m_stopCommanded = false;
            m_movedThisTick = true;
            m_commandedThisTick = true;
        }
        s.PlayRequest.store(false);
        s.RequestCleared.Notify();
    } else if (s.PlayFromStartRequest.load()) {
        s.FreeClockRunning.store(false);
        if (audio) {
            device.PlayFromStart();
            m_stopCommanded = false;
            m_movedThisTick = true;
            m_commandedThisTick = true;
        }
        s.PlayFromStartRequest.store(false);
        s.RequestCleared.Notify();
    }

    // The free clock is left alone: the stopping command clears it before posting and again
    // after its wait, so a stop carried out late cannot end a clock started after it.
    if (s.StopRequest.load()) {
        if (audio) {
            device.Stop();
            m_stopCommanded = true;
            m_movedThisTick = true;
            m_commandedThisTick = true;
        }
        s.StopRequest.store(false);
        s.RequestCleared.Notify();
    }

    if (s.PauseRequest.load()) {
        if (tickMode.View() == kPlaying) {
            device.Pause();
            m_commandedThisTick = true;
        }
        s.PauseRequest.store(false);
        s.RequestCleared.Notify();
    } else if (s.ResumeRequest.load()) {
        if (tickMode.View() == kPaused) {
            device.Resume();
            m_stopCommanded = false;
            m_commandedThisTick = true;
        }
        s.ResumeRequest.store(false);
        s.RequestCleared.Notify();
    }
}

// Step 8.
void Engine::SettlePosition() {
    EngineState& s = m_context.State;
    if (s.FreeClockRunning.load()) {
        const int32_t freeTime = s.FreeClockTime.load();
        if (s.CursorTime.load() < 0 && freeTime >= 0) {
            // The pre-roll has run out: the sound takes over from its start.
            s.FreeClockRunning.store(false);
            s.CursorTime.store(0);
            if (s.AudioAvailable.load()) {
                m_context.Device.PlayFromStart();
                m_stopCommanded = false;
                m_commandedThisTick = true;
            }
        } else {
            s.CursorTime.store(freeTime);
        }
        if (static_cast<int64_t>(s.CursorTime.load()) >=
            static_cast<int64_t>(s.SoundLength.load()) + s.PostPlayTime.load()) {
            s.FreeClockRunning.store(false);
        }
        return;
    }
    int32_t cursor = s.CursorTime.load();
    if (cursor < 0 || cursor > s.SoundLength.load()) return;
    int32_t target = 0;
    if (s.AudioAvailable.load()) {
        // Follow the device only with a position read in this tick that no command of this tick
        // has made stale, or one it set by opening a sound, and never over a locate the UI is
        // posting: its new CursorTime must reach the seek unchanged.
        if (!m_openedThisTick && (!m_positionRead || m_movedThisTick)) return;
        target = s.SoundPosition.load();
    }
    if (s.SeekRequest.load()) return;
    // Only replaces the value read above; a CursorTime the UI wrote meanwhile wins.
    s.CursorTime.compare_exchange_strong(cursor, target);
}

// Step 9.
void Engine::HandleEndOfSound() {
    EngineState& s = m_context.State;
    if (!s.AudioAvailable.load() || m_mode.View() == m_prevMode.View()) return;
    // The sound ran to its end (as opposed to a stop command) when the device says so and
    // stands at the length, and nothing since was asked of it: a command sent in this tick, or a
    // stop or play the UI is posting, wins over the end.
    const int32_t length = s.SoundLength.load();
    const bool naturalEnd = m_endedNaturally && length == s.SoundPosition.load() &&
                            !m_stopCommanded && !m_commandedThisTick && !s.StopRequest.load() &&
                            !s.PlayRequest.load() && !s.PlayFromStartRequest.load();
    if (naturalEnd) {
        if (m_context.Repeat.load()) {
            s.CursorTime.store(0);
            s.RepeatRestarted.store(true);
            s.PlayFromStartRequest.store(true);
        } else {
            // The position stops at the sound end (the post-roll goes on from there).
            int32_t cursor = s.CursorTime.load();
            if (cursor >= 0 && cursor <= length)
                s.CursorTime.compare_exchange_strong(cursor, length);
            // The post-roll runs from the moment the sound ended, not from when this tick (up to
            // a period later, or later still when the output was held up) saw it.
            if (s.PostPlayTime.load() > 0) {
                StartFreeClock(length, m_context.Clock.NowMs() - m_msSinceEnd);
            }
        }
    }
    m_prevMode = m_mode;
    s.PrevSoundMode.Set(m_prevMode.View());
}

void Engine::StartFreeClock(int32_t at, uint32_t atTick) {
    EngineState& s = m_context.State;
    s.FreeClockBase.store(at);
    s.FreeClockTime.store(at);
    s.FreeClockBaseTick.store(atTick);
    s.FreeClockPaused.store(false);
    s.FreeClockRunning.store(true);
}

// Whether the show time runs on from this tick: the free clock runs, or the sound plays and its
// position was read in this tick with nothing moving it since.
void Engine::NoteClockModel() {
    const EngineState& s = m_context.State;
    m_modelTime = s.CursorTime.load();
    if (s.FreeClockRunning.load() && !s.FreeClockPaused.load()) {
        m_advancing = true;
        m_modelEnd = static_cast<int64_t>(s.SoundLength.load()) + s.PostPlayTime.load();
        return;
    }
    m_advancing = m_positionRead && !m_movedThisTick && !m_commandedThisTick &&
                  m_mode.View() == kPlaying && !s.SeekRequest.load() && m_modelTime >= 0;
    m_modelEnd = s.SoundLength.load();
}

int32_t Engine::FrameTimeAt(uint32_t nowMs) const {
    if (!m_advancing) return m_modelTime;
    // A model more than a second old (a stalled output) is not run on any further.
    const int64_t elapsed =
        std::clamp<int64_t>(static_cast<int32_t>(nowMs - m_modelClock), 0, 1000);
    const int64_t position = std::min<int64_t>(int64_t{m_modelTime} + elapsed, m_modelEnd);
    return ClampToInt32(std::max<int64_t>(position, m_modelTime) + m_lightOffsetMs);
}

std::optional<uint32_t> Engine::NextStepAt(uint32_t afterMs) {
    if (!m_advancing) return std::nullopt;
    try {
        const int32_t t = FrameTimeAt(afterMs);
        const std::optional<int32_t> next = NextStepTime(m_context.Project, t);
        if (!next) return std::nullopt;
        // The clock time at which the model reaches the step; beyond the end, or farther than
        // the coming ticks would let the model run, it is not known yet.
        const int64_t position = static_cast<int64_t>(*next) - m_lightOffsetMs;
        if (position > m_modelEnd || position - m_modelTime > 60000) return std::nullopt;
        return m_modelClock + static_cast<uint32_t>(position - m_modelTime);
    } catch (...) {
        return std::nullopt;
    }
}

void Engine::FrameAt(uint32_t nowMs, DmxFrame& frame) {
    try {
        const int32_t t = FrameTimeAt(nowMs);
        std::array<int32_t, kLineCount> colours{};
        BuildOutputFrame(m_context.Project, m_context.Patch, t,
                         m_context.Project.CurrentLine.load(std::memory_order_relaxed),
                         m_context.State.PreviewColour.load(), m_context.PatchCheckChannel.load(),
                         colours, m_sources, frame);
        if (m_advancing) m_frameFloor = t;
    } catch (...) {
    }
}

// Steps 10 and 11, at the show time (with the light offset while it advances).
void Engine::BuildOutput(DmxFrame& frame) {
    EngineState& s = m_context.State;
    int32_t t = FrameTimeAt(m_modelClock);
    // Held within a period of an earlier frame only: a seek or a repeat starts afresh.
    constexpr int32_t kFloorHoldMs = 100;
    if (m_advancing && m_frameFloor && t < *m_frameFloor &&
        static_cast<int64_t>(*m_frameFloor) - t <= kFloorHoldMs) {
        t = *m_frameFloor;
    } else {
        m_frameFloor.reset();
    }
    std::array<int32_t, kLineCount> colours{};
    BuildOutputFrame(m_context.Project, m_context.Patch, t,
                     m_context.Project.CurrentLine.load(std::memory_order_relaxed),
                     s.PreviewColour.load(), m_context.PatchCheckChannel.load(), colours, m_sources,
                     frame);
    for (int line = 0; line < kLineCount; ++line) {
        m_context.Output.Set(line, colours[static_cast<size_t>(line)]);
    }
}

void BuildOutputFrame(const ProjectData& project, const PatchTable& patch, int32_t cursorTime,
                      int32_t currentLine, int32_t previewColour, int32_t patchCheckChannel,
                      std::array<int32_t, kLineCount>& colours, SourceChannels& sources,
                      DmxFrame& frame) {
    for (int line = 0; line < kLineCount; ++line) {
        colours[static_cast<size_t>(line)] = line == currentLine && previewColour != NoColour
                                                 ? previewColour
                                                 : LineOutputColourAt(project, line, cursorTime);
    }
    FillSourceChannels(colours, sources);
    BuildDmxFrame(sources, patch, patchCheckChannel, frame);
}

void RenderFrame(const ProjectData& project, const PatchTable& patch, int32_t t,
                 std::array<int32_t, kLineCount>& colours, DmxFrame& frame) {
    SourceChannels sources{};
    BuildOutputFrame(project, patch, t, -1, NoColour, -1, colours, sources, frame);
}

}  // namespace lumavox
