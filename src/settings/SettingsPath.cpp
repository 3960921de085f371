#include "settings/SettingsPath.h"

#include <unistd.h>

#include <array>
#include <cstdlib>

namespace lumavox {

namespace {

bool Set(const char* text) {
    return text != nullptr && text[0] != '\0';
}

std::string ProgramPath() {
    std::array<char, 4096> buffer{};
    const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (n <= 0) return {};
    return std::string(buffer.data(), static_cast<size_t>(n));
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
}

}  // namespace

std::string SettingsPathFor(const std::string& programPath, bool programFolderWritable,
                            const char* xdgConfigHome, const char* home) {
    if (!programPath.empty() && programFolderWritable) return programPath + ".INI";
    std::string base;
    if (Set(xdgConfigHome) && xdgConfigHome[0] == '/') {
        base = xdgConfigHome;
    } else if (Set(home)) {
        base = std::string(home) + "/.config";
    } else {
        base = "/tmp";  // no home at all (a bare service account); still a usable place
    }
    if (base.back() != '/') base += '/';
    return base + "lumavox/lumavox.INI";
}

std::string DefaultSettingsPath() {
    const std::string program = ProgramPath();
    const bool writable = !program.empty() && ::access(FolderOf(program).c_str(), W_OK) == 0;
    return SettingsPathFor(program, writable, std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
}

}  // namespace lumavox
