#include "settings/SettingsPath.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace lumavox
