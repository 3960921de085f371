#pragma once

#include <string>

namespace lumavox {

// Where the settings file lives: beside the program as "<program path>.INI" when the program's
// folder is writable, else "$XDG_CONFIG_HOME/lumavox/lumavox.INI" ($XDG_CONFIG_HOME defaulting to
// "$HOME/.config"). Any thread.
std::string DefaultSettingsPath();

// The user's home folder: $HOME, else the account's entry in the user database; empty when neither
// names one.
std::string HomeFolder();

// The same choice from explicit inputs; empty or null texts count as unset. A relative
// $XDG_CONFIG_HOME is ignored, as the base directory rules require.
std::string SettingsPathFor(const std::string& programPath, bool programFolderWritable,
                            const char* xdgConfigHome, const char* home);

}  // namespace lumavox
