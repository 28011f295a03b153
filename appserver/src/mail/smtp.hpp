#pragma once

#include <atomic>
#include <string>

#include "mail/message.hpp"

namespace durnak::server::mail {

struct SmtpSettings {
    std::string url;  // smtp://host:port or smtps://host:port
    std::string user;
    std::string password;
    bool startTls = false;
};

// Hands one message to the SMTP server (libcurl). Returns an empty text on success, else
// what went wrong. Gives up early when `cancel` becomes true.
std::string sendMail(const SmtpSettings& settings, const Message& message, const std::atomic<bool>& cancel);

} // namespace durnak::server::mail
