#pragma once

#include <string>
#include <vector>

#include "cli/CliOutput.h"

namespace lumavox::cli {

// Each command takes the arguments after its name and returns the process exit status. Errors are
// one line on stderr.
int InfoCommand(const std::vector<std::string>& args);
int RenderCommand(const std::vector<std::string>& args);
int PeaksCommand(const std::vector<std::string>& args);
int WavInfoCommand(const std::vector<std::string>& args);
int PlayCommand(const std::vector<std::string>& args);
int DemoCommand(const std::vector<std::string>& args);
int CalibrateCommand(const std::vector<std::string>& args);
int ExportCommand(const std::vector<std::string>& args);
int BeatsCommand(const std::vector<std::string>& args);

// Exit statuses shared by every command: 0 done, 1 failed, 2 a usage error (bad options or
// arguments). peaks and beats also return the sound reader's codes 1..4.
inline constexpr int kStatusFailed = 1;
inline constexpr int kStatusUsage = 2;

}  // namespace lumavox::cli
