#include "settings/SettingsPath.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <string_view>

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

std::string WithoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

bool IsFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

bool IsInstalledProgramFolder(const std::string& folder, const std::string& installBinDir) {
    const std::string dir = WithoutTrailingSlashes(folder);
    if (dir.empty()) return false;
    if (!installBinDir.empty() && dir == WithoutTrailingSlashes(installBinDir)) return true;
    constexpr std::array<std::string_view, 7> kSystemFolders{
        "/usr/bin",   "/usr/local/bin",  "/bin", "/usr/sbin", "/usr/local/sbin",
        "/usr/games", "/usr/local/games"};
    for (const std::string_view system : kSystemFolders) {
        if (dir == system) return true;
    }
    return IsFolder(dir + "/../share/lumavox");
}

bool SettingsBesideProgram(const std::string& folder) {
#ifdef LUMAVOX_INSTALL_BINDIR
    const std::string installBinDir = LUMAVOX_INSTALL_BINDIR;
#else
    const std::string installBinDir;
#endif
    return !folder.empty() && ::access(folder.c_str(), W_OK) == 0 &&
           !IsInstalledProgramFolder(folder, installBinDir);
}

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
    const bool beside = !program.empty() && SettingsBesideProgram(FolderOf(program));
    const std::string home = HomeFolder();
    return SettingsPathFor(program, beside, std::getenv("XDG_CONFIG_HOME"), home.c_str());
}

}  // namespace lumavox
