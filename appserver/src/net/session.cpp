#include "net/session.hpp"

#include <boost/asio/as_tuple.hpp>
#include <boost/asio/co_spawn.hpp>
#include <boost/asio/detached.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/use_awaitable.hpp>
#include <boost/asio/write.hpp>
#include <boost/json/object.hpp>

#include "auth/authenticator.hpp"
#include "dispatch/dispatcher.hpp"
#include "durnak/protocol/error.hpp"
#include "log.hpp"

namespace durnak::server {

namespace asio = boost::asio;
namespace json = boost::json;
namespace op = protocol::op;
using asio::awaitable;
using asio::ip::tcp;

namespace {

constexpr auto useTuple = asio::as_tuple(asio::use_awaitable);
constexpr std::size_t kReadChunk = 64 * 1024;
// Time left to a connection we are closing with an error to take the error text.
constexpr auto kCloseGrace = std::chrono::seconds(2);
// Input read and dropped after an error at most, before the connection is cut regardless.
constexpr std::size_t kDrainLimit = 1024 * 1024;
// Notifications a push subscriber may fall behind by before it is dropped.
constexpr std::size_t kMaxOutbox = 256;

// Ends the connection with this text as an error envelope.
class SessionFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Built outside the coroutines: GCC 12 miscompiles string literals in braced
// initialisers inside a coroutine body ("array used as initializer").
// token: of a session opened by this hello; signedIn: the connection acts in a session.
std::string welcomeFrame(const std::string& token, bool signedIn)
{
    json::object welcome{{"op", op::Welcome}, {"protocol", protocol::kProtocolVersion}, {"server", "durnak-server"}};
    welcome["session"] = signedIn;
    if (!token.empty()) welcome["token"] = token;
    return protocol::encodeEnvelope(welcome);
}

std::string pongFrame()
{
    return protocol::encodeEnvelope(json::object{{"op", op::Pong}});
}

std::string ackFrame()
{
    return protocol::encodeEnvelope(json::object{{"op", op::Ack}, {"value", true}});
}

} // namespace

Session::Session(tcp::socket socket, const SessionEnvironment& env, EndHandler onEnd)
    : socket_(std::move(socket)),
      env_(env),
      onEnd_(std::move(onEnd)),
      watchdogTimer_(socket_.get_executor()),
      writerWake_(socket_.get_executor()),
      buffer_(kReadChunk)
{
    boost::system::error_code ec;
    const auto peer = socket_.remote_endpoint(ec);
    info_.peer = ec ? std::string("?") : peer.address().to_string() + ":" + std::to_string(peer.port());
    info_.address = ec ? std::string() : peer.address().to_string();
}

Session::~Session() = default;

void Session::start()
{
    auto self = shared_from_this();
    asio::co_spawn(socket_.get_executor(), [self] { return self->watchdog(); }, asio::detached);
    asio::co_spawn(socket_.get_executor(), [self] { return self->run(std::nullopt); }, asio::detached);
}

void Session::startRejected(std::string text)
{
    auto self = shared_from_this();
    asio::co_spawn(socket_.get_executor(), [self] { return self->watchdog(); }, asio::detached);
    asio::co_spawn(
        socket_.get_executor(), [self, text = std::move(text)] { return self->run(text); }, asio::detached);
}

void Session::requestStop()
{
    if (stopping_) return;
    stopping_ = true;
    if (pushMode_) {
        closeSocket();
    } else if (reading_) {
        // Waiting for the next message: nothing is running, so end now. A call in progress
        // is answered first; serve() checks stopping_ after every answer.
        boost::system::error_code ignored;
        socket_.cancel(ignored);
    }
}

void Session::deliver(std::string frame)
{
    asio::post(socket_.get_executor(),
               [self = shared_from_this(), frame = std::move(frame)]() mutable { self->enqueue(std::move(frame)); });
}

awaitable<void> Session::run(std::optional<std::string> rejectText)
{
    std::string failure;
    if (rejectText) {
        failure = std::move(*rejectText);
    } else {
        try {
            co_await serve();
        } catch (const SessionFailure& e) {
            failure = e.what();
        } catch (const protocol::ProtocolError& e) {
            failure = e.what();
        } catch (const std::exception& e) {
            logWarning("connection " + info_.peer + " failed: " + e.what());
        }
    }
    if (!failure.empty() && !closed_) {
        try {
            co_await failAndClose(std::move(failure));
        } catch (const std::exception&) {
            // Best effort: the peer may be gone already.
        }
    }
    if (!closeAfterFlush_) closeSocket();
    if (auto onEnd = std::move(onEnd_)) onEnd(this);
}

awaitable<void> Session::serve()
{
    auto hello = co_await readMessage();
    if (!hello) co_return;
    auth::readHello(*hello, info_);
    std::string token;
    if (env_.auth) token = co_await authenticate();
    co_await send(welcomeFrame(token, info_.identity != nullptr));

    while (!stopping_ && !closed_) {
        auto message = co_await readMessage();
        if (!message) co_return;
        const auto kind = message->op();
        if (kind == op::Call) {
            if (pushMode_) {
                // A push connection carries only notifications, acks and pings, so the client's
                // channel reader never has to tell an answer from a notification.
                co_await send(protocol::encodeError("Bildirim bağlantısında işlem çağrılamaz."));
                continue;
            }
            auto call = std::make_shared<protocol::Envelope>(std::move(*message));
            std::string answer = co_await runCall(call);
            co_await send(std::move(answer));
        } else if (kind == op::Ping) {
            co_await send(pongFrame());
        } else if (kind == op::Register) {
            handleRegister(*message);
            co_await send(ackFrame());
        } else if (kind == op::Ack) {
            // A subscriber's answer to a notification; nothing waits for it.
        } else {
            throw SessionFailure("Beklenmeyen mesaj: '" + std::string(kind) + "'.");
        }
    }
}

void Session::handleRegister(const protocol::Envelope& envelope)
{
    Subscription subscription{std::string(envelope.stringField("channel")),
                              std::string(envelope.optionalString("managerId")),
                              std::string(envelope.optionalString("callback"))};
    if (subscription.channel.empty()) throw SessionFailure("Bildirim kaydında kanal adı boş.");
    if (subscription.callback.empty()) subscription.callback = subscription.channel;
    env_.hub.subscribe(shared_from_this(), std::move(subscription));
    if (!pushMode_) {
        // From now on every frame goes through the outbox, so notifications pushed from other
        // threads and our own answers are written one after another.
        pushMode_ = true;
        auto self = shared_from_this();
        asio::co_spawn(socket_.get_executor(), [self] { return self->writer(); }, asio::detached);
    }
}

awaitable<std::optional<protocol::Envelope>> Session::readMessage()
{
    const auto idle = pushMode_ ? env_.pushIdleTimeout : env_.idleTimeout;
    while (true) {
        if (auto message = reader_.next()) co_return message;
        if (stopping_ || closed_) co_return std::nullopt;
        // Reset on every chunk: a large upload on a slow line is fine as long as it moves.
        setReadDeadline(Clock::now() + idle);
        reading_ = true;
        auto [ec, size] = co_await socket_.async_read_some(asio::buffer(buffer_), useTuple);
        reading_ = false;
        setReadDeadline(Clock::time_point::max());
        if (ec) {
            if (timedOut_) throw SessionFailure("Bağlantı zaman aşımına uğradı.");
            if (stopping_ || closed_) co_return std::nullopt;
            if (ec == asio::error::eof && !reader_.idle())
                throw SessionFailure("Bağlantı bir mesajın ortasında kapandı.");
            co_return std::nullopt;
        }
        reader_.feed(std::string_view(buffer_.data(), size));
    }
}

awaitable<std::string> Session::runCall(std::shared_ptr<protocol::Envelope> message)
{
    // Named locals rather than temporaries inside the co_await expression: GCC 12 destroys
    // such temporaries twice in coroutines.
    auto task = [dispatcher = &env_.dispatcher, info = &info_, message]() -> awaitable<std::string> {
        co_return dispatcher->execute(std::move(*message), *info);
    };
    std::string answer = co_await asio::co_spawn(env_.workers, std::move(task), asio::use_awaitable);
    co_return answer;
}

awaitable<std::string> Session::authenticate()
{
    // A password check takes tens of milliseconds of work: never on the network thread.
    auto task = [auth = env_.auth, info = &info_]() -> awaitable<std::string> { co_return auth->onHello(*info); };
    std::string token = co_await asio::co_spawn(env_.workers, std::move(task), asio::use_awaitable);
    co_return token;
}

awaitable<void> Session::send(std::string frame)
{
    if (pushMode_) {
        enqueue(std::move(frame));
        co_return;
    }
    if (closed_) co_return;
    setWriteDeadline(Clock::now() + env_.idleTimeout);
    auto [ec, size] = co_await asio::async_write(socket_, asio::buffer(frame), useTuple);
    setWriteDeadline(Clock::time_point::max());
    if (ec) closeSocket();  // gone, or not reading: nothing more to say to it
}

awaitable<void> Session::failAndClose(std::string text)
{
    if (closed_) co_return;
    if (pushMode_) {
        enqueue(protocol::encodeError(text));
        closeAfterFlush_ = true;
        writerWake_.cancel();
        co_return;
    }
    const std::string frame = protocol::encodeError(text);
    setWriteDeadline(Clock::now() + kCloseGrace);
    auto [ec, size] = co_await asio::async_write(socket_, asio::buffer(frame), useTuple);
    setWriteDeadline(Clock::time_point::max());
    if (ec) {
        closeSocket();
        co_return;
    }
    // Half-close, then read what the peer still sends: closing a socket with unread input
    // makes the kernel reset the connection, and the reset can destroy the error text
    // before the peer has read it.
    boost::system::error_code ignored;
    socket_.shutdown(tcp::socket::shutdown_send, ignored);
    setReadDeadline(Clock::now() + kCloseGrace);
    std::size_t drained = 0;
    while (!closed_ && drained < kDrainLimit) {
        reading_ = true;
        auto [readError, got] = co_await socket_.async_read_some(asio::buffer(buffer_), useTuple);
        reading_ = false;
        if (readError) break;
        drained += got;
    }
    setReadDeadline(Clock::time_point::max());
    closeSocket();
}

awaitable<void> Session::writer()
{
    while (!closed_) {
        if (outbox_.empty()) {
            if (closeAfterFlush_) {
                closeSocket();
                break;
            }
            writerWake_.expires_at(Clock::time_point::max());
            co_await writerWake_.async_wait(useTuple);
            continue;
        }
        writeInFlight_ = true;
        setWriteDeadline(Clock::now() + env_.pushIdleTimeout);
        auto [ec, size] = co_await asio::async_write(socket_, asio::buffer(outbox_.front()), useTuple);
        writeInFlight_ = false;
        setWriteDeadline(Clock::time_point::max());
        if (ec) {
            closeSocket();
            break;
        }
        outbox_.pop_front();
    }
}

void Session::enqueue(std::string frame)
{
    if (closed_ || closeAfterFlush_) return;
    if (outbox_.size() >= kMaxOutbox) {
        logWarning("push subscriber " + info_.peer + " does not read its notifications; dropped");
        closeSocket();
        return;
    }
    outbox_.push_back(std::move(frame));
    writerWake_.cancel();
}

awaitable<void> Session::watchdog()
{
    while (!closed_) {
        const auto deadline = std::min(readDeadline_, writeDeadline_);
        if (deadline <= Clock::now()) {
            if (timedOut_) {
                closeSocket();
                break;
            }
            // First expiry: wake the pending operation so the session can say why it closes;
            // if it does not manage that in time either, the next expiry cuts it off.
            timedOut_ = true;
            boost::system::error_code ignored;
            socket_.cancel(ignored);
            readDeadline_ = writeDeadline_ = Clock::now() + kCloseGrace;
            continue;
        }
        watchdogTimer_.expires_at(deadline);
        co_await watchdogTimer_.async_wait(useTuple);
    }
}

void Session::setReadDeadline(Clock::time_point deadline)
{
    readDeadline_ = deadline;
    if (deadline < watchdogTimer_.expiry()) watchdogTimer_.cancel();
}

void Session::setWriteDeadline(Clock::time_point deadline)
{
    writeDeadline_ = deadline;
    if (deadline < watchdogTimer_.expiry()) watchdogTimer_.cancel();
}

void Session::closeSocket()
{
    if (closed_) return;
    closed_ = true;
    env_.hub.unsubscribe(this);
    boost::system::error_code ignored;
    socket_.shutdown(tcp::socket::shutdown_both, ignored);
    socket_.close(ignored);
    watchdogTimer_.cancel();
    writerWake_.cancel();
    outbox_.clear();
}

} // namespace durnak::server
