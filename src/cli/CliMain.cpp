// lumavox-cli: plays finished shows headless, renders what a show sends, and checks files.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli/Commands.h"

namespace {

constexpr const char* kUsage =
    "usage: lumavox-cli COMMAND [ARGS]\n"
    "\n"
    "commands:\n"
    "  info PROJECT      print a project file as JSON\n"
    "  render PROJECT    print the line colours over time as CSV (and a raw DMX recording)\n"
    "  peaks SOUND OUT   write the waveform peak cache of a WAV or MP3 file\n"
    "  wavinfo SOUND     print a sound file's format as JSON\n"
    "  play PROJECT      play a show headless on the audio device and a DMX output\n"
    "  demo DIR          write a demo show (demo.wav, demo.prj) into DIR\n"
    "\n"
    "Every command takes --help.\n";

}  // namespace

int main(int argc, char** argv) {
    using namespace lumavox::cli;
    if (argc < 2) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::string command = argv[1];
    if (command == "--help" || command == "-h" || command == "help") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    const std::vector<std::string> args(argv + 2, argv + argc);
    try {
        if (command == "info") return InfoCommand(args);
        if (command == "render") return RenderCommand(args);
        if (command == "peaks") return PeaksCommand(args);
        if (command == "wavinfo") return WavInfoCommand(args);
        if (command == "play") return PlayCommand(args);
        if (command == "demo") return DemoCommand(args);
    } catch (const std::exception& e) {
        return Fail(e.what());
    }
    return Fail("unknown command '" + command + "' (see lumavox-cli --help)", 2);
}
