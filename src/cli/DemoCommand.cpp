// lumavox-cli demo: writes the demo show.
#include <cstdio>

#include "cli/CliArgs.h"
#include "cli/Commands.h"
#include "cli/DemoShow.h"
#include "cli/GeneratedShow.h"

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
    std::string project;
    const GeneratedShow demo{"demo", "Lumavox demo", [] { return DemoWavBytes(); }, BuildDemoSteps};
    if (const int failed = WriteGeneratedShow(parsed->positionals[0], demo, project); failed != 0) {
        return failed;
    }
    return FinishOutput(0);
}

}  // namespace lumavox::cli
