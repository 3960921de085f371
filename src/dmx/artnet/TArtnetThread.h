#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <string>
#include <thread>

#include "dmx/FrameSource.h"
#include "dmx/OutputThreadGate.h"
#include "dmx/artnet/ArtnetLoop.h"
#include "dmx/artnet/LocalAddress.h"
#include "dmx/artnet/NodeTable.h"
#include "platform/Clock.h"
#include "platform/NetworkConfig.h"
#include "platform/UdpSocket.h"

namespace lumavox {

struct ArtnetConfig {
    uint32_t periodMs = 20;   // the Art-Net output period
    int32_t txUniverse = 0;   // sub-net × 16 + ID (setting "TxUniverse")
    bool sendEnabled = true;  // ArtDmx packets are sent
    bool unicast = false;     // ArtDmx to the subscribed nodes only ("[Output] ArtnetUnicast")
    bool artSync = false;     // ArtSync after each frame ("[Output] ArtSync")
};

// The OS pieces the Art-Net thread works through; they must outlive it.
struct ArtnetNetwork {
    IUdpSocket& socket;
    IInterfaceList& interfaces;
    IAddressConfig& addresses;
};

// The Art-Net output thread: every period it calls the frame source and broadcasts the frame as
// ArtDmx to 2.255.255.255:6454 when it changed (and every 1.5 s), polls for nodes every 2 s,
// answers ArtPoll and records other nodes' replies.
//
// Created parked. Construction reads the address table, chooses the local address and opens the
// socket; nothing on the machine changes until the first Resume, which adds the 2.x.x.x address
// when one is needed (InitError then tells of a refusal and what to do about it). Terminate, or
// destruction, ends the loop, closes the socket and removes that address again, so the machine is
// left as it was found. An address of ours that a killed run left behind is recognised by its
// label, used, and removed at the end in the same way, unless a running copy owns it. When the
// socket does not open (another program holds the port), no address is added, taken over or
// removed, and the first Resume sets InitError to the reason.
//
// Control thread (the UI thread, or the command-line player's main thread): everything except
// Nodes() and the shared readers, which any thread may call.
class TArtnetThread {
public:
    TArtnetThread(IFrameSource& source, ArtnetNetwork network, const IClock& clock,
                  const ArtnetConfig& config);
    ~TArtnetThread();
    TArtnetThread(const TArtnetThread&) = delete;
    TArtnetThread& operator=(const TArtnetThread&) = delete;

    void Resume();
    // Parks the loop at the top of its next iteration; true once it is parked.
    bool Suspend(std::chrono::milliseconds bound = std::chrono::milliseconds(1000));
    // Ends the loop (waiting at most `bound` for it), closes the socket, removes the added address.
    // True when the loop ended within the bound; the destructor joins it in any case.
    bool Terminate(std::chrono::milliseconds bound = std::chrono::milliseconds(1000));

    // True while the loop is asked to run (resumed and neither suspended nor terminated).
    bool Running() const { return m_gate.Running(); }

    // Broadcasts an ArtPoll when the socket is ready (scan button, switching to Art-Net).
    void SendPoll();

    bool NetReady() const { return m_shared.netReady.load(std::memory_order_relaxed); }
    int32_t TxUniverse() const { return m_shared.txUniverse.load(std::memory_order_relaxed); }
    void SetTxUniverse(int32_t universe) {
        m_shared.txUniverse.store(universe, std::memory_order_relaxed);
    }
    void SetSendEnabled(bool enabled) {
        m_shared.sendEnabled.store(enabled, std::memory_order_relaxed);
    }
    bool Unicast() const { return m_shared.unicast.load(std::memory_order_relaxed); }
    void SetUnicast(bool on) { m_shared.unicast.store(on, std::memory_order_relaxed); }
    bool ArtSync() const { return m_shared.artSync.load(std::memory_order_relaxed); }
    void SetArtSync(bool on) { m_shared.artSync.store(on, std::memory_order_relaxed); }
    bool EventTimed() const { return m_shared.eventTimed.load(std::memory_order_relaxed); }
    int32_t LightOffset() const { return m_shared.lightOffsetMs.load(std::memory_order_relaxed); }
    // Event timing and the light offset; any time, the loop follows from its next pass.
    void SetTiming(bool eventTimed, uint32_t minGapMs, int32_t lightOffsetMs) {
        m_shared.eventTimed.store(eventTimed, std::memory_order_relaxed);
        m_shared.minGapMs.store(minGapMs, std::memory_order_relaxed);
        m_shared.lightOffsetMs.store(lightOffsetMs, std::memory_order_relaxed);
    }
    // Whether ArtDmx goes unicast to the node at address (first octet first) now: unicast is on
    // and the node's latest reply, at most 10 s old, outputs the universe. Any thread.
    bool ReceivesUnicast(const std::array<uint8_t, 4>& address) const;
    NodeTable& Nodes() { return m_shared.nodes; }
    const NodeTable& Nodes() const { return m_shared.nodes; }

    uint32_t LocalAddress() const { return m_localAddress; }
    const std::string& LocalAddressText() const { return m_localAddressText; }
    // Set-up error for the start-up message box ("ArtNet初期化エラー"), known from the first
    // Resume; empty when none. A port that did not open, or a refused address, gives the system's
    // reason with the consequences and the remedies.
    const std::string& InitError() const { return m_initError; }
    void ClearInitError() { m_initError.clear(); }

private:
    void Run();
    void PrepareOnFirstResume();
    void RemoveAddedAddress();

    ArtnetNetwork m_network;
    const IClock& m_clock;
    ArtnetShared m_shared;
    ArtnetLoop m_loop;
    OutputThreadGate m_gate;

    LocalAddressChoice m_choice;
    std::string m_socketError;
    bool m_resumedOnce = false;
    bool m_addressAdded = false;
    uint32_t m_localAddress = kLoopbackAddress;
    std::string m_localAddressText;
    std::string m_initError;
    bool m_finished = false;
    std::thread m_thread;
};

}  // namespace lumavox
