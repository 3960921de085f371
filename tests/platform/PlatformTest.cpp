#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/InstanceLock.h"
#include "platform/Paths.h"

namespace lumavox {
namespace {

std::string MakeTempDir() {
    std::string templ = (std::filesystem::temp_directory_path() / "lumavox-test-XXXXXX").string();
    const char* dir = mkdtemp(templ.data());
    return dir != nullptr ? std::string(dir) : std::string();
}

// A real second process holds the lock; the test process must see it taken, and free again once
// that process is killed without any chance to clean up.
TEST(InstanceLock, SecondProcessIsRefusedUntilTheFirstIsKilled) {
    const std::string dir = MakeTempDir();
    ASSERT_FALSE(dir.empty());
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        FileInstanceLock lock(kInstanceLockName, dir);
        const char ok = lock.TryAcquire() == InstanceLockState::Acquired ? '1' : '0';
        (void)!write(ready[1], &ok, 1);
        pause();
        _exit(0);
    }
    char ok = 0;
    ASSERT_EQ(read(ready[0], &ok, 1), 1);
    ASSERT_EQ(ok, '1');
    {
        FileInstanceLock second(kInstanceLockName, dir);
        EXPECT_EQ(second.TryAcquire(), InstanceLockState::HeldByAnother);
        EXPECT_EQ(second.Error(), "");
    }
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    FileInstanceLock third(kInstanceLockName, dir);
    EXPECT_EQ(third.TryAcquire(), InstanceLockState::Acquired);
    EXPECT_EQ(third.TryAcquire(), InstanceLockState::Acquired);  // holding it already counts
    close(ready[0]);
    close(ready[1]);
    std::filesystem::remove_all(dir);
}

// Runs `work` in a child process (as the user "nobody" when this process is root) and returns its
// exit status; -1 when the child could not be made.
template <typename Work>
int InChildProcess(Work work) {
    const pid_t child = fork();
    if (child < 0) return -1;
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(99);
        _exit(work());
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Only a lock that a running copy holds means "another copy runs". A lock path that cannot be
// used is reported with its reason (the program then starts without the guard).
TEST(InstanceLock, AnUnusableLockIsReportedNotTakenForARunningCopy) {
    const std::string dir = MakeTempDir();
    ASSERT_FALSE(dir.empty());
    ASSERT_EQ(chmod(dir.c_str(), 0755), 0);
    ASSERT_EQ(mkdir((dir + "/Lumavox_is_running.lock").c_str(), 0700), 0);
    FileInstanceLock folder(kInstanceLockName, dir);
    EXPECT_EQ(folder.TryAcquire(), InstanceLockState::Unavailable);
    EXPECT_EQ(folder.Error(), "cannot take the single-instance lock " + dir +
                                  "/Lumavox_is_running.lock: Is a directory");

    // Another user's lock file: held by its running copy, that copy is seen; unreadable, the
    // reason is given.
    FileInstanceLock other("other", dir);
    ASSERT_EQ(other.TryAcquire(), InstanceLockState::Acquired);
    const auto tryLock = [&](const char* name) {
        FileInstanceLock lock(name, dir);
        const InstanceLockState state = lock.TryAcquire();
        if (state == InstanceLockState::Unavailable &&
            lock.Error().find("Permission denied") == std::string::npos) {
            return 10;
        }
        return static_cast<int>(state);
    };
    EXPECT_EQ(InChildProcess([&] { return tryLock("other"); }),
              static_cast<int>(InstanceLockState::HeldByAnother));
    const std::string unreadable = dir + "/unreadable.lock";
    std::ofstream(unreadable) << "";
    ASSERT_EQ(chmod(unreadable.c_str(), geteuid() == 0 ? 0600 : 0), 0);
    EXPECT_EQ(InChildProcess([&] { return tryLock("unreadable"); }),
              static_cast<int>(InstanceLockState::Unavailable));
    std::filesystem::remove_all(dir);
}

TEST(Paths, CompletePathResolvesRelativeAndWindowsPathsAgainstTheProgramFolder) {
    EXPECT_EQ(CompletePathIn("", "/opt/lv/"), "");
    EXPECT_EQ(CompletePathIn("sound\\a.wav", "/opt/lv/"), "/opt/lv/sound/a.wav");
    EXPECT_EQ(CompletePathIn("/home/u/a.wav", "/opt/lv/"), "/home/u/a.wav");
    EXPECT_EQ(CompletePathIn("C:\\Music\\a.wav", "/opt/lv/"), "C:\\Music\\a.wav");
    EXPECT_EQ(CompletePathIn("d:/x.wav", "/opt/lv/"), "d:/x.wav");
    EXPECT_TRUE(HasDrivePart("\\\\server\\share"));
    const std::string exeDir = ExeDir();
    ASSERT_FALSE(exeDir.empty());
    EXPECT_EQ(exeDir.back(), '/');
    EXPECT_EQ(CompletePath("a.wav"), exeDir + "a.wav");
}

TEST(Paths, FileDateTimeIsADosResolutionDayCount) {
    EXPECT_DOUBLE_EQ(DosDateTimeValue(1899, 12, 30, 0, 0, 0), 0.0);
    EXPECT_DOUBLE_EQ(DosDateTimeValue(1900, 1, 1, 12, 0, 0), 2.5);
    // 2000-01-01 is day 36526; odd seconds fall to the even second below
    EXPECT_DOUBLE_EQ(DosDateTimeValue(2000, 1, 1, 0, 0, 3), 36526.0 + 2.0 / 86400.0);
    EXPECT_EQ(FileDateTime("/nonexistent/file.wav"), 0.0);

    const std::string dir = MakeTempDir();
    const std::string a = dir + "/a.wav";
    const std::string b = dir + "/b.wav";
    std::ofstream(a) << "x";
    std::ofstream(b) << "y";
    const timespec times[2] = {{1700000001, 0}, {1700000001, 900000000}};
    ASSERT_EQ(utimensat(AT_FDCWD, a.c_str(), times, 0), 0);
    const timespec times2[2] = {{1700000000, 0}, {1700000000, 100}};
    ASSERT_EQ(utimensat(AT_FDCWD, b.c_str(), times2, 0), 0);
    EXPECT_GT(FileDateTime(a), 40000.0);
    EXPECT_EQ(FileDateTime(a), FileDateTime(b));  // same 2-second slot compares exactly
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace lumavox
