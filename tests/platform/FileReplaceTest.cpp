#include "platform/FileReplace.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "fakes/TempDir.h"

namespace lumavox {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

constexpr uint8_t kBytes[] = {'s', 'h', 'o', 'w'};

// What the read end of a pipe or FIFO holds now, without waiting.
std::string Drain(int fd) {
    std::string got;
    char buffer[64];
    ssize_t n = 0;
    while ((n = read(fd, buffer, sizeof buffer)) > 0) got.append(buffer, static_cast<size_t>(n));
    return got;
}

mode_t TypeOf(const std::string& path, bool followLinks = true) {
    struct stat st {};
    const int result = followLinks ? stat(path.c_str(), &st) : lstat(path.c_str(), &st);
    return result == 0 ? (st.st_mode & S_IFMT) : 0;
}

std::set<std::string> Names(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder)) {
        names.insert(e.path().filename().string());
    }
    return names;
}

// A save killed while writing leaves its temporary file; the next save into that folder clears
// such files of processes that are gone, and nothing else.
TEST(ReplaceFileAtomically, RemovesTemporaryFilesOfSavesWhoseProcessIsGone) {
    TempDir dir;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) _exit(0);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);  // reaped: that pid no longer runs
    const std::string dead = ".lumavox-save-" + std::to_string(child) + "-7.tmp";
    const std::string running = ".lumavox-save-" + std::to_string(getppid()) + "-0.tmp";
    const std::set<std::string> others = {running, ".lumavox-save-x-1.tmp",
                                          ".lumavox-save-" + std::to_string(child) + "-7.tmp~",
                                          "notes.txt"};
    WriteBytes(dir.File(dead), "half a project");
    for (const std::string& name : others) WriteBytes(dir.File(name), "keep");
    std::filesystem::create_directory(dir.File("sub"));
    WriteBytes(dir.File("sub/" + dead), "another folder");

    const uint8_t bytes[] = {1, 2, 3};
    ASSERT_EQ(ReplaceFileAtomically(dir.File("show.prj"), bytes), 0);
    std::set<std::string> expected = others;
    expected.insert("show.prj");
    expected.insert("sub");
    EXPECT_EQ(Names(dir.Folder()), expected);
    EXPECT_TRUE(std::filesystem::exists(dir.File("sub/" + dead)));
}

// A regular file is replaced, never written into: another name for the old file keeps the old
// bytes.
TEST(ReplaceFileAtomically, ARegularFileOrALinkToOneIsReplacedAsAWhole) {
    TempDir dir;
    WriteBytes(dir.File("show.prj"), "old");
    ASSERT_EQ(link(dir.File("show.prj").c_str(), dir.File("hard").c_str()), 0);
    ASSERT_EQ(symlink("show.prj", dir.File("soft").c_str()), 0);
    ASSERT_EQ(ReplaceFileAtomically(dir.File("soft"), kBytes), 0);
    EXPECT_EQ(ReadBytes(dir.File("show.prj")), "show");
    EXPECT_EQ(ReadBytes(dir.File("hard")), "old");
    EXPECT_EQ(TypeOf(dir.File("soft"), false), static_cast<mode_t>(S_IFLNK));
}

// A FIFO (named, through a link, or the pipe behind /dev/fd/N) is fed, not replaced by a file; a
// pipe nobody reads gives EPIPE and the program goes on.
TEST(ReplaceFileAtomically, AFifoOrAPipeIsWrittenWhereItIs) {
    TempDir dir;
    const std::string fifo = dir.File("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_EQ(symlink(fifo.c_str(), dir.File("to-fifo").c_str()), 0);
    // Opened first without waiting, so that the writer's open finds a reader at once.
    const int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(reader, 0);
    EXPECT_EQ(ReplaceFileAtomically(fifo, kBytes), 0);
    EXPECT_EQ(ReplaceFileAtomically(dir.File("to-fifo"), kBytes), 0);
    EXPECT_EQ(Drain(reader), "showshow");
    close(reader);
    EXPECT_EQ(TypeOf(fifo), static_cast<mode_t>(S_IFIFO));
    EXPECT_EQ(TypeOf(dir.File("to-fifo"), false), static_cast<mode_t>(S_IFLNK));

    int ends[2];
    ASSERT_EQ(pipe2(ends, O_CLOEXEC | O_NONBLOCK), 0);
    EXPECT_EQ(ReplaceFileAtomically("/dev/fd/" + std::to_string(ends[1]), kBytes), 0);
    EXPECT_EQ(Drain(ends[0]), "show");
    close(ends[0]);
    EXPECT_EQ(ReplaceFileAtomically("/dev/fd/" + std::to_string(ends[1]), kBytes), EPIPE);
    close(ends[1]);
}

// Device nodes made in the folder: the null device takes the bytes, the full one refuses them,
// and both stay devices.
TEST(ReplaceFileAtomically, ADeviceIsWrittenWhereItIsAndItsRefusalReported) {
    TempDir dir;
    const std::string null = dir.File("null");
    const std::string full = dir.File("full");
    if (mknod(null.c_str(), S_IFCHR | 0600, makedev(1, 3)) != 0 ||
        mknod(full.c_str(), S_IFCHR | 0600, makedev(1, 7)) != 0) {
        GTEST_SKIP() << "mknod is not permitted here";
    }
    ASSERT_EQ(symlink(null.c_str(), dir.File("to-null").c_str()), 0);
    EXPECT_EQ(ReplaceFileAtomically(dir.File("to-null"), kBytes), 0);
    EXPECT_EQ(ReplaceFileAtomically(full, kBytes), ENOSPC);
    EXPECT_EQ(TypeOf(null), static_cast<mode_t>(S_IFCHR));
    EXPECT_EQ(TypeOf(full), static_cast<mode_t>(S_IFCHR));
    EXPECT_EQ(Names(dir.Folder()), (std::set<std::string>{"full", "null", "to-null"}));
}

}  // namespace
}  // namespace lumavox
