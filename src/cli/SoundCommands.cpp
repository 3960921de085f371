// lumavox-cli peaks and wavinfo: the sound file tools.
#include <sys/stat.h>

#include <cstdio>
#include <nlohmann/json.hpp>

#include "cli/CliArgs.h"
#include "cli/CliPaths.h"
#include "cli/Commands.h"
#include "cli/StderrReporter.h"
#include "sound/SoundInfo.h"
#include "sound/WavSound.h"

namespace lumavox::cli {

namespace {

constexpr const char* kPeaksHelp =
    "usage: lumavox-cli peaks SOUND OUT.wfm\n"
    "Reads SOUND as the editor does (WAV directly, MP3 decoded first), writes its waveform peak\n"
    "cache to OUT.wfm and prints the number of peak frames. On failure the error goes to stderr\n"
    "and the exit status is the reader's error code: 1 file not found, 2 not a valid file,\n"
    "3 unsupported format, 4 MP3 decoding failed.\n";

constexpr const char* kWavInfoHelp =
    "usage: lumavox-cli wavinfo SOUND\n"
    "Prints SOUND's format as JSON: channels, rate, bytesPerSample, bits, lengthMs and the text\n"
    "the project settings show for it. An MP3 whose information cannot be read gives\n"
    "\"MP3 Audio File ?\" with zeros.\n";

bool FileExists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0;
}

}  // namespace

int PeaksCommand(const std::vector<std::string>& args) {
    int status = 0;
    const auto parsed = ParseCommand(args, {{}, {}}, kPeaksHelp, 2,
                                     "peaks takes SOUND and OUT.wfm (see --help)", status);
    if (!parsed) return status;
    StderrReporter reporter;
    WavSound sound(reporter);
    const int32_t count = sound.LoadSound(AbsolutePath(parsed->positionals[0]));
    if (count < 0) return -count;  // the reader has reported the error
    const std::string out = AbsolutePath(parsed->positionals[1]);
    if (count == 0) {
        // a sound shorter than one peak frame: an empty cache, which holds no records
        std::FILE* f = std::fopen(out.c_str(), "wb");
        if (f == nullptr || std::fclose(f) != 0) return Fail("cannot write " + out);
    } else if (!sound.SavePeakCache(out)) {
        return Fail("cannot write " + out);
    }
    std::printf("%d\n", count);
    return 0;
}

int WavInfoCommand(const std::vector<std::string>& args) {
    int status = 0;
    const auto parsed = ParseCommand(args, {{}, {}}, kWavInfoHelp, 1,
                                     "wavinfo takes one SOUND (see --help)", status);
    if (!parsed) return status;
    const std::string path = AbsolutePath(parsed->positionals[0]);
    if (!FileExists(path)) return Fail(path + ": ファイルが見つかりません");

    StderrReporter reporter;
    WavSound sound(reporter);
    const SoundInfo info = SoundInfoText(sound, path);
    if (!info.Ok) {
        // the reader has printed why
        return 1;
    }
    nlohmann::ordered_json out;
    out["channels"] = info.Channels;
    out["rate"] = info.Rate;
    out["bytesPerSample"] = info.BytesPerSample;
    out["bits"] = info.Bits;
    out["lengthMs"] = info.LengthMs;
    out["text"] = info.Text;
    std::printf("%s\n", out.dump().c_str());
    return 0;
}

}  // namespace lumavox::cli
