// Report time stamps: seconds since 1970 by the platform's clock.
#include "net/UnixTime.h"

#include <gtest/gtest.h>

#include <ctime>

namespace {

TEST(UnixTime, CountsSecondsSince1970) {
    SYSTEMTIME epoch{1970, 1, 4, 1, 0, 0, 0, 0};
    EXPECT_EQ(0u, SystemTimeToUnixSeconds(epoch));
    SYSTEMTIME later{2021, 3, 1, 1, 12, 30, 15, 999};
    EXPECT_EQ(1614601815u, SystemTimeToUnixSeconds(later)) << "milliseconds are dropped";
    SYSTEMTIME before{1969, 12, 3, 31, 23, 59, 59, 0};
    EXPECT_EQ(0u, SystemTimeToUnixSeconds(before)) << "no wrap to the far future";
}

TEST(UnixTime, NowIsTheRuntimeClock) {
    const uint64_t runtime = static_cast<uint64_t>(_time64(nullptr));
    const uint64_t now = UnixTimeNow();
    EXPECT_GE(now + 1, runtime);
    EXPECT_LE(now, runtime + 2);
}

}  // namespace
