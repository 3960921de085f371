#include "editor/logic/PaneGeometry.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "editor/logic/PaneState.h"
#include "editor/logic/TimeLine.h"
#include "model/ProjectData.h"
#include "model/StepOps.h"

namespace lumavox {
namespace {

using namespace line_pane;

TEST(LinePaneGeometry, MarkerAndBandUseTheirOwnRoundings) {
    // M = 100: b = 128 gives 100 - 50.19..: marker trunc(49.8) = 49, band 100 - 50 = 50
    EXPECT_EQ(MarkerY(128, 100), 49);
    EXPECT_EQ(BandCentre(128, 100), 50);
    EXPECT_EQ(MarkerY(-128, 100), 150);
    EXPECT_EQ(BandCentre(-128, 100), 150);
    EXPECT_EQ(MarkerY(255, 100), 0);
    EXPECT_EQ(MarkerY(-255, 100), 200);
    // the hit square of a darkened step sits one pixel lower; painting keeps y
    EXPECT_EQ(MarkerRect(50, -10, 100, Variant::Paint), (PixelRect{42, 95, 16, 16}));
    EXPECT_EQ(MarkerRect(50, -10, 100, Variant::Hit), (PixelRect{42, 96, 16, 16}));
    EXPECT_EQ(MarkerRect(50, 10, 100, Variant::Hit), (PixelRect{42, 88, 16, 16}));
}

TEST(LinePaneGeometry, BrightnessFromYClampsAtTheEdgesAndNeedsTwoPixels) {
    EXPECT_EQ(BrightnessAtY(100, 100), 0);
    EXPECT_EQ(BrightnessAtY(0, 100), 255);
    EXPECT_EQ(BrightnessAtY(-40, 100), 255);
    EXPECT_EQ(BrightnessAtY(250, 100), -255);
    EXPECT_EQ(BrightnessAtY(99, 100), 2);    // trunc(2.55)
    EXPECT_EQ(BrightnessAtY(101, 100), -2);  // toward zero
    EXPECT_FALSE(BrightnessAtY(0, 0).has_value());
}

TEST(LinePaneGeometry, HitTestTakesTheFirstCandidateWhoseSquareHoldsThePoint) {
    ProjectData project;
    TimeLine tl;
    tl.Layout({0, 0, 0, 1000, 10000, 500});  // ppm 0.025: 40 ms a pixel
    Step s;
    s.Time = 4000;       // x 100
    s.Brightness = 255;  // y 0
    project.Lines[0].Add(s);
    s.Time = 4200;        // x 105
    s.Brightness = -255;  // y 200, hit square 193..208
    project.Lines[0].Add(s);
    const auto items = project.Lines[0].ItemsUnlocked();
    EXPECT_EQ(HitTest(tl, items, 103, 5, 100), 0);
    EXPECT_EQ(HitTest(tl, items, 103, 200, 100), 1);  // second candidate
    EXPECT_EQ(HitTest(tl, items, 103, 100, 100), -1);
    EXPECT_EQ(HitTest(tl, items, 113, 200, 100), -1);  // 8 px beside step 1: no candidate
    EXPECT_EQ(HitTest(tl, items, 105, 192, 100), -1);  // hit square starts one lower
    EXPECT_EQ(HitTest(tl, items, 105, 208, 100), 1);
    // a band must cover a square wholly
    const PixelRect square = MarkerRect(100, 255, 100, Variant::Hit);
    EXPECT_TRUE(SpanRect(120, 30, 92, -8).Covers(square));
    EXPECT_FALSE(SpanRect(120, 30, 93, -8).Covers(square));
}

// The line pane's band takes whole hit squares, the reference rows take marker centres; both
// leave steps that are already selected out (selecting them again would count them twice).
TEST(RubberBandPicks, LinePaneTakesWholeSquaresAndRowsTakeCentres) {
    ProjectData project;
    TimeLine tl;
    tl.Layout({0, 0, 0, 1000, 10000, 500});  // 40 ms a pixel
    for (const auto& [time, brightness, selected] :
         {std::tuple{4000, 255, 0}, std::tuple{4400, 255, 1}, std::tuple{4800, -255, 0},
          std::tuple{6000, 255, 0}}) {
        Step s;
        s.Time = time;  // x 100, 110, 120, 150
        s.Brightness = brightness;
        s.Selected = static_cast<uint8_t>(selected);
        project.Lines[0].Add(s);
    }
    const auto items = project.Lines[0].ItemsUnlocked();
    // squares x 92..107 (y -8..7), 112..127 (y 193..208), 142..157
    const std::vector<const Step*> upper = BandPicks(tl, items, SpanRect(90, -10, 150, 20), 100);
    EXPECT_EQ(upper, (std::vector<const Step*>{items[0]}));
    const std::vector<const Step*> all = BandPicks(tl, items, SpanRect(90, -10, 160, 210), 100);
    EXPECT_EQ(all, (std::vector<const Step*>{items[0], items[2], items[3]}));
    EXPECT_TRUE(BandPicks(tl, items, SpanRect(90, -10, 160, 208), 100).size() == 2);

    const RefRows rows(84);  // row 0 centre y 6
    EXPECT_EQ(rows.BandPicks(tl, items, 0, SpanRect(100, 6, 150, 7)),
              (std::vector<const Step*>{items[0], items[2]}));  // right edge 150 excluded
    EXPECT_TRUE(rows.BandPicks(tl, items, 1, SpanRect(100, 6, 151, 7)).empty());  // row 1: y 16
}

TEST(MarkBarTicks, TicksAlignToTimeZeroForEveryPreRoll) {
    // zoom 0.25 with no pre-roll: every second (25 px), a labelled major every 10 s
    auto ticks = MarkBarTicks(0, 300, 0.25, 0);
    ASSERT_GE(ticks.size(), 12u);
    EXPECT_EQ(ticks[0].X, 0);
    EXPECT_TRUE(ticks[0].Labelled);
    EXPECT_EQ(ticks[1].X, 25);
    EXPECT_FALSE(ticks[1].Major);
    EXPECT_TRUE(ticks[10].Major);
    EXPECT_EQ(ticks[10].Seconds, 10);
    // pre-roll 15 s at zoom 0.05 (10-s ticks of 50 px): time 0 at x 75, majors every minute
    ticks = MarkBarTicks(0, 400, 0.05, 15000);
    std::vector<int> xs;
    std::vector<int> majors;
    for (const MarkTick& t : ticks) {
        xs.push_back(t.X);
        if (t.Major) majors.push_back(t.X);
    }
    EXPECT_EQ(xs, (std::vector<int>{25, 75, 125, 175, 225, 275, 325, 375}));
    EXPECT_EQ(majors, (std::vector<int>{75, 375}));
    // at zoom 1 every tick is labelled, also inside the pre-roll
    ticks = MarkBarTicks(1000, 300, 1, 2000);
    for (const MarkTick& t : ticks) EXPECT_TRUE(t.Labelled);
    EXPECT_EQ(MarkBarSpacing(0.009), 6000);
    EXPECT_EQ(MarkBarMajorPeriod(0.009), 60000);
}

TEST(RefRows, RowGeometryAndTheSmallPaneGuard) {
    const RefRows rows(84);  // rh 10, p 4, o 4
    EXPECT_EQ(rows.Rh, 10);
    EXPECT_EQ(rows.P, 4);
    EXPECT_EQ(rows.Yi(2), 26);
    EXPECT_EQ(rows.RowOf(79), 7);
    EXPECT_EQ(rows.RowOf(80), -1);
    EXPECT_TRUE(rows.NearCentre(2, 30));
    EXPECT_FALSE(rows.NearCentre(2, 31));
    const RefRows tall(404);  // rh 50, p 23, o 8
    EXPECT_EQ(tall.O, 8);
    EXPECT_EQ(tall.LabelTop(1, 14), 68);
    const RefRows tiny(5);  // would divide by zero
    EXPECT_EQ(tiny.Rh, 1);
    EXPECT_EQ(tiny.RowOf(3), 3);
}

TEST(WaveColumn, SpansFromTheMaximumDownExcludingTheEnd) {
    EXPECT_EQ(WaveColumn(32767, 0, 100).Top, 0);
    EXPECT_EQ(WaveColumn(32767, 0, 100).Bottom, 100);
    EXPECT_EQ(WaveColumn(16384, -16384, 100).Top, 50);  // 100 - trunc(50.0015)
    EXPECT_EQ(WaveColumn(16384, -16384, 100).Bottom, 150);
    EXPECT_EQ(WaveColumn(0, 16384, 100).Top, 51);  // reversed: the other end excluded
    EXPECT_EQ(WaveColumn(0, 16384, 100).Bottom, 101);
    EXPECT_EQ(BrightnessText(-5), "明暗=  -5");
    EXPECT_EQ(SelectingText(2, 5, true), "選択中=2(5)");
    EXPECT_EQ(SelectingText(2, 5, false), "選択中=2");
}

TEST(PaneLayouts, WaveAreaAndReferencePaneHeights) {
    // The headers span the panes, the bevel and the splitter, even where the area has no room.
    const WaveLayout stereo = WaveAreaLayout(false, 360);
    EXPECT_EQ(stereo.LHeight, 176);
    EXPECT_EQ(stereo.LHeaderHeight, 184);
    EXPECT_EQ(stereo.RHeaderHeight, 180);
    const WaveLayout mono = WaveAreaLayout(true, 360);
    EXPECT_EQ(mono.LHeight + mono.Bevel + mono.RHeight, 360);
    EXPECT_EQ(mono.RHeaderHeight, 360);
    EXPECT_EQ(WaveAreaLayout(true, 1).RHeaderHeight, 4);  // the R pane is 0 high
    EXPECT_STREQ(mono.RHeaderText, "L+R");
    const RefLayout hidden = ReferenceLayout(false, 80);
    EXPECT_EQ(hidden.PaneHeight, 2);
    EXPECT_FALSE(hidden.SplitterEnabled);
    const RefLayout shown = ReferenceLayout(true, 12);
    EXPECT_EQ(shown.PaneHeight, 30);
    EXPECT_EQ(shown.PanelAbove, 8);
    EXPECT_TRUE(shown.SplitterEnabled);
}

TEST(PaneState, TheCurrentStepStaysTheSameStepWhenTheLineIsResorted) {
    ProjectData project;
    for (int t : {0, 100, 200}) {
        Step s;
        s.Time = t;
        project.Lines[0].Add(s);
    }
    PaneState state;
    state.SetCurrentIndex(project, 0, true);
    state.SetCurrentIndex(project, 2, true);
    ASSERT_TRUE(SetStepTime(project, 0, state.AnchorStep, 300));  // step 0 moves past the rest
    EXPECT_EQ(state.AnchorIndex(project), 2);
    EXPECT_EQ(state.CurrentIndex(project), 1);
    project.CurrentLine = 1;
    state.Revalidate(project);
    EXPECT_EQ(state.CurrentStep, nullptr);
    EXPECT_EQ(state.AnchorStep, nullptr);
}

// The amplitude zoom multiplies the distance from the baseline (gain 1: the plain rows) and runs
// past the pane, which the canvas clips; it steps by doubling within 1..16.
TEST(WaveColumn, AmplitudeZoomScalesFromTheBaselineAndStepsByDoubling) {
    EXPECT_EQ(WaveColumn(16384, -16384, 100, 1).Top, 50);
    EXPECT_EQ(WaveColumn(1000, -1000, 100, 4).Top, 88);  // 100 - trunc(12.2)
    EXPECT_EQ(WaveColumn(1000, -1000, 100, 4).Bottom, 112);
    EXPECT_EQ(WaveColumn(32767, -32768, 120, 16).Top, -1800);
    EXPECT_EQ(StepWaveGain(8, 2), 16);
    EXPECT_EQ(StepWaveGain(2, -5), 1);
    EXPECT_EQ(ValidWaveGain(6), 1);
    EXPECT_EQ(WaveGainText(16), "\u00D716");
}

}  // namespace
}  // namespace lumavox
