#include "settings/AtomicFile.h"

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <span>
#include <system_error>

#include "model/Translation.h"
#include "platform/FileReplace.h"

namespace lumavox {

std::optional<std::string> ReadFileBytes(const std::string& path, size_t maxBytes) {
    std::string bytes;
    if (ReadRegularFile(path, maxBytes, bytes) != 0) return std::nullopt;
    return bytes;
}

SaveResult WriteFileAtomically(const std::string& path, std::string_view bytes) {
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (!folder.empty()) {
        std::error_code ec;
        std::filesystem::create_directories(folder, ec);  // the write below reports what fails
    }
    const int error = ReplaceFileAtomically(
        path,
        std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
    if (error == 0) return {};
    return SaveResult{TranslatedWith(LV_TEXT("Lumavox", "ファイル %1 を作成できません"), path),
                      std::system_category().message(error)};
}

}  // namespace lumavox
