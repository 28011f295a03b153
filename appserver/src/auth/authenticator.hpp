#pragma once

// Sign-in and sessions.
//
// The hello of a connection may carry the typed user name and password, the computer ID and
// a session token. Credentials that fit the account bound to that computer ID (argon2id
// hash) open a session: the welcome answers a fresh random token, which later connections
// present instead. Only the token's hash is stored. A session ends by sign-out
// (CikisGonder), by a password reset, when the workstation is bound to someone else, after
// 12 hours without use, and at the latest 7 days after sign-in; an ended token is refused.
//
// Every call then passes authorize(): methods needed before sign-in are open, all others
// need a session, and every customer number, session record, basket line, order, order
// line, account movement, receipt and workstation a call names must lie within the
// session's reach (access.cpp holds the table per method).

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "auth/throttle.hpp"
#include "durnak/protocol/envelope.hpp"
#include "dispatch/call_context.hpp"
#include "dispatch/method_registry.hpp"

namespace soci {
class session;
}

namespace durnak::server {
class Store;
}

namespace durnak::server::auth {

// A signed-in user as one session sees it.
struct Identity {
    std::int32_t userId = 0;
    int userType = 0;            // 1 representative of all customers, 2 of his own, 3/4 customer staff
    std::int32_t carino = 0;     // the user's own customer, 0 when none
    std::int32_t repId = 0;      // the representative record a type-2 user stands for, 0 when none
    std::string username;
    std::string computerId;
    std::string tokenHash;
    std::atomic<bool> ended{false};  // signed out on this connection

    bool representative() const { return userType == 1 || userType == 2; }
};

// A call the session may not make; the text goes to the user.
class AccessDenied : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct SessionTimes {
    std::chrono::seconds idle{12 * 3600};
    std::chrono::seconds lifetime{7 * 24 * 3600};
    std::chrono::seconds touchEvery{5 * 60};  // last use is written at most this often
};

class Authenticator {
public:
    explicit Authenticator(Store& store, SessionTimes times = {}, ThrottleRules rules = {});

    // Reads the hello's token and credentials into `info` (identity, credentials state).
    // Answers the token of a session opened now, empty otherwise. Never throws: a failure
    // leaves the connection without a session.
    std::string onHello(ConnectionInfo& info);

    // Whether the hello's user name and password fit an account, for the account record of
    // sign-in. Throws std::runtime_error with the user's text while throttled. Counts on
    // `sql`, which must have no statement in progress.
    bool typedPasswordMatches(soci::session& sql, const ConnectionInfo& info, std::string_view computerId,
                              std::string_view username, const std::string& storedHash);

    // Refuses (AccessDenied) a call the connection's session may not make; fills in the
    // caller's own user number where a call names who entered something.
    void authorize(CallContext& call, const MethodRegistry::Method& method,
                   std::vector<protocol::Value>& params) const;

    // Ends the session of this connection: its token is refused from now on.
    void endSession(soci::session& sql, Identity& identity) const;

    // Ends every session of a user (password reset, account closed); answers how many.
    static int endUserSessions(soci::session& sql, std::int32_t userId);

    static std::string newToken();
    static std::string hashToken(std::string_view token);

private:
    std::shared_ptr<Identity> resolve(soci::session& sql, const std::string& token, std::int64_t now) const;

    Store& store_;
    SessionTimes times_;
    SignInThrottle throttle_;
};

// Checks the first message of a connection (a hello of our protocol version) and takes its
// identity fields into `info`; throws protocol::ProtocolError with the peer's text otherwise.
void readHello(const protocol::Envelope& hello, ConnectionInfo& info);

// Text of a refused call without a session.
extern const char* const kNoSession;

// Registers the sign-out method (CikisGonder).
void registerSessionMethods(MethodRegistry& registry);

} // namespace durnak::server::auth
