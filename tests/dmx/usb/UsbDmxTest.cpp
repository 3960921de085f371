#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "dmx/OutputStatus.h"
#include "dmx/usb/TDmxDtThread.h"
#include "dmx/usb/UsbDmxDevice.h"
#include "dmx/usb/UsbDmxLoop.h"
#include "fakes/FakeFrameSource.h"
#include "fakes/FakeUsbTransport.h"
#include "fakes/ManualClock.h"

namespace lumavox {
namespace {

using namespace std::chrono_literals;

std::vector<size_t> Sizes(const std::vector<FakeUsbTransport::Transfer>& writes) {
    std::vector<size_t> out;
    for (const auto& w : writes) out.push_back(w.bytes.size());
    return out;
}

const std::vector<size_t> kWholeFrame = {8, 64, 64, 64, 64, 64, 64, 64, 64};

std::vector<uint8_t> Text8(const char* text) {
    std::vector<uint8_t> out(8, 0);
    std::copy(text, text + std::min<size_t>(8, std::strlen(text)), out.begin());
    return out;
}

TEST(UsbDmxDevice, DrainReadsSixteenAfterKelp5AndEightAfterAnyOtherHeader) {
    struct Case {
        std::vector<std::optional<std::vector<uint8_t>>> script;
        size_t reads;
    };
    const std::vector<uint8_t> full(64, 1);
    const std::vector<Case> cases = {
        {{Text8("KELP5")}, 1 + 16},
        {{full, std::nullopt, Text8("KELP4")}, 3 + 8},
        {{Text8("KELP5XYZ")}, 1 + 8},  // eight bytes without a terminating zero
        {{}, 20},                      // a silent device: twenty bounded reads, then give up
    };
    for (const Case& c : cases) {
        FakeUsbTransport usb;
        for (const auto& answer : c.script) usb.ScriptRead(answer);
        EXPECT_TRUE(OpenUsbDmxDevice(usb, 0x1234, 0x5678));
        const auto timeouts = usb.ReadTimeouts();
        EXPECT_EQ(timeouts.size(), c.reads);
        for (uint32_t t : timeouts) EXPECT_EQ(t, kUsbReadTimeoutMs);
        EXPECT_EQ(usb.VendorId(), 0x1234);
        EXPECT_EQ(usb.ProductId(), 0x5678);
    }
    FakeUsbTransport absent(false);
    EXPECT_FALSE(OpenUsbDmxDevice(absent, 0, 0));
    EXPECT_TRUE(absent.ReadTimeouts().empty());
}

TEST(UsbDmxDevice, FrameIsAHeaderThenEightPacketsInChannelOrder) {
    FakeUsbTransport usb;
    DmxFrame frame{};
    for (size_t k = 0; k < frame.size(); ++k) frame[k] = static_cast<uint8_t>(k / 64 + 1);
    WriteUsbDmxFrame(usb, UsbDmxHeader(false, true), true, frame);
    const auto writes = usb.Writes();
    ASSERT_EQ(Sizes(writes), kWholeFrame);
    EXPECT_EQ(writes[0].bytes, (std::vector<uint8_t>{0, 0, 0, 0, 0x20, 0, 0, 0}));
    for (size_t n = 1; n <= 8; ++n) {
        EXPECT_EQ(writes[n].bytes, std::vector<uint8_t>(64, static_cast<uint8_t>(n)));
    }
    for (const auto& w : writes) EXPECT_EQ(w.timeoutMs, kUsbWriteTimeoutMs);
    EXPECT_EQ(UsbDmxHeader(true, true)[4], 0x30);
    EXPECT_EQ(UsbDmxHeader(true, false)[4], 0x10);
}

TEST(UsbDmxDevice, ShortWritesEndTheFrameAndFailedWritesDoNot) {
    struct Case {
        std::vector<int> script;
        std::vector<size_t> sizes;
    };
    const std::vector<Case> cases = {
        {{7}, {8}},                  // short header: no data
        {{-1}, {8}},                 // failed header: no data
        {{8, 64, 63}, {8, 64, 64}},  // short packet ends the frame
        {{8, 64, 0}, {8, 64, 64}},   // so does a zero-byte one
        {{8, -1, -1}, kWholeFrame},  // failures do not
    };
    for (const Case& c : cases) {
        FakeUsbTransport usb;
        for (int r : c.script) usb.ScriptWrite(r);
        WriteUsbDmxFrame(usb, UsbDmxHeader(false, true), true, DmxFrame{});
        EXPECT_EQ(Sizes(usb.Writes()), c.sizes);
    }
    FakeUsbTransport headerOnly;
    WriteUsbDmxFrame(headerOnly, UsbDmxHeader(false, true), false, DmxFrame{});
    EXPECT_EQ(Sizes(headerOnly.Writes()), std::vector<size_t>{8});
}

class UsbDmxLoopTest : public ::testing::Test {
protected:
    ManualClock clock;
    FakeUsbTransport usb;
    FakeFrameSource source;
};

TEST_F(UsbDmxLoopTest, EveryPeriodTicksAndWritesOneFrame) {
    UsbDmxLoop loop(usb, true, source, clock, UsbDmxConfig{});
    loop.Start();
    clock.Advance(19);
    EXPECT_EQ(loop.Iterate(), 0u);
    EXPECT_EQ(source.Ticks(), 0);
    clock.Advance(1);
    EXPECT_EQ(loop.Iterate(), 18u);
    EXPECT_EQ(Sizes(usb.TakeWrites()), kWholeFrame);

    loop.SetPeriod(40);
    clock.Advance(20);
    loop.Iterate();
    EXPECT_EQ(source.Ticks(), 1);
    clock.Advance(20);
    EXPECT_EQ(loop.Iterate(), 38u);
    EXPECT_EQ(source.Ticks(), 2);
}

TEST_F(UsbDmxLoopTest, ConfigOnlySendsOneHeaderAndNoDeviceSendsNothing) {
    UsbDmxConfig config;
    config.sendData = false;
    UsbDmxLoop configOnly(usb, true, source, clock, config);
    configOnly.Start();
    for (int i = 0; i < 3; ++i) {
        clock.Advance(20);
        configOnly.Iterate();
    }
    EXPECT_EQ(Sizes(usb.TakeWrites()), std::vector<size_t>{8});

    UsbDmxLoop absent(usb, false, source, clock, UsbDmxConfig{});
    absent.Start();
    for (int i = 0; i < 3; ++i) {
        clock.Advance(20);
        absent.Iterate();
    }
    absent.Finish();
    EXPECT_TRUE(usb.Writes().empty());
    EXPECT_EQ(source.Ticks(), 6);  // the play position advances without a device
    EXPECT_EQ(DmxStatusText(false), "DMX:NG");
    EXPECT_EQ(DmxStatusText(true), "DMX:OK");
}

TEST_F(UsbDmxLoopTest, LateLoopRunsOneExtraTickAndJumpsToTheElapsedCount) {
    UsbDmxLoop loop(usb, true, source, clock, UsbDmxConfig{});
    loop.Start();
    clock.Advance(20);
    loop.Iterate();
    EXPECT_EQ(source.Ticks(), 1);
    clock.Advance(50);  // 70 ms: three periods elapsed, two frames counted
    loop.Iterate();
    EXPECT_EQ(source.Ticks(), 3);             // the frame and one catch-up tick
    EXPECT_EQ(usb.TakeWrites().size(), 18u);  // the catch-up frame is not sent
    clock.Advance(20);  // 90 ms: four periods, four frames counted: no catch-up
    loop.Iterate();
    EXPECT_EQ(source.Ticks(), 4);
    clock.Advance(200);  // 290 ms: 14 periods, frame 5: catch-up jumps to 14
    loop.Iterate();
    EXPECT_EQ(source.Ticks(), 6);
    clock.Advance(20);
    loop.Iterate();
    EXPECT_EQ(source.Ticks(), 7);  // 15 periods, 15 frames
}

TEST(TDmxDtThread, RunsParksAndEndsWithAZeroHeader) {
    FakeFrameSource source;
    FakeUsbTransport usb;
    SteadyClock clock;
    UsbDmxConfig config;
    config.vendorId = 0x1234;
    config.productId = 0x5678;
    TDmxDtThread thread(source, usb, clock, config);
    EXPECT_TRUE(thread.DevicePresent());
    EXPECT_EQ(source.Ticks(), 0);  // created parked
    thread.Resume();
    ASSERT_TRUE(usb.WaitForWrites(2 * kWholeFrame.size(), 5s));
    ASSERT_TRUE(thread.Suspend());
    thread.SetPeriod(25);
    thread.Resume();
    ASSERT_TRUE(source.WaitForTicks(source.Ticks() + 2, 5s));
    EXPECT_TRUE(thread.Terminate());
    const auto writes = usb.Writes();
    ASSERT_FALSE(writes.empty());
    EXPECT_EQ(writes.back().bytes, std::vector<uint8_t>(8, 0));
    EXPECT_EQ(writes[0].bytes[4], 0x20);
    EXPECT_EQ(usb.CloseCount(), 1);
}

TEST(TDmxDtThread, WithoutADeviceTheTickStillRuns) {
    FakeFrameSource source;
    FakeUsbTransport usb(false);
    SteadyClock clock;
    TDmxDtThread thread(source, usb, clock, UsbDmxConfig{});
    EXPECT_FALSE(thread.DevicePresent());
    thread.Resume();
    EXPECT_TRUE(source.WaitForTicks(3, 5s));
    thread.Terminate();
    EXPECT_TRUE(usb.Writes().empty());
    EXPECT_EQ(usb.CloseCount(), 0);
}

TEST(TDmxDtThread, EndingAParkedThreadStillSendsTheZeroHeader) {
    FakeFrameSource source;
    FakeUsbTransport usb;
    SteadyClock clock;
    { TDmxDtThread thread(source, usb, clock, UsbDmxConfig{}); }
    EXPECT_EQ(source.Ticks(), 0);
    const auto writes = usb.Writes();
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].bytes, std::vector<uint8_t>(8, 0));
}

}  // namespace
}  // namespace lumavox
