#include "editor/logic/TimeLine.h"

#include <gtest/gtest.h>

#include <vector>

#include "model/TStepList.h"

namespace lumavox {
namespace {

TimeLine Laid(int32_t pre, int32_t post, int32_t frames, int width, int32_t cursor = 0) {
    TimeLine tl;
    tl.Layout({cursor, pre, post, frames, pre + frames * 10 + post, width});
    return tl;
}

TEST(TimeLine, MapsTimeAndXWithTruncationTowardZero) {
    const TimeLine tl = Laid(10000, 10000, 6000, 800);  // ppm 0.025
    struct Row {
        int32_t t;
        int x;
    };
    for (const Row r : {Row{0, 250}, Row{-10000, 0}, Row{-9961, 0}, Row{39, 250}, Row{40, 251}}) {
        EXPECT_EQ(tl.TimeToX(r.t), r.x) << r.t;
    }
    EXPECT_EQ(tl.XToTime(250), 0);
    EXPECT_EQ(tl.XToTime(1), -9960);
    EXPECT_EQ(tl.XToTime(0), -10000);
    // frames: column 250 is frame 0, the last frame is shown, the one after it is not
    EXPECT_DOUBLE_EQ(tl.XToFrame(250), 0.0);
    EXPECT_TRUE(tl.FrameShown(tl.XToFrame(250)));
    EXPECT_FALSE(tl.FrameShown(tl.XToFrame(249)));
    EXPECT_TRUE(tl.FrameShown(5999.9));
    EXPECT_FALSE(tl.FrameShown(6000.0));
    // a pre-roll time lands between 0 and trunc(Pre * ppm)
    EXPECT_EQ(tl.TimeToX(-5000), 125);
}

TEST(TimeLine, ScrollRangeCountsPreAndPostRollInWholeSeconds) {
    TimeLine tl;
    tl.Layout({0, 1500, 0, 400, 1500 + 4000, 100});
    EXPECT_EQ(tl.R(), 125);  // (100 + 400) frames * 0.25
    EXPECT_DOUBLE_EQ(tl.FitZoom(), 100.0 / 500);
    tl.Layout({0, 0, 0, 0, 0, 100});
    EXPECT_EQ(tl.R(), 0);
    EXPECT_DOUBLE_EQ(tl.FitZoom(), 1.0);  // h < 1
    // a zero-width viewport leaves the fit zoom alone, so zoom to fit never makes ppm 0
    tl.Layout({0, 1000, 0, 400, 5000, 100});
    const double fit = tl.FitZoom();
    tl.Layout({0, 1000, 0, 400, 5000, 0});
    EXPECT_DOUBLE_EQ(tl.FitZoom(), fit);
    EXPECT_TRUE(tl.ZoomFit());
    tl.Layout({0, 1000, 0, 400, 5000, 0});
    EXPECT_GT(tl.PixelsPerMs(), 0.0);
}

TEST(TimeLine, CandidatesUseTheirOwnTruncationsAndExactlyEightPixelsMisses) {
    TStepList list;
    Step s;
    for (int32_t t : {100, 150, 400}) {
        s.Time = t;
        list.Add(s);
    }
    TimeLine tl;
    EXPECT_TRUE(tl.ZoomIn() == false);  // nothing loaded yet
    tl.Layout({0, 15, 0, 100, 1015, 500});
    while (tl.FrameZoom() < 1) {
        tl.ZoomIn();
    }
    tl.Layout({0, 15, 0, 100, 1015, 500});  // ppm 0.1, Pre * ppm 1.5; step 100 at x 10 (+1.5)
    ASSERT_DOUBLE_EQ(tl.PixelsPerMs(), 0.1);
    EXPECT_EQ(tl.TimeToX(100), 11);
    EXPECT_EQ(tl.Candidate(list.ItemsUnlocked(), 19, 0), 0);  // trunc(17.5) = 17: 7 px
    EXPECT_EQ(tl.Candidate(list.ItemsUnlocked(), 20, 0), 1);  // 8 px from step 0: missed
    EXPECT_EQ(tl.Candidate(list.ItemsUnlocked(), 4, 0), -1);  // trunc(2.5) = 2: 8 px misses
    EXPECT_EQ(tl.Candidate(list.ItemsUnlocked(), 5, 0), 0);
    // both 100 and 150 lie within reach of x 14: k counts in list order
    EXPECT_EQ(tl.Candidate(list.ItemsUnlocked(), 14, 0), 0);
    EXPECT_EQ(tl.Candidate(list.ItemsUnlocked(), 14, 1), 1);
    EXPECT_EQ(tl.Candidate(list.ItemsUnlocked(), 14, 2), -1);
}

TEST(TimeLine, ZoomStepsThroughTheTableWithItsEdges) {
    TimeLine tl;
    EXPECT_FALSE(tl.CanZoomIn());
    EXPECT_FALSE(tl.CanZoomOut());
    EXPECT_FALSE(tl.CanZoomFit());
    tl.Layout({0, 0, 0, 100, 1000, 50});
    tl.ZoomIn();
    tl.ZoomIn();
    tl.ZoomIn();
    EXPECT_DOUBLE_EQ(tl.FrameZoom(), 1.5);
    tl.ZoomIn();
    tl.ZoomIn();
    EXPECT_DOUBLE_EQ(tl.FrameZoom(), 4);  // 2 -> 4
    EXPECT_FALSE(tl.CanZoomIn());

    // FitZoom 0.5: zoom out becomes disabled at 0.001
    tl.Layout({0, 0, 0, 100, 1000, 50});
    ASSERT_DOUBLE_EQ(tl.FitZoom(), 0.5);
    while (tl.CanZoomOut()) tl.ZoomOut();
    EXPECT_DOUBLE_EQ(tl.FrameZoom(), 0.001);

    // FitZoom 0.00005: 0.001, 0.0005, 0.0001, then FitZoom, where it stops
    TimeLine longLine;
    longLine.Layout({0, 0, 0, 1000000, 10000000, 50});
    ASSERT_DOUBLE_EQ(longLine.FitZoom(), 0.00005);
    std::vector<double> seen;
    while (longLine.CanZoomOut()) {
        longLine.ZoomOut();
        seen.push_back(longLine.FrameZoom());
    }
    const std::vector<double> expected{0.1,   0.05,   0.025,  0.01,   0.005,
                                       0.001, 0.0005, 0.0001, 0.00005};
    EXPECT_EQ(seen, expected);

    // 0.3 (a fit zoom) -> 0.25
    TimeLine fit;
    fit.Layout({0, 0, 0, 100, 1000, 30});
    fit.ZoomFit();
    ASSERT_DOUBLE_EQ(fit.FrameZoom(), 0.3);
    fit.ZoomOut();
    EXPECT_DOUBLE_EQ(fit.FrameZoom(), 0.25);
}

TEST(TimeLine, LayoutKeepsTheCursorWhereItWasOnScreenButNeverScrollsBelowZero) {
    TimeLine tl;
    tl.Layout({60000, 0, 0, 20000, 200000, 400});  // ppm 0.025, cursor x 1500
    ASSERT_TRUE(tl.SetL(1400));
    tl.ZoomIn();
    tl.Layout({60000, 0, 0, 20000, 200000, 400});  // ppm 0.05, cursor x 3000
    EXPECT_EQ(tl.CursorX(), 3000);
    EXPECT_EQ(tl.CursorX() - tl.L(), 100);
    EXPECT_EQ(tl.ScaleText(), "スケール= 0.500");

    TimeLine early;
    early.Layout({100, 0, 0, 20000, 200000, 400});
    early.ZoomOut();
    early.Layout({100, 0, 0, 20000, 200000, 400});
    EXPECT_EQ(early.L(), 0);
}

TEST(TimeLine, CursorPageFollowsOnlyWhileTheSoundPlays) {
    TimeLine tl;
    tl.Layout({0, 0, 0, 100000, 1000000, 100});  // ppm 0.025
    auto move = tl.CursorUpdate(4000, false);    // x 100: within the view
    EXPECT_TRUE(move.Moved);
    EXPECT_EQ(move.OldX, 0);
    EXPECT_EQ(move.NewX, 100);
    EXPECT_FALSE(tl.CursorUpdate(4039, true).Moved);  // same column
    move = tl.CursorUpdate(4040, false);              // x 101 > width, not playing
    EXPECT_FALSE(move.Scrolled);
    EXPECT_EQ(tl.L(), 0);
    move = tl.CursorUpdate(4080, true);
    EXPECT_TRUE(move.Scrolled);
    EXPECT_EQ(tl.L(), 100);
    EXPECT_EQ(tl.WheelScroll(false), 12);
    EXPECT_EQ(tl.WheelScroll(true), 50);
}

// Zooming at the pointer keeps the pointer's column on the same time line x (scaled by the zoom
// ratio), within [0, MaxL]. 10 minutes, 800 px: MaxL is 14200 at 0.25, 29200 at 0.5.
TEST(TimeLine, AnchoredZoomKeepsThePointersTimeInItsColumnWithinTheScrollRange) {
    struct Row {
        double from;
        bool in;
        int l, offset, newL;
    };
    for (const Row r : {Row{0.25, true, 1000, 100, 2100}, Row{0.5, false, 2100, 100, 1000},
                        Row{1, true, 1000, 799, 1899},  // 1.5x: trunc(1799 * 1.5) - 799
                        Row{0.5, false, 10, 30, 0}, Row{0.5, false, 29000, 0, 14200}}) {
        TimeLine tl = Laid(0, 0, 60000, 800);
        while (tl.FrameZoom() < r.from) tl.ZoomIn();
        tl.Layout({0, 0, 0, 60000, 600000, 800});
        tl.SetL(r.l);
        ASSERT_TRUE(r.in ? tl.ZoomIn() : tl.ZoomOut());
        tl.Layout({0, 0, 0, 60000, 600000, 800});
        EXPECT_EQ(tl.AnchoredL(r.l + r.offset, r.offset, r.from), r.newL) << r.from << " " << r.l;
    }
}

}  // namespace
}  // namespace lumavox
