#pragma once

#include <cstddef>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "durnak/protocol/value.hpp"

namespace soci {
class session;
}

namespace durnak::server {

class Store;
class PushHub;

// Who is on the other end of a connection, as its hello said.
struct ConnectionInfo {
    std::string peer;  // "address:port"
    std::string token;
    std::string user;
    std::string password;
    std::string computerId;
};

// What a method handler gets besides its parameters. Lives for one call on one worker thread.
class CallContext {
public:
    CallContext(const ConnectionInfo& connection, std::string_view method, std::size_t paramCount, Store* store,
                PushHub* push);
    ~CallContext();

    CallContext(const CallContext&) = delete;
    CallContext& operator=(const CallContext&) = delete;

    const ConnectionInfo& connection() const { return connection_; }
    std::string_view method() const { return method_; }

    // A database connection leased from the pool on first use and given back when the call
    // ends, so methods that never touch the store never wait for one.
    soci::session& db();
    PushHub& push();

    // The answer of a call: a null at every parameter position, the given out values at
    // theirs, and the result last (a null for methods without one).
    std::vector<protocol::Value> reply(protocol::Value result = {},
                                       std::initializer_list<std::pair<std::size_t, protocol::Value>> outs = {}) const;

private:
    const ConnectionInfo& connection_;
    std::string method_;
    std::size_t paramCount_;
    Store* store_;
    PushHub* push_;
    std::unique_ptr<soci::session> session_;
};

} // namespace durnak::server
