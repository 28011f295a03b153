#include "auth/authenticator.hpp"

#include <sodium.h>

#include <soci/soci.h>

#include "domain/passwords.hpp"
#include "durnak/protocol/error.hpp"
#include "log.hpp"
#include "methods/domain_support.hpp"
#include "store/store.hpp"

namespace durnak::server::auth {
namespace {

std::int64_t unixNow()
{
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

void initSodium()
{
    static const int ok = sodium_init();
    if (ok < 0) throw std::runtime_error("libsodium could not start");
}

std::string hex(const unsigned char* bytes, std::size_t size)
{
    std::string out(size * 2 + 1, '\0');
    sodium_bin2hex(out.data(), out.size(), bytes, size);
    out.resize(size * 2);
    return out;
}

std::string throttleText(std::int64_t seconds)
{
    const std::string wait = seconds >= 120 ? std::to_string((seconds + 59) / 60) + " dakika"
                                            : std::to_string(seconds) + " saniye";
    return "Çok fazla hatalı giriş denemesi yapıldı. Lütfen " + wait + " sonra tekrar deneyiniz.";
}

// The account bound to a workstation, as sign-in needs it.
struct Account {
    std::int32_t userId = 0;
    std::string username;
    std::string hash;
    int userType = 0;
    bool active = false;
    std::int32_t carino = 0;
    std::int32_t repId = 0;
};

std::optional<Account> accountOf(soci::session& sql, const std::string& computerId)
{
    soci::rowset<soci::row> rows =
        (sql.prepare << "SELECT u.id, u.username, u.password_hash, u.user_type, u.active, u.carino, u.rep_id,"
                        " c.active FROM workstations w JOIN users u ON u.id = w.user_id"
                        " LEFT JOIN customers c ON c.carino = u.carino WHERE w.computer_id = :id",
         soci::use(computerId));
    for (const auto& row : rows) {
        using namespace db;
        Account a;
        a.userId = static_cast<std::int32_t>(integer(row, 0));
        a.username = text(row, 1);
        a.hash = text(row, 2);
        a.userType = static_cast<int>(integer(row, 3));
        const bool customerActive = row.get_indicator(7) == soci::i_null || integer(row, 7) != 0;
        a.active = integer(row, 4) != 0 && customerActive;
        a.carino = static_cast<std::int32_t>(integer(row, 5));
        a.repId = static_cast<std::int32_t>(integer(row, 6));
        return a;
    }
    return std::nullopt;
}

} // namespace

const char* const kNoSession =
    "Oturum açılmamış ya da oturumun süresi dolmuş. Lütfen programı yeniden başlatıp giriş yapınız.";

Authenticator::Authenticator(Store& store, SessionTimes times, ThrottleRules rules)
    : store_(store), times_(times), throttle_(rules)
{
    initSodium();
}

std::string Authenticator::newToken()
{
    initSodium();
    unsigned char bytes[32];
    randombytes_buf(bytes, sizeof bytes);
    return hex(bytes, sizeof bytes);
}

std::string Authenticator::hashToken(std::string_view token)
{
    initSodium();
    unsigned char digest[32];
    crypto_generichash(digest, sizeof digest, reinterpret_cast<const unsigned char*>(token.data()), token.size(),
                       nullptr, 0);
    return hex(digest, sizeof digest);
}

std::shared_ptr<Identity> Authenticator::resolve(soci::session& sql, const std::string& token,
                                                 std::int64_t now) const
{
    // A token is 64 hexadecimal digits; anything else is not worth a query.
    if (token.size() != 64) return nullptr;
    std::string hash = hashToken(token);
    // The workstation must still be bound to the user and the account still active:
    // rebinding the workstation or closing the account ends the session.
    soci::rowset<soci::row> rows =
        (sql.prepare << "SELECT s.user_id, s.computer_id, s.expires_at, s.last_used_at, u.user_type, u.carino,"
                        " u.rep_id, u.username FROM auth_sessions s JOIN users u ON u.id = s.user_id"
                        " JOIN workstations w ON w.computer_id = s.computer_id AND w.user_id = s.user_id"
                        " WHERE s.token_hash = :h AND s.ended_at IS NULL AND u.active = 1"
                        " AND (u.carino IS NULL OR EXISTS (SELECT 1 FROM customers c"
                        "  WHERE c.carino = u.carino AND c.active <> 0))",
         soci::use(hash));
    for (const auto& row : rows) {
        using namespace db;
        const std::int64_t expires = integer(row, 2), lastUsed = integer(row, 3);
        if (now >= expires || now - lastUsed >= times_.idle.count()) return nullptr;
        auto id = std::make_shared<Identity>();
        id->userId = static_cast<std::int32_t>(integer(row, 0));
        id->computerId = text(row, 1);
        id->userType = static_cast<int>(integer(row, 4));
        id->carino = static_cast<std::int32_t>(integer(row, 5));
        id->repId = static_cast<std::int32_t>(integer(row, 6));
        id->username = text(row, 7);
        id->tokenHash = hash;
        if (now - lastUsed >= times_.touchEvery.count())
            sql << "UPDATE auth_sessions SET last_used_at = :n WHERE token_hash = :h", soci::use(now),
                soci::use(hash);
        return id;
    }
    return nullptr;
}

std::string Authenticator::onHello(ConnectionInfo& info)
{
    try {
        const std::int64_t now = unixNow();
        soci::session sql(store_.pool());
        if (!info.token.empty()) {
            auto id = resolve(sql, info.token, now);
            // A token is good only on the workstation it was issued to.
            if (id && (info.computerId.empty() || info.computerId == id->computerId)) info.identity = std::move(id);
        }
        if (info.user.empty() && info.password.empty()) return {};
        if (info.identity) {
            // Signed in already: no password check on every connection.
            info.credentials = HelloCredentials::Unchecked;
            return {};
        }
        if (const auto wait = throttle_.wait(sql, info.computerId, info.address, now); wait > 0) {
            info.credentials = HelloCredentials::Throttled;
            info.throttleSeconds = wait;
            return {};
        }
        const auto account = info.computerId.empty() ? std::nullopt : accountOf(sql, info.computerId);
        const bool matches =
            account && account->username == info.user && domain::verifyPassword(info.password, account->hash);
        throttle_.record(sql, info.computerId, info.address, matches, now);
        info.credentials = matches ? HelloCredentials::Matched : HelloCredentials::Mismatched;
        if (!matches) {
            logInfo("sign-in failed for computer ID '" + info.computerId + "' from " + info.peer);
            return {};
        }
        if (!account->active) return {};  // the client tells the user; an inactive account gets no session

        std::string token = newToken();
        auto id = std::make_shared<Identity>();
        id->userId = account->userId;
        id->userType = account->userType;
        id->carino = account->carino;
        id->repId = account->repId;
        id->username = account->username;
        id->computerId = info.computerId;
        id->tokenHash = hashToken(token);
        const std::int64_t expires = now + times_.lifetime.count();
        const std::int64_t stale = now - 30 * 24 * 3600;
        sql << "DELETE FROM auth_sessions WHERE expires_at < :t", soci::use(stale);
        sql << "INSERT INTO auth_sessions (token_hash, user_id, computer_id, peer, created_at, last_used_at,"
               " expires_at) VALUES (:h, :u, :c, :p, :n, :l, :e)",
            soci::use(id->tokenHash), soci::use(id->userId), soci::use(id->computerId), soci::use(info.peer),
            soci::use(now), soci::use(now), soci::use(expires);
        info.identity = std::move(id);
        return token;
    } catch (const std::exception& e) {
        logWarning("sign-in check failed for " + info.peer + ": " + e.what());
        info.identity.reset();
        return {};
    }
}

bool Authenticator::typedPasswordMatches(soci::session& sql, const ConnectionInfo& info, std::string_view computerId,
                                         std::string_view username, const std::string& storedHash)
{
    if (info.user.empty() && info.password.empty()) return false;
    if (computerId == info.computerId) {
        switch (info.credentials) {
        case HelloCredentials::Matched: return info.user == username;
        case HelloCredentials::Mismatched: return false;
        case HelloCredentials::Throttled: throw std::runtime_error(throttleText(info.throttleSeconds));
        default: break;
        }
    }
    const std::string id(computerId);
    const std::int64_t now = unixNow();
    if (const auto wait = throttle_.wait(sql, id, info.address, now); wait > 0)
        throw std::runtime_error(throttleText(wait));
    const bool matches = info.user == username && domain::verifyPassword(info.password, storedHash);
    throttle_.record(sql, id, info.address, matches, now);
    return matches;
}

void Authenticator::endSession(soci::session& sql, Identity& identity) const
{
    identity.ended = true;
    const std::int64_t now = unixNow();
    sql << "UPDATE auth_sessions SET ended_at = :n WHERE token_hash = :h AND ended_at IS NULL", soci::use(now),
        soci::use(identity.tokenHash);
}

int Authenticator::endUserSessions(soci::session& sql, std::int32_t userId)
{
    int open = 0;
    sql << "SELECT COUNT(*) FROM auth_sessions WHERE user_id = :u AND ended_at IS NULL", soci::into(open),
        soci::use(userId);
    const std::int64_t now = unixNow();
    sql << "UPDATE auth_sessions SET ended_at = :n WHERE user_id = :u AND ended_at IS NULL", soci::use(now),
        soci::use(userId);
    return open;
}

void readHello(const protocol::Envelope& hello, ConnectionInfo& info)
{
    if (hello.op() != protocol::op::Hello) throw protocol::ProtocolError("Bağlantının ilk mesajı 'hello' olmalı.");
    const auto version = hello.intField("protocol");
    if (version != protocol::kProtocolVersion)
        throw protocol::ProtocolError("Desteklenmeyen protokol sürümü: " + std::to_string(version) + " (sunucu " +
                                      std::to_string(protocol::kProtocolVersion) + " bekliyor).");
    info.token = hello.optionalString("token");
    info.user = hello.optionalString("user");
    info.password = hello.optionalString("password");
    info.computerId = hello.optionalString("computerId");
}

void registerSessionMethods(MethodRegistry& registry)
{
    // Sign-out: the token of this connection's session is refused from now on.
    registry.add("CikisGonder", [](CallContext& call, std::vector<protocol::Value>&) {
        if (auto* id = call.identity(); id && call.auth() && !id->ended) call.auth()->endSession(call.db(), *id);
        return call.reply();
    });
}

} // namespace durnak::server::auth
