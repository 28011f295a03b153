#include "server.hpp"

#include <csignal>
#include <cstdlib>
#include <thread>

#include <boost/asio/signal_set.hpp>
#include <soci/session.h>

#include "log.hpp"
#include "methods/methods.hpp"
#include "store/migrations.hpp"
#include "web/outer_edge.hpp"

namespace durnak::server {

namespace asio = boost::asio;

namespace {

std::size_t workerCount(const ServerConfig& config)
{
    if (config.workerThreads > 0) return config.workerThreads;
    return std::max<std::size_t>(2, std::thread::hardware_concurrency());
}

} // namespace

Server::Server(ServerConfig config)
    : config_(std::move(config)), workers_(workerCount(config_)), io_(1)
{
    // One database connection per worker: a call never waits for a free one.
    store_ = std::make_unique<Store>(StoreOptions{config_.databasePath, workerCount(config_)});
    {
        soci::session sql(store_->pool());
        applyMigrations(sql, schemaMigrations());
    }
    registerServerMethods(registry_, config_);
    auth::registerSessionMethods(registry_);
    auth_ = std::make_unique<auth::Authenticator>(*store_);
    dispatcher_ = std::make_unique<Dispatcher>(registry_, store_.get(), &hub_, auth_.get());
    listener_ = std::make_unique<Listener>(
        io_,
        SessionEnvironment{*dispatcher_, hub_, workers_.get_executor(), config_.idleTimeout, config_.pushIdleTimeout,
                           auth_.get()},
        config_.maxConnections);
    edge_ = std::make_unique<web::OuterEdge>(config_, hub_);
}

Server::~Server()
{
    workers_.join();
}

int Server::run(const std::function<void(std::uint16_t port)>& onListening,
                const std::function<void(std::uint16_t port)>& onWebListening)
{
    const std::uint16_t port = listener_->open(config_.address, config_.port);
    const std::uint16_t webPort = edge_->open();
    listener_->start();
    edge_->start();

    asio::signal_set signals(io_, SIGINT, SIGTERM);
    bool stopping = false;
    std::function<void(const boost::system::error_code&, int)> onSignal =
        [&](const boost::system::error_code& ec, int signal) {
            if (ec) return;  // cancelled once everything has drained
            if (stopping) {
                logWarning("second stop signal: leaving without waiting for running calls");
                std::_Exit(1);
            }
            stopping = true;
            logInfo("stopping on signal " + std::to_string(signal) + ": finishing running calls");
            // Armed before stop(): with nothing running, stop() drains (and cancels) at once.
            signals.async_wait(onSignal);
            edge_->stop();
            listener_->stop([&] { signals.cancel(); });
        };
    signals.async_wait(onSignal);

    logInfo("listening on " + config_.address + ":" + std::to_string(port) + " with " +
            std::to_string(store_->poolSize()) + " workers, database " + displayName(config_.databasePath) +
            (config_.testMethods ? ", test methods on" : ""));
    onListening(port);
    if (onWebListening) onWebListening(webPort);
    io_.run();
    edge_->stop();
    workers_.join();
    logInfo("stopped");
    return 0;
}

} // namespace durnak::server
