#pragma once

#include <cstddef>
#include <string>

#include <soci/connection-pool.h>

namespace durnak::server {

struct StoreOptions {
    std::string databasePath;
    std::size_t poolSize = 4;
};

// The server's database: a fixed pool of SQLite connections in WAL mode, so readers on
// different workers do not wait for each other and a writer waits (busy time-out) instead
// of failing while another one commits. Lease a connection with `soci::session sql(pool())`.
class Store {
public:
    explicit Store(const StoreOptions& options);

    Store(const Store&) = delete;
    Store& operator=(const Store&) = delete;

    soci::connection_pool& pool() { return pool_; }
    std::size_t poolSize() const { return size_; }
    const std::string& databasePath() const { return path_; }

private:
    std::string path_;
    std::size_t size_;
    soci::connection_pool pool_;
};

} // namespace durnak::server
