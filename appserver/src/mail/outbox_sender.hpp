#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "mail/smtp.hpp"

namespace durnak::server {
class Store;
}

namespace durnak::server::mail {

struct SenderOptions {
    SmtpSettings smtp;
    std::string from;
    std::string to;
    std::chrono::seconds retryMin{5};
    std::chrono::seconds retryMax{3600};
    std::chrono::milliseconds pollInterval{500};
};

// Delivers mail_outbox rows to the dealer, oldest first. A row is marked sent only after
// the SMTP server took it; a failure leaves it in the outbox with a growing pause before the
// next attempt, so nothing is lost while the mail server is down or this server restarts
// (a message cut off mid-delivery may arrive twice, never not at all).
class OutboxSender {
public:
    OutboxSender(Store& store, SenderOptions options);
    ~OutboxSender();

    void start();
    void stop();

    // The pause before attempt number `attempts + 1`, after `attempts` failures.
    static std::chrono::seconds backoff(int attempts, std::chrono::seconds min, std::chrono::seconds max);

private:
    void run();
    // Sends what is due; returns true when it may have left more due rows behind.
    bool deliverDue();

    Store& store_;
    SenderOptions options_;
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::atomic<bool> stopping_{false};
};

} // namespace durnak::server::mail
