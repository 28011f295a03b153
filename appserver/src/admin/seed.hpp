#pragma once

#include <cstddef>
#include <ostream>
#include <string>

namespace soci {
class session;
}

namespace durnak::admin {

struct SeedOptions {
    std::size_t items = 20000;
    bool pictures = true;      // a picture for every fourth item
};

// Fills an empty, migrated database with deterministic demo data: representatives,
// customers, users of every type (password "DEMO"), catalogue, orders, statements,
// announcements, banners, the scrolling text. Refuses a database that has stock already.
void seedDemo(soci::session& sql, const SeedOptions& options, std::ostream& log);

// The demo accounts that seedDemo creates, for the README and `users`.
struct DemoUser {
    const char* username;
    const char* password;
    int type;
    const char* what;
};
extern const DemoUser kDemoUsers[4];

// "869" + nine digits of n + the EAN-13 check digit.
std::string ean13(unsigned long long n);

} // namespace durnak::admin
