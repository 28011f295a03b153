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

namespace auth {
struct Identity;
class Authenticator;
} // namespace auth

// What the credentials of a hello came to (auth/authenticator.hpp decides).
enum class HelloCredentials {
    None,        // none were sent
    Matched,     // user and password fit the account of the hello's computer ID
    Mismatched,  // they do not (or the computer ID is unknown)
    Throttled,   // not checked: too many failed attempts; see throttleSeconds
    Unchecked,   // a valid token came with them; checked when a call needs it
};

// Who is on the other end of a connection, as its hello said.
struct ConnectionInfo {
    std::string peer;     // "address:port"
    std::string address;  // the peer's address alone, for sign-in throttling
    std::string token;
    std::string user;
    std::string password;
    std::string computerId;

    // The signed-in session the connection acts in; null before sign-in.
    std::shared_ptr<auth::Identity> identity;
    HelloCredentials credentials = HelloCredentials::None;
    long long throttleSeconds = 0;
};

// What a method handler gets besides its parameters. Lives for one call on one worker thread.
class CallContext {
public:
    CallContext(const ConnectionInfo& connection, std::string_view method, std::size_t paramCount, Store* store,
                PushHub* push, auth::Authenticator* auth = nullptr);
    ~CallContext();

    CallContext(const CallContext&) = delete;
    CallContext& operator=(const CallContext&) = delete;

    const ConnectionInfo& connection() const { return connection_; }
    std::string_view method() const { return method_; }

    // A database connection leased from the pool on first use and given back when the call
    // ends, so methods that never touch the store never wait for one.
    soci::session& db();
    PushHub& push();

    // The session the call runs in (null before sign-in) and the server's sign-in checks
    // (null where a dispatcher runs without them, as in unit tests).
    auth::Identity* identity() const { return connection_.identity.get(); }
    auth::Authenticator* auth() const { return auth_; }

    // Whether the typed user name and password of the hello fit this account of this
    // computer ID. Throws with the user's text while sign-in attempts are throttled.
    // Counts on the call's database session: call it with no statement of it in progress.
    bool typedPasswordMatches(std::string_view computerId, std::string_view username, const std::string& storedHash);

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
    auth::Authenticator* auth_;
    std::unique_ptr<soci::session> session_;
};

} // namespace durnak::server
