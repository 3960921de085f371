#include "sound/WavSound.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <random>
#include <thread>

#include "WavFixture.h"
#include "fakes/RecordingSoundReporter.h"
#include "sound/WaveFormat.h"

namespace lumavox {
namespace {

using test::Chunk;
using test::Pcm16;
using test::PcmFloat;
using test::PcmWide;
using test::RecordingSoundReporter;
using test::TempDir;
using test::WavBytes;
using test::WavRecipe;
using test::WriteFile;

constexpr const char* kIllegalFile = "不正なファイルです";
constexpr const char* kNoSupportFrm = "未対応なフォーマットです";

// The peak list as the algorithm defines it, sample by sample: one-second blocks, groups of
// rate/100 sample frames, the incomplete group at the end of each block dropped.
std::vector<PeakFrame> ReferencePeaks(const std::vector<int16_t>& samples, int channels, int rate) {
    std::vector<PeakFrame> out;
    const size_t frameTotal = samples.size() / static_cast<size_t>(channels);
    const size_t group = static_cast<size_t>(rate / 100);
    for (size_t start = 0; start < frameTotal; start += static_cast<size_t>(rate)) {
        const size_t end = std::min(frameTotal, start + static_cast<size_t>(rate));
        PeakFrame p;
        size_t k = 0;
        for (size_t f = start; f < end; ++f) {
            const int left = samples[f * static_cast<size_t>(channels)];
            if (left > 0 && left > p.LeftMax) p.LeftMax = left;
            if (left <= 0 && left < p.LeftMin) p.LeftMin = left;
            if (channels == 2) {
                const int right = samples[f * 2 + 1];
                if (right > 0 && right > p.RightMax) p.RightMax = right;
                if (right <= 0 && right < p.RightMin) p.RightMin = right;
            }
            if (++k == group) {
                out.push_back(p);
                p = PeakFrame{};
                k = 0;
            }
        }
    }
    return out;
}

// Samples in 7-ms stretches of varying character: full range (with both extremes), only
// positive, only negative, silence, so that empty maxima and minima occur inside entries.
std::vector<int16_t> TestSamples(size_t frames, int channels, uint32_t seed) {
    std::mt19937 rng(seed);
    std::vector<int16_t> s(frames * static_cast<size_t>(channels));
    int mode = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        if (i % 300 == 0) mode = static_cast<int>(rng() % 4);
        const int v = static_cast<int>(rng() % 65536) - 32768;
        switch (mode) {
            case 0:
                s[i] = static_cast<int16_t>(v);
                break;
            case 1:
                s[i] = static_cast<int16_t>(1 + (v & 0x3FFF));
                break;
            case 2:
                s[i] = static_cast<int16_t>(-(v & 0x7FFF) - 1);
                break;
            default:
                s[i] = 0;
                break;
        }
    }
    if (s.size() > 4) {
        s[1] = 32767;
        s[3] = -32768;
    }
    return s;
}

std::vector<PeakFrame> ListOf(const WavSound& sound) {
    const TWavFrmList& list = sound.List();
    return std::vector<PeakFrame>(list.Data(), list.Data() + list.Count());
}

struct FormatCase {
    int Rate;
    int Channels;
    double Seconds;
};

void PrintTo(const FormatCase& c, std::ostream* os) {
    *os << c.Rate << " Hz, " << c.Channels << " ch, " << c.Seconds << " s";
}

class PeakScan : public ::testing::TestWithParam<FormatCase> {};

TEST_P(PeakScan, EntriesMatchAnIndependentComputation) {
    const FormatCase c = GetParam();
    TempDir dir;
    const size_t frames = static_cast<size_t>(c.Seconds * c.Rate);
    const std::vector<int16_t> samples =
        TestSamples(frames, c.Channels, 7u * static_cast<uint32_t>(c.Rate));
    WavRecipe recipe;
    recipe.Rate = static_cast<uint32_t>(c.Rate);
    recipe.Channels = static_cast<uint16_t>(c.Channels);
    const std::string path = dir.File("s.wav");
    WriteFile(path, WavBytes(recipe, Pcm16(samples)));

    RecordingSoundReporter reporter;
    WavSound sound(reporter);
    const std::vector<PeakFrame> expected = ReferencePeaks(samples, c.Channels, c.Rate);
    EXPECT_EQ(sound.LoadSound(path), static_cast<int32_t>(expected.size()));
    EXPECT_EQ(ListOf(sound), expected);
    EXPECT_TRUE(reporter.Errors.empty());
    EXPECT_EQ(sound.Channels(), c.Channels);
    EXPECT_EQ(sound.Rate(), c.Rate);
    EXPECT_EQ(sound.BytesPerSample(), 2);
}

INSTANTIATE_TEST_SUITE_P(Formats, PeakScan,
                         ::testing::Values(FormatCase{8000, 1, 2.337}, FormatCase{22050, 2, 1.5},
                                           FormatCase{22050, 1, 2.0}, FormatCase{44100, 2, 3.0049},
                                           FormatCase{48000, 1, 0.004}, FormatCase{96000, 2, 1.25},
                                           FormatCase{150, 1, 3.3}),
                         [](const auto& param) {
                             return std::to_string(param.param.Rate) + "Hz" +
                                    std::to_string(param.param.Channels) + "ch";
                         });

TEST(WavSound, APartialLastSecondYieldsOnlyItsCompleteGroups) {
    TempDir dir;
    const std::string path = dir.File("s.wav");
    // 3 s and 220 frames: the 220 frames do not complete a 441-frame group.
    WriteFile(path, WavBytes({}, Pcm16(std::vector<int16_t>(132520 * 2, 5))));
    RecordingSoundReporter reporter;
    WavSound sound(reporter);
    EXPECT_EQ(sound.LoadSound(path), 300);
    // 3 s and 441 frames complete one more.
    WriteFile(path, WavBytes({}, Pcm16(std::vector<int16_t>(132741 * 2, 5))));
    EXPECT_EQ(sound.LoadSound(path), 301);
}

TEST(WavSound, ConstantMonoSoundGivesOnlyTheMatchingExtreme) {
    TempDir dir;
    const std::string path = dir.File("m.wav");
    WavRecipe mono;
    mono.Channels = 1;
    RecordingSoundReporter reporter;
    WavSound sound(reporter);

    WriteFile(path, WavBytes(mono, Pcm16(std::vector<int16_t>(44100, 1000))));
    ASSERT_EQ(sound.LoadSound(path), 100);
    for (int i = 0; i < 100; ++i) ASSERT_EQ(sound.List()[i], (PeakFrame{1000, 0, 0, 0}));

    WriteFile(path, WavBytes(mono, Pcm16(std::vector<int16_t>(44100, -1000))));
    ASSERT_EQ(sound.LoadSound(path), 100);
    for (int i = 0; i < 100; ++i) ASSERT_EQ(sound.List()[i], (PeakFrame{0, -1000, 0, 0}));
}

TEST(WavSound, HeaderVariantsReadTheSameEntries) {
    TempDir dir;
    const std::vector<int16_t> samples = TestSamples(30000, 2, 11);
    const std::string data = Pcm16(samples);
    const std::vector<PeakFrame> expected = ReferencePeaks(samples, 2, 44100);
    RecordingSoundReporter reporter;
    WavSound sound(reporter);

    WavRecipe list;
    list.ChunksBeforeData = Chunk("LIST", std::string("INFOISFT\x05\0\0\0data\0\0", 18));
    WavRecipe fmt18;
    fmt18.Fmt18 = true;
    WavRecipe extensible;
    extensible.Extensible = true;
    WavRecipe broadcast;  // a "bext" chunk before "fmt ", as field recorders write
    broadcast.ChunksBeforeFmt = Chunk("bext", std::string(603, 'b')) + Chunk("JUNK", "");
    for (const WavRecipe& recipe : {list, fmt18, extensible, broadcast}) {
        const std::string path = dir.File("v.wav");
        WriteFile(path, WavBytes(recipe, data));
        EXPECT_EQ(sound.LoadSound(path), static_cast<int32_t>(expected.size()));
        EXPECT_EQ(ListOf(sound), expected);
    }
    // Upper- and mixed-case extensions are WAV files too.
    WriteFile(dir.File("U.WaV"), WavBytes({}, data));
    EXPECT_EQ(sound.LoadSound(dir.File("U.WaV")), static_cast<int32_t>(expected.size()));
    EXPECT_TRUE(reporter.Errors.empty());
}

// Wider samples made from 16-bit ones (shifted up, or divided by 32768 as float) give the 16-bit
// file's peaks exactly, and so a byte-identical cache that also stands for the wide file.
TEST(WavSound, WiderSamplesGiveTheSamePeaksAndCacheAsTheirSixteenBitOriginal) {
    TempDir dir;
    RecordingSoundReporter reporter;
    WavSound sound(reporter);
    const auto cacheOf = [&](const std::string& name, int channels, const WavRecipe& recipe,
                             const std::string& data) {
        SCOPED_TRACE(name);
        const std::string path = dir.File(name + ".wav");
        const std::string cache = dir.File(name + ".wfm");
        WriteFile(path, WavBytes(recipe, data));
        EXPECT_EQ(sound.LoadSound(path), 123);
        EXPECT_EQ(sound.Channels(), channels);
        EXPECT_TRUE(sound.SavePeakCache(cache));
        EXPECT_EQ(sound.LoadPeakCacheFor(cache, path), 123);  // not taken for a cut-off cache
        std::ifstream in(cache, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };

    for (const int channels : {1, 2}) {
        const std::vector<int16_t> s16 = TestSamples(
            54683, channels, static_cast<uint32_t>(7 + channels));  // 1 s + 23 groups + 440
        std::vector<int32_t> s24;
        std::vector<int32_t> s32;
        std::vector<float> f32;
        for (const int16_t v : s16) {
            s24.push_back(v * 256);
            s32.push_back(v * 65536);
            f32.push_back(static_cast<float>(v) / 32768.0f);
        }
        WavRecipe r16;
        r16.Channels = static_cast<uint16_t>(channels);
        const std::string golden = cacheOf("s16", channels, r16, Pcm16(s16));
        ASSERT_EQ(golden.size(), 123u * 16);
        std::vector<PeakFrame> reference = ReferencePeaks(s16, channels, 44100);
        EXPECT_EQ(std::memcmp(golden.data(), reference.data(), golden.size()), 0);

        WavRecipe ext16 = r16;
        ext16.Extensible = true;
        EXPECT_EQ(cacheOf("ext16", channels, ext16, Pcm16(s16)), golden);
        for (const bool extensible : {false, true}) {
            const std::string tag = std::to_string(channels) + (extensible ? "ext" : "");
            WavRecipe r = r16;
            r.Extensible = extensible;
            r.BitsPerSample = 24;
            EXPECT_EQ(cacheOf("s24_" + tag, channels, r, PcmWide(s24, 3)), golden);
            r.BitsPerSample = 32;
            EXPECT_EQ(cacheOf("s32_" + tag, channels, r, PcmWide(s32, 4)), golden);
            r.FormatTag = kWaveFormatIeeeFloat;
            r.PcmSubFormat = false;
            EXPECT_EQ(cacheOf("f32_" + tag, channels, r, PcmFloat(f32)), golden);
        }
    }
    EXPECT_TRUE(reporter.Errors.empty());
}

TEST(WavSound, ATruncatedDataChunkReadsWhatIsThere) {
    TempDir dir;
    const std::vector<int16_t> samples = TestSamples(44100 + 30000, 2, 3);
    WavRecipe recipe;
    recipe.DeclaredDataSize = 10 * 44100 * 4;
    const std::string path = dir.File("t.wav");
    WriteFile(path, WavBytes(recipe, Pcm16(samples)));
    RecordingSoundReporter reporter;
    WavSound sound(reporter);
    EXPECT_EQ(sound.LoadSound(path), 168);
    EXPECT_EQ(ListOf(sound), ReferencePeaks(samples, 2, 44100));
}

TEST(WavSound, RefusedFilesKeepThePreviousListAndReportTheirText) {
    TempDir dir;
    RecordingSoundReporter reporter;
    WavSound sound(reporter);
    const std::string good = dir.File("good.wav");
    WriteFile(good, WavBytes({}, Pcm16(std::vector<int16_t>(44100 * 2, 9))));
    ASSERT_EQ(sound.LoadSound(good), 100);

    const auto refused = [&](const std::string& name, const std::string& bytes, int32_t code,
                             const std::string& text) {
        SCOPED_TRACE(name);
        const std::string path = dir.File(name);
        WriteFile(path, bytes);
        reporter.Errors.clear();
        EXPECT_EQ(sound.LoadSound(path), code);
        ASSERT_EQ(reporter.Errors.size(), 1u);
        EXPECT_EQ(reporter.Errors[0], text);
        EXPECT_EQ(sound.List().Count(), 100);
    };
    const std::string data = Pcm16({1, 2, 3, 4});
    WavRecipe eightBit;
    eightBit.BitsPerSample = 8;
    refused("8bit.wav", WavBytes(eightBit, data), kSoundNoSupportFrm, kNoSupportFrm);
    WavRecipe adpcm;
    adpcm.FormatTag = 2;
    refused("adpcm.wav", WavBytes(adpcm, data), kSoundNoSupportFrm, kNoSupportFrm);
    WavRecipe unknownExt;
    unknownExt.Extensible = true;
    unknownExt.SubFormatId = 2;
    refused("unknown.wav", WavBytes(unknownExt, data), kSoundNoSupportFrm, kNoSupportFrm);
    WavRecipe rateZero;
    rateZero.Rate = 0;
    refused("rate0.wav", WavBytes(rateZero, data), kSoundIllegalFile, kIllegalFile);
    WavRecipe rateHuge;
    rateHuge.Rate = 4000000000u;
    refused("rateHuge.wav", WavBytes(rateHuge, data), kSoundNoSupportFrm, kNoSupportFrm);
    WavRecipe fourChannels;
    fourChannels.Channels = 4;
    refused("4ch.wav", WavBytes(fourChannels, data), kSoundIllegalFile, kIllegalFile);
    // Wide headers that contradict themselves: a block that does not hold exactly one sample per
    // channel, bits that do not fit the width, float samples that are not 32-bit.
    WavRecipe badAlign;
    badAlign.BitsPerSample = 24;
    badAlign.BlockAlign = 8;
    refused("badAlign.wav", WavBytes(badAlign, data), kSoundNoSupportFrm, kNoSupportFrm);
    WavRecipe bitsZero;
    bitsZero.BitsPerSample = 0;
    bitsZero.BlockAlign = 6;
    refused("bits0.wav", WavBytes(bitsZero, data), kSoundNoSupportFrm, kNoSupportFrm);
    WavRecipe float64;
    float64.FormatTag = kWaveFormatIeeeFloat;
    float64.BitsPerSample = 64;
    refused("float64.wav", WavBytes(float64, data), kSoundNoSupportFrm, kNoSupportFrm);
    std::string noRiff = WavBytes(WavRecipe(), data);
    noRiff.replace(0, 4, "RIFX");
    refused("noRiff.wav", noRiff, kSoundIllegalFile, kIllegalFile);
    std::string noData = WavBytes(WavRecipe(), data);
    noData.replace(36, 4, "dat_");
    refused("noData.wav", noData, kSoundIllegalFile, kIllegalFile);
    refused("empty.wav", "", kSoundIllegalFile, kIllegalFile);
    refused("sound.ogg", "RIFF", kSoundNoSupportFrm, kNoSupportFrm);

    // The format of a refused 8-bit sound is still recorded.
    WriteFile(dir.File("8.wav"), WavBytes(eightBit, std::string(100, '\x80')));
    sound.LoadSound(dir.File("8.wav"));
    EXPECT_EQ(sound.BytesPerSample(), 1);

    reporter.Errors.clear();
    EXPECT_EQ(sound.LoadSound(dir.File("missing.wav")), kSoundFileNotFound);
    EXPECT_EQ(reporter.Errors, std::vector<std::string>{"ファイルが見つかりません"});
    EXPECT_EQ(sound.List().Count(), 100);
}

TEST(WavSound, AFileThatExistsButCannotBeOpenedIsAFailureNotTheOldCount) {
    TempDir dir;
    RecordingSoundReporter reporter;
    WavSound sound(reporter);
    const std::string good = dir.File("good.wav");
    WriteFile(good, WavBytes({}, Pcm16(std::vector<int16_t>(44100 * 2, 9))));
    ASSERT_EQ(sound.LoadSound(good), 100);
    const std::string folder = dir.File("folder.wav");
    std::filesystem::create_directory(folder);
    EXPECT_EQ(sound.LoadSound(folder), kSoundFileNotFound);
    ASSERT_EQ(reporter.Errors.size(), 1u);
    EXPECT_EQ(reporter.Errors[0], "ファイル " + folder + " を開けません");
    EXPECT_EQ(sound.List().Count(), 100);
}

TEST(WavSound, RatesBelowOneHundredHertzCompleteNoEntry) {
    TempDir dir;
    WavRecipe recipe;
    recipe.Rate = 50;
    recipe.Channels = 1;
    const std::string path = dir.File("r50.wav");
    WriteFile(path, WavBytes(recipe, Pcm16(std::vector<int16_t>(500, 100))));
    RecordingSoundReporter reporter;
    WavSound sound(reporter);
    EXPECT_EQ(sound.LoadSound(path), 0);
    EXPECT_TRUE(reporter.Errors.empty());
    EXPECT_EQ(sound.Rate(), 50);
}

TEST(WavSound, ASoundLongerThanTheListTakesIsRefusedBeforeReading) {
    TempDir dir;
    WavRecipe recipe;
    recipe.Rate = 100;  // one entry per sample frame
    recipe.Channels = 1;
    recipe.DeclaredDataSize = (kMaxPeakFrames + 1) * 2;
    const std::string path = dir.File("long.wav");
    WriteFile(path, WavBytes(recipe, ""));
    std::filesystem::resize_file(path, 44 + static_cast<uintmax_t>(recipe.DeclaredDataSize));
    RecordingSoundReporter reporter;
    WavSound sound(reporter);
    EXPECT_EQ(sound.LoadSound(path), kSoundNoSupportFrm);
    EXPECT_EQ(reporter.Errors, std::vector<std::string>{kNoSupportFrm});
    EXPECT_EQ(reporter.Statuses, std::vector<std::string>{""});
}

TEST(WavSound, ProgressCountsWholeSecondsAndEndsCleared) {
    TempDir dir;
    WavRecipe recipe;
    recipe.Rate = 8000;
    recipe.Channels = 1;
    const std::string path = dir.File("p.wav");
    WriteFile(path, WavBytes(recipe, Pcm16(std::vector<int16_t>(8000 * 3 + 4000, 1))));
    RecordingSoundReporter reporter;
    WavSound sound(reporter);
    EXPECT_EQ(sound.LoadSound(path), 350);
    const std::vector<std::string> expected = {"読み込み中... 0%", "読み込み中... 33%",
                                               "読み込み中... 66%", "読み込み中... 100%", ""};
    EXPECT_EQ(reporter.Statuses, expected);
}

TEST(ScanSound, ACancelStopsTheReadBeforeTheNextSecondAndChangesNothing) {
    TempDir dir;
    WavRecipe recipe;
    recipe.Rate = 8000;
    recipe.Channels = 1;
    WriteFile(dir.File("long.wav"), WavBytes(recipe, Pcm16(std::vector<int16_t>(8000 * 5, 7))));
    WriteFile(dir.File("old.wav"), WavBytes(recipe, Pcm16(std::vector<int16_t>(8000, -3))));
    RecordingSoundReporter reporter;
    WavSound sound(reporter);
    ASSERT_EQ(sound.LoadSound(dir.File("old.wav")), 100);

    // The read runs on a worker, which waits at its first progress text until the flag is set
    // from this thread, as when Escape comes while the first second is read.
    std::atomic<bool> cancel{false};
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::string> statuses;
    SoundReadControl control;
    control.Cancel = &cancel;
    control.Status = [&](std::string_view text) {
        std::unique_lock lock(mutex);
        statuses.emplace_back(text);
        changed.notify_all();
        changed.wait_for(lock, std::chrono::seconds(10), [&] { return cancel.load(); });
    };
    SoundScan scan;
    std::thread worker([&] { scan = ScanSound(dir.File("long.wav"), control); });
    {
        std::unique_lock lock(mutex);
        // Not an ASSERT: the worker must be released whatever happens.
        EXPECT_TRUE(
            changed.wait_for(lock, std::chrono::seconds(10), [&] { return !statuses.empty(); }));
        cancel.store(true);
        changed.notify_all();
    }
    worker.join();
    EXPECT_TRUE(scan.Cancelled);
    EXPECT_EQ(statuses, (std::vector<std::string>{"読み込み中... 0%", ""}));
    EXPECT_EQ(sound.TakeScan(std::move(scan)), 100);
    EXPECT_EQ(sound.List()[0], (PeakFrame{0, -3, 0, 0}));
    EXPECT_TRUE(reporter.Errors.empty());
}

TEST(PeakCache, SaveAndLoadRoundTripThroughLittleEndianRecords) {
    TempDir dir;
    const std::vector<int16_t> samples = TestSamples(8820, 2, 5);
    WriteFile(dir.File("s.wav"), WavBytes({}, Pcm16(samples)));
    RecordingSoundReporter reporter;
    WavSound sound(reporter);
    ASSERT_EQ(sound.LoadSound(dir.File("s.wav")), 20);
    const std::vector<PeakFrame> saved = ListOf(sound);

    const std::string cache = dir.File("p.wfm");
    WriteFile(cache, "an older cache, replaced whole");
    ASSERT_TRUE(sound.SavePeakCache(cache));
    EXPECT_EQ(std::filesystem::file_size(cache), 20u * 16u);
    // Nothing but the cache is left beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              2);

    std::string bytes(320, '\0');
    std::FILE* f = std::fopen(cache.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(std::fread(bytes.data(), 1, bytes.size(), f), bytes.size());
    std::fclose(f);
    const auto le32 = [&](size_t at) {
        return static_cast<int32_t>(
            static_cast<uint32_t>(static_cast<unsigned char>(bytes[at])) |
            static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8 |
            static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + 2])) << 16 |
            static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + 3])) << 24);
    };
    EXPECT_EQ(le32(16 * 3 + 0), saved[3].LeftMax);
    EXPECT_EQ(le32(16 * 3 + 4), saved[3].LeftMin);
    EXPECT_EQ(le32(16 * 3 + 8), saved[3].RightMax);
    EXPECT_EQ(le32(16 * 3 + 12), saved[3].RightMin);

    sound.Clear();
    EXPECT_EQ(sound.List().Count(), 0);
    EXPECT_EQ(sound.LoadPeakCache(cache), 20);
    EXPECT_EQ(ListOf(sound), saved);
    EXPECT_TRUE(reporter.Errors.empty());
}

TEST(PeakCache, EmptyListsPartialRecordsAndMissingFiles) {
    TempDir dir;
    RecordingSoundReporter reporter;
    WavSound sound(reporter);
    EXPECT_FALSE(sound.SavePeakCache(dir.File("empty.wfm")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("empty.wfm")));

    WriteFile(dir.File("40.wfm"), std::string(40, '\x01'));
    EXPECT_EQ(sound.LoadPeakCache(dir.File("40.wfm")), 2);
    EXPECT_EQ(sound.List()[1].RightMin, 0x01010101);

    EXPECT_EQ(sound.LoadPeakCache(dir.File("missing.wfm")), 0);
    EXPECT_EQ(sound.List().Count(), 0);
    EXPECT_EQ(sound.LoadPeakCache(dir.Path()), 0);
    EXPECT_TRUE(reporter.Errors.empty());
}

TEST(PeakCache, AnEmptyOrCutOffCacheDoesNotStandForItsSound) {
    TempDir dir;
    RecordingSoundReporter reporter;
    WavSound sound(reporter);
    // 2 s and 300 sample frames at 22050 Hz: 200 entries and one from the partial second.
    WavRecipe recipe;
    recipe.Rate = 22050;
    WriteFile(dir.File("s.wav"), WavBytes(recipe, Pcm16(TestSamples(22050 * 2 + 300, 2, 9))));
    ASSERT_EQ(sound.LoadSound(dir.File("s.wav")), 201);
    EXPECT_EQ(MinimumPeakFrames(dir.File("s.wav")), std::optional<int64_t>(201));
    const std::string cache = dir.File("s.wfm");
    const auto loadWith = [&](size_t entries, const std::string& soundPath) {
        WriteFile(cache, std::string(entries * sizeof(PeakFrame), '\x01'));
        const int32_t count = sound.LoadPeakCacheFor(cache, soundPath);
        EXPECT_EQ(count, sound.List().Count());
        // Deciding ahead from the file's size must agree with loading it.
        EXPECT_EQ(PeakCacheCovers(cache, soundPath), count > 0) << entries << " " << soundPath;
        return count;
    };
    EXPECT_EQ(loadWith(201, dir.File("s.wav")), 201);
    EXPECT_EQ(loadWith(250, dir.File("s.wav")), 250);  // longer is not short
    EXPECT_EQ(loadWith(200, dir.File("s.wav")), 0);
    EXPECT_EQ(loadWith(3, dir.File("s.wav")), 0);
    EXPECT_EQ(loadWith(0, dir.File("s.wav")), 0);

    // A sound that cannot tell its length: any cache but an empty one is taken.
    EXPECT_EQ(MinimumPeakFrames(dir.File("missing.wav")), std::nullopt);
    WriteFile(dir.File("bad.wav"), "RIFF, but nothing after it");
    EXPECT_EQ(MinimumPeakFrames(dir.File("bad.wav")), std::nullopt);
    EXPECT_EQ(loadWith(3, dir.File("missing.wav")), 3);
    EXPECT_EQ(loadWith(3, dir.File("bad.wav")), 3);
    EXPECT_EQ(loadWith(0, dir.File("missing.wav")), 0);
    EXPECT_TRUE(reporter.Errors.empty());
}

TEST(PeakCache, AFailedSaveIsReportedAndLeavesNothingBehind) {
    TempDir dir;
    RecordingSoundReporter reporter;
    WavSound sound(reporter);
    WriteFile(dir.File("40.wfm"), std::string(40, '\x01'));
    ASSERT_EQ(sound.LoadPeakCache(dir.File("40.wfm")), 2);
    const std::string target = dir.File("no/such/folder/p.wfm");
    EXPECT_FALSE(sound.SavePeakCache(target));
    EXPECT_EQ(reporter.Errors,
              std::vector<std::string>{"ファイル " + target + " を作成できません"});
    // A target that is a folder: the temporary file is written, the rename fails and is undone.
    reporter.Errors.clear();
    std::filesystem::create_directory(dir.File("taken.wfm"));
    EXPECT_FALSE(sound.SavePeakCache(dir.File("taken.wfm")));
    EXPECT_EQ(reporter.Errors.size(), 1u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              2);
}

TEST(ReadWaveInfo, ReportsFormatAndLengthOfEightAndSixteenBitFiles) {
    TempDir dir;
    RecordingSoundReporter reporter;
    WavSound sound(reporter);
    WaveInfo info;

    WriteFile(dir.File("s.wav"), WavBytes({}, Pcm16(std::vector<int16_t>(132520 * 2, 0))));
    ASSERT_TRUE(sound.ReadWaveInfo(dir.File("s.wav"), &info));
    EXPECT_EQ(info.Channels, 2);
    EXPECT_EQ(info.Rate, 44100);
    EXPECT_EQ(info.BytesPerSample, 2);
    EXPECT_EQ(info.BitsPerSample, 16);
    EXPECT_EQ(info.LengthMs, 3004);  // 132520 / 44.1

    WavRecipe eightBit;
    eightBit.BitsPerSample = 8;
    eightBit.Channels = 1;
    eightBit.Rate = 22050;
    WriteFile(dir.File("8.WAV"), WavBytes(eightBit, std::string(22050 / 2, '\x80')));
    ASSERT_TRUE(sound.ReadWaveInfo(dir.File("8.WAV"), &info));
    EXPECT_EQ(info.BitsPerSample, 8);
    EXPECT_EQ(info.LengthMs, 500);
    EXPECT_TRUE(sound.ReadWaveInfo(dir.File("8.WAV"), nullptr));

    // 2.2 million one-hertz frames are longer than 2^31 ms: the length saturates.
    eightBit.Rate = 1;
    WriteFile(dir.File("slow.wav"), WavBytes(eightBit, std::string(2200000, '\x80')));
    ASSERT_TRUE(sound.ReadWaveInfo(dir.File("slow.wav"), &info));
    EXPECT_EQ(info.LengthMs, 2147483647);
    EXPECT_TRUE(reporter.Errors.empty());
}

TEST(ReadWaveInfo, RefusalsShowTheirMessage) {
    TempDir dir;
    RecordingSoundReporter reporter;
    WavSound sound(reporter);
    WaveInfo info;
    EXPECT_FALSE(sound.ReadWaveInfo(dir.File("a.mp3"), &info));
    EXPECT_FALSE(sound.ReadWaveInfo(dir.File("missing.wav"), &info));
    WavRecipe rateZero;
    rateZero.Rate = 0;
    WriteFile(dir.File("r0.wav"), WavBytes(rateZero, Pcm16({1, 2})));
    EXPECT_FALSE(sound.ReadWaveInfo(dir.File("r0.wav"), &info));
    WavRecipe twentyFour;
    twentyFour.BitsPerSample = 24;
    twentyFour.BlockAlign = 8;
    WriteFile(dir.File("24.wav"), WavBytes(twentyFour, std::string(12, '\0')));
    EXPECT_FALSE(sound.ReadWaveInfo(dir.File("24.wav"), &info));
    WavRecipe adpcm;
    adpcm.FormatTag = 2;
    WriteFile(dir.File("adpcm.wav"), WavBytes(adpcm, Pcm16({1, 2})));
    EXPECT_FALSE(sound.ReadWaveInfo(dir.File("adpcm.wav"), &info));
    const std::vector<std::string> expected = {kNoSupportFrm, kIllegalFile, kIllegalFile,
                                               kNoSupportFrm};
    EXPECT_EQ(reporter.Errors, expected);
}

}  // namespace
}  // namespace lumavox
