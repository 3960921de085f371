#pragma once

#include <string>

namespace lumavox {

// Where the settings file lives: beside the program as "<program path>.INI" for a build tree or a
// portable copy whose folder is writable, else "$XDG_CONFIG_HOME/lumavox/lumavox.INI"
// ($XDG_CONFIG_HOME defaulting to "$HOME/.config"). An installed program always uses the latter,
// even when run by an account that may write its folder. Any thread.
std::string DefaultSettingsPath();

// Whether the settings of the programs in `folder` go beside them: the folder is writable and
// does not hold an installed program. Any thread.
bool SettingsBesideProgram(const std::string& folder);

// Whether `folder` (with or without a trailing '/') holds an installed program: it is the
// install prefix's program folder `installBinDir`, a system program folder (/usr/bin,
// /usr/local/bin, ...), or the program folder of an installed tree, one with "../share/lumavox"
// beside it (the help pages are installed there; a build tree or a portable copy keeps them in
// "help/" beside the program).
bool IsInstalledProgramFolder(const std::string& folder, const std::string& installBinDir);

// The user's home folder: $HOME, else the account's entry in the user database; empty when neither
// names one.
std::string HomeFolder();

// The same choice from explicit inputs; empty or null texts count as unset. A relative
// $XDG_CONFIG_HOME is ignored, as the base directory rules require.
std::string SettingsPathFor(const std::string& programPath, bool programFolderWritable,
                            const char* xdgConfigHome, const char* home);

}  // namespace lumavox
