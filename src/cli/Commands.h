#pragma once

#include <string>
#include <vector>

namespace lumavox::cli {

// Each command takes the arguments after its name and returns the process exit status. Errors are
// one line on stderr.
int InfoCommand(const std::vector<std::string>& args);
int RenderCommand(const std::vector<std::string>& args);
int PeaksCommand(const std::vector<std::string>& args);
int WavInfoCommand(const std::vector<std::string>& args);
int PlayCommand(const std::vector<std::string>& args);
int DemoCommand(const std::vector<std::string>& args);

// Prints "lumavox-cli: <message>" on stderr and returns status.
int Fail(const std::string& message, int status = 1);

}  // namespace lumavox::cli
