#pragma once

#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <boost/json/value.hpp>

namespace durnak::server {

// What a client named when it registered its callback.
struct Subscription {
    std::string channel;
    std::string managerId;
    std::string callback;
};

// A registered push connection. deliver() may be called from any thread and must not block.
class PushSink {
public:
    virtual ~PushSink() = default;
    virtual void deliver(std::string frame) = 0;
};

// The registered push connections. notifyAll() is the one entry point for server code
// that wants clients to refresh (domain methods, the admin tool's relay, tests).
class PushHub {
public:
    void subscribe(const std::shared_ptr<PushSink>& sink, Subscription subscription);
    void unsubscribe(const PushSink* sink);

    // Sends {"op":"notify","channel","callback","payload"} to every subscriber; returns how
    // many it was queued for. Does not wait for delivery or for the clients' answers.
    std::size_t notifyAll(const boost::json::value& payload);
    std::size_t subscriberCount() const;

private:
    struct Entry {
        std::weak_ptr<PushSink> sink;
        const PushSink* key;
        Subscription subscription;
    };
    mutable std::mutex mutex_;
    std::vector<Entry> entries_;
};

} // namespace durnak::server
