#include <gtest/gtest.h>

#include "cli/CliRun.h"
#include "cli/SacnOptions.h"

namespace lumavox::cli {
namespace {

ParsedArgs Parse(const std::vector<std::string>& args) {
    std::string error;
    const auto parsed = ParseArgs(args,
                                  {{"--output", "--universe", "--priority", "--sacn-unicast",
                                    "--sacn-sync", "--sacn-interface"},
                                   {}},
                                  error);
    EXPECT_TRUE(parsed) << error;
    return parsed.value_or(ParsedArgs{});
}

TEST(SacnOptions, OverrideTheSettingsWithinTheirRanges) {
    SacnSettings sacn;
    std::string error;
    ASSERT_TRUE(ApplySacnOptions(Parse({"--universe", "63999", "--priority=0", "--sacn-sync", "9",
                                        "--sacn-unicast", "10.0.0.5,10.0.0.6"}),
                                 sacn, error))
        << error;
    EXPECT_EQ(sacn.Universe, 63999);
    EXPECT_EQ(sacn.Priority, 0);
    EXPECT_EQ(sacn.Sync, 9);
    EXPECT_EQ(sacn.Unicast, "10.0.0.5,10.0.0.6");

    const std::pair<std::vector<std::string>, std::string> refused[] = {
        {{"--universe", "0"}, "--universe must be 1..63999"},
        {{"--universe", "64000"}, "--universe must be 1..63999"},
        {{"--priority", "201"}, "--priority must be 0..200"},
        {{"--sacn-sync", "x"}, "--sacn-sync must be 0..63999"},
        {{"--sacn-unicast", "10.0.0.5;10.0.0.6"}, "--sacn-unicast must be IPv4 addresses"},
        {{"--sacn-unicast", ""}, "--sacn-unicast must be IPv4 addresses"},
    };
    for (const auto& [args, message] : refused) {
        SacnSettings untouched;
        error.clear();
        EXPECT_FALSE(ApplySacnOptions(Parse(args), untouched, error)) << args[0];
        EXPECT_EQ(error.rfind(message, 0), 0u) << error;
    }
}

TEST_F(CliTest, SacnOptionsNeedTheSacnOutputAndBadValuesAreUsageErrors) {
    const std::string prj = WriteHandProject();
    const std::string env = "XDG_CONFIG_HOME=" + m_dir.string() + " HOME=" + m_dir.string();
    RunResult r = RunCli("play '" + prj + "' --output artnet --priority 50", m_dir, env);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("need --output sacn"), std::string::npos) << r.err;
    r = RunCli("play '" + prj + "' --output sacn --universe 0", m_dir, env);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("--universe must be 1..63999"), std::string::npos) << r.err;
    r = RunCli("play '" + prj + "' --output artnet --universe 300", m_dir, env);
    EXPECT_EQ(r.status, 2);
}

}  // namespace
}  // namespace lumavox::cli
