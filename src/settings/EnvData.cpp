#include "settings/EnvData.h"

#include <algorithm>
#include <cassert>
#include <charconv>
#include <filesystem>
#include <optional>
#include <string_view>
#include <system_error>

#include "platform/Paths.h"

namespace lumavox {

namespace {

// A value outside [low, high] gives def. Used where a hand-edited extreme would do harm: a zero
// period would spin a timer or the output loop, and minutes × 60000 must fit a 32-bit interval.
int32_t InRange(int32_t value, int32_t low, int32_t high, int32_t def) {
    return value < low || value > high ? def : value;
}

uint16_t ClampVolume(int32_t value) {
    return static_cast<uint16_t>(std::clamp<int32_t>(value, 0, 65535));
}

// A file, that is: a folder of the same name does not count.
bool FileExists(const std::string& path) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    return std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

bool IsHexDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    });
}

// A USB identifier as lsusb and udev print it: hexadecimal, bare ("0403", "6001") or with "0x".
// A bare number of five digits or more cannot be one written that way; it is read as decimal,
// as settings files written before ("24577") have it. Nothing for anything else and for values
// above 0xFFFF.
std::optional<int32_t> ParseUsbId(std::string_view text) {
    int base = 16;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        if (!IsHexDigits(text)) return std::nullopt;
    } else if (text.size() > 4 &&
               std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        base = 10;
    } else if (!IsHexDigits(text)) {
        return std::nullopt;
    }
    uint32_t value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (ec != std::errc() || ptr != text.data() + text.size() || value > 0xFFFF) {
        return std::nullopt;
    }
    return static_cast<int32_t>(value);
}

}  // namespace

EnvData::EnvData(std::string iniPath, std::string exeDir)
    : ExeDir(std::move(exeDir)), m_ini(std::move(iniPath)) {
    if (!ExeDir.empty() && ExeDir.back() != '/') ExeDir += '/';
}

int32_t& EnvData::Colour(size_t index) {
    assert(index < kColourCount);
    switch (index) {
        case 0:
            return LwavFg;
        case 1:
            return LwavBg;
        case 2:
            return RwavFg;
        case 3:
            return RwavBg;
        case 4:
            return BlankBg;
        case 5:
            return TLinFg;
        case 6:
            return TLinBg;
        default:
            return CLinBg;
    }
}

int32_t EnvData::Colour(size_t index) const {
    return const_cast<EnvData*>(this)->Colour(index);
}

void EnvData::Create(IWaveVolume& volume) {
    const UsrIniFile& ini = m_ini;
    FlatToolBar = ini.ReadBool("General", "FlatToolBar", false);
    DispTracking = ini.ReadBool("General", "DispTracking", false);
    MonClickTab = ini.ReadBool("General", "MonClickTab", true);
    UseWheel = ini.ReadBool("General", "UseWheel", true);
    CurActivate = ini.ReadBool("General", "CurActivate", true);
    MonScaled = ini.ReadBool("General", "MonScaled", false);
    Language = ini.ReadString("General", "Language", "");
    AutoSave = ini.ReadBool("General", "AutoSave", false);
    SaveInterval = InRange(ini.ReadInt("General", "SaveInterval", 10), 1, 1440, 10);

    PrjFile = ini.ReadString("Project", "PrjFile", "");

    constexpr std::array<int32_t, kColourCount> kDefaultColours = {12632256, 0, 12632256, 0,
                                                                   8388608,  0, 16777215, 0};
    for (size_t i = 0; i < kColourCount; ++i) {
        Colour(i) = ini.ReadInt("Color", kColourKeys[i], kDefaultColours[i]);
    }

    ImgFile = ini.ReadString("Palette", "ImgFile", ExeDir + "PALETTE.BMP");
    LoadPaletteImage(ImgFile);
    // The palette area comes in three sizes; anything else would size it from a hand-edited value.
    DispSize = ini.ReadInt("Palette", "DispSize", 320);
    if (DispSize != 240 && DispSize != 320 && DispSize != 400) DispSize = 320;

    Repeat.store(ini.ReadBool("Play", "Repeat", false), std::memory_order_relaxed);

    StartVolume = volume.GetWaveVolume();
    Volume = ClampVolume(ini.ReadInt("Play", "Volume", 65535));
    volume.SetWaveVolume(static_cast<uint16_t>(Volume));

    ReadHistory();
    PatchCheckChannel.store(-1, std::memory_order_relaxed);
    ReadOptions();
}

void EnvData::ReadHistory() {
    History.clear();
    for (size_t n = 0; n < kSavedHistoryCount; ++n) {
        const std::string path = m_ini.ReadString("PrjHistory", "File" + std::to_string(n), "");
        if (path.empty()) break;
        if (FileExists(path)) History.push_back(path);
    }
}

void EnvData::ReadOptions() {
    DmxInterval = InRange(m_ini.ReadInt("Option", "DmxInterval", 20), 1, 1000, 20);
    DispInterval = InRange(m_ini.ReadInt("Option", "DispInterval", 50), 1, 1000, 50);
    TxUniverse = InRange(m_ini.ReadInt("Option", "TxUniverse", 0), 0, 255, 0);
    DmxType = m_ini.ReadInt("Option", "DmxType", 0);
    BadUsbIdSetting.clear();
    const auto readUsbId = [this](std::string_view key) {
        const std::string text = m_ini.ReadString("Option", key, "");
        if (text.empty()) return 0;
        const std::optional<int32_t> id = ParseUsbId(text);
        if (!id && BadUsbIdSetting.empty()) BadUsbIdSetting = std::string(key) + "=" + text;
        return id.value_or(0);
    };
    UsbVendorId = readUsbId("UsbVendorId");
    UsbProductId = readUsbId("UsbProductId");
    Sacn = ReadSacnSettings(m_ini);
    ArtnetUnicast = m_ini.ReadBool("Output", "ArtnetUnicast", false);
    ArtSync = m_ini.ReadBool("Output", "ArtSync", false);
    EventTimed = m_ini.ReadBool("Output", "EventTimed", false);
    MinFrameGapMs = InRange(m_ini.ReadInt("Output", "MinFrameGapMs", 5), 0, 100, 5);
    const auto offset = [this](std::string_view key) {
        return InRange(m_ini.ReadInt("Output", key, 0), -500, 500, 0);
    };
    UsbLightOffsetMs = offset("UsbLightOffsetMs");
    ArtnetLightOffsetMs = offset("ArtnetLightOffsetMs");
    SacnLightOffsetMs = offset("SacnLightOffsetMs");
}

void EnvData::SaveOptions(int32_t prePlayTimeMs, int32_t postPlayTimeMs) {
    m_ini.WriteInt("Option", "PrePlayTime", prePlayTimeMs / 1000);  // truncates toward zero
    m_ini.WriteInt("Option", "PostPlayTime", postPlayTimeMs / 1000);
    m_ini.WriteInt("Option", "DmxType", DmxType);
    m_ini.WriteInt("Option", "TxUniverse", TxUniverse);
    // A file that never had these keys keeps its text while they stay off.
    const auto writeOutput = [this](std::string_view key, bool value) {
        if (value || !m_ini.ReadString("Output", key, "").empty()) {
            m_ini.WriteBool("Output", key, value);
        }
    };
    writeOutput("ArtnetUnicast", ArtnetUnicast);
    writeOutput("ArtSync", ArtSync);
    writeOutput("EventTimed", EventTimed);
    const auto writeOutputInt = [this](std::string_view key, int32_t value, int32_t def) {
        if (value != def || !m_ini.ReadString("Output", key, "").empty()) {
            m_ini.WriteInt("Output", key, value);
        }
    };
    writeOutputInt("MinFrameGapMs", MinFrameGapMs, 5);
    writeOutputInt("UsbLightOffsetMs", UsbLightOffsetMs, 0);
    writeOutputInt("ArtnetLightOffsetMs", ArtnetLightOffsetMs, 0);
    writeOutputInt("SacnLightOffsetMs", SacnLightOffsetMs, 0);
}

SaveResult EnvData::Save(IWaveVolume& volume) {
    m_ini.WriteBool("General", "FlatToolBar", FlatToolBar);
    m_ini.WriteBool("General", "DispTracking", DispTracking);
    m_ini.WriteBool("General", "MonClickTab", MonClickTab);
    m_ini.WriteBool("General", "UseWheel", UseWheel);
    m_ini.WriteBool("General", "CurActivate", CurActivate);
    if (!Language.empty()) m_ini.WriteString("General", "Language", Language);
    m_ini.WriteBool("General", "MonScaled", MonScaled);
    m_ini.WriteBool("General", "AutoSave", AutoSave);
    m_ini.WriteInt("General", "SaveInterval", SaveInterval);

    m_ini.WriteString("Project", "PrjFile", PrjFile);

    for (size_t i = 0; i < kColourCount; ++i) m_ini.WriteInt("Color", kColourKeys[i], Colour(i));

    m_ini.WriteString("Palette", "ImgFile", ImgFile);
    m_ini.WriteInt("Palette", "DispSize", DispSize);

    m_ini.WriteBool("Play", "Repeat", Repeat.load(std::memory_order_relaxed));
    // A machine without a readable level keeps the stored volume instead of storing silence.
    if (const auto level = volume.GetWaveVolume()) Volume = *level;
    m_ini.WriteInt("Play", "Volume", Volume);

    for (size_t n = 0; n < kSavedHistoryCount; ++n) {
        m_ini.WriteString("PrjHistory", "File" + std::to_string(n),
                          n < History.size() ? History[n] : std::string());
    }
    // After the sections of old, so that a file written for the first time keeps their order.
    WriteSacnSettings(m_ini, Sacn);
    return m_ini.Flush();
}

void EnvData::RestoreStartVolume(IWaveVolume& volume) {
    if (StartVolume) volume.SetWaveVolume(*StartVolume);
}

bool EnvData::LoadPaletteImage(const std::string& path) {
    PaletteImage = RgbImage{};
    const std::string full = CompletePathIn(path, ExeDir);
    if (full.empty()) return false;
    return LoadImageFile(full, PaletteImage);
}

bool EnvData::ChoosePaletteImage(const std::string& fullPath) {
    const auto slash = fullPath.rfind('/');
    const std::string folder =
        slash == std::string::npos ? std::string() : fullPath.substr(0, slash + 1);
    // Linux file names are case-sensitive, so the folder must match exactly to be left out.
    ImgFile = folder == ExeDir ? fullPath.substr(slash + 1) : fullPath;
    return LoadPaletteImage(ImgFile);
}

int EnvData::HistoryIndex(const std::string& path) const {
    for (size_t i = 0; i < History.size(); ++i) {
        // Linux file names are case-sensitive: "h2.PRJ" and "H2.prj" are two files.
        if (History[i] == path) return static_cast<int>(i);
    }
    return -1;
}

void EnvData::PutHistoryFirst(const std::string& path) {
    const int index = HistoryIndex(path);
    if (index >= 0) History.erase(History.begin() + index);
    History.insert(History.begin(), path);
}

}  // namespace lumavox
