#pragma once

// Running the built lumavox-cli from tests: the program on files in a temporary folder.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "model/ProjectData.h"
#include "model/ProjectFile.h"

namespace lumavox::cli {

struct RunResult {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs lumavox-cli in dir with the arguments (each quoted for the shell), capturing stdout and
// stderr; env: NAME=value settings for its environment.
inline RunResult RunCli(const std::string& args, const std::filesystem::path& dir,
                        const std::string& env = {}) {
    const std::string errFile = (dir / "stderr.txt").string();
    const std::string command = "cd '" + dir.string() + "' && env " + env + " " + LUMAVOX_CLI_PATH +
                                " " + args + " 2>" + errFile;
    RunResult r;
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return r;
    char buffer[4096];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) r.out.append(buffer, n);
    const int status = pclose(pipe);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream in(errFile);
    std::stringstream ss;
    ss << in.rdbuf();
    r.err = ss.str();
    return r;
}

class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string templ =
            (std::filesystem::temp_directory_path() / "lumavox-cli-XXXXXX").string();
        ASSERT_NE(mkdtemp(templ.data()), nullptr);
        m_dir = templ;
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    // Line 1 fades red at 0 to blue at 1000; line 2 holds green at brightness -100 from -500.
    std::string WriteHandProject() {
        ProjectData project;
        Step red, blue, green;
        red.Time = 0;
        red.Length = 1000;
        red.Colour = 0x0000FF;
        blue.Time = 1000;
        blue.Colour = 0xFF0000;
        green.LineIndex = 1;
        green.Time = -500;
        green.Colour = 0x00FF00;
        green.Brightness = -100;
        project.Lines[0].Assign({red, blue});
        project.Lines[1].Assign({green});
        project.ProjectFileName = (m_dir / "hand.prj").string();
        auto patch = ThroughPatch();
        patch[100] = 2;  // channel 101 carries line 1's blue as well
        EXPECT_TRUE(SaveProjectFile(project, patch, 1000, 1000, false).Ok());
        return project.ProjectFileName;
    }

    std::filesystem::path m_dir;
};

}  // namespace lumavox::cli
