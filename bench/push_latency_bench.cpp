// Notification latency to many registered push channels of the real server.
// Prints p50 and p99 from the notifying call to each channel's receipt, for 1 channel (the
// baseline of this run) and for N channels, and the ratios between them.
// Usage: push_latency_bench [channels=1000] [rounds=20]

#include <sys/resource.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <boost/asio.hpp>

#include "server_process.hpp"

namespace asio = boost::asio;
using asio::ip::tcp;
using Clock = std::chrono::steady_clock;

namespace {

std::string frame(const std::string& json)
{
    const auto n = static_cast<std::uint32_t>(json.size());
    std::string out = {static_cast<char>(n >> 24), static_cast<char>(n >> 16), static_cast<char>(n >> 8),
                       static_cast<char>(n)};
    return out + json;
}

const std::string kHello = frame(R"({"op":"hello","protocol":1})");
const std::string kRegister =
    frame(R"({"op":"register","channel":"DurnakOto","managerId":"DurnakOtoId","callback":"DurnakOto"})");
const std::string kAck = frame(R"({"op":"ack","value":true})");
const std::string kNotifyCall = frame(R"({"op":"call","command":"TServerMethods1.TestNotify","params":[{"string":"b"}]})");

// Reads one frame's payload.
std::string readFrame(tcp::socket& s)
{
    std::array<unsigned char, 4> head{};
    asio::read(s, asio::buffer(head));
    const std::uint32_t n = (head[0] << 24) | (head[1] << 16) | (head[2] << 8) | head[3];
    std::string payload(n, '\0');
    asio::read(s, asio::buffer(payload));
    return payload;
}

struct Channel {
    tcp::socket socket;
    std::array<unsigned char, 4> head{};
    std::string payload;
    Clock::time_point received;
    explicit Channel(asio::io_context& io) : socket(io) {}
};

void readNext(Channel& c, int& pending)
{
    asio::async_read(c.socket, asio::buffer(c.head), [&c, &pending](boost::system::error_code ec, std::size_t) {
        if (ec) return;
        const std::uint32_t n = (c.head[0] << 24) | (c.head[1] << 16) | (c.head[2] << 8) | c.head[3];
        c.payload.assign(n, '\0');
        asio::async_read(c.socket, asio::buffer(c.payload), [&c, &pending](boost::system::error_code ec2, std::size_t) {
            if (ec2) return;
            if (c.payload.find("\"notify\"") != std::string::npos) {
                c.received = Clock::now();
                --pending;
                asio::write(c.socket, asio::buffer(kAck));
            }
            readNext(c, pending);
        });
    });
}

struct Figures {
    double p50 = 0, p99 = 0;
};

Figures measure(std::uint16_t port, int channels, int rounds)
{
    asio::io_context io;
    tcp::endpoint server(asio::ip::make_address("127.0.0.1"), port);
    std::vector<std::unique_ptr<Channel>> subs;
    for (int i = 0; i < channels; ++i) {
        auto c = std::make_unique<Channel>(io);
        c->socket.connect(server);
        c->socket.set_option(tcp::no_delay(true));
        asio::write(c->socket, asio::buffer(kHello));
        readFrame(c->socket);  // welcome
        asio::write(c->socket, asio::buffer(kRegister));
        readFrame(c->socket);  // ack
        subs.push_back(std::move(c));
    }
    tcp::socket caller(io);
    caller.connect(server);
    caller.set_option(tcp::no_delay(true));
    asio::write(caller, asio::buffer(kHello));
    readFrame(caller);

    int pending = 0;
    for (auto& c : subs) readNext(*c, pending);
    std::vector<double> micros;
    for (int round = 0; round < rounds; ++round) {
        pending = channels;
        const auto start = Clock::now();
        asio::write(caller, asio::buffer(kNotifyCall));
        const auto deadline = start + std::chrono::seconds(30);
        while (pending > 0 && Clock::now() < deadline) io.run_for(std::chrono::milliseconds(50));
        if (pending > 0) std::fprintf(stderr, "round %d: %d channels got nothing\n", round, pending);
        readFrame(caller);  // the call's result
        for (auto& c : subs)
            micros.push_back(std::chrono::duration<double, std::micro>(c->received - start).count());
        io.run_for(std::chrono::milliseconds(20));  // acks settle
    }
    std::sort(micros.begin(), micros.end());
    return {micros[micros.size() / 2], micros[std::min(micros.size() - 1, micros.size() * 99 / 100)]};
}

} // namespace

int main(int argc, char* argv[])
{
    const int channels = argc > 1 ? std::max(1, std::min(4000, std::atoi(argv[1]))) : 1000;
    const int rounds = argc > 2 ? std::max(1, std::min(200, std::atoi(argv[2]))) : 20;
    rlimit limit{};
    ::getrlimit(RLIMIT_NOFILE, &limit);
    limit.rlim_cur = limit.rlim_max;
    ::setrlimit(RLIMIT_NOFILE, &limit);

    durnak::testing::ServerProcess server;
    const Figures one = measure(server.port(), 1, rounds * 5);
    const Figures many = measure(server.port(), channels, rounds);
    std::printf("1 channel (baseline):  p50 %.0f us, p99 %.0f us\n", one.p50, one.p99);
    std::printf("%d channels:         p50 %.0f us (%.1fx baseline p50), p99 %.0f us (%.1fx baseline p50)\n", channels,
                many.p50, many.p50 / one.p50, many.p99, many.p99 / one.p50);
    return 0;
}
