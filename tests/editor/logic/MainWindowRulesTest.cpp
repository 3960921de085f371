#include "editor/logic/MainWindowRules.h"

#include <gtest/gtest.h>

#include "editor/logic/ActionTable.h"
#include "engine/EngineState.h"
#include "engine/Transport.h"
#include "model/ProjectData.h"
#include "model/StepOps.h"
#include "platform/Clock.h"

namespace lumavox {
namespace {

using Id = ActionId;

bool Enabled(ActionId id, const ActionFacts& facts) {
    return MainActionState(id, facts).Enabled;
}

TEST(MainActionState, AddingNeedsASoundAndACursorAwayFromTheCurrentStep) {
    ActionFacts f;
    f.SoundLoaded = true;
    EXPECT_FALSE(Enabled(Id::AddStepAction, f));  // cursor 0, no current step: 0 is compared
    EXPECT_FALSE(Enabled(Id::AddBlkStepAction, f));
    f.CursorTime = 250;
    EXPECT_TRUE(Enabled(Id::AddStepAction, f));
    f.CurrentStep = 0;
    f.StepsInLine = 1;
    f.CurrentStepTime = 250;
    EXPECT_FALSE(Enabled(Id::AddStepAction, f));
    f.SoundLoaded = false;
    f.CursorTime = 0;
    EXPECT_FALSE(Enabled(Id::AddBlkStepAction, f));
}

TEST(MainActionState, LineRulesLookAtTheCurrentLineAndMultiActionsHideOutsideMultiMode) {
    ActionFacts f;
    f.SelectedAll = 3;  // selected steps only on other lines
    EXPECT_FALSE(Enabled(Id::DelStepAction, f));
    EXPECT_FALSE(Enabled(Id::CutStepAction, f));
    EXPECT_TRUE(Enabled(Id::SaveSelGrpAction, f));
    EXPECT_TRUE(Enabled(Id::PropStepAction, f));
    EXPECT_TRUE(Enabled(Id::CutMltAction, f));
    for (const ActionInfo& action : kActionTable) {
        EXPECT_EQ(MainActionState(action.Id, f).Visible, !action.MultiOnly) << action.Name;
    }
    f.MultiMode = true;
    EXPECT_TRUE(MainActionState(Id::SelectAllMltAction, f).Visible);

    f.StepsInLine = 3;
    f.CurrentStep = 0;
    EXPECT_FALSE(Enabled(Id::PrvStpAction, f));
    EXPECT_TRUE(Enabled(Id::NxtStpAction, f));
    f.CurrentStep = 2;
    EXPECT_TRUE(Enabled(Id::PrvStpAction, f));
    EXPECT_FALSE(Enabled(Id::NxtStpAction, f));
    EXPECT_TRUE(Enabled(Id::CurBrt0Action, f));

    f.Idle = false;
    EXPECT_FALSE(Enabled(Id::NewPrjAction, f));
    EXPECT_FALSE(Enabled(Id::OpenPrjAction, f));
    EXPECT_FALSE(Enabled(Id::SavePrjAction, f));
    EXPECT_TRUE(Enabled(Id::SetPrjAction, f));
}

TEST(GatherActionFacts, ReadsTheProjectEngineAndTransport) {
    ProjectData project;
    EngineState engine;
    std::atomic<bool> repeat{false};
    SteadyClock clock;
    Transport transport(engine, clock, repeat);
    AddStep(project, 0, 0, 100, 0, false);
    AddStep(project, 0, 0, 300, 0, true);
    engine.CursorTime = 100;
    engine.AudioAvailable = true;

    const Step* first = &project.Lines[0].At(0);
    ActionFacts f = GatherActionFacts(project, engine, transport, true,
                                      GatherStepFacts(project, first), false, true, true);
    EXPECT_EQ(f.StepsInLine, 2);
    EXPECT_EQ(f.CurrentStepTime, 100);
    EXPECT_FALSE(Enabled(Id::AddStepAction, f));  // the cursor sits on the current step
    EXPECT_TRUE(Enabled(Id::UndoAction, f));
    EXPECT_TRUE(Enabled(Id::PlayAction, f));
    EXPECT_FALSE(Enabled(Id::StopAction, f));

    const Step stray;
    f = GatherActionFacts(project, engine, transport, false, GatherStepFacts(project, &stray),
                          false, true, true);
    EXPECT_EQ(f.CurrentStep, -1);  // not a step of the line
    EXPECT_FALSE(Enabled(Id::PlayAction, f));
    EXPECT_FALSE(Enabled(Id::ZoomInAction, f));
}

TEST(StepFactsCache, FollowsEveryEditTheCurrentLineAndTheCurrentStep) {
    ProjectData project;
    AddStep(project, 0, 0, 100, 0, false);
    AddStep(project, 0, 0, 300, 0, false);
    StepFactsCache cache;
    const Step* second = &project.Lines[0].At(1);
    EXPECT_EQ(cache.Get(project, second).CurrentStep, 1);
    EXPECT_EQ(cache.Get(project, second).SelectedAll, 0);
    // A selection is an edit of a step: the counts follow without a new current step.
    SetStepSelected(project, 0, second, true);
    EXPECT_EQ(cache.Get(project, second).SelectedAll, 1);
    EXPECT_EQ(cache.Get(project, second).SelectedInLine, 1);
    SetStepTime(project, 0, second, 50);  // re-sorted to the front
    EXPECT_EQ(cache.Get(project, second).CurrentStep, 0);
    EXPECT_EQ(cache.Get(project, second).CurrentStepTime, 50);
    project.CurrentLine = 1;
    EXPECT_EQ(cache.Get(project, second), (StepFacts{0, 1, 0, 2, -1, 0}));
    project.CurrentLine = 0;
    EXPECT_EQ(cache.Get(project, nullptr).CurrentStep, -1);
}

TEST(DisplayPieces, SoundEndScrollAndFirstVolumePosition) {
    // R 10000, width 800, post-roll 10 s at 0.025 px/ms = 250 px
    EXPECT_EQ(SoundEndScrollPosition(10000, 800, 10000, 0.025), 10000 - 800 - 250 + 16);
    EXPECT_EQ(SoundEndScrollPosition(10000, 800, 0, 0.025), 10000 - 800);  // clamped at the end
    EXPECT_EQ(SoundEndScrollPosition(500, 800, 10000, 0.025), 0);
    EXPECT_EQ(SoundEndScrollPosition(10000, 800, INT32_MAX, 1e300), 0);
    EXPECT_EQ(VolumeSliderPosition(65535), 0);
    EXPECT_EQ(VolumeSliderPosition(0), 255);
    EXPECT_EQ(VolumeSliderPosition(0x80FF), 127);
    EXPECT_EQ(VolumeSliderPosition(std::nullopt), 0);
}

TEST(AutoBackupGate, WaitsOutDragsAndDialogsAndReportsOneFailureInARow) {
    AutoBackupGate gate;
    EXPECT_FALSE(gate.TimerFired(false, false));
    EXPECT_TRUE(gate.TimerFired(true, false));
    EXPECT_FALSE(gate.TimerFired(true, true));  // mid-drag: later
    EXPECT_TRUE(gate.Waiting());
    EXPECT_TRUE(gate.Idle(true));
    EXPECT_FALSE(gate.Idle(true));  // once
    gate.TimerFired(true, true);
    EXPECT_FALSE(gate.Idle(false));  // saved meanwhile: nothing left to do

    EXPECT_TRUE(gate.Failed());
    EXPECT_FALSE(gate.Failed());
    gate.Succeeded();
    EXPECT_TRUE(gate.Failed());
}

}  // namespace
}  // namespace lumavox
