// lumavox-cli play: headless playback of a show on the audio device and a DMX output.
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <thread>

#include "cli/CliArgs.h"
#include "cli/CliPaths.h"
#include "cli/Commands.h"
#include "cli/PlayOutputs.h"
#include "cli/ShowRender.h"
#include "dmx/artnet/NodeEntry.h"
#include "engine/Engine.h"
#include "engine/PostRequest.h"
#include "engine/Transport.h"
#include "model/ProjectFile.h"
#include "model/UsrFunc.h"
#include "platform/InstanceLock.h"
#include "platform/ShutdownSignals.h"
#include "settings/EnvData.h"
#include "settings/SettingsPath.h"
#include "sound/player/ClockSoundDevice.h"
#include "sound/player/PulseSoundDevice.h"

namespace lumavox::cli {

namespace {

constexpr const char* kHelp =
    "usage: lumavox-cli play PROJECT [--output artnet|usb|none] [--universe N] [--repeat]\n"
    "                        [--period MS] [--sound FILE] [--require-audio]\n"
    "                        [--progress | --quiet]\n"
    "Plays the show from the start of the pre-roll through the post-roll on the audio device,\n"
    "sending the lights over Art-Net, to the USB DMX interface, or nowhere. The default output\n"
    "is the editor's DMX setting. --universe sets the Art-Net universe (sub-net x 16 + ID,\n"
    "0..255), --period the USB output period in ms (Art-Net always sends every 20 ms),\n"
    "--repeat plays the sound again and again until interrupted. The sound is the project's\n"
    "sound file (at its stored path, else the same name in the project's folder), or --sound.\n"
    "Without a sound server the show runs silently on the system clock, unless --require-audio\n"
    "is given. The play time is printed once a second when stderr is a terminal (--progress\n"
    "always, --quiet never). Ctrl+C stops cleanly; the Art-Net nodes found are listed at the "
    "end.\n";

// The settings file of the editor installed beside this tool ("lumavox" in the same folder):
// "<folder>/lumavox.INI" when the folder is writable, else the one in the user's config folder.
std::string EditorSettingsPath() {
    const std::string folder = ExeDir();
    const bool writable = access(folder.c_str(), W_OK) == 0;
    const std::string home = HomeFolder();
    return SettingsPathFor(folder + "lumavox", writable, std::getenv("XDG_CONFIG_HOME"),
                           home.c_str());
}

// The sound settings need a volume seam; the player never changes the system's volume.
class NoVolume final : public IWaveVolume {
public:
    std::optional<uint16_t> GetWaveVolume() override { return std::nullopt; }
    void SetWaveVolume(uint16_t) override {}
};

}  // namespace

int PlayCommand(const std::vector<std::string>& args) {
    int status = 0;
    const auto parsed = ParseCommand(args,
                                     {{"--output", "--universe", "--period", "--sound"},
                                      {"--repeat", "--progress", "--quiet", "--require-audio"}},
                                     kHelp, 1, "play takes one PROJECT (see --help)", status);
    if (!parsed) return status;
    std::string error;

    // Usage errors first, before anything is read.
    std::optional<OutputKind> outputKind;
    if (const std::string* text = parsed->Value("--output")) {
        if (*text == "artnet") {
            outputKind = OutputKind::ArtNet;
        } else if (*text == "usb") {
            outputKind = OutputKind::Usb;
        } else if (*text == "none") {
            outputKind = OutputKind::None;
        } else {
            return Fail("--output must be artnet, usb or none", kStatusUsage);
        }
    }
    std::optional<int32_t> universe;
    if (const std::string* text = parsed->Value("--universe")) {
        universe = ParseInt32(*text);
        if (!universe || *universe < 0 || *universe > 255) {
            return Fail("--universe must be 0..255", kStatusUsage);
        }
    }
    std::optional<int32_t> period;
    if (const std::string* text = parsed->Value("--period")) {
        period = ParseInt32(*text);
        if (!period || *period < 1 || *period > 1000) {
            return Fail("--period must be 1..1000 ms", kStatusUsage);
        }
    }
    if (parsed->Has("--progress") && parsed->Has("--quiet")) {
        return Fail("--progress and --quiet exclude each other", kStatusUsage);
    }
    const bool progress =
        parsed->Has("--progress") || (!parsed->Has("--quiet") && isatty(STDERR_FILENO) == 1);

    // The editor's settings decide the defaults; the player reads them and never writes them.
    const std::string settingsPath = EditorSettingsPath();
    EnvData settings(settingsPath, ExeDir());
    NoVolume noVolume;
    settings.Create(noVolume);

    PlayOptions options;
    options.output =
        outputKind.value_or(settings.DmxType == 1 ? OutputKind::ArtNet : OutputKind::Usb);
    options.universe = universe.value_or(settings.TxUniverse);
    options.usbPeriodMs = static_cast<uint32_t>(period.value_or(settings.DmxInterval));
    options.usbVendorId = static_cast<uint16_t>(settings.UsbVendorId);
    options.usbProductId = static_cast<uint16_t>(settings.UsbProductId);
    options.settingsPath = settingsPath;
    std::atomic<bool> repeat{parsed->Has("--repeat")};

    // Ctrl+C and a service manager's TERM end the show through the normal shutdown below; this
    // must exist before any thread starts so that every thread inherits the blocked signals.
    ShutdownSignals signals;

    FileInstanceLock instance(kInstanceLockName);
    if (!instance.TryAcquire()) {
        return Fail("another Lumavox is running; it drives the lights already (it holds " +
                    instance.Path() + ")");
    }

    ProjectData project;
    PatchTable patch;
    const std::string projectPath = AbsolutePath(parsed->positionals[0]);
    const auto loaded = LoadShow(projectPath, project, patch);
    if (!loaded) return kStatusFailed;
    const ShowSound sound = FindShowSound(projectPath, project, parsed->Value("--sound"));
    if (!sound.Problem.empty()) return Fail(sound.Problem);
    const std::string& soundPath = sound.Path;

    SteadyClock clock;
    EngineState state;
    state.PrePlayTime.store(loaded->PrePlayTime);
    state.PostPlayTime.store(loaded->PostPlayTime);
    state.CursorTime.store(-loaded->PrePlayTime);
    LineOutput lineOutput;
    const std::atomic<int32_t> noPatchCheck{-1};

    // Without a sound server the show still runs, on a device that plays nothing and moves the
    // position on the clock: the player's own fallback, so a lights-only machine runs shows.
    std::unique_ptr<ISoundDevice> device;
    if (PulseAudioTest(std::chrono::milliseconds(2000))) {
        device = std::make_unique<PulseSoundDevice>();
    } else if (parsed->Has("--require-audio")) {
        return Fail("no sound server reachable (is PulseAudio or PipeWire running for this user?)");
    } else {
        Warn("no sound server reachable; playing the show silently (--require-audio refuses)");
        device = std::make_unique<ClockSoundDevice>(clock);
    }
    EngineContext context{state,
                          project,
                          patch,
                          lineOutput,
                          *device,
                          clock,
                          repeat,
                          noPatchCheck,
                          [](std::string_view, std::string_view) {
                              // the editor's message box; this tool says it in English
                              std::fputs("lumavox-cli: no audio output; the show runs silently\n",
                                         stderr);
                          }};
    Engine engine(context);

    OutputRunner output(engine, clock, options);
    if (!output.Start(error)) return Fail(error);

    state.SoundPath.Set(soundPath);
    state.SoundLoaded.store(true);
    // The open request may take longer than a command's wait (an MP3 is scanned): wait for the
    // tick to take it, within a bound.
    PostRequest(state, state.OpenRequest, std::chrono::milliseconds(15000));
    if (!state.SoundOpen.load()) {
        output.Stop();
        return FailFile(soundPath, "cannot play this sound");
    }
    const int32_t pre = loaded->PrePlayTime;
    const int32_t post = loaded->PostPlayTime;
    const int32_t length = state.SoundLength.load();
    Warn("playing " + projectPath + ": " + MillisText(static_cast<int64_t>(pre) + length + post) +
         " (pre-roll " + MillisText(pre) + ", sound " + MillisText(length) + ", post-roll " +
         MillisText(post) + ")" + (parsed->Has("--repeat") ? ", repeating" : ""));
    Transport transport(state, clock, repeat);
    transport.PlayFromStart();
    bool started = false;
    const bool ended = WaitForEnd(
        state, signals, [&] { return EngineShowFinished(state, started); }, progress);
    transport.Stop();
    PostRequest(state, state.CloseRequest);
    output.Stop();
    for (const std::string& line : output.NodeLines()) Print(line + "\n");
    // the end of the show and a stop signal both end the run normally
    return FinishOutput(ended ? 0 : kStatusFailed);
}

}  // namespace lumavox::cli
