#include "store/store.hpp"

#include <stdexcept>

#include <soci/soci.h>
#include <soci/sqlite3/soci-sqlite3.h>

#include "log.hpp"

namespace durnak::server {
namespace {

// How long a writer waits for another connection's write transaction before giving up.
constexpr int kBusyTimeoutMs = 10000;

void configureConnection(soci::session& sql, bool first)
{
    sql << "PRAGMA busy_timeout = " + std::to_string(kBusyTimeoutMs);
    sql << "PRAGMA foreign_keys = ON";
    if (first) {
        // The journal mode is stored in the file, so setting it once is enough.
        std::string mode;
        sql << "PRAGMA journal_mode = WAL", soci::into(mode);
        if (mode != "wal") logWarning("database is not in WAL mode (journal mode: " + mode + ")");
    }
    // With WAL, NORMAL keeps the database consistent after a crash and only loses the
    // last commits on power loss.
    sql << "PRAGMA synchronous = NORMAL";
}

} // namespace

Store::Store(const StoreOptions& options)
    : path_(options.databasePath), size_(options.poolSize == 0 ? 1 : options.poolSize), pool_(size_)
{
    // The SQLite connect string quotes the path; a quote inside it cannot be written.
    if (path_.empty() || path_.find('"') != std::string::npos)
        throw std::runtime_error("unusable database path: '" + path_ + "'");
    const std::string connect = "db=\"" + path_ + "\"";
    for (std::size_t i = 0; i < size_; ++i) {
        soci::session& sql = pool_.at(i);
        sql.open(*soci::factory_sqlite3(), connect);
        configureConnection(sql, i == 0);
    }
}

} // namespace durnak::server
