#pragma once

#include <string>

namespace lumavox {

// The outcome of writing a file. Empty Error = success; otherwise Error is the text shown to the
// user and SystemError the operating system's reason (for a detail line or a log).
struct SaveResult {
    std::string Error;
    std::string SystemError;

    bool Ok() const { return Error.empty(); }
    explicit operator bool() const { return Ok(); }
};

}  // namespace lumavox
