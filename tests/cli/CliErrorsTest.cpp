// lumavox-cli as a Linux command: exit statuses, outputs that must not overwrite inputs, one-line
// English errors with the file and the reason, the sound found beside a moved show.
#include <signal.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <chrono>
#include <thread>

#include "CliRun.h"
#include "cli/CliOutput.h"
#include "cli/DemoShow.h"
#include "cli/PlayReport.h"
#include "fakes/FakeWaveVolume.h"
#include "model/SoundLocation.h"
#include "settings/EnvData.h"

namespace lumavox::cli {
namespace {

namespace fs = std::filesystem;

std::string Quote(const fs::path& path) {
    std::string quoted(1, '\'');
    quoted += path.string();
    quoted += '\'';
    return quoted;
}

std::string FileText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// A 24-bit stereo PCM WAV file of one second of silence, declaring the given bits per sample.
void WriteWav24(const fs::path& path, uint32_t bits) {
    std::string b = "RIFF";
    auto le = [&](uint32_t v, int n) {
        for (int i = 0; i < n; ++i) b.push_back(static_cast<char>(v >> (8 * i)));
    };
    le(36 + 44100 * 6, 4);
    b += "WAVEfmt ";
    le(16, 4), le(1, 2), le(2, 2), le(44100, 4), le(44100 * 6, 4), le(6, 2), le(bits, 2);
    b += "data";
    le(44100 * 6, 4);
    b.append(44100 * 6, '\0');
    std::ofstream(path, std::ios::binary) << b;
}

TEST_F(CliTest, BadInputsGiveOneEnglishLineNamingTheFileAndTheStatusOfItsKind) {
    const std::string prj = WriteHandProject();
    const fs::path wav = m_dir / "s16.wav";
    ASSERT_TRUE(WriteDemoWav(wav.string(), 1));
    WriteWav24(m_dir / "s24.wav", 0);
    ASSERT_EQ(mkfifo((m_dir / "fifo.wav").c_str(), 0600), 0);
    fs::create_directory(m_dir / "folder.wav");
    fs::create_symlink(prj, m_dir / "link.prj");
    const std::string wavBefore = FileText(wav);
    const std::string prjBefore = FileText(prj);
    const std::string p = Quote(prj);
    const std::string d = m_dir.string() + "/";

    struct Case {
        std::string args;
        int status;
        std::string error;  // a part of the one stderr line
    };
    const Case cases[] = {
        {"info /nonexistent/x.prj", 1, "/nonexistent/x.prj: not found (No such file or directory)"},
        {"info " + p + " >/dev/full", 1, "standard output: write error (No space left on device)"},
        {"render " + p + " --step 500 >/dev/full", 1, "write error (No space left on device)"},
        {"wavinfo " + Quote(wav) + " >/dev/full", 1, "write error"},
        {"peaks " + Quote(wav) + " - >/dev/full", 1, "write error"},
        {"demo " + Quote(m_dir / "d") + " >/dev/full", 1, "write error"},
        {"render " + p + " --raw /dev/full --sound-length 0", 1, "/dev/full: write error"},
        {"peaks " + Quote(wav) + " " + Quote(wav), 1, "s16.wav: is the input file"},
        {"render " + p + " --raw " + p, 1, "hand.prj: is an input file"},
        {"render " + p + " --raw " + Quote(m_dir / "link.prj"), 1, "link.prj: is an input file"},
        {"render " + p + " --sound " + Quote(wav) + " --raw " + Quote(wav), 1, "is an input"},
        {"wavinfo " + Quote(m_dir / "folder.wav"), 1, "folder.wav: is a directory"},
        {"wavinfo " + Quote(m_dir / "fifo.wav"), 1, "fifo.wav: not a regular file"},
        {"wavinfo " + Quote(m_dir / "s24.wav"), 1,
         d + "s24.wav: unsupported WAV format (24-bit integer samples declared as 0 bits with "
             "block align 6)"},
        {"peaks " + Quote(m_dir / "s24.wav") + " x.wfm", 3, "unsupported WAV format (24-bit"},
        {"peaks " + p + " x.wfm", 3, "hand.prj: unsupported sound type"},
        {"beats " + Quote(m_dir / "s24.wav"), 3, "unsupported WAV format (24-bit"},
        {"beats " + p, 3, "hand.prj: unsupported sound type"},
        {"beats /nonexistent.mp3", 1, "/nonexistent.mp3: not found"},
        {"beats " + Quote(wav) + " --onsets --beats", 2, "exclude each other"},
        {"beats " + Quote(wav) + " --sensitivity 101", 2, "--sensitivity must be 1..100"},
        {"render " + p + " --sound /nonexistent.wav", 1, "/nonexistent.wav: not found"},
        {"render " + p + " --bogus", 2, "unknown option --bogus (see --help)"},
        {"render " + p + " --step 0", 2, "--step must be at least 1"},
        {"render " + p + " --to", 2, "missing value for --to (see --help)"},
        {"demo " + Quote(m_dir / std::string(300, 'n')), 1,
         "cannot create the folder (File name too long)"},
        {"play " + p + " --output dmx", 2, "--output must be artnet, sacn, usb or none"},
        {"play " + p + " --quiet --progress", 2, "exclude each other"},
        {"play " + p + " --output none --artsync", 2, "need the Art-Net output"},
        {"play " + p + " --output usb --event-timed", 2, "needs the Art-Net or sACN output"},
        {"play " + p + " --light-offset 501", 2, "--light-offset must be -500..500 ms"},
        {"calibrate --output none", 2, "calibrate takes a DIR first"},
        {"calibrate " + Quote(m_dir / "cal") + " --seconds 1", 2, "--seconds must be 2..3600"},
        {"demo", 2, "demo takes one DIR"},
        {"help frobnicate", 2, "help takes one COMMAND"},
        {"frobnicate", 2, "unknown command 'frobnicate'"},
    };
    for (const Case& c : cases) {
        const RunResult r = RunCli(c.args, m_dir);
        EXPECT_EQ(r.status, c.status) << c.args << ": " << r.err;
        EXPECT_EQ(r.err, "lumavox-cli: " + r.err.substr(13)) << c.args;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << c.args << ": " << r.err;
        EXPECT_NE(r.err.find(c.error), std::string::npos) << c.args << ": " << r.err;
        EXPECT_TRUE(std::all_of(r.err.begin(), r.err.end(), [](char ch) { return ch > 0; }))
            << c.args << ": not plain English: " << r.err;
    }
    EXPECT_EQ(FileText(wav), wavBefore);
    EXPECT_EQ(FileText(prj), prjBefore);

    // play, with its lock in the test's folder and no sound server (it warns of that first)
    std::ofstream(m_dir / "bad.wav", std::ios::binary) << std::string("RIFF\4\0\0\0WAVE", 12);
    const RunResult unplayable =
        RunCli("play " + p + " --output none --sound bad.wav", m_dir,
               "XDG_RUNTIME_DIR=" + Quote(m_dir) + " PULSE_SERVER=unix:/nonexistent");
    EXPECT_EQ(unplayable.status, 1);
    EXPECT_NE(unplayable.err.find("bad.wav: cannot play this sound (not a valid sound file)"),
              std::string::npos)
        << unplayable.err;
}

TEST_F(CliTest, MovedShowFindsItsSoundBesideTheProjectAndSaysWhenItCannot) {
    ASSERT_EQ(RunCli("demo " + Quote(m_dir / "old"), m_dir).status, 0);
    fs::rename(m_dir / "old", m_dir / "new");
    const std::string prj = Quote(m_dir / "new" / "demo.prj");
    const auto rows = [](const RunResult& r) {
        return std::count(r.out.begin(), r.out.end(), '\n');
    };
    // -2000 .. 24000 + 2000 in steps of 1000, and the heading
    const RunResult moved = RunCli("render " + prj + " --step 1000", m_dir);
    EXPECT_EQ(moved.status, 0);
    EXPECT_EQ(rows(moved), 30);
    EXPECT_NE(moved.err.find("using " + (m_dir / "new" / "demo.wav").string()), std::string::npos);
    const std::string projectBefore = FileText(m_dir / "new" / "demo.prj");

    fs::rename(m_dir / "new" / "demo.wav", m_dir / "short.wav");
    const RunResult missing = RunCli("render " + prj + " --step 1000", m_dir);
    EXPECT_EQ(missing.status, 0);
    EXPECT_EQ(rows(missing), 6);  // -2000 .. 0 + 2000
    EXPECT_NE(missing.err.find("sound file not found: " + (m_dir / "old" / "demo.wav").string() +
                               " nor " + (m_dir / "new" / "demo.wav").string()),
              std::string::npos)
        << missing.err;

    const RunResult given =
        RunCli("render " + prj + " --step 1000 --sound " + Quote(m_dir / "short.wav"), m_dir);
    EXPECT_EQ(given.status, 0) << given.err;
    EXPECT_EQ(rows(given), 30);
    EXPECT_EQ(given.err, "");
    EXPECT_EQ(FileText(m_dir / "new" / "demo.prj"), projectBefore);  // the project is not changed
}

TEST(SoundLocation, StoredPathFirstThenTheNameInTheProjectFolder) {
    const fs::path dir = fs::temp_directory_path() / ("lumavox-locate-" + std::to_string(getpid()));
    fs::create_directories(dir / "show");
    std::ofstream(dir / "show" / "a.wav") << "x";
    std::ofstream(dir / "b.wav") << "x";
    const std::string prj = (dir / "show" / "x.prj").string();

    const SoundLocation windows = LocateSoundFile(prj, "C:\\shows\\a.wav", "/prog/");
    EXPECT_EQ(windows.Path, (dir / "show" / "a.wav").string());
    EXPECT_EQ(windows.Tried.size(), 2u);
    EXPECT_EQ(LocateSoundFile(prj, (dir / "b.wav").string()).Tried.size(), 1u);  // found at once
    const SoundLocation none = LocateSoundFile(prj, "/gone/c.wav");
    EXPECT_FALSE(none.Found());
    EXPECT_EQ(none.Tried, (std::vector<std::string>{"/gone/c.wav", (dir / "show/c.wav").string()}));
    EXPECT_FALSE(LocateSoundFile(prj, "/gone/").Found());  // a folder name is no file name
    EXPECT_TRUE(LocateSoundFile(prj, "").Tried.empty());
    fs::remove_all(dir);
}

TEST_F(CliTest, ControlBytesFromFilesNeverReachTheTerminal) {
    ProjectData project;
    ASSERT_TRUE(SetHeaderSoundFile(project.Header, "/gone/\x1b]0;owned\x07\x1b[2J.wav"));
    project.ProjectFileName = (m_dir / "evil.prj").string();
    ASSERT_TRUE(SaveProjectFile(project, ThroughPatch(), 0, 0, false).Ok());
    const RunResult r = RunCli("render " + Quote(m_dir / "evil.prj") + " --step 1000", m_dir);
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.err.find("/gone/\\x1B]0;owned\\x07\\x1B[2J.wav"), std::string::npos) << r.err;

    EXPECT_EQ(EscapeText("caf\xC3\xA9 \xE6\x97\xA5 ok"), "caf\xC3\xA9 \xE6\x97\xA5 ok");
    EXPECT_EQ(EscapeText("\xC2\x9B"
                         "31m"),
              "\\xC2\\x9B31m");                                // C1 CSI in UTF-8
    EXPECT_EQ(EscapeText("\xFF\xC3"), "\\xFF\\xC3");           // not UTF-8, cut sequence
    EXPECT_EQ(EscapeText("\xED\xA0\x80"), "\\xED\\xA0\\x80");  // a surrogate
    EXPECT_EQ(EscapeText("a\x7F\tb"), "a\\x7F\\x09b");
}

TEST_F(CliTest, PathsKeepDotDotForTheKernelAndDashesAfterTheEndOfOptions) {
    const std::string prj = WriteHandProject();
    fs::create_directories(m_dir / "real" / "sub");
    fs::create_symlink(m_dir / "real" / "sub", m_dir / "lnk");
    fs::copy_file(prj, m_dir / "real" / "show.prj");
    // lnk/.. is real/, not m_dir
    EXPECT_EQ(RunCli("info " + Quote(m_dir / "lnk" / ".." / "show.prj"), m_dir).status, 0);

    fs::copy_file(prj, m_dir / "-odd.prj");
    EXPECT_EQ(RunCli("info -- -odd.prj", m_dir).status, 0);  // relative to the working folder
    const RunResult raw =
        RunCli("render " + Quote(prj) + " --sound-length 0 --from 0 --to 0 --raw -", m_dir);
    EXPECT_EQ(raw.status, 0);
    ASSERT_EQ(raw.out.size(), 512u);                    // the frame instead of the CSV
    EXPECT_EQ(static_cast<uint8_t>(raw.out[0]), 0xFF);  // line 1 red at 0: channel 1 is byte 0
    EXPECT_EQ(static_cast<uint8_t>(raw.out[2]), 0);

    EXPECT_EQ(RunCli("help render", m_dir).out, RunCli("render --help", m_dir).out);
    EXPECT_EQ(RunCli("--version", m_dir).out.rfind("lumavox-cli ", 0), 0u);
}

TEST_F(CliTest, DemoRefusesATooLongFolderBeforeWritingAnything) {
    fs::path deep = m_dir;
    for (int i = 0; i < 3; ++i) deep /= std::string(90, 'a' + static_cast<char>(i));
    const RunResult r = RunCli("demo " + Quote(deep), m_dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("path too long"), std::string::npos) << r.err;
    EXPECT_TRUE(fs::is_empty(deep));
}

TEST_F(CliTest, InterruptedMp3PeaksLeaveNoDecodedFileBehind) {
    if (std::system("command -v lame >/dev/null 2>&1") != 0) GTEST_SKIP() << "lame is missing";
    ASSERT_TRUE(WriteDemoWav((m_dir / "one.wav").string(), 1));
    ASSERT_EQ(
        std::system(
            ("lame --quiet " + Quote(m_dir / "one.wav") + " " + Quote(m_dir / "one.mp3")).c_str()),
        0);
    // MP3 streams concatenate: twenty minutes to decode, long enough to be interrupted
    const std::string one = FileText(m_dir / "one.mp3");
    {
        std::ofstream out(m_dir / "long.mp3", std::ios::binary);
        for (int i = 0; i < 1200; ++i) out << one;
    }
    const fs::path tmp = m_dir / "tmp";
    fs::create_directory(tmp);
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        setenv("TMPDIR", tmp.c_str(), 1);
        execl(LUMAVOX_CLI_PATH, "lumavox-cli", "peaks", (m_dir / "long.mp3").c_str(),
              (m_dir / "long.wfm").c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    // wait (bounded) until the decoded file is being written
    bool decoding = false;
    for (int i = 0; i < 1000 && !decoding; ++i) {
        for (const auto& e : fs::recursive_directory_iterator(tmp)) {
            decoding = decoding || e.path().extension() == ".wav";
        }
        if (!decoding) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(decoding);
    kill(pid, SIGINT);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGINT);
    EXPECT_TRUE(fs::is_empty(tmp));
    EXPECT_FALSE(fs::exists(m_dir / "long.wfm"));
}

TEST(PlayReports, MissedSecondsAfterAStopAreNotPrintedInABurst) {
    using namespace std::chrono;
    const steady_clock::time_point t0{};
    EXPECT_EQ(NextReportTime(t0, t0 + milliseconds(20)), t0 + seconds(1));
    EXPECT_EQ(NextReportTime(t0, t0 + seconds(30)), t0 + seconds(31));
    EXPECT_NE(UsbNotConfiguredText("/home/u/.config/lumavox/lumavox.INI")
                  .find("UsbVendorId and UsbProductId under [Option] in "
                        "/home/u/.config/lumavox/lumavox.INI"),
              std::string::npos);
}

TEST_F(CliTest, UsbIdentifiersAreReadInHexadecimalAsLsusbPrintsThem) {
    const fs::path ini = m_dir / "lumavox.INI";
    std::string bad;
    const auto read = [&](const std::string& vendor, const std::string& product) {
        std::ofstream(ini) << "[Option]\nUsbVendorId=" << vendor << "\nUsbProductId=" << product
                           << "\n";
        EnvData settings(ini.string(), m_dir.string() + "/");
        FakeWaveVolume volume(std::nullopt);
        settings.Create(volume);
        bad = settings.BadUsbIdSetting;
        return std::pair{settings.UsbVendorId, settings.UsbProductId};
    };
    EXPECT_EQ(read("0403", "6001"), (std::pair{0x0403, 0x6001}));  // lsusb: ID 0403:6001
    EXPECT_EQ(read("0x0403", "abcd"), (std::pair{0x0403, 0xABCD}));
    EXPECT_EQ(read("403", "24577"), (std::pair{0x0403, 0x6001}));  // five digits: decimal
    EXPECT_EQ(bad, "");
    EXPECT_EQ(read("0xZZ", "0X6001"), (std::pair{0, 0x6001}));
    EXPECT_EQ(bad, "UsbVendorId=0xZZ");
    EXPECT_EQ(read("0403", "10000h"), (std::pair{0x0403, 0}));
    EXPECT_EQ(bad, "UsbProductId=10000h");
    EXPECT_EQ(read("0x10000", "70000"), (std::pair{0, 0}));
    EXPECT_EQ(bad, "UsbVendorId=0x10000");
    EXPECT_EQ(BadUsbIdText("/etc/x.INI", bad).rfind("/etc/x.INI: UsbVendorId=0x10000 is not", 0),
              0u);
}

// The outputs of the tool feed what they name when it is no regular file: the pipe of /dev/fd/N
// (a shell's >(...)) and a device node; neither is replaced by a file.
TEST_F(CliTest, OutputsIntoAPipeOrADeviceAreWrittenWhereTheyAre) {
    const fs::path wav = m_dir / "one.wav";
    ASSERT_TRUE(WriteDemoWav(wav.string(), 1));
    const RunResult toFile = RunCli("peaks " + Quote(wav) + " one.wfm", m_dir);
    ASSERT_EQ(toFile.status, 0) << toFile.err;
    // The cache goes into descriptor 3, that is the test's pipe; the count into /dev/null.
    const RunResult toPipe = RunCli("peaks " + Quote(wav) + " /dev/fd/3 3>&1 >/dev/null", m_dir);
    EXPECT_EQ(toPipe.status, 0) << toPipe.err;
    EXPECT_EQ(toPipe.out, FileText(m_dir / "one.wfm"));

    // Made here rather than using the system's own: a writer that renamed over them would
    // replace the machine's devices when run as root.
    const fs::path null = m_dir / "null";
    const fs::path full = m_dir / "full";
    if (mknod(null.c_str(), S_IFCHR | 0600, makedev(1, 3)) != 0 ||
        mknod(full.c_str(), S_IFCHR | 0600, makedev(1, 7)) != 0) {
        GTEST_SKIP() << "mknod is not permitted here";
    }
    const RunResult toNull = RunCli("peaks " + Quote(wav) + " null", m_dir);
    EXPECT_EQ(toNull.status, 0) << toNull.err;
    const RunResult toFull = RunCli("peaks " + Quote(wav) + " full", m_dir);
    EXPECT_EQ(toFull.status, 1);
    EXPECT_EQ(toFull.err,
              "lumavox-cli: " + full.string() + ": cannot write (No space left on device)\n");
    EXPECT_TRUE(fs::is_character_file(null));
    EXPECT_TRUE(fs::is_character_file(full));
}

}  // namespace
}  // namespace lumavox::cli
