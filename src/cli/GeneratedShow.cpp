#include "cli/GeneratedShow.h"

#include <filesystem>
#include <system_error>

#include "cli/CliOutput.h"
#include "model/ProjectFile.h"
#include "platform/FileReplace.h"

namespace lumavox::cli {

int WriteGeneratedShow(const std::string& folderArg, const GeneratedShow& show,
                       std::string& projectPath) {
    std::error_code ec;
    const auto folder = std::filesystem::absolute(folderArg, ec);
    if (ec) return FailFile(folderArg, "cannot make the path absolute", ec.message());
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
    const std::string wav = dir + show.Name + ".wav";

    ProjectData project;
    if (!SetSoundFilePath(project.Header, wav)) {
        return FailFile(wav, "path too long to be stored in a project (at most 263 bytes)");
    }
    if (const int error = ReplaceFileAtomically(wav, show.WavBytes()); error != 0) {
        return FailFile(wav, "cannot write", OsReason(error));
    }
    show.BuildSteps(project);
    SetHeaderTitle(project.Header, show.Title);
    project.Header.SoundFileTime = FileDateTime(wav);
    project.ProjectFileName = dir + show.Name + ".prj";
    const ProjectSaveResult saved = SaveProjectFile(
        project, ThroughPatch(), project.Header.PrePlayTime, project.Header.PostPlayTime, false);
    if (!saved.Ok()) return FailFile(project.ProjectFileName, "cannot write", saved.SystemError);
    Print(wav + "\n" + project.ProjectFileName + "\n");
    projectPath = project.ProjectFileName;
    return 0;
}

}  // namespace lumavox::cli
