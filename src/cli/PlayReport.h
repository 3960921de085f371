#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "engine/EngineState.h"
#include "platform/ShutdownSignals.h"

namespace lumavox::cli {

// Waits until the show has ended (or a stop signal arrived), printing the play time to stderr once
// a second when progress is set. False when the play position stopped moving for kStallLimit
// before the end.
inline constexpr std::chrono::seconds kStallLimit{5};
bool WaitForEnd(const EngineState& state, ShutdownSignals& signals,
                const std::function<bool()>& finished, bool progress);

// The time of the next once-a-second report after one was due at due and now has come: one second
// on, or, when the process was stopped for longer (Ctrl+Z, SIGSTOP), one second from now, so that
// the missed seconds do not come out in a burst.
std::chrono::steady_clock::time_point NextReportTime(std::chrono::steady_clock::time_point due,
                                                     std::chrono::steady_clock::time_point now);

// The hint printed when no USB DMX interface is configured (vendor and product identifiers 0).
std::string UsbNotConfiguredText(const std::string& settingsPath);
// The refusal when one of them is not an identifier; setting is "key=value".
std::string BadUsbIdText(const std::string& settingsPath, const std::string& setting);

// The end of a show played through the engine: the post-roll has run out (or, without one, the
// sound has stopped at its end), and neither the sound nor the free clock runs.
bool EngineShowFinished(const EngineState& state, bool& started);

}  // namespace lumavox::cli
