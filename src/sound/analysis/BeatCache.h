#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "sound/analysis/BeatAnalysis.h"

namespace lumavox {

// The .beats cache: what AnalyseSound found in a sound, kept beside it ("song.mp3.beats") with
// the sound's size and modification time and the settings key, so that a changed sound or other
// settings make it stale. A small text file (DEVELOPERS.md describes it), replaced atomically;
// a cache that is damaged, stale or from other settings is ignored and written anew. Any thread.

// What the cache records of the sound file, to tell whether it is still the same.
struct SoundStamp {
    int64_t Size = 0;
    int64_t ModifiedNs = 0;  // modification time, nanoseconds since 1970

    friend bool operator==(const SoundStamp&, const SoundStamp&) = default;
};

// The stamp of the file at path (links followed); nullopt when it cannot be read.
std::optional<SoundStamp> StampOf(const std::string& path);

// Where the cache of the sound at soundPath lives: the same path with ".beats" added.
std::string BeatCachePath(const std::string& soundPath);

// The largest cache file read; a longer one is taken as damaged. Eight hours of onsets every
// 20 ms take about 12 MB.
inline constexpr size_t kMaxBeatCacheBytes = 32u << 20;

// A cache file's contents.
struct BeatCacheContent {
    SoundStamp Stamp;
    std::string SettingsKey;  // BeatSettingsKey of the analysis
    BeatAnalysis Analysis;

    friend bool operator==(const BeatCacheContent&, const BeatCacheContent&) = default;
};

// The file's text for content. The settings key must be one line of printable ASCII.
std::string FormatBeatCache(const BeatCacheContent& content);
// Reads a cache file's text; nullopt when it is not exactly what FormatBeatCache writes
// (damaged, cut short, times out of order, counts that disagree).
std::optional<BeatCacheContent> ParseBeatCache(std::string_view text);

// The cached analysis of the sound at soundPath when the cache beside it is intact and was made
// from this very file (same size and modification time) with these settings; nullopt otherwise.
std::optional<BeatAnalysis> LoadBeatCache(const std::string& soundPath,
                                          const BeatSettings& settings);
// Writes the cache of the sound at soundPath, stamped with stamp (taken before the analysis, so
// that a sound changed meanwhile leaves a stale cache). Returns 0 or the errno of the failure;
// EINVAL, writing nothing, when something other than a regular file has the cache's name.
int SaveBeatCache(const std::string& soundPath, const SoundStamp& stamp,
                  const BeatSettings& settings, const BeatAnalysis& analysis);

// The analysis from the cache when it is fresh, else AnalyseSound, whose result is then cached
// (a cache that cannot be written is only a missed saving). fromCache, when not null, tells which.
// Returns what AnalyseSound returns.
int32_t AnalyseSoundCached(const std::string& soundPath, const BeatSettings& settings,
                           BeatAnalysis& result, const AnalysisControl& control = {},
                           bool* fromCache = nullptr);

}  // namespace lumavox
