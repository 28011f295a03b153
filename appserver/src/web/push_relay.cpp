#include "web/push_relay.hpp"

#include <set>
#include <string>

#include <boost/json/array.hpp>
#include <boost/json/object.hpp>
#include <soci/soci.h>

#include "log.hpp"
#include "methods/domain_support.hpp"
#include "net/push_hub.hpp"
#include "store/store.hpp"

namespace durnak::server::web {

namespace {
// Old events are only history; keep a tail for inspection.
constexpr long long kKeepEvents = 1000;
}

PushRelay::PushRelay(Store& store, PushHub& hub, std::chrono::milliseconds interval)
    : store_(store), hub_(hub), interval_(interval)
{
}

PushRelay::~PushRelay()
{
    stop();
}

void PushRelay::start()
{
    // Changes made while the server was down need no notification: clients load everything
    // when they connect.
    soci::session sql(store_.pool());
    sql << "SELECT COALESCE(MAX(id), 0) FROM push_events", soci::into(lastSeen_);
    thread_ = std::thread([this] { run(); });
}

void PushRelay::stop()
{
    stopping_ = true;
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
}

void PushRelay::run()
{
    int rounds = 0;
    while (!stopping_) {
        {
            std::unique_lock lock(mutex_);
            wake_.wait_for(lock, interval_, [this] { return stopping_.load(); });
        }
        if (stopping_) break;
        try {
            poll();
            if (++rounds % 3000 == 0) {
                soci::session sql(store_.pool());
                const long long below = lastSeen_ - kKeepEvents;
                sql << "DELETE FROM push_events WHERE id < :below", soci::use(below);
            }
        } catch (const std::exception& e) {
            logError(std::string("push relay: ") + e.what());
        }
    }
}

void PushRelay::poll()
{
    std::set<std::string> reasons;
    long long newest = lastSeen_;
    {
        soci::session sql(store_.pool());
        soci::rowset<soci::row> rows =
            (sql.prepare << "SELECT id, reason FROM push_events WHERE id > :last ORDER BY id LIMIT 1000",
             soci::use(lastSeen_));
        for (const auto& r : rows) {
            newest = db::integer(r, 0);
            reasons.insert(db::text(r, 1));
        }
    }
    if (newest == lastSeen_) return;
    lastSeen_ = newest;
    // Changes that land together make one refresh: the client reloads everything anyway.
    boost::json::array list;
    for (const auto& r : reasons) list.emplace_back(r);
    const auto reached = hub_.notifyAll(boost::json::object{{"yenile", std::move(list)}});
    logInfo("push: content changed, notified " + std::to_string(reached) + " channels");
}

} // namespace durnak::server::web
