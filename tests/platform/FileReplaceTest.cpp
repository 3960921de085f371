#include "platform/FileReplace.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "fakes/TempDir.h"

namespace lumavox {
namespace {

using testing::TempDir;
using testing::WriteBytes;

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

}  // namespace
}  // namespace lumavox
