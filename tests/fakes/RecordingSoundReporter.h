#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "sound/SoundReporter.h"

namespace lumavox::test {

// Keeps every status and error text in order, for tests to inspect.
class RecordingSoundReporter : public SoundReporter {
public:
    void ShowStatus(std::string_view text) override { Statuses.emplace_back(text); }
    void ShowError(std::string_view text) override { Errors.emplace_back(text); }

    std::vector<std::string> Statuses;
    std::vector<std::string> Errors;
};

}  // namespace lumavox::test
