#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "model/ProjectFile.h"

namespace lumavox {

class ShowSession;
class ProjectData;
class EnvData;

enum class SaveAnswer { Yes, No, Cancel };

// The dialogs the project commands need from the window. UI thread.
class IProjectCommandUi {
public:
    virtual ~IProjectCommandUi() = default;
    // The save question: caption "確認", question icon, Yes/No/Cancel; Cancel also for Escape.
    virtual SaveAnswer AskSave(std::string_view text) = 0;
    // The project save dialog (with its overwrite prompt), starting at initialName; nullopt when
    // cancelled.
    virtual std::optional<std::string> ChooseSavePath(const std::string& initialName) = 0;
    // A failed save: "警告" box with the error (which names the path) and the system's reason.
    virtual void ShowSaveError(const ProjectSaveResult& error) = 0;
};

// The question before New, Open, a recent entry, a dropped project and closing the window. No
// question for an unmodified project. Yes saves (to ProjectFileName, or through the save dialog
// for an untitled project); a cancelled dialog or a failed save answers Cancel, so the caller
// does not go on and lose the changes. Whatever the answer, a named project moves to the front of
// History.
SaveAnswer AskSaveChanges(ShowSession& session, const ProjectData& project, EnvData& env,
                          IProjectCommandUi& ui);

// SavePrjAction: nothing for an unmodified project, else a save (Save As when untitled). True when
// the project was written.
bool SaveProjectCommand(ShowSession& session, const ProjectData& project, EnvData& env,
                        IProjectCommandUi& ui);
// SaveAsPrjAction: the dialog starts at PrjFile. True when the project was written.
bool SaveProjectAsCommand(ShowSession& session, EnvData& env, IProjectCommandUi& ui);

// Where SaveSelGrpAction writes, given the name its save dialog returned: ".GRP" is added when the
// file name has no extension. The dialog guarded only the name it returned against replacing a
// file, so AskReplace is set when the completed name is another one that already exists; the
// command then asks AskReplaceText (Path) ("確認", Yes/No/Cancel) and writes only after Yes.
struct GroupSaveTarget {
    std::string Path;
    bool AskReplace = false;
};
GroupSaveTarget GroupSaveTargetFor(const std::string& chosenPath);
// "[" + path + "] " + "上書きしてもいいですか?".
std::string AskReplaceText(const std::string& path);

// What a drop on the main window does: only a single file counts; .WAV/.MP3 become the project's
// sound, .PRJ is opened (after the save question); anything else is ignored.
enum class DropAction { Ignore, Sound, Project };
DropAction ClassifyDrop(std::span<const std::string> localFiles);

// The recent-project submenu: entry i is shown when History has a non-empty entry i (at most 20);
// the submenu is disabled when History is empty.
inline constexpr int kRecentEntryCount = 20;
bool RecentEntryVisible(std::span<const std::string> history, int index);
bool RecentSubmenuEnabled(std::span<const std::string> history);

}  // namespace lumavox
