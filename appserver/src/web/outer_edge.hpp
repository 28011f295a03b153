#pragma once

#include <cstdint>
#include <memory>

#include "config.hpp"

namespace durnak::server {
class PushHub;
class Store;
namespace mail {
class OutboxSender;
}
}

namespace durnak::server::web {

class WebServer;
class PushRelay;

// What the server runs besides remote calls: the web endpoints, the mail sender and the
// push relay, on a database pool of their own so they never wait for a call's connection.
class OuterEdge {
public:
    OuterEdge(const ServerConfig& config, PushHub& hub);
    ~OuterEdge();

    // Binds the web port; returns it (useful with port 0). Throws when it cannot be bound.
    std::uint16_t open();
    void start();
    void stop();

private:
    const ServerConfig& config_;
    std::unique_ptr<Store> store_;
    std::unique_ptr<WebServer> web_;
    std::unique_ptr<mail::OutboxSender> mail_;
    std::unique_ptr<PushRelay> relay_;
};

} // namespace durnak::server::web
