// Loads arbitrary bytes as a project file, reads its texts, evaluates and edits its lines, and
// checks that the bytes a save would write load back to exactly the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "model/ColourEval.h"
#include "model/ProjectFile.h"
#include "model/StepOps.h"

using namespace lumavox;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ProjectData project;
    const ProjectLoadResult result =
        LoadProjectBytes(project, std::span<const uint8_t>(data, size), "fuzz.prj");
    if (!result.Loaded()) {
        if (result.Count != 0 || StepCount(project) != 0) std::abort();
        return 0;
    }
    if (result.Count != 1 + StepCount(project)) std::abort();
    if (result.PrePlayTime < 0 || result.PrePlayTime > kMaxPlayPadMs) std::abort();
    if (result.PostPlayTime < 0 || result.PostPlayTime > kMaxPlayPadMs) std::abort();

    (void)HeaderVersion(project.Header);
    const std::string title = HeaderTitle(project.Header);
    const std::string sound = HeaderSoundFile(project.Header);
    (void)SoundFilePath(project.Header, "/opt/lumavox/");
    (void)SetHeaderTitle(project.Header, title);
    (void)SetHeaderSoundFile(project.Header, sound);

    for (int line = 0; line < kLineCount; ++line) {
        for (const int32_t t : {INT32_MIN, -1, 0, 1000, INT32_MAX}) {
            (void)LineOutputColourAt(project, line, t);
        }
    }

    const std::vector<uint8_t> saved = ProjectFileBytes(project);
    ProjectData reloaded;
    if (!LoadProjectBytes(reloaded, saved, "again.prj").Loaded()) std::abort();
    if (ProjectFileBytes(reloaded) != saved) std::abort();

    // Editing a loaded project keeps it sound whatever its times and lengths were.
    if (StepCount(project) <= 2000) {
        const TimeLimits limits{result.PrePlayTime, result.PostPlayTime, 600000};
        SaveUndoState(project);
        SetSelection(project, 1, true);
        MoveSelected(project, 1500, true, limits);
        StretchSelected(project, -2.5, limits);
        ScaleBrightness(project, 3);
        CopyMulti(project, true);
        PasteMulti(project, INT32_MAX);
        for (int line = 0; line < kLineCount; ++line) {
            const auto& items = project.Lines[static_cast<size_t>(line)].ItemsUnlocked();
            for (size_t i = 0; i + 1 < items.size(); ++i) {
                if (items[i]->Time > items[i + 1]->Time || items[i]->Length < 0) std::abort();
            }
        }
        while (!project.UndoList.Empty()) Undo(project);
        if (ProjectFileBytes(project).size() != saved.size()) std::abort();
    }
    return 0;
}
