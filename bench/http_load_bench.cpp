// Keep-alive HTTP GET load on a loopback server, bounded in count and time; prints the
// requests per second so that run_edge.sh can compare two servers in the same run.
// Usage: http_load_bench PORT TARGET [connections=16] [seconds=3] [max_requests=2000000]

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <boost/asio.hpp>

namespace asio = boost::asio;
using asio::ip::tcp;
using Clock = std::chrono::steady_clock;

namespace {

struct Totals {
    long long done = 0;
    long long failed = 0;
    long long limit = 0;
    long long bytes = 0;
    Clock::time_point deadline;
};

class Connection : public std::enable_shared_from_this<Connection> {
public:
    Connection(asio::io_context& io, const tcp::endpoint& server, const std::string& request, Totals& totals)
        : socket_(io), server_(server), request_(request), totals_(totals)
    {
    }

    void start()
    {
        socket_.async_connect(server_, [self = shared_from_this()](boost::system::error_code ec) {
            if (ec) return self->fail();
            self->socket_.set_option(tcp::no_delay(true));
            self->send();
        });
    }

private:
    void send()
    {
        if (totals_.done >= totals_.limit || Clock::now() >= totals_.deadline) return;
        asio::async_write(socket_, asio::buffer(request_), [self = shared_from_this()](boost::system::error_code ec, std::size_t) {
            if (ec) return self->fail();
            self->readHead();
        });
    }

    void readHead()
    {
        asio::async_read_until(socket_, buffer_, "\r\n\r\n", [self = shared_from_this()](boost::system::error_code ec, std::size_t n) {
            if (ec) return self->fail();
            std::string head(asio::buffers_begin(self->buffer_.data()), asio::buffers_begin(self->buffer_.data()) + n);
            self->buffer_.consume(n);
            if (head.compare(0, 12, "HTTP/1.1 200") != 0) return self->fail();
            std::size_t length = 0;
            for (const char* name : {"Content-Length: ", "content-length: "}) {
                const auto at = head.find(name);
                if (at != std::string::npos) length = std::strtoull(head.c_str() + at + 16, nullptr, 10);
            }
            self->readBody(length);
        });
    }

    void readBody(std::size_t length)
    {
        const std::size_t have = buffer_.size();
        if (have >= length) {
            buffer_.consume(length);
            ++totals_.done;
            totals_.bytes += static_cast<long long>(length);
            return send();
        }
        asio::async_read(socket_, buffer_, asio::transfer_exactly(length - have),
                         [self = shared_from_this(), length](boost::system::error_code ec, std::size_t) {
                             if (ec) return self->fail();
                             self->readBody(length);
                         });
    }

    void fail() { ++totals_.failed; }

    tcp::socket socket_;
    tcp::endpoint server_;
    const std::string& request_;
    Totals& totals_;
    asio::streambuf buffer_;
};

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: http_load_bench PORT TARGET [connections] [seconds] [max_requests]\n");
        return 2;
    }
    const auto port = static_cast<unsigned short>(std::atoi(argv[1]));
    const std::string request = std::string("GET ") + argv[2] + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
    const int connections = argc > 3 ? std::max(1, std::min(256, std::atoi(argv[3]))) : 16;
    const double seconds = argc > 4 ? std::max(0.5, std::min(30.0, std::atof(argv[4]))) : 3.0;
    Totals totals;
    totals.limit = argc > 5 ? std::atoll(argv[5]) : 2'000'000;

    asio::io_context io;
    const tcp::endpoint server(asio::ip::make_address("127.0.0.1"), port);
    const auto start = Clock::now();
    totals.deadline = start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    for (int i = 0; i < connections; ++i) std::make_shared<Connection>(io, server, request, totals)->start();
    io.run_for(std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::duration<double>(seconds + 5)));
    const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("%lld requests, %lld failed, %.2f s, %.0f req/s, %.1f MB/s\n", totals.done, totals.failed, elapsed,
                totals.done / elapsed, totals.bytes / elapsed / 1e6);
    return totals.done > 0 ? 0 : 1;
}
