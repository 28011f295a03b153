#include "net/listener.hpp"

#include <memory>
#include <vector>

#include <boost/asio/as_tuple.hpp>
#include <boost/asio/co_spawn.hpp>
#include <boost/asio/detached.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/asio/use_awaitable.hpp>

#include "log.hpp"

namespace durnak::server {

namespace asio = boost::asio;
using asio::ip::tcp;

namespace {
// Busy answers in flight at most; beyond that a newcomer is simply closed.
constexpr std::size_t kMaxRejecting = 64;
}

Listener::Listener(asio::io_context& io, SessionEnvironment env, std::size_t maxConnections)
    : io_(io), acceptor_(io), env_(env), maxConnections_(maxConnections)
{
}

std::uint16_t Listener::open(const std::string& address, std::uint16_t port)
{
    const tcp::endpoint endpoint(asio::ip::make_address(address), port);
    acceptor_.open(endpoint.protocol());
    acceptor_.set_option(tcp::acceptor::reuse_address(true));
    acceptor_.bind(endpoint);
    acceptor_.listen(asio::socket_base::max_listen_connections);
    return acceptor_.local_endpoint().port();
}

void Listener::start()
{
    asio::co_spawn(io_, acceptLoop(), asio::detached);
}

void Listener::stop(std::function<void()> onDrained)
{
    stopping_ = true;
    onDrained_ = std::move(onDrained);
    boost::system::error_code ignored;
    acceptor_.close(ignored);
    const std::vector<Session*> current(sessions_.begin(), sessions_.end());
    for (Session* session : current) session->requestStop();
    checkDrained();
}

void Listener::checkDrained()
{
    if (stopping_ && sessions_.empty() && rejecting_ == 0 && onDrained_) std::exchange(onDrained_, nullptr)();
}

asio::awaitable<void> Listener::acceptLoop()
{
    asio::steady_timer pause(io_);
    while (acceptor_.is_open()) {
        auto [ec, socket] = co_await acceptor_.async_accept(asio::as_tuple(asio::use_awaitable));
        if (ec) {
            if (stopping_ || !acceptor_.is_open()) break;
            // Out of descriptors or buffers: wait for connections to end instead of spinning.
            logWarning("accept failed: " + ec.message());
            pause.expires_after(std::chrono::milliseconds(100));
            co_await pause.async_wait(asio::as_tuple(asio::use_awaitable));
            continue;
        }
        if (stopping_) break;

        if (sessions_.size() >= maxConnections_) {
            if (rejecting_ < kMaxRejecting) {
                ++rejecting_;
                auto session = std::make_shared<Session>(std::move(socket), env_, [this](Session*) {
                    --rejecting_;
                    checkDrained();
                });
                session->startRejected("Sunucu şu anda çok yoğun. Lütfen biraz sonra tekrar deneyin.");
            }
            continue;
        }

        boost::system::error_code ignored;
        socket.set_option(tcp::no_delay(true), ignored);
        auto session = std::make_shared<Session>(std::move(socket), env_, [this](Session* ended) {
            sessions_.erase(ended);
            checkDrained();
        });
        sessions_.insert(session.get());
        session->start();
    }
}

} // namespace durnak::server
