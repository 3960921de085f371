#include "editor/logic/ProjectCommands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "dmx/Patch.h"
#include "engine/ShowSession.h"
#include "fakes/RecordingSoundReporter.h"
#include "fakes/TempDir.h"
#include "model/ProjectData.h"
#include "settings/EnvData.h"
#include "sound/WavSound.h"

namespace lumavox {
namespace {

using namespace std::chrono_literals;

struct ScriptedUi : ISessionUi, IProjectCommandUi {
    void BeginBusy() override {}
    void EndBusy() override {}
    void ShowWarning(std::string_view) override {}
    SaveAnswer AskSave(std::string_view text) override {
        questions.emplace_back(text);
        return answer;
    }
    std::optional<std::string> ChooseSavePath(const std::string& initial) override {
        initialNames.push_back(initial);
        return chosen;
    }
    void ShowSaveError(const ProjectSaveResult& error) override { errors.push_back(error.Error); }

    SaveAnswer answer = SaveAnswer::Yes;
    std::optional<std::string> chosen;
    std::vector<std::string> questions, initialNames, errors;
};

class ProjectCommandsTest : public ::testing::Test {
protected:
    ProjectCommandsTest() : env(dir.File("settings.ini"), dir.Folder()) {}

    testing::TempDir dir;
    EnvData env;
    EngineState state;
    ProjectData project;
    PatchTable patch;
    test::RecordingSoundReporter reporter;
    WavSound sound{reporter};
    ScriptedUi ui;
    ShowSession session{project, state, patch, sound, env, ui, 1ms};
};

TEST_F(ProjectCommandsTest, UntitledYesGoesThroughTheDialogAndACancelledDialogCancels) {
    project.Modified = true;
    env.PrjFile = dir.File("last.PRJ");
    ui.chosen = std::nullopt;
    EXPECT_EQ(AskSaveChanges(session, project, env, ui), SaveAnswer::Cancel);
    EXPECT_EQ(ui.questions, (std::vector<std::string>{"[無題] 変更内容を保存しますか"}));
    EXPECT_EQ(ui.initialNames, (std::vector<std::string>{dir.File("last.PRJ")}));
    EXPECT_TRUE(env.History.empty());

    ui.chosen = dir.File("new.PRJ");
    EXPECT_EQ(AskSaveChanges(session, project, env, ui), SaveAnswer::Yes);
    EXPECT_TRUE(std::filesystem::exists(dir.File("new.PRJ")));
    EXPECT_EQ(env.PrjFile, dir.File("new.PRJ"));
    ASSERT_FALSE(env.History.empty());
    EXPECT_EQ(env.History.front(), dir.File("new.PRJ"));

    // unmodified: no question, the project still goes to the front of the list
    env.History.insert(env.History.begin(), "/other.PRJ");
    EXPECT_EQ(AskSaveChanges(session, project, env, ui), SaveAnswer::No);
    EXPECT_EQ(ui.questions.size(), 2u);
    EXPECT_EQ(env.History.front(), dir.File("new.PRJ"));
}

TEST_F(ProjectCommandsTest, FailedSaveAnswersCancelSoTheWorkIsNotDropped) {
    project.ProjectFileName = dir.File("no/such/folder/show.PRJ");
    project.Modified = true;
    EXPECT_EQ(AskSaveChanges(session, project, env, ui), SaveAnswer::Cancel);
    EXPECT_EQ(ui.errors.size(), 1u);
    EXPECT_TRUE(project.Modified);
    EXPECT_EQ(env.History.front(), project.ProjectFileName);

    EXPECT_FALSE(SaveProjectCommand(session, project, env, ui));
    EXPECT_EQ(ui.errors.size(), 2u);
    ui.answer = SaveAnswer::No;
    EXPECT_EQ(AskSaveChanges(session, project, env, ui), SaveAnswer::No);
}

TEST(GroupSaveTarget, TheCompletedNameOfAnExistingFileAsksBeforeReplacingIt) {
    testing::TempDir dir;
    testing::WriteBytes(dir.File("show.GRP"), "older group");
    const GroupSaveTarget completed = GroupSaveTargetFor(dir.File("show"));
    EXPECT_EQ(completed.Path, dir.File("show.GRP"));
    EXPECT_TRUE(completed.AskReplace);
    std::string question = "[";
    question += completed.Path;
    question += "] 上書きしてもいいですか?";
    EXPECT_EQ(AskReplaceText(completed.Path), question);

    // A new name asks nothing; a name with its extension was the dialog's to guard.
    EXPECT_FALSE(GroupSaveTargetFor(dir.File("new")).AskReplace);
    const GroupSaveTarget typed = GroupSaveTargetFor(dir.File("show.GRP"));
    EXPECT_EQ(typed.Path, dir.File("show.GRP"));
    EXPECT_FALSE(typed.AskReplace);
    EXPECT_EQ(GroupSaveTargetFor("/a.b/show").Path, "/a.b/show.GRP");  // a dot in the folder
    EXPECT_EQ(GroupSaveTargetFor("/a/show.grp").Path, "/a/show.grp");
}

TEST(ClassifyDrop, OneSoundOrProjectFileCountsAnythingElseIsIgnored) {
    using V = std::vector<std::string>;
    EXPECT_EQ(ClassifyDrop(V{"/a/song.wav"}), DropAction::Sound);
    EXPECT_EQ(ClassifyDrop(V{"/a/song.Mp3"}), DropAction::Sound);
    EXPECT_EQ(ClassifyDrop(V{"/a/show.prj"}), DropAction::Project);
    EXPECT_EQ(ClassifyDrop(V{"/a/song.wav", "/a/b.wav"}), DropAction::Ignore);
    EXPECT_EQ(ClassifyDrop(V{"/a.wav/readme"}), DropAction::Ignore);
    EXPECT_EQ(ClassifyDrop(V{}), DropAction::Ignore);

    const V history = {"/a.PRJ", "", "/c.PRJ"};
    EXPECT_TRUE(RecentEntryVisible(history, 0));
    EXPECT_FALSE(RecentEntryVisible(history, 1));
    EXPECT_FALSE(RecentEntryVisible(history, 3));
    EXPECT_TRUE(RecentSubmenuEnabled(history));
    EXPECT_FALSE(RecentSubmenuEnabled(V{}));
}

}  // namespace
}  // namespace lumavox
