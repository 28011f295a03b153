#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include <boost/asio/io_context.hpp>
#include <boost/asio/thread_pool.hpp>

#include "auth/authenticator.hpp"
#include "config.hpp"
#include "dispatch/dispatcher.hpp"
#include "dispatch/method_registry.hpp"
#include "net/listener.hpp"
#include "net/push_hub.hpp"
#include "store/store.hpp"

namespace durnak::server {

namespace web {
class OuterEdge;
}

// The whole application server: store, methods, worker pool and the listener. Network I/O
// runs on the thread that calls run(); method calls run on the workers.
class Server {
public:
    // Opens the database and brings its schema up to date; throws on failure.
    explicit Server(ServerConfig config);
    ~Server();

    // Binds the port, reports it through onListening, and serves until SIGTERM or SIGINT has
    // been handled: no new connections, running calls answered, then return 0.
    // The web endpoints listen too; onWebListening reports their port after onListening.
    int run(const std::function<void(std::uint16_t port)>& onListening,
            const std::function<void(std::uint16_t port)>& onWebListening = {});

    PushHub& push() { return hub_; }

private:
    ServerConfig config_;
    std::unique_ptr<Store> store_;
    std::unique_ptr<auth::Authenticator> auth_;
    PushHub hub_;
    MethodRegistry registry_;
    std::unique_ptr<Dispatcher> dispatcher_;
    boost::asio::thread_pool workers_;
    boost::asio::io_context io_;
    std::unique_ptr<Listener> listener_;
    std::unique_ptr<web::OuterEdge> edge_;
};

} // namespace durnak::server
