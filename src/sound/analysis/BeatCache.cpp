#include "sound/analysis/BeatCache.h"

#include <sys/stat.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <span>
#include <vector>

#include "platform/FileReplace.h"
#include "platform/Paths.h"

namespace lumavox {

namespace {

constexpr std::string_view kMagic = "lumavox-beats 1";

std::string TempoText(double tempo) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", tempo);
    return text;
}

// Splits text into lines; the text must end with a newline.
class LineReader {
public:
    explicit LineReader(std::string_view text) : m_text(text) {}
    std::optional<std::string_view> Next() {
        const size_t end = m_text.find('\n', m_position);
        if (end == std::string_view::npos) return std::nullopt;
        const std::string_view line = m_text.substr(m_position, end - m_position);
        m_position = end + 1;
        return line;
    }
    bool AtEnd() const { return m_position == m_text.size(); }

private:
    std::string_view m_text;
    size_t m_position = 0;
};

// A decimal integer written as std::to_string writes it (no sign but '-', no leading zeros).
template <typename T>
std::optional<T> ParseCanonical(std::string_view text) {
    T value{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (std::to_string(value) != text) return std::nullopt;
    return value;
}

// "name value" with the value's text after the name and one space.
std::optional<std::string_view> Field(std::optional<std::string_view> line, std::string_view name) {
    if (!line || line->size() <= name.size() + 1 || line->substr(0, name.size()) != name ||
        (*line)[name.size()] != ' ') {
        return std::nullopt;
    }
    return line->substr(name.size() + 1);
}

// "name COUNT" then COUNT lines of ascending non-negative times.
bool ParseTimes(LineReader& lines, std::string_view name, std::vector<int32_t>& times) {
    const auto countText = Field(lines.Next(), name);
    if (!countText) return false;
    const auto count = ParseCanonical<uint32_t>(*countText);
    if (!count) return false;
    // each time takes at least two bytes: no count beyond what the file could hold
    if (*count > kMaxBeatCacheBytes / 2) return false;
    times.clear();
    times.reserve(*count);
    for (uint32_t i = 0; i < *count; ++i) {
        const auto line = lines.Next();
        if (!line) return false;
        const auto time = ParseCanonical<int32_t>(*line);
        if (!time || *time < 0 || (!times.empty() && *time <= times.back())) return false;
        times.push_back(*time);
    }
    return true;
}

bool PrintableKey(std::string_view key) {
    if (key.empty()) return false;
    for (const char c : key) {
        if (c < 0x20 || c > 0x7E) return false;
    }
    return true;
}

}  // namespace

std::optional<SoundStamp> StampOf(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    SoundStamp stamp;
    stamp.Size = static_cast<int64_t>(st.st_size);
    stamp.ModifiedNs = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return stamp;
}

std::string BeatCachePath(const std::string& soundPath) {
    return CompletePath(soundPath) + ".beats";
}

std::string FormatBeatCache(const BeatCacheContent& content) {
    std::string text;
    text.reserve(64 + 8 * (content.Analysis.Onsets.size() + content.Analysis.Beats.size()));
    text += kMagic;
    text += "\nsound " + std::to_string(content.Stamp.Size) + " " +
            std::to_string(content.Stamp.ModifiedNs);
    text += "\nsettings " + content.SettingsKey;
    text += "\ntempo " + TempoText(content.Analysis.Tempo);
    text += "\nonsets " + std::to_string(content.Analysis.Onsets.size()) + "\n";
    for (const int32_t t : content.Analysis.Onsets) text += std::to_string(t) + "\n";
    text += "beats " + std::to_string(content.Analysis.Beats.size()) + "\n";
    for (const int32_t t : content.Analysis.Beats) text += std::to_string(t) + "\n";
    text += "end\n";
    return text;
}

std::optional<BeatCacheContent> ParseBeatCache(std::string_view text) {
    if (text.size() > kMaxBeatCacheBytes) return std::nullopt;
    LineReader lines(text);
    if (lines.Next() != kMagic) return std::nullopt;
    BeatCacheContent content;

    const auto sound = Field(lines.Next(), "sound");
    if (!sound) return std::nullopt;
    const size_t space = sound->find(' ');
    if (space == std::string_view::npos) return std::nullopt;
    const auto size = ParseCanonical<int64_t>(sound->substr(0, space));
    const auto modified = ParseCanonical<int64_t>(sound->substr(space + 1));
    if (!size || !modified || *size < 0) return std::nullopt;
    content.Stamp = {*size, *modified};

    const auto key = Field(lines.Next(), "settings");
    if (!key || !PrintableKey(*key)) return std::nullopt;
    content.SettingsKey = std::string(*key);

    const auto tempoText = Field(lines.Next(), "tempo");
    if (!tempoText) return std::nullopt;
    double tempo = 0.0;
    const auto [end, ec] =
        std::from_chars(tempoText->data(), tempoText->data() + tempoText->size(), tempo);
    if (ec != std::errc() || end != tempoText->data() + tempoText->size() ||
        !(tempo >= 0.0 && tempo < 100000.0) || TempoText(tempo) != *tempoText) {
        return std::nullopt;
    }
    content.Analysis.Tempo = tempo;

    if (!ParseTimes(lines, "onsets", content.Analysis.Onsets) ||
        !ParseTimes(lines, "beats", content.Analysis.Beats)) {
        return std::nullopt;
    }
    if (lines.Next() != "end" || !lines.AtEnd()) return std::nullopt;
    return content;
}

std::optional<BeatAnalysis> LoadBeatCache(const std::string& soundPath,
                                          const BeatSettings& settings) {
    const std::optional<SoundStamp> stamp = StampOf(CompletePath(soundPath));
    if (!stamp) return std::nullopt;
    std::string bytes;
    if (ReadRegularFile(BeatCachePath(soundPath), kMaxBeatCacheBytes, bytes) != 0) {
        return std::nullopt;
    }
    std::optional<BeatCacheContent> content = ParseBeatCache(bytes);
    if (!content || content->Stamp != *stamp || content->SettingsKey != BeatSettingsKey(settings)) {
        return std::nullopt;
    }
    return std::move(content->Analysis);
}

int SaveBeatCache(const std::string& soundPath, const SoundStamp& stamp,
                  const BeatSettings& settings, const BeatAnalysis& analysis) {
    // Something else under the cache's name (a FIFO would block the analysing thread until a
    // reader came) is left alone.
    const std::string path = BeatCachePath(soundPath);
    struct stat st {};
    if (stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) return EINVAL;
    const std::string text = FormatBeatCache({stamp, BeatSettingsKey(settings), analysis});
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    return ReplaceFileAtomically(path, std::span<const uint8_t>(bytes, text.size()));
}

int32_t AnalyseSoundCached(const std::string& soundPath, const BeatSettings& settings,
                           BeatAnalysis& result, const AnalysisControl& control, bool* fromCache) {
    if (fromCache != nullptr) *fromCache = false;
    if (std::optional<BeatAnalysis> cached = LoadBeatCache(soundPath, settings)) {
        result = std::move(*cached);
        if (fromCache != nullptr) *fromCache = true;
        if (control.Progress) control.Progress(100);
        return 0;
    }
    const std::optional<SoundStamp> stamp = StampOf(CompletePath(soundPath));
    const int32_t code = AnalyseSound(soundPath, settings, result, control);
    if (code == 0 && stamp) static_cast<void>(SaveBeatCache(soundPath, *stamp, settings, result));
    return code;
}

}  // namespace lumavox
