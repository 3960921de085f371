// lumavox-cli calibrate: writes the calibration show (a click and a white flash every second)
// and plays it, so the delay between the lights and the sound can be measured.
#include <string>
#include <vector>

#include "cli/CalibrationShow.h"
#include "cli/CliArgs.h"
#include "cli/Commands.h"
#include "cli/GeneratedShow.h"

namespace lumavox::cli {

namespace {

constexpr const char* kHelp =
    "usage: lumavox-cli calibrate DIR [--write-only] [--seconds N] [PLAY OPTIONS]\n"
    "Writes the calibration show into DIR (created when missing): calibrate.wav, a click on\n"
    "every second for a minute (--seconds N: N seconds, 2..3600), and calibrate.prj, whose eight "
    "lines flash white for 100 ms\n"
    "starting exactly on each click. Then plays it as `lumavox-cli play` does, with the play\n"
    "options given (--output, --event-timed, --light-offset MS, --repeat...); --write-only\n"
    "only writes the files. Film the lights and the speaker together, or record a photodiode\n"
    "and a microphone, and read how far the flashes lag the clicks: that is the light offset\n"
    "to use (see the README).\n";

}  // namespace

int CalibrateCommand(const std::vector<std::string>& args) {
    for (const std::string& a : args) {
        if (a == "--help" || a == "-h") {
            Print(kHelp);
            return FinishOutput(0);
        }
    }
    if (args.empty() || args[0].empty() || args[0][0] == '-') {
        return Fail("calibrate takes a DIR first (see --help)", kStatusUsage);
    }
    std::vector<std::string> playArgs;
    bool writeOnly = false;
    int seconds = kCalibrationSeconds;
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--write-only") {
            writeOnly = true;
        } else if (args[i] == "--seconds") {
            const auto value = i + 1 < args.size() ? ParseInt32(args[++i]) : std::nullopt;
            if (!value || *value < 2 || *value > kMaxCalibrationSeconds) {
                return Fail("--seconds must be 2..3600", kStatusUsage);
            }
            seconds = *value;
        } else {
            playArgs.push_back(args[i]);
        }
    }

    std::string project;
    const GeneratedShow show{"calibrate", "Lumavox calibration",
                             [seconds] { return CalibrationWavBytes(seconds); },
                             [seconds](ProjectData& p) { BuildCalibrationSteps(p, seconds); }};
    if (const int failed = WriteGeneratedShow(args[0], show, project); failed != 0) return failed;
    if (writeOnly) return FinishOutput(0);
    if (const int status = FinishOutput(0); status != 0) return status;
    playArgs.insert(playArgs.begin(), project);
    return PlayCommand(playArgs);
}

}  // namespace lumavox::cli
