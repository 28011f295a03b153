#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_set>

#include <boost/asio/awaitable.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>

#include "net/session.hpp"

namespace durnak::server {

// Accepts connections and keeps count of them. Past the limit a newcomer is told that the
// server is busy and closed, so a storm of connections cannot exhaust descriptors or memory.
class Listener {
public:
    Listener(boost::asio::io_context& io, SessionEnvironment env, std::size_t maxConnections);

    // Binds and listens; returns the port (useful with port 0).
    std::uint16_t open(const std::string& address, std::uint16_t port);
    void start();
    // Stops accepting and asks every connection to stop; onDrained runs once the last has gone.
    void stop(std::function<void()> onDrained);

    std::size_t connectionCount() const { return sessions_.size(); }

private:
    boost::asio::awaitable<void> acceptLoop();
    void checkDrained();

    boost::asio::io_context& io_;
    boost::asio::ip::tcp::acceptor acceptor_;
    SessionEnvironment env_;
    std::size_t maxConnections_;
    std::unordered_set<Session*> sessions_;
    std::size_t rejecting_ = 0;
    bool stopping_ = false;
    std::function<void()> onDrained_;
};

} // namespace durnak::server
