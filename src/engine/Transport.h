#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>

#include "engine/EngineState.h"
#include "engine/PostRequest.h"
#include "platform/Clock.h"

namespace lumavox {

// The play commands of the main window as far as the engine is concerned: each changes
// EngineState and posts requests that the tick carries out; none talks to the sound device. The
// caller does the rest of each command (scrolling the time line, repainting the colour monitor).
//
// UI thread only. The commands that wait (PostRequest) wait at most waitBound per request, so
// nothing hangs when no output thread runs.
class Transport {
public:
    Transport(EngineState& state, const IClock& clock, std::atomic<bool>& repeat,
              std::chrono::milliseconds waitBound = kPostRequestBound);

    // Plays from the start of the pre-roll (the sound starts when the free clock reaches 0), or
    // straight from the sound start when there is no pre-roll.
    void PlayFromStart();
    // Plays on from CursorTime: the sound from its position inside the sound, the free clock in
    // the pre- or post-roll.
    void Play();
    // Holds or releases the free clock, else pauses or resumes the sound.
    void PauseResume();
    // Stops playing; the play position stays where it is.
    void Stop();
    void ToSoundStart();
    void ToSoundEnd();
    // Moves the play position to timeMs, also while playing (then playing on from there).
    // programmaticChange, when given, is raised while a playing locate runs.
    void Locate(int32_t timeMs, int* programmaticChange = nullptr);
    void ToggleRepeat();

    // When each command is enabled. waveformHasData: the loaded sound has at least one peak frame.
    bool CanPlayFromStart(bool waveformHasData) const;
    bool CanPlay(bool waveformHasData) const;
    bool CanPauseResume() const;
    bool CanStop() const;
    bool CanGoToSoundStartOrEnd(bool waveformHasData) const;

private:
    void Post(std::atomic<bool>& request);
    void PostStop();
    void StartFreeClock(int32_t at);

    EngineState& m_state;
    const IClock& m_clock;
    std::atomic<bool>& m_repeat;
    std::chrono::milliseconds m_waitBound;
};

}  // namespace lumavox
