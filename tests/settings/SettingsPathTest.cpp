#include "settings/SettingsPath.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "fakes/TempDir.h"

namespace lumavox {
namespace {

using testing::TempDir;

TEST(SettingsPath, BesideTheProgramWhenWritableElseInTheUserConfigFolder) {
    EXPECT_EQ(SettingsPathFor("/opt/lumavox/lumavox", true, "/x", "/home/u"),
              "/opt/lumavox/lumavox.INI");
    EXPECT_EQ(SettingsPathFor("/usr/bin/lumavox", false, "/home/u/cfg/", "/home/u"),
              "/home/u/cfg/lumavox/lumavox.INI");
    EXPECT_EQ(SettingsPathFor("/usr/bin/lumavox", false, "", "/home/u"),
              "/home/u/.config/lumavox/lumavox.INI");
    EXPECT_EQ(SettingsPathFor("/usr/bin/lumavox", false, "relative", "/home/u"),
              "/home/u/.config/lumavox/lumavox.INI");
    EXPECT_EQ(SettingsPathFor("", true, nullptr, "/home/u"), "/home/u/.config/lumavox/lumavox.INI");
    EXPECT_FALSE(DefaultSettingsPath().empty());
}

// A service started without $HOME must still keep its settings in its own account's home, never
// in a shared temporary folder.
TEST(SettingsPath, WithoutHomeTheAccountsHomeFromTheUserDatabaseIsUsed) {
    const char* saved = std::getenv("HOME");
    const std::string savedHome = saved != nullptr ? saved : "";
    unsetenv("HOME");
    const std::string home = HomeFolder();
    const passwd* entry = getpwuid(getuid());
    if (saved != nullptr) setenv("HOME", savedHome.c_str(), 1);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(home, entry->pw_dir);
    EXPECT_NE(home.rfind("/tmp", 0), 0u);
}

// A writable folder keeps the settings beside the program only when it is a build tree or a
// portable copy; an installed tree (its data in ../share/lumavox, wherever its prefix is) and the
// system's program folders use the user's config folder even for an account that may write there.
TEST(SettingsPath, OnlyAWritableBuildTreeOrPortableCopyKeepsItsSettingsBesideTheProgram) {
    TempDir dir;
    ASSERT_FALSE(dir.Folder().empty());
    std::filesystem::create_directories(dir.File("portable/help/en"));
    std::filesystem::create_directories(dir.File("prefix/bin"));
    std::filesystem::create_directories(dir.File("prefix/share/lumavox/help"));

    EXPECT_TRUE(SettingsBesideProgram(dir.File("portable")));
    EXPECT_TRUE(SettingsBesideProgram(dir.File("portable/")));
    EXPECT_FALSE(SettingsBesideProgram(dir.File("prefix/bin/")));
    EXPECT_FALSE(SettingsBesideProgram(dir.File("missing/")));
    EXPECT_FALSE(SettingsBesideProgram(""));

    EXPECT_TRUE(IsInstalledProgramFolder(dir.File("prefix/bin"), ""));
    EXPECT_FALSE(IsInstalledProgramFolder(dir.File("portable/"), "/usr/bin"));
    EXPECT_TRUE(IsInstalledProgramFolder(dir.File("portable/"), dir.File("portable")));
    EXPECT_TRUE(IsInstalledProgramFolder("/usr/local/bin/", "/opt/x/bin"));
    EXPECT_TRUE(IsInstalledProgramFolder("/usr/bin", ""));
    EXPECT_FALSE(IsInstalledProgramFolder("", ""));
}

}  // namespace
}  // namespace lumavox
