#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/PaletteImage.h"
#include "settings/SacnSettings.h"
#include "settings/SaveResult.h"
#include "settings/UsrIniFile.h"
#include "settings/WaveVolume.h"

namespace lumavox {

// The program's shared settings record and the settings file behind it. One instance, made by the
// program at start; Create reads every value it owns (with its default when missing or malformed),
// Save writes them back and flushes the file once. Windows read and write their own keys through
// Ini() in between. UI thread only, except Repeat and PatchCheckChannel, which the output thread
// reads every tick.
class EnvData {
public:
    static constexpr size_t kColourCount = 8;
    // Keys of section [Color], in the order of the colour fields below.
    static constexpr std::array<std::string_view, kColourCount> kColourKeys = {
        "LwavFg", "LwavBg", "RwavFg", "RwavBg", "BlankBg", "TLinFg", "TLinBg", "CLinBg"};
    static constexpr size_t kSavedHistoryCount = 20;

    // iniPath: the settings file (DefaultSettingsPath() in the program, a temporary path in tests);
    // exeDir: the program folder with a trailing '/', against which relative image paths resolve.
    // The file is loaded here; the values are read by Create.
    EnvData(std::string iniPath, std::string exeDir);
    EnvData(const EnvData&) = delete;
    EnvData& operator=(const EnvData&) = delete;

    UsrIniFile& Ini() { return m_ini; }
    const UsrIniFile& Ini() const { return m_ini; }

    // Reads every key owned here, loads the palette image, remembers the present output level and
    // applies the stored one.
    void Create(IWaveVolume& volume);
    // Writes every key owned here and flushes the settings file (atomically). When the output
    // level cannot be read, the Volume read at start is kept.
    SaveResult Save(IWaveVolume& volume);
    // Section [Option] at close, before everything else: the project's pre- and post-roll in whole
    // seconds, the output interface and the Art-Net universe.
    void SaveOptions(int32_t prePlayTimeMs, int32_t postPlayTimeMs);
    // Puts the output level found at start back (nothing when it could not be read then).
    void RestoreStartVolume(IWaveVolume& volume);

    // Replaces PaletteImage with the image at path (relative paths resolve in ExeDir); true when
    // an image was loaded.
    bool LoadPaletteImage(const std::string& path);
    // The user picked an image file: ImgFile becomes its bare name when it lies in ExeDir, else the
    // full path, and the image is loaded.
    bool ChoosePaletteImage(const std::string& fullPath);

    // Index of the first History entry equal to path (exactly: file names are case-sensitive); -1
    // when absent.
    int HistoryIndex(const std::string& path) const;
    // Moves (or inserts) path to the front of History.
    void PutHistoryFirst(const std::string& path);

    // The colour scheme as an array, index i being kColourKeys[i].
    int32_t& Colour(size_t index);
    int32_t Colour(size_t index) const;

    std::string ExeDir;
    std::string PrjFile;
    int32_t LwavFg = 12632256;
    int32_t LwavBg = 0;
    int32_t RwavFg = 12632256;
    int32_t RwavBg = 0;
    int32_t BlankBg = 8388608;
    int32_t TLinFg = 0;
    int32_t TLinBg = 16777215;
    int32_t CLinBg = 0;
    bool FlatToolBar = false;
    bool DispTracking = false;
    bool MonClickTab = true;
    bool UseWheel = true;
    bool CurActivate = true;
    bool MonScaled = false;
    // [General] Language: "auto", "ja" or "en"; empty when the file has none (then it is not
    // written, and the language follows the locale). Read by the editor at its next start.
    std::string Language;
    // Set by the UI, read by the output thread each tick; a lone flag, so relaxed order suffices.
    std::atomic<bool> Repeat{false};
    std::optional<uint16_t> StartVolume;  // nullopt: the level could not be read at start
    int32_t Volume = 65535;
    // Output fixture being test-lit (channels 3i..3i+2 at full), -1 for none; never stored.
    // Written by the UI, read by the output thread each tick; a lone value, relaxed order suffices.
    std::atomic<int32_t> PatchCheckChannel{-1};
    bool AutoSave = false;
    int32_t SaveInterval = 10;  // minutes
    std::vector<std::string> History;
    RgbImage PaletteImage;
    std::string ImgFile;
    int32_t DispSize = 320;

    // Section [Option]. DmxInterval and DispInterval are read only (the options dialog's choice
    // lasts for the run); DmxType and TxUniverse are written by SaveOptions.
    int32_t DmxInterval = 20;   // ms
    int32_t DispInterval = 50;  // ms
    int32_t TxUniverse = 0;     // Art-Net sub-net × 16 + universe, 0..255
    int32_t DmxType = 0;        // 1 Art-Net, anything else the USB DMX interface
    // The USB DMX interface to open; read only, 0 = the built-in default. Hexadecimal in the
    // file as lsusb prints them ("0403" or "0x0403"; a number of five digits or more is decimal).
    int32_t UsbVendorId = 0;
    int32_t UsbProductId = 0;
    // The first of those two settings that is not an identifier, as "key=value" (its identifier
    // is then 0); empty when both read.
    std::string BadUsbIdSetting;
    // Section [Output], sACN: read with the options, written by Save.
    SacnSettings Sacn;

    // Section [Output], Art-Net delivery: ArtDmx unicast to the nodes that take the universe
    // instead of broadcast, and ArtSync after each frame. Written by SaveOptions once set.
    bool ArtnetUnicast = false;
    bool ArtSync = false;

    // Section [Output], frame timing: the network outputs also send a frame at each step's time,
    // frames at least MinFrameGapMs apart (0..100); each output's frames run its light offset
    // ahead of the play position (-500..500 ms). Written by SaveOptions once set.
    bool EventTimed = false;
    int32_t MinFrameGapMs = 5;
    int32_t UsbLightOffsetMs = 0;
    int32_t ArtnetLightOffsetMs = 0;
    int32_t SacnLightOffsetMs = 0;

private:
    void ReadOptions();
    void ReadHistory();

    UsrIniFile m_ini;
};

}  // namespace lumavox
