#include "test_client.hpp"

#include <stdexcept>

#include <boost/asio/connect.hpp>
#include <boost/asio/write.hpp>
#include <boost/json/serialize.hpp>

#include "durnak/protocol/error.hpp"

namespace durnak::testing {

namespace asio = boost::asio;
using asio::ip::tcp;

TestClient::TestClient(std::uint16_t port, std::chrono::milliseconds timeout)
    : socket_(io_), timeout_(timeout)
{
    boost::system::error_code result = asio::error::would_block;
    runWithTimeout([&] {
        socket_.async_connect(tcp::endpoint(asio::ip::address_v4::loopback(), port),
                              [&](const boost::system::error_code& ec) { result = ec; });
    });
    if (result) throw std::runtime_error("cannot connect to port " + std::to_string(port) + ": " + result.message());
}

template <class Operation>
void TestClient::runWithTimeout(Operation&& start)
{
    io_.restart();
    start();
    io_.run_for(timeout_);
    if (!io_.stopped()) {
        // Still pending: cancel and let the handler see it, then report the time-out.
        boost::system::error_code ignored;
        socket_.cancel(ignored);
        io_.restart();
        io_.run();
        throw std::runtime_error("timed out waiting for the server");
    }
}

void TestClient::sendRaw(std::string_view bytes)
{
    boost::system::error_code result = asio::error::would_block;
    runWithTimeout([&] {
        asio::async_write(socket_, asio::buffer(bytes.data(), bytes.size()),
                          [&](const boost::system::error_code& ec, std::size_t) { result = ec; });
    });
    if (result) throw std::runtime_error("send failed: " + result.message());
}

void TestClient::send(const boost::json::object& envelope, const std::vector<std::string>& attachments)
{
    sendRaw(protocol::encodeEnvelope(envelope, attachments));
}

void TestClient::shutdownSend()
{
    socket_.shutdown(tcp::socket::shutdown_send);
}

std::size_t TestClient::readSome(bool keep)
{
    if (closed_) return 0;
    char buffer[64 * 1024];
    boost::system::error_code result = asio::error::would_block;
    std::size_t size = 0;
    runWithTimeout([&] {
        socket_.async_read_some(asio::buffer(buffer), [&](const boost::system::error_code& ec, std::size_t n) {
            result = ec;
            size = n;
        });
    });
    if (result == asio::error::eof || result == asio::error::connection_reset) {
        closed_ = true;
        return 0;
    }
    if (result) throw std::runtime_error("receive failed: " + result.message());
    if (keep) reader_.feed(std::string_view(buffer, size));
    return size;
}

std::optional<protocol::Envelope> TestClient::receive()
{
    while (true) {
        if (auto message = reader_.next()) return message;
        if (readSome() == 0) {
            if (!reader_.idle()) throw std::runtime_error("connection closed in the middle of a message");
            return std::nullopt;
        }
    }
}

protocol::Envelope TestClient::expect(std::string_view op)
{
    auto message = receive();
    if (!message) throw std::runtime_error("connection closed while waiting for '" + std::string(op) + "'");
    if (message->op() != op)
        throw std::runtime_error("expected '" + std::string(op) + "', got " + boost::json::serialize(message->json));
    return std::move(*message);
}

bool TestClient::waitForClose()
{
    try {
        while (readSome(false) != 0) {
        }
        return true;
    } catch (const std::runtime_error&) {
        return false;
    }
}

protocol::Envelope TestClient::hello(boost::json::object extra)
{
    extra["op"] = protocol::op::Hello;
    extra["protocol"] = protocol::kProtocolVersion;
    send(extra);
    return expect(protocol::op::Welcome);
}

std::vector<protocol::Value> TestClient::call(std::string_view command, const std::vector<protocol::Value>& params)
{
    sendRaw(protocol::encodeCall(command, params));
    auto message = receive();
    if (!message) throw std::runtime_error("connection closed while waiting for the answer to " + std::string(command));
    return protocol::decodeResult(std::move(*message));
}

} // namespace durnak::testing
