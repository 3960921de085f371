#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "dmx/FrameSource.h"
#include "dmx/Patch.h"
#include "engine/EngineState.h"
#include "platform/Clock.h"
#include "sound/player/SoundDevice.h"

namespace lumavox {

class ProjectData;

// Everything the tick reads or drives without owning it, handed over by whoever builds the engine
// (the main window, the command-line tool, a test). The settings are taken as references to their
// atomics so the engine does not depend on the settings record.
struct EngineContext {
    EngineState& State;
    const ProjectData& Project;
    const PatchTable& Patch;
    LineOutput& Output;
    ISoundDevice& Device;
    const IClock& Clock;
    const std::atomic<bool>& Repeat;                // the Repeat setting
    const std::atomic<int32_t>& PatchCheckChannel;  // fixture lit for the patch check, -1 off
    // Called on the output thread when the open request finds no audio output; the receiver shows
    // the message (text, caption) later on its own thread and must return at once.
    std::function<void(std::string_view message, std::string_view caption)> Warn;
};

// The output of one tick at a play position: the eight line colours (the preview colour in place of
// the current line's, when there is one), their source channels and the patched frame with the
// patch check (-1 off). No allocation; any thread.
void BuildOutputFrame(const ProjectData& project, const PatchTable& patch, int32_t cursorTime,
                      int32_t currentLine, int32_t previewColour, int32_t patchCheckChannel,
                      std::array<int32_t, kLineCount>& colours, SourceChannels& sources,
                      DmxFrame& frame);

// The frame a show sends with the play position at t, as rendering and exporting compute it: the
// eight line colours and the patched frame, without a preview colour or a patch check. Any thread.
void RenderFrame(const ProjectData& project, const PatchTable& patch, int32_t t,
                 std::array<int32_t, kLineCount>& colours, DmxFrame& frame);

// The engine tick: once per output period it advances the free clock, talks to the sound device,
// carries out the requests the UI posted in EngineState, settles CursorTime and builds the DMX
// frame from the eight line colours through the patch.
//
// Output thread only (one active output thread at a time). A tick never allocates, never waits on
// the UI thread (only on a step list's lock for one mutation) and never lets an exception escape.
// The device's commands return at once; only an open request may take longer.
class Engine final : public IFrameSource {
public:
    explicit Engine(EngineContext context);

    void EngineTick(DmxFrame& frame);
    void Tick(DmxFrame& frame) override { EngineTick(frame); }

    // Between ticks the show time is the one the last tick settled, advanced by the clock since
    // that tick while the sound plays or the free clock runs (the tick reads it afresh each
    // period, so this adds no drift of its own). The light offset applies while it advances.
    void SetLightOffsetMs(int32_t offsetMs) override { m_lightOffsetMs = offsetMs; }
    std::optional<uint32_t> NextStepAt(uint32_t afterMs) override;
    void FrameAt(uint32_t nowMs, DmxFrame& frame) override;

private:
    // A device mode text as the tick last read it: "playing", "ERROR:..." or empty.
    struct ModeText {
        std::array<char, SharedText::kCapacity> Text{};
        size_t Size = 0;
        std::string_view View() const { return {Text.data(), Size}; }
        void Assign(std::string_view a, std::string_view b = {});
    };

    void AdvanceFreeClock();
    void ReadModeAndPosition();
    void HandleOpenOrClose();
    void HandleTransportRequests(const ModeText& tickMode);
    void SettlePosition();
    void HandleEndOfSound();
    void BuildOutput(DmxFrame& frame);
    void StartFreeClock(int32_t at, uint32_t atTick);
    void NoteClockModel();
    // The show time the frames follow at clock time nowMs (the light offset included), by the
    // last tick's clock model.
    int32_t FrameTimeAt(uint32_t nowMs) const;

    EngineContext m_context;
    ModeText m_mode;      // SoundMode as read in this tick
    ModeText m_prevMode;  // PrevSoundMode
    // The position was read in this tick while the sound played or was paused: the cursor may
    // follow it.
    bool m_positionRead = false;
    // This tick's mode read found the sound stopped since the last tick because it played to its
    // end (the device says so until its next command).
    bool m_endedNaturally = false;
    // A command of ours (stop, seek, close, open) may have stopped the device since it last played:
    // a following playing -> stopped edge is then not the natural end of the sound.
    bool m_stopCommanded = false;
    // This tick moved the device (stop, seek, play), so the position read at its start is stale.
    bool m_movedThisTick = false;
    // This tick sent the device a command after its mode read: the mode it read is history, so
    // the end of the sound is not judged on it.
    bool m_commandedThisTick = false;
    // This tick opened a sound: the device stands at 0 (or at a seek made in the same tick).
    bool m_openedThisTick = false;
    // How long ago the device says the sound ended, when m_endedNaturally.
    uint32_t m_msSinceEnd = 0;
    SourceChannels m_sources{};

    // The clock model of the last tick: at clock m_modelClock the position was m_modelTime, and
    // it advances with the clock when m_advancing (up to m_modelEnd).
    uint32_t m_modelClock = 0;
    int32_t m_modelTime = 0;
    int64_t m_modelEnd = 0;
    bool m_advancing = false;
    int32_t m_lightOffsetMs = 0;
    // The show time of the last frame sent between ticks: a tick whose device position reads a
    // little behind it must not take the lights back across a step that already went out.
    std::optional<int32_t> m_frameFloor;
};

}  // namespace lumavox
