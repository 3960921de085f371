#include "model/ProjectFile.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <limits>

#include "StepTestUtil.h"
#include "TempFolder.h"
#include "model/ColourEval.h"
#include "model/StepOps.h"

namespace lumavox {
namespace {

using ::testing::ElementsAre;
using testing::LinesImage;
using testing::Put;
using testing::ReadBytes;
using testing::TempFolder;
using testing::Times;
using testing::WriteBytes;

std::array<int32_t, kPatchSize> SomePatch() {
    std::array<int32_t, kPatchSize> patch{};
    patch.fill(-1);
    patch[0] = 23;
    patch[511] = 4;
    return patch;
}

std::vector<uint8_t> RecordBytes(const Step& s) {
    const auto* b = reinterpret_cast<const uint8_t*>(&s);
    return {b, b + sizeof(Step)};
}

std::vector<uint8_t> HeaderBytes(const ProjectHeader& h) {
    const auto* b = reinterpret_cast<const uint8_t*>(&h);
    return {b, b + sizeof(ProjectHeader)};
}

void Append(std::vector<uint8_t>& to, const std::vector<uint8_t>& bytes) {
    to.insert(to.end(), bytes.begin(), bytes.end());
}

Step Record(int32_t line, int32_t time, int32_t length = 0) {
    Step s;
    s.LineIndex = line;
    s.Time = time;
    s.Length = length;
    s.Colour = 0x00FF00;
    return s;
}

TEST(ProjectFile, SaveAndReloadKeepsStepsPatchAndTimesWithSelectionCleared) {
    TempFolder folder;
    ProjectData project;
    ASSERT_TRUE(SetHeaderTitle(project.Header, "照明ショー"));
    ASSERT_TRUE(SetSoundFilePath(project.Header, folder / "sound/曲.wav", folder.Path()));
    Put(project, 0, 100, true);
    project.Lines[0].Edit([](TStepList::Items& items) { items.back()->Reserved[7] = 3; });
    Put(project, 0, 100, false, -20);
    Put(project, 6, -500, true);
    Normalise(project);
    SaveUndoState(project);
    project.Modified = true;
    project.ProjectFileName = folder / "show.prj";

    const auto saved = SaveProjectFile(project, SomePatch(), 4000, 2000, /*keepUndo=*/true);
    ASSERT_TRUE(saved.Ok()) << saved.Error;
    EXPECT_FALSE(project.Modified);
    EXPECT_EQ(project.UndoList.Count(), 1);
    EXPECT_EQ(SelectedCount(project), 0);
    const auto image = LinesImage(project);

    const auto bytes = ReadBytes(project.ProjectFileName);
    ASSERT_EQ(bytes.size(), 4568u + 3 * 52);
    EXPECT_EQ(std::memcmp(bytes.data() + 64, "\x8F\xC6\x96\xBE\x83\x56\x83\x87\x81\x5B", 11), 0);
    EXPECT_EQ(std::memcmp(bytes.data() + 192, "sound/\x8B\xC8.wav", 12), 0);

    ProjectData reloaded;
    SaveUndoState(reloaded);
    reloaded.Modified = true;
    const auto result = LoadProjectFile(reloaded, project.ProjectFileName);
    ASSERT_TRUE(result.Loaded());
    EXPECT_EQ(result.Count, 4);
    EXPECT_EQ(result.Patch, SomePatch());
    EXPECT_EQ(result.PrePlayTime, 4000);
    EXPECT_EQ(result.PostPlayTime, 2000);
    EXPECT_EQ(LinesImage(reloaded), image);
    EXPECT_EQ(HeaderTitle(reloaded.Header), "照明ショー");
    EXPECT_EQ(SoundFilePath(reloaded.Header, folder.Path()), folder / "sound/曲.wav");
    EXPECT_EQ(std::memcmp(&reloaded.Header, &project.Header, sizeof(ProjectHeader)), 0);
    EXPECT_EQ(reloaded.ProjectFileName, project.ProjectFileName);
    EXPECT_FALSE(reloaded.Modified);
    EXPECT_EQ(reloaded.UndoList.Count(), 0);

    // a command's save empties the undo list
    project.Modified = true;
    ASSERT_TRUE(SaveProjectFile(project, SomePatch(), 4000, 2000, false).Ok());
    EXPECT_EQ(project.UndoList.Count(), 0);
    EXPECT_EQ(ReadBytes(project.ProjectFileName), bytes);
}

TEST(ProjectFile, WindowsMadeFileLoadsAndSavesUnchanged) {
    TempFolder folder;
    ProjectHeader header;
    std::memcpy(header.Version, "1.2.0.5", 8);
    std::memcpy(header.Title, "\x8F\xC6\x96\xBE", 5);  // 照明
    std::memcpy(header.SoundFile, "sound\\\x83\x5C\x83\x74\x83\x67.wav", 17);
    header.SoundFileTime = 45123.5;
    for (int i = 0; i < kPatchSize; ++i) header.Patch[i] = i < 24 ? 23 - i : -1;
    header.PrePlayTime = 10000;
    header.PostPlayTime = 5000;
    std::vector<uint8_t> file = HeaderBytes(header);
    Step a = Record(2, 0, 1000);
    a.MarkX = 11;
    a.Padding[1] = 0x5A;  // never interpreted, kept
    Append(file, RecordBytes(a));
    Append(file, RecordBytes(Record(2, 1000)));
    Append(file, RecordBytes(Record(7, 30)));
    WriteBytes(folder / "old.PRJ", file);

    ProjectData project;
    const auto result = LoadProjectFile(project, folder / "old.PRJ");
    ASSERT_TRUE(result.Loaded());
    EXPECT_EQ(HeaderTitle(project.Header), "照明");
    EXPECT_EQ(HeaderSoundFile(project.Header), "sound\\ソフト.wav");
    EXPECT_EQ(SoundFilePath(project.Header, "/opt/lumavox/"), "/opt/lumavox/sound/ソフト.wav");
    EXPECT_EQ(HeaderVersion(project.Header), "1.2.0.5");

    ASSERT_TRUE(
        SaveProjectFile(project, result.Patch, result.PrePlayTime, result.PostPlayTime, false)
            .Ok());
    EXPECT_EQ(ReadBytes(folder / "old.PRJ"), file);
}

TEST(ProjectFile, ReservedHeaderBytesAreWrittenAsZero) {
    TempFolder folder;
    ProjectHeader header;
    std::memcpy(header.Title, "show", 5);
    header.Title[100] = 'x';  // after the terminator: part of the field, kept
    std::memset(header.Reserved, 0xA5, sizeof(header.Reserved));
    std::vector<uint8_t> file = HeaderBytes(header);
    Append(file, RecordBytes(Record(3, 250)));
    WriteBytes(folder / "r.prj", file);

    ProjectData project;
    const auto result = LoadProjectFile(project, folder / "r.prj");
    ASSERT_TRUE(result.Loaded());
    ASSERT_TRUE(
        SaveProjectFile(project, result.Patch, result.PrePlayTime, result.PostPlayTime, false)
            .Ok());
    std::memset(header.Reserved, 0, sizeof(header.Reserved));
    std::vector<uint8_t> expected = HeaderBytes(header);
    Append(expected, RecordBytes(Record(3, 250)));
    EXPECT_EQ(ReadBytes(folder / "r.prj"), expected);
}

TEST(ProjectFile, RecordsAreCountedSkippedAndTruncatedAsStored) {
    TempFolder folder;
    ProjectData project;
    std::vector<uint8_t> file = HeaderBytes(ProjectHeader{});
    WriteBytes(folder / "empty.prj", file);
    auto result = LoadProjectFile(project, folder / "empty.prj");
    EXPECT_TRUE(result.Loaded());
    EXPECT_EQ(result.Count, 1);
    EXPECT_EQ(StepCount(project), 0);

    Append(file, RecordBytes(Record(4, 900, 5)));
    Append(file, RecordBytes(Record(9, 100)));   // no such line
    Append(file, RecordBytes(Record(-1, 100)));  // nor this
    Append(file, RecordBytes(Record(4, 100, 7)));
    Append(file, RecordBytes(Record(0, 300)));
    file.insert(file.end(), 10, 0xEE);  // trailing partial record
    WriteBytes(folder / "three.prj", file);
    result = LoadProjectFile(project, folder / "three.prj");
    EXPECT_EQ(result.Count, 4);
    EXPECT_THAT(Times(project, 4), ElementsAre(100, 900));  // sorted, Lengths as stored
    EXPECT_EQ(project.Lines[4].At(0).Length, 7);
    EXPECT_EQ(project.Lines[4].At(1).Length, 5);
}

TEST(ProjectFile, DamagedHeaderIsTamed) {
    TempFolder folder;
    ProjectHeader header;
    std::memset(header.Version, 'v', sizeof(header.Version));
    std::memset(header.Title, 0x81, sizeof(header.Title));  // lead bytes without end or NUL
    std::memset(header.SoundFile, 'x', sizeof(header.SoundFile));
    header.PrePlayTime = -5;
    header.PostPlayTime = std::numeric_limits<int32_t>::max();
    WriteBytes(folder / "bad.prj", HeaderBytes(header));

    ProjectData project;
    const auto result = LoadProjectFile(project, folder / "bad.prj");
    ASSERT_TRUE(result.Loaded());
    EXPECT_EQ(result.PrePlayTime, 0);
    EXPECT_EQ(result.PostPlayTime, kMaxPlayPadMs);
    EXPECT_EQ(project.Header.PostPlayTime, kMaxPlayPadMs);
    EXPECT_EQ(HeaderVersion(project.Header), std::string(63, 'v'));
    EXPECT_EQ(HeaderSoundFile(project.Header).size(), 263u);
    EXPECT_FALSE(HeaderTitle(project.Header).empty());
}

TEST(ProjectFile, UnreadableFilesAreToldApartAndKeptOutOfReachOfASave) {
    TempFolder folder;
    ProjectData project;
    ASSERT_TRUE(SetHeaderTitle(project.Header, "before"));
    Put(project, 1, 10);
    SaveUndoState(project);
    project.Modified = true;

    const std::vector<uint8_t> shortFile(100, 0x41);
    WriteBytes(folder / "short.prj", shortFile);
    auto result = LoadProjectFile(project, folder / "short.prj");
    EXPECT_EQ(result.Status, FileStatus::NotAProjectFile);
    EXPECT_EQ(result.Count, 0);
    EXPECT_EQ(FileStatusText(result.Status), "不正なファイルです");
    EXPECT_EQ(HeaderTitle(project.Header), "before");  // no half-read header
    EXPECT_EQ(StepCount(project), 0);
    EXPECT_EQ(project.UndoList.Count(), 0);
    EXPECT_FALSE(project.Modified);
    EXPECT_TRUE(project.ProjectFileName.empty());
    EXPECT_EQ(ReadBytes(folder / "short.prj"), shortFile);

    std::filesystem::create_directory(folder / "dir.prj");
    EXPECT_EQ(LoadProjectFile(project, folder / "dir.prj").Status, FileStatus::NotAProjectFile);
    EXPECT_TRUE(project.ProjectFileName.empty());

    ASSERT_EQ(mkfifo((folder / "pipe.prj").c_str(), 0600), 0);
    EXPECT_EQ(LoadProjectFile(project, folder / "pipe.prj").Status, FileStatus::NotAProjectFile);

    result = LoadProjectFile(project, folder / "missing.prj");
    EXPECT_EQ(result.Status, FileStatus::NotFound);
    EXPECT_EQ(FileStatusText(result.Status), "ファイルが見つかりません");
    EXPECT_EQ(project.ProjectFileName, folder / "missing.prj");
}

TEST(ProjectFile, ProbeAndTryLoadLeaveTheCurrentProjectAloneOnFailure) {
    TempFolder folder;
    ProjectData project;
    ASSERT_TRUE(SetHeaderTitle(project.Header, "current"));
    Put(project, 2, 10, true);
    SaveUndoState(project);
    project.Modified = true;
    project.ProjectFileName = folder / "current.prj";
    const auto image = LinesImage(project);

    WriteBytes(folder / "short.prj", std::vector<uint8_t>(4567, 0));
    std::filesystem::create_directory(folder / "dir.prj");
    ASSERT_EQ(mkfifo((folder / "pipe.prj").c_str(), 0600), 0);
    const std::pair<std::string, FileStatus> bad[] = {
        {folder / "missing.prj", FileStatus::NotFound},
        {"", FileStatus::NotFound},
        {folder / "short.prj", FileStatus::NotAProjectFile},
        {folder / "dir.prj", FileStatus::NotAProjectFile},
        {folder / "pipe.prj", FileStatus::NotAProjectFile},
    };
    for (const auto& [path, status] : bad) {
        EXPECT_EQ(ProbeProjectFile(path), status) << path;
        const auto result = TryLoadProjectFile(project, path);
        EXPECT_EQ(result.Status, status) << path;
        EXPECT_EQ(result.Count, 0);
        EXPECT_EQ(HeaderTitle(project.Header), "current");
        EXPECT_EQ(LinesImage(project), image);
        EXPECT_EQ(project.UndoList.Count(), 1);
        EXPECT_TRUE(project.Modified);
        EXPECT_EQ(project.ProjectFileName, folder / "current.prj");
    }

    ProjectData other;
    Put(other, 5, 300);
    other.ProjectFileName = folder / "other.prj";
    ASSERT_TRUE(SaveProjectFile(other, SomePatch(), 1000, 0, false).Ok());
    EXPECT_EQ(ProbeProjectFile(other.ProjectFileName), FileStatus::Loaded);
    const auto result = TryLoadProjectFile(project, other.ProjectFileName);
    ASSERT_TRUE(result.Loaded());
    EXPECT_EQ(result.Count, 2);
    EXPECT_EQ(LinesImage(project), LinesImage(other));
    EXPECT_EQ(project.UndoList.Count(), 0);
    EXPECT_FALSE(project.Modified);
    EXPECT_EQ(project.ProjectFileName, other.ProjectFileName);
}

TEST(ProjectFile, BackupWritesNoSelectionButKeepsItAndTheUndoListInMemory) {
    TempFolder folder;
    ProjectData project;
    project.ProjectFileName = folder / "show.prj";
    Put(project, 0, 100, true);
    Put(project, 3, 200, false);
    SaveUndoState(project);
    project.Modified = true;

    ASSERT_TRUE(SaveProjectBackup(project, SomePatch(), 0, 0).Ok());
    EXPECT_EQ(SelectedCount(project), 1);
    EXPECT_EQ(project.UndoList.Count(), 1);
    EXPECT_FALSE(project.Modified);
    const auto backup = ReadBytes(project.ProjectFileName);

    // the file is the one a command's save writes
    ASSERT_TRUE(SaveProjectFile(project, SomePatch(), 0, 0, true).Ok());
    EXPECT_EQ(SelectedCount(project), 0);
    EXPECT_EQ(ReadBytes(project.ProjectFileName), backup);

    project.ProjectFileName = folder / "no/such/folder/show.prj";
    project.Modified = true;
    EXPECT_FALSE(SaveProjectBackup(project, SomePatch(), 0, 0).Ok());
    EXPECT_TRUE(project.Modified);
}

// Lets a test make every write beyond a size fail, as a full disk does.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

TEST(ProjectFile, FailedSaveLeavesTheOldFileModifiedAndUndoAlone) {
    TempFolder folder;
    ProjectData project;
    project.ProjectFileName = folder / "show.prj";
    Put(project, 0, 1);
    ASSERT_TRUE(SaveProjectFile(project, SomePatch(), 0, 0, false).Ok());
    const auto before = ReadBytes(project.ProjectFileName);

    for (int i = 0; i < 1000; ++i) Put(project, 3, i);
    SaveUndoState(project);
    project.Modified = true;
    ProjectSaveResult result;
    {
        FileSizeLimit limit(8192);
        result = SaveProjectFile(project, SomePatch(), 0, 0, false);
    }
    ASSERT_FALSE(result.Ok());
    EXPECT_EQ(result.Error, "ファイル " + project.ProjectFileName + " を作成できません");
    EXPECT_FALSE(result.SystemError.empty());
    EXPECT_EQ(ReadBytes(project.ProjectFileName), before);
    EXPECT_THAT(folder.Entries(), ElementsAre("show.prj"));  // no temporary file left behind
    EXPECT_TRUE(project.Modified);
    EXPECT_EQ(project.UndoList.Count(), 1);

    project.ProjectFileName = folder / "no/such/folder/show.prj";
    EXPECT_FALSE(SaveProjectFile(project, SomePatch(), 0, 0, false).Ok());
    project.ProjectFileName.clear();
    EXPECT_FALSE(SaveProjectFile(project, SomePatch(), 0, 0, false).Ok());
    EXPECT_TRUE(project.Modified);
}

TEST(ProjectFile, SaveFollowsLinksKeepsPermissionsAndTakesLongNames) {
    TempFolder folder;
    ProjectData project;
    WriteBytes(folder / "real.prj", {1, 2, 3});
    ASSERT_EQ(chmod((folder / "real.prj").c_str(), 0640), 0);
    ASSERT_EQ(symlink((folder / "real.prj").c_str(), (folder / "link.prj").c_str()), 0);
    project.ProjectFileName = folder / "link.prj";
    ASSERT_TRUE(SaveProjectFile(project, SomePatch(), 0, 0, false).Ok());
    EXPECT_TRUE(std::filesystem::is_symlink(folder / "link.prj"));
    project.ProjectFileName = folder / std::string(250, 'n');  // near the name length limit
    EXPECT_TRUE(SaveProjectFile(project, SomePatch(), 0, 0, false).Ok());
    EXPECT_EQ(ReadBytes(folder / "real.prj").size(), sizeof(ProjectHeader));
    struct stat st {};
    ASSERT_EQ(stat((folder / "real.prj").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST(GroupFile, SavedRelativeToTheEarliestAndLoadedSelectedAtTheCursor) {
    TempFolder folder;
    ProjectData project;
    Put(project, 1, 5000, true);
    Put(project, 1, 7000, true);
    Put(project, 3, 5200, true);
    project.Lines[3].Edit([](TStepList::Items& items) { items.back()->MarkY = 9; });
    Put(project, 3, 6000, false);
    Normalise(project);
    ASSERT_TRUE(SaveGroupFile(project, folder / "g.grp").Ok());
    EXPECT_FALSE(project.Modified);
    EXPECT_EQ(SelectedCount(project), 3);

    const auto bytes = ReadBytes(folder / "g.grp");
    ASSERT_EQ(bytes.size(), 3 * sizeof(Step));
    std::vector<int32_t> stored;
    for (size_t i = 0; i < 3; ++i) {
        Step s;
        std::memcpy(&s, bytes.data() + i * sizeof(Step), sizeof(Step));
        stored.push_back(s.Time);
        EXPECT_EQ(s.Selected, 0);
    }
    EXPECT_THAT(stored, ElementsAre(0, 2000, 200));  // line 1 first, then line 3

    ProjectData target;
    Put(target, 1, 100, true);
    Normalise(target);
    const auto before = LinesImage(target);
    const auto result = LoadGroupFile(target, folder / "g.grp", 10000);
    EXPECT_EQ(result.Status, FileStatus::Loaded);
    EXPECT_EQ(result.Count, 3);
    EXPECT_THAT(Times(target, 1), ElementsAre(100, 10000, 12000));
    EXPECT_THAT(Times(target, 3), ElementsAre(10200));
    EXPECT_EQ(target.Lines[3].At(0).MarkY, 9);
    EXPECT_EQ(target.Lines[1].At(0).Selected, 0);
    EXPECT_EQ(SelectedCount(target), 3);
    EXPECT_EQ(target.Lines[1].At(1).Length, 2000);
    EXPECT_TRUE(target.Modified);
    EXPECT_EQ(target.UndoList.Count(), 1);
    Undo(target);
    EXPECT_EQ(LinesImage(target), before);
}

TEST(GroupFile, MissingOrDamagedGroupsAddOnlyWhatIsWhole) {
    TempFolder folder;
    ProjectData project;
    auto result = LoadGroupFile(project, folder / "none.grp", 0);
    EXPECT_EQ(result.Status, FileStatus::NotFound);
    EXPECT_EQ(result.Count, 0);
    EXPECT_TRUE(project.Modified);
    EXPECT_EQ(project.UndoList.Count(), 0);

    std::vector<uint8_t> file = RecordBytes(Record(8, 0));
    Append(file, RecordBytes(Record(5, std::numeric_limits<int32_t>::max())));
    file.insert(file.end(), 51, 0);
    WriteBytes(folder / "g.grp", file);
    result = LoadGroupFile(project, folder / "g.grp", 1000);
    EXPECT_EQ(result.Count, 1);
    EXPECT_THAT(Times(project, 5), ElementsAre(std::numeric_limits<int32_t>::max()));
}

TEST(GroupFile, GroupThatAddsNothingLeavesTheStoredLengthsAlone) {
    TempFolder folder;
    ProjectData project;
    std::vector<uint8_t> file = HeaderBytes(ProjectHeader{});
    Append(file, RecordBytes(Record(2, 1000, 50)));  // the next step is 2000 ms away
    Step blue = Record(2, 3000, 0);
    blue.Colour = 0xFF0000;
    Append(file, RecordBytes(blue));
    WriteBytes(folder / "p.prj", file);
    ASSERT_TRUE(LoadProjectFile(project, folder / "p.prj").Loaded());
    const int32_t before = LineColourAt(project, 2, 1500).Colour;

    WriteBytes(folder / "g.grp", RecordBytes(Record(8, 0)));
    EXPECT_EQ(LoadGroupFile(project, folder / "g.grp", 0).Count, 0);
    EXPECT_EQ(project.Lines[2].At(0).Length, 50);
    EXPECT_EQ(LineColourAt(project, 2, 1500).Colour, before);
    EXPECT_TRUE(project.Modified);
}

TEST(HeaderText, SettersRefuseWhatDoesNotFitTheField) {
    ProjectHeader header;
    EXPECT_TRUE(SetHeaderTitle(header, std::string(127, 'a')));
    EXPECT_FALSE(SetHeaderTitle(header, std::string(128, 'a')));
    EXPECT_EQ(HeaderTitle(header), std::string(127, 'a'));
    std::string kana;
    for (int i = 0; i < 63; ++i) kana += "あ";  // 189 bytes of UTF-8, 126 of CP932
    EXPECT_TRUE(SetHeaderTitle(header, kana));
    EXPECT_FALSE(SetHeaderTitle(header, kana + "あ"));
    EXPECT_FALSE(SetHeaderTitle(header, "\xFF"));
    EXPECT_EQ(HeaderTitle(header), kana);
    EXPECT_TRUE(SetHeaderTitle(header, ""));
    EXPECT_EQ(header.Title[0], '\0');

    EXPECT_TRUE(SetHeaderSoundFile(header, "/home/rené/" + std::string(251, 's')));  // 263 bytes
    EXPECT_FALSE(SetHeaderSoundFile(header, "/home/rené/" + std::string(252, 's')));
}

TEST(SoundPath, RelativeOnlyInsideTheProgramFolderComparedWithCase) {
    EXPECT_EQ(MakeSoundPathRelative("/opt/lumavox/sound/a.wav", "/opt/lumavox/"), "sound/a.wav");
    EXPECT_EQ(MakeSoundPathRelative("/opt/Lumavox/a.wav", "/opt/lumavox/"), "/opt/Lumavox/a.wav");
    EXPECT_EQ(MakeSoundPathRelative("/opt/lumavoxx/a.wav", "/opt/lumavox/"), "/opt/lumavoxx/a.wav");
    EXPECT_EQ(MakeSoundPathRelative("/music/a.wav", "/opt/lumavox/"), "/music/a.wav");
    EXPECT_EQ(ResolveSoundPath("sound/a.wav", "/opt/lumavox/"), "/opt/lumavox/sound/a.wav");
    EXPECT_EQ(ResolveSoundPath("/music/a.wav", "/opt/lumavox/"), "/music/a.wav");
    EXPECT_EQ(ResolveSoundPath("C:\\Music\\a.wav", "/opt/lumavox/"), "C:\\Music\\a.wav");
    EXPECT_EQ(ResolveSoundPath("", "/opt/lumavox/"), "");

    EXPECT_TRUE(HasExtension("/x/Song.wav", ".WAV"));
    EXPECT_TRUE(HasExtension("C:\\x\\SHOW.Prj", ".PRJ"));
    EXPECT_FALSE(HasExtension("/x.wav/song", ".WAV"));
    EXPECT_FALSE(HasExtension("/x/song.wave", ".WAV"));
    EXPECT_FALSE(HasExtension("/x/song", ".WAV"));
}

}  // namespace
}  // namespace lumavox
