#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace lumavox::cli {

// The options one command accepts: those that take a value and plain flags.
struct OptionTable {
    std::set<std::string> valued;  // e.g. "--from"
    std::set<std::string> flags;   // e.g. "--repeat", "--help"
};

// A command line split into positional arguments, valued options and flags.
struct ParsedArgs {
    std::vector<std::string> positionals;
    std::map<std::string, std::string> values;
    std::set<std::string> flags;

    bool Has(const std::string& flag) const { return flags.count(flag) != 0; }
    const std::string* Value(const std::string& option) const;
};

// Splits args; "--opt=value" and "--opt value" both work, "--" ends the options. On an unknown
// option or a missing value returns nullopt with a one-line message in error.
std::optional<ParsedArgs> ParseArgs(const std::vector<std::string>& args, const OptionTable& table,
                                    std::string& error);

// The start every command shares: parses args against table (with --help added), prints help
// on --help, and checks the number of positional arguments. Nothing when the command is done
// already; status is then its exit status (0 after the help, 2 after a one-line usage error).
std::optional<ParsedArgs> ParseCommand(const std::vector<std::string>& args, OptionTable table,
                                       const char* help, size_t positionalCount,
                                       const std::string& usageError, int& status);

// A whole decimal int32 ("-2000", "20"); nullopt for anything else, out of range included.
std::optional<int32_t> ParseInt32(const std::string& text);

}  // namespace lumavox::cli
