#include "model/SoundLocation.h"

#include <sys/stat.h>

#include "model/ProjectFile.h"

namespace lumavox {

namespace {

bool IsRegularFile(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

SoundLocation LocateSoundFile(const std::string& projectPath, const std::string& storedSoundPath,
                              const std::string& programFolder) {
    SoundLocation location;
    if (storedSoundPath.empty()) return location;
    const std::string stored = ResolveSoundPath(storedSoundPath, programFolder);
    location.Tried.push_back(stored);
    if (IsRegularFile(stored)) {
        location.Path = stored;
        return location;
    }
    // Paths made on Windows separate with '\'; either ends the folder part.
    const size_t nameStart = storedSoundPath.find_last_of("/\\");
    const std::string name =
        nameStart == std::string::npos ? storedSoundPath : storedSoundPath.substr(nameStart + 1);
    const size_t folderEnd = projectPath.find_last_of('/');
    if (name.empty() || name == "." || name == ".." || folderEnd == std::string::npos) {
        return location;
    }
    const std::string beside = projectPath.substr(0, folderEnd + 1) + name;
    if (beside == stored) return location;
    location.Tried.push_back(beside);
    if (IsRegularFile(beside)) location.Path = beside;
    return location;
}

}  // namespace lumavox
