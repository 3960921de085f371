#include "export/FseqExport.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/Engine.h"
#include "export/FseqTestReader.h"
#include "fakes/TempDir.h"
#include "model/ProjectData.h"

namespace lumavox {
namespace {

using testing::ReadBytes;
using testing::ReadFseq;
using testing::TempDir;

class FseqExport : public ::testing::Test {
protected:
    void SetUp() override {
        // Line 1 fades red to blue over the first second, line 3 holds a dimmed green from -500;
        // channel 101 carries line 1's blue as well.
        Step red, blue, green;
        red.Time = 0;
        red.Length = 1000;
        red.Colour = 0x0000FF;
        blue.Time = 1000;
        blue.Colour = 0xFF0000;
        green.LineIndex = 2;
        green.Time = -500;
        green.Colour = 0x00FF00;
        green.Brightness = -100;
        m_project.Lines[0].Assign({red, blue});
        m_project.Lines[2].Assign({green});
        auto entries = ThroughPatch();
        entries[100] = 2;
        m_patch.Assign(entries);
    }

    std::vector<uint8_t> Expected(int32_t t, uint32_t channels) const {
        std::array<int32_t, kLineCount> colours{};
        DmxFrame frame{};
        RenderFrame(m_project, m_patch, t, colours, frame);
        return {frame.begin(), frame.begin() + channels};
    }

    ProjectData m_project;
    PatchTable m_patch;
    TempDir m_dir;
};

TEST_F(FseqExport, EveryFrameOfBothCompressionsIsTheRenderedFrameAtItsTime) {
    for (const FseqCompression compression : {FseqCompression::None, FseqCompression::Zstd}) {
        for (const auto& [step, channels] : {std::pair{25, 512u}, std::pair{40, 101u}}) {
            SCOPED_TRACE(::testing::Message() << "step " << step << " channels " << channels);
            FseqExportOptions options;
            options.StepMs = step;
            options.ChannelCount = channels;
            options.Compression = compression;
            options.MediaName = "song.mp3";
            options.UniqueId = 7;
            const std::string path = m_dir.File("show.fseq");
            // 1 s of sound and 1 s of post-roll end at 2000: the last frame is exactly there.
            ASSERT_EQ(ExportFseq(m_project, m_patch, 2000, options, path).Status,
                      FseqExportStatus::Done);
            const auto file = ReadFseq(ReadBytes(path));
            ASSERT_EQ(file.Error, "");
            EXPECT_EQ(file.Major, 2);
            EXPECT_EQ(file.Minor, 0);
            EXPECT_EQ(file.StepMs, step);
            EXPECT_EQ(file.Compression, static_cast<uint8_t>(compression));
            EXPECT_EQ(file.UniqueId, 7u);
            EXPECT_EQ(file.Variables.at("mf"), "song.mp3");
            EXPECT_EQ(file.Variables.at("sp").rfind("Lumavox ", 0), 0u);
            ASSERT_EQ(file.FrameCount, static_cast<uint32_t>(2000 / step + 1));
            ASSERT_EQ(file.ChannelsPerFrame, channels);
            for (uint32_t k = 0; k < file.FrameCount; ++k) {
                ASSERT_EQ(file.Frames[k], Expected(static_cast<int32_t>(k) * step, channels))
                    << "frame " << k;
            }
        }
    }
}

TEST_F(FseqExport, CancelledOrRefusedExportLeavesTheTargetAsItWas) {
    const std::string path = m_dir.File("show.fseq");
    testing::WriteBytes(path, "old");
    FseqExportOptions options;
    options.Compression = FseqCompression::Zstd;
    int calls = 0;
    const auto cancel = [&](uint32_t, uint32_t) { return ++calls < 2; };
    EXPECT_EQ(ExportFseq(m_project, m_patch, 60000, options, path, cancel).Status,
              FseqExportStatus::Cancelled);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(ReadBytes(path), "old");
    std::filesystem::remove(path);
    EXPECT_EQ(ExportFseq(m_project, m_patch, 60000, options, path, cancel).Status,
              FseqExportStatus::Cancelled);
    options.StepMs = 9;
    EXPECT_EQ(ExportFseq(m_project, m_patch, 60000, options, path).Status,
              FseqExportStatus::BadOptions);
    // Neither the target nor a temporary file is left behind.
    EXPECT_TRUE(std::filesystem::is_empty(m_dir.Folder()));
}

}  // namespace
}  // namespace lumavox
