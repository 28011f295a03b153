#pragma once

// Internet mail text for the dealer's messages: UTF-8 throughout, subjects as encoded words,
// bodies in base64, so Turkish letters and stray line breaks in user input reach the
// mailbox intact and can never add header lines.

#include <ctime>
#include <string>
#include <string_view>

namespace durnak::server::mail {

struct Message {
    std::string from;  // bare address
    std::string to;    // bare address
    std::string subject;
    std::string body;  // plain UTF-8 text, any line ends
    std::string messageId;  // without angle brackets; stable per outbox row, so resends can be told apart
    std::time_t date = 0;
};

std::string base64(std::string_view data);
// RFC 2047 encoded words (UTF-8, B), each at most 64 characters and never splitting a letter,
// separated by folding white space. Plain ASCII text without specials is returned as it is.
std::string encodeHeaderText(std::string_view text);
// The whole message with CRLF line ends, ready for SMTP.
std::string render(const Message& message);
// True when an address can be put into a header and an SMTP envelope as it is.
bool isPlainAddress(std::string_view address);

} // namespace durnak::server::mail
