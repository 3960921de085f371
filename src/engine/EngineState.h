#pragma once

#include <atomic>
#include <cstdint>

#include "engine/RequestSignal.h"
#include "engine/SharedText.h"
#include "model/ColourEval.h"

namespace lumavox {

// The engine variables shared by the UI thread and the output thread's tick. One object for the
// process, made by the program at start and handed to the tick, the transport and the views.
//
// Every scalar is a std::atomic with the default sequentially consistent order: the values are
// independent words, read and written once or twice per output period, so the cost is nothing and
// the order is the simplest to reason about (a request flag set after SoundPath is seen after it).
// Texts are SharedText (the sound path a SharedPath), exchanged whole. Request flags have one
// setter (UI) and one clearer (tick). The line output colours live in LineOutput (dmx/Patch.h).
struct EngineState {
    std::atomic<int32_t> CursorTime{0};        // play position, ms from the sound start
    std::atomic<int32_t> PrePlayTime{10000};   // lead-in before the sound start, ms
    std::atomic<int32_t> PostPlayTime{10000};  // run-on after the sound end, ms
    std::atomic<int32_t> SoundLength{0};       // length of the open sound, 0 when unknown
    std::atomic<int32_t> TimelineLength{0};    // PrePlayTime + SoundLength + PostPlayTime
    std::atomic<int32_t> SoundPosition{0};     // last position reported by or sent to the device

    SharedText SoundMode;      // "playing", "paused", "stopped", "ERROR:..." or empty
    SharedText PrevSoundMode;  // SoundMode at its previous change

    std::atomic<int32_t> FreeClockTime{0};
    std::atomic<int32_t> FreeClockBase{0};
    std::atomic<uint32_t> FreeClockBaseTick{0};  // monotonic ms at the last (re)start
    std::atomic<bool> FreeClockRunning{false};
    std::atomic<bool> FreeClockPaused{false};

    std::atomic<bool> AudioAvailable{false};
    std::atomic<bool> SoundOpen{false};
    SharedPath SoundPath;  // file the next open request opens
    // The device's reason when the last open request left no sound open; empty after an open.
    SharedText SoundOpenError;

    std::atomic<bool> OpenRequest{false};
    std::atomic<bool> CloseRequest{false};
    std::atomic<bool> SeekRequest{false};
    std::atomic<bool> PlayRequest{false};
    std::atomic<bool> PlayFromStartRequest{false};
    std::atomic<bool> StopRequest{false};
    std::atomic<bool> PauseRequest{false};
    std::atomic<bool> ResumeRequest{false};

    std::atomic<bool> RepeatRestarted{false};
    std::atomic<int32_t> PreviewColour{NoColour};
    std::atomic<bool> SoundLoaded{false};
    std::atomic<bool> TransportActive{false};

    // Wakes PostRequest when the tick clears a request flag.
    RequestSignal RequestCleared;
};

// TimelineLength = PrePlayTime + SoundLength + PostPlayTime (saturated to int32). The tick calls it
// when a sound opens or closes; the UI after changing the pre- or post-play time. Each call
// writes a value computed from the current atomics, so the last writer leaves a consistent value.
void RecomputeTimelineLength(EngineState& state);

}  // namespace lumavox
