#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "config.hpp"

namespace durnak::server {
namespace {

TEST(ConfigText, ReadsEverySettingAndSkipsCommentsAndSections)
{
    ServerConfig config;
    applyConfigText(config,
                    "# dealer server\n"
                    "[server]\n"
                    "  port = 9191  \r\n"
                    "; a comment\n"
                    "\n"
                    "address=127.0.0.1\n"
                    "web_port = 8081\n"
                    "database = /var/lib/durnak/durnak.db\n"
                    "idle_timeout = 5\n"
                    "push_idle_timeout = 7\n"
                    "max_connections = 10\n"
                    "workers = 3\n"
                    "test_methods = yes\n");
    EXPECT_EQ(config.port, 9191);
    EXPECT_EQ(config.address, "127.0.0.1");
    EXPECT_EQ(config.webPort, 8081);
    EXPECT_EQ(config.databasePath, "/var/lib/durnak/durnak.db");
    EXPECT_EQ(config.idleTimeout, std::chrono::seconds(5));
    EXPECT_EQ(config.pushIdleTimeout, std::chrono::seconds(7));
    EXPECT_EQ(config.maxConnections, 10u);
    EXPECT_EQ(config.workerThreads, 3u);
    EXPECT_TRUE(config.testMethods);
}

TEST(ConfigText, RejectsBadLinesNamingTheLine)
{
    struct Case {
        const char* name;
        const char* text;
        const char* expected;  // part of the message
    };
    const Case cases[] = {
        {"unknown key", "port = 1\nprot = 2\n", "config:2: unknown setting 'prot'"},
        {"port out of range", "port = 65536\n", "config:1: port"},
        {"port not a number", "port = 90a\n", "port"},
        {"negative number", "workers = -1\n", "workers"},
        {"zero time-out", "idle_timeout = 0\n", "idle_timeout"},
        {"flag", "test_methods = maybe\n", "true or false"},
        {"no equals sign", "\n\nport 9090\n", "config:3: expected key = value"},
        {"empty database", "database =\n", "database"},
        {"open section", "[server\n", "unterminated section"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ServerConfig config;
        try {
            applyConfigText(config, c.text);
            ADD_FAILURE() << "accepted";
        } catch (const ConfigError& e) {
            EXPECT_NE(std::string(e.what()).find(c.expected), std::string::npos) << e.what();
        }
    }
}

TEST(CommandLine, OptionsOverrideTheConfigFileWhereverTheyStand)
{
    const auto path = std::filesystem::path(::testing::TempDir()) / "durnak-config-test.ini";
    {
        std::ofstream out(path);
        out << "port = 1234\ndatabase = from-file.db\nidle_timeout = 9\n";
    }
    const std::string file = path.string();
    const char* argv[] = {"durnak-server", "--port", "0", "--config", file.c_str(), "--test-methods"};
    const auto line = parseCommandLine(6, argv);
    EXPECT_EQ(line.config.port, 0);
    EXPECT_EQ(line.config.databasePath, "from-file.db");
    EXPECT_EQ(line.config.idleTimeout, std::chrono::seconds(9));
    EXPECT_TRUE(line.config.testMethods);
    EXPECT_FALSE(line.showHelp);
    std::filesystem::remove(path);
}

TEST(CommandLine, RejectsUnknownOptionsMissingValuesAndMissingFiles)
{
    const std::vector<std::vector<const char*>> cases = {
        {"durnak-server", "--prot", "1"},
        {"durnak-server", "--port"},
        {"durnak-server", "--port", "x"},
        {"durnak-server", "--config", "/nonexistent/durnak.ini"},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(args[1]);
        EXPECT_THROW(parseCommandLine(static_cast<int>(args.size()), args.data()), ConfigError);
    }
}

} // namespace
} // namespace durnak::server
