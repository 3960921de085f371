// lumavox-cli demo: writes the demo show.
#include <cstdio>
#include <filesystem>

#include "cli/CliArgs.h"
#include "cli/Commands.h"
#include "cli/DemoShow.h"
#include "model/ProjectFile.h"
#include "platform/FileReplace.h"

namespace lumavox::cli {

namespace {

constexpr const char* kHelp =
    "usage: lumavox-cli demo DIR\n"
    "Writes a demo show into DIR (created when missing): demo.wav, a 24-second piece with a\n"
    "steady beat, and demo.prj, whose eight lines flash on that beat, with the through patch and\n"
    "a 2-second pre-roll and post-roll.\n";

}  // namespace

int DemoCommand(const std::vector<std::string>& args) {
    int status = 0;
    const auto parsed =
        ParseCommand(args, {{}, {}}, kHelp, 1, "demo takes one DIR (see --help)", status);
    if (!parsed) return status;
    std::error_code ec;
    const auto folder = std::filesystem::absolute(parsed->positionals[0], ec);
    if (ec) return FailFile(parsed->positionals[0], "cannot make the path absolute", ec.message());
    std::filesystem::create_directories(folder, ec);
    // The check keeps the first reason: a name the system refuses (too long) fails both.
    std::error_code checkError;
    if (!std::filesystem::is_directory(folder, checkError)) {
        const std::error_code& reason = ec ? ec : checkError;
        return FailFile(folder.string(), "cannot create the folder",
                        reason ? reason.message() : "");
    }
    // The project stores the sound path absolute (or relative to the program folder), so the
    // folder is made absolute before anything is written.
    std::string dir = folder.string();
    if (dir.back() != '/') dir += '/';
    const std::string wav = dir + "demo.wav";

    // Everything that can be checked is checked before the 4 MB of sound are written, and each
    // file is written atomically: a failure leaves no partial file behind.
    ProjectData project;
    if (!SetSoundFilePath(project.Header, wav)) {
        return FailFile(wav, "path too long to be stored in a project (at most 263 bytes)");
    }
    if (const int error = ReplaceFileAtomically(wav, DemoWavBytes()); error != 0) {
        return FailFile(wav, "cannot write", OsReason(error));
    }
    BuildDemoSteps(project);
    SetHeaderTitle(project.Header, "Lumavox demo");
    project.Header.SoundFileTime = FileDateTime(wav);
    project.ProjectFileName = dir + "demo.prj";
    const ProjectSaveResult saved = SaveProjectFile(
        project, ThroughPatch(), project.Header.PrePlayTime, project.Header.PostPlayTime, false);
    if (!saved.Ok()) return FailFile(project.ProjectFileName, "cannot write", saved.SystemError);
    Print(wav + "\n" + project.ProjectFileName + "\n");
    return FinishOutput(0);
}

}  // namespace lumavox::cli
