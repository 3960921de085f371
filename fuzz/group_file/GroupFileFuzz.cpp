// Inserts arbitrary bytes as a group file into a small project and checks that the lines stay
// sorted with consistent lengths, that the group arrives selected, and that undo restores the
// project exactly.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <vector>

#include "model/ProjectFile.h"
#include "model/StepOps.h"

using namespace lumavox;

namespace {

std::vector<uint8_t> Image(const ProjectData& project) {
    std::vector<uint8_t> out;
    for (const TStepList& line : project.Lines) {
        out.push_back(static_cast<uint8_t>(line.Count()));
        for (const auto& s : line.ItemsUnlocked()) {
            const auto* b = reinterpret_cast<const uint8_t*>(s);
            out.insert(out.end(), b, b + sizeof(Step));
        }
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ProjectData project;
    for (int line = 0; line < kLineCount; line += 3) {
        project.CurrentLine = line;
        AddStep(project, 0x0000FF, 0, 1000 * line, 0, false);
        AddStep(project, 0x00FF00, 10, 0, 0, false, StepPlacement::AfterLineEnd);
    }
    SetSelection(project, 1, true);
    const std::vector<uint8_t> before = Image(project);

    int32_t offset = 0;
    if (size >= 4) std::memcpy(&offset, data + size - 4, 4);
    const int count = LoadGroupBytes(project, std::span<const uint8_t>(data, size), offset);
    if (count < 0 || static_cast<size_t>(count) > size / sizeof(Step)) std::abort();
    if (SelectedCount(project) != count) std::abort();
    for (int line = 0; line < kLineCount; ++line) {
        const auto& items = project.Lines[static_cast<size_t>(line)].ItemsUnlocked();
        for (size_t i = 0; i < items.size(); ++i) {
            if (items[i]->LineIndex != line) std::abort();
            if (i + 1 < items.size() && items[i]->Time > items[i + 1]->Time) std::abort();
            if (i + 1 == items.size() && items[i]->Length != 0) std::abort();
        }
    }
    (void)GroupFileBytes(project);
    Undo(project);
    if (Image(project) != before) std::abort();
    return 0;
}
