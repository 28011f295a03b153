#pragma once

// A signed-in main window against the real durnak-server on loopback, on a throw-away copy
// of the seeded demo database that a test may change with SQL before the server starts.

#include <memory>
#include <string>

#include "durnak/protocol/records.hpp"
#include "server_process.hpp"

namespace durnak::client {
class TBaglanti;
class TForm1;
}

namespace durnak::gecmistest {

// Runs SQL on a database file; throws with SQLite's text on failure.
void SqlCalistir(const std::string& db, const std::string& sql);
// One number from a query.
double SqlSayi(const std::string& db, const std::string& sql);

struct Ortam {
    std::string db;
    std::unique_ptr<testing::ServerProcess> sunucu;
    std::unique_ptr<client::TForm1> form;
};

// A fresh seeded copy, `sql` applied to it, the server started, the main window created
// (no sign-in window, no push channel), connected and signed in as the given user, and
// wired with GecmisBagla. Representatives act for customer 1001.
std::unique_ptr<Ortam> OrtamKur(const char* bilgisayarId, const char* kullanici, const std::string& sql = {});

// Spins the event loop until the named tab load of the window has finished.
bool YuklemeBitsin(client::TForm1& form, const char* ad);

} // namespace durnak::gecmistest
