#include "auth/throttle.hpp"

#include <algorithm>
#include <optional>

#include <soci/soci.h>

#include "methods/domain_support.hpp"

namespace durnak::server::auth {
namespace {

std::string computerKey(const std::string& id) { return "id:" + id; }
std::string addressKey(const std::string& address) { return "ip:" + address; }

std::optional<ThrottleEntry> load(soci::session& sql, const std::string& key)
{
    ThrottleEntry e;
    soci::indicator found = soci::i_null;
    sql << "SELECT failures, last_failure, blocked_until FROM signin_throttle WHERE key = :k",
        soci::into(e.failures, found), soci::into(e.lastFailure), soci::into(e.blockedUntil), soci::use(key);
    if (!sql.got_data() || found == soci::i_null) return std::nullopt;
    return e;
}

void fail(soci::session& sql, const std::string& key, int freeFailures, const ThrottleRules& rules,
          std::int64_t now)
{
    const ThrottleEntry e = afterFailure(load(sql, key).value_or(ThrottleEntry{}), freeFailures, rules, now);
    sql << "INSERT INTO signin_throttle (key, failures, last_failure, blocked_until) VALUES (:k, :f, :l, :b)"
           " ON CONFLICT (key) DO UPDATE SET failures = excluded.failures, last_failure = excluded.last_failure,"
           " blocked_until = excluded.blocked_until",
        soci::use(key), soci::use(e.failures), soci::use(e.lastFailure), soci::use(e.blockedUntil);
}

// Forgotten counters go; a flood of fresh keys beyond the cap costs the counters that pause
// nobody, and keeps the pausing ones, which matter most.
void prune(soci::session& sql, const ThrottleRules& rules, std::int64_t now)
{
    const std::int64_t forgotten = now - rules.forgetAfter.count();
    sql << "DELETE FROM signin_throttle WHERE blocked_until <= :n AND last_failure < :f", soci::use(now),
        soci::use(forgotten);
    long long count = 0;
    sql << "SELECT COUNT(*) FROM signin_throttle", soci::into(count);
    if (count >= static_cast<long long>(rules.maxEntries))
        sql << "DELETE FROM signin_throttle WHERE blocked_until <= :n", soci::use(now);
}

} // namespace

ThrottleEntry afterFailure(ThrottleEntry e, int freeFailures, const ThrottleRules& rules, std::int64_t now)
{
    if (e.failures > 0 && now - e.lastFailure > rules.forgetAfter.count()) e = ThrottleEntry{};
    ++e.failures;
    e.lastFailure = now;
    const int over = e.failures - freeFailures;
    if (over <= 0) return e;
    std::int64_t pause = rules.firstPause.count();
    for (int i = 1; i < over && pause < rules.longestPause.count(); ++i) pause *= 2;
    e.blockedUntil = now + std::min<std::int64_t>(pause, rules.longestPause.count());
    return e;
}

std::int64_t SignInThrottle::wait(soci::session& sql, const std::string& computerId, const std::string& address,
                                  std::int64_t now) const
{
    std::int64_t seconds = 0;
    for (const std::string& key : {computerId.empty() ? std::string() : computerKey(computerId),
                                   address.empty() ? std::string() : addressKey(address)}) {
        if (key.empty()) continue;
        if (const auto e = load(sql, key)) seconds = std::max(seconds, e->blockedUntil - now);
    }
    return seconds;
}

void SignInThrottle::record(soci::session& sql, const std::string& computerId, const std::string& address,
                            bool success, std::int64_t now) const
{
    if (success) {
        // Bound by reference until the statement runs: named, not temporaries.
        const std::string idKey = computerKey(computerId), ipKey = addressKey(address);
        sql << "DELETE FROM signin_throttle WHERE key = :i OR key = :a", soci::use(idKey), soci::use(ipKey);
        return;
    }
    // Counting reads and writes back: one writer at a time on the database, so two servers
    // counting failures at once do not lose one.
    db::WriteTransaction tx(sql);
    prune(sql, rules_, now);
    if (!computerId.empty()) fail(sql, computerKey(computerId), rules_.freePerComputer, rules_, now);
    if (!address.empty()) fail(sql, addressKey(address), rules_.freePerAddress, rules_, now);
    tx.commit();
}

} // namespace durnak::server::auth
