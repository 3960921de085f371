#include "settings/EnvData.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <thread>

#include "fakes/FakeWaveVolume.h"
#include "fakes/TempDir.h"
#include "settings/MainView.h"
#include "settings/Placement.h"
#include "settings/SettingsTestData.h"
#include "settings/ShortCut.h"

namespace lumavox {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

std::string WithCrLf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

void ExpectDefaults(const EnvData& env, const std::string& exeDir) {
    EXPECT_EQ(env.PrjFile, "");
    const int32_t colours[] = {12632256, 0, 12632256, 0, 8388608, 0, 16777215, 0};
    for (size_t i = 0; i < EnvData::kColourCount; ++i) EXPECT_EQ(env.Colour(i), colours[i]) << i;
    EXPECT_FALSE(env.FlatToolBar);
    EXPECT_FALSE(env.DispTracking);
    EXPECT_TRUE(env.MonClickTab);
    EXPECT_TRUE(env.UseWheel);
    EXPECT_TRUE(env.CurActivate);
    EXPECT_FALSE(env.MonScaled);
    EXPECT_FALSE(env.Repeat.load());
    EXPECT_EQ(env.Volume, 65535);
    EXPECT_EQ(env.PatchCheckChannel.load(), -1);
    EXPECT_FALSE(env.AutoSave);
    EXPECT_EQ(env.SaveInterval, 10);
    EXPECT_TRUE(env.History.empty());
    EXPECT_TRUE(env.PaletteImage.Empty());
    EXPECT_EQ(env.ImgFile, exeDir + "PALETTE.BMP");
    EXPECT_EQ(env.DispSize, 320);
    EXPECT_EQ(env.DmxInterval, 20);
    EXPECT_EQ(env.DispInterval, 50);
    EXPECT_EQ(env.TxUniverse, 0);
    EXPECT_EQ(env.DmxType, 0);
    EXPECT_EQ(env.UsbVendorId, 0);
    EXPECT_EQ(env.UsbProductId, 0);
}

TEST(EnvData, MissingEmptyOrCorruptFilesGiveEveryDefault) {
    TempDir dir;
    const std::string exeDir = dir.File("bin/");
    const std::string garbage =
        "[General]\nFlatToolBar=yes\nSaveInterval=ten\n[Color]\nLwavFg=0x10\n"
        "[Play]\nVolume=\n[Palette]\nDispSize=\"\"\n" +
        std::string("\x00\xFF\r\r[\n", 7);
    for (const std::string& contents : {std::string("<missing>"), std::string(), garbage}) {
        const std::string path = dir.File("lumavox.INI");
        std::filesystem::remove(path);
        if (contents != "<missing>") WriteBytes(path, contents);
        EnvData env(path, exeDir);
        FakeWaveVolume volume(1234);
        env.Create(volume);
        ExpectDefaults(env, exeDir);
        EXPECT_EQ(env.StartVolume, 1234);
        EXPECT_EQ(volume.Sets(), std::vector<uint16_t>{65535});
    }
}

TEST(EnvData, StoredValuesReadAndWriteBackUnchanged) {
    TempDir dir;
    const std::string path = dir.File("lumavox.INI");
    WriteBytes(dir.File("a.PRJ"), "x");
    WriteBytes(dir.File("b.PRJ"), "x");
    const std::string text =
        "[General]\r\nFlatToolBar=1\r\nDispTracking=1\r\nMonClickTab=0\r\nUseWheel=0\r\n"
        "CurActivate=0\r\nMonScaled=1\r\nAutoSave=1\r\nSaveInterval=7\r\n\r\n"
        "[Project]\r\nPrjFile=" +
        dir.File("a.PRJ") +
        "\r\n\r\n"
        "[Color]\r\nLwavFg=1\r\nLwavBg=2\r\nRwavFg=3\r\nRwavBg=4\r\nBlankBg=5\r\nTLinFg=6\r\n"
        "TLinBg=7\r\nCLinBg=-8\r\n\r\n"
        "[Palette]\r\nImgFile=mine.bmp\r\nDispSize=400\r\n\r\n"
        "[Play]\r\nRepeat=1\r\nVolume=30000\r\n\r\n"
        "[PrjHistory]\r\nFile0=" +
        dir.File("b.PRJ") + "\r\nFile1=" + dir.File("a.PRJ") + "\r\n" +
        [] {
            std::string rest;
            for (int n = 2; n < 20; ++n) rest += "File" + std::to_string(n) + "=\r\n";
            return rest;
        }() +
        "\r\n[Option]\r\nDmxInterval=40\r\nDispInterval=100\r\nTxUniverse=35\r\nDmxType=1\r\n"
        "UsbVendorId=0403\r\nUsbProductId=24577\r\n\r\n";
    WriteBytes(path, text);
    EnvData env(path, dir.Folder());
    FakeWaveVolume volume(std::nullopt);
    env.Create(volume);
    EXPECT_TRUE(env.FlatToolBar);
    EXPECT_FALSE(env.UseWheel);
    EXPECT_TRUE(env.MonScaled);
    EXPECT_EQ(env.SaveInterval, 7);
    EXPECT_EQ(env.PrjFile, dir.File("a.PRJ"));
    EXPECT_EQ(env.RwavBg, 4);
    EXPECT_EQ(env.CLinBg, -8);
    EXPECT_EQ(env.ImgFile, "mine.bmp");
    EXPECT_EQ(env.DispSize, 400);
    EXPECT_TRUE(env.Repeat.load());
    EXPECT_EQ(env.Volume, 30000);
    EXPECT_EQ(env.History, (std::vector<std::string>{dir.File("b.PRJ"), dir.File("a.PRJ")}));
    EXPECT_EQ(env.DmxInterval, 40);
    EXPECT_EQ(env.DispInterval, 100);
    EXPECT_EQ(env.TxUniverse, 0x23);
    EXPECT_EQ(env.DmxType, 1);
    EXPECT_EQ(env.UsbVendorId, 0x0403);
    EXPECT_EQ(env.UsbProductId, 0x6001);
    EXPECT_EQ(env.BadUsbIdSetting, "");

    // Nothing changed: the save rewrites nothing, and the machine without sound keeps Volume.
    ASSERT_TRUE(env.Save(volume).Ok());
    EXPECT_FALSE(env.Ini().Dirty());
    EXPECT_EQ(ReadBytes(path), text);
    EXPECT_EQ(env.Ini().ReadInt("Play", "Volume", 0), 30000);
}

TEST(EnvData, VolumeIsAppliedAtStartTakenAtSaveAndRestoredAtTheEnd) {
    TempDir dir;
    const std::string path = dir.File("lumavox.INI");
    WriteBytes(path, "[Play]\nVolume=70000\n");
    EnvData env(path, dir.Folder());
    FakeWaveVolume volume(500);
    env.Create(volume);
    EXPECT_EQ(env.Volume, 65535);  // out of range clamps to the device's range
    volume.SetLevel(12345);        // the user moved the system mixer
    ASSERT_TRUE(env.Save(volume).Ok());
    EXPECT_EQ(EnvData(path, dir.Folder()).Ini().ReadInt("Play", "Volume", 0), 12345);
    env.RestoreStartVolume(volume);
    EXPECT_EQ(volume.Sets().back(), 500);

    // Unreadable level at start: nothing to restore, and the stored value survives the save.
    EnvData silent(path, dir.Folder());
    FakeWaveVolume none(std::nullopt);
    silent.Create(none);
    ASSERT_TRUE(silent.Save(none).Ok());
    silent.RestoreStartVolume(none);
    EXPECT_EQ(none.Sets(), std::vector<uint16_t>{12345});
    EXPECT_EQ(EnvData(path, dir.Folder()).Ini().ReadInt("Play", "Volume", 0), 12345);
}

TEST(EnvData, HistorySavesTwentyAndDropsDeletedFilesAtTheNextStart) {
    TempDir dir;
    const std::string path = dir.File("lumavox.INI");
    EnvData env(path, dir.Folder());
    FakeWaveVolume volume(0);
    env.Create(volume);
    for (int n = 24; n >= 0; --n) {
        std::string name = std::to_string(n);
        name.insert(0, 1, 'p');
        name.append(".PRJ");
        const std::string file = dir.File(name);
        WriteBytes(file, "x");
        env.PutHistoryFirst(file);
    }
    ASSERT_EQ(env.History.size(), 25u);
    ASSERT_TRUE(env.Save(volume).Ok());
    std::filesystem::remove(dir.File("p3.PRJ"));

    EnvData next(path, dir.Folder());
    next.Create(volume);
    ASSERT_EQ(next.History.size(), 19u);
    EXPECT_EQ(next.History[2], dir.File("p2.PRJ"));
    EXPECT_EQ(next.History[3], dir.File("p4.PRJ"));
    EXPECT_EQ(next.History[18], dir.File("p19.PRJ"));
    ASSERT_TRUE(next.Save(volume).Ok());
    EXPECT_EQ(next.Ini().ReadString("PrjHistory", "File3", ""), dir.File("p4.PRJ"));
    EXPECT_EQ(next.Ini().ReadString("PrjHistory", "File19", "empty"), "empty");

    // Loading stops at the first empty entry.
    UsrIniFile& ini = next.Ini();
    ini.WriteString("PrjHistory", "File1", "");
    next.Create(volume);
    EXPECT_EQ(next.History.size(), 1u);
}

// A recent project whose file was replaced by a folder of the same name is gone as a project.
TEST(EnvData, HistoryDropsAnEntryThatNowNamesAFolder) {
    TempDir dir;
    const std::string path = dir.File("lumavox.INI");
    WriteBytes(dir.File("a.PRJ"), "x");
    WriteBytes(dir.File("c.PRJ"), "x");
    std::filesystem::create_directory(dir.File("b.PRJ"));
    WriteBytes(path, "[PrjHistory]\nFile0=" + dir.File("a.PRJ") + "\nFile1=" + dir.File("b.PRJ") +
                         "\nFile2=" + dir.File("c.PRJ") + "\n");
    EnvData env(path, dir.Folder());
    FakeWaveVolume volume(0);
    env.Create(volume);
    EXPECT_EQ(env.History, (std::vector<std::string>{dir.File("a.PRJ"), dir.File("c.PRJ")}));
}

// File names differ by case on Linux: two such files are two entries.
TEST(EnvData, HistoryIndexComparesExactlyAndPutFirstMovesTheEntry) {
    TempDir dir;
    EnvData env(dir.File("x.INI"), dir.Folder());
    env.History = {"/a/One.PRJ", "/a/two.prj", "/a/ONE.prj"};
    EXPECT_EQ(env.HistoryIndex("/a/ONE.prj"), 2);
    EXPECT_EQ(env.HistoryIndex("/A/one.prj"), -1);
    env.PutHistoryFirst("/a/TWO.PRJ");
    EXPECT_EQ(env.History,
              (std::vector<std::string>{"/a/TWO.PRJ", "/a/One.PRJ", "/a/two.prj", "/a/ONE.prj"}));
    env.PutHistoryFirst("/a/ONE.prj");
    EXPECT_EQ(env.History,
              (std::vector<std::string>{"/a/ONE.prj", "/a/TWO.PRJ", "/a/One.PRJ", "/a/two.prj"}));
}

TEST(EnvData, HarmfulOptionValuesFallBackToDefaults) {
    TempDir dir;
    const std::string path = dir.File("lumavox.INI");
    WriteBytes(path,
               "[Option]\nDmxInterval=0\nDispInterval=-5\nTxUniverse=256\nUsbVendorId=70000\n"
               "[General]\nSaveInterval=0\n[Palette]\nDispSize=-400\n");
    EnvData env(path, dir.Folder());
    FakeWaveVolume volume(0);
    env.Create(volume);
    EXPECT_EQ(env.DmxInterval, 20);
    EXPECT_EQ(env.DispInterval, 50);
    EXPECT_EQ(env.TxUniverse, 0);
    EXPECT_EQ(env.UsbVendorId, 0);
    EXPECT_EQ(env.BadUsbIdSetting, "UsbVendorId=70000");
    EXPECT_EQ(env.SaveInterval, 10);
    EXPECT_EQ(env.DispSize, 320);
}

TEST(EnvData, PaletteImageResolvesInTheProgramFolderAndChoiceStoresBareNames) {
    TempDir dir;
    const std::string jpeg = ReadBytes(DataFile("rgb16x8.jpg"));
    WriteBytes(dir.File("PALETTE.BMP"), "not a bitmap");
    WriteBytes(dir.File("mine.jpg"), jpeg);
    std::filesystem::create_directory(dir.File("pics"));
    WriteBytes(dir.File("pics/other.JPEG"), jpeg);
    EnvData env(dir.File("lumavox.INI"), dir.Folder());
    FakeWaveVolume volume(0);
    env.Create(volume);
    EXPECT_TRUE(env.PaletteImage.Empty());  // the default file exists but is not an image

    EXPECT_TRUE(env.ChoosePaletteImage(dir.File("mine.jpg")));
    EXPECT_EQ(env.ImgFile, "mine.jpg");
    EXPECT_EQ(env.PaletteImage.Width, 16);
    EXPECT_TRUE(env.ChoosePaletteImage(dir.File("pics/other.JPEG")));
    EXPECT_EQ(env.ImgFile, dir.File("pics/other.JPEG"));
    EXPECT_TRUE(env.LoadPaletteImage("pics\\other.JPEG"));  // a path stored on Windows
    EXPECT_FALSE(env.LoadPaletteImage("gone.bmp"));
    EXPECT_TRUE(env.PaletteImage.Empty());
}

TEST(EnvData, FailedSaveReportsAndKeepsThePreviousFile) {
    TempDir dir;
    const std::string path = dir.File("lumavox.INI");
    EnvData env(path, dir.Folder());
    FakeWaveVolume volume(100);
    env.Create(volume);
    std::filesystem::create_directory(path);  // something in the way of the file
    const SaveResult result = env.Save(volume);
    EXPECT_FALSE(result.Ok());
    EXPECT_NE(result.Error.find(path), std::string::npos);
    EXPECT_TRUE(env.Ini().Dirty());
    std::filesystem::remove(path);
    EXPECT_TRUE(env.Save(volume).Ok());  // a later attempt still writes everything
    EXPECT_EQ(EnvData(path, dir.Folder()).Ini().ReadInt("Play", "Volume", 0), 65535);
}

// An untouched language stays out of the file (absent means automatic); a chosen one is kept.
TEST(EnvData, LanguageIsWrittenOnlyOnceChosen) {
    TempDir dir;
    const std::string path = dir.File("lumavox.INI");
    FakeWaveVolume volume(100);
    {
        EnvData env(path, dir.Folder());
        env.Create(volume);
        EXPECT_EQ(env.Language, "");
        ASSERT_TRUE(env.Save(volume).Ok());
    }
    EXPECT_EQ(ReadBytes(path).find("Language"), std::string::npos);
    {
        EnvData env(path, dir.Folder());
        env.Create(volume);
        env.Language = "en";
        ASSERT_TRUE(env.Save(volume).Ok());
    }
    EnvData env(path, dir.Folder());
    env.Create(volume);
    EXPECT_EQ(env.Language, "en");
    EXPECT_EQ(env.Ini().ReadString("General", "Language", ""), "en");
}

// Broadcast and periodic frames stay the default: a file without [Output] keeps its text until
// something there is chosen, and turning it off again is stored as such.
TEST(EnvData, ArtnetDeliveryIsStoredInOutputOnlyOnceChosen) {
    TempDir dir;
    const std::string path = dir.File("lumavox.INI");
    FakeWaveVolume volume(100);
    const auto session = [&](auto change) {
        EnvData env(path, dir.Folder());
        env.Create(volume);
        change(env);
        env.SaveOptions(0, 0);
        EXPECT_TRUE(env.Save(volume).Ok());
    };
    session([](EnvData& env) { EXPECT_FALSE(env.ArtnetUnicast || env.ArtSync || env.EventTimed); });
    EXPECT_EQ(ReadBytes(path).find("[Output]"), std::string::npos);
    session([](EnvData& env) {
        env.ArtnetUnicast = env.ArtSync = env.EventTimed = true;
        env.ArtnetLightOffsetMs = -120;
        env.Ini().WriteInt("Output", "SacnLightOffsetMs", 900);  // by hand, out of range
    });
    session([](EnvData& env) {
        EXPECT_TRUE(env.ArtnetUnicast && env.ArtSync && env.EventTimed);
        EXPECT_EQ(env.ArtnetLightOffsetMs, -120);
        EXPECT_EQ(env.SacnLightOffsetMs, 0);
        env.ArtnetUnicast = false;
    });
    EnvData env(path, dir.Folder());
    env.Create(volume);
    EXPECT_FALSE(env.ArtnetUnicast);
    EXPECT_TRUE(env.ArtSync);
    EXPECT_EQ(env.Ini().ReadString("Output", "ArtnetUnicast", ""), "0");
    EXPECT_EQ(ReadBytes(path).find("UsbLightOffsetMs"), std::string::npos);
}

// The output thread reads Repeat and PatchCheckChannel every tick while the UI changes them.
TEST(EnvData, OutputThreadReadsTickValuesWhileTheUiChangesThem) {
    TempDir dir;
    EnvData env(dir.File("x.INI"), dir.Folder());
    std::atomic<bool> done{false};
    std::thread output([&] {
        int reads = 0;
        while (!done.load() && reads < 1000000) {
            const int32_t channel = env.PatchCheckChannel.load(std::memory_order_relaxed);
            EXPECT_TRUE(channel >= -1 && channel <= 170);
            (void)env.Repeat.load(std::memory_order_relaxed);
            ++reads;
        }
    });
    for (int i = 0; i < 20000; ++i) {
        env.PatchCheckChannel.store(i % 172 - 1, std::memory_order_relaxed);
        env.Repeat.store(i % 2 == 0, std::memory_order_relaxed);
    }
    done.store(true);
    output.join();
}

// The close sequence of a first run in which no dialog was opened writes the sections in the
// order of their first write; compared byte for byte with a hand-checked file.
TEST(EnvData, FirstWrittenSettingsFileMatchesTheExpectedBytes) {
    TempDir dir;
    const std::string path = dir.File("lumavox.INI");
    EnvData env(path, "/opt/lumavox/");
    FakeWaveVolume volume(std::nullopt);
    env.Create(volume);
    UsrIniFile& ini = env.Ini();

    env.SaveOptions(2500, 3999);
    WindowPlacement main;
    LoadPlacement(ini, "General", main, 768, 1024, 0, 0);
    SavePlacement(ini, "General", main);
    const MainView view = LoadMainView(ini);
    SaveMainView(ini, view);
    for (int n = 1; n <= 8; ++n) {
        WindowPlacement panel{0, 0, 0, 0, WindowState::Normal, BorderKind::None};
        const std::string section = "ColMon" + std::to_string(n);
        LoadPlacement(ini, section, panel, 100, 100, (n - 1) / 4 * 110 + 10,
                      (n - 1) % 4 * 110 + 10);
        SavePlacement(ini, section, panel);
        ini.WriteBool(section, "Visible", true);
    }
    WindowPlacement monitor;
    LoadPlacement(ini, "ColMonForm", monitor, 320, 480, main.Top + 200, main.Left + 200);
    SavePlacement(ini, "ColMonForm", monitor);
    ini.WriteBool("ColMonForm", "ViewMonLabel", true);
    const int32_t designed[4][2] = {{0, 11}, {0, 150}, {30, 11}, {30, 300}};
    for (int n = 1; n <= 4; ++n) {
        ToolBarPlacement bar;
        bar.DockTop = designed[n - 1][0];
        bar.DockLeft = designed[n - 1][1];
        const std::string section = "Tool" + std::to_string(n);
        LoadToolBar(ini, section, bar, env.FlatToolBar);
        SaveToolBar(ini, section, bar);
    }
    SaveStatusBar(ini, view.StatusBarVisible);
    SaveShortCuts(ini, LoadShortCuts(ini));
    volume.SetLevel(40000);
    ASSERT_TRUE(env.Save(volume).Ok());

    EXPECT_EQ(ReadBytes(path), WithCrLf(ReadBytes(DataFile("FirstRun.INI"))));
}

}  // namespace
}  // namespace lumavox
