// lumavox-cli export on the demo show, read back against render --raw.
#include <gtest/gtest.h>

#include "cli/CliRun.h"
#include "export/FseqTestReader.h"
#include "fakes/TempDir.h"

namespace lumavox::cli {
namespace {

using CliExport = CliTest;

TEST_F(CliExport, DemoSequenceEqualsTheRawRenderFrameForFrameInBothCompressions) {
    ASSERT_EQ(RunCli("demo .", m_dir).status, 0);
    const RunResult raw = RunCli("render demo.prj --raw - --from 0 --step 25", m_dir);
    ASSERT_EQ(raw.status, 0) << raw.err;
    for (const std::string compress : {"none", "zstd"}) {
        SCOPED_TRACE(compress);
        const RunResult r = RunCli("export demo.prj out.fseq --compress " + compress, m_dir);
        ASSERT_EQ(r.status, 0) << r.err;
        const auto file = testing::ReadFseq(testing::ReadBytes((m_dir / "out.fseq").string()));
        ASSERT_EQ(file.Error, "");
        EXPECT_EQ(file.Variables.at("mf"), "demo.wav");
        EXPECT_EQ(file.StepMs, 25);
        ASSERT_EQ(file.ChannelsPerFrame, 512u);
        ASSERT_EQ(raw.out.size(), file.FrameCount * 512u);
        for (uint32_t k = 0; k < file.FrameCount; ++k) {
            ASSERT_EQ(std::string(file.Frames[k].begin(), file.Frames[k].end()),
                      raw.out.substr(k * 512, 512))
                << "frame " << k;
        }
    }
}

TEST_F(CliExport, BadOptionsAndInputsAsOutputAreRefusedWithoutWriting) {
    ASSERT_EQ(RunCli("demo .", m_dir).status, 0);
    for (const std::string options :
         {"--step 9", "--step 101", "--step 25ms", "--channels 0", "--channels 513",
          "--compress gzip", "--media sub/song.wav", "--frames 3"}) {
        const RunResult r = RunCli("export demo.prj out.fseq " + options, m_dir);
        EXPECT_EQ(r.status, 2) << options << ": " << r.err;
    }
    EXPECT_EQ(RunCli("export demo.prj", m_dir).status, 2);
    EXPECT_EQ(RunCli("export demo.prj -", m_dir).status, 2);
    const std::string before = testing::ReadBytes((m_dir / "demo.wav").string());
    const RunResult r = RunCli("export demo.prj demo.wav", m_dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("is an input file"), std::string::npos) << r.err;
    EXPECT_EQ(testing::ReadBytes((m_dir / "demo.wav").string()), before);
    EXPECT_FALSE(std::filesystem::exists(m_dir / "out.fseq"));
}

}  // namespace
}  // namespace lumavox::cli
