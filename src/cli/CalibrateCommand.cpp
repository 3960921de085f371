// lumavox-cli calibrate: writes the calibration show (a click and a white flash every second)
// and plays it, so the delay between the lights and the sound can be measured.
#include <filesystem>
#include <string>
#include <vector>

#include "cli/CalibrationShow.h"
#include "cli/CliArgs.h"
#include "cli/Commands.h"
#include "model/ProjectFile.h"
#include "platform/FileReplace.h"

namespace lumavox::cli {

namespace {

constexpr const char* kHelp =
    "usage: lumavox-cli calibrate DIR [--write-only] [PLAY OPTIONS]\n"
    "Writes the calibration show into DIR (created when missing): calibrate.wav, a click on\n"
    "every second for a minute, and calibrate.prj, whose eight lines flash white for 100 ms\n"
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
    for (size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--write-only") {
            writeOnly = true;
        } else {
            playArgs.push_back(args[i]);
        }
    }

    std::error_code ec;
    const auto folder = std::filesystem::absolute(args[0], ec);
    if (ec) return FailFile(args[0], "cannot make the path absolute", ec.message());
    std::filesystem::create_directories(folder, ec);
    std::error_code checkError;
    if (!std::filesystem::is_directory(folder, checkError)) {
        const std::error_code& reason = ec ? ec : checkError;
        return FailFile(folder.string(), "cannot create the folder",
                        reason ? reason.message() : "");
    }
    std::string dir = folder.string();
    if (dir.back() != '/') dir += '/';
    const std::string wav = dir + "calibrate.wav";

    ProjectData project;
    if (!SetSoundFilePath(project.Header, wav)) {
        return FailFile(wav, "path too long to be stored in a project (at most 263 bytes)");
    }
    if (const int error = ReplaceFileAtomically(wav, CalibrationWavBytes()); error != 0) {
        return FailFile(wav, "cannot write", OsReason(error));
    }
    BuildCalibrationSteps(project);
    SetHeaderTitle(project.Header, "Lumavox calibration");
    project.Header.SoundFileTime = FileDateTime(wav);
    project.ProjectFileName = dir + "calibrate.prj";
    const ProjectSaveResult saved = SaveProjectFile(
        project, ThroughPatch(), project.Header.PrePlayTime, project.Header.PostPlayTime, false);
    if (!saved.Ok()) return FailFile(project.ProjectFileName, "cannot write", saved.SystemError);
    Print(wav + "\n" + project.ProjectFileName + "\n");
    if (writeOnly) return FinishOutput(0);
    if (const int status = FinishOutput(0); status != 0) return status;
    playArgs.insert(playArgs.begin(), project.ProjectFileName);
    return PlayCommand(playArgs);
}

}  // namespace lumavox::cli
