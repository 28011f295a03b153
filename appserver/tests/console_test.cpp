#include <gtest/gtest.h>

#include <chrono>

#include "domain_fixture.hpp"
#include "durnak/protocol/oledate.hpp"

namespace durnak::testing {
namespace {

using protocol::Value;

class ConsoleTest : public DemoServerTest {
protected:
    // User 1 is the representative of type 1 (all customers), user 3 the demo customer's.
    static Value session(std::int32_t user)
    {
        auto s = demoSession();
        s.FSirano = user;
        s.FMusteriTipi = user == 1 ? 1 : 3;
        return protocol::toValue(s);
    }
    static double today()
    {
        return protocol::toOleDate(std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now()));
    }
};

std::size_t col(const protocol::Table& t, const char* name)
{
    const int i = t.columnIndex(name);
    EXPECT_GE(i, 0) << name;
    return static_cast<std::size_t>(i);
}

TEST_F(ConsoleTest, CustomersAndCountersFollowTheSessionsReach)
{
    auto all = table("CariAra", {session(1), Value("")});
    EXPECT_EQ(static_cast<long long>(all.rowCount()), q("SELECT COUNT(*) FROM customers"));
    auto found = table("CariAra", {session(1), Value("yıldız oto")});
    ASSERT_GE(found.rowCount(), 1u);
    bool demo = false;
    for (std::size_t r = 0; r < found.rowCount(); ++r) demo = demo || found.intAt(r, col(found, "CARINO")) == 1001;
    EXPECT_TRUE(demo);
    // A customer's own user sees only his account; SQL-looking text matches nothing.
    EXPECT_EQ(table("CariAra", {session(3), Value("")}).rowCount(), 1u);
    EXPECT_EQ(table("CariAra", {session(1), Value("' OR 1=1 --")}).rowCount(), 0u);
    EXPECT_EQ(all.textAt(0, col(all, "INDIRIM")).empty(), false);

    const auto counters = protocol::fromValue<protocol::TTusSonuclari>(call("TusSonuclariVer", {session(1)}).back());
    EXPECT_EQ(counters.FAlindi, q("SELECT COUNT(*) FROM orders WHERE status = 0"));
    EXPECT_EQ(counters.FSevkEdildi, q("SELECT COUNT(*) FROM orders WHERE status = 3"));
    EXPECT_EQ(counters.FAlindi + counters.FOnaylandi + counters.FParcaliHazirlandi + counters.FSevkEdildi +
                  counters.FHazirlandi + counters.FGoruldu,
              q("SELECT COUNT(*) FROM orders"));
    const auto own = protocol::fromValue<protocol::TTusSonuclari>(call("TusSonuclariVer", {session(3)}).back());
    EXPECT_EQ(own.FAlindi, q("SELECT COUNT(*) FROM orders WHERE status = 0 AND carino = 1001"));

    // State lists: customers with orders received (n = 2), and with a basket (n = 1).
    const auto received = table("CariSepetVer", {session(1), Value(2)});
    EXPECT_EQ(static_cast<long long>(received.rowCount()),
              q("SELECT COUNT(DISTINCT carino) FROM orders WHERE status = 0"));
    EXPECT_EQ(call("SepetSayisi", {session(1)}).back(), Value(0));
    call("SepetEkle2", {session(1), Value(1002), Value(5), Value(""), Value(""), Value(1.0), Value(20.0),
                        Value(1.0), Value(0.0), Value(3), Value(0), Value(0.0), Value(0.0), Value(0.0)});
    EXPECT_EQ(call("SepetSayisi", {session(1)}).back(), Value(1));
    const auto withBasket = table("CariSepetVer", {session(1), Value(1)});
    ASSERT_EQ(withBasket.rowCount(), 1u);
    EXPECT_EQ(withBasket.intAt(0, col(withBasket, "CARINO")), 1002);
    EXPECT_EQ(withBasket.intAt(0, col(withBasket, "SEPET")), 1);
    EXPECT_THROW(call("CariSepetVer", {session(1), Value(99)}), protocol::ServerError);
}

TEST_F(ConsoleTest, ReportsByDateRange)
{
    const double now = today();
    auto orders = table("RaporAlinanSiparisler", {session(1), Value(now - 365), Value(now)});
    EXPECT_EQ(static_cast<long long>(orders.rowCount()), q("SELECT COUNT(*) FROM orders"));
    // The range is inclusive of whole days and may come reversed.
    EXPECT_EQ(table("RaporAlinanSiparisler", {session(1), Value(now), Value(now - 365)}).rowCount(), orders.rowCount());
    EXPECT_EQ(table("RaporAlinanSiparisler", {session(1), Value(now - 5000), Value(now - 4000)}).rowCount(), 0u);
    EXPECT_EQ(static_cast<long long>(table("RaporAlinanSiparisler", {session(3), Value(now - 365), Value(now)}).rowCount()),
              q("SELECT COUNT(*) FROM orders WHERE carino = 1001"));

    const auto items = table("RaporEnCokSatilanStoklar", {session(1), Value(now - 365), Value(now)});
    ASSERT_GT(items.rowCount(), 0u);
    double qty = 0;
    for (std::size_t r = 0; r < items.rowCount(); ++r) {
        qty += items.realAt(r, col(items, "MIKTAR"));
        if (r > 0) {
            EXPECT_LE(items.realAt(r, col(items, "MIKTAR")), items.realAt(r - 1, col(items, "MIKTAR")));
        }
    }
    EXPECT_EQ(std::llround(qty), q("SELECT SUM(qty) FROM order_lines"));

    auto pdf = call("RaporGetir", {Value(6), Value(6), Value(1), Value(1001), Value("Mehmet"), Value(now), Value(now),
                                   Value()});
    EXPECT_EQ(pdf.back().asStream().bytes.rfind("%PDF-", 0), 0u);
    EXPECT_EQ(pdf[7].asInt64(), static_cast<std::int64_t>(pdf.back().asStream().bytes.size()));
    EXPECT_THROW(call("RaporGetir", {Value(1), Value(1), Value(1), Value(1001), Value(""), Value(now), Value(now),
                                     Value()}),
                 protocol::ServerError);
}

TEST_F(ConsoleTest, PromotionsBannersAndScreens)
{
    const auto badges = table("BalonGetir", {protocol::toValue(demoSession())});
    ASSERT_EQ(badges.rowCount(), 1u);
    EXPECT_EQ(badges.intAt(0, 1), q("SELECT COUNT(*) FROM stock WHERE is_new <> 0"));
    EXPECT_EQ(badges.intAt(0, 2), q("SELECT COUNT(*) FROM stock WHERE is_campaign <> 0"));
    EXPECT_EQ(badges.columns()[4].type, protocol::FieldType::Float64);

    EXPECT_NE(call("KayanYaziGetir", {}).back().asString().find("Durnak"), std::string::npos);

    struct Banner {
        const char* method;
        const char* magic;
    };
    for (const auto& b : {Banner{"BannerResimVer", "GIF89a"}, Banner{"BannerResimVer2", "GIF89a"},
                          Banner{"BannerResimVer3", "BM"}}) {
        SCOPED_TRACE(b.method);
        const auto values = call(b.method, {Value()});
        const auto& bytes = values.back().asStream().bytes;
        EXPECT_EQ(bytes.rfind(b.magic, 0), 0u);
        EXPECT_EQ(values[0].asInt64(), static_cast<std::int64_t>(bytes.size()));
    }

    EXPECT_EQ(call("AcilisReklamAdet", {}).back(), Value(3));
    auto screen = protocol::fromValue<protocol::TAcilisEkran>(call("AcilisREklamVer", {Value(0)}).back());
    EXPECT_EQ(screen.FResim.rfind("FFD8", 0), 0u);  // a JPEG, as hexadecimal text
    EXPECT_EQ(screen.FArama, "#KAMPANYA#");
    for (int outside : {3, -1, 1000}) {
        screen = protocol::fromValue<protocol::TAcilisEkran>(call("AcilisREklamVer", {Value(outside)}).back());
        EXPECT_TRUE(screen.FResim.empty());
    }
    const auto all = protocol::fromValue<protocol::TAcilisEkranlariki>(call("AcilisEkranlarVer2", {}).back());
    ASSERT_EQ(all.FEkranlar.size(), 4u);
    EXPECT_EQ(all.FEkranlar[1].FArama, "#YENİ#");
    EXPECT_FALSE(all.FEkranlar[0].FBaslik.empty());
}

TEST_F(ConsoleTest, CustomerCardAndMailToTheDealer)
{
    auto card = protocol::fromValue<protocol::TMobilCariBilgisi>(
        call("MobilCariBilgisiGetir", {Value(0), Value(kDemoComputerId)}).back());
    EXPECT_EQ(card.FCARINO, kDemoCustomer);
    EXPECT_FALSE(card.FCARIADI.empty());
    EXPECT_TRUE(card.FSIFRE.empty());
    EXPECT_NEAR(card.FTLBAKIYE, card.FTLBORC - card.FTLALACAK, 0.005);
    card = protocol::fromValue<protocol::TMobilCariBilgisi>(
        call("MobilCariBilgisiGetir", {Value(0), Value("BILINMEYEN")}).back());
    EXPECT_EQ(card.FCARINO, 0);

    const auto before = q("SELECT COUNT(*) FROM mail_outbox");
    std::vector<Value> fields = {Value(kDemoComputerId), Value("Şifre Değiştirme İsteği")};
    for (int i = 0; i < 14; ++i) fields.emplace_back(i == 11 ? "gizli-sifre" : "alan'" + std::to_string(i));
    EXPECT_EQ(call("MailGonserCari", fields).back(), Value(1));
    fields.emplace_back("Merhaba; \"sipariş\" hakkında");
    EXPECT_EQ(call("MailGonserCariNormal", fields).back(), Value(1));
    EXPECT_EQ(q("SELECT COUNT(*) FROM mail_outbox"), before + 2);
    EXPECT_EQ(q("SELECT COUNT(*) FROM mail_outbox WHERE body LIKE '%gizli-sifre%'"), 0);
    EXPECT_EQ(q("SELECT COUNT(*) FROM mail_outbox WHERE body LIKE '%sipariş%' AND body LIKE '%1001%'"), 1);
    fields.back() = Value(std::string(20000, 'x'));
    EXPECT_THROW(call("MailGonserCariNormal", fields), protocol::ServerError);
    EXPECT_EQ(q("SELECT COUNT(*) FROM mail_outbox"), before + 2);
}

} // namespace
} // namespace durnak::testing
