#pragma once

#include <cassert>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "dmx/FrameSchedule.h"
#include "dmx/FrameSource.h"
#include "dmx/artnet/TArtnetThread.h"
#include "dmx/sacn/TSacnThread.h"
#include "dmx/usb/TDmxDtThread.h"
#include "platform/Clock.h"
#include "platform/NetworkConfig.h"
#include "platform/UdpSocket.h"
#include "platform/UsbTransport.h"

namespace lumavox {

// The output interface ("DmxType" in the settings): 1 Art-Net, anything else the USB interface;
// sACN when the settings choose it ([Output] Output=sacn), whatever DmxType says.
enum class OutputType { Usb, ArtNet, Sacn };
inline OutputType OutputTypeOf(int32_t dmxType) {
    return dmxType == 1 ? OutputType::ArtNet : OutputType::Usb;
}
inline OutputType OutputTypeOf(int32_t dmxType, bool sacnSelected) {
    return sacnSelected ? OutputType::Sacn : OutputTypeOf(dmxType);
}
inline int32_t DmxTypeOf(OutputType type) {
    return type == OutputType::ArtNet ? 1 : 0;
}

struct OutputPairConfig {
    int32_t TxUniverse = 0;     // "TxUniverse"
    uint32_t UsbPeriodMs = 20;  // "DmxInterval"
    uint16_t UsbVendorId = 0;   // 0: the built-in default
    uint16_t UsbProductId = 0;
    // False for a program that never sends Art-Net (the player with another output): no Art-Net
    // thread is built, so port 6454 stays free and no address is looked at, adopted or removed.
    bool WithArtnet = true;
    // False likewise for sACN: no sACN socket is opened.
    bool WithSacn = true;
    SacnConfig Sacn{};
    bool ArtnetUnicast = false;  // "[Output] ArtnetUnicast"
    bool ArtSync = false;        // "[Output] ArtSync"
    OutputTiming Timing{};       // "[Output] EventTimed", "MinFrameGapMs", "*LightOffsetMs"
};

// The output threads of the editor (Art-Net, USB, sACN) with the operating-system pieces they work
// through (UDP sockets, interface list, address configuration, USB transport): all exist for the
// whole run, only the selected one runs, and the frame source (the engine) is ticked by one thread
// at a time. Created with every thread parked; Start runs the selected one. The command-line
// player uses it too, with the one output it plays (WithArtnet and WithSacn false for USB, and for
// no output at all: the USB thread without identifiers ticks the engine and sends nothing).
//
// Control thread (the UI thread) only, except the threads' shared readers (NetReady, Nodes...).
class OutputPair {
public:
    static constexpr std::chrono::milliseconds kSwitchSettle{250};

    // With the real network and USB pieces.
    OutputPair(IFrameSource& source, const IClock& clock, const OutputPairConfig& config);
    // With pieces the caller owns (they must outlive the pair); no sACN thread without sacnSocket.
    OutputPair(IFrameSource& source, const IClock& clock, const OutputPairConfig& config,
               ArtnetNetwork network, IUsbTransport& usb, IUdpSocket* sacnSocket = nullptr);
    ~OutputPair();
    OutputPair(const OutputPair&) = delete;
    OutputPair& operator=(const OutputPair&) = delete;

    // Runs the thread of type (ArtNet and Sacn only when the pair has them): Art-Net is resumed
    // (which adds its 2.x address when one is needed) and polls at once; the USB thread is resumed.
    void Start(OutputType type);
    // The set-up error of the output Start ran, for the start-up warning box (Art-Net's found
    // by its first Resume, sACN's a socket or interface problem), handed out once and then
    // cleared; empty when there is none.
    std::string InitErrorAfterStart();
    // Changes the running thread: the others are parked (sACN ending its stream), after `settle`
    // the Art-Net node list is emptied, Art-Net resumed and a poll sent, or the USB or sACN thread
    // resumed. Nothing when type is already the active one, or an output the pair lacks. Blocks
    // the caller for `settle`; never waits without bound.
    void SwitchTo(OutputType type, std::chrono::milliseconds settle = kSwitchSettle);
    // The USB output period; the USB thread is parked for the change and resumed only when it was
    // running (so a parked thread stays parked while Art-Net runs).
    void SetUsbPeriod(uint32_t periodMs);
    // A new sACN configuration (universe, priority, sync, destinations, interface); a running
    // sACN thread ends its stream and starts the new one. Nothing without sACN.
    void SetSacn(const SacnConfig& config);
    // Event timing (the network outputs) and each output's light offset; the threads follow from
    // their next pass, running or not.
    void SetTiming(const OutputTiming& timing);
    // Ends Art-Net (its socket closed, an added address removed), sACN (its stream terminated),
    // then the USB thread (its closing header written). Idempotent; the destructor calls it.
    void Terminate();

    OutputType Active() const { return m_active; }
    bool HasArtnet() const { return m_artnet != nullptr; }
    // Only on a pair that has it.
    TArtnetThread& Artnet() {
        assert(m_artnet);
        return *m_artnet;
    }
    const TArtnetThread& Artnet() const {
        assert(m_artnet);
        return *m_artnet;
    }
    bool HasSacn() const { return m_sacn != nullptr; }
    // Only on a pair that has it.
    TSacnThread& Sacn() {
        assert(m_sacn);
        return *m_sacn;
    }
    const TSacnThread& Sacn() const {
        assert(m_sacn);
        return *m_sacn;
    }
    TDmxDtThread& Usb() { return *m_usb; }
    const TDmxDtThread& Usb() const { return *m_usb; }

private:
    void Build(IFrameSource& source, const IClock& clock, const OutputPairConfig& config,
               const ArtnetNetwork* network, IUsbTransport& usb, IUdpSocket* sacnSocket,
               IInterfaceList* interfaces);
    bool Has(OutputType type) const;

    // Declared before the threads: destroyed after them.
    std::unique_ptr<IUdpSocket> m_ownSocket;
    std::unique_ptr<IInterfaceList> m_ownInterfaces;
    std::unique_ptr<IAddressConfig> m_ownAddresses;
    std::unique_ptr<IUsbTransport> m_ownUsb;
    std::unique_ptr<IUdpSocket> m_ownSacnSocket;
    std::unique_ptr<TArtnetThread> m_artnet;
    std::unique_ptr<TSacnThread> m_sacn;
    std::unique_ptr<TDmxDtThread> m_usb;
    OutputType m_active = OutputType::Usb;
};

}  // namespace lumavox
