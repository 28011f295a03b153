// Feeds arbitrary bytes to the server the way a connection does: the first message is the
// hello (identity fields, sign-in, token), every further message a call that goes through
// the dispatcher with its checks (catalogue, session, customer reach) into the methods, on a
// small real database. Anything but an answer frame — an escaping exception, a crash — is a
// bug. Built two ways: with clang's libFuzzer, or with fuzz_driver.cpp for a plain build.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include <soci/soci.h>

#include "auth/authenticator.hpp"
#include "config.hpp"
#include "dispatch/dispatcher.hpp"
#include "dispatch/method_registry.hpp"
#include "durnak/protocol/envelope.hpp"
#include "durnak/protocol/error.hpp"
#include "methods/methods.hpp"
#include "net/push_hub.hpp"
#include "store/migrations.hpp"
#include "store/store.hpp"

namespace server = durnak::server;
namespace protocol = durnak::protocol;

namespace {

// A session that the corpus's hellos present: 64 zeros.
const std::string kKnownToken(64, '0');

struct World {
    std::unique_ptr<server::Store> store;
    server::PushHub hub;
    server::MethodRegistry registry;
    std::unique_ptr<server::auth::Authenticator> auth;
    std::unique_ptr<server::Dispatcher> dispatcher;

    std::filesystem::path path;

    World()
    {
        path = std::filesystem::temp_directory_path() / ("durnak-fuzz-" + std::to_string(::getpid()) + ".db");
        std::filesystem::remove(path);
        store = std::make_unique<server::Store>(server::StoreOptions{path.string(), 1});
        soci::session sql(store->pool());
        server::applyMigrations(sql, server::schemaMigrations());
        // Two customers, a representative and a customer user with a workstation each, a
        // basket line and an order, so the reach checks find owners. The password hashes
        // are not argon2 strings: a check fails at once instead of costing 50 ms per input.
        sql << "INSERT INTO sales_reps (id, name) VALUES (1, 'R'), (2, 'S')";
        sql << "INSERT INTO customers (carino, code, name, rep_id) VALUES (1001, 'A', 'A', 1), (1002, 'B', 'B', 2)";
        sql << "INSERT INTO users (id, username, password_hash, user_type, carino, rep_id) VALUES"
               " (1, 'T', 'x', 2, 1001, 1), (3, 'D', 'x', 3, 1001, NULL)";
        sql << "INSERT INTO workstations (computer_id, user_id) VALUES ('W1', 1), ('W3', 3)";
        sql << "INSERT INTO stock (stokno, code, name, list_price, vat) VALUES (5, 'K', 'N', 10, 20)";
        sql << "INSERT INTO basket (sirano, carino, stokno, qty, unit_price, vat, sec, entered_at)"
               " VALUES (7, 1002, 5, 1, 10, 20, 1, '2026-01-01 10:00:00')";
        const std::string hash = server::auth::Authenticator::hashToken(kKnownToken);
        sql << "INSERT INTO auth_sessions (token_hash, user_id, computer_id, created_at, last_used_at, expires_at)"
               " VALUES (:h, 3, 'W3', 0, 4000000000, 4000000000)",
            soci::use(hash);
        server::ServerConfig config;
        server::registerServerMethods(registry, config);
        server::auth::registerSessionMethods(registry);
        auth = std::make_unique<server::auth::Authenticator>(*store);
        dispatcher = std::make_unique<server::Dispatcher>(registry, store.get(), &hub, auth.get());
    }

    ~World()
    {
        dispatcher.reset();
        auth.reset();
        store.reset();
        for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(path.string() + suffix);
    }
};

World& world()
{
    static World w;
    return w;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    World& w = world();
    protocol::MessageReader reader(4096);
    server::ConnectionInfo info;
    info.peer = "127.0.0.1:1";
    info.address = "127.0.0.1";
    bool greeted = false;
    try {
        reader.feed(std::string_view(reinterpret_cast<const char*>(data), size));
        while (auto message = reader.next()) {
            if (!greeted) {
                server::auth::readHello(*message, info);  // a bad hello ends the connection
                (void)w.auth->onHello(info);
                greeted = true;
                continue;
            }
            // Never throws: every failure is an answer to the peer.
            const std::string answer = w.dispatcher->execute(std::move(*message), info);
            if (answer.size() < 4) __builtin_trap();
        }
    } catch (const protocol::ProtocolError&) {
        // The connection would be closed with this text.
    }
    return 0;
}
