#include "mail/message.hpp"

namespace durnak::server::mail {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

bool needsEncoding(std::string_view text)
{
    for (unsigned char c : text)
        if (c < 0x20 || c >= 0x7f || c == '=' || c == '?' || c == '"') return true;
    return text.size() > 60;
}

// Length of the UTF-8 sequence that starts with this byte (1 for stray bytes).
std::size_t sequenceLength(unsigned char c)
{
    if (c >= 0xf0 && c <= 0xf4) return 4;
    if (c >= 0xe0) return 3;
    if (c >= 0xc2 && c <= 0xdf) return 2;
    return 1;
}

std::string rfc5322Date(std::time_t when)
{
    std::tm utc{};
    gmtime_r(&when, &utc);
    char text[64];
    std::strftime(text, sizeof text, "%a, %d %b %Y %H:%M:%S +0000", &utc);
    return text;
}

} // namespace

std::string base64(std::string_view data)
{
    std::string out;
    out.reserve((data.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 2 < data.size(); i += 3) {
        const unsigned v = (static_cast<unsigned char>(data[i]) << 16) |
                           (static_cast<unsigned char>(data[i + 1]) << 8) | static_cast<unsigned char>(data[i + 2]);
        out += kAlphabet[(v >> 18) & 63];
        out += kAlphabet[(v >> 12) & 63];
        out += kAlphabet[(v >> 6) & 63];
        out += kAlphabet[v & 63];
    }
    if (i < data.size()) {
        unsigned v = static_cast<unsigned char>(data[i]) << 16;
        if (i + 1 < data.size()) v |= static_cast<unsigned char>(data[i + 1]) << 8;
        out += kAlphabet[(v >> 18) & 63];
        out += kAlphabet[(v >> 12) & 63];
        out += i + 1 < data.size() ? kAlphabet[(v >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

std::string encodeHeaderText(std::string_view text)
{
    if (!needsEncoding(text)) return std::string(text);
    // 39 input bytes make a 64-character word, so even the first line, behind "Subject: ",
    // keeps within the 78 characters a mail line should not pass.
    constexpr std::size_t kChunk = 39;
    std::string out;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = pos;
        while (end < text.size()) {
            const std::size_t len = sequenceLength(static_cast<unsigned char>(text[end]));
            if (end + len - pos > kChunk) break;
            end += len;
        }
        if (end == pos) end = std::min(text.size(), pos + 1);
        if (!out.empty()) out += "\r\n ";
        out += "=?UTF-8?B?" + base64(text.substr(pos, end - pos)) + "?=";
        pos = end;
    }
    return out;
}

bool isPlainAddress(std::string_view address)
{
    const auto at = address.find('@');
    if (address.empty() || address.size() > 254 || at == std::string_view::npos || at == 0 ||
        at + 1 == address.size())
        return false;
    for (unsigned char c : address)
        if (c <= 0x20 || c >= 0x7f || c == '<' || c == '>' || c == ',' || c == ';' || c == '"' || c == '(' ||
            c == ')')
            return false;
    return true;
}

std::string render(const Message& message)
{
    // Canonical CRLF line ends before encoding, as text/plain requires.
    std::string body;
    body.reserve(message.body.size() + message.body.size() / 40);
    for (std::size_t i = 0; i < message.body.size(); ++i) {
        const char c = message.body[i];
        if (c == '\r') {
            body += "\r\n";
            if (i + 1 < message.body.size() && message.body[i + 1] == '\n') ++i;
        } else if (c == '\n') {
            body += "\r\n";
        } else {
            body += c;
        }
    }

    std::string out;
    out += "Date: " + rfc5322Date(message.date ? message.date : std::time(nullptr)) + "\r\n";
    out += "From: " + encodeHeaderText("Durnak B2B") + " <" + message.from + ">\r\n";
    out += "To: <" + message.to + ">\r\n";
    out += "Subject: " + encodeHeaderText(message.subject) + "\r\n";
    if (!message.messageId.empty()) out += "Message-ID: <" + message.messageId + ">\r\n";
    out += "MIME-Version: 1.0\r\n";
    out += "Content-Type: text/plain; charset=UTF-8\r\n";
    out += "Content-Transfer-Encoding: base64\r\n\r\n";
    const std::string encoded = base64(body);
    for (std::size_t i = 0; i < encoded.size(); i += 76) out += encoded.substr(i, 76) + "\r\n";
    return out;
}

} // namespace durnak::server::mail
