#include "settings/SacnSettings.h"

#include <gtest/gtest.h>

#include "fakes/FakeWaveVolume.h"
#include "fakes/TempDir.h"
#include "platform/Uuid.h"
#include "settings/EnvData.h"

namespace lumavox {
namespace {

using testing::TempDir;
using testing::WriteBytes;

// The identity is kept once sACN was used: a later start reads the same CID; a damaged one is
// replaced rather than sent. A file of someone who never chose sACN gets no section.
TEST(SacnSettings, CidIsStoredOnceSacnIsUsedAndReplacedWhenUnreadable) {
    TempDir dir;
    const std::string path = dir.File("lumavox.INI");
    FakeWaveVolume volume(std::nullopt);
    std::string cid;
    {
        EnvData env(path, dir.Folder());
        env.Create(volume);
        EXPECT_TRUE(env.Save(volume).Ok());
        EXPECT_EQ(env.Ini().ReadString("Output", "SacnCid", "none"), "none");
        env.Sacn.Selected = true;
        ASSERT_TRUE(ParseUuid(env.Sacn.Cid));
        cid = env.Sacn.Cid;
        EXPECT_TRUE(env.Save(volume).Ok());
    }
    {
        EnvData env(path, dir.Folder());
        env.Create(volume);
        env.Sacn.Selected = false;  // chosen away again: the identity stays
        EXPECT_TRUE(env.Save(volume).Ok());
    }
    {
        EnvData env(path, dir.Folder());
        env.Create(volume);
        EXPECT_EQ(env.Sacn.Cid, cid);
    }
    UsrIniFile ini(path);
    ini.WriteString("Output", "SacnCid", "00000000-0000-0000-0000-000000000000");
    EXPECT_NE(ReadSacnSettings(ini).Cid, "00000000-0000-0000-0000-000000000000");
    ini.WriteString("Output", "SacnCid", "{ABCDEF01-2345-4678-9ABC-DEF012345678}");
    EXPECT_EQ(ReadSacnSettings(ini).Cid, "abcdef01-2345-4678-9abc-def012345678");
}

// Output=sacn chooses sACN; DmxType keeps its own value for programs that know only it.
TEST(SacnSettings, OutputKeyChoosesSacnAndOutOfRangeNumbersReadAsDefaults) {
    TempDir dir;
    const std::string path = dir.File("lumavox.INI");
    WriteBytes(path,
               "[Option]\nDmxType=1\n[Output]\nOutput=sacn\nSacnUniverse=64000\n"
               "SacnPriority=201\nSacnSync=-1\nSacnUnicast=10.0.0.5, 10.0.0.6\n"
               "SacnInterface=eth1\n");
    FakeWaveVolume volume(std::nullopt);
    EnvData env(path, dir.Folder());
    env.Create(volume);
    EXPECT_TRUE(env.Sacn.Selected);
    EXPECT_EQ(env.DmxType, 1);
    EXPECT_EQ(env.Sacn.Universe, 1);
    EXPECT_EQ(env.Sacn.Priority, 100);
    EXPECT_EQ(env.Sacn.Sync, 0);
    EXPECT_EQ(env.Sacn.Unicast, "10.0.0.5, 10.0.0.6");
    EXPECT_EQ(env.Sacn.Interface, "eth1");

    env.Sacn.Selected = false;  // switched to Art-Net in the options dialog
    env.Sacn.Universe = 63999;
    EXPECT_TRUE(env.Save(volume).Ok());
    EnvData again(path, dir.Folder());
    again.Create(volume);
    EXPECT_FALSE(again.Sacn.Selected);
    EXPECT_EQ(again.Sacn.Universe, 63999);
    EXPECT_EQ(again.DmxType, 1);
}

}  // namespace
}  // namespace lumavox
