// Sign-in, sessions and per-customer access, tried by hand-written hostile clients that
// speak raw frames to the real server.

#include <gtest/gtest.h>

#include <boost/json/serialize.hpp>

#include <functional>
#include <string>
#include <vector>

#include "domain_fixture.hpp"
#include "durnak/protocol/error.hpp"

namespace durnak::testing {
namespace {

using protocol::Value;
namespace json = boost::json;

constexpr int kTemsilci = 1, kBolge = 2, kDemo = 3, kKisitli = 4;

protocol::TSonucBilgisi sessionOf(int user, std::int32_t carino)
{
    auto s = demoSession();
    s.FSirano = user;
    s.FCARINO = carino;
    return s;
}

// A connection whose hello carries exactly these fields.
struct Connection {
    TestClient client;
    protocol::Envelope welcome;
    Connection(std::uint16_t port, json::object hello) : client(port), welcome(client.hello(std::move(hello))) {}
    std::vector<Value> call(const std::string& method, const std::vector<Value>& params)
    {
        return client.call("TServerMethods1." + method, params);
    }
    std::string token() const { return std::string(welcome.optionalString("token")); }
    bool signedIn() const
    {
        const auto* v = welcome.json.if_contains("session");
        return v && v->is_bool() && v->get_bool();
    }
};

json::object credentials(const char* computerId, const char* user, const char* password)
{
    return {{"computerId", computerId}, {"user", user}, {"password", password}};
}

// The error text of a call, or "" when it succeeded.
std::string errorOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const protocol::ServerError& e) {
        return e.what();
    }
    return {};
}

std::vector<Value> strings(std::size_t n)
{
    return std::vector<Value>(n, Value("x"));
}

class SecurityTest : public DemoServerTest {
protected:
    static std::uint16_t port() { return server->port(); }
    static Connection as(int user) { return Connection(port(), signedInHello(port(), user)); }
};

TEST_F(SecurityTest, CallsWithoutASessionAreRefusedExceptThoseNeededBeforeSignIn)
{
    const long long line = q("SELECT MIN(sirano) FROM basket");
    struct Case {
        const char* method;
        std::vector<Value> params;
        bool open;
    };
    const std::vector<Case> cases = {
        {"EchoString", {Value("a")}, true},
        {"ReverseString", {Value("ab")}, true},
        {"BuyukGetir", {Value(kDemoComputerId)}, true},
        {"MailGonserCari", strings(16), true},
        {"SepetVer2", {Value(kDemoCustomer)}, false},
        {"CariEkstreVer", {Value(kDemoCustomer)}, false},
        {"OncekiSiparisler", {Value(kDemoCustomer)}, false},
        {"StokAraGetir", {Value("fren"), protocol::toValue(demoSession())}, false},
        {"SepetSecimGuncelle", {Value(static_cast<std::int32_t>(line)), Value(0)}, false},
        {"MobilCariBilgisiGetir", {Value(0), Value(kDemoComputerId)}, false},
        {"MailGonserCariNormal", strings(17), false},
        {"KayanYaziGetir", {}, false},
        {"TeslimVer", {}, false},
        {"ResimVer5", {Value(1), Value()}, false},
    };
    // No token at all, a made-up one, one of the right form that was never issued, and a
    // known computer ID alone.
    const std::vector<json::object> hellos = {
        {},
        {{"token", "abc"}},
        {{"token", std::string(64, 'a')}, {"computerId", kDemoComputerId}},
        {{"computerId", kDemoComputerId}},
    };
    for (const auto& hello : hellos) {
        for (const auto& c : cases) {
            SCOPED_TRACE(json::serialize(hello) + " " + c.method);
            Connection connection(port(), hello);
            EXPECT_FALSE(connection.signedIn());
            EXPECT_TRUE(connection.token().empty());
            const std::string error = errorOf([&] { connection.call(c.method, c.params); });
            if (c.open)
                EXPECT_EQ(error, "");
            else
                EXPECT_NE(error.find("Oturum açılmamış"), std::string::npos) << error;
        }
    }
    // A request sent without a session tells the dealer that nobody proved the computer ID.
    EXPECT_EQ(q("SELECT COUNT(*) FROM mail_outbox WHERE kind = 'sifre_istegi' AND body NOT LIKE '%doğrulanmadı%'"), 0);
    EXPECT_GT(q("SELECT COUNT(*) FROM mail_outbox WHERE kind = 'sifre_istegi'"), 0);
}

TEST_F(SecurityTest, SignInAnswersATokenThatLaterConnectionsPresentAlone)
{
    Connection signIn(port(), credentials(kDemoComputerId, "DEMO", kDemoPassword));
    ASSERT_TRUE(signIn.signedIn());
    const std::string token = signIn.token();
    ASSERT_EQ(token.size(), 64u);
    EXPECT_EQ(token.find_first_not_of("0123456789abcdef"), std::string::npos);

    // Only its hash is stored.
    EXPECT_EQ(q("SELECT COUNT(*) FROM auth_sessions WHERE token_hash = '" + token + "'"), 0);

    Connection later(port(), {{"token", token}, {"computerId", kDemoComputerId}});
    EXPECT_TRUE(later.signedIn());
    EXPECT_TRUE(later.token().empty());  // no new session for a token
    EXPECT_NO_THROW(later.call("SepetVer2", {Value(kDemoCustomer)}));

    // A token is good only on the workstation it was issued to.
    Connection elsewhere(port(), {{"token", token}, {"computerId", kRepComputerId}});
    EXPECT_FALSE(elsewhere.signedIn());
}

TEST_F(SecurityTest, AccountRecordRevealsNoStoredPassword)
{
    struct Case {
        const char* name;
        json::object hello;
        bool matches;
    };
    const std::vector<Case> cases = {
        {"right user and password", credentials(kDemoComputerId, "DEMO", "DEMO"), true},
        {"no credentials", {}, false},
        {"wrong password", credentials(kDemoComputerId, "DEMO", "demo"), false},
        {"empty password", credentials(kDemoComputerId, "DEMO", ""), false},
        {"wrong user", credentials(kDemoComputerId, "demo", "DEMO"), false},
        {"another user's right password", credentials(kDemoComputerId, "TEMSILCI", "DEMO"), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Connection connection(port(), c.hello);
        EXPECT_EQ(connection.signedIn(), c.matches);
        // The raw answer: no hash or other stored secret anywhere in it.
        connection.client.send({{"op", "call"},
                                {"command", "TServerMethods1.BuyukGetir"},
                                {"params", json::array{json::object{{"string", kDemoComputerId}}}}});
        auto answer = connection.client.expect("result");
        const std::string raw = json::serialize(answer.json);
        EXPECT_EQ(raw.find("argon2"), std::string::npos) << raw;
        const auto account =
            protocol::fromValue<protocol::TSonucBilgisi>(protocol::decodeResult(std::move(answer)).back());
        EXPECT_TRUE(account.FVarmi);
        EXPECT_EQ(account.FADI, "DEMO");
        if (c.matches) {
            EXPECT_EQ(account.FSIFRE, "DEMO");
        } else {
            EXPECT_NE(account.FSIFRE, "DEMO");
            EXPECT_NE(account.FSIFRE, "demo");
            EXPECT_NE(account.FSIFRE, "");  // an empty typed password cannot match it either
        }
    }

    // The customer card carries no password either.
    auto demo = as(kDemo);
    const auto card = protocol::fromValue<protocol::TMobilCariBilgisi>(
        demo.call("MobilCariBilgisiGetir", {Value(0), Value(kDemoComputerId)}).back());
    EXPECT_EQ(card.FCARINO, kDemoCustomer);
    EXPECT_EQ(card.FSIFRE, "");
}

TEST_F(SecurityTest, ACustomerCannotReachAnotherCustomersData)
{
    // Something of customer 1002 of every kind a call can name.
    const long long stokno = q("SELECT MIN(stokno) FROM stock WHERE active = 1");
    callMethod(port(), "SepetEkle2",
               {protocol::toValue(sessionOf(kKisitli, 1002)), Value(1002), Value(static_cast<std::int32_t>(stokno)),
                Value(""), Value(""), Value(3.0), Value(20.0), Value(1.0), Value(0.0), Value(kKisitli), Value(0),
                Value(0.0), Value(0.0), Value(0.0)});
    auto id = [](const std::string& sql) {
        const long long n = q(sql);
        EXPECT_GT(n, 0) << sql;
        return Value(static_cast<std::int32_t>(n));
    };
    const Value line = id("SELECT MIN(sirano) FROM basket WHERE carino = 1002");
    const Value order = id("SELECT MIN(id) FROM orders WHERE carino = 1002");
    const Value orderLine =
        id("SELECT MIN(l.id) FROM order_lines l JOIN orders o ON o.id = l.order_id WHERE o.carino = 1002"
           " AND l.balance_qty > 0");
    const Value movement = id("SELECT MIN(id) FROM account_movements WHERE carino = 1002 AND invoice_id IS NOT NULL");
    const Value receipt =
        id("SELECT MIN(p.id) FROM pos_receipts p JOIN account_movements m ON m.id = p.movement_id"
           " WHERE m.carino = 1002");
    const long long basketBefore = q("SELECT COUNT(*) FROM basket WHERE carino = 1002");
    const long long balanceBefore = q("SELECT CAST(balance_qty * 1000 AS INTEGER) FROM order_lines WHERE id = " +
                                      std::to_string(orderLine.asInt32()));

    const Value own = protocol::toValue(sessionOf(kDemo, kDemoCustomer));
    const Value other = protocol::toValue(sessionOf(kDemo, 1002));
    const Value carino(1002);
    struct Case {
        const char* method;
        std::vector<Value> params;
    };
    const std::vector<Case> cases = {
        {"SepetVer2", {carino}},
        {"OncekiSiparisler", {carino}},
        {"CariEkstreVer", {carino}},
        {"BakiyelerVer2", {carino}},
        {"CariVadeGunGecmismiBul", {carino}},
        {"YenilerVer2", {carino}},
        {"KampanyaliVer2", {carino, Value(3)}},
        {"TumSiparislerVer", {carino, Value(static_cast<std::int32_t>(stokno))}},
        {"SiparisAyrintisi2", {carino, order}},
        {"SiparisAyrintisi2", {Value(kDemoCustomer), order}},
        {"SiparisAytintisiDip", {Value(0), order}},
        {"FaturaGetir", {carino, movement}},
        {"FaturaAltGetir", {movement}},
        {"Tahsilat", {movement}},
        {"SanalposSiranoVer", {movement}},
        {"SAnalPosPdfVer", {receipt, Value()}},
        {"SepetSecimGuncelle", {line, Value(0)}},
        {"SepetSatirSil", {own, line, Value("")}},
        {"SepetHepsiniSil", {other}},
        {"SepetEkle2", {other, carino, Value(static_cast<std::int32_t>(stokno)), Value(""), Value(""), Value(1.0),
                        Value(20.0), Value(1.0), Value(0.0), Value(kDemo), Value(0), Value(0.0), Value(0.0),
                        Value(0.0)}},
        {"SepetGuncelle2", {own, Value(kDemoCustomer), Value(static_cast<std::int32_t>(stokno)), Value(""), Value(""),
                            Value(9.0), Value(20.0), Value(1.0), Value(0.0), Value(kDemo), line, Value(0.0), Value(0.0),
                            Value(0.0)}},
        {"SiparisKaydet", {other, carino, Value(1), Value(1), Value(""), Value(kDemo), Value(0)}},
        {"BakiyeDuzenle", {own, Value(0), Value(0), orderLine, Value(0.0), Value(0.0), Value("")}},
        {"BakiyeDegistir", {own, Value(0), Value(0), orderLine, Value(0.0), Value(0.0), Value("")}},
        {"StokAraGetir", {Value("fren"), other}},
        {"BalonGetir", {other}},
        {"MobilCariBilgisiGetir", {Value(0), Value(kLimitedComputerId)}},
        {"CariAra", {other, Value("")}},
        {"RaporAlinanSiparisler", {other, Value(46000.0), Value(46000.0)}},
        {"BakiyeFiyatDegistir", {own, Value(0), Value(0), orderLine, Value(0.0), Value(0.0), Value(""), Value(1.0),
                                 Value(0.0)}},
        {"RaporGetir", {Value(6), Value(6), Value(1), carino, Value(""), Value(46000.0), Value(46000.0), Value()}},
    };
    auto demo = as(kDemo);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.method);
        const std::string error = errorOf([&] { demo.call(c.method, c.params); });
        EXPECT_NE(error.find("yetki"), std::string::npos) << error;
    }
    // Nothing of 1002 changed.
    EXPECT_EQ(q("SELECT COUNT(*) FROM basket WHERE carino = 1002"), basketBefore);
    EXPECT_EQ(q("SELECT CAST(balance_qty * 1000 AS INTEGER) FROM order_lines WHERE id = " +
                std::to_string(orderLine.asInt32())),
              balanceBefore);

    // A record claiming the representative's user number does not widen the console.
    const auto listed =
        demo.call("CariAra", {protocol::toValue(sessionOf(kTemsilci, kDemoCustomer)), Value("")}).back().takeTable();
    EXPECT_EQ(listed.rowCount(), 1u);

    // The same session still reaches its own customer.
    EXPECT_NO_THROW(demo.call("SepetVer2", {Value(kDemoCustomer)}));
    EXPECT_NO_THROW(demo.call("CariEkstreVer", {Value(kDemoCustomer)}));
    EXPECT_NO_THROW(demo.call("OncekiSiparisler", {Value(kDemoCustomer)}));
}

TEST_F(SecurityTest, RepresentativesActForTheirCustomers)
{
    // Seeded: customer 1001 + i belongs to representative 1 + i % 3; "BOLGE" stands for
    // representative 2, "TEMSILCI" may act for all, and every user for his own customer.
    struct Case {
        int user;
        std::int32_t carino;
        bool allowed;
    };
    const std::vector<Case> cases = {
        {kTemsilci, 1001, true}, {kTemsilci, 1002, true}, {kTemsilci, 1006, true},
        {kBolge, 1002, true},    {kBolge, 1005, true},    {kBolge, 1001, true},  // his account's own customer
        {kBolge, 1003, false},   {kBolge, 1004, false},   {kDemo, 1001, true},
        {kDemo, 1002, false},    {kKisitli, 1002, true},  {kKisitli, 1001, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("user " + std::to_string(c.user) + " customer " + std::to_string(c.carino));
        auto connection = as(c.user);
        const std::string error = errorOf([&] { connection.call("CariEkstreVer", {Value(c.carino)}); });
        EXPECT_EQ(error.empty(), c.allowed) << error;
        const std::string basketError = errorOf(
            [&] { connection.call("SepetHepsiniSil", {protocol::toValue(sessionOf(c.user, c.carino))}); });
        EXPECT_EQ(basketError.empty(), c.allowed) << basketError;
    }

    // The console lists exactly the customers that the checks let through.
    auto bolge = as(kBolge);
    const auto listed =
        bolge.call("CariAra", {protocol::toValue(sessionOf(kBolge, 1001)), Value("")}).back().takeTable();
    EXPECT_EQ(static_cast<long long>(listed.rowCount()),
              q("SELECT COUNT(*) FROM customers WHERE active = 1 AND rep_id = 2"));
}

TEST_F(SecurityTest, WhoEnteredALineIsTheCallerNotWhatTheCallSays)
{
    // A customer naming the representative's user number does not get the representative's
    // right to set a line's price.
    const long long stokno = q("SELECT MIN(stokno) FROM stock WHERE active = 1 AND is_campaign = 0");
    const Value own = protocol::toValue(sessionOf(kDemo, kDemoCustomer));
    auto demo = as(kDemo);
    demo.call("SepetEkle2", {own, Value(kDemoCustomer), Value(static_cast<std::int32_t>(stokno)), Value(""), Value(""),
                             Value(1.0), Value(20.0), Value(1.0), Value(0.0), Value(kTemsilci), Value(0), Value(0.0),
                             Value(0.0), Value(0.0)});
    const std::string where = " FROM basket WHERE carino = 1001 AND stokno = " + std::to_string(stokno);
    const long long line = q("SELECT sirano" + where);
    const long long price = q("SELECT CAST(unit_price * 100 AS INTEGER)" + where);
    EXPECT_EQ(q("SELECT entered_by" + where), kDemo);
    demo.call("SepetGuncelle2", {own, Value(kDemoCustomer), Value(static_cast<std::int32_t>(stokno)), Value(""),
                                 Value(""), Value(2.0), Value(20.0), Value(0.01), Value(0.0), Value(kTemsilci),
                                 Value(static_cast<std::int32_t>(line)), Value(0.0), Value(0.0), Value(0.0)});
    EXPECT_EQ(q("SELECT CAST(qty AS INTEGER)" + where), 2);
    EXPECT_EQ(q("SELECT CAST(unit_price * 100 AS INTEGER)" + where), price);
}

TEST(SecuritySessions, AnEndedSessionsTokenIsRefused)
{
    DemoServer server;
    const auto port = server.port();
    Connection signIn(port, credentials(kDemoComputerId, "DEMO", kDemoPassword));
    const std::string token = signIn.token();
    ASSERT_FALSE(token.empty());
    const json::object replay{{"token", token}, {"computerId", kDemoComputerId}};

    // Sign-out ends the session on this connection and for every later one.
    Connection working(port, replay);
    ASSERT_TRUE(working.signedIn());
    EXPECT_NO_THROW(working.call("SepetVer2", {Value(kDemoCustomer)}));
    working.call("CikisGonder", {protocol::toValue(demoSession())});
    EXPECT_NE(errorOf([&] { working.call("SepetVer2", {Value(kDemoCustomer)}); }).find("Oturum"), std::string::npos);
    Connection replayed(port, replay);
    EXPECT_FALSE(replayed.signedIn());
    EXPECT_NE(errorOf([&] { replayed.call("SepetVer2", {Value(kDemoCustomer)}); }).find("Oturum"), std::string::npos);

    // A password reset ends the user's sessions; the old password stops working.
    Connection kisitli(port, credentials(kLimitedComputerId, "KISITLI", kDemoPassword));
    const std::string kisitliToken = kisitli.token();
    ASSERT_FALSE(kisitliToken.empty());
    runAdmin(server.db, "set-password --username kisitli --password YENI");
    Connection afterReset(port, {{"token", kisitliToken}});
    EXPECT_FALSE(afterReset.signedIn());
    EXPECT_NE(errorOf([&] { afterReset.call("SepetVer2", {Value(1002)}); }).find("Oturum"), std::string::npos);
    EXPECT_FALSE(Connection(port, credentials(kLimitedComputerId, "KISITLI", kDemoPassword)).signedIn());
    EXPECT_TRUE(Connection(port, credentials(kLimitedComputerId, "KISITLI", "YENI")).signedIn());

    // Binding the workstation to another user ends the sessions opened on it.
    Connection rep(port, credentials(kRepComputerId, "TEMSILCI", kDemoPassword));
    ASSERT_FALSE(rep.token().empty());
    runAdmin(server.db, std::string("bind-workstation --user bolge --computer-id ") + kRepComputerId);
    EXPECT_FALSE(Connection(port, {{"token", rep.token()}}).signedIn());
}

TEST(SecuritySessions, FailedSignInsAreThrottled)
{
    DemoServer server;
    const auto port = server.port();
    auto accountFor = [&](json::object hello) {
        Connection connection(port, std::move(hello));
        return protocol::fromValue<protocol::TSonucBilgisi>(
            connection.call("BuyukGetir", {Value(kDemoComputerId)}).back());
    };
    // Five mistakes cost nothing; the sixth starts a pause in which even the right
    // password is not checked, and the user is told why.
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        EXPECT_NE(accountFor(credentials(kDemoComputerId, "DEMO", "YANLIS")).FSIFRE, "DEMO");
    }
    Connection blocked(port, credentials(kDemoComputerId, "DEMO", kDemoPassword));
    EXPECT_FALSE(blocked.signedIn());
    const std::string error = errorOf([&] { blocked.call("BuyukGetir", {Value(kDemoComputerId)}); });
    EXPECT_NE(error.find("Çok fazla hatalı giriş denemesi"), std::string::npos) << error;
    // The pause belongs to that workstation: another one at the same address signs in.
    Connection rep(port, credentials(kRepComputerId, "TEMSILCI", kDemoPassword));
    EXPECT_TRUE(rep.signedIn());

    // Many failures from one address, each on another workstation, pause the address.
    for (int i = 0; i < 21; ++i)
        EXPECT_FALSE(Connection(port, credentials(("BILINMEYEN-" + std::to_string(i)).c_str(), "x", "y")).signedIn());
    EXPECT_FALSE(Connection(port, credentials(kRegionComputerId, "BOLGE", kDemoPassword)).signedIn());
    // A session that exists keeps working: the pause is on password checks only.
    EXPECT_TRUE(Connection(port, {{"token", rep.token()}}).signedIn());
}

} // namespace
} // namespace durnak::testing
