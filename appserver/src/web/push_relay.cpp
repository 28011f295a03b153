#include "web/push_relay.hpp"

#include <poll.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>

#include <libpq-fe.h>

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

namespace {

// PostgreSQL: a connection of its own LISTENs on the channel the push_events trigger
// notifies, so a change made through any server or the admin tool is relayed at once. The
// table is still read every interval, which covers a lost listening connection.
class ChangeListener {
public:
    explicit ChangeListener(const std::string& url) : url_(url) { connect(); }
    ~ChangeListener()
    {
        if (conn_) PQfinish(conn_);
    }
    ChangeListener(const ChangeListener&) = delete;
    ChangeListener& operator=(const ChangeListener&) = delete;

    // Waits up to `timeout` for a notification; true when one (or more) came.
    bool wait(std::chrono::milliseconds timeout)
    {
        if (!conn_ || PQstatus(conn_) != CONNECTION_OK) {
            if (std::chrono::steady_clock::now() >= retryAt_) connect();
            if (!conn_) return false;
        }
        pollfd fd{PQsocket(conn_), POLLIN, 0};
        if (::poll(&fd, 1, static_cast<int>(timeout.count())) <= 0) return false;
        if (!PQconsumeInput(conn_)) {
            logWarning(std::string("push: listening connection lost: ") + PQerrorMessage(conn_));
            drop();
            return false;
        }
        bool any = false;
        while (PGnotify* n = PQnotifies(conn_)) {
            any = true;
            PQfreemem(n);
        }
        return any;
    }

    bool listening() const { return conn_ != nullptr; }

private:
    void connect()
    {
        drop();
        conn_ = PQconnectdb(url_.c_str());
        PGresult* r = PQstatus(conn_) == CONNECTION_OK ? PQexec(conn_, "LISTEN durnak_push") : nullptr;
        const bool ok = r && PQresultStatus(r) == PGRES_COMMAND_OK;
        PQclear(r);
        if (!ok) {
            logWarning(std::string("push: cannot listen for changes, reading the table only: ") +
                       PQerrorMessage(conn_));
            drop();
        }
    }
    void drop()
    {
        if (conn_) PQfinish(conn_);
        conn_ = nullptr;
        retryAt_ = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    }

    std::string url_;
    PGconn* conn_ = nullptr;
    std::chrono::steady_clock::time_point retryAt_{};
};

} // namespace

void PushRelay::run()
{
    std::unique_ptr<ChangeListener> listener;
    if (store_.dialect() == Dialect::Postgres) listener = std::make_unique<ChangeListener>(store_.databasePath());
    int rounds = 0;
    while (!stopping_) {
        if (listener) {
            // Short waits, so a stop is seen within a tenth of a second. While notifications
            // arrive the table is only read for them and now and then.
            const auto every = listener->listening() ? std::max<std::chrono::milliseconds>(interval_, std::chrono::seconds(2))
                                                     : interval_;
            const auto until = std::chrono::steady_clock::now() + every;
            while (!stopping_ && std::chrono::steady_clock::now() < until &&
                   !listener->wait(std::chrono::milliseconds(100))) {
            }
        } else {
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
