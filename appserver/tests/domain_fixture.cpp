#include "domain_fixture.hpp"

#include <sqlite3.h>

#include <map>
#include <mutex>
#include <stdexcept>

namespace durnak::testing {

DemoServer::DemoServer() : db(seededDatabaseCopy()), process(std::make_unique<ServerProcess>(withDatabase(db))) {}

protocol::TSonucBilgisi demoSession()
{
    protocol::TSonucBilgisi s;
    s.FBILGISAYARID = kDemoComputerId;
    s.FSirano = 3;
    s.FCARINO = kDemoCustomer;
    s.FADI = "DEMO";
    s.FMusteriTipi = 3;
    s.FVersion = 2;
    return s;
}

namespace {

struct DemoLogin {
    const char* user;
    const char* computerId;
};
const DemoLogin kDemoLogins[4] = {
    {"TEMSILCI", kRepComputerId}, {"BOLGE", kRegionComputerId}, {"DEMO", kDemoComputerId},
    {"KISITLI", kLimitedComputerId}};

std::mutex tokenMutex;
std::map<std::pair<std::uint16_t, int>, std::string> tokens;

int userOfCall(const std::vector<protocol::Value>& params)
{
    for (const auto& p : params) {
        if (p.kind() != protocol::Kind::Record || p.asRecord().type != protocol::TSonucBilgisi::kTypeName) continue;
        const auto record = protocol::fromValue<protocol::TSonucBilgisi>(p);
        if (record.FSirano >= 1 && record.FSirano <= 4) return record.FSirano;
    }
    return 1;
}

} // namespace

boost::json::object signedInHello(std::uint16_t port, int user)
{
    const DemoLogin& login = kDemoLogins[user - 1];
    boost::json::object hello{{"computerId", login.computerId}, {"user", login.user}, {"password", kDemoPassword}};
    std::lock_guard lock(tokenMutex);
    if (auto it = tokens.find({port, user}); it != tokens.end()) hello["token"] = it->second;
    return hello;
}

void rememberToken(std::uint16_t port, int user, const protocol::Envelope& welcome)
{
    const auto token = welcome.optionalString("token");
    if (token.empty()) return;
    std::lock_guard lock(tokenMutex);
    tokens[{port, user}] = std::string(token);
}

std::vector<protocol::Value> callMethod(std::uint16_t port, const std::string& method,
                                        const std::vector<protocol::Value>& params, boost::json::object hello)
{
    TestClient client(port);
    if (hello.empty()) {
        const int user = userOfCall(params);
        rememberToken(port, user, client.hello(signedInHello(port, user)));
    } else {
        client.hello(std::move(hello));
    }
    return client.call("TServerMethods1." + method, params);
}

long long queryInt(const std::string& db, const std::string& sql)
{
    if (db.starts_with("postgresql://")) return queryScalar(db, sql);
    sqlite3* handle = nullptr;
    if (sqlite3_open_v2(db.c_str(), &handle, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
        throw std::runtime_error("cannot open " + db);
    sqlite3_busy_timeout(handle, 5000);
    sqlite3_stmt* st = nullptr;
    long long value = -1;
    if (sqlite3_prepare_v2(handle, sql.c_str(), -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
        value = sqlite3_column_int64(st, 0);
    sqlite3_finalize(st);
    sqlite3_close(handle);
    return value;
}

} // namespace durnak::testing
