#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace durnak::server {
class Store;
class PushHub;
}

namespace durnak::server::web {

// Turns rows of push_events (written by database triggers whenever the scrolling text,
// banners or screens change, and by `durnak-admin notify`) into one notification to every
// registered push channel. The admin tool is a separate process; the database is the one
// thing both share, and it also carries the events to other servers on the same database.
class PushRelay {
public:
    PushRelay(Store& store, PushHub& hub, std::chrono::milliseconds interval = std::chrono::milliseconds(200));
    ~PushRelay();

    void start();
    void stop();

private:
    void run();
    void poll();

    Store& store_;
    PushHub& hub_;
    std::chrono::milliseconds interval_;
    long long lastSeen_ = 0;
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::atomic<bool> stopping_{false};
};

} // namespace durnak::server::web
