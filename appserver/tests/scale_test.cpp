// Several servers on one PostgreSQL database: sessions, push notifications and orders are
// shared through the database, and a server that dies loses nothing the others cannot carry
// on with. Runs when DURNAK_TEST_POSTGRES names a PostgreSQL server (tests/run_with_postgres.sh).

#include <gtest/gtest.h>
#include <signal.h>

#include <atomic>
#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <boost/json/serialize.hpp>

#include "demo_database.hpp"
#include "durnak/protocol/error.hpp"
#include "durnak/protocol/marshal.hpp"
#include "durnak/protocol/records.hpp"
#include "integration.hpp"
#include "server_process.hpp"
#include "test_client.hpp"

namespace durnak::testing {
namespace {

using protocol::Value;

class SharedDatabase : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!testingOnPostgres()) GTEST_SKIP() << "needs DURNAK_TEST_POSTGRES (several servers share PostgreSQL)";
        db = seededDatabaseCopy();
        ServerOptions options;
        options.dbPath = db;
        first = std::make_unique<ServerProcess>(options);
        second = std::make_unique<ServerProcess>(options);
    }

    // Signs the representative in on a server; answers the session token.
    static std::string signIn(std::uint16_t port)
    {
        TestClient client(port);
        const auto welcome = client.hello(
            {{"computerId", kRepComputerId}, {"user", "TEMSILCI"}, {"password", kDemoPassword}});
        const std::string token(welcome.optionalString("token"));
        EXPECT_FALSE(token.empty()) << "no session token in the welcome";
        return token;
    }

    static std::vector<Value> call(std::uint16_t port, const std::string& token, const std::string& method,
                                   const std::vector<Value>& params)
    {
        TestClient client(port);
        client.hello({{"computerId", kRepComputerId}, {"token", token}});
        return client.call("TServerMethods1." + method, params);
    }

    static protocol::TSonucBilgisi account(std::uint16_t port, const std::string& token, std::int32_t carino)
    {
        auto out = call(port, token, "BuyukGetir", {Value(std::string(kRepComputerId))});
        auto record = protocol::fromValue<protocol::TSonucBilgisi>(out.back());
        record.FCARINO = carino;
        return record;
    }

    std::string db;
    std::unique_ptr<ServerProcess> first, second;
};

TEST_F(SharedDatabase, SessionAndBasketAreTheSameOnEveryServer)
{
    const auto token = signIn(first->port());
    const auto record = account(second->port(), token, 1005);
    ASSERT_TRUE(record.FVarmi);
    EXPECT_EQ(record.FADI, "TEMSILCI");

    // A line added through one server is in the basket the other one answers.
    call(first->port(), token, "SepetEkle2",
         {protocol::toValue(record), Value(1005), Value(7), Value(""), Value(""), Value(3.0), Value(20.0),
          Value(0.0), Value(0.0), Value(record.FSirano), Value(0), Value(0.0), Value(0.0), Value(0.0)});
    const auto basket = call(second->port(), token, "SepetVer2", {Value(1005)}).back().asDataPacket();
    ASSERT_EQ(basket.rowCount(), 1u);
    EXPECT_EQ(basket.intAt(0, static_cast<std::size_t>(basket.columnIndex("STOKNO"))), 7);

    // A token nobody issued is no session on either server.
    for (auto port : {first->port(), second->port()}) {
        TestClient client(port);
        const auto welcome = client.hello({{"computerId", kRepComputerId}, {"token", "0123456789abcdef"}});
        EXPECT_FALSE(welcome.json.contains("session") && welcome.json.at("session").as_bool());
    }
}

TEST_F(SharedDatabase, AdminChangeReachesTheChannelsOfEveryServer)
{
    const auto token = signIn(first->port());
    std::vector<std::unique_ptr<TestClient>> channels;
    for (auto port : {first->port(), second->port()}) {
        auto client = std::make_unique<TestClient>(port);
        client->hello({{"computerId", kRepComputerId}, {"token", token}});
        client->send({{"op", "register"}, {"channel", "DurnakOto"}, {"managerId", "DurnakOtoId"},
                      {"callback", "DurnakOto"}});
        client->expect(protocol::op::Ack);
        channels.push_back(std::move(client));
    }
    runAdmin(db, "set-marquee 'Tüm sunuculara duyuru'");
    for (auto& channel : channels) {
        const auto notify = channel->expect(protocol::op::Notify);
        EXPECT_NE(boost::json::serialize(notify.json.at("payload")).find("ayar:kayan_yazi"), std::string::npos);
        channel->send({{"op", "ack"}, {"value", true}});
    }
    // The servers heard of the change through LISTEN/NOTIFY, not only by reading the table.
    for (auto* server : {first.get(), second.get()})
        EXPECT_EQ(server->errorOutput().find("cannot listen"), std::string::npos) << server->errorOutput();
}

// The same basket ordered at the same moment through both servers (a double click, a retry
// on the other server): one order takes the lines, the others find nothing to order.
TEST_F(SharedDatabase, SimultaneousOrdersOfOneBasketStoreOneOrder)
{
    const auto token = signIn(first->port());
    const std::int32_t carino = 1020;
    const auto record = account(first->port(), token, carino);
    const Value session = protocol::toValue(record);
    for (int round = 0; round < 5; ++round) {
        for (std::int32_t stokno : {11, 22, 33})
            call(round % 2 ? second->port() : first->port(), token, "SepetEkle2",
                 {session, Value(carino), Value(stokno + round), Value(""), Value(""), Value(1.0), Value(20.0),
                  Value(0.0), Value(0.0), Value(record.FSirano), Value(0), Value(0.0), Value(0.0), Value(0.0)});
        const std::string note = "aynı-sepet-" + std::to_string(round);
        std::atomic<int> stored{0}, empty{0};
        std::vector<std::string> errors;
        std::mutex mutex;
        std::vector<std::thread> clicks;
        for (int i = 0; i < 6; ++i) {
            clicks.emplace_back([&, i] {
                try {
                    const auto answer = call(i % 2 ? second->port() : first->port(), token, "SiparisKaydet",
                                             {session, Value(carino), Value(1), Value(1), Value(note),
                                              Value(record.FSirano), Value(0)});
                    ++(answer.back() == Value(true) ? stored : empty);
                } catch (const std::exception& e) {
                    std::lock_guard lock(mutex);
                    errors.push_back(e.what());
                }
            });
        }
        for (auto& t : clicks) t.join();
        EXPECT_TRUE(errors.empty()) << errors.front();
        EXPECT_EQ(stored.load(), 1) << "round " << round;
        EXPECT_EQ(empty.load(), 5) << "round " << round;
        EXPECT_EQ(queryScalar(db, "SELECT COUNT(*) FROM orders WHERE customer_note = '" + note + "'"), 1);
        EXPECT_EQ(queryScalar(db, "SELECT COUNT(*) FROM order_lines l JOIN orders o ON o.id = l.order_id"
                                  " WHERE o.customer_note = '" + note + "'"),
                  3);
    }
}

// Two processes migrating an empty database at the same moment (servers or admin tools
// starting together): one applies each schema step, the other waits for it, both succeed.
TEST(SharedDatabaseStart, MigratingTogetherAppliesEachStepOnce)
{
    if (!testingOnPostgres()) GTEST_SKIP() << "needs DURNAK_TEST_POSTGRES";
    const std::string db = freshDatabase();
    std::string errors[2];
    std::thread migrators[2];
    for (int i = 0; i < 2; ++i) {
        migrators[i] = std::thread([&, i] {
            try {
                runAdmin(db, "init");
            } catch (const std::exception& e) {
                errors[i] = e.what();
            }
        });
    }
    for (auto& t : migrators) t.join();
    EXPECT_EQ(errors[0] + errors[1], "");
    EXPECT_EQ(queryScalar(db, "SELECT COUNT(*) - COUNT(DISTINCT version) FROM schema_version"), 0);
    EXPECT_GE(queryScalar(db, "SELECT COUNT(*) FROM schema_version"), 4);
    // And the servers run on what they made.
    ServerOptions options;
    options.dbPath = db;
    ServerProcess server(options);
    TestClient client(server.port());
    client.hello();
    client.send({{"op", "ping"}});
    client.expect(protocol::op::Pong);
}

// Clients spread over both servers keep ordering while one of them is killed: a call that
// fails before its answer goes to the other server, as the desktop client retries. Every
// order a client was told about is stored once, an order whose answer was lost at most
// once, and no order is without lines.
TEST_F(SharedDatabase, KillingOneServerLosesNoOrder)
{
    const std::uint16_t ports[2] = {first->port(), second->port()};
    const auto token = signIn(ports[0]);
    constexpr int kClients = 4;
    std::atomic<bool> stop{false};
    std::mutex mutex;
    std::set<std::string> confirmed, unsure;
    std::atomic<int> afterKill{0};
    std::atomic<bool> killed{false};
    std::vector<std::string> failures;

    std::vector<std::thread> clients;
    for (int c = 0; c < kClients; ++c) {
        clients.emplace_back([&, c] {
            const std::int32_t carino = 1010 + c;
            int server = c % 2;
            protocol::TSonucBilgisi record;
            // Tries the call on one server, then on the other when no answer came.
            auto callAnywhere = [&](const std::string& method, const std::vector<Value>& params) {
                for (int attempt = 0;; ++attempt) {
                    try {
                        return call(ports[server], token, method, params);
                    } catch (const protocol::ServerError&) {
                        throw;
                    } catch (const std::exception&) {
                        if (attempt >= 3) throw;
                        server = 1 - server;
                    }
                }
            };
            try {
                record = protocol::fromValue<protocol::TSonucBilgisi>(
                    callAnywhere("BuyukGetir", {Value(std::string(kRepComputerId))}).back());
                record.FCARINO = carino;
                for (int n = 0; !stop; ++n) {
                    const Value session = protocol::toValue(record);
                    callAnywhere("SepetEkle2", {session, Value(carino), Value(1 + (n * 7 + c) % 300), Value(""),
                                                Value(""), Value(2.0), Value(20.0), Value(0.0), Value(0.0),
                                                Value(record.FSirano), Value(0), Value(0.0), Value(0.0),
                                                Value(0.0)});
                    const std::string note = "ölçek-" + std::to_string(c) + "-" + std::to_string(n);
                    const bool wasKilled = killed;
                    try {
                        // Not sent twice: a lost answer may hide a stored order.
                        const auto answer = call(ports[server], token, "SiparisKaydet",
                                                 {session, Value(carino), Value(1), Value(1), Value(note),
                                                  Value(record.FSirano), Value(0)});
                        std::lock_guard lock(mutex);
                        if (answer.back() == Value(true)) confirmed.insert(note);
                        else failures.push_back(note + ": nothing stored");
                        if (wasKilled) ++afterKill;
                    } catch (const protocol::ServerError& e) {
                        std::lock_guard lock(mutex);
                        failures.push_back(note + ": " + e.what());
                    } catch (const std::exception&) {
                        std::lock_guard lock(mutex);
                        unsure.insert(note);
                        server = 1 - server;
                    }
                    // A basket left by a lost order must not flow into the next one.
                    callAnywhere("SepetHepsiniSil", {session});
                }
            } catch (const std::exception& e) {
                std::lock_guard lock(mutex);
                failures.push_back("client " + std::to_string(c) + ": " + e.what());
            }
        });
    }

    auto waitFor = [&](auto done) {
        for (int i = 0; i < 3000 && !done(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    };
    waitFor([&] {
        std::lock_guard lock(mutex);
        return confirmed.size() >= 10;
    });
    first->signal(SIGKILL);
    first->wait();
    killed = true;
    waitFor([&] { return afterKill >= 10; });
    stop = true;
    for (auto& t : clients) t.join();

    EXPECT_TRUE(failures.empty()) << failures.front();
    EXPECT_GE(afterKill.load(), 10) << "orders did not go on on the remaining server";
    for (const auto& note : confirmed)
        EXPECT_EQ(queryScalar(db, "SELECT COUNT(*) FROM orders WHERE customer_note = '" + note + "'"), 1) << note;
    for (const auto& note : unsure)
        EXPECT_LE(queryScalar(db, "SELECT COUNT(*) FROM orders WHERE customer_note = '" + note + "'"), 1) << note;
    const auto stored = queryScalar(db, "SELECT COUNT(*) FROM orders WHERE customer_note LIKE 'ölçek-%'");
    EXPECT_GE(stored, static_cast<long long>(confirmed.size()));
    EXPECT_LE(stored, static_cast<long long>(confirmed.size() + unsure.size()));
    EXPECT_EQ(queryScalar(db, "SELECT COUNT(*) FROM orders o WHERE customer_note LIKE 'ölçek-%' AND NOT EXISTS"
                              " (SELECT 1 FROM order_lines l WHERE l.order_id = o.id)"),
              0);
}

} // namespace
} // namespace durnak::testing
