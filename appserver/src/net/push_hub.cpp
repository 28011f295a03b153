#include "net/push_hub.hpp"

#include <algorithm>

#include <boost/json/object.hpp>

#include "durnak/protocol/envelope.hpp"

namespace durnak::server {

namespace json = boost::json;
namespace op = protocol::op;

void PushHub::subscribe(const std::shared_ptr<PushSink>& sink, Subscription subscription)
{
    std::lock_guard lock(mutex_);
    for (auto& entry : entries_) {
        if (entry.key == sink.get()) {
            entry.subscription = std::move(subscription);  // registering again renames the callback
            return;
        }
    }
    entries_.push_back({sink, sink.get(), std::move(subscription)});
}

void PushHub::unsubscribe(const PushSink* sink)
{
    std::lock_guard lock(mutex_);
    std::erase_if(entries_, [&](const Entry& e) { return e.key == sink; });
}

std::size_t PushHub::notifyAll(const json::value& payload)
{
    std::vector<std::pair<std::shared_ptr<PushSink>, Subscription>> targets;
    {
        std::lock_guard lock(mutex_);
        std::erase_if(entries_, [](const Entry& e) { return e.sink.expired(); });
        for (const auto& entry : entries_) {
            if (auto sink = entry.sink.lock()) targets.emplace_back(std::move(sink), entry.subscription);
        }
    }
    // Delivered outside the lock: a sink may unsubscribe from inside deliver().
    for (auto& [sink, subscription] : targets) {
        json::object message;
        message["op"] = op::Notify;
        message["channel"] = subscription.channel;
        message["callback"] = subscription.callback;
        message["payload"] = payload;
        sink->deliver(protocol::encodeEnvelope(message));
    }
    return targets.size();
}

std::size_t PushHub::subscriberCount() const
{
    std::lock_guard lock(mutex_);
    return std::count_if(entries_.begin(), entries_.end(), [](const Entry& e) { return !e.sink.expired(); });
}

} // namespace durnak::server
