#include "settings/UsrIniFile.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <iterator>
#include <utility>
#include <vector>

#include "fakes/TempDir.h"

namespace lumavox {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

UsrIniFile Parsed(std::string_view text) {
    UsrIniFile ini("");
    ini.LoadText(text);
    return ini;
}

TEST(UsrIniFile, LoadSplitsOnEveryLineEndAndDropsCommentsBlanksAndOrphanLines) {
    const UsrIniFile ini = Parsed(
        "orphan=1\r\n[A]\r\nx=1\ry=2\nz=3\r\n\r\n;comment=9\n\n[]\nw=4\r\n[B]\n; x\nKey = 1");
    ASSERT_EQ(ini.Sections().size(), 3u);
    EXPECT_EQ(ini.Sections()[0].Lines, (std::vector<std::string>{"x=1", "y=2", "z=3"}));
    EXPECT_EQ(ini.Sections()[1].Name, "");
    EXPECT_EQ(ini.ReadString("", "w", "-"), "4");
    EXPECT_EQ(ini.ReadString("A", "orphan", "-"), "-");
    // Nothing is trimmed: the key of "Key = 1" is "Key " and its value " 1".
    EXPECT_EQ(ini.ReadString("B", "Key", "none"), "none");
    EXPECT_EQ(ini.ReadString("B", "Key ", "none"), " 1");
    EXPECT_EQ(ini.ReadInt("B", "Key ", 7), 7);
    EXPECT_FALSE(ini.Dirty());
}

TEST(UsrIniFile, FileWithoutSectionsIsEmptyAndWritesNothingBack) {
    const UsrIniFile ini = Parsed("a=1\r\nb=2\r\n[not a section\r\n");
    EXPECT_TRUE(ini.Sections().empty());
    EXPECT_EQ(ini.Text(), "");
}

TEST(UsrIniFile, ByteOrderMarkDoesNotHideTheFirstSection) {
    const UsrIniFile ini = Parsed("\xEF\xBB\xBF[General]\r\nUseWheel=0\r\n");
    EXPECT_FALSE(ini.ReadBool("General", "UseWheel", true));
    EXPECT_EQ(ini.Text(), "[General]\r\nUseWheel=0\r\n\r\n");
}

TEST(UsrIniFile, RepeatedSectionReadsAndWritesTheFirstAndKeepsTheSecond) {
    UsrIniFile ini = Parsed("[General]\nA=1\n[Other]\nB=2\n[general]\nA=5\nC=3\n");
    EXPECT_EQ(ini.ReadInt("GENERAL", "a", 0), 1);
    EXPECT_EQ(ini.ReadInt("General", "C", 0), 0);  // only the first section is searched
    ini.WriteInt("General", "C", 4);
    ini.WriteInt("General", "A", 6);
    EXPECT_EQ(
        ini.Text(),
        "[General]\r\nA=6\r\nC=4\r\n\r\n[Other]\r\nB=2\r\n\r\n[general]\r\nA=5\r\nC=3\r\n\r\n");
}

TEST(UsrIniFile, IntegersAreStrictDecimalAndBooleansAreAnyNonZero) {
    const UsrIniFile ini = Parsed(
        "[General]\nFlatToolBar=yes\nDispTracking=2\nNeg=-12\nPlus=+12\nBlank= 5\nHex=0x10\n"
        "Big=2147483648\nMin=-2147483648\nTail=5x\nEmpty=\nSign=-\nDouble=+-3\n");
    EXPECT_FALSE(ini.ReadBool("General", "FlatToolBar", false));
    EXPECT_TRUE(ini.ReadBool("General", "FlatToolBar", true));
    EXPECT_TRUE(ini.ReadBool("General", "DispTracking", false));
    EXPECT_EQ(ini.ReadInt("General", "Neg", 0), -12);
    EXPECT_EQ(ini.ReadInt("General", "Plus", 0), 12);
    EXPECT_EQ(ini.ReadInt("General", "Min", 0), INT32_MIN);
    for (const char* key : {"Blank", "Hex", "Big", "Tail", "Empty", "Sign", "Double", "Missing"}) {
        EXPECT_EQ(ini.ReadInt("General", key, 77), 77) << key;
    }
}

TEST(UsrIniFile, QuotedValuesLoseTheirQuotesButALoneQuoteStays) {
    const UsrIniFile ini = Parsed(
        "[Project]\nPrjFile=\"/home/u/show one.PRJ\"\nOne=\"\nHalf=\"abc\nSingle='x'\nEmpty=\"\"\n"
        "Eq=a=b\n");
    EXPECT_EQ(ini.ReadString("Project", "PrjFile", ""), "/home/u/show one.PRJ");
    EXPECT_EQ(ini.ReadString("Project", "One", ""), "\"");
    EXPECT_EQ(ini.ReadString("Project", "Half", ""), "\"abc");
    EXPECT_EQ(ini.ReadString("Project", "Single", ""), "'x'");
    EXPECT_EQ(ini.ReadString("Project", "Empty", "dflt"), "dflt");
    EXPECT_EQ(ini.ReadString("Project", "Eq", ""), "a=b");
}

TEST(UsrIniFile, WritesSetDirtyOnlyOnARealChange) {
    UsrIniFile ini = Parsed("[General]\nflattoolbar=1\nUseWheel=1\n");
    ini.WriteBool("General", "UseWheel", true);
    ini.WriteString("general", "UseWheel", "1");
    EXPECT_FALSE(ini.Dirty());
    // The key matches without regard to case, but the line is compared exactly.
    ini.WriteBool("General", "FlatToolBar", true);
    EXPECT_TRUE(ini.Dirty());
    EXPECT_EQ(ini.Sections()[0].Lines[0], "FlatToolBar=1");

    UsrIniFile fresh = Parsed("");
    fresh.WriteInt("Play", "Volume", 65535);
    EXPECT_TRUE(fresh.Dirty());
    EXPECT_EQ(fresh.Text(), "[Play]\r\nVolume=65535\r\n\r\n");
}

TEST(UsrIniFile, LineBreaksInWrittenValuesCannotInjectLinesOrSections) {
    UsrIniFile ini = Parsed("");
    ini.WriteString("Project", "PrjFile", "/tmp/a\r\n[Option]\nDmxType=1");
    const UsrIniFile reread = Parsed(ini.Text());
    ASSERT_EQ(reread.Sections().size(), 1u);
    EXPECT_EQ(reread.ReadString("Project", "PrjFile", ""), "/tmp/a[Option]DmxType=1");
}

TEST(UsrIniFile, FlushRoundTripKeepsUnknownSectionsAndKeysAndDropsComments) {
    TempDir dir;
    const std::string path = dir.File("lumavox.INI");
    WriteBytes(path, "; my notes\n[Mine]\nodd line\nX=1\n\n[General]\nUseWheel=0\n");
    {
        UsrIniFile ini(path);
        EXPECT_FALSE(ini.ReadBool("General", "UseWheel", true));
        ini.WriteBool("General", "UseWheel", true);
        ini.WriteInt("Play", "Volume", 100);
        ASSERT_TRUE(ini.Flush().Ok());
        EXPECT_FALSE(ini.Dirty());
    }
    EXPECT_EQ(ReadBytes(path),
              "[Mine]\r\nodd line\r\nX=1\r\n\r\n[General]\r\nUseWheel=1\r\n\r\n"
              "[Play]\r\nVolume=100\r\n\r\n");
    const UsrIniFile again(path);
    EXPECT_EQ(again.Text(), ReadBytes(path));
}

TEST(UsrIniFile, FlushLeavesTheFileAloneWhenNothingChanged) {
    TempDir dir;
    const std::string path = dir.File("lumavox.INI");
    WriteBytes(path, "[General]\nUseWheel=1\n");
    UsrIniFile ini(path);
    ini.WriteBool("General", "UseWheel", true);
    WriteBytes(path, "changed behind our back");
    EXPECT_TRUE(ini.Flush().Ok());
    EXPECT_EQ(ReadBytes(path), "changed behind our back");
}

TEST(UsrIniFile, MissingFileGivesEmptyStoreAndFlushCreatesItsFolder) {
    TempDir dir;
    const std::string path = dir.File("sub/folder/lumavox.INI");
    UsrIniFile ini(path);
    EXPECT_TRUE(ini.Sections().empty());
    ini.WriteInt("Option", "DmxType", 1);
    ASSERT_TRUE(ini.Flush().Ok());
    EXPECT_EQ(ReadBytes(path), "[Option]\r\nDmxType=1\r\n\r\n");
}

TEST(UsrIniFile, PathNamingAFifoOrFolderLoadsEmptyWithoutBlocking) {
    TempDir dir;
    const std::string fifo = dir.File("fifo.INI");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_TRUE(UsrIniFile(fifo).Sections().empty());
    EXPECT_TRUE(UsrIniFile(dir.Folder()).Sections().empty());
}

TEST(UsrIniFile, FailedFlushReportsTheFileKeepsDirtyAndLeavesNoTemporary) {
    TempDir dir;
    const std::string path = dir.File("lumavox.INI");
    UsrIniFile ini(path);
    std::filesystem::create_directory(path);  // a folder in the way: the rename must fail
    ini.WriteInt("Play", "Volume", 1);
    const SaveResult result = ini.Flush();
    EXPECT_FALSE(result.Ok());
    EXPECT_EQ(result.Error, "ファイル " + path + " を作成できません");
    EXPECT_FALSE(result.SystemError.empty());
    EXPECT_TRUE(ini.Dirty());
    EXPECT_TRUE(std::filesystem::is_directory(path));
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.Folder())) {
        ++entries;
    }
    EXPECT_EQ(entries, 1);
}

// A file that is there but cannot be read must not be replaced by a store of defaults.
TEST(UsrIniFile, FileThatExistsButCannotBeReadIsNeverOverwritten) {
    TempDir dir;
    const std::string big = dir.File("big.INI");
    WriteBytes(big, "[Option]\nDmxType=1\n");
    std::filesystem::resize_file(big, 17u << 20);  // over the size limit (sparse)
    const std::string fifo = dir.File("fifo.INI");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string locked = dir.File("locked.INI");
    WriteBytes(locked, "[Option]\nDmxType=1\n");
    ASSERT_EQ(::chmod(locked.c_str(), 0), 0);
    std::vector<std::pair<std::string, std::string>> cases = {{big, "larger than 16 MB"},
                                                              {fifo, "not a regular file"}};
    if (::geteuid() != 0) cases.emplace_back(locked, "Permission denied");  // root reads anyway
    for (const auto& [path, reason] : cases) {
        SCOPED_TRACE(path);
        UsrIniFile ini(path);
        EXPECT_TRUE(ini.Sections().empty());
        EXPECT_NE(ini.LoadError().find(reason), std::string::npos) << ini.LoadError();
        ini.WriteInt("Option", "DmxType", 0);
        const SaveResult result = ini.Flush();
        EXPECT_FALSE(result.Ok());
        EXPECT_EQ(result.Error, "ファイル " + path + " を作成できません");
        EXPECT_NE(result.SystemError.find(reason), std::string::npos) << result.SystemError;
        EXPECT_TRUE(ini.Dirty());
    }
    EXPECT_EQ(std::filesystem::file_size(big), 17u << 20);
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Folder()),
                            std::filesystem::directory_iterator()),
              3);  // no temporary file either

    // Only a missing file counts as a first run.
    UsrIniFile fresh(dir.File("new.INI"));
    EXPECT_TRUE(fresh.LoadError().empty());
}

// The settings path may be a link into a synchronised folder; it stays a link, also while the
// file it names does not exist yet.
TEST(UsrIniFile, FlushThroughADanglingLinkCreatesTheFileItNames) {
    TempDir dir;
    std::filesystem::create_directory(dir.File("sync"));
    const std::string path = dir.File("lumavox.INI");
    ASSERT_EQ(::symlink("sync/lumavox.INI", path.c_str()), 0);  // relative, dangling
    UsrIniFile ini(path);
    EXPECT_TRUE(ini.LoadError().empty());
    ini.WriteInt("Option", "DmxType", 1);
    ASSERT_TRUE(ini.Flush().Ok());
    EXPECT_TRUE(std::filesystem::is_symlink(path));
    EXPECT_EQ(ReadBytes(dir.File("sync/lumavox.INI")), "[Option]\r\nDmxType=1\r\n\r\n");
}

// A write that runs out of room part-way (simulated with a file size limit in a child process)
// must leave the previous settings file complete.
TEST(UsrIniFile, WriteThatRunsOutOfRoomKeepsThePreviousFile) {
    TempDir dir;
    const std::string path = dir.File("lumavox.INI");
    const std::string before = "[General]\r\nUseWheel=1\r\n\r\n";
    WriteBytes(path, before);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{64, 64};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        UsrIniFile ini(path);
        ini.WriteString("Project", "PrjFile", std::string(500, 'x'));
        const SaveResult result = ini.Flush();
        ::_exit(!result.Ok() && ini.Dirty() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(ReadBytes(path), before);
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.Folder())) {
        ++entries;
    }
    EXPECT_EQ(entries, 1);
}

}  // namespace
}  // namespace lumavox
