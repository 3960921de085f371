#include "cli/SacnOptions.h"

#include "platform/NetworkInfo.h"

namespace lumavox::cli {
namespace {

// A whole number in [low, high] from an option's value; false with the usage message.
bool ReadNumber(const ParsedArgs& args, const std::string& option, int32_t low, int32_t high,
                int32_t& value, std::string& error) {
    const std::string* text = args.Value(option);
    if (text == nullptr) return true;
    const std::optional<int32_t> number = ParseInt32(*text);
    if (!number || *number < low || *number > high) {
        error = option + " must be " + std::to_string(low) + ".." + std::to_string(high);
        return false;
    }
    value = *number;
    return true;
}

}  // namespace

bool HasSacnOptions(const ParsedArgs& args) {
    for (const char* name : kSacnOptionNames) {
        if (args.Value(name) != nullptr) return true;
    }
    return false;
}

bool ApplySacnOptions(const ParsedArgs& args, SacnSettings& sacn, std::string& error) {
    if (!ReadNumber(args, "--universe", 1, 63999, sacn.Universe, error) ||
        !ReadNumber(args, "--priority", 0, 200, sacn.Priority, error) ||
        !ReadNumber(args, "--sacn-sync", 0, 63999, sacn.Sync, error)) {
        return false;
    }
    if (const std::string* text = args.Value("--sacn-unicast")) {
        const auto list = ParseIpv4List(*text);
        if (!list || list->empty()) {
            error = "--sacn-unicast must be IPv4 addresses separated by commas (10.0.0.5,10.0.0.6)";
            return false;
        }
        sacn.Unicast = *text;
    }
    if (const std::string* text = args.Value("--sacn-interface")) {
        if (text->empty()) {
            error = "--sacn-interface needs the name of a network interface";
            return false;
        }
        sacn.Interface = *text;
    }
    return true;
}

}  // namespace lumavox::cli
