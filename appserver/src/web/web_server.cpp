#include "web/web_server.hpp"

#include <array>
#include <chrono>

#include <boost/asio/co_spawn.hpp>
#include <boost/asio/detached.hpp>
#include <boost/asio/strand.hpp>
#include <boost/asio/use_awaitable.hpp>
#include <boost/asio/as_tuple.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/core/tcp_stream.hpp>
#include <boost/beast/http.hpp>

#include "log.hpp"

namespace durnak::server::web {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using asio::ip::tcp;

namespace {

constexpr std::uint32_t kHeaderLimit = 8 * 1024;
constexpr std::uint64_t kBodyLimit = 64 * 1024;
// A keep-alive connection may wait this long for its next request, and a request must
// arrive whole within it.
constexpr auto kReadTimeout = std::chrono::seconds(30);
// Long enough for the setup program over a slow line.
constexpr auto kWriteTimeout = std::chrono::minutes(10);

constexpr auto kNoThrow = asio::as_tuple(asio::use_awaitable);

std::string peerAddress(const tcp::socket& socket)
{
    boost::system::error_code ec;
    auto endpoint = socket.remote_endpoint(ec);
    if (ec) return {};
    auto address = endpoint.address();
    if (address.is_v6() && address.to_v6().is_v4_mapped())
        address = asio::ip::make_address_v4(asio::ip::v4_mapped, address.to_v6());
    return address.to_string();
}

http::response<http::string_body> toBeast(WebResponse&& answer, unsigned version, bool keepAlive, bool head)
{
    http::response<http::string_body> res{static_cast<http::status>(answer.status), version};
    res.set(http::field::server, "durnak-server");
    if (!answer.contentType.empty()) res.set(http::field::content_type, answer.contentType);
    res.set("X-Content-Type-Options", "nosniff");
    for (auto& [name, value] : answer.headers) res.set(name, value);
    res.keep_alive(keepAlive);
    const auto length = answer.body.size();
    if (!head) res.body() = std::move(answer.body);
    res.content_length(length);
    return res;
}

} // namespace

WebServer::WebServer(Store& store, WebServerOptions options)
    : site_(store), options_(options), io_(static_cast<int>(options.threads)), acceptor_(io_)
{
}

WebServer::~WebServer()
{
    stop();
}

std::uint16_t WebServer::open(const std::string& address, std::uint16_t port)
{
    tcp::endpoint endpoint(asio::ip::make_address(address), port);
    acceptor_.open(endpoint.protocol());
    acceptor_.set_option(tcp::acceptor::reuse_address(true));
    acceptor_.bind(endpoint);
    acceptor_.listen(asio::socket_base::max_listen_connections);
    return acceptor_.local_endpoint().port();
}

void WebServer::start()
{
    started_ = true;
    asio::co_spawn(io_, acceptLoop(), asio::detached);
    for (std::size_t i = 0; i < options_.threads; ++i) threads_.emplace_back([this] { io_.run(); });
}

void WebServer::stop()
{
    if (!started_) return;
    started_ = false;
    asio::post(io_, [this] {
        boost::system::error_code ignored;
        acceptor_.close(ignored);
    });
    // Open connections are cut: the clients retry their downloads, nothing is half-stored.
    io_.stop();
    for (auto& t : threads_) t.join();
    threads_.clear();
}

asio::awaitable<void> WebServer::acceptLoop()
{
    while (acceptor_.is_open()) {
        // Each connection on its own strand, so its handlers never run on two threads at once.
        auto [ec, socket] = co_await acceptor_.async_accept(asio::make_strand(io_), kNoThrow);
        if (ec) {
            if (ec == asio::error::operation_aborted || !acceptor_.is_open()) co_return;
            // Out of descriptors and the like: wait a little instead of spinning.
            logWarning("web accept failed: " + ec.message());
            asio::steady_timer pause(io_, std::chrono::milliseconds(100));
            co_await pause.async_wait(kNoThrow);
            continue;
        }
        if (connections_.load() >= options_.maxConnections) {
            boost::system::error_code ignored;
            socket.close(ignored);
            continue;
        }
        auto executor = socket.get_executor();
        asio::co_spawn(executor, serve(std::move(socket)), asio::detached);
    }
}

asio::awaitable<void> WebServer::serve(tcp::socket socket)
{
    ++connections_;
    struct Count {
        std::atomic<std::size_t>& n;
        ~Count() { --n; }
    } count{connections_};

    const std::string peer = peerAddress(socket);
    beast::tcp_stream stream(std::move(socket));
    beast::flat_buffer buffer;
    while (true) {
        http::request_parser<http::string_body> parser;
        parser.header_limit(kHeaderLimit);
        parser.body_limit(kBodyLimit);
        stream.expires_after(kReadTimeout);
        auto [readError, bytes] = co_await http::async_read(stream, buffer, parser, kNoThrow);
        (void)bytes;
        if (readError) {
            // A request we cannot take gets a short answer; a vanished peer none.
            unsigned status = 0;
            if (readError == http::error::header_limit) status = 400;
            else if (readError == http::error::body_limit) status = 413;
            else if (readError.category() == http::make_error_code(http::error::bad_target).category() &&
                     readError != http::error::end_of_stream && readError != http::error::partial_message)
                status = 400;
            if (status) {
                WebResponse answer{status, "text/plain; charset=utf-8",
                                   status == 413 ? "İstek gövdesi çok büyük.\n" : "Geçersiz istek.\n", {}};
                auto res = toBeast(std::move(answer), 11, false, false);
                stream.expires_after(std::chrono::seconds(5));
                co_await http::async_write(stream, res, kNoThrow);
                // Read and drop what the peer is still sending before closing: closing with
                // unread input resets the connection and the peer may lose the answer.
                boost::system::error_code ignored;
                stream.socket().shutdown(tcp::socket::shutdown_send, ignored);
                std::array<char, 16 * 1024> sink;
                std::size_t drained = 0;
                stream.expires_after(std::chrono::seconds(2));
                while (drained < 4 * 1024 * 1024) {
                    auto [e, n] = co_await stream.async_read_some(asio::buffer(sink), kNoThrow);
                    if (e) break;
                    drained += n;
                }
            }
            break;
        }

        auto& req = parser.get();
        WebRequest request;
        request.method = std::string(req.method_string());
        request.target = std::string(req.target());
        request.contentType = std::string(req[http::field::content_type]);
        request.body = std::move(req.body());
        request.peer = peer;
        const bool head = req.method() == http::verb::head;
        const bool keepAlive = req.keep_alive();
        const unsigned version = req.version();

        auto res = toBeast(site_.handle(request), version, keepAlive, head);
        stream.expires_after(kWriteTimeout);
        auto [writeError, written] = co_await http::async_write(stream, res, kNoThrow);
        (void)written;
        if (writeError || !keepAlive) break;
    }
    boost::system::error_code ignored;
    stream.socket().shutdown(tcp::socket::shutdown_send, ignored);
    stream.close();
}

} // namespace durnak::server::web
