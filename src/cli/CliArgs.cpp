#include "cli/CliArgs.h"

#include <charconv>
#include <cstdio>

#include "cli/Commands.h"

namespace lumavox::cli {

const std::string* ParsedArgs::Value(const std::string& option) const {
    const auto it = values.find(option);
    return it == values.end() ? nullptr : &it->second;
}

std::optional<ParsedArgs> ParseArgs(const std::vector<std::string>& args, const OptionTable& table,
                                    std::string& error) {
    ParsedArgs out;
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;  // everything after it is an argument, even "-x" or "--y"
            continue;
        }
        if (optionsEnded || arg.size() < 2 || arg[0] != '-' || (arg[1] != '-' && arg != "-h")) {
            out.positionals.push_back(arg);
            continue;
        }
        if (arg == "-h") {
            out.flags.insert("--help");
            continue;
        }
        std::string name = arg;
        std::optional<std::string> inlineValue;
        if (const auto eq = arg.find('='); eq != std::string::npos) {
            name = arg.substr(0, eq);
            inlineValue = arg.substr(eq + 1);
        }
        if (table.flags.count(name) != 0 && !inlineValue) {
            out.flags.insert(name);
        } else if (table.valued.count(name) != 0) {
            if (inlineValue) {
                out.values[name] = *inlineValue;
            } else if (i + 1 < args.size()) {
                out.values[name] = args[++i];
            } else {
                error = "missing value for " + name;
                return std::nullopt;
            }
        } else {
            error = "unknown option " + name;
            return std::nullopt;
        }
    }
    return out;
}

std::optional<ParsedArgs> ParseCommand(const std::vector<std::string>& args, OptionTable table,
                                       const char* help, size_t positionalCount,
                                       const std::string& usageError, int& status) {
    table.flags.insert("--help");
    std::string error;
    auto parsed = ParseArgs(args, table, error);
    status = 0;
    if (!parsed) {
        status = Fail(error + " (see --help)", kStatusUsage);
        return std::nullopt;
    }
    if (parsed->Has("--help")) {
        Print(help);
        status = FinishOutput(0);
        return std::nullopt;
    }
    if (parsed->positionals.size() != positionalCount) {
        status = Fail(usageError, kStatusUsage);
        return std::nullopt;
    }
    return parsed;
}

std::optional<int32_t> ParseInt32(const std::string& text) {
    int32_t value = 0;
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (begin != end && *begin == '+') ++begin;
    const auto result = std::from_chars(begin, end, value);
    if (result.ec != std::errc() || result.ptr != end || begin == end) return std::nullopt;
    return value;
}

}  // namespace lumavox::cli
