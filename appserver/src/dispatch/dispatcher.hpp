#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "durnak/protocol/envelope.hpp"
#include "dispatch/call_context.hpp"
#include "dispatch/method_registry.hpp"

namespace durnak::server {

class Store;
class PushHub;

// A call that cannot be answered with values; the text goes to the user as it is.
class CallFailed : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Runs calls against the registry. Called on worker threads; keeps no state per call.
class Dispatcher {
public:
    // Without an authenticator every call runs unchecked (unit tests of the dispatcher only).
    Dispatcher(const MethodRegistry& registry, Store* store, PushHub* push, auth::Authenticator* auth = nullptr)
        : registry_(registry), store_(store), push_(push), auth_(auth)
    {
    }

    // The answer frame for one call envelope: a result or an error envelope. Never throws.
    std::string execute(protocol::Envelope envelope, const ConnectionInfo& connection) const;

    // The answer values for one request; throws CallFailed with the user's text.
    std::vector<protocol::Value> call(protocol::CallRequest& request, const ConnectionInfo& connection) const;

private:
    const MethodRegistry& registry_;
    Store* store_;
    PushHub* push_;
    auth::Authenticator* auth_;
};

} // namespace durnak::server
