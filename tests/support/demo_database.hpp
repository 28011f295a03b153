#pragma once

// The seeded demo database for tests: made once per test program with the real
// durnak-admin, then copied for every server a test starts, so tests that change data do
// not see each other's changes. Plain C++ so Qt and GoogleTest suites can both use it.

#include <cstdint>
#include <string>

namespace durnak::testing {

// Workstations bound in the demo database, one per user kind.
constexpr const char* kDemoComputerId = "TEST-DISK-0001";    // user "DEMO", type 3, customer 1001
constexpr const char* kRepComputerId = "TEST-DISK-0002";     // user "TEMSILCI", type 1
constexpr const char* kRegionComputerId = "TEST-DISK-0003";  // user "BOLGE", type 2
constexpr const char* kLimitedComputerId = "TEST-DISK-0004"; // user "KISITLI", type 4, customer 1002
constexpr std::int32_t kDemoCustomer = 1001;                 // discounts 10+5
constexpr const char* kDemoPassword = "DEMO";                // every demo user's password

// The database the tests run on: SQLite files by default; PostgreSQL databases (as URLs)
// when the environment variable DURNAK_TEST_POSTGRES holds a server's URL, e.g.
// postgresql://durnak@127.0.0.1:5432/postgres (CTest sets it for the second run of the
// integration programs). Every database made here is dropped when the program ends.
bool testingOnPostgres();

// A new empty database: a PostgreSQL URL, or a file path in a temporary folder.
std::string freshDatabase();

// The first column of the first row of a query, -1 when there is none; for file paths and
// PostgreSQL URLs alike.
long long queryScalar(const std::string& db, const std::string& sql);

// Runs durnak-admin with the given arguments on a database; throws with its output on failure.
std::string runAdmin(const std::string& db, const std::string& arguments);

// A fresh copy of the seeded demo database (400 items, pictures) in a temporary folder, or
// on PostgreSQL a new database made from a seeded template.
std::string seededDatabaseCopy();

// Path of the durnak-admin binary built alongside the tests.
std::string adminBinaryPath();

} // namespace durnak::testing
