#include "settings/SettingsPath.h"

#include <pwd.h>
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

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); Set(home)) return home;
    // A service started without $HOME: the account's own home from the user database, so the
    // settings never land in a folder other users can write to.
    std::array<char, 4096> buffer{};
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && Set(found->pw_dir)) {
        return found->pw_dir;
    }
    return {};
}

std::string DefaultSettingsPath() {
    const std::string program = ProgramPath();
    const bool writable = !program.empty() && ::access(FolderOf(program).c_str(), W_OK) == 0;
    const std::string home = HomeFolder();
    return SettingsPathFor(program, writable, std::getenv("XDG_CONFIG_HOME"), home.c_str());
}

}  // namespace lumavox
