#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "sound/SoundReporter.h"

namespace lumavox::cli {

// Sound reader messages for a terminal: errors go to stderr (and are kept for the exit path),
// progress texts are dropped so that stdout stays machine-readable.
class StderrReporter final : public SoundReporter {
public:
    void ShowStatus(std::string_view) override {}
    void ShowError(std::string_view text) override {
        m_lastError = std::string(text);
        std::fprintf(stderr, "lumavox-cli: %s\n", m_lastError.c_str());
    }
    const std::string& LastError() const { return m_lastError; }

private:
    std::string m_lastError;
};

}  // namespace lumavox::cli
