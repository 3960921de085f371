#include "engine/Engine.h"

#include <algorithm>
#include <cstring>
#include <limits>
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
        AdvanceFreeClock();
        ReadModeAndPosition();
        HandleOpenOrClose();
        const ModeText tickMode = m_mode;
        HandleTransportRequests(tickMode);
        SettlePosition();
        HandleEndOfSound();
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

// Step 2: the mode once, the position only while playing or paused.
void Engine::ReadModeAndPosition() {
    EngineState& s = m_context.State;
    m_positionRead = false;
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
    if (m_mode.View() == kPlaying || m_mode.View() == kPaused) {
        m_positionRead = true;
        int32_t position = 0;
        if (m_context.Device.GetPosition(position).Ok) s.SoundPosition.store(position);
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
        s.AudioAvailable.store(device.AudioTest());
        const std::string path = s.SoundPath.Get();  // the one allocation, on an open request only
        if (!path.empty() && device.Open(path).Ok) {
            s.SoundOpen.store(true);
            int32_t length = 0;
            if (!device.GetLength(length).Ok) length = 0;
            s.SoundLength.store(length);
            RecomputeTimelineLength(s);
            s.SoundPosition.store(0);
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

    if (s.SeekRequest.load()) {
        const int32_t target = s.CursorTime.load();
        if (audio && s.SoundPosition.load() != target) {
            device.Seek(target);
            s.SoundPosition.store(target);
            m_stopCommanded = true;
            m_movedThisTick = true;
        }
        s.SeekRequest.store(false);
        s.RequestCleared.Notify();
    }

    if (s.PlayRequest.load()) {
        if (audio) {
            device.Play();
            m_stopCommanded = false;
        }
        s.PlayRequest.store(false);
        s.RequestCleared.Notify();
    } else if (s.PlayFromStartRequest.load()) {
        if (audio) {
            device.PlayFromStart();
            m_stopCommanded = false;
        }
        s.PlayFromStartRequest.store(false);
        s.RequestCleared.Notify();
    }

    if (s.StopRequest.load()) {
        // The tick stops the free clock itself before it lets the stopping command go on, so a
        // post-roll the tick started cannot outlive the stop, and a clock the command starts
        // after its wait cannot be stopped here.
        s.FreeClockRunning.store(false);
        if (audio) {
            device.Stop();
            m_stopCommanded = true;
            m_movedThisTick = true;
        }
        s.StopRequest.store(false);
        s.RequestCleared.Notify();
    }

    if (s.PauseRequest.load()) {
        if (tickMode.View() == kPlaying) device.Pause();
        s.PauseRequest.store(false);
        s.RequestCleared.Notify();
    } else if (s.ResumeRequest.load()) {
        if (tickMode.View() == kPaused) {
            device.Resume();
            m_stopCommanded = false;
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
        // has made stale, and never over a locate the UI is posting: its new CursorTime must
        // reach the seek unchanged.
        if (!m_positionRead || m_movedThisTick) return;
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
    const bool naturalEnd = m_prevMode.View() == kPlaying && m_mode.View() == kStopped &&
                            s.SoundLength.load() == s.SoundPosition.load() && !m_stopCommanded &&
                            !s.StopRequest.load();
    if (naturalEnd) {
        if (m_context.Repeat.load()) {
            s.CursorTime.store(0);
            s.RepeatRestarted.store(true);
            s.PlayFromStartRequest.store(true);
        } else if (s.PostPlayTime.load() > 0) {
            StartFreeClock(s.SoundLength.load());
        }
    }
    m_prevMode = m_mode;
    s.PrevSoundMode.Set(m_prevMode.View());
}

void Engine::StartFreeClock(int32_t at) {
    EngineState& s = m_context.State;
    s.FreeClockBase.store(at);
    s.FreeClockTime.store(at);
    s.FreeClockBaseTick.store(m_context.Clock.NowMs());
    s.FreeClockPaused.store(false);
    s.FreeClockRunning.store(true);
}

// Steps 10 and 11.
void Engine::BuildOutput(DmxFrame& frame) {
    EngineState& s = m_context.State;
    std::array<int32_t, kLineCount> colours{};
    BuildOutputFrame(m_context.Project, m_context.Patch, s.CursorTime.load(),
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

}  // namespace lumavox
