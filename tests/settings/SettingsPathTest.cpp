#include "settings/SettingsPath.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace lumavox {
namespace {

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

}  // namespace
}  // namespace lumavox
