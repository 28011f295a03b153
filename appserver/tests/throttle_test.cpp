#include <gtest/gtest.h>

#include <filesystem>

#include <unistd.h>

#include <soci/soci.h>

#include "auth/throttle.hpp"
#include "store/migrations.hpp"
#include "store/store.hpp"

namespace durnak::server::auth {
namespace {

// The counters on a throw-away database with the server's schema.
class ThrottleTest : public ::testing::Test {
protected:
    ThrottleTest()
    {
        soci::session sql(store_.pool());
        applyMigrations(sql, schemaMigrations());
    }
    ~ThrottleTest() override { removeDatabase(path_); }

    // One server's view of the counters, on a connection of its own.
    struct Server {
        soci::session sql;
        SignInThrottle throttle;
        std::int64_t wait(const std::string& id, const std::string& address, std::int64_t now)
        {
            return throttle.wait(sql, id, address, now);
        }
        void record(const std::string& id, const std::string& address, bool success, std::int64_t now)
        {
            throttle.record(sql, id, address, success, now);
        }
    };
    Server server(ThrottleRules rules = {}) { return Server{soci::session(store_.pool()), SignInThrottle(rules)}; }

private:
    static std::string removeDatabase(const std::string& path)
    {
        for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(path + suffix);
        return path;
    }
    // One file per test and process: CTest runs the tests of this program side by side.
    std::string path_ = removeDatabase(
        (std::filesystem::path(::testing::TempDir()) /
         ("durnak-throttle-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "-" +
          std::to_string(::getpid()) + ".db"))
            .string());
    Store store_{StoreOptions{path_, 4}};
};

// Failures of one workstation at one moment each; the pause the next attempt meets.
TEST_F(ThrottleTest, PausesDoubleAfterTheFreeFailuresUpToTheLongest)
{
    Server throttle = server();
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

TEST_F(ThrottleTest, AnAddressIsPausedAfterManyFailuresOnAnyWorkstations)
{
    Server throttle = server();
    for (int i = 0; i < 20; ++i) throttle.record("PC" + std::to_string(i), "10.0.0.9", false, 50);
    EXPECT_EQ(throttle.wait("YENI", "10.0.0.9", 50), 0);
    throttle.record("PC99", "10.0.0.9", false, 50);
    EXPECT_EQ(throttle.wait("YENI", "10.0.0.9", 50), 30);
    EXPECT_EQ(throttle.wait("YENI", "10.0.0.8", 50), 0);
}

TEST_F(ThrottleTest, ManyKeysStayBounded)
{
    ThrottleRules rules;
    rules.maxEntries = 100;
    Server throttle = server(rules);
    for (int i = 0; i < 1000; ++i) throttle.record("PC" + std::to_string(i), "10.0.0." + std::to_string(i), false, i);
    // Still answers, and recent failures are still counted.
    for (int i = 0; i < 5; ++i) throttle.record("X", "", false, 20000);
    throttle.record("X", "", false, 20000);
    EXPECT_EQ(throttle.wait("X", "", 20000), 30);
    long long rows = 0;
    throttle.sql << "SELECT COUNT(*) FROM signin_throttle", soci::into(rows);
    EXPECT_LE(rows, 100 + 2);
}

// Several servers on one database count the same failures, and a restart forgives nothing.
TEST_F(ThrottleTest, ServersOnOneDatabaseShareTheCount)
{
    Server first = server(), second = server();
    for (int i = 0; i < 3; ++i) first.record("PC1", "10.0.0.1", false, 100);
    for (int i = 0; i < 3; ++i) second.record("PC1", "10.0.0.1", false, 100);
    EXPECT_EQ(first.wait("PC1", "10.0.0.1", 100), 30);
    Server restarted = server();
    EXPECT_EQ(restarted.wait("PC1", "10.0.0.1", 110), 20);
    second.record("PC1", "10.0.0.1", true, 200);
    EXPECT_EQ(first.wait("PC1", "10.0.0.1", 200), 0);
}

} // namespace
} // namespace durnak::server::auth
