#include "store/migrations.hpp"

#include <stdexcept>

#include <soci/soci.h>

#include "log.hpp"

namespace durnak::server {
namespace {

void createVersionTable(soci::session& sql)
{
    sql << "CREATE TABLE IF NOT EXISTS schema_version ("
           " version INTEGER PRIMARY KEY,"
           " name TEXT NOT NULL,"
           " applied_at TEXT NOT NULL DEFAULT CURRENT_TIMESTAMP)";
}

void checkOrder(const std::vector<Migration>& migrations)
{
    int previous = 0;
    for (const auto& m : migrations) {
        if (m.version <= previous)
            throw std::logic_error("migration versions must increase: " + std::to_string(m.version) + " (" +
                                   m.name + ") after " + std::to_string(previous));
        previous = m.version;
    }
}

// Takes the write lock up front so that two servers starting together apply each step once:
// the second waits, then sees the step recorded and skips it.
void beginExclusive(soci::session& sql)
{
    if (sql.get_backend_name() == "sqlite3") {
        sql << "BEGIN IMMEDIATE";
    } else {
        sql << "BEGIN";
        sql << "LOCK TABLE schema_version IN EXCLUSIVE MODE";
    }
}

} // namespace

int schemaVersion(soci::session& sql)
{
    createVersionTable(sql);
    int version = 0;
    sql << "SELECT COALESCE(MAX(version), 0) FROM schema_version", soci::into(version);
    return version;
}

int applyMigrations(soci::session& sql, const std::vector<Migration>& migrations)
{
    checkOrder(migrations);
    const int current = schemaVersion(sql);
    const int known = migrations.empty() ? 0 : migrations.back().version;
    if (current > known)
        throw std::runtime_error("the database has schema version " + std::to_string(current) +
                                 ", newer than this server knows (" + std::to_string(known) + ")");

    int applied = 0;
    for (const auto& m : migrations) {
        if (m.version <= current) continue;
        beginExclusive(sql);
        try {
            if (schemaVersion(sql) >= m.version) {
                sql << "ROLLBACK";
                continue;
            }
            for (const auto& statement : m.statements) sql << statement;
            sql << "INSERT INTO schema_version (version, name) VALUES (:version, :name)", soci::use(m.version),
                soci::use(m.name);
            sql << "COMMIT";
        } catch (const std::exception& e) {
            try {
                sql << "ROLLBACK";
            } catch (const std::exception&) {
                // The failed statement may already have ended the transaction.
            }
            throw std::runtime_error("migration " + std::to_string(m.version) + " (" + m.name +
                                     ") failed: " + e.what());
        }
        logInfo("database migrated to version " + std::to_string(m.version) + " (" + m.name + ")");
        ++applied;
    }
    return applied;
}

} // namespace durnak::server
