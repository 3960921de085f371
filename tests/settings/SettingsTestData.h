#pragma once

#include <cstdlib>
#include <string>

namespace lumavox {

// A file of tests/settings/data in the source tree (the test runner gives its root).
inline std::string DataFile(const std::string& name) {
    const char* root = std::getenv("LUMAVOX_SOURCE_DIR");
    return std::string(root != nullptr ? root : ".") + "/tests/settings/data/" + name;
}

}  // namespace lumavox
