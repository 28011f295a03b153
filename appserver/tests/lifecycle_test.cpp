#include <gtest/gtest.h>

#include <sqlite3.h>
#include <signal.h>

#include <atomic>
#include <thread>

#include "integration.hpp"

namespace durnak::testing {
namespace {

using protocol::Value;

TEST(Lifecycle, SigtermEndsWithExitCodeZero)
{
    ServerProcess server;
    TestClient idle(server.port());
    idle.hello();
    EXPECT_EQ(server.stop(), 0);
    EXPECT_TRUE(idle.waitForClose());
}

TEST(Lifecycle, SigtermLetsARunningCallFinish)
{
    ServerProcess server;
    TestClient watcher(server.port());
    watcher.hello();
    watcher.send({{"op", "register"}, {"channel", "DurnakOto"}, {"managerId", "DurnakOtoId"}, {"callback", "DurnakOto"}});
    watcher.expect(protocol::op::Ack);

    TestClient caller(server.port());
    caller.hello();
    caller.sendRaw(protocol::encodeCall("TServerMethods1.TestSleep", {Value(std::int32_t{300})}));
    // TestSleep announces itself once it runs; only then is the stop certain to meet it running.
    watcher.expect(protocol::op::Notify);
    server.signal(SIGTERM);

    auto answer = caller.expect(protocol::op::Result);
    EXPECT_EQ(protocol::decodeResult(std::move(answer)).back(), Value(std::int32_t{300}));
    EXPECT_TRUE(caller.waitForClose());
    EXPECT_EQ(server.wait(), 0);
}

struct VersionRows {
    int rows = -1;
    int distinct = -1;
    int highest = -1;
};

VersionRows readSchemaVersion(const std::string& path)
{
    sqlite3* db = nullptr;
    VersionRows result;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db, "SELECT COUNT(*), COUNT(DISTINCT version), MAX(version) FROM schema_version", -1,
                               &statement, nullptr) == SQLITE_OK &&
            sqlite3_step(statement) == SQLITE_ROW) {
            result = {sqlite3_column_int(statement, 0), sqlite3_column_int(statement, 1),
                      sqlite3_column_int(statement, 2)};
        }
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    return result;
}

TEST(Lifecycle, MigrationsApplyOnceAcrossRestarts)
{
    const auto folder = std::filesystem::path(::testing::TempDir()) / ("durnak-restart-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::string path = (folder / "durnak.db").string();

    VersionRows first;
    {
        ServerProcess server(withDatabase(path));
        expectServerAnswers(server.port());
        ASSERT_EQ(server.stop(), 0);
        first = readSchemaVersion(path);
    }
    EXPECT_GT(first.rows, 0);
    EXPECT_EQ(first.rows, first.distinct);

    for (int restart = 0; restart < 2; ++restart) {
        ServerProcess server(withDatabase(path));
        expectServerAnswers(server.port());
        ASSERT_EQ(server.stop(), 0);
        const auto again = readSchemaVersion(path);
        EXPECT_EQ(again.rows, first.rows);
        EXPECT_EQ(again.highest, first.highest);
    }
    std::filesystem::remove_all(folder);
}

TEST(Lifecycle, BadStartsFailWithAReason)
{
    struct Case {
        const char* name;
        std::vector<std::string> args;
        const char* expected;  // part of stderr
    };
    const std::vector<Case> cases = {
        {"unknown option", {"--frobnicate"}, "unknown option"},
        {"unreadable database", {"--db", "/nonexistent-folder/durnak.db"}, "cannot run"},
        {"bad config value", {"--config", "/dev/null", "--port", "http"}, "port"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            ServerProcess server(withArgs(c.args));
            ADD_FAILURE() << "started";
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find(c.expected), std::string::npos) << e.what();
        }
    }
}

TEST(Lifecycle, SurvivesAStormOfShortConnections)
{
    ServerProcess server;
    constexpr int kThreads = 8;
    constexpr int kPerThread = 250;
    std::atomic<int> answered{0};
    std::atomic<int> failed{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < kPerThread; ++i) {
                try {
                    TestClient client(server.port());
                    switch ((t + i) % 4) {
                    case 0:  // connect and leave
                        break;
                    case 1:  // leave halfway through a frame
                        client.sendRaw(std::string("\0\0\0\x40{\"op\"", 10));
                        break;
                    default:  // a real call
                        client.hello();
                        if (client.call("TServerMethods1.EchoString", {Value("fırtına")}).back() == Value("fırtına"))
                            ++answered;
                        else
                            ++failed;
                    }
                } catch (const std::exception&) {
                    ++failed;
                }
            }
        });
    }
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(failed.load(), 0);
    EXPECT_EQ(answered.load(), kThreads * kPerThread / 2);
    expectServerAnswers(server.port());
    EXPECT_EQ(server.stop(), 0);
}

} // namespace
} // namespace durnak::testing
