#include "cli/PlayOutputs.h"

#include <chrono>
#include <cstdio>

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
            if (!m_dmx->DevicePresent()) {
                std::fprintf(stderr,
                             "lumavox-cli: no USB DMX interface found (DMX:NG); the show runs "
                             "without lights\n");
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
    for (const NodeEntry& node : m_artnet->Nodes().Entries()) lines.push_back(NodeListLine(node));
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

bool WaitForEnd(const EngineState& state, ShutdownSignals& signals,
                const std::function<bool()>& finished) {
    using namespace std::chrono;
    auto nextReport = steady_clock::now();
    int32_t lastPosition = state.CursorTime.load();
    auto lastMove = steady_clock::now();
    while (!finished()) {
        const auto now = steady_clock::now();
        if (now >= nextReport) {
            std::fprintf(stderr, "%s\n", MillisText(state.CursorTime.load()).c_str());
            nextReport += seconds(1);
        }
        // Nothing pauses a headless show, so a position that stops moving means the sound
        // device gave up (a failed play command, a lost server): end instead of waiting forever.
        if (const int32_t position = state.CursorTime.load(); position != lastPosition) {
            lastPosition = position;
            lastMove = now;
        } else if (now - lastMove > kStallLimit) {
            std::fprintf(stderr, "lumavox-cli: the play position stopped moving at %s\n",
                         MillisText(position).c_str());
            return false;
        }
        if (signals.Wait(milliseconds(50))) {
            std::fprintf(stderr, "lumavox-cli: stopping\n");
            return true;
        }
    }
    return true;
}

}  // namespace lumavox::cli
