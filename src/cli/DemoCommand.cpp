// lumavox-cli demo: writes the demo show.
#include <cstdio>
#include <filesystem>

#include "cli/CliArgs.h"
#include "cli/Commands.h"
#include "cli/DemoShow.h"
#include "model/ProjectFile.h"

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
    std::filesystem::create_directories(folder, ec);
    if (!std::filesystem::is_directory(folder)) return Fail("cannot create " + folder.string());
    // The project stores the sound path absolute (or relative to the program folder), so the
    // folder is made absolute before anything is written.
    std::string dir = folder.lexically_normal().string();
    if (dir.back() != '/') dir += '/';

    const std::string wav = dir + "demo.wav";
    if (!WriteDemoWav(wav)) return Fail("cannot write " + wav);

    ProjectData project;
    BuildDemoSteps(project);
    SetHeaderTitle(project.Header, "Lumavox demo");
    if (!SetSoundFilePath(project.Header, wav)) return Fail("sound path too long: " + wav);
    project.Header.SoundFileTime = FileDateTime(wav);
    project.ProjectFileName = dir + "demo.prj";
    const ProjectSaveResult saved = SaveProjectFile(
        project, ThroughPatch(), project.Header.PrePlayTime, project.Header.PostPlayTime, false);
    if (!saved.Ok()) return Fail(saved.Error + " (" + saved.SystemError + ")");
    std::printf("%s\n%s\n", wav.c_str(), project.ProjectFileName.c_str());
    return 0;
}

}  // namespace lumavox::cli
