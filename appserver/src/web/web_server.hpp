#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <boost/asio/awaitable.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>

#include "web/site.hpp"

namespace durnak::server {
class Store;
}

namespace durnak::server::web {

struct WebServerOptions {
    std::size_t threads = 2;
    std::size_t maxConnections = 1024;
};

// HTTP/1.1 front of the Site on threads of its own, with keep-alive and hard limits: a
// request head over 8 KiB or a body over 64 KiB is refused and the connection closed.
class WebServer {
public:
    WebServer(Store& store, WebServerOptions options);
    ~WebServer();

    // Binds and listens; returns the port (useful with port 0).
    std::uint16_t open(const std::string& address, std::uint16_t port);
    void start();
    // Stops accepting, cuts the open connections and joins the threads.
    void stop();

private:
    boost::asio::awaitable<void> acceptLoop();
    boost::asio::awaitable<void> serve(boost::asio::ip::tcp::socket socket);

    Site site_;
    WebServerOptions options_;
    // Before io_: connections still pending when io_ goes away count themselves down.
    std::atomic<std::size_t> connections_{0};
    boost::asio::io_context io_;
    boost::asio::ip::tcp::acceptor acceptor_;
    std::vector<std::thread> threads_;
    bool started_ = false;
};

} // namespace durnak::server::web
