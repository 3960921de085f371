#include "editor/logic/ProjectCommands.h"

#include <filesystem>

#include "editor/logic/UiText.h"
#include "engine/ShowSession.h"
#include "model/Msgstr.h"
#include "model/ProjectData.h"
#include "settings/EnvData.h"

namespace lumavox {

namespace {

// Save As through the dialog; Cancel for a cancelled dialog or a failed save.
SaveAnswer SaveThroughDialog(ShowSession& session, EnvData& env, IProjectCommandUi& ui) {
    const std::optional<std::string> path = ui.ChooseSavePath(env.PrjFile);
    if (!path) return SaveAnswer::Cancel;
    const ProjectSaveResult saved = session.SaveProjectAs(*path);
    if (!saved.Ok()) {
        ui.ShowSaveError(saved);
        return SaveAnswer::Cancel;
    }
    return SaveAnswer::Yes;
}

}  // namespace

SaveAnswer AskSaveChanges(ShowSession& session, const ProjectData& project, EnvData& env,
                          IProjectCommandUi& ui) {
    SaveAnswer answer = SaveAnswer::No;
    if (project.Modified) {
        answer = ui.AskSave(AskSaveText(project.ProjectFileName));
        if (answer == SaveAnswer::Yes) {
            if (!project.ProjectFileName.empty()) {
                const ProjectSaveResult saved = session.SaveProject(false);
                if (!saved.Ok()) {
                    ui.ShowSaveError(saved);
                    answer = SaveAnswer::Cancel;
                }
            } else {
                answer = SaveThroughDialog(session, env, ui);
            }
        }
    }
    if (!project.ProjectFileName.empty()) env.PutHistoryFirst(project.ProjectFileName);
    return answer;
}

bool SaveProjectCommand(ShowSession& session, const ProjectData& project, EnvData& env,
                        IProjectCommandUi& ui) {
    if (!project.Modified) return false;
    if (project.ProjectFileName.empty()) return SaveProjectAsCommand(session, env, ui);
    const ProjectSaveResult saved = session.SaveProject(false);
    if (!saved.Ok()) ui.ShowSaveError(saved);
    return saved.Ok();
}

bool SaveProjectAsCommand(ShowSession& session, EnvData& env, IProjectCommandUi& ui) {
    return SaveThroughDialog(session, env, ui) == SaveAnswer::Yes;
}

GroupSaveTarget GroupSaveTargetFor(const std::string& chosenPath) {
    GroupSaveTarget target{chosenPath, false};
    const size_t slash = chosenPath.find_last_of('/');
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const size_t dot = chosenPath.rfind('.');
    const bool hasExtension =
        dot != std::string::npos && dot >= nameStart && dot + 1 < chosenPath.size();
    if (hasExtension || nameStart >= chosenPath.size()) return target;
    target.Path += ".GRP";
    std::error_code error;
    target.AskReplace = std::filesystem::exists(target.Path, error);
    return target;
}

std::string AskReplaceText(const std::string& path) {
    return "[" + path + "] " + std::string(MsgText(Msg::AskOverwrite));
}

DropAction ClassifyDrop(std::span<const std::string> localFiles) {
    if (localFiles.size() != 1) return DropAction::Ignore;
    const std::string& path = localFiles.front();
    if (HasExtension(path, ".WAV") || HasExtension(path, ".MP3")) return DropAction::Sound;
    if (HasExtension(path, ".PRJ")) return DropAction::Project;
    return DropAction::Ignore;
}

bool RecentEntryVisible(std::span<const std::string> history, int index) {
    return index >= 0 && index < kRecentEntryCount && static_cast<size_t>(index) < history.size() &&
           !history[static_cast<size_t>(index)].empty();
}

bool RecentSubmenuEnabled(std::span<const std::string> history) {
    return !history.empty();
}

}  // namespace lumavox
