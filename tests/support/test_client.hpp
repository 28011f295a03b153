#pragma once

// A blocking loopback client for server tests: raw frames for bad-input cases, envelopes
// and calls for the rest. Every wait is bounded, so a server that hangs fails the test
// instead of hanging it.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/json/object.hpp>

#include "durnak/protocol/envelope.hpp"

namespace durnak::testing {

class TestClient {
public:
    // Connects to 127.0.0.1:port; throws std::runtime_error when that fails.
    explicit TestClient(std::uint16_t port, std::chrono::milliseconds timeout = std::chrono::seconds(20));

    void sendRaw(std::string_view bytes);
    void send(const boost::json::object& envelope, const std::vector<std::string>& attachments = {});
    // Half-close: the server sees end of input but can still answer.
    void shutdownSend();

    // The next message, or nullopt once the server has closed the connection.
    // Throws on a time-out and on a broken frame.
    std::optional<protocol::Envelope> receive();
    // The next message, which must have this op (throws otherwise, with the message).
    protocol::Envelope expect(std::string_view op);
    // Reads and drops whatever comes until the server closes; false if it does not in time.
    bool waitForClose();

    // hello (with optional extra fields), expecting welcome; answers the welcome.
    protocol::Envelope hello(boost::json::object extra = {});
    // One call; the out values and the result, or protocol::ServerError with the server's text.
    std::vector<protocol::Value> call(std::string_view command, const std::vector<protocol::Value>& params);

private:
    // Bytes read (into reader_ when kept); 0 at end of input or reset. Throws on time-out.
    std::size_t readSome(bool keep = true);
    template <class Operation>
    void runWithTimeout(Operation&& start);

    boost::asio::io_context io_;
    boost::asio::ip::tcp::socket socket_;
    std::chrono::milliseconds timeout_;
    protocol::MessageReader reader_;
    bool closed_ = false;
};

} // namespace durnak::testing
