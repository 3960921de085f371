#include "dmx/Patch.h"

#include <gtest/gtest.h>

namespace lumavox {
namespace {

DmxFrame Build(const std::array<int32_t, kLineCount>& colours, const PatchTable& patch,
               int32_t check) {
    SourceChannels sources{};
    FillSourceChannels(colours, sources);
    DmxFrame frame{};
    frame.fill(0xAA);
    BuildDmxFrame(sources, patch, check, frame);
    return frame;
}

TEST(Patch, UnpatchedFrameIsDarkExceptThePatchCheckTriple) {
    PatchTable patch;  // all -1 at start
    const DmxFrame frame = Build({0xFFFFFF, 0xFFFFFF}, patch, 2);
    for (int k = 0; k < kDmxChannels; ++k) {
        EXPECT_EQ(frame[static_cast<size_t>(k)], (k >= 6 && k <= 8) ? 255 : 0) << k;
    }
    const DmxFrame last = Build({}, patch, 170);
    EXPECT_EQ(last[509], 0);
    EXPECT_EQ(last[510], 255);
    EXPECT_EQ(last[511], 255);
}

TEST(Patch, ThroughPatchCarriesLinesInRgbOrderAndSourcesFanOut) {
    PatchTable patch;
    patch.SetThrough();
    const DmxFrame frame = Build({0x0000FF, 0, 0, 0, 0, 0, 0, 0x030201}, patch, -1);
    EXPECT_EQ(frame[0], 255);
    EXPECT_EQ(frame[1], 0);
    EXPECT_EQ(frame[2], 0);
    EXPECT_EQ(frame[21], 1);
    EXPECT_EQ(frame[22], 2);
    EXPECT_EQ(frame[23], 3);
    EXPECT_EQ(frame[24], 0);

    patch.ClearAll();
    patch.Set(99, 2);
    patch.Set(199, 2);
    patch.Set(300, 100);     // a source above 23 is always 0
    patch.Set(301, 100000);  // out of range counts as unpatched
    const DmxFrame fan = Build({0x7F0000}, patch, -1);
    EXPECT_EQ(fan[99], 0x7F);
    EXPECT_EQ(fan[199], 0x7F);
    EXPECT_EQ(fan[300], 0);
    EXPECT_EQ(fan[301], 0);
}

}  // namespace
}  // namespace lumavox
