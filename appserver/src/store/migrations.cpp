#include "store/migrations.hpp"

#include <stdexcept>

#include <soci/soci.h>

#include "log.hpp"
#include "store/dialect.hpp"
#include "store/store.hpp"

namespace durnak::server {
namespace {

void createVersionTable(soci::session& sql)
{
    sql << dialect::schemaStatement(dialectOf(sql),
                                    "CREATE TABLE IF NOT EXISTS schema_version ("
                                    " version INTEGER NOT NULL PRIMARY KEY,"
                                    " name TEXT NOT NULL,"
                                    " applied_at TEXT NOT NULL DEFAULT CURRENT_TIMESTAMP)");
}

// PostgreSQL: servers sharing the database start together; one of them creates the version
// table and applies the steps while the others wait here (held until the session ends or
// the guard goes). SQLite serialises through its write lock instead.
constexpr long long kMigrationLockKey = 0x44555241'4b4d4947;  // "DURAKMIG"

class MigrationLock {
public:
    explicit MigrationLock(soci::session& sql) : sql_(sql), held_(dialectOf(sql) == Dialect::Postgres)
    {
        if (held_) sql_ << "SELECT pg_advisory_lock(" + std::to_string(kMigrationLockKey) + ")";
    }
    ~MigrationLock()
    {
        if (!held_) return;
        try {
            sql_ << "SELECT pg_advisory_unlock(" + std::to_string(kMigrationLockKey) + ")";
        } catch (const std::exception&) {
            // The lock ends with the connection anyway.
        }
    }
    MigrationLock(const MigrationLock&) = delete;
    MigrationLock& operator=(const MigrationLock&) = delete;

private:
    soci::session& sql_;
    bool held_;
};

// PostgreSQL: every new push event also wakes the servers listening on the channel at once
// (LISTEN/NOTIFY), so they need not wait for their next look at the table. Idempotent.
void preparePushNotify(soci::session& sql)
{
    if (dialectOf(sql) != Dialect::Postgres) return;
    int tables = 0;
    sql << "SELECT COUNT(*) FROM information_schema.tables WHERE table_schema = current_schema()"
           " AND table_name = 'push_events'",
        soci::into(tables);
    if (tables == 0) return;
    sql << "CREATE OR REPLACE FUNCTION durnak_push_notify() RETURNS trigger LANGUAGE plpgsql AS"
           " $body$ BEGIN PERFORM pg_notify('durnak_push', ''); RETURN NULL; END $body$";
    sql << "CREATE OR REPLACE TRIGGER push_events_notify AFTER INSERT ON push_events"
           " FOR EACH STATEMENT EXECUTE FUNCTION durnak_push_notify()";
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
    MigrationLock lock(sql);
    const Dialect dialect = dialectOf(sql);
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
            for (const auto& statement : m.statements) sql << dialect::schemaStatement(dialect, statement);
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
    preparePushNotify(sql);
    return applied;
}

} // namespace durnak::server
