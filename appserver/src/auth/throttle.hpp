#pragma once

// Back-off for failed sign-ins, per computer ID and per peer address.
//
// A few typing mistakes cost nothing; after that every further failure doubles a pause in
// which no password is checked at all:
//   computer ID: 5 free failures, then 30 s, 60 s, 120 s ... at most 15 minutes;
//   address:    20 free failures (an office behind one address has many workstations),
//               then the same pauses.
// Guessing a six-character password then takes years instead of hours, while a user who
// mistypes five times waits half a minute. A successful sign-in clears both counters;
// counters that saw no failure for a day are forgotten.
//
// The counters live in the database, so every server on it counts the same failures and a
// restart forgives nothing.

#include <chrono>
#include <cstdint>
#include <string>

namespace soci {
class session;
}

namespace durnak::server::auth {

struct ThrottleRules {
    int freePerComputer = 5;
    int freePerAddress = 20;
    std::chrono::seconds firstPause{30};
    std::chrono::seconds longestPause{15 * 60};
    std::chrono::seconds forgetAfter{24 * 3600};
    std::size_t maxEntries = 100000;  // beyond this, counters not pausing anybody are dropped
};

// One counter.
struct ThrottleEntry {
    int failures = 0;
    std::int64_t lastFailure = 0;
    std::int64_t blockedUntil = 0;
};

// The counter after one more failure at `now`.
ThrottleEntry afterFailure(ThrottleEntry entry, int freeFailures, const ThrottleRules& rules, std::int64_t now);

class SignInThrottle {
public:
    explicit SignInThrottle(ThrottleRules rules = {}) : rules_(rules) {}

    // Seconds before the next attempt from this computer ID or address is checked; 0: now.
    std::int64_t wait(soci::session& sql, const std::string& computerId, const std::string& address,
                      std::int64_t now) const;
    void record(soci::session& sql, const std::string& computerId, const std::string& address, bool success,
                std::int64_t now) const;

private:
    ThrottleRules rules_;
};

} // namespace durnak::server::auth
