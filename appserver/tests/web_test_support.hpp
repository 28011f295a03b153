#pragma once

// A tiny blocking HTTP/1.1 client for the web endpoint tests: one request per connection,
// raw bytes in, status, headers and body out, every wait bounded.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>

namespace durnak::testing {

struct HttpReply {
    int status = 0;
    std::map<std::string, std::string> headers;  // names in lower case
    std::string body;
    std::string raw;

    std::string header(const std::string& lowerName) const
    {
        auto it = headers.find(lowerName);
        return it == headers.end() ? std::string() : it->second;
    }
};

inline std::string lowerAscii(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// Sends the bytes as they are and reads until the server closes (at most 20 s).
inline HttpReply httpRaw(std::uint16_t port, const std::string& bytes)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) throw std::runtime_error("socket failed");
    timeval timeout{20, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        ::close(fd);
        throw std::runtime_error("connect failed");
    }
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const auto n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) break;  // the server may refuse before reading everything
        sent += static_cast<std::size_t>(n);
    }
    HttpReply reply;
    char buffer[65536];
    while (true) {
        const auto n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0) break;
        reply.raw.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    const auto headEnd = reply.raw.find("\r\n\r\n");
    if (reply.raw.rfind("HTTP/1.", 0) != 0 || headEnd == std::string::npos) return reply;
    reply.status = std::stoi(reply.raw.substr(9, 3));
    std::size_t pos = reply.raw.find("\r\n") + 2;
    while (pos < headEnd) {
        const auto eol = reply.raw.find("\r\n", pos);
        const std::string line = reply.raw.substr(pos, eol - pos);
        const auto colon = line.find(':');
        if (colon != std::string::npos) {
            std::string value = line.substr(colon + 1);
            value.erase(0, value.find_first_not_of(' '));
            reply.headers[lowerAscii(line.substr(0, colon))] = value;
        }
        pos = eol + 2;
    }
    reply.body = reply.raw.substr(headEnd + 4);
    return reply;
}

inline HttpReply httpGet(std::uint16_t port, const std::string& target, const std::string& method = "GET")
{
    return httpRaw(port, method + " " + target + " HTTP/1.1\r\nHost: localhost\r\nConnection: close\r\n\r\n");
}

inline HttpReply httpPostForm(std::uint16_t port, const std::string& target, const std::string& body)
{
    return httpRaw(port, "POST " + target +
                             " HTTP/1.1\r\nHost: localhost\r\nConnection: close\r\n"
                             "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: " +
                             std::to_string(body.size()) + "\r\n\r\n" + body);
}

// application/x-www-form-urlencoded text of one value.
inline std::string formEncode(const std::string& text)
{
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
            c == '.' || c == '~') {
            out += static_cast<char>(c);
        } else if (c == ' ') {
            out += '+';
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

} // namespace durnak::testing
