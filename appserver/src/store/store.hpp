#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include <soci/connection-pool.h>

namespace soci {
class session;
}

namespace durnak::server {

// The two databases the server runs on. The SQL is shared; the few statements that truly
// differ ask the session's dialect (store/dialect.hpp) instead of keeping two copies.
enum class Dialect { Sqlite, Postgres };

struct StoreOptions {
    // A file path (SQLite) or a PostgreSQL URL: postgresql://user@host:port/database.
    std::string databasePath;
    std::size_t poolSize = 4;
};

// True for the PostgreSQL URL forms ("postgresql://" or "postgres://").
bool isPostgresUrl(std::string_view database);

// The dialect of an open session.
Dialect dialectOf(soci::session& sql);

// The server's database: a fixed pool of connections. SQLite runs in WAL mode, so readers on
// different workers do not wait for each other and a writer waits (busy time-out) instead
// of failing while another one commits. PostgreSQL lets several servers share one database.
// Lease a connection with `soci::session sql(pool())`.
class Store {
public:
    explicit Store(const StoreOptions& options);

    Store(const Store&) = delete;
    Store& operator=(const Store&) = delete;

    soci::connection_pool& pool() { return pool_; }
    std::size_t poolSize() const { return size_; }
    const std::string& databasePath() const { return path_; }
    Dialect dialect() const { return dialect_; }

private:
    std::string path_;
    std::size_t size_;
    Dialect dialect_;
    soci::connection_pool pool_;
};

// Databases hide passwords in their URL; logs get the URL without them.
std::string displayName(const std::string& database);

} // namespace durnak::server
