#pragma once

#include <string>

#include "cli/CliArgs.h"
#include "settings/SacnSettings.h"

namespace lumavox::cli {

// The sACN options of "play": --priority, --sacn-unicast, --sacn-sync and --sacn-interface.
inline constexpr const char* kSacnOptionNames[] = {"--priority", "--sacn-unicast", "--sacn-sync",
                                                   "--sacn-interface"};

// True when args hold any of them.
bool HasSacnOptions(const ParsedArgs& args);
// Puts the options (and --universe, for sACN 1..63999) over the settings' values; false with a
// one-line usage message in error for a value out of range or an address list that does not read.
bool ApplySacnOptions(const ParsedArgs& args, SacnSettings& sacn, std::string& error);

}  // namespace lumavox::cli
