#pragma once

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "sound/SoundReporter.h"

namespace lumavox::fuzz {

// A private folder for the process's scratch files, made on first use and removed at exit.
// The name lives in a never-freed string so that the exit handler can still read it.
inline const std::string& ScratchFolder() {
    static const std::string* const folder = [] {
        std::string templ =
            (std::filesystem::temp_directory_path() / "lumavox-fuzz-XXXXXX").string();
        if (mkdtemp(templ.data()) == nullptr) std::abort();
        auto* name = new std::string(templ);
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(ScratchFolder(), ec);
        });
        return name;
    }();
    return *folder;
}

inline std::string WriteScratch(const std::string& name, const uint8_t* data, size_t size) {
    const std::string path = ScratchFolder() + "/" + name;
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) std::abort();
    size_t done = 0;
    while (done < size) {
        const ssize_t n = write(fd, data + done, size - done);
        if (n <= 0) std::abort();
        done += static_cast<size_t>(n);
    }
    close(fd);
    return path;
}

class SilentReporter : public SoundReporter {
public:
    void ShowStatus(std::string_view) override {}
    void ShowError(std::string_view) override {}
};

}  // namespace lumavox::fuzz
