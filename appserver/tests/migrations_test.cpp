#include <gtest/gtest.h>

#include <filesystem>

#include <soci/soci.h>
#include <soci/sqlite3/soci-sqlite3.h>

#include "store/migrations.hpp"
#include "store/store.hpp"

namespace durnak::server {
namespace {

const Migration kCustomers{1, "customers", {"CREATE TABLE customers (id INTEGER PRIMARY KEY, name TEXT)"}};
const Migration kOrders{2,
                        "orders",
                        {"CREATE TABLE orders (id INTEGER PRIMARY KEY, customer INTEGER REFERENCES customers(id))",
                         "CREATE INDEX orders_customer ON orders(customer)"}};

bool tableExists(soci::session& sql, const std::string& name)
{
    int count = 0;
    sql << "SELECT COUNT(*) FROM sqlite_master WHERE type = 'table' AND name = :name", soci::use(name),
        soci::into(count);
    return count == 1;
}

int versionRows(soci::session& sql)
{
    int count = 0;
    sql << "SELECT COUNT(*) FROM schema_version", soci::into(count);
    return count;
}

class MigrationsTest : public ::testing::Test {
protected:
    soci::session sql{*soci::factory_sqlite3(), ":memory:"};
};

TEST_F(MigrationsTest, AppliesEachStepOnceAndPicksUpNewOnes)
{
    EXPECT_EQ(applyMigrations(sql, {kCustomers}), 1);
    EXPECT_EQ(applyMigrations(sql, {kCustomers}), 0);
    EXPECT_EQ(applyMigrations(sql, {kCustomers, kOrders}), 1);
    EXPECT_EQ(applyMigrations(sql, {kCustomers, kOrders}), 0);

    EXPECT_EQ(schemaVersion(sql), 2);
    EXPECT_EQ(versionRows(sql), 2);
    EXPECT_TRUE(tableExists(sql, "customers"));
    EXPECT_TRUE(tableExists(sql, "orders"));
}

TEST_F(MigrationsTest, FailedStepLeavesNoTraceAndRunsAgainOnceFixed)
{
    const Migration broken{2, "orders", {"CREATE TABLE orders (id INTEGER PRIMARY KEY)", "CREATE TABLE oops ("}};
    try {
        applyMigrations(sql, {kCustomers, broken});
        FAIL() << "a broken step was accepted";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("migration 2 (orders)"), std::string::npos) << e.what();
    }
    // The first step stays; of the second, not even its first statement survives.
    EXPECT_EQ(schemaVersion(sql), 1);
    EXPECT_TRUE(tableExists(sql, "customers"));
    EXPECT_FALSE(tableExists(sql, "orders"));

    EXPECT_EQ(applyMigrations(sql, {kCustomers, kOrders}), 1);
    EXPECT_EQ(schemaVersion(sql), 2);
}

TEST_F(MigrationsTest, RefusesADatabaseNewerThanTheServer)
{
    applyMigrations(sql, {kCustomers, kOrders});
    EXPECT_THROW(applyMigrations(sql, {kCustomers}), std::runtime_error);
}

TEST_F(MigrationsTest, RefusesStepsOutOfOrder)
{
    EXPECT_THROW(applyMigrations(sql, {kOrders, kCustomers}), std::logic_error);
    EXPECT_THROW(applyMigrations(sql, {kCustomers, kCustomers}), std::logic_error);
}

TEST_F(MigrationsTest, ServerSchemaAppliesToAnEmptyDatabase)
{
    const auto& steps = schemaMigrations();
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(applyMigrations(sql, steps), static_cast<int>(steps.size()));
    EXPECT_EQ(schemaVersion(sql), steps.back().version);
    EXPECT_TRUE(tableExists(sql, "settings"));
}

TEST(Store, OpensTheFileInWalModeWithEveryPooledConnectionUsable)
{
    const auto path = std::filesystem::path(::testing::TempDir()) / "durnak-store-test.db";
    std::filesystem::remove(path);
    {
        Store store({path.string(), 3});
        // Lease all three at once: each must be open and see the same database.
        soci::session a(store.pool());
        soci::session b(store.pool());
        soci::session c(store.pool());
        std::string mode;
        a << "PRAGMA journal_mode", soci::into(mode);
        EXPECT_EQ(mode, "wal");
        a << "CREATE TABLE t (v INTEGER)";
        a << "INSERT INTO t (v) VALUES (:v)", soci::use(7);
        int seen = 0;
        c << "SELECT v FROM t", soci::into(seen);
        EXPECT_EQ(seen, 7);
        int busyTimeout = 0;
        b << "PRAGMA busy_timeout", soci::into(busyTimeout);
        EXPECT_GT(busyTimeout, 0);
    }
    for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(path.string() + suffix);
}

} // namespace
} // namespace durnak::server
