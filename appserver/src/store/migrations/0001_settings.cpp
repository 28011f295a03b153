#include "store/migrations.hpp"

namespace durnak::server {

Migration migration0001Settings()
{
    return {1,
            "settings",
            {
                // Server-wide values the admin tool changes at run time (texts, switches).
                "CREATE TABLE settings ("
                " name TEXT PRIMARY KEY,"
                " value TEXT NOT NULL,"
                " updated_at TEXT NOT NULL DEFAULT CURRENT_TIMESTAMP)",
            }};
}

} // namespace durnak::server
