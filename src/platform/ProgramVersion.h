#pragma once

#include <string>

namespace lumavox {

// The program's version text, set once for the whole build.
std::string ProgramVersion();

}  // namespace lumavox
