#include "engine/ShowSession.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "dmx/Patch.h"
#include "fakes/RecordingSoundReporter.h"
#include "model/ProjectData.h"
#include "model/StepOps.h"
#include "settings/EnvData.h"
#include "sound/SoundScan.h"
#include "sound/WavFixture.h"
#include "sound/WavSound.h"

namespace lumavox {
namespace {

using namespace std::chrono_literals;

class CountingUi : public ISessionUi {
public:
    void BeginBusy() override {
        ++depth;
        ++busy;
    }
    void EndBusy() override { --depth; }
    void ShowWarning(std::string_view text) override { warnings.emplace_back(text); }

    int depth = 0;
    int busy = 0;  // one per sound read or save
    std::vector<std::string> warnings;
};

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Wav(int frames) {
    std::vector<int16_t> samples(static_cast<size_t>(frames) * 2, 1000);
    return test::WavBytes(test::WavRecipe{}, test::Pcm16(samples));
}

// No output thread runs: requests are posted with a short bound and stay set for the test to see.
class ShowSessionTest : public ::testing::Test {
protected:
    ShowSessionTest() : env(dir.File("settings.ini"), dir.Path() + "/") {
        env.ExeDir = dir.Path() + "/";
        state.PrePlayTime = 2000;
        state.PostPlayTime = 3000;
    }

    // A project file naming sound (stored as given), with one step, written without a cache.
    std::string WriteProject(const std::string& name, const std::string& storedSound) {
        ProjectData p;
        SetHeaderSoundFile(p.Header, storedSound);
        AddStep(p, 0x0000FF, 0, 500, 0, false);
        p.ProjectFileName = dir.File(name);
        EXPECT_TRUE(SaveProjectFile(p, ThroughPatch(), 1000, 4000, false).Ok());
        return p.ProjectFileName;
    }

    void ClearRequests() {
        state.OpenRequest = false;
        state.CloseRequest = false;
    }

    test::TempDir dir;
    EnvData env;
    EngineState state;
    ProjectData project;
    PatchTable patch;
    test::RecordingSoundReporter reporter;
    WavSound sound{reporter};
    CountingUi ui;
    ShowSession session{project, state, patch, sound, env, ui, 1ms};
};

TEST_F(ShowSessionTest, UnloadableFileLeavesProjectSoundAndNameAlone) {
    test::WriteFile(dir.File("a.wav"), Wav(22050));
    const std::string good = WriteProject("good.prj", "a.wav");
    ASSERT_EQ(session.OpenProject(good).Outcome, OpenOutcome::Opened);
    project.Modified = true;
    ClearRequests();
    test::WriteFile(dir.File("short.prj"), std::string(100, 'x'));

    for (const auto& [path, status] :
         {std::pair{dir.File("missing.prj"), FileStatus::NotFound},
          std::pair{dir.File("short.prj"), FileStatus::NotAProjectFile}}) {
        const OpenResult result = session.OpenProject(path);
        EXPECT_EQ(result.Outcome, OpenOutcome::Refused);
        EXPECT_EQ(result.Status, status);
        EXPECT_FALSE(state.CloseRequest);
        EXPECT_TRUE(state.SoundLoaded);
        EXPECT_EQ(state.SoundPath.Get(), dir.File("a.wav"));
        EXPECT_EQ(sound.List().Count(), 50);
        EXPECT_EQ(StepCount(project), 1);
        EXPECT_TRUE(project.Modified);
        EXPECT_EQ(project.ProjectFileName, good);
        EXPECT_EQ(env.PrjFile, good);
    }
}

TEST_F(ShowSessionTest, CacheIsTrustedUntilTheSoundChangesThenReadAndSavedAgain) {
    test::WriteFile(dir.File("a.wav"), Wav(22050));
    const std::string path = WriteProject("show.prj", "a.wav");

    OpenResult result = session.OpenProject(path);  // no cache yet: the sound is read
    ASSERT_EQ(result.Outcome, OpenOutcome::Opened);
    EXPECT_TRUE(result.SoundFound);
    EXPECT_EQ(ui.busy, 1);
    EXPECT_EQ(ui.depth, 0);
    EXPECT_TRUE(std::filesystem::exists(dir.File("show.wfm")));
    EXPECT_TRUE(state.OpenRequest);
    EXPECT_FALSE(state.CloseRequest);  // a close nobody took must not undo the open
    EXPECT_TRUE(state.SoundLoaded);
    EXPECT_EQ(env.PrjFile, path);
    EXPECT_EQ(state.PrePlayTime, 1000);
    EXPECT_EQ(state.CursorTime, -1000);
    EXPECT_EQ(state.TimelineLength, 5000);  // the old sound's length is gone with it

    // The file still holds the old SoundFileTime: read again and saved with the sound's time.
    session.OpenProject(path);
    EXPECT_EQ(ui.busy, 2);
    ProjectData onDisk;
    ASSERT_TRUE(LoadProjectFile(onDisk, path).Loaded());
    EXPECT_EQ(onDisk.Header.SoundFileTime, FileDateTime(dir.File("a.wav")));

    session.OpenProject(path);  // now the cache is trusted
    EXPECT_EQ(ui.busy, 2);
    EXPECT_EQ(sound.List().Count(), 50);

    test::WriteFile(dir.File("a.wav"), Wav(44100));
    std::filesystem::last_write_time(dir.File("a.wav"),
                                     std::filesystem::last_write_time(dir.File("a.wav")) + 10s);
    session.OpenProject(path);
    EXPECT_EQ(ui.busy, 3);
    EXPECT_EQ(sound.List().Count(), 100);
    ASSERT_TRUE(LoadProjectFile(onDisk, path).Loaded());
    EXPECT_EQ(onDisk.Header.SoundFileTime, FileDateTime(dir.File("a.wav")));
    EXPECT_TRUE(reporter.Errors.empty());
}

TEST_F(ShowSessionTest, EmptyOrCutOffCacheIsMadeAgainFromTheSound) {
    test::WriteFile(dir.File("a.wav"), Wav(22050));
    const std::string path = WriteProject("show.prj", "a.wav");
    ASSERT_EQ(session.OpenProject(path).Outcome, OpenOutcome::Opened);
    session.OpenProject(path);  // the project now holds the sound's time: the cache is trusted
    ASSERT_EQ(ui.busy, 2);
    const std::string projectBytes = ReadAll(path);

    for (const size_t entries : {size_t{0}, size_t{10}}) {
        test::WriteFile(dir.File("show.wfm"), std::string(entries * sizeof(PeakFrame), '\0'));
        session.OpenProject(path);
        EXPECT_EQ(sound.List().Count(), 50);
        EXPECT_EQ(std::filesystem::file_size(dir.File("show.wfm")), 50 * sizeof(PeakFrame));
        EXPECT_TRUE(state.SoundLoaded);
    }
    EXPECT_EQ(ui.busy, 4);
    EXPECT_EQ(ReadAll(path), projectBytes);  // the sound did not change: no save
    EXPECT_TRUE(reporter.Errors.empty());
}

TEST_F(ShowSessionTest, SoundToReadNamesWhatTheOpenWouldReadAndTheOpenTakesTheScanIn) {
    test::WriteFile(dir.File("a.wav"), Wav(22050));
    const std::string path = WriteProject("show.prj", "a.wav");
    EXPECT_EQ(session.SoundToRead(WriteProject("lost.prj", "lost.wav")), "");  // reported at once

    // Asking changes nothing; the scan made ahead is what the open takes in.
    ASSERT_EQ(session.SoundToRead(path), dir.File("a.wav"));
    EXPECT_TRUE(project.ProjectFileName.empty());
    EXPECT_FALSE(std::filesystem::exists(dir.File("show.wfm")));
    SoundScan scan = ScanSound(dir.File("a.wav"), {});
    ASSERT_EQ(session.OpenProject(path, &scan).Outcome, OpenOutcome::Opened);
    EXPECT_TRUE(scan.Frames.empty());  // moved into the peak list
    EXPECT_EQ(std::filesystem::file_size(dir.File("show.wfm")), 50 * sizeof(PeakFrame));

    // The project file still holds no sound time, so the open would read again; once it does, the
    // cache is trusted and nothing is to be read ahead.
    EXPECT_EQ(session.SoundToRead(path), dir.File("a.wav"));
    session.OpenProject(path);
    EXPECT_EQ(session.SoundToRead(path), "");
    // A cache cut off after it was found whole is not taken on that word.
    test::WriteFile(dir.File("show.wfm"), std::string(10 * sizeof(PeakFrame), '\0'));
    session.OpenProject(path);
    EXPECT_EQ(sound.List().Count(), 50);
    test::WriteFile(dir.File("show.wfm"), std::string(10 * sizeof(PeakFrame), '\0'));
    EXPECT_EQ(session.SoundToRead(path), dir.File("a.wav"));

    // A scan of the sound as it was before it changed is not taken: the open reads the new one.
    SoundScan stale = ScanSound(dir.File("a.wav"), {});
    test::WriteFile(dir.File("a.wav"), Wav(44100));
    std::filesystem::last_write_time(dir.File("a.wav"),
                                     std::filesystem::last_write_time(dir.File("a.wav")) + 10s);
    session.OpenProject(path, &stale);
    EXPECT_EQ(stale.Frames.size(), 50u);
    EXPECT_EQ(sound.List().Count(), 100);
    EXPECT_TRUE(reporter.Errors.empty());
}

TEST_F(ShowSessionTest, MovedShowFolderFindsTheSoundBesideTheProject) {
    test::WriteFile(dir.File("b.wav"), Wav(22050));
    const std::string path = WriteProject("show.prj", "/nowhere/old folder/b.wav");
    const OpenResult result = session.OpenProject(path);
    EXPECT_TRUE(result.SoundFound);
    EXPECT_EQ(state.SoundPath.Get(), dir.File("b.wav"));
    EXPECT_EQ(HeaderSoundFile(project.Header), "/nowhere/old folder/b.wav");

    std::filesystem::remove(dir.File("b.wav"));
    std::filesystem::remove(dir.File("show.wfm"));
    EXPECT_FALSE(session.OpenProject(path).SoundFound);
    EXPECT_FALSE(state.SoundLoaded);
    EXPECT_EQ(sound.List().Count(), 0);
}

// The player's session: the show opens as in the editor, but nothing is read for a waveform and
// nothing is written, not even when the sound's time no longer matches the project.
TEST_F(ShowSessionTest, WithoutAWaveformTheShowOpensAndNoFileIsWritten) {
    test::WriteFile(dir.File("b.wav"), Wav(22050));
    const std::string path = WriteProject("show.prj", "/nowhere/old folder/b.wav");
    const std::string before = ReadAll(path);
    ShowSession player{project, state, patch, env, ui, 0ms};
    const OpenResult result = player.OpenProject(path);
    ASSERT_EQ(result.Outcome, OpenOutcome::Opened);
    EXPECT_TRUE(result.SoundFound);
    EXPECT_EQ(result.SoundLookup.Path, dir.File("b.wav"));
    EXPECT_EQ(result.SoundLookup.Tried,
              (std::vector<std::string>{"/nowhere/old folder/b.wav", dir.File("b.wav")}));
    EXPECT_TRUE(state.OpenRequest);
    EXPECT_FALSE(state.CloseRequest);
    EXPECT_EQ(state.PostPlayTime, 4000);
    EXPECT_EQ(ui.busy, 0);
    EXPECT_FALSE(std::filesystem::exists(dir.File("show.wfm")));
    EXPECT_EQ(ReadAll(path), before);
    EXPECT_FALSE(player.ChangeSound(dir.File("b.wav")));

    test::WriteFile(dir.File("c.wav"), Wav(100));
    player.PlaySoundInstead(dir.File("c.wav"));
    EXPECT_EQ(state.SoundPath.Get(), dir.File("c.wav"));
    EXPECT_EQ(HeaderSoundFile(project.Header), "/nowhere/old folder/b.wav");
    EXPECT_FALSE(project.Modified);
}

TEST_F(ShowSessionTest, NewProjectStartsEmptyWithThroughPatchAndNoSound) {
    test::WriteFile(dir.File("a.wav"), Wav(22050));
    session.OpenProject(WriteProject("show.prj", "a.wav"));
    ASSERT_TRUE(SetHeaderTitle(project.Header, "old"));
    patch.ClearAll();
    SaveUndoState(project);

    EXPECT_EQ(session.OpenProject("").Outcome, OpenOutcome::NewProject);
    EXPECT_EQ(StepCount(project), 0);
    EXPECT_EQ(project.UndoList.Count(), 0);
    EXPECT_EQ(HeaderTitle(project.Header) + HeaderSoundFile(project.Header), "");
    EXPECT_TRUE(project.ProjectFileName.empty() && env.PrjFile.empty());
    EXPECT_EQ(patch.Snapshot(), ThroughPatch());
    EXPECT_FALSE(state.SoundLoaded);
    EXPECT_EQ(sound.List().Count(), 0);
}

TEST_F(ShowSessionTest, ChangedSoundsCacheWaitsForTheProjectSave) {
    test::WriteFile(dir.File("a.wav"), Wav(22050));
    test::WriteFile(dir.File("new.wav"), Wav(44100));
    const std::string path = WriteProject("show.prj", "a.wav");
    session.OpenProject(path);
    const std::string oldCache = ReadAll(dir.File("show.wfm"));

    ASSERT_TRUE(session.ChangeSound(dir.File("new.wav")));
    EXPECT_EQ(HeaderSoundFile(project.Header), "new.wav");  // inside the program folder
    EXPECT_TRUE(project.Modified);
    EXPECT_TRUE(session.CachePending());
    EXPECT_EQ(state.SoundPath.Get(), dir.File("new.wav"));
    EXPECT_EQ(ReadAll(dir.File("show.wfm")), oldCache);

    // Left without saving: the old cache still matches the file on disk.
    session.OpenProject(WriteProject("other.prj", ""));
    EXPECT_FALSE(session.CachePending());
    EXPECT_EQ(ReadAll(dir.File("show.wfm")), oldCache);

    session.OpenProject(path);
    ASSERT_TRUE(session.ChangeSound(dir.File("new.wav")));
    ASSERT_TRUE(session.SaveProject().Ok());
    EXPECT_FALSE(session.CachePending());
    EXPECT_NE(ReadAll(dir.File("show.wfm")), oldCache);
    const int busyBefore = ui.busy;
    session.OpenProject(path);  // cache and file agree: nothing is read
    EXPECT_EQ(ui.busy, busyBefore);
    EXPECT_EQ(sound.List().Count(), 100);

    EXPECT_FALSE(session.ChangeSound(dir.File("missing.wav")));
    EXPECT_EQ(HeaderSoundFile(project.Header), "new.wav");
}

TEST_F(ShowSessionTest, FailedSaveAsKeepsTheFormerNameAndASuccessfulOneWritesTheCache) {
    test::WriteFile(dir.File("a.wav"), Wav(22050));
    const std::string path = WriteProject("show.prj", "a.wav");
    session.OpenProject(path);
    project.Modified = true;

    EXPECT_FALSE(session.SaveProjectAs(dir.File("no/such/folder/x.prj")).Ok());
    EXPECT_EQ(project.ProjectFileName, path);
    EXPECT_EQ(env.PrjFile, path);
    EXPECT_TRUE(project.Modified);

    ASSERT_TRUE(session.SaveProjectAs(dir.File("copy.prj")).Ok());
    EXPECT_EQ(env.PrjFile, dir.File("copy.prj"));
    EXPECT_TRUE(std::filesystem::exists(dir.File("copy.wfm")));
}

TEST_F(ShowSessionTest, StartUpWithoutALoadableProjectStaysUntitled) {
    patch.ClearAll();
    env.PrjFile = dir.File("gone.prj");
    EXPECT_EQ(session.OpenAtStartUp().Outcome, OpenOutcome::Untitled);
    EXPECT_TRUE(env.PrjFile.empty());
    EXPECT_FALSE(state.CloseRequest);
    EXPECT_EQ(patch.Get(0), -1);
    EXPECT_TRUE(ui.warnings.empty());

    env.PrjFile = WriteProject("show.prj", "");
    EXPECT_EQ(session.OpenAtStartUp().Outcome, OpenOutcome::Opened);
    EXPECT_EQ(StepCount(project), 1);
}

TEST(PeakCachePath, ReplacesTheExtensionOfTheFileOnly) {
    EXPECT_EQ(PeakCachePath("/a/show.PRJ"), "/a/show.wfm");
    EXPECT_EQ(PeakCachePath("/a.b/show"), "/a.b/show.wfm");
}

}  // namespace
}  // namespace lumavox
