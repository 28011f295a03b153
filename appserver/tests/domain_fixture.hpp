#pragma once

// A demo database made once per test program with the real durnak-admin, copied for every
// server a test starts, so tests that change data do not see each other's changes.

#include <memory>

#include <gtest/gtest.h>
#include <string>

#include "durnak/protocol/marshal.hpp"
#include "durnak/protocol/records.hpp"
#include "demo_database.hpp"
#include "integration.hpp"

namespace durnak::testing {


// A server on a fresh copy of the demo database.
struct DemoServer {
    std::string db;
    std::unique_ptr<ServerProcess> process;
    DemoServer();
    std::uint16_t port() const { return process->port(); }
};

// The session record of the demo customer user, as the client holds it after sign-in.
protocol::TSonucBilgisi demoSession();

// The hello of a demo user signed in as the client does it: computer ID, user name and
// password, plus the session token of an earlier sign-in on this server when there is one
// (so the password is not checked on every connection). Users by their number: 1 temsilci,
// 2 bolge, 3 demo, 4 kisitli.
boost::json::object signedInHello(std::uint16_t port, int user);
// Keeps the token a welcome answered for later signedInHello calls.
void rememberToken(std::uint16_t port, int user, const protocol::Envelope& welcome);

// Calls one method on a fresh connection; the out values and the result. Without a hello of
// its own the call is signed in: as the user the session record among the parameters names
// (its FSirano), otherwise as the representative "TEMSILCI", who acts for every customer.
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
