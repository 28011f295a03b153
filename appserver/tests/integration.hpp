#pragma once

// Small helpers shared by the integration tests.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "durnak/protocol/envelope.hpp"
#include "server_process.hpp"
#include "test_client.hpp"

namespace durnak::testing {

// A config file in the test's temporary folder, removed with the object.
class ConfigFile {
public:
    explicit ConfigFile(const std::string& text)
        : path_(std::filesystem::path(::testing::TempDir()) /
                ("durnak-" + std::to_string(::getpid()) + "-" + std::to_string(counter()++) + ".ini"))
    {
        std::ofstream(path_) << text;
    }
    ~ConfigFile() { std::filesystem::remove(path_); }
    std::string path() const { return path_.string(); }

private:
    static int& counter()
    {
        static int n = 0;
        return n;
    }
    std::filesystem::path path_;
};

// ServerOptions with one field set (designated initialisers warn about the others).
inline ServerOptions withArgs(std::vector<std::string> args)
{
    ServerOptions options;
    options.extraArgs = std::move(args);
    return options;
}
inline ServerOptions withDatabase(std::string path)
{
    ServerOptions options;
    options.dbPath = std::move(path);
    return options;
}

// A fresh connection still gets an answer: the server survived whatever came before.
inline void expectServerAnswers(std::uint16_t port)
{
    TestClient client(port);
    client.hello();
    const auto values = client.call("TServerMethods1.EchoString", {protocol::Value("hâlâ burada")});
    ASSERT_EQ(values.size(), 2u);
    EXPECT_EQ(values[1], protocol::Value("hâlâ burada"));
}

inline std::string errorText(const protocol::Envelope& message)
{
    return std::string(message.stringField("message"));
}

} // namespace durnak::testing
