#include "demo_database.hpp"

#include <libpq-fe.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <cstdlib>
#include <mutex>
#include <stdexcept>
#include <vector>

namespace durnak::testing {

namespace fs = std::filesystem;

std::string adminBinaryPath() { return DURNAK_ADMIN_BINARY; }

std::string runAdmin(const std::string& db, const std::string& arguments)
{
    const std::string command = "'" + adminBinaryPath() + "' --db '" + db + "' " + arguments + " 2>&1";
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

// A folder of this process under the system's temporary folder, removed at exit.
struct TempRoot {
    fs::path path = fs::temp_directory_path() / ("durnak-demo-" + std::to_string(::getpid()));
    TempRoot() { fs::create_directories(path); }
    ~TempRoot()
    {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
};

fs::path tempFolder()
{
    static TempRoot root;
    static int counter = 0;
    fs::path dir = root.path / std::to_string(counter++);
    fs::create_directories(dir);
    return dir;
}

// PostgreSQL: one connection to the server's maintenance database creates and drops the
// databases of this program (named after the process, so parallel test programs do not meet).
class PostgresDatabases {
public:
    static PostgresDatabases& instance()
    {
        static PostgresDatabases databases;
        return databases;
    }

    std::string create(const std::string& templateName = {})
    {
        std::lock_guard lock(mutex_);
        const std::string name = "durnak_test_" + std::to_string(::getpid()) + "_" + std::to_string(names_.size());
        exec("CREATE DATABASE " + name + (templateName.empty() ? "" : " TEMPLATE " + templateName));
        names_.push_back(name);
        return name;
    }

    std::string url(const std::string& name) const { return prefix_ + name; }

    ~PostgresDatabases()
    {
        for (auto it = names_.rbegin(); it != names_.rend(); ++it) {
            try {
                exec("DROP DATABASE IF EXISTS " + *it + " WITH (FORCE)");
            } catch (const std::exception&) {
                // Best effort: the throw-away server goes with the test run anyway.
            }
        }
        if (conn_) PQfinish(conn_);
    }

private:
    PostgresDatabases()
    {
        const char* base = std::getenv("DURNAK_TEST_POSTGRES");
        const std::string url = base ? base : "";
        const auto slash = url.rfind('/');
        if (slash == std::string::npos || slash < url.find("://") + 3)
            throw std::runtime_error("DURNAK_TEST_POSTGRES must be a URL ending in a database: " + url);
        prefix_ = url.substr(0, slash + 1);
        conn_ = PQconnectdb(url.c_str());
        if (PQstatus(conn_) != CONNECTION_OK)
            throw std::runtime_error("cannot reach the test PostgreSQL: " + std::string(PQerrorMessage(conn_)));
    }

    void exec(const std::string& sql)
    {
        PGresult* r = PQexec(conn_, sql.c_str());
        const bool ok = PQresultStatus(r) == PGRES_COMMAND_OK;
        PQclear(r);
        if (!ok) throw std::runtime_error(sql + ": " + PQerrorMessage(conn_));
    }

    std::mutex mutex_;
    PGconn* conn_ = nullptr;
    std::string prefix_;
    std::vector<std::string> names_;
};

void seedDemo(const std::string& db)
{
    runAdmin(db, "init");
    runAdmin(db, "seed --items 400");
    const std::pair<const char*, const char*> workstations[] = {
        {"DEMO", kDemoComputerId}, {"TEMSILCI", kRepComputerId},
        {"BOLGE", kRegionComputerId}, {"KISITLI", kLimitedComputerId}};
    for (const auto& [user, id] : workstations)
        runAdmin(db, std::string("bind-workstation --user ") + user + " --computer-id " + id);
}

const std::string& postgresTemplate()
{
    static const std::string name = [] {
        auto& databases = PostgresDatabases::instance();
        const auto created = databases.create();
        seedDemo(databases.url(created));
        return created;
    }();
    return name;
}

const std::string& templateDatabase()
{
    static const std::string path = [] {
        const auto db = (tempFolder() / "template.db").string();
        runAdmin(db, "init");
        runAdmin(db, "seed --items 400");
        const std::pair<const char*, const char*> workstations[] = {
            {"DEMO", kDemoComputerId}, {"TEMSILCI", kRepComputerId},
            {"BOLGE", kRegionComputerId}, {"KISITLI", kLimitedComputerId}};
        for (const auto& [user, id] : workstations)
            runAdmin(db, std::string("bind-workstation --user ") + user + " --computer-id " + id);
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
    if (testingOnPostgres()) {
        auto& databases = PostgresDatabases::instance();
        return databases.url(databases.create(postgresTemplate()));
    }
    const auto copy = (tempFolder() / "demo.db").string();
    fs::copy_file(templateDatabase(), copy, fs::copy_options::overwrite_existing);
    return copy;
}

bool testingOnPostgres()
{
    const char* base = std::getenv("DURNAK_TEST_POSTGRES");
    return base && *base;
}

std::string freshDatabase()
{
    if (testingOnPostgres()) {
        auto& databases = PostgresDatabases::instance();
        return databases.url(databases.create());
    }
    return (tempFolder() / "fresh.db").string();
}

long long queryScalar(const std::string& db, const std::string& sql)
{
    long long value = -1;
    if (db.starts_with("postgresql://") || db.starts_with("postgres://")) {
        PGconn* conn = PQconnectdb(db.c_str());
        if (PQstatus(conn) != CONNECTION_OK) {
            std::string why = PQerrorMessage(conn);
            PQfinish(conn);
            throw std::runtime_error("cannot open " + db + ": " + why);
        }
        PGresult* r = PQexec(conn, sql.c_str());
        if (PQresultStatus(r) == PGRES_TUPLES_OK && PQntuples(r) > 0 && !PQgetisnull(r, 0, 0)) {
            // Comparisons answer booleans here, numbers in SQLite.
            const std::string text = PQgetvalue(r, 0, 0);
            value = text == "t" ? 1 : text == "f" ? 0 : std::atoll(text.c_str());
        }
        PQclear(r);
        PQfinish(conn);
        return value;
    }
    sqlite3* handle = nullptr;
    if (sqlite3_open_v2(db.c_str(), &handle, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(handle);
        throw std::runtime_error("cannot open " + db);
    }
    sqlite3_busy_timeout(handle, 5000);
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(handle, sql.c_str(), -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
        value = sqlite3_column_int64(st, 0);
    sqlite3_finalize(st);
    sqlite3_close(handle);
    return value;
}

} // namespace durnak::testing
