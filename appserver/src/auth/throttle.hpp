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
// counters that saw no failure for a day are forgotten. Kept in memory: a restart forgives.

#include <chrono>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>

namespace durnak::server::auth {

struct ThrottleRules {
    int freePerComputer = 5;
    int freePerAddress = 20;
    std::chrono::seconds firstPause{30};
    std::chrono::seconds longestPause{15 * 60};
    std::chrono::seconds forgetAfter{24 * 3600};
    std::size_t maxEntries = 100000;  // beyond this, forgotten entries are dropped first
};

class SignInThrottle {
public:
    explicit SignInThrottle(ThrottleRules rules = {}) : rules_(rules) {}

    // Seconds before the next attempt from this computer ID or address is checked; 0: now.
    std::int64_t wait(const std::string& computerId, const std::string& address, std::int64_t now) const;
    void record(const std::string& computerId, const std::string& address, bool success, std::int64_t now);

private:
    struct Entry {
        int failures = 0;
        std::int64_t lastFailure = 0;
        std::int64_t blockedUntil = 0;
    };
    void fail(const std::string& key, int freeFailures, std::int64_t now);
    std::int64_t waitOf(const std::string& key, std::int64_t now) const;
    void prune(std::int64_t now);

    ThrottleRules rules_;
    mutable std::mutex mutex_;
    std::map<std::string, Entry> entries_;
};

} // namespace durnak::server::auth
