// lumavox-cli: plays finished shows headless, renders what a show sends, and checks files.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "platform/ProgramVersion.h"

namespace {

constexpr const char* kUsage =
    "usage: lumavox-cli COMMAND [ARGS]\n"
    "\n"
    "commands:\n"
    "  info PROJECT      print a project file as JSON\n"
    "  render PROJECT    print the line colours over time as CSV (and a raw DMX recording)\n"
    "  peaks SOUND OUT   write the waveform peak cache of a WAV or MP3 file\n"
    "  wavinfo SOUND     print a sound file's format as JSON\n"
    "  beats SOUND       print the onsets or beats of a WAV or MP3 file (ms per line)\n"
    "  play PROJECT      play a show headless on the audio device and a DMX output\n"
    "  demo DIR          write a demo show (demo.wav, demo.prj) into DIR\n"
    "  calibrate DIR     write and play a click show to measure the lights' delay\n"
    "  export PROJECT OUT.fseq  write the show as an FSEQ sequence for show players\n"
    "\n"
    "Every command takes --help (or: lumavox-cli help COMMAND); --version prints the version.\n"
    "Exit status: 0 done, 1 failed, 2 usage error (peaks, beats: the reader's codes).\n";

using Command = int (*)(const std::vector<std::string>&);

Command FindCommand(const std::string& name) {
    using namespace lumavox::cli;
    if (name == "info") return InfoCommand;
    if (name == "render") return RenderCommand;
    if (name == "peaks") return PeaksCommand;
    if (name == "wavinfo") return WavInfoCommand;
    if (name == "beats") return BeatsCommand;
    if (name == "play") return PlayCommand;
    if (name == "demo") return DemoCommand;
    if (name == "calibrate") return CalibrateCommand;
    if (name == "export") return ExportCommand;
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace lumavox::cli;
    if (argc < 2) {
        std::fputs(kUsage, stderr);
        return kStatusUsage;
    }
    const std::string name = argv[1];
    std::vector<std::string> args(argv + 2, argv + argc);
    if (name == "--version") {
        Print("lumavox-cli " + lumavox::ProgramVersion() + "\n");
        return FinishOutput(0);
    }
    if (name == "--help" || name == "-h" || (name == "help" && args.empty())) {
        Print(kUsage);
        return FinishOutput(0);
    }
    Command command = FindCommand(name);
    if (name == "help") {
        command = FindCommand(args[0]);
        if (command == nullptr || args.size() > 1) {
            return Fail("help takes one COMMAND (see lumavox-cli --help)", kStatusUsage);
        }
        args = {"--help"};
    }
    if (command == nullptr) {
        return Fail("unknown command '" + name + "' (see lumavox-cli --help)", kStatusUsage);
    }
    try {
        return command(args);
    } catch (const std::exception& e) {
        return Fail(e.what());
    }
}
