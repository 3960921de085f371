#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "CliRun.h"
#include "cli/CliArgs.h"
#include "cli/DemoShow.h"
#include "cli/PlayReport.h"
#include "model/ProjectData.h"
#include "model/ProjectFile.h"

namespace lumavox::cli {
namespace {

TEST_F(CliTest, RenderReplacesAnEarlierRecordingOnlyWhenItFinishes) {
    const std::string prj = WriteHandProject();
    const std::string raw = (m_dir / "show.dmx").string();
    std::ofstream(raw) << "earlier";
    const std::string args = "render '" + prj + "' --sound-length 2000 --raw '" + raw + "'";
    const RunResult failed = RunCli(args + " >/dev/full", m_dir);
    EXPECT_NE(failed.status, 0);
    std::ifstream earlier(raw);
    EXPECT_TRUE(std::string(std::istreambuf_iterator<char>(earlier), {}) == "earlier");

    const RunResult done = RunCli(args, m_dir);
    ASSERT_EQ(done.status, 0) << done.err;
    const auto rows = static_cast<uintmax_t>(std::count(done.out.begin(), done.out.end(), '\n'));
    EXPECT_EQ(std::filesystem::file_size(raw), (rows - 1) * 512);
    ASSERT_EQ(RunCli(args + " --from 0 --to 0 --raw /dev/null", m_dir).status, 0);  // a device
}

TEST_F(CliTest, RenderGivesTheHandWorkedColoursAndFrames) {
    const std::string prj = WriteHandProject();
    const std::string raw = (m_dir / "show.dmx").string();
    const RunResult r = RunCli("render '" + prj + "' --sound-length 2000 --from -500 --to 1000 " +
                                   "--step 250 --raw '" + raw + "'",
                               m_dir);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "time,line1,line2,line3,line4,line5,line6,line7,line8\n"
              "-500,000000,009B00,000000,000000,000000,000000,000000,000000\n"
              "-250,000000,009B00,000000,000000,000000,000000,000000,000000\n"
              "0,FF0000,009B00,000000,000000,000000,000000,000000,000000\n"
              "250,BF003F,009B00,000000,000000,000000,000000,000000,000000\n"
              "500,7F007F,009B00,000000,000000,000000,000000,000000,000000\n"
              "750,3F00BF,009B00,000000,000000,000000,000000,000000,000000\n"
              "1000,0000FF,009B00,000000,000000,000000,000000,000000,000000\n");
    std::ifstream in(raw, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(bytes.size(), 7u * 512u);
    const auto* frame = reinterpret_cast<const uint8_t*>(bytes.data()) + 3 * 512;  // t = 250
    EXPECT_EQ(frame[0], 191);
    EXPECT_EQ(frame[1], 0);
    EXPECT_EQ(frame[2], 63);
    EXPECT_EQ(frame[4], 155);
    EXPECT_EQ(frame[100], 63);
    EXPECT_EQ(frame[24], 0);
}

TEST_F(CliTest, RenderDefaultsRunOverTheWholeTimeLine) {
    const std::string prj = WriteHandProject();
    const RunResult r = RunCli("render '" + prj + "' --sound-length 2000 --step 1000", m_dir);
    ASSERT_EQ(r.status, 0) << r.err;
    // -1000, 0, 1000, 2000, 3000
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 6);
    EXPECT_NE(r.out.find("\n-1000,"), std::string::npos);
    EXPECT_NE(r.out.find("\n3000,"), std::string::npos);
}

TEST_F(CliTest, InfoPrintsTheProjectAsJson) {
    const std::string prj = WriteHandProject();
    const RunResult r = RunCli("info '" + prj + "'", m_dir);
    ASSERT_EQ(r.status, 0) << r.err;
    const auto json = nlohmann::json::parse(r.out);
    EXPECT_EQ(json["count"], 4);
    EXPECT_EQ(json["prePlayTime"], 1000);
    ASSERT_EQ(json["patch"].size(), 512u);
    EXPECT_EQ(json["patch"][100], 2);
    ASSERT_EQ(json["lines"].size(), 8u);
    EXPECT_EQ(json["lines"][0][1]["colour"], 0xFF0000);
    EXPECT_EQ(json["lines"][0][0]["length"], 1000);
    EXPECT_EQ(json["lines"][1][0]["brightness"], -100);
    EXPECT_TRUE(r.out.find("\"count\"") < r.out.find("\"lines\""));  // contract order kept
}

TEST_F(CliTest, BadInputGivesOneLineErrorsAndNonZeroStatus) {
    const std::string prj = WriteHandProject();
    for (const std::string& args :
         {std::string("info /nonexistent/x.prj"), "render '" + prj + "' --bogus",
          "render '" + prj + "' --step 0", "render '" + prj + "' --from abc",
          "render '" + prj + "' --to", std::string("peaks /nonexistent.wav out.wfm"),
          std::string("wavinfo /nonexistent.wav"), std::string("frobnicate"),
          std::string("demo")}) {
        const RunResult r = RunCli(args, m_dir);
        EXPECT_NE(r.status, 0) << args;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << args << ": " << r.err;
    }
    std::ofstream(m_dir / "garbage.prj") << "not a project";
    EXPECT_EQ(RunCli("info '" + (m_dir / "garbage.prj").string() + "'", m_dir).status, 1);
    EXPECT_EQ(RunCli("peaks /nonexistent.wav out.wfm", m_dir).status, 1);
    EXPECT_EQ(RunCli("render --help", m_dir).status, 0);
}

TEST_F(CliTest, DemoShowLoadsAndDescribesItsSound) {
    const RunResult demo = RunCli("demo '" + (m_dir / "show").string() + "'", m_dir);
    ASSERT_EQ(demo.status, 0) << demo.err;
    const RunResult info = RunCli("info '" + (m_dir / "show" / "demo.prj").string() + "'", m_dir);
    ASSERT_EQ(info.status, 0) << info.err;
    const auto json = nlohmann::json::parse(info.out);
    EXPECT_EQ(json["prePlayTime"], kDemoPrePostMs);
    EXPECT_EQ(json["postPlayTime"], kDemoPrePostMs);
    EXPECT_EQ(json["patch"][23], 23);
    EXPECT_EQ(json["patch"][24], -1);
    EXPECT_GT(json["count"].get<int>(), 8 * 2 * (kDemoSeconds * 1000 / kDemoBeatMs));
    EXPECT_EQ(json["soundFile"], (m_dir / "show" / "demo.wav").string());

    const RunResult wav = RunCli("wavinfo '" + (m_dir / "show" / "demo.wav").string() + "'", m_dir);
    ASSERT_EQ(wav.status, 0) << wav.err;
    const auto wavJson = nlohmann::json::parse(wav.out);
    EXPECT_EQ(wavJson["text"], "44.1kHz 16bit stereo  00:00:24.00");
    EXPECT_EQ(wavJson["lengthMs"], 24000);

    const std::string wfm = (m_dir / "demo.wfm").string();
    const RunResult peaks =
        RunCli("peaks '" + (m_dir / "show" / "demo.wav").string() + "' '" + wfm + "'", m_dir);
    ASSERT_EQ(peaks.status, 0) << peaks.err;
    EXPECT_EQ(peaks.out, "2400\n");
    EXPECT_EQ(std::filesystem::file_size(wfm), 2400u * 16u);
}

// Every drum hit of the demo piece is an onset (the kick on each beat, the hi-hat half-way), and
// the beats fall on the kicks at the demo's tempo.
TEST_F(CliTest, BeatsFindsEveryDrumHitOfTheDemo) {
    ASSERT_EQ(RunCli("demo show", m_dir).status, 0);
    const RunResult onsets = RunCli("beats show/demo.wav --onsets", m_dir);
    ASSERT_EQ(onsets.status, 0) << onsets.err;
    std::vector<int32_t> found;
    std::istringstream lines(onsets.out);
    for (std::string line; std::getline(lines, line);) found.push_back(std::stoi(line));
    const auto near = [](const std::vector<int32_t>& times, int32_t t, int32_t tolerance) {
        return std::any_of(times.begin(), times.end(),
                           [&](int32_t x) { return std::abs(x - t) <= tolerance; });
    };
    for (int32_t hit = 0; hit < kDemoSeconds * 1000; hit += kDemoBeatMs / 2) {
        EXPECT_TRUE(near(found, hit, 10)) << "no onset at the hit at " << hit << " ms";
    }
    EXPECT_EQ(found.size(), static_cast<size_t>(kDemoSeconds * 1000 / (kDemoBeatMs / 2)));
    ASSERT_TRUE(std::filesystem::exists(m_dir / "show" / "demo.wav.beats"));

    const RunResult json = RunCli("beats show/demo.wav --json", m_dir);
    ASSERT_EQ(json.status, 0) << json.err;
    const auto result = nlohmann::json::parse(json.out);
    EXPECT_EQ(result["onsets"].get<std::vector<int32_t>>(), found);
    EXPECT_NEAR(result["tempo"].get<double>(), 60000.0 / kDemoBeatMs, 0.5);
    const auto beats = result["beats"].get<std::vector<int32_t>>();
    EXPECT_GE(beats.size(), static_cast<size_t>(kDemoSeconds * 1000 / kDemoBeatMs * 3 / 4));
    for (const int32_t beat : beats) {
        EXPECT_LE(std::abs(beat - (beat + kDemoBeatMs / 2) / kDemoBeatMs * kDemoBeatMs), 15)
            << "a beat at " << beat << " ms, off the kicks";
    }
}

TEST(CliArgs, ValuesFlagsAndErrors) {
    std::string error;
    const OptionTable table{{"--from", "--raw"}, {"--repeat", "--help"}};
    const auto parsed =
        ParseArgs({"x.prj", "--from", "-200", "--raw=a b", "--repeat"}, table, error);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->positionals, std::vector<std::string>{"x.prj"});
    EXPECT_EQ(*parsed->Value("--from"), "-200");
    EXPECT_EQ(*parsed->Value("--raw"), "a b");
    EXPECT_TRUE(parsed->Has("--repeat"));
    EXPECT_FALSE(ParseArgs({"--from"}, table, error));
    EXPECT_EQ(error, "missing value for --from");
    EXPECT_FALSE(ParseArgs({"--repeat=1"}, table, error));
    EXPECT_EQ(ParseInt32("-2147483648"), INT32_MIN);
    EXPECT_FALSE(ParseInt32("2147483648"));
    EXPECT_FALSE(ParseInt32("12ms"));
    EXPECT_FALSE(ParseInt32(""));
}

}  // namespace
}  // namespace lumavox::cli

namespace lumavox::cli {
namespace {

TEST(PlayEnd, TheShowEndsOnlyWhenThePostRollHasRunOut) {
    EngineState state;
    state.SoundLength.store(3000);
    state.PostPlayTime.store(1000);
    state.CursorTime.store(-1000);
    bool started = false;
    EXPECT_FALSE(EngineShowFinished(state, started));  // nothing has run yet
    state.FreeClockRunning.store(true);                // pre-roll
    EXPECT_FALSE(EngineShowFinished(state, started));
    state.FreeClockRunning.store(false);
    state.SoundMode.Set("playing");
    state.CursorTime.store(1500);
    EXPECT_FALSE(EngineShowFinished(state, started));
    // the natural end, before the tick has started the post-roll
    state.SoundMode.Set("stopped");
    state.CursorTime.store(3000);
    EXPECT_FALSE(EngineShowFinished(state, started));
    state.FreeClockRunning.store(true);
    state.CursorTime.store(3500);
    EXPECT_FALSE(EngineShowFinished(state, started));
    state.FreeClockRunning.store(false);
    state.CursorTime.store(4010);
    EXPECT_TRUE(EngineShowFinished(state, started));

    // without a post-roll the sound's own end is the end
    EngineState noPost;
    noPost.SoundLength.store(3000);
    noPost.PostPlayTime.store(0);
    bool startedToo = false;
    noPost.SoundMode.Set("playing");
    EXPECT_FALSE(EngineShowFinished(noPost, startedToo));
    noPost.SoundMode.Set("stopped");
    noPost.CursorTime.store(3000);
    EXPECT_TRUE(EngineShowFinished(noPost, startedToo));
}

}  // namespace
}  // namespace lumavox::cli
