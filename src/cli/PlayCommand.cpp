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
#include "cli/CliShow.h"
#include "cli/Commands.h"
#include "cli/PlayReport.h"
#include "cli/SacnOptions.h"
#include "cli/StderrReporter.h"
#include "dmx/OutputPair.h"
#include "dmx/artnet/NodeEntry.h"
#include "engine/Engine.h"
#include "engine/OutputTimingSetup.h"
#include "engine/PostRequest.h"
#include "engine/SacnSetup.h"
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
    "usage: lumavox-cli play PROJECT [--output artnet|sacn|usb|none] [--universe N] [--repeat]\n"
    "                        [--period MS] [--sound FILE] [--require-audio]\n"
    "                        [--artnet-unicast] [--artsync]\n"
    "                        [--event-timed] [--light-offset MS]\n"
    "                        [--progress | --quiet]\n"
    "                        [--priority P] [--sacn-unicast IP[,IP...]] [--sacn-sync U]\n"
    "                        [--sacn-interface NAME]\n"
    "Plays the show from the start of the pre-roll through the post-roll on the audio device,\n"
    "sending the lights over Art-Net, sACN (E1.31), to the USB DMX interface, or nowhere. The\n"
    "default output is the editor's DMX setting. --universe sets the Art-Net universe (sub-net\n"
    "x 16 + ID, 0..255) or the sACN universe (1..63999). --artnet-unicast sends Art-Net only to\n"
    "the nodes whose latest ArtPollReply takes that universe (instead of broadcasting it),\n"
    "--artsync follows each frame with an ArtSync (both default to the editor's settings).\n"
    "--event-timed (Art-Net and sACN) also sends a frame at the time of each step, frames at\n"
    "least [Output] MinFrameGapMs apart; --light-offset sends the lights MS ms ahead of the\n"
    "sound (negative: behind; -500..500). Both default to the editor's settings.\n"
    "--period is the USB and sACN output period in ms (Art-Net always sends every 20 ms). sACN\n"
    "goes to the universe's multicast group on the interface of the default route\n"
    "(--sacn-interface names another), or to the addresses of --sacn-unicast; --priority is its\n"
    "priority (0..200), --sacn-sync a synchronisation universe (0: none).\n"
    "--repeat plays the sound again and again until interrupted. The sound is the project's\n"
    "sound file (at its stored path, else the same name in the project's folder), or --sound.\n"
    "Without a sound server the show runs silently on the system clock, unless --require-audio\n"
    "is given. The play time is printed once a second when stderr is a terminal (--progress\n"
    "always, --quiet never). Ctrl+C stops cleanly; the Art-Net nodes found are listed at the "
    "end\n(\"[unicast]\" after those that were receiving the universe by unicast).\n";

// The settings file of the editor installed beside this tool ("lumavox" in the same folder):
// "<folder>/lumavox.INI" for a build tree or a portable copy in a writable folder, else the one in
// the user's config folder.
std::string EditorSettingsPath() {
    const std::string folder = ExeDir();
    const std::string home = HomeFolder();
    return SettingsPathFor(folder + "lumavox", SettingsBesideProgram(folder),
                           std::getenv("XDG_CONFIG_HOME"), home.c_str());
}

// The sound settings need a volume seam; the player never changes the system's volume.
class NoVolume final : public IWaveVolume {
public:
    std::optional<uint16_t> GetWaveVolume() override { return std::nullopt; }
    void SetWaveVolume(uint16_t) override {}
};

enum class OutputKind { ArtNet, Sacn, Usb, None };

// The outputs as the editor builds them, with only the one the show plays: Art-Net, the USB
// interface, or for "none" the USB thread without identifiers, which ticks the engine and sends
// nothing.
OutputPairConfig OutputsFor(OutputKind kind, const EnvData& settings, int32_t universe,
                            std::optional<int32_t> period) {
    OutputPairConfig config;
    config.TxUniverse = universe;
    config.WithArtnet = kind == OutputKind::ArtNet;
    config.WithSacn = kind == OutputKind::Sacn;
    config.Sacn = SacnConfigFrom(settings.Sacn);
    config.Sacn.periodMs = static_cast<uint32_t>(period.value_or(20));
    config.ArtnetUnicast = settings.ArtnetUnicast;
    config.ArtSync = settings.ArtSync;
    config.Timing = OutputTimingFrom(settings);
    config.UsbPeriodMs =
        static_cast<uint32_t>(period.value_or(kind == OutputKind::Usb ? settings.DmxInterval : 20));
    if (kind == OutputKind::Usb) {
        config.UsbVendorId = static_cast<uint16_t>(settings.UsbVendorId);
        config.UsbProductId = static_cast<uint16_t>(settings.UsbProductId);
    }
    return config;
}

// What the started output tells the user: Art-Net's set-up problems and address, or why no USB
// interface takes the frames.
void ReportOutputStart(OutputPair& outputs, OutputKind kind, const OutputPairConfig& config,
                       const std::string& settingsPath) {
    if (kind == OutputKind::ArtNet) {
        if (const std::string error = outputs.InitErrorAfterStart(); !error.empty()) {
            Warn("Art-Net: " + error);
        }
        if (outputs.Artnet().NetReady()) {
            Warn("Art-Net from " + outputs.Artnet().LocalAddressText() + ", universe " +
                 std::to_string(config.TxUniverse) +
                 (config.ArtnetUnicast ? ", unicast to the nodes that take it" : "") +
                 (config.ArtSync ? ", ArtSync after each frame" : ""));
        }
    } else if (kind == OutputKind::Sacn) {
        if (const std::string error = outputs.InitErrorAfterStart(); !error.empty()) {
            Warn("sACN: " + error);
        } else {
            Warn("sACN to " + outputs.Sacn().DestinationText() + ", universe " +
                 std::to_string(config.Sacn.stream.universe) + ", priority " +
                 std::to_string(config.Sacn.stream.priority) +
                 (config.Sacn.stream.syncUniverse != 0
                      ? ", sync universe " + std::to_string(config.Sacn.stream.syncUniverse)
                      : std::string()));
        }
    } else if (kind == OutputKind::Usb) {
        if (config.UsbVendorId == 0 && config.UsbProductId == 0) {
            Warn(UsbNotConfiguredText(settingsPath));
        } else if (!outputs.Usb().DevicePresent()) {
            char ids[64];
            std::snprintf(ids, sizeof ids, "%04x:%04x", static_cast<unsigned>(config.UsbVendorId),
                          static_cast<unsigned>(config.UsbProductId));
            Warn(std::string("no USB DMX interface ") + ids +
                 " found (DMX:NG); the show runs without lights (is it plugged in, and may "
                 "this user open it? see lsusb and the README's udev rule)");
        }
    }
    const OutputTiming& timing = config.Timing;
    const bool network = kind == OutputKind::ArtNet || kind == OutputKind::Sacn;
    const int32_t offset = kind == OutputKind::ArtNet ? timing.ArtnetLightOffsetMs
                           : kind == OutputKind::Sacn ? timing.SacnLightOffsetMs
                                                      : timing.UsbLightOffsetMs;
    if ((network && timing.EventTimed) || offset != 0) {
        Warn(std::string(network && timing.EventTimed
                             ? "frames at each step, at least " +
                                   std::to_string(timing.MinFrameGapMs) + " ms apart"
                             : "frames every period") +
             (offset != 0 ? ", lights " + std::to_string(offset < 0 ? -offset : offset) +
                                (offset < 0 ? " ms behind the sound" : " ms ahead of the sound")
                          : std::string()));
    }
}

}  // namespace

int PlayCommand(const std::vector<std::string>& args) {
    int status = 0;
    const auto parsed =
        ParseCommand(args,
                     {{"--output", "--universe", "--period", "--sound", "--priority",
                       "--sacn-unicast", "--sacn-sync", "--sacn-interface", "--light-offset"},
                      {"--repeat", "--progress", "--quiet", "--require-audio", "--artnet-unicast",
                       "--artsync", "--event-timed"}},
                     kHelp, 1, "play takes one PROJECT (see --help)", status);
    if (!parsed) return status;

    // Usage errors first, before anything is read.
    std::optional<OutputKind> outputKind;
    if (const std::string* text = parsed->Value("--output")) {
        if (*text == "artnet") {
            outputKind = OutputKind::ArtNet;
        } else if (*text == "sacn") {
            outputKind = OutputKind::Sacn;
        } else if (*text == "usb") {
            outputKind = OutputKind::Usb;
        } else if (*text == "none") {
            outputKind = OutputKind::None;
        } else {
            return Fail("--output must be artnet, sacn, usb or none", kStatusUsage);
        }
    }
    // --universe is an Art-Net universe unless the output is sACN, which the settings may decide.
    std::optional<int32_t> universe;
    const auto readArtnetUniverse = [&]() {
        if (const std::string* text = parsed->Value("--universe")) {
            universe = ParseInt32(*text);
            if (!universe || *universe < 0 || *universe > 255) {
                return Fail("--universe must be 0..255 (sACN: 1..63999)", kStatusUsage);
            }
        }
        return 0;
    };
    if (outputKind && *outputKind != OutputKind::Sacn) {
        if (const int failed = readArtnetUniverse(); failed != 0) return failed;
    }
    std::optional<int32_t> period;
    if (const std::string* text = parsed->Value("--period")) {
        period = ParseInt32(*text);
        if (!period || *period < 1 || *period > 1000) {
            return Fail("--period must be 1..1000 ms", kStatusUsage);
        }
    }
    std::optional<int32_t> lightOffset;
    if (const std::string* text = parsed->Value("--light-offset")) {
        lightOffset = ParseInt32(*text);
        if (!lightOffset || *lightOffset < -OutputTiming::kMaxLightOffsetMs ||
            *lightOffset > OutputTiming::kMaxLightOffsetMs) {
            return Fail("--light-offset must be -500..500 ms", kStatusUsage);
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

    const OutputKind kind = outputKind.value_or(
        settings.Sacn.Selected ? OutputKind::Sacn
                               : (settings.DmxType == 1 ? OutputKind::ArtNet : OutputKind::Usb));
    if (kind != OutputKind::Sacn && HasSacnOptions(*parsed)) {
        return Fail(
            "--priority, --sacn-unicast, --sacn-sync and --sacn-interface need "
            "--output sacn",
            kStatusUsage);
    }
    if (!outputKind && kind != OutputKind::Sacn) {
        if (const int failed = readArtnetUniverse(); failed != 0) return failed;
    }
    if (kind == OutputKind::Sacn) {
        std::string error;
        if (!ApplySacnOptions(*parsed, settings.Sacn, error)) return Fail(error, kStatusUsage);
        if (const std::string problem = SacnConfigFrom(settings.Sacn).settingError;
            !problem.empty()) {
            return Fail(settingsPath + ": " + problem);
        }
    }
    if (kind == OutputKind::Usb && !settings.BadUsbIdSetting.empty()) {
        return Fail(BadUsbIdText(settingsPath, settings.BadUsbIdSetting));
    }
    if ((parsed->Has("--artnet-unicast") || parsed->Has("--artsync")) &&
        kind != OutputKind::ArtNet) {
        return Fail("--artnet-unicast and --artsync need the Art-Net output", kStatusUsage);
    }
    OutputPairConfig outputConfig =
        OutputsFor(kind, settings, universe.value_or(settings.TxUniverse), period);
    if (parsed->Has("--artnet-unicast")) outputConfig.ArtnetUnicast = true;
    if (parsed->Has("--artsync")) outputConfig.ArtSync = true;
    if (parsed->Has("--event-timed")) {
        if (kind != OutputKind::ArtNet && kind != OutputKind::Sacn) {
            return Fail("--event-timed needs the Art-Net or sACN output", kStatusUsage);
        }
        outputConfig.Timing.EventTimed = true;
    }
    if (lightOffset) {
        outputConfig.Timing.UsbLightOffsetMs = outputConfig.Timing.ArtnetLightOffsetMs =
            outputConfig.Timing.SacnLightOffsetMs = *lightOffset;
    }
    std::atomic<bool> repeat{parsed->Has("--repeat")};

    // Ctrl+C and a service manager's TERM end the show through the normal shutdown below; this
    // must exist before any thread starts so that every thread inherits the blocked signals.
    ShutdownSignals signals;

    FileInstanceLock instance(kInstanceLockName);
    const InstanceLockState lock = instance.TryAcquire();
    if (lock == InstanceLockState::HeldByAnother) {
        return Fail("another Lumavox is running; it drives the lights already (it holds " +
                    instance.Path() + ")");
    }
    if (lock == InstanceLockState::Unavailable) Warn(instance.Error() + "; playing without it");

    // The show opens as in the editor; its sound is asked of the engine, which takes the request
    // at the output thread's first tick.
    EngineState state;
    CliShow show(state, settings);
    const std::string projectPath = AbsolutePath(parsed->positionals[0]);
    if (!show.Open(projectPath)) return kStatusFailed;
    const ShowSound sound = show.Sound(parsed->Value("--sound"));
    if (!sound.Problem.empty()) return Fail(sound.Problem);
    const std::string& soundPath = sound.Path;

    SteadyClock clock;
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
                          show.Project(),
                          show.Patch(),
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

    OutputPair outputs(engine, clock, outputConfig);
    outputs.Start(kind == OutputKind::ArtNet ? OutputType::ArtNet
                  : kind == OutputKind::Sacn ? OutputType::Sacn
                                             : OutputType::Usb);
    ReportOutputStart(outputs, kind, outputConfig, settingsPath);

    // The open may take longer than a command's wait (an MP3 is scanned): wait for the first
    // tick to carry it out, within a bound.
    state.RequestCleared.WaitCleared(state.OpenRequest,
                                     std::chrono::steady_clock::now() + std::chrono::seconds(15));
    if (!state.SoundOpen.load()) {
        outputs.Terminate();
        const std::string reason = state.OpenRequest.load()
                                       ? std::string("the sound did not open within 15 s")
                                       : EnglishSoundText(state.SoundOpenError.Get());
        return FailFile(soundPath, "cannot play this sound", reason);
    }
    const int32_t pre = state.PrePlayTime.load();
    const int32_t post = state.PostPlayTime.load();
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
    outputs.Terminate();
    if (outputs.HasArtnet()) {
        // node names come from the network
        for (const NodeEntry& node : outputs.Artnet().Nodes().Entries()) {
            const bool unicast = outputs.Artnet().ReceivesUnicast(node.address);
            Print(EscapeText(NodeListLine(node)) + (unicast ? "  [unicast]" : "") + "\n");
        }
    }
    // the end of the show and a stop signal both end the run normally
    return FinishOutput(ended ? 0 : kStatusFailed);
}

}  // namespace lumavox::cli
