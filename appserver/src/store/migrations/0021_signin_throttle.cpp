#include "store/migrations.hpp"

namespace durnak::server {

// Failed sign-in counters, shared by every server on the database; keys are "id:<computer
// ID>" and "ip:<address>", times Unix seconds.
Migration migration0021SigninThrottle()
{
    return {21,
            "signin_throttle",
            {
                "CREATE TABLE signin_throttle ("
                " key TEXT PRIMARY KEY,"
                " failures INTEGER NOT NULL,"
                " last_failure BIGINT NOT NULL,"
                " blocked_until BIGINT NOT NULL)",
            }};
}

} // namespace durnak::server
