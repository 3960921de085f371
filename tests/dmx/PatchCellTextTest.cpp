#include "dmx/PatchCellText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dmx/Patch.h"

namespace lumavox {
namespace {

struct CellCase {
    std::string text;
    int k;  // entry = channel - 1
    bool accepted;
    std::vector<std::pair<int, int32_t>> entries;  // (entry, source) expected afterwards
};

// Every case starts from a table whose entries all hold the marker 100, so that exactly the
// entries a text changes show it.
TEST(PatchCellText, TypedTextsPatchTheChannelsTheyName) {
    constexpr int32_t m = 100;
    const std::vector<CellCase> cases = {
        {"3G", 0, true, {{0, 7}, {1, m}}},
        {"3:2", 0, true, {{0, 7}, {1, m}}},
        {"3R", 30, true, {{30, 6}, {31, 7}, {32, 8}, {33, m}}},
        {"3-1", 30, true, {{30, 6}, {31, 7}, {32, 8}, {33, m}}},
        {"3.1", 30, true, {{30, 6}, {31, 7}, {32, 8}}},
        {"3,1", 30, true, {{30, 6}, {31, 7}, {32, 8}}},
        {"7", 30, true, {{29, m}, {30, 6}, {31, 7}, {32, 8}}},
        {"3", 30, true, {{30, 2}, {31, m}}},
        {"8b", 23, true, {{22, m}, {23, 23}, {24, m}}},
        {"1", 510, true, {{509, m}, {510, 0}, {511, 1}}},
        {"  3r\t", 40, true, {{40, 6}, {41, 7}, {42, 8}}},
        {"9R", 3, false, {}},
        {"0R", 3, false, {}},
        {"3-4", 3, false, {}},
        {"25", 3, false, {}},
        {"abc", 3, false, {}},
        {"99999999999999999999", 3, false, {}},
        {"+-1", 3, false, {}},
        {"0", 5, true, {{5, -1}, {6, m}}},
        {"", 5, true, {{5, -1}}},
        {"-1", 5, true, {{5, -1}}},
        {"5", 512, true, {{511, m}}},  // the inert cell past the last channel
    };
    for (const CellCase& c : cases) {
        PatchTable patch;
        std::array<int32_t, kDmxChannels> marked{};
        marked.fill(m);
        patch.Assign(marked);

        EXPECT_EQ(ApplyPatchCell(patch, c.k, ParsePatchCell(c.text)), c.accepted) << c.text;
        if (!c.accepted) {
            EXPECT_EQ(patch.Snapshot(), marked) << c.text;
        }
        for (auto [entry, source] : c.entries) {
            EXPECT_EQ(patch.Get(entry), source) << c.text << " entry " << entry;
        }
    }
}

}  // namespace
}  // namespace lumavox
