#include "auth/throttle.hpp"

#include <algorithm>

namespace durnak::server::auth {
namespace {

std::string computerKey(const std::string& id) { return "id:" + id; }
std::string addressKey(const std::string& address) { return "ip:" + address; }

} // namespace

std::int64_t SignInThrottle::waitOf(const std::string& key, std::int64_t now) const
{
    const auto it = entries_.find(key);
    if (it == entries_.end()) return 0;
    return std::max<std::int64_t>(0, it->second.blockedUntil - now);
}

std::int64_t SignInThrottle::wait(const std::string& computerId, const std::string& address, std::int64_t now) const
{
    std::lock_guard lock(mutex_);
    std::int64_t seconds = 0;
    if (!computerId.empty()) seconds = waitOf(computerKey(computerId), now);
    if (!address.empty()) seconds = std::max(seconds, waitOf(addressKey(address), now));
    return seconds;
}

void SignInThrottle::fail(const std::string& key, int freeFailures, std::int64_t now)
{
    Entry& e = entries_[key];
    if (e.failures > 0 && now - e.lastFailure > rules_.forgetAfter.count()) e = Entry{};
    ++e.failures;
    e.lastFailure = now;
    const int over = e.failures - freeFailures;
    if (over <= 0) return;
    std::int64_t pause = rules_.firstPause.count();
    for (int i = 1; i < over && pause < rules_.longestPause.count(); ++i) pause *= 2;
    e.blockedUntil = now + std::min<std::int64_t>(pause, rules_.longestPause.count());
}

void SignInThrottle::prune(std::int64_t now)
{
    if (entries_.size() < rules_.maxEntries) return;
    std::erase_if(entries_, [&](const auto& item) {
        return item.second.blockedUntil <= now && now - item.second.lastFailure > rules_.forgetAfter.count();
    });
    // Still full (a flood of fresh keys): keep the blocked ones, which matter most.
    if (entries_.size() >= rules_.maxEntries)
        std::erase_if(entries_, [&](const auto& item) { return item.second.blockedUntil <= now; });
}

void SignInThrottle::record(const std::string& computerId, const std::string& address, bool success,
                            std::int64_t now)
{
    std::lock_guard lock(mutex_);
    if (success) {
        entries_.erase(computerKey(computerId));
        entries_.erase(addressKey(address));
        return;
    }
    prune(now);
    if (!computerId.empty()) fail(computerKey(computerId), rules_.freePerComputer, now);
    if (!address.empty()) fail(addressKey(address), rules_.freePerAddress, now);
}

} // namespace durnak::server::auth
