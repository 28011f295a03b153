// Load driver: N simulated desktop clients against durnak-server, the way the program calls.
//
// Every call is a connection of its own: hello with the workstation's computer ID and the
// session token (the first hello of a client carries the typed credentials and opens the
// session), one call, close. Each client acts for its own customer (a sales representative
// working for customer `--first-customer + i`), so its basket and orders are its own, and
// runs a mix of stock searches, basket changes, orders and the tab loads of previous orders,
// statement and balances until the time is up.
//
// Afterwards every order a client placed is looked up in the database by its note: each
// order the server confirmed must be stored exactly once, an order whose answer was lost
// (a killed server) at most once, and nothing else may carry a driver's note.
//
// With --http PORT PATH the same clients fetch a file over HTTP instead (one connection per
// request), the baseline the figures are compared with.
//
// Usage: load_driver --port P[,P...] --clients N --seconds S --db DATABASE
//                    [--first-customer C] [--items N] [--pid PID[,PID]] [--kill PID --kill-after S]
//        load_driver --http PORT PATH --clients N --seconds S

#include <signal.h>
#include <sys/types.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <random>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <boost/asio/connect.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/read.hpp>
#include <boost/asio/write.hpp>
#include <soci/soci.h>

#include "durnak/protocol/error.hpp"
#include "durnak/protocol/marshal.hpp"
#include "durnak/protocol/records.hpp"
#include "methods/domain_support.hpp"
#include "store/store.hpp"
#include "test_client.hpp"

namespace {

using Clock = std::chrono::steady_clock;
using durnak::protocol::Value;
using durnak::testing::TestClient;

constexpr const char* kComputerId = "TEST-DISK-0002";  // the demo representative's workstation
constexpr const char* kUser = "TEMSILCI";
constexpr const char* kPassword = "DEMO";

struct Options {
    std::vector<std::uint16_t> ports;
    int clients = 10;
    double seconds = 10;
    std::string db;
    int firstCustomer = 2001;
    int items = 400;
    std::vector<pid_t> pids;
    pid_t killPid = 0;
    double killAfter = 0;
    std::uint16_t httpPort = 0;
    std::string httpPath;
    std::string tag = std::to_string(::getpid());  // tells this run's orders from earlier ones
};

std::vector<std::string> split(const std::string& s, char sep)
{
    std::vector<std::string> out;
    std::stringstream in(s);
    for (std::string part; std::getline(in, part, sep);)
        if (!part.empty()) out.push_back(part);
    return out;
}

Options parse(int argc, char** argv)
{
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto next = [&]() -> std::string {
            if (i + 1 >= argc) throw std::runtime_error(a + " needs a value");
            return argv[++i];
        };
        if (a == "--port") {
            for (const auto& p : split(next(), ',')) o.ports.push_back(static_cast<std::uint16_t>(std::stoi(p)));
        } else if (a == "--clients") {
            o.clients = std::max(1, std::stoi(next()));
        } else if (a == "--seconds") {
            o.seconds = std::max(0.5, std::stod(next()));
        } else if (a == "--db") {
            o.db = next();
        } else if (a == "--first-customer") {
            o.firstCustomer = std::stoi(next());
        } else if (a == "--items") {
            o.items = std::max(1, std::stoi(next()));
        } else if (a == "--pid") {
            for (const auto& p : split(next(), ',')) o.pids.push_back(std::stoi(p));
        } else if (a == "--kill") {
            o.killPid = std::stoi(next());
        } else if (a == "--kill-after") {
            o.killAfter = std::stod(next());
        } else if (a == "--http") {
            o.httpPort = static_cast<std::uint16_t>(std::stoi(next()));
            o.httpPath = next();
        } else {
            throw std::runtime_error("unknown argument " + a);
        }
    }
    if (o.httpPort == 0 && (o.ports.empty() || o.db.empty())) throw std::runtime_error("--port and --db are needed");
    return o;
}

// What the clients measured, merged at the end.
struct Tally {
    std::map<std::string, std::vector<double>> latencies;  // milliseconds per call kind
    std::map<std::string, long> errors;
    std::vector<std::string> errorSamples;
    std::vector<std::string> confirmedOrders;  // notes of orders the server said it stored
    std::vector<std::string> unsureOrders;     // notes of orders whose answer was lost
    long retries = 0;

    void merge(Tally&& other)
    {
        for (auto& [k, v] : other.latencies) latencies[k].insert(latencies[k].end(), v.begin(), v.end());
        for (auto& [k, n] : other.errors) errors[k] += n;
        for (auto& s : other.errorSamples)
            if (errorSamples.size() < 10) errorSamples.push_back(std::move(s));
        confirmedOrders.insert(confirmedOrders.end(), other.confirmedOrders.begin(), other.confirmedOrders.end());
        unsureOrders.insert(unsureOrders.end(), other.unsureOrders.begin(), other.unsureOrders.end());
        retries += other.retries;
    }
};

// A connection or stream failure before the answer: the server may or may not have done it.
struct Unanswered : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class SimulatedClient {
public:
    SimulatedClient(const Options& options, int index)
        : options_(options), index_(index), customer_(options.firstCustomer + index), rng_(1000u + index)
    {
    }

    // Signs in as the desktop program does at start; false (error counted) when that fails.
    bool start(Tally& tally)
    {
        tally_ = &tally;
        try {
            signIn();
            return true;
        } catch (const std::exception& e) {
            fail("sign-in", e.what());
            return false;
        }
    }

    void run(Clock::time_point end)
    {
        while (Clock::now() < end) step();
    }

private:
    // One connection: hello, one call. A connection that fails before the answer is tried
    // again once on a new connection, as the desktop client does; the balancer sends it to
    // a live server.
    std::vector<Value> call(const std::string& kind, const std::string& method, const std::vector<Value>& params,
                            bool retry = true)
    {
        const auto start = Clock::now();
        for (int attempt = 0;; ++attempt) {
            try {
                std::vector<Value> out;
                try {
                    TestClient c(pickPort(), std::chrono::seconds(30));
                    c.hello(boost::json::object{{"computerId", kComputerId}, {"token", token_}});
                    out = c.call("TServerMethods1." + method, params);
                } catch (const durnak::protocol::ServerError&) {
                    throw;
                } catch (const std::exception& e) {
                    throw Unanswered(e.what());
                }
                tally_->latencies[kind].push_back(
                    std::chrono::duration<double, std::milli>(Clock::now() - start).count());
                return out;
            } catch (const Unanswered&) {
                if (!retry || attempt >= 2) throw;
                ++tally_->retries;
                std::this_thread::sleep_for(std::chrono::milliseconds(50 * (attempt + 1)));
            }
        }
    }

    std::uint16_t pickPort() { return options_.ports[std::uniform_int_distribution<std::size_t>(0, options_.ports.size() - 1)(rng_)]; }

    void fail(const std::string& kind, const std::string& what)
    {
        ++tally_->errors[kind];
        if (tally_->errorSamples.size() < 10) tally_->errorSamples.push_back(kind + ": " + what);
    }

    void signIn()
    {
        for (int attempt = 0;; ++attempt) {
            try {
                TestClient c(pickPort(), std::chrono::seconds(120));
                auto welcome = c.hello(
                    boost::json::object{{"computerId", kComputerId}, {"user", kUser}, {"password", kPassword}});
                token_ = std::string(welcome.optionalString("token"));
                break;
            } catch (const std::exception&) {
                if (attempt >= 2) throw;
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            }
        }
        auto out = call("BuyukGetir", "BuyukGetir", {Value(std::string(kComputerId))});
        bilgi_ = durnak::protocol::fromValue<durnak::protocol::TSonucBilgisi>(out.back());
        bilgi_.FCARINO = customer_;  // the customer the representative works for
        // A basket left from an earlier run would end up in this run's first order.
        call("SepetHepsiniSil", "SepetHepsiniSil", {durnak::protocol::toValue(bilgi_)});
    }

    Value record() const { return durnak::protocol::toValue(bilgi_); }

    void step()
    {
        static const char* const kSearches[] = {"FREN", "BALATA", "FILTRE", "AMORTISOR", "YAG FILTRESI",
                                                "FB-000", "FD", "DISK", "HAVA", "KALIPER",
                                                "FREN DISKI", "HORTUM", "ON SOL", "YF-0001", "RADYATOR"};
        const int roll = std::uniform_int_distribution<int>(0, 99)(rng_);
        try {
            if (roll < 45) {
                const char* term = kSearches[std::uniform_int_distribution<std::size_t>(0, std::size(kSearches) - 1)(rng_)];
                call("StokAraGetir", "StokAraGetir", {Value(std::string(term)), record()});
            } else if (roll < 62 || lines_.empty()) {
                const int stokno = std::uniform_int_distribution<int>(1, options_.items)(rng_);
                const double qty = std::uniform_int_distribution<int>(1, 5)(rng_);
                call("SepetEkle2", "SepetEkle2",
                                {record(), Value(customer_), Value(stokno), Value(""), Value(""), Value(qty),
                                 Value(20.0), Value(0.0), Value(0.0), Value(bilgi_.FSirano), Value(0), Value(0.0),
                                 Value(0.0), Value(0.0)});
                refreshLines();
            } else if (roll < 70) {
                const auto sirano = lines_[std::uniform_int_distribution<std::size_t>(0, lines_.size() - 1)(rng_)];
                const double qty = std::uniform_int_distribution<int>(1, 9)(rng_);
                call("SepetGuncelle2", "SepetGuncelle2",
                     {record(), Value(customer_), Value(0), Value(""), Value(""), Value(qty), Value(20.0),
                      Value(100.0), Value(0.0), Value(bilgi_.FSirano), Value(sirano), Value(0.0), Value(0.0),
                      Value(0.0)});
            } else if (roll < 74) {
                const auto at = std::uniform_int_distribution<std::size_t>(0, lines_.size() - 1)(rng_);
                call("SepetSatirSil", "SepetSatirSil", {record(), Value(lines_[at]), Value("")});
                lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(at));
            } else if (roll < 80) {
                order();
            } else if (roll < 85) {
                call("OncekiSiparisler", "OncekiSiparisler", {Value(customer_)});
            } else if (roll < 90) {
                call("CariEkstreVer", "CariEkstreVer", {Value(customer_)});
            } else if (roll < 95) {
                call("BakiyelerVer2", "BakiyelerVer2", {Value(customer_)});
            } else {
                call("SepetVer2", "SepetVer2", {Value(customer_)});
            }
        } catch (const std::exception& e) {
            fail("call", e.what());
        }
    }

    // The basket's line numbers, read back as the basket tab does.
    void refreshLines()
    {
        auto out = call("SepetVer2", "SepetVer2", {Value(customer_)});
        lines_.clear();
        const auto& table = out.back().asDataPacket();
        const int at = table.columnIndex("SIRANO");
        if (at < 0) throw std::runtime_error("SepetVer2 answered no SIRANO column");
        const auto col = static_cast<std::size_t>(at);
        for (std::size_t r = 0; r < table.rowCount(); ++r) lines_.push_back(static_cast<std::int32_t>(table.intAt(r, col)));
    }

    void order()
    {
        const std::string note = "yük-" + options_.tag + "-" + std::to_string(index_) + "-" + std::to_string(++orders_);
        try {
            // Not retried blindly: a second try after a lost answer would take a later basket.
            auto out = call("SiparisKaydet", "SiparisKaydet",
                            {record(), Value(customer_), Value(1), Value(1), Value(note), Value(bilgi_.FSirano),
                             Value(0)},
                            false);
            if (out.back().asBoolean()) tally_->confirmedOrders.push_back(note);
            else fail("SiparisKaydet", "nothing stored for " + note);
        } catch (const Unanswered&) {
            tally_->unsureOrders.push_back(note);
        }
        lines_.clear();
        // Whatever the outcome, the next order starts from an empty basket.
        call("SepetHepsiniSil", "SepetHepsiniSil", {record()});
    }

    const Options& options_;
    int index_;
    std::int32_t customer_;
    std::mt19937 rng_;
    Tally* tally_ = nullptr;
    std::string token_;
    durnak::protocol::TSonucBilgisi bilgi_;
    std::vector<std::int32_t> lines_;
    int orders_ = 0;
};

long rssKiB(pid_t pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(in, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    return 0;
}

double percentile(std::vector<double>& v, double p)
{
    if (v.empty()) return 0;
    const auto at = static_cast<std::size_t>(p * static_cast<double>(v.size() - 1));
    std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(at), v.end());
    return v[at];
}

// One GET per connection, read to the end: what a web server does for a client without keep-alive.
void httpClient(const Options& o, Clock::time_point end, Tally& tally)
{
    boost::asio::io_context io;
    const std::string request = "GET " + o.httpPath + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n";
    const boost::asio::ip::tcp::endpoint at(boost::asio::ip::make_address("127.0.0.1"), o.httpPort);
    while (Clock::now() < end) {
        const auto start = Clock::now();
        try {
            boost::asio::ip::tcp::socket s(io);
            s.connect(at);
            boost::asio::write(s, boost::asio::buffer(request));
            std::string response;
            boost::system::error_code ec;
            boost::asio::read(s, boost::asio::dynamic_buffer(response), ec);
            if (response.rfind("HTTP/1.1 200", 0) != 0) throw std::runtime_error("bad answer");
            tally.latencies["GET"].push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        } catch (const std::exception& e) {
            ++tally.errors["GET"];
            if (tally.errorSamples.size() < 10) tally.errorSamples.push_back(e.what());
        }
    }
}

// Every confirmed order exactly once, unsure ones at most once, no strangers.
int checkOrders(const Options& o, const Tally& tally)
{
    durnak::server::Store store({o.db, 1});
    soci::session sql(store.pool());
    const std::string pattern = "yük-" + o.tag + "-%";
    std::map<std::string, long> stored;
    long emptyOrders = 0;
    soci::rowset<soci::row> rows =
        (sql.prepare << "SELECT o.customer_note, (SELECT COUNT(*) FROM order_lines l WHERE l.order_id = o.id)"
                        " FROM orders o WHERE o.customer_note LIKE :p",
         soci::use(pattern));
    for (const auto& r : rows) {
        ++stored[durnak::server::db::text(r, 0)];
        if (durnak::server::db::integer(r, 1) == 0) ++emptyOrders;
    }
    long missing = 0, duplicated = 0, unexpected = 0, unsureStored = 0;
    std::set<std::string> known;
    for (const auto& note : tally.confirmedOrders) {
        known.insert(note);
        const auto n = stored.count(note) ? stored[note] : 0;
        if (n == 0) ++missing;
        if (n > 1) ++duplicated;
    }
    for (const auto& note : tally.unsureOrders) {
        known.insert(note);
        const auto n = stored.count(note) ? stored[note] : 0;
        if (n > 1) ++duplicated;
        if (n == 1) ++unsureStored;
    }
    for (const auto& [note, n] : stored)
        if (!known.count(note)) unexpected += n;
    std::printf("orders: %zu confirmed, %zu with lost answers (%ld of them stored), stored %zu;"
                " missing %ld, duplicated %ld, unexpected %ld, without lines %ld\n",
                tally.confirmedOrders.size(), tally.unsureOrders.size(), unsureStored, stored.size(), missing,
                duplicated, unexpected, emptyOrders);
    return missing == 0 && duplicated == 0 && unexpected == 0 && emptyOrders == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    Options o;
    try {
        o = parse(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "load_driver: %s\n", e.what());
        return 2;
    }
    ::signal(SIGPIPE, SIG_IGN);

    std::vector<Tally> tallies(static_cast<std::size_t>(o.clients));

    // Sign-in first, a few at a time: password hashing is meant to be slow, and desktop
    // programs start over the morning, not in the same second. The measured window starts
    // once every client is in.
    std::vector<std::unique_ptr<SimulatedClient>> clients;
    std::vector<char> ready(static_cast<std::size_t>(o.clients), 0);
    if (!o.httpPort) {
        const auto signInStart = Clock::now();
        std::atomic<int> next{0};
        std::vector<std::thread> signers;
        for (int i = 0; i < o.clients; ++i) clients.push_back(std::make_unique<SimulatedClient>(o, i));
        for (int w = 0; w < 4; ++w) {
            signers.emplace_back([&] {
                for (int i; (i = next++) < o.clients;) {
                    const auto at = static_cast<std::size_t>(i);
                    ready[at] = clients[at]->start(tallies[at]) ? 1 : 0;
                }
            });
        }
        for (auto& t : signers) t.join();
        for (auto& t : tallies) t.latencies.clear();  // sign-in calls are not part of the window
        std::printf("%d clients signed in in %.1f s\n", o.clients,
                    std::chrono::duration<double>(Clock::now() - signInStart).count());
    }

    const auto end = Clock::now() + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(o.seconds));
    const auto start = Clock::now();
    std::vector<std::thread> threads;
    threads.reserve(tallies.size());
    for (int i = 0; i < o.clients; ++i) {
        threads.emplace_back([&, i] {
            const auto at = static_cast<std::size_t>(i);
            if (o.httpPort) httpClient(o, end, tallies[at]);
            else if (ready[at]) clients[at]->run(end);
        });
    }

    // Peak memory of the servers, and the kill of one of them when asked.
    std::map<pid_t, long> peakRss;
    bool killed = false;
    while (Clock::now() < end) {
        for (auto pid : o.pids) peakRss[pid] = std::max(peakRss[pid], rssKiB(pid));
        if (o.killPid && !killed &&
            Clock::now() - start >= std::chrono::duration<double>(o.killAfter)) {
            ::kill(o.killPid, SIGKILL);
            killed = true;
            std::printf("killed server %d after %.1f s\n", static_cast<int>(o.killPid), o.killAfter);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    for (auto& t : threads) t.join();
    const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();

    Tally all;
    for (auto& t : tallies) all.merge(std::move(t));
    std::vector<double> every;
    long calls = 0, errors = 0;
    std::printf("%-18s %9s %9s %9s %9s\n", "call", "count", "p50 ms", "p99 ms", "errors");
    for (auto& [kind, v] : all.latencies) {
        calls += static_cast<long>(v.size());
        every.insert(every.end(), v.begin(), v.end());
        const auto n = v.size();
        const double p50 = percentile(v, 0.5), p99 = percentile(v, 0.99);
        std::printf("%-18s %9zu %9.2f %9.2f %9ld\n", kind.c_str(), n, p50, p99,
                    all.errors.count(kind) ? all.errors[kind] : 0L);
    }
    for (auto& [kind, n] : all.errors) errors += n;
    std::printf("clients %d, %.1f s: %ld calls, %.0f calls/s, p50 %.2f ms, p99 %.2f ms, errors %ld, retries %ld\n",
                o.clients, elapsed, calls, static_cast<double>(calls) / elapsed, percentile(every, 0.5),
                percentile(every, 0.99), errors, all.retries);
    for (const auto& s : all.errorSamples) std::printf("  error: %s\n", s.c_str());
    for (const auto& [pid, kib] : peakRss) std::printf("server %d peak RSS %.1f MiB\n", static_cast<int>(pid), kib / 1024.0);
    std::fflush(stdout);

    int status = errors == 0 ? 0 : 1;
    if (!o.httpPort) {
        try {
            status |= checkOrders(o, all);
        } catch (const std::exception& e) {
            std::printf("order check failed: %s\n", e.what());
            status = 1;
        }
    }
    return status;
}
