#pragma once

#include <filesystem>
#include <string>

namespace lumavox::cli {

// Paths on the command line are relative to the working directory, while the core resolves
// relative paths against the program folder: every path argument is made absolute first. Only
// absolute: ".." is left for the kernel, since "link/.." is the link target's parent, not ".".
inline std::string AbsolutePath(const std::string& path) {
    std::error_code ec;
    const auto absolute = std::filesystem::absolute(path, ec);
    return ec ? path : absolute.string();
}

}  // namespace lumavox::cli
