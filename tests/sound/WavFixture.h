#pragma once

#include <stdlib.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace lumavox::test {

// Builds WAV files byte by byte for the tests, independently of the reader under test.
struct WavRecipe {
    uint16_t FormatTag = 1;
    uint16_t Channels = 2;
    uint32_t Rate = 44100;
    uint16_t BitsPerSample = 16;
    int BlockAlign = -1;       // -1: channels * bits / 8
    bool Extensible = false;   // 40-byte fmt chunk with tag 0xFFFE and a sub-format GUID
    bool PcmSubFormat = true;  // the GUID names PCM (else IEEE float)
    int SubFormatId = -1;      // >= 0: the GUID's first byte instead (an unknown sub-format)
    uint16_t ExtensibleCbSize = 22;
    bool Fmt18 = false;             // 18-byte fmt chunk (cbSize 0)
    std::string ChunksBeforeFmt;    // raw bytes placed between "WAVE" and "fmt "
    std::string ChunksBeforeData;   // raw bytes placed between "fmt " and "data"
    int64_t DeclaredDataSize = -1;  // -1: the real size
};

inline void PutLe16(std::string& s, uint32_t v) {
    s.push_back(static_cast<char>(v & 0xFF));
    s.push_back(static_cast<char>((v >> 8) & 0xFF));
}

inline void PutLe32(std::string& s, uint32_t v) {
    PutLe16(s, v & 0xFFFF);
    PutLe16(s, v >> 16);
}

// A chunk with its header and pad byte.
inline std::string Chunk(const std::string& id, const std::string& payload) {
    std::string s = id;
    PutLe32(s, static_cast<uint32_t>(payload.size()));
    s += payload;
    if (payload.size() % 2 == 1) s.push_back('\0');
    return s;
}

inline std::string WavBytes(const WavRecipe& recipe, const std::string& data) {
    const uint16_t blockAlign =
        recipe.BlockAlign >= 0 ? static_cast<uint16_t>(recipe.BlockAlign)
                               : static_cast<uint16_t>(recipe.Channels * recipe.BitsPerSample / 8);
    std::string fmt;
    PutLe16(fmt, recipe.Extensible ? 0xFFFE : recipe.FormatTag);
    PutLe16(fmt, recipe.Channels);
    PutLe32(fmt, recipe.Rate);
    PutLe32(fmt, recipe.Rate * blockAlign);
    PutLe16(fmt, blockAlign);
    PutLe16(fmt, recipe.BitsPerSample);
    if (recipe.Extensible) {
        PutLe16(fmt, recipe.ExtensibleCbSize);
        PutLe16(fmt, recipe.BitsPerSample);
        PutLe32(fmt, recipe.Channels == 2 ? 3 : 4);
        const unsigned char pcm[16] = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                                       0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
        std::string guid(reinterpret_cast<const char*>(pcm), 16);
        if (!recipe.PcmSubFormat) guid[0] = 3;
        if (recipe.SubFormatId >= 0) guid[0] = static_cast<char>(recipe.SubFormatId);
        fmt += guid;
    } else if (recipe.Fmt18) {
        PutLe16(fmt, 0);
    }
    std::string body =
        "WAVE" + recipe.ChunksBeforeFmt + Chunk("fmt ", fmt) + recipe.ChunksBeforeData + "data";
    PutLe32(body, recipe.DeclaredDataSize >= 0 ? static_cast<uint32_t>(recipe.DeclaredDataSize)
                                               : static_cast<uint32_t>(data.size()));
    body += data;
    std::string file = "RIFF";
    PutLe32(file, static_cast<uint32_t>(body.size()));
    return file + body;
}

// Interleaved 16-bit samples as little-endian bytes.
inline std::string Pcm16(const std::vector<int16_t>& samples) {
    std::string s;
    s.reserve(samples.size() * 2);
    for (int16_t v : samples) PutLe16(s, static_cast<uint16_t>(v));
    return s;
}

// Interleaved samples of 3 or 4 bytes (the low bytes of each value) as little-endian bytes.
inline std::string PcmWide(const std::vector<int32_t>& samples, int width) {
    std::string s;
    for (int32_t v : samples) {
        for (int i = 0; i < width; ++i) {
            s.push_back(static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF));
        }
    }
    return s;
}

// Interleaved 32-bit float samples as little-endian bytes.
inline std::string PcmFloat(const std::vector<float>& samples) {
    std::string s(samples.size() * 4, '\0');
    std::memcpy(s.data(), samples.data(), s.size());
    return s;
}

inline void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A private temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir() {
        std::string templ =
            (std::filesystem::temp_directory_path() / "lumavox-sound-XXXXXX").string();
        if (mkdtemp(templ.data()) != nullptr) m_path = templ;
    }
    ~TempDir() {
        std::error_code ec;
        if (!m_path.empty()) std::filesystem::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string File(const std::string& name) const { return m_path + "/" + name; }
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

}  // namespace lumavox::test
