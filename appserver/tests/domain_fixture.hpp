#pragma once

// A demo database made once per test program with the real durnak-admin, copied for every
// server a test starts, so tests that change data do not see each other's changes.

#include <memory>

#include <gtest/gtest.h>
#include <string>

#include "durnak/protocol/marshal.hpp"
#include "durnak/protocol/records.hpp"
#include "integration.hpp"

namespace durnak::testing {

constexpr const char* kDemoComputerId = "TEST-DISK-0001";
constexpr const char* kRepComputerId = "TEST-DISK-0002";
constexpr std::int32_t kDemoCustomer = 1001;  // discounts 10+5, user "demo" (type 3)

// Runs durnak-admin with the given arguments on a database; throws with its output on failure.
std::string runAdmin(const std::string& db, const std::string& arguments);

// A fresh copy of the seeded demo database (400 items, pictures) in a temporary folder.
std::string seededDatabaseCopy();

// A server on a fresh copy of the demo database.
struct DemoServer {
    std::string db;
    std::unique_ptr<ServerProcess> process;
    DemoServer();
    std::uint16_t port() const { return process->port(); }
};

// The session record of the demo customer user, as the client holds it after sign-in.
protocol::TSonucBilgisi demoSession();

// Calls one method on a fresh connection; the out values and the result.
std::vector<protocol::Value> callMethod(std::uint16_t port, const std::string& method,
                                        const std::vector<protocol::Value>& params, boost::json::object hello = {});

// Direct read access to a test database (for checks the methods do not show).
long long queryInt(const std::string& db, const std::string& sql);

// A suite sharing one server on the demo database, with the calls every suite makes.
class DemoServerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { server = new DemoServer(); }
    static void TearDownTestSuite()
    {
        delete server;
        server = nullptr;
    }
    static std::vector<protocol::Value> call(const std::string& method, const std::vector<protocol::Value>& params)
    {
        return callMethod(server->port(), method, params);
    }
    static protocol::Table table(const std::string& method, const std::vector<protocol::Value>& params)
    {
        return call(method, params).back().takeTable();
    }
    static long long q(const std::string& sql) { return queryInt(server->db, sql); }

    static inline DemoServer* server = nullptr;
};

} // namespace durnak::testing
