#pragma once

#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <boost/asio/awaitable.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/asio/thread_pool.hpp>

#include "dispatch/call_context.hpp"
#include "durnak/protocol/envelope.hpp"
#include "net/push_hub.hpp"

namespace durnak::server {

class Dispatcher;

// What every connection shares.
struct SessionEnvironment {
    const Dispatcher& dispatcher;
    PushHub& hub;
    boost::asio::thread_pool::executor_type workers;
    std::chrono::seconds idleTimeout;
    std::chrono::seconds pushIdleTimeout;
    auth::Authenticator* auth = nullptr;  // sign-in and sessions; null: no checks (tests)
};

// One client connection: hello, then calls answered in order, or, after register, a push
// subscription. Runs on the single network thread; calls run on the worker pool so that a
// slow method never holds up other connections.
class Session : public PushSink, public std::enable_shared_from_this<Session> {
public:
    using EndHandler = std::function<void(Session*)>;

    Session(boost::asio::ip::tcp::socket socket, const SessionEnvironment& env, EndHandler onEnd);
    ~Session() override;

    void start();
    // Answers only with an error (the server is full) and closes.
    void startRejected(std::string text);
    // Graceful stop: a running call is finished and answered, then the connection closes;
    // an idle connection closes at once.
    void requestStop();

    void deliver(std::string frame) override;

private:
    using Clock = std::chrono::steady_clock;

    boost::asio::awaitable<void> run(std::optional<std::string> rejectText);
    boost::asio::awaitable<void> serve();
    boost::asio::awaitable<void> watchdog();
    boost::asio::awaitable<void> writer();
    boost::asio::awaitable<std::optional<protocol::Envelope>> readMessage();
    boost::asio::awaitable<void> send(std::string frame);
    boost::asio::awaitable<std::string> runCall(std::shared_ptr<protocol::Envelope> message);
    boost::asio::awaitable<std::string> authenticate();
    boost::asio::awaitable<void> failAndClose(std::string text);

    void handleRegister(const protocol::Envelope& envelope);
    void enqueue(std::string frame);
    void setReadDeadline(Clock::time_point deadline);
    void setWriteDeadline(Clock::time_point deadline);
    void closeSocket();

    boost::asio::ip::tcp::socket socket_;
    const SessionEnvironment& env_;
    EndHandler onEnd_;
    boost::asio::steady_timer watchdogTimer_;
    boost::asio::steady_timer writerWake_;
    Clock::time_point readDeadline_ = Clock::time_point::max();
    Clock::time_point writeDeadline_ = Clock::time_point::max();
    protocol::MessageReader reader_;
    std::vector<char> buffer_;
    ConnectionInfo info_;

    std::deque<std::string> outbox_;  // push mode only
    bool pushMode_ = false;
    bool writeInFlight_ = false;
    bool closeAfterFlush_ = false;
    bool reading_ = false;
    bool stopping_ = false;
    bool timedOut_ = false;
    bool closed_ = false;
};

} // namespace durnak::server
