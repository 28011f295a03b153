#include "domain_fixture.hpp"

#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <stdexcept>

namespace durnak::testing {

namespace fs = std::filesystem;

std::string runAdmin(const std::string& db, const std::string& arguments)
{
    const std::string command = std::string("'") + DURNAK_ADMIN_BINARY + "' --db '" + db + "' " + arguments + " 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) throw std::runtime_error("cannot start durnak-admin");
    std::string output;
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
    const int status = ::pclose(pipe);
    if (status != 0) throw std::runtime_error("durnak-admin " + arguments + " failed:\n" + output);
    return output;
}

namespace {

fs::path tempFolder()
{
    static int counter = 0;
    fs::path dir = fs::path(::testing::TempDir()) /
                   ("durnak-domain-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    fs::create_directories(dir);
    return dir;
}

const std::string& templateDatabase()
{
    static const std::string path = [] {
        const auto db = (tempFolder() / "template.db").string();
        runAdmin(db, "init");
        runAdmin(db, "seed --items 400");
        runAdmin(db, std::string("bind-workstation --user demo --computer-id ") + kDemoComputerId);
        runAdmin(db, std::string("bind-workstation --user temsilci --computer-id ") + kRepComputerId);
        // One file, so a plain copy carries everything.
        sqlite3* handle = nullptr;
        sqlite3_open(db.c_str(), &handle);
        sqlite3_exec(handle, "PRAGMA wal_checkpoint(TRUNCATE)", nullptr, nullptr, nullptr);
        sqlite3_close(handle);
        return db;
    }();
    return path;
}

} // namespace

std::string seededDatabaseCopy()
{
    const auto copy = (tempFolder() / "demo.db").string();
    fs::copy_file(templateDatabase(), copy, fs::copy_options::overwrite_existing);
    return copy;
}

DemoServer::DemoServer() : db(seededDatabaseCopy()), process(std::make_unique<ServerProcess>(withDatabase(db))) {}

protocol::TSonucBilgisi demoSession()
{
    protocol::TSonucBilgisi s;
    s.FBILGISAYARID = kDemoComputerId;
    s.FSirano = 3;
    s.FCARINO = kDemoCustomer;
    s.FADI = "demo";
    s.FMusteriTipi = 3;
    s.FVersion = 2;
    return s;
}

std::vector<protocol::Value> callMethod(std::uint16_t port, const std::string& method,
                                        const std::vector<protocol::Value>& params, boost::json::object hello)
{
    TestClient client(port);
    client.hello(std::move(hello));
    return client.call("TServerMethods1." + method, params);
}

long long queryInt(const std::string& db, const std::string& sql)
{
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
