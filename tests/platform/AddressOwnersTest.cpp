#include "platform/AddressOwners.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace lumavox {
namespace {

constexpr uint32_t kAddress = 0x02A80114;  // 2.168.1.20

class AddressOwnersTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string templ =
            (std::filesystem::temp_directory_path() / "lumavox-owners-XXXXXX").string();
        ASSERT_NE(mkdtemp(templ.data()), nullptr);
        m_folder = templ;
        // Sticky and open to all, as /tmp is.
        ASSERT_EQ(chmod(m_folder.c_str(), 01777), 0);
    }
    void TearDown() override { std::filesystem::remove_all(m_folder); }

    std::string m_folder;
};

TEST_F(AddressOwnersTest, ARecordCountsForItsAddressAndInterfaceWhileItsProcessLives) {
    AddressOwners owners(m_folder);
    EXPECT_FALSE(owners.ClaimedByLiveProcess(kAddress, "eth0"));
    ASSERT_EQ(owners.Claim(kAddress, "eth0"), "");
    EXPECT_TRUE(owners.ClaimedByLiveProcess(kAddress, "eth0"));
    EXPECT_TRUE(AddressOwners(m_folder).ClaimedByLiveProcess(kAddress, "eth0"));
    EXPECT_FALSE(owners.ClaimedByLiveProcess(kAddress + 1, "eth0"));
    EXPECT_FALSE(owners.ClaimedByLiveProcess(kAddress, "eth1"));
    EXPECT_FALSE(owners.ClaimedByLiveProcess(kAddress, "eth"));

    // The same ID with another start time is a process that reused the ID, not the owner.
    const std::string path = owners.RecordPath("eth0");
    const ProcessIdentity self = CurrentProcess();
    ASSERT_GT(self.startTicks, 0u);
    EXPECT_TRUE(ProcessLives(self));
    std::ofstream(path) << self.pid << " " << self.startTicks + 1 << " 2.168.1.20\n";
    EXPECT_FALSE(owners.ClaimedByLiveProcess(kAddress, "eth0"));
    owners.Release("eth0");  // not ours: stays
    EXPECT_TRUE(std::filesystem::exists(path));

    for (const char* foreign :
         {"", "garbage\n", "-5 1 2.168.1.20\n", "1 1 2.168.1.300\n", "4294967297 1 2.168.1.20\n"}) {
        std::ofstream(path) << foreign;
        EXPECT_FALSE(owners.ClaimedByLiveProcess(kAddress, "eth0")) << foreign;
    }

    ASSERT_EQ(owners.Claim(kAddress, "eth0"), "");
    owners.Release("eth0");
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_FALSE(owners.ClaimedByLiveProcess(kAddress, "eth0"));
}

// A copy run by another user (or as root under sudo) writes its own record in the shared folder;
// both see each other's, and a record whose process has ended counts no more.
TEST_F(AddressOwnersTest, AnotherUsersRecordIsSeenUntilItsProcessEnds) {
    int pipes[2][2];
    ASSERT_EQ(pipe(pipes[0]), 0);
    ASSERT_EQ(pipe(pipes[1]), 0);
    AddressOwners owners(m_folder);
    ASSERT_EQ(owners.Claim(kAddress, "eth0"), "");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(1);
        AddressOwners mine(m_folder);
        const char seen = mine.ClaimedByLiveProcess(kAddress, "eth0") ? '1' : '0';
        const char claimed = mine.Claim(kAddress + 1, "eth0").empty() ? '1' : '0';
        const char answer[2] = {seen, claimed};
        (void)!write(pipes[0][1], answer, 2);
        char go = 0;
        (void)!read(pipes[1][0], &go, 1);  // until the parent has looked
        _exit(0);
    }
    char answer[2] = {};
    ASSERT_EQ(read(pipes[0][0], answer, 2), 2);
    EXPECT_EQ(answer[0], '1') << "the child did not see this process's record";
    EXPECT_EQ(answer[1], '1') << "the child could not write its record";
    EXPECT_TRUE(owners.ClaimedByLiveProcess(kAddress + 1, "eth0"));
    EXPECT_TRUE(owners.ClaimedByLiveProcess(kAddress, "eth0"));  // its record left ours alone

    (void)!write(pipes[1][1], "x", 1);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_FALSE(owners.ClaimedByLiveProcess(kAddress + 1, "eth0"));
    for (auto& p : pipes) {
        close(p[0]);
        close(p[1]);
    }
}

}  // namespace
}  // namespace lumavox
