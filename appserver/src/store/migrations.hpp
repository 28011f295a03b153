#pragma once

#include <string>
#include <vector>

namespace soci {
class session;
}

namespace durnak::server {

// One schema step. Its statements run in one transaction together with the row that
// records it in schema_version, so a failed step leaves no trace and is retried on the
// next start.
struct Migration {
    int version = 0;
    std::string name;
    std::vector<std::string> statements;
};

// Applies the steps newer than the database's schema_version, in order; returns how many
// ran. Safe against another server starting on the same database at the same time.
// Throws when the database is newer than the list (an older server on a newer schema).
int applyMigrations(soci::session& sql, const std::vector<Migration>& migrations);

// The highest applied version, 0 on an empty database.
int schemaVersion(soci::session& sql);

// The server's own schema, oldest first (store/migrations/all.cpp).
const std::vector<Migration>& schemaMigrations();

} // namespace durnak::server
