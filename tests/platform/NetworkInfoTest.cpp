#include "platform/NetworkInfo.h"

#include <gtest/gtest.h>

namespace lumavox {
namespace {

TEST(NetworkInfo, AddressListsReadStrictDottedQuadsOnly) {
    EXPECT_EQ(ParseIpv4Address("10.0.0.5"), 0x0A000005u);
    EXPECT_EQ(ParseIpv4Address("255.255.255.255"), 0xFFFFFFFFu);
    for (const char* bad : {"10.0.0", "10.0.0.256", "10.0.0.5.", "010.0.0.5", "10.0.0.-1",
                            "10.0.0.5x", "", " 10.0.0.5", "1000.0.0.5", "10..0.5"}) {
        EXPECT_FALSE(ParseIpv4Address(bad)) << bad;
    }
    EXPECT_EQ(ParseIpv4List(" 10.0.0.5 ,10.0.0.6"),
              (std::vector<uint32_t>{0x0A000005, 0x0A000006}));
    EXPECT_EQ(ParseIpv4List("  "), std::vector<uint32_t>{});
    EXPECT_FALSE(ParseIpv4List("10.0.0.5,"));
    EXPECT_FALSE(ParseIpv4List("10.0.0.5;10.0.0.6"));
}

}  // namespace
}  // namespace lumavox
