#include "dispatch/call_context.hpp"

#include <stdexcept>

#include <soci/session.h>

#include "auth/authenticator.hpp"
#include "domain/passwords.hpp"
#include "store/store.hpp"

namespace durnak::server {

CallContext::CallContext(const ConnectionInfo& connection, std::string_view method, std::size_t paramCount,
                         Store* store, PushHub* push, auth::Authenticator* auth)
    : connection_(connection), method_(method), paramCount_(paramCount), store_(store), push_(push), auth_(auth)
{
}

CallContext::~CallContext() = default;

soci::session& CallContext::db()
{
    if (!session_) {
        if (!store_) throw std::logic_error("no database for this call");
        session_ = std::make_unique<soci::session>(store_->pool());
    }
    return *session_;
}

PushHub& CallContext::push()
{
    if (!push_) throw std::logic_error("no push channel for this call");
    return *push_;
}

bool CallContext::typedPasswordMatches(std::string_view computerId, std::string_view username,
                                       const std::string& storedHash)
{
    if (auth_) return auth_->typedPasswordMatches(db(), connection_, computerId, username, storedHash);
    return !connection_.user.empty() && connection_.user == username &&
           domain::verifyPassword(connection_.password, storedHash);
}

std::vector<protocol::Value> CallContext::reply(
    protocol::Value result, std::initializer_list<std::pair<std::size_t, protocol::Value>> outs) const
{
    std::vector<protocol::Value> values(paramCount_ + 1);
    for (const auto& [position, value] : outs) {
        if (position >= paramCount_) throw std::logic_error("out value beyond the parameters of " + method_);
        values[position] = value;
    }
    values.back() = std::move(result);
    return values;
}

} // namespace durnak::server
