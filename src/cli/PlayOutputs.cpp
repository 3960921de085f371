#include "cli/PlayOutputs.h"

#include <chrono>
#include <cstdio>

#include "cli/CliOutput.h"
#include "cli/ShowRender.h"
#include "dmx/artnet/NodeEntry.h"
#include "dmx/artnet/TArtnetThread.h"
#include "dmx/usb/TDmxDtThread.h"
#include "model/UsrFunc.h"
#include "platform/NetworkConfig.h"
#include "platform/ThreadTiming.h"
#include "platform/UdpSocket.h"
#include "platform/UsbTransport.h"

namespace lumavox::cli {

NullOutputThread::NullOutputThread(IFrameSource& source, const IClock& clock, uint32_t periodMs)
    : m_loop(source, clock, periodMs), m_thread([this] { RunOutputLoop(m_gate, m_loop); }) {}

NullOutputThread::~NullOutputThread() {
    Terminate();
}

void NullOutputThread::Terminate() {
    m_gate.RequestTerminate();
    if (m_thread.joinable()) m_thread.join();
}

uint32_t NullOutputThread::Loop::Iterate() {
    const uint32_t now = m_clock.NowMs();
    if (now - m_last < m_periodMs) return 0;
    m_last = now;
    m_source.Tick(m_frame);
    const uint32_t spent = m_clock.NowMs() - now;
    return spent + 2 < m_periodMs ? m_periodMs - 2 - spent : 0;
}

OutputRunner::OutputRunner(IFrameSource& source, const IClock& clock, const PlayOptions& options)
    : m_source(source), m_clock(clock), m_options(options) {}

OutputRunner::~OutputRunner() {
    Stop();
}

bool OutputRunner::Start(std::string& error) {
    switch (m_options.output) {
        case OutputKind::ArtNet: {
            m_socket = std::make_unique<PosixUdpSocket>();
            m_interfaces = std::make_unique<SystemInterfaceList>();
            m_addresses = std::make_unique<NetlinkAddressConfig>();
            ArtnetConfig config;
            config.txUniverse = m_options.universe;
            m_artnet = std::make_unique<TArtnetThread>(
                m_source, ArtnetNetwork{*m_socket, *m_interfaces, *m_addresses}, m_clock, config);
            m_artnet->Resume();
            m_artnet->SendPoll();  // look for nodes at once, not only at the first 2 s poll
            if (!m_artnet->InitError().empty()) {
                std::fprintf(stderr, "lumavox-cli: Art-Net: %s\n", m_artnet->InitError().c_str());
            }
            if (!m_artnet->NetReady()) {
                std::fprintf(stderr, "lumavox-cli: Art-Net: the network is not ready (NET:NG)\n");
            }
            std::fprintf(stderr, "lumavox-cli: Art-Net from %s, universe %d\n",
                         m_artnet->LocalAddressText().c_str(), m_options.universe);
            return true;
        }
        case OutputKind::Usb: {
            m_usb = std::make_unique<LibusbTransport>();
            UsbDmxConfig config;
            config.periodMs = m_options.usbPeriodMs;
            config.vendorId = m_options.usbVendorId;
            config.productId = m_options.usbProductId;
            m_dmx = std::make_unique<TDmxDtThread>(m_source, *m_usb, m_clock, config);
            if (config.vendorId == 0 && config.productId == 0) {
                Warn(UsbNotConfiguredText(m_options.settingsPath));
            } else if (!m_dmx->DevicePresent()) {
                char ids[64];
                std::snprintf(ids, sizeof ids, "%04x:%04x", static_cast<unsigned>(config.vendorId),
                              static_cast<unsigned>(config.productId));
                Warn(std::string("no USB DMX interface ") + ids +
                     " found (DMX:NG); the show runs without lights (is it plugged in, and may "
                     "this user open it? see lsusb and the README's udev rule)");
            }
            m_dmx->Resume();
            return true;
        }
        case OutputKind::None:
            m_null = std::make_unique<NullOutputThread>(m_source, m_clock, 20);
            m_null->Resume();
            return true;
    }
    error = "no output";
    return false;
}

void OutputRunner::Stop() {
    if (m_artnet) m_artnet->Terminate();
    if (m_dmx) m_dmx->Terminate();
    if (m_null) m_null->Terminate();
}

std::vector<std::string> OutputRunner::NodeLines() const {
    std::vector<std::string> lines;
    if (!m_artnet) return lines;
    // node names come from the network
    for (const NodeEntry& node : m_artnet->Nodes().Entries()) {
        lines.push_back(EscapeText(NodeListLine(node)));
    }
    return lines;
}

bool EngineShowFinished(const EngineState& state, bool& started) {
    const bool playing = state.SoundMode.Equals("playing") || state.SoundMode.Equals("paused");
    const bool freeClock = state.FreeClockRunning.load();
    if (playing || freeClock) started = true;
    if (!started || playing || freeClock) return false;
    const int64_t end = static_cast<int64_t>(state.SoundLength.load()) + state.PostPlayTime.load();
    const int32_t t = state.CursorTime.load();
    return t >= end;
}

std::string UsbNotConfiguredText(const std::string& settingsPath) {
    return "no USB DMX interface configured (DMX:NG): set UsbVendorId and UsbProductId under "
           "[Option] in " +
           settingsPath +
           " (as lsusb shows them, e.g. 0x0403), or play with --output artnet or --output none";
}

std::chrono::steady_clock::time_point NextReportTime(std::chrono::steady_clock::time_point due,
                                                     std::chrono::steady_clock::time_point now) {
    const auto next = due + std::chrono::seconds(1);
    return next > now ? next : now + std::chrono::seconds(1);
}

bool WaitForEnd(const EngineState& state, ShutdownSignals& signals,
                const std::function<bool()>& finished, bool progress) {
    using namespace std::chrono;
    auto nextReport = steady_clock::now();
    int32_t lastPosition = state.CursorTime.load();
    auto lastMove = steady_clock::now();
    while (!finished()) {
        const auto now = steady_clock::now();
        if (now >= nextReport) {
            if (progress) std::fprintf(stderr, "%s\n", MillisText(state.CursorTime.load()).c_str());
            nextReport = NextReportTime(nextReport, now);
        }
        // Nothing pauses a headless show, so a position that stops moving means the sound
        // device gave up (a failed play command, a lost server): end instead of waiting forever.
        if (const int32_t position = state.CursorTime.load(); position != lastPosition) {
            lastPosition = position;
            lastMove = now;
        } else if (now - lastMove > kStallLimit) {
            Warn("the play position stopped moving at " + MillisText(position));
            return false;
        }
        if (signals.Wait(milliseconds(50))) {
            Warn("stopping");
            return true;
        }
    }
    return true;
}

}  // namespace lumavox::cli
