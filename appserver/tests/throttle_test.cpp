#include <gtest/gtest.h>

#include "auth/throttle.hpp"

namespace durnak::server::auth {
namespace {

// Failures of one workstation at one moment each; the pause the next attempt meets.
TEST(SignInThrottle, PausesDoubleAfterTheFreeFailuresUpToTheLongest)
{
    SignInThrottle throttle;
    std::int64_t now = 1000;
    const std::int64_t expected[] = {0, 0, 0, 0, 0, 30, 60, 120, 240, 480, 900, 900};
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(i + 1);
        throttle.record("PC1", "10.0.0.1", false, now);
        EXPECT_EQ(throttle.wait("PC1", "10.0.0.1", now), expected[i]);
        now += expected[i];  // the next attempt comes when the pause is over
    }
    // Another workstation behind the same address is not held up by this one.
    EXPECT_EQ(throttle.wait("PC2", "10.0.0.1", now), 0);
    // Success clears the count; a day without failures forgets it too.
    throttle.record("PC1", "10.0.0.1", true, now);
    EXPECT_EQ(throttle.wait("PC1", "10.0.0.1", now), 0);
    for (int i = 0; i < 5; ++i) throttle.record("PC1", "10.0.0.1", false, now);
    now += 25 * 3600;
    throttle.record("PC1", "10.0.0.1", false, now);
    EXPECT_EQ(throttle.wait("PC1", "10.0.0.1", now), 0);
}

TEST(SignInThrottle, AnAddressIsPausedAfterManyFailuresOnAnyWorkstations)
{
    SignInThrottle throttle;
    for (int i = 0; i < 20; ++i) throttle.record("PC" + std::to_string(i), "10.0.0.9", false, 50);
    EXPECT_EQ(throttle.wait("YENI", "10.0.0.9", 50), 0);
    throttle.record("PC99", "10.0.0.9", false, 50);
    EXPECT_EQ(throttle.wait("YENI", "10.0.0.9", 50), 30);
    EXPECT_EQ(throttle.wait("YENI", "10.0.0.8", 50), 0);
}

TEST(SignInThrottle, ManyKeysStayBounded)
{
    ThrottleRules rules;
    rules.maxEntries = 100;
    SignInThrottle throttle(rules);
    for (int i = 0; i < 10000; ++i) throttle.record("PC" + std::to_string(i), "10.0.0." + std::to_string(i), false, i);
    // Still answers, and recent failures are still counted.
    for (int i = 0; i < 5; ++i) throttle.record("X", "", false, 20000);
    throttle.record("X", "", false, 20000);
    EXPECT_EQ(throttle.wait("X", "", 20000), 30);
}

} // namespace
} // namespace durnak::server::auth
