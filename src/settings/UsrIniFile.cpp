#include "settings/UsrIniFile.h"

#include <cerrno>
#include <charconv>
#include <system_error>
#include <utility>

#include "model/Translation.h"
#include "platform/FileReplace.h"
#include "settings/AtomicFile.h"

namespace lumavox {

namespace {

// A settings file is a few kilobytes; anything far larger is not one and is not loaded.
constexpr size_t kMaxFileBytes = 16u << 20;

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Line breaks cannot be stored inside a line; they would start a new line (or section) on reload.
std::string WithoutLineBreaks(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c != '\r' && c != '\n') out.push_back(c);
    }
    return out;
}

// The key of a line is its text before the first '='; a line without '=' has no key.
bool LineHasKey(const std::string& line, std::string_view key) {
    const auto eq = line.find('=');
    return eq != std::string::npos && EqualsNoCase(std::string_view(line).substr(0, eq), key);
}

}  // namespace

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    }
    return true;
}

UsrIniFile::UsrIniFile(std::string path) : m_path(std::move(path)) {
    std::string text;
    const int error = ReadRegularFile(m_path, kMaxFileBytes, text);
    if (error == 0) {
        LoadText(text);
    } else if (error != ENOENT) {
        // The file is there but was not read: writing defaults over it would lose the user's
        // settings, so Flush refuses.
        m_loadError = error == EINVAL ? "it is not a regular file"
                      : error == EFBIG
                          ? "it is larger than " + std::to_string(kMaxFileBytes >> 20) + " MB"
                          : std::system_category().message(error);
    }
}

void UsrIniFile::LoadText(std::string_view text) {
    m_sections.clear();
    m_dirty = false;
    // A byte order mark left by an editor would otherwise hide the first section header.
    constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
    if (text.substr(0, kUtf8Bom.size()) == kUtf8Bom) text.remove_prefix(kUtf8Bom.size());
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(pos, end - pos);
        pos = end;
        if (pos < text.size()) {
            // CR LF is one line end; a lone CR or LF is one as well.
            const bool crLf = text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n';
            pos += crLf ? 2u : 1u;
        }
        if (line.empty() || line.front() == ';') continue;
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            m_sections.push_back(Section{std::string(line.substr(1, line.size() - 2)), {}});
        } else if (!m_sections.empty()) {
            m_sections.back().Lines.emplace_back(line);
        }
    }
}

const UsrIniFile::Section* UsrIniFile::FindSection(std::string_view name) const {
    for (const Section& section : m_sections) {
        if (EqualsNoCase(section.Name, name)) return &section;
    }
    return nullptr;
}

UsrIniFile::Section* UsrIniFile::FindSection(std::string_view name) {
    return const_cast<Section*>(std::as_const(*this).FindSection(name));
}

std::string UsrIniFile::ReadString(std::string_view section, std::string_view key,
                                   std::string_view defaultValue) const {
    const Section* found = FindSection(section);
    if (found == nullptr) return std::string(defaultValue);
    for (const std::string& line : found->Lines) {
        if (!LineHasKey(line, key)) continue;
        std::string_view value = std::string_view(line).substr(line.find('=') + 1);
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
            value = value.substr(1, value.size() - 2);
        }
        if (value.empty()) return std::string(defaultValue);
        return std::string(value);
    }
    return std::string(defaultValue);
}

int32_t UsrIniFile::ReadInt(std::string_view section, std::string_view key,
                            int32_t defaultValue) const {
    const std::string text = ReadString(section, key, "");
    if (text.empty()) return defaultValue;
    // An optional sign, then decimal digits only, in the signed 32-bit range.
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (*first == '+') ++first;
    if (first == last || *first == '+' || (*first == '-' && first != text.data())) {
        return defaultValue;
    }
    int32_t value = 0;
    const auto [ptr, ec] = std::from_chars(first, last, value, 10);
    if (ec != std::errc() || ptr != last) return defaultValue;
    return value;
}

bool UsrIniFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
    return ReadInt(section, key, defaultValue ? 1 : 0) != 0;
}

void UsrIniFile::WriteString(std::string_view section, std::string_view key,
                             std::string_view value) {
    const std::string sectionName = WithoutLineBreaks(section);
    const std::string cleanKey = WithoutLineBreaks(key);
    Section* found = FindSection(sectionName);
    if (found == nullptr) {
        m_sections.push_back(Section{sectionName, {}});
        found = &m_sections.back();
    }
    std::string line = cleanKey + "=" + WithoutLineBreaks(value);
    for (std::string& existing : found->Lines) {
        if (!LineHasKey(existing, cleanKey)) continue;
        if (existing != line) {
            existing = std::move(line);
            m_dirty = true;
        }
        return;
    }
    found->Lines.push_back(std::move(line));
    m_dirty = true;
}

void UsrIniFile::WriteInt(std::string_view section, std::string_view key, int32_t value) {
    WriteString(section, key, std::to_string(value));
}

void UsrIniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

std::string UsrIniFile::Text() const {
    std::string text;
    for (const Section& section : m_sections) {
        text += "[" + section.Name + "]\r\n";
        for (const std::string& line : section.Lines) {
            text += line;
            text += "\r\n";
        }
        text += "\r\n";
    }
    return text;
}

SaveResult UsrIniFile::Flush() {
    if (!m_dirty) return {};
    if (!m_loadError.empty()) {
        return SaveResult{
            TranslatedWith(LV_TEXT("Lumavox", "ファイル %1 を作成できません"), m_path),
            "the file could not be read (" + m_loadError +
                "), so it is left as it is rather than replaced by defaults"};
    }
    SaveResult result = WriteFileAtomically(m_path, Text());
    if (result.Ok()) m_dirty = false;
    return result;
}

}  // namespace lumavox
