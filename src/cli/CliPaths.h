#pragma once

#include <filesystem>
#include <string>

namespace lumavox::cli {

// Paths on the command line are relative to the working directory, while the core resolves
// relative paths against the program folder: every path argument is made absolute first.
inline std::string AbsolutePath(const std::string& path) {
    std::error_code ec;
    const auto absolute = std::filesystem::absolute(path, ec);
    return ec ? path : absolute.lexically_normal().string();
}

}  // namespace lumavox::cli
