#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "settings/SaveResult.h"

namespace lumavox {

// An INI-format store of sections and raw "key=value" lines, kept in file order. Used for the
// settings file and for the colour monitor's arrangement files. Reads and writes touch memory only;
// Flush writes the whole file (atomically) when something changed. UI thread only.
//
// Rules: lines end at CR, LF or CR LF; empty lines and lines starting with ';' are dropped; a line
// "[name]" starts a section (a repeated name makes a second section, lookups find the first); lines
// before the first section are dropped. Section names and keys match without regard to ASCII case;
// nothing is trimmed, so "Key = 1" has the key "Key ". The file is written with CR LF line ends.
class UsrIniFile {
public:
    struct Section {
        std::string Name;
        std::vector<std::string> Lines;  // "key=value" exactly as read or written
    };

    // Remembers the path and loads the file; a missing or unreadable file gives an empty store.
    // Why a file that exists could not be read (no permission, an I/O error, too large, not a
    // regular file) is remembered in LoadError.
    explicit UsrIniFile(std::string path);

    // Replaces the contents with the parsed text and clears Dirty.
    void LoadText(std::string_view text);

    // The value, or defaultValue when the section or key is missing or the value is empty. A value
    // of two or more characters enclosed in '"' loses those two quotes.
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;
    // A decimal signed 32-bit value; defaultValue when missing, empty or not such a number.
    int32_t ReadInt(std::string_view section, std::string_view key, int32_t defaultValue) const;
    // Read as an integer; any non-zero value is true.
    bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;

    // Appends a missing section or key at the end; replaces an existing line only when the new
    // line differs, so Dirty is set only by a real change. Line breaks inside the section name,
    // key or value are dropped: they would otherwise split the line when the file is read back.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInt(std::string_view section, std::string_view key, int32_t value);
    void WriteBool(std::string_view section, std::string_view key, bool value);

    // The whole file text: per section "[name]", its lines, an empty line; CR LF after each.
    std::string Text() const;

    // Writes the file when Dirty: a temporary file beside it is written, synced and renamed over
    // the old one, so a failed write leaves the previous file as it was. Dirty stays set on
    // failure. After a load error nothing is written: the result names the reason.
    SaveResult Flush();

    // Empty when the file was loaded or did not exist; otherwise why it could not be read.
    const std::string& LoadError() const { return m_loadError; }

    bool Dirty() const { return m_dirty; }
    const std::string& Path() const { return m_path; }
    const std::vector<Section>& Sections() const { return m_sections; }

private:
    const Section* FindSection(std::string_view name) const;
    Section* FindSection(std::string_view name);

    std::string m_path;
    std::string m_loadError;
    std::vector<Section> m_sections;
    bool m_dirty = false;
};

// True when the two texts are equal ignoring the case of ASCII letters.
bool EqualsNoCase(std::string_view a, std::string_view b);

}  // namespace lumavox
