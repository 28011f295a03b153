// Diagnostics for the integration tests, offered only with test_methods on. They are not
// in the catalogue, so clients in the field never see them.

#include <chrono>
#include <thread>

#include <boost/json/value.hpp>

#include "dispatch/method_registry.hpp"
#include "durnak/protocol/envelope.hpp"
#include "durnak/protocol/error.hpp"
#include "methods/methods.hpp"
#include "net/push_hub.hpp"

namespace durnak::server {

namespace {

using protocol::Value;

// The payload of a test notification: a string or JSON array parameter as it is, any other
// value in its wire form, null without a parameter.
boost::json::value payloadOf(const std::vector<Value>& params)
{
    if (params.empty() || params.front().isNull()) return nullptr;
    const Value& first = params.front();
    if (first.kind() == protocol::Kind::String) return boost::json::value(first.asString());
    if (first.kind() == protocol::Kind::JsonArray) return first.asJsonArray();
    std::vector<std::string> attachments;
    auto payload = protocol::valueToJson(first, attachments);
    if (!attachments.empty()) throw protocol::ProtocolError("Bildirim içeriği akış taşıyamaz.");
    return payload;
}

} // namespace

void registerDiagnosticMethods(MethodRegistry& registry)
{
    // Every parameter comes back as an out value at its own position; the result is the count.
    registry.addDiagnostic("TestEcho", [](CallContext&, std::vector<Value>& params) {
        std::vector<Value> values(std::make_move_iterator(params.begin()), std::make_move_iterator(params.end()));
        values.emplace_back(static_cast<std::int32_t>(params.size()));
        return values;
    });

    // notifyAll with the first parameter as payload; the result is the number of subscribers.
    registry.addDiagnostic("TestNotify", [](CallContext& call, std::vector<Value>& params) {
        const auto count = call.push().notifyAll(payloadOf(params));
        return call.reply(static_cast<std::int32_t>(count));
    });

    // Sleeps for params[0] milliseconds (at most a minute). It announces its start on the push
    // channel so that a test can act while the call is certainly running.
    registry.addDiagnostic("TestSleep", [](CallContext& call, std::vector<Value>& params) {
        const auto millis = params.empty() ? 0 : params.front().asInt32();
        if (millis < 0 || millis > 60000) throw protocol::ProtocolError("TestSleep: 0 ile 60000 ms arası olmalı.");
        call.push().notifyAll(boost::json::value("TestSleep"));
        std::this_thread::sleep_for(std::chrono::milliseconds(millis));
        return call.reply(millis);
    });
}

} // namespace durnak::server
