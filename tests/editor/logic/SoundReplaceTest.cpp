#include "editor/logic/SoundReplace.h"

#include <gtest/gtest.h>

#include <vector>

#include "dmx/Patch.h"
#include "fakes/RecordingSoundReporter.h"
#include "fakes/TempDir.h"
#include "model/ProjectData.h"
#include "model/ProjectFile.h"
#include "settings/EnvData.h"
#include "sound/WavFixture.h"
#include "sound/WavSound.h"
#include "sound/analysis/BeatCache.h"

namespace lumavox {
namespace {

using namespace std::chrono_literals;

struct QuietUi : ISessionUi {
    void BeginBusy() override {}
    void EndBusy() override {}
    void ShowWarning(std::string_view) override {}
};

std::vector<int32_t> TimesOf(const ProjectData& project) {
    std::vector<int32_t> times;
    for (const TStepList& line : project.Lines) {
        for (const Step* step : line.ItemsUnlocked()) times.push_back(step->Time);
    }
    return times;
}

void AddAt(ProjectData& project, int line, int32_t time) {
    project.CurrentLine = line;
    AddStep(project, 0x123456, 0, time, 0, false);
}

// Time line of the new sound: -2000 .. 4000 + 1000 ms.
constexpr TimeLimits kLimits{2000, 1000, 4000};

TEST(SoundShift, AShiftMayReachBothEndsOfTheTimeLineButNotPassThem) {
    ProjectData project;
    AddAt(project, 0, -1000);
    AddAt(project, 3, 0);
    AddAt(project, 7, 4000);
    EXPECT_TRUE(SoundShiftAllowed(project, 1000, kLimits));   // 4000 -> 5000, the last ms
    EXPECT_TRUE(SoundShiftAllowed(project, -1000, kLimits));  // -1000 -> -2000, the first
    const StepsOffTimeLine late = StepsOffTimeLineAfterShift(project, 1001, kLimits);
    EXPECT_EQ(late.After, 1);
    EXPECT_EQ(late.Before, 0);
    EXPECT_FALSE(SoundShiftAllowed(project, 1001, kLimits));
    EXPECT_FALSE(SoundShiftAllowed(project, -1001, kLimits));
    // Far shifts count in 64 bits: nothing wraps around into the time line.
    EXPECT_EQ(StepsOffTimeLineAfterShift(project, INT32_MAX, kLimits).After, 3);
    EXPECT_EQ(StepsOffTimeLineAfterShift(project, INT32_MIN, kLimits).Before, 3);
}

TEST(SoundShift, NoShiftKeepsStepsBeyondAShorterSoundAndAShiftMayBringThemBack) {
    ProjectData project;
    AddAt(project, 0, 1000);
    AddAt(project, 1, 6000);  // after 4000 + 1000
    EXPECT_TRUE(SoundShiftAllowed(project, 0, kLimits));
    EXPECT_EQ(StepsOffTimeLineAfterShift(project, 0, kLimits).After, 1);
    EXPECT_FALSE(SoundShiftAllowed(project, 10, kLimits));  // moved, and still off the line
    EXPECT_TRUE(SoundShiftAllowed(project, -2000, kLimits));
}

class ReplaceSoundTest : public ::testing::Test {
protected:
    ReplaceSoundTest() : env(dir.File("settings.ini"), dir.Folder()) {}

    // A 16-bit mono 8 kHz sound of the given length whose samples are all value.
    std::string WriteSound(const std::string& name, int seconds, int16_t value) {
        test::WavRecipe recipe;
        recipe.Channels = 1;
        recipe.Rate = 8000;
        const std::string path = dir.File(name);
        test::WriteFile(path,
                        test::WavBytes(recipe, test::Pcm16(std::vector<int16_t>(
                                                   8000 * static_cast<size_t>(seconds), value))));
        return path;
    }

    testing::TempDir dir;
    EnvData env;
    EngineState state;
    ProjectData project;
    PatchTable patch;
    test::RecordingSoundReporter reporter;
    WavSound sound{reporter};
    QuietUi ui;
    ShowSession session{project, state, patch, sound, env, ui, 1ms};
    SoundUndoMarks marks;
};

TEST_F(ReplaceSoundTest, OneUndoRestoresTheStepsTheSoundPathAndItsLength) {
    const std::string first = WriteSound("first.wav", 3, 1000);
    const std::string second = WriteSound("second.wav", 5, -2000);
    ASSERT_TRUE(session.ChangeSound(first));
    AddAt(project, 0, 0);
    AddAt(project, 4, 2500);
    SaveUndoState(project);  // an earlier edit, untouched by the replacement
    project.Modified = false;
    const std::string storedFirst = HeaderSoundFile(project.Header);

    ASSERT_TRUE(ReplaceSound(session, project, marks, second, 700));
    EXPECT_EQ(TimesOf(project), (std::vector<int32_t>{700, 3200}));
    EXPECT_EQ(sound.List().Count(), 500);
    EXPECT_EQ(sound.List()[0].LeftMin, -2000);
    EXPECT_NE(HeaderSoundFile(project.Header), storedFirst);
    EXPECT_EQ(state.SoundPath.Get(), second);
    EXPECT_EQ(project.UndoList.Count(), 2);  // one state for the whole replacement
    EXPECT_TRUE(project.Modified);

    const auto undo = [&] { Undo(project); };
    EXPECT_TRUE(UndoWithSound(session, project, marks, undo));
    EXPECT_EQ(TimesOf(project), (std::vector<int32_t>{0, 2500}));
    EXPECT_EQ(HeaderSoundFile(project.Header), storedFirst);
    EXPECT_EQ(state.SoundPath.Get(), first);
    EXPECT_EQ(sound.List().Count(), 300);
    EXPECT_EQ(sound.List()[0].LeftMax, 1000);
    EXPECT_TRUE(session.CachePending());
    EXPECT_EQ(marks.Count(), 1u);  // the redo state, which puts the replacing sound back

    // The earlier state is an ordinary one: its undo leaves the sound alone.
    EXPECT_FALSE(UndoWithSound(session, project, marks, undo));
    EXPECT_EQ(state.SoundPath.Get(), first);
    EXPECT_EQ(sound.List().Count(), 300);
}

TEST_F(ReplaceSoundTest, AnUnreadableSoundChangesNothingAndADroppedStateTakesItsMarkAlong) {
    const std::string first = WriteSound("first.wav", 2, 10);
    ASSERT_TRUE(session.ChangeSound(first));
    AddAt(project, 0, 100);
    test::WriteFile(dir.File("broken.wav"), "RIFF....WAVEjunk");
    EXPECT_FALSE(ReplaceSound(session, project, marks, dir.File("broken.wav"), 50));
    EXPECT_EQ(TimesOf(project), (std::vector<int32_t>{100}));
    EXPECT_EQ(project.UndoList.Count(), 0);
    EXPECT_EQ(state.SoundPath.Get(), first);

    ASSERT_TRUE(ReplaceSound(session, project, marks, WriteSound("second.wav", 1, 5), 0));
    EXPECT_EQ(marks.Count(), 1u);
    // A save empties the undo list; the next undo state is not taken for the replacement.
    ClearUndo(project);
    SaveUndoState(project);
    EXPECT_FALSE(UndoWithSound(session, project, marks, [&] { Undo(project); }));
    EXPECT_EQ(marks.Count(), 0u);
    EXPECT_EQ(sound.List().Count(), 100);
}

// Redo of an undone replacement brings the replacing sound back, and undo after it the former one
// again: the sound travels with its state between the undo and the redo list, while the ordinary
// states on either side of it leave the sound alone.
TEST_F(ReplaceSoundTest, UndoAndRedoSwapTheSoundBackAndForthWithTheSteps) {
    const std::string first = WriteSound("first.wav", 3, 1000);
    const std::string second = WriteSound("second.wav", 5, -2000);
    ASSERT_TRUE(session.ChangeSound(first));
    AddAt(project, 0, 0);
    AddAt(project, 4, 2500);
    const std::string storedFirst = HeaderSoundFile(project.Header);
    const double timeFirst = project.Header.SoundFileTime;
    ASSERT_TRUE(ReplaceSound(session, project, marks, second, 700));
    const std::string storedSecond = HeaderSoundFile(project.Header);
    SaveUndoState(project);  // an ordinary change after the replacement
    AddAt(project, 1, 4000);

    const auto undo = [&] {
        return UndoWithSound(session, project, marks, [&] { Undo(project); });
    };
    const auto redo = [&] {
        return RedoWithSound(session, project, marks, [&] { Redo(project); });
    };
    struct Expect {
        std::vector<int32_t> Times;
        const std::string* Stored;
        const std::string* Open;
        int Entries;
        int16_t Peak;
    };
    const Expect firstSound{{0, 2500}, &storedFirst, &first, 300, 1000};
    const Expect secondSound{{700, 3200}, &storedSecond, &second, 500, -2000};
    auto check = [&](const Expect& e) {
        EXPECT_EQ(TimesOf(project), e.Times);
        EXPECT_EQ(HeaderSoundFile(project.Header), *e.Stored);
        EXPECT_EQ(state.SoundPath.Get(), *e.Open);
        ASSERT_EQ(sound.List().Count(), e.Entries);
        EXPECT_EQ(e.Peak > 0 ? sound.List()[0].LeftMax : sound.List()[0].LeftMin, e.Peak);
    };

    EXPECT_FALSE(undo());  // the ordinary change
    check(secondSound);
    EXPECT_TRUE(undo());
    check(firstSound);
    EXPECT_EQ(project.Header.SoundFileTime, timeFirst);
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        project.Modified = false;
        state.OpenRequest.store(false);
        EXPECT_TRUE(redo());
        check(secondSound);
        EXPECT_TRUE(project.Modified);
        EXPECT_TRUE(state.OpenRequest.load());  // the player opens the replacing sound again
        EXPECT_TRUE(undo());
        check(firstSound);
        EXPECT_EQ(project.Header.SoundFileTime, timeFirst);
    }
    EXPECT_TRUE(redo());
    EXPECT_FALSE(redo());  // the ordinary change again: the sound stays
    check(Expect{{700, 4000, 3200}, &storedSecond, &second, 500, -2000});

    // A new change ends redo, and the marks of the states it drops go with them.
    EXPECT_FALSE(undo());
    EXPECT_TRUE(undo());
    EXPECT_EQ(marks.Count(), 1u);
    SaveUndoState(project);
    AddAt(project, 2, 100);
    EXPECT_FALSE(redo());
    EXPECT_FALSE(undo());
    EXPECT_EQ(marks.Count(), 0u);
    check(Expect{{0, 2500}, &storedFirst, &first, 300, 1000});
}

}  // namespace
TEST_F(ReplaceSoundTest, TheProposedShiftAlignsTheFirstOnsetsOnlyWhenBothSoundsWereAnalysed) {
    const std::string before = WriteSound("before.wav", 2, 0);
    const std::string after = WriteSound("after.wav", 3, 0);
    const auto cache = [](const std::string& path, std::vector<int32_t> onsets) {
        BeatAnalysis analysis;
        analysis.Onsets = std::move(onsets);
        ASSERT_EQ(SaveBeatCache(path, *StampOf(path), BeatSettings{}, analysis), 0);
    };
    EXPECT_EQ(ProposedSoundShiftMs(before, after), 0);
    cache(before, {250, 900});
    EXPECT_EQ(ProposedSoundShiftMs(before, after), 0);  // the new sound not analysed yet
    cache(after, {1100, 1400});
    EXPECT_EQ(ProposedSoundShiftMs(before, after), 850);
    EXPECT_EQ(ProposedSoundShiftMs(after, before), -850);
    cache(after, {});  // analysed, but silent
    EXPECT_EQ(ProposedSoundShiftMs(before, after), 0);
}

}  // namespace lumavox
