#include "dmx/artnet/NodeSubscriptions.h"

#include <gtest/gtest.h>

#include <vector>

namespace lumavox {
namespace {

constexpr uint16_t kUniverse = 0x3A;

NodePorts Outputting(uint32_t address, uint16_t universe, uint8_t bindIndex = 0) {
    NodePorts p;
    p.address = address;
    p.bindIndex = bindIndex;
    p.outputs = 0b0001;
    p.portAddress[0] = universe;
    return p;
}

std::vector<uint32_t> DestinationsAt(const NodeSubscriptions& s, uint32_t now) {
    NodeSubscriptions::Addresses out{};
    const size_t n = s.Destinations(kUniverse, now, out);
    return {out.begin(), out.begin() + static_cast<std::ptrdiff_t>(n)};
}

// Times close to the wrap of the millisecond count, so the expiry must subtract, not compare.
TEST(NodeSubscriptions, TheLatestReplyCountsForTenSecondsAcrossTheClockWrap) {
    const uint32_t t0 = 0xFFFFF000u;
    NodeSubscriptions s;
    s.Update(Outputting(0x02000002, kUniverse), t0);
    s.Update(Outputting(0x02000003, kUniverse + 1), t0);
    EXPECT_EQ(DestinationsAt(s, t0 + 9999), (std::vector<uint32_t>{0x02000002}));
    EXPECT_TRUE(s.Receives(0x02000002, kUniverse, t0 + 9999));
    EXPECT_FALSE(s.Receives(0x02000003, kUniverse, t0));
    EXPECT_TRUE(DestinationsAt(s, t0 + 10000).empty());

    s.Update(Outputting(0x02000002, kUniverse), t0 + 20000);  // answers again: back
    EXPECT_EQ(DestinationsAt(s, t0 + 29999).size(), 1u);
    s.Update(Outputting(0x02000002, kUniverse + 1), t0 + 21000);  // moved to another universe
    EXPECT_TRUE(DestinationsAt(s, t0 + 21000).empty());
}

TEST(NodeSubscriptions, BoundDevicesShareOneSendAndAFullTableTakesOnlyExpiredPlaces) {
    NodeSubscriptions s;
    s.Update(Outputting(0x02000002, kUniverse, 1), 0);
    s.Update(Outputting(0x02000002, kUniverse, 2), 0);
    s.Update(Outputting(0x02000002, kUniverse + 1, 3), 0);
    EXPECT_EQ(DestinationsAt(s, 0), (std::vector<uint32_t>{0x02000002}));
    // Bind index 1 moving away leaves index 2 on the universe.
    s.Update(Outputting(0x02000002, kUniverse + 1, 1), 0);
    EXPECT_TRUE(s.Receives(0x02000002, kUniverse, 0));

    for (uint32_t i = 3; i < 3 + NodeSubscriptions::kCapacity; ++i) {
        s.Update(Outputting(0x0A000000 + i, kUniverse), 5000);
    }
    // 3 entries of 2.0.0.2 and 61 others fill the table; the rest was dropped.
    EXPECT_EQ(DestinationsAt(s, 5000).size(), 62u);
    EXPECT_FALSE(s.Receives(0x0A000000 + 3 + 61, kUniverse, 5000));
    // Once the first node's entries have expired, a new node takes one of their places.
    s.Update(Outputting(0x0B000001, kUniverse), 10000);
    EXPECT_TRUE(s.Receives(0x0B000001, kUniverse, 10000));
    EXPECT_FALSE(s.Receives(0x02000002, kUniverse, 10000));
}

}  // namespace
}  // namespace lumavox
