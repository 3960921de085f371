// lumavox-cli info: a project file as JSON.
#include <cstdio>
#include <nlohmann/json.hpp>

#include "cli/CliArgs.h"
#include "cli/CliPaths.h"
#include "cli/CliShow.h"
#include "cli/Commands.h"
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

    // The file as it is stored, rather than a show opened for playing.
    if (const std::string problem = InputProblem(path); !problem.empty()) {
        return FailFile(path, problem);
    }
    ProjectData project;
    const ProjectLoadResult result = LoadProjectFile(project, path);
    if (!result.Loaded()) return FailFile(path, ProjectProblemText(result.Status));

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
