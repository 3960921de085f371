// lumavox-cli info: a project file as JSON.
#include <cstdio>
#include <nlohmann/json.hpp>

#include "cli/CliArgs.h"
#include "cli/CliPaths.h"
#include "cli/Commands.h"
#include "cli/ShowRender.h"
#include "model/ProjectData.h"
#include "model/ProjectFile.h"

namespace lumavox::cli {

namespace {

constexpr const char* kHelp =
    "usage: lumavox-cli info PROJECT\n"
    "Loads PROJECT as the editor does and prints it as one JSON object: the loader's count\n"
    "(1 + steps loaded), the header's texts, times and patch, and the steps of the eight lines.\n";

}  // namespace

int InfoCommand(const std::vector<std::string>& args) {
    int status = 0;
    const auto parsed =
        ParseCommand(args, {{}, {}}, kHelp, 1, "info takes one PROJECT (see --help)", status);
    if (!parsed) return status;
    const std::string path = AbsolutePath(parsed->positionals[0]);

    ProjectData project;
    PatchTable patch;
    const auto loaded = LoadShow(path, project, patch);
    if (!loaded) return kStatusFailed;
    const ProjectLoadResult& result = *loaded;

    nlohmann::ordered_json out;
    out["count"] = result.Count;
    out["version"] = HeaderVersion(project.Header);
    out["title"] = HeaderTitle(project.Header);
    out["soundFile"] = HeaderSoundFile(project.Header);
    out["soundFileTime"] = project.Header.SoundFileTime;
    out["prePlayTime"] = result.PrePlayTime;
    out["postPlayTime"] = result.PostPlayTime;
    out["patch"] = result.Patch;
    nlohmann::ordered_json lines = nlohmann::ordered_json::array();
    for (const TStepList& line : project.Lines) {
        nlohmann::ordered_json steps = nlohmann::ordered_json::array();
        for (const auto& s : line.ItemsUnlocked()) {
            steps.push_back({{"time", s->Time},
                             {"length", s->Length},
                             {"colour", s->Colour},
                             {"brightness", s->Brightness},
                             {"selected", s->Selected}});
        }
        lines.push_back(std::move(steps));
    }
    out["lines"] = std::move(lines);
    Print(out.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n");
    return FinishOutput(0);
}

}  // namespace lumavox::cli
