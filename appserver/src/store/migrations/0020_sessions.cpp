#include "store/migrations.hpp"

namespace durnak::server {

// Signed-in sessions. The token itself never reaches the database, only its hash, so a copy
// of the database cannot be used to act as somebody. Times are Unix seconds; ended_at is set
// by sign-out and by a password reset and stays null while the session may be used.
Migration migration0020Sessions()
{
    return {20,
            "sessions",
            {
                "CREATE TABLE auth_sessions ("
                " token_hash TEXT PRIMARY KEY,"
                " user_id INTEGER NOT NULL REFERENCES users(id) ON DELETE CASCADE,"
                " computer_id TEXT NOT NULL,"
                " peer TEXT NOT NULL DEFAULT '',"
                " created_at BIGINT NOT NULL,"
                " last_used_at BIGINT NOT NULL,"
                " expires_at BIGINT NOT NULL,"
                " ended_at BIGINT)",
                "CREATE INDEX auth_sessions_user ON auth_sessions(user_id)",
            }};
}

} // namespace durnak::server
