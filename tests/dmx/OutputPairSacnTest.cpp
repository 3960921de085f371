#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "dmx/OutputPair.h"
#include "fakes/FakeNetworkConfig.h"
#include "fakes/FakeUdpSocket.h"
#include "fakes/FakeUsbTransport.h"

namespace lumavox {
namespace {

using namespace std::chrono_literals;

// Counts ticks and catches two threads ticking at the same time.
class OverlapSource final : public IFrameSource {
public:
    void Tick(DmxFrame& frame) override {
        if (m_inside.fetch_add(1) != 0) m_overlap.store(true);
        ++frame[0];
        std::this_thread::sleep_for(1ms);
        m_inside.fetch_sub(1);
        m_ticks.fetch_add(1);
    }
    bool Overlapped() const { return m_overlap.load(); }
    int Ticks() const { return m_ticks.load(); }
    bool WaitForMore(int than) const {
        for (int i = 0; i < 500 && m_ticks.load() <= than; ++i) std::this_thread::sleep_for(10ms);
        return m_ticks.load() > than;
    }

private:
    std::atomic<int> m_inside{0};
    std::atomic<int> m_ticks{0};
    std::atomic<bool> m_overlap{false};
};

bool TerminatedLast(const std::vector<SentDatagram>& sent) {
    return !sent.empty() && sent.back().bytes.size() == kSacnDataSize &&
           (sent.back().bytes[kSacnOptionsOffset] & kSacnOptionTerminated) != 0;
}

// Through every switch between the three outputs one thread ticks at a time, and leaving sACN
// ends its stream before the next output runs.
TEST(OutputPair, SwitchesAmongThreeOutputsNeverTickTwiceAtOnce) {
    OverlapSource source;
    FakeUdpSocket artnetSocket, sacnSocket;
    FakeInterfaceList interfaces{std::vector<Ipv4Interface>{{0x0A000001, 4}}};
    FakeAddressConfig addresses;
    FakeUsbTransport usb;
    SteadyClock clock;
    OutputPairConfig config;
    config.Sacn.stream.unicast = {0x0A000002};
    OutputPair pair(source, clock, config, {artnetSocket, interfaces, addresses}, usb, &sacnSocket);
    ASSERT_TRUE(pair.HasSacn());
    pair.Start(OutputType::Usb);
    const OutputType order[] = {OutputType::Sacn, OutputType::ArtNet, OutputType::Sacn,
                                OutputType::Usb, OutputType::Sacn};
    for (const OutputType type : order) {
        const bool leavingSacn = pair.Active() == OutputType::Sacn;
        pair.SwitchTo(type, 0ms);
        EXPECT_EQ(pair.Active(), type);
        EXPECT_EQ(pair.Sacn().Running(), type == OutputType::Sacn);
        EXPECT_EQ(pair.Artnet().Running(), type == OutputType::ArtNet);
        EXPECT_EQ(pair.Usb().Running(), type == OutputType::Usb);
        if (leavingSacn) {
            EXPECT_TRUE(TerminatedLast(sacnSocket.Sent()));
        }
        EXPECT_TRUE(source.WaitForMore(source.Ticks() + 3));
    }
    pair.Terminate();
    EXPECT_TRUE(TerminatedLast(sacnSocket.Sent()));
    EXPECT_FALSE(source.Overlapped());
}

}  // namespace
}  // namespace lumavox
