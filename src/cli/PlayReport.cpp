#include "cli/PlayReport.h"

#include <chrono>
#include <cstdio>

#include "cli/CliOutput.h"
#include "model/UsrFunc.h"

namespace lumavox::cli {

bool EngineShowFinished(const EngineState& state, bool& started) {
    const bool playing = state.SoundMode.Equals("playing") || state.SoundMode.Equals("paused");
    const bool freeClock = state.FreeClockRunning.load();
    if (playing || freeClock) started = true;
    if (!started || playing || freeClock) return false;
    const int64_t end = static_cast<int64_t>(state.SoundLength.load()) + state.PostPlayTime.load();
    const int32_t t = state.CursorTime.load();
    return t >= end;
}

std::string UsbNotConfiguredText(const std::string& settingsPath) {
    return "no USB DMX interface configured (DMX:NG): set UsbVendorId and UsbProductId under "
           "[Option] in " +
           settingsPath +
           " (as lsusb shows them, e.g. 0403), or play with --output artnet or --output none";
}

std::string BadUsbIdText(const std::string& settingsPath, const std::string& setting) {
    return settingsPath + ": " + setting +
           " is not a USB identifier (hexadecimal as lsusb prints it, e.g. UsbVendorId=0403)";
}

std::chrono::steady_clock::time_point NextReportTime(std::chrono::steady_clock::time_point due,
                                                     std::chrono::steady_clock::time_point now) {
    const auto next = due + std::chrono::seconds(1);
    return next > now ? next : now + std::chrono::seconds(1);
}

bool WaitForEnd(const EngineState& state, ShutdownSignals& signals,
                const std::function<bool()>& finished, bool progress) {
    using namespace std::chrono;
    auto nextReport = steady_clock::now();
    int32_t lastPosition = state.CursorTime.load();
    auto lastMove = steady_clock::now();
    while (!finished()) {
        const auto now = steady_clock::now();
        if (now >= nextReport) {
            if (progress) std::fprintf(stderr, "%s\n", MillisText(state.CursorTime.load()).c_str());
            nextReport = NextReportTime(nextReport, now);
        }
        // Nothing pauses a headless show, so a position that stops moving means the sound
        // device gave up (a failed play command, a lost server): end instead of waiting forever.
        if (const int32_t position = state.CursorTime.load(); position != lastPosition) {
            lastPosition = position;
            lastMove = now;
        } else if (now - lastMove > kStallLimit) {
            Warn("the play position stopped moving at " + MillisText(position));
            return false;
        }
        if (signals.Wait(milliseconds(50))) {
            Warn("stopping");
            return true;
        }
    }
    return true;
}

}  // namespace lumavox::cli
