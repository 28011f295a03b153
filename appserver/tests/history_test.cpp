#include <gtest/gtest.h>

#include <cmath>

#include "domain_fixture.hpp"

namespace durnak::testing {
namespace {

using protocol::Value;

class HistoryTest : public DemoServerTest {
protected:
    static Value session(std::int32_t carino = kDemoCustomer, std::int32_t user = 3)
    {
        auto s = demoSession();
        s.FCARINO = carino;
        s.FSirano = user;  // the fixture signs in as this user
        return protocol::toValue(s);
    }
};

std::size_t col(const protocol::Table& t, const char* name)
{
    const int i = t.columnIndex(name);
    EXPECT_GE(i, 0) << name;
    return static_cast<std::size_t>(i);
}

TEST_F(HistoryTest, PreviousOrdersWithLinesAndFooter)
{
    const auto orders = table("OncekiSiparisler", {Value(kDemoCustomer)});
    ASSERT_EQ(static_cast<long long>(orders.rowCount()), q("SELECT COUNT(*) FROM orders WHERE carino = 1001"));
    ASSERT_GT(orders.rowCount(), 1u);
    for (std::size_t r = 0; r < orders.rowCount(); ++r) {
        EXPECT_EQ(orders.intAt(r, col(orders, "CARINO")), kDemoCustomer);
        if (r > 0) {
            EXPECT_LE(orders.realAt(r, col(orders, "TARIH")), orders.realAt(r - 1, col(orders, "TARIH")));
        }
    }
    const auto id = static_cast<std::int32_t>(orders.intAt(0, col(orders, "IDNO")));
    const std::string where = " FROM orders WHERE id = " + std::to_string(id);
    EXPECT_EQ(std::llround(orders.realAt(0, col(orders, "TUTAR")) * 100), q("SELECT ROUND(total * 100)" + where));

    const auto lines = table("SiparisAyrintisi2", {Value(kDemoCustomer), Value(id)});
    ASSERT_EQ(static_cast<long long>(lines.rowCount()), q("SELECT COUNT(*) FROM order_lines WHERE order_id = " +
                                                         std::to_string(id)));
    double net = 0;
    for (std::size_t r = 0; r < lines.rowCount(); ++r) {
        net += lines.realAt(r, col(lines, "NETTUTAR"));
        EXPECT_NEAR(lines.realAt(r, col(lines, "TUTAR")) - lines.realAt(r, col(lines, "INDIRIMTUTAR")),
                    lines.realAt(r, col(lines, "NETTUTAR")), 0.005);
    }
    EXPECT_EQ(std::llround(net * 100), q("SELECT ROUND(net * 100)" + where));
    // Another customer's number shows none of these lines.
    EXPECT_EQ(table("SiparisAyrintisi2", {Value(1002), Value(id)}).rowCount(), 0u);

    const auto footer = protocol::fromValue<protocol::TSiparisDipAyrinti>(
        call("SiparisAytintisiDip", {Value(0), Value(id)}).back());
    EXPECT_FALSE(footer.FDurumu.empty());
    EXPECT_EQ(footer.FDurumu, orders.textAt(0, col(orders, "DURUM")));
    EXPECT_FALSE(footer.FTeslimCinsi.empty());
    EXPECT_FALSE(footer.FKargoCinsi.empty());
    // An unknown order still answers a record, empty.
    const auto none = protocol::fromValue<protocol::TSiparisDipAyrinti>(
        call("SiparisAytintisiDip", {Value(0), Value(987654)}).back());
    EXPECT_TRUE(none.FDurumu.empty());
}

TEST_F(HistoryTest, BalancesChangeWithTheirCalls)
{
    auto balances = table("BakiyelerVer2", {Value(kDemoCustomer)});
    ASSERT_GT(balances.rowCount(), 0u);
    for (std::size_t r = 0; r < balances.rowCount(); ++r) EXPECT_GT(balances.realAt(r, col(balances, "KALAN")), 0);
    const auto line = static_cast<std::int32_t>(balances.intAt(0, col(balances, "STOKHAR_NO")));
    const auto stokno = static_cast<std::int32_t>(balances.intAt(0, col(balances, "STOK_STOKNO")));
    const double qty = balances.realAt(0, col(balances, "MIKTAR"));
    const std::string lineWhere = " FROM order_lines WHERE id = " + std::to_string(line);
    auto balanceCall = [&](const char* method, double value, std::int32_t carino = kDemoCustomer) {
        return call(method, {session(carino), Value(stokno), Value(line), Value(line), Value(value), Value(value),
                             Value("")})
            .back();
    };

    EXPECT_EQ(balanceCall("BakiyeDegistir", 1), Value(1));
    EXPECT_EQ(q("SELECT balance_qty" + lineWhere), 1);
    for (double bad : {qty + 1, -1.0}) EXPECT_THROW(balanceCall("BakiyeDegistir", bad), protocol::ServerError);
    EXPECT_THROW(balanceCall("BakiyeDegistir", 1, 1002), protocol::ServerError);  // not that customer's line
    EXPECT_EQ(q("SELECT balance_qty" + lineWhere), 1);

    // Price change: 10 with 50 % and the line's second rate 5 % is 4,75 a unit; the order follows.
    EXPECT_EQ(call("BakiyeFiyatDegistir", {session(kDemoCustomer, 1), Value(0), Value(line), Value(line), Value(qty), Value(qty),
                                           Value(""), Value(10.0), Value(50.0)})
                  .back(),
              Value(1));
    EXPECT_EQ(q("SELECT ROUND(net * 100)" + lineWhere), std::llround(qty * 4.75 * 100));
    EXPECT_EQ(q("SELECT COUNT(*) FROM orders o WHERE ABS(o.net - (SELECT SUM(net) FROM order_lines l"
                " WHERE l.order_id = o.id)) > 0.005"),
              0);
    EXPECT_THROW(call("BakiyeFiyatDegistir", {session(kDemoCustomer, 1), Value(0), Value(line), Value(line), Value(qty), Value(qty),
                                              Value(""), Value(-5.0), Value(0.0)}),
                 protocol::ServerError);

    EXPECT_EQ(balanceCall("BakiyeDuzenle", qty), Value(1));
    EXPECT_EQ(q("SELECT balance_qty" + lineWhere), 0);
    balances = table("BakiyelerVer2", {Value(kDemoCustomer)});
    for (std::size_t r = 0; r < balances.rowCount(); ++r)
        EXPECT_NE(balances.intAt(r, col(balances, "STOKHAR_NO")), line);

    const auto itemOrders = table("TumSiparislerVer", {Value(kDemoCustomer), Value(stokno)});
    ASSERT_GT(itemOrders.rowCount(), 0u);
    for (std::size_t r = 0; r < itemOrders.rowCount(); ++r)
        EXPECT_EQ(itemOrders.intAt(r, col(itemOrders, "STOK_STOKNO")), stokno);
    // Stock number 0 lists every line of the customer, whatever the item.
    const auto allOrders = table("TumSiparislerVer", {Value(kDemoCustomer), Value(0)});
    EXPECT_EQ(static_cast<long long>(allOrders.rowCount()),
              q("SELECT COUNT(*) FROM order_lines l JOIN orders o ON o.id = l.order_id WHERE o.carino = " +
                std::to_string(kDemoCustomer)));
    EXPECT_GT(allOrders.rowCount(), itemOrders.rowCount());
}

TEST_F(HistoryTest, StatementWithInvoiceAndCollectionDetail)
{
    const auto st = table("CariEkstreVer", {Value(kDemoCustomer)});
    ASSERT_GT(st.rowCount(), 3u);
    double debit = 0, credit = 0;
    std::int32_t invoiceRow = -1, posRow = -1;
    for (std::size_t r = 0; r < st.rowCount(); ++r) {
        debit += st.realAt(r, col(st, "BORC"));
        credit += st.realAt(r, col(st, "ALACAK"));
        const std::string kind(st.textAt(r, col(st, "TURADI")));
        if (kind.find("Fatura") != std::string::npos && invoiceRow < 0) invoiceRow = static_cast<std::int32_t>(r);
        if (kind == "Tahsilat" && posRow < 0) posRow = static_cast<std::int32_t>(r);
        EXPECT_TRUE(kind.find("Fatura") != std::string::npos || kind == "Tahsilat" || kind == "Tediye") << kind;
    }
    EXPECT_NEAR(st.realAt(st.rowCount() - 1, col(st, "BAKIYE")), debit - credit, 0.01);
    ASSERT_GE(invoiceRow, 0);
    ASSERT_GE(posRow, 0);

    const auto invoice = static_cast<std::int32_t>(st.intAt(static_cast<std::size_t>(invoiceRow), col(st, "IDNO")));
    const auto lines = table("FaturaGetir", {Value(kDemoCustomer), Value(invoice)});
    ASSERT_EQ(lines.rowCount(), 3u);
    EXPECT_FALSE(lines.textAt(0, col(lines, "EVRAKNO")).empty());
    EXPECT_EQ(table("FaturaGetir", {Value(1002), Value(invoice)}).rowCount(), 0u);
    const auto totals = table("FaturaAltGetir", {Value(invoice)});
    ASSERT_EQ(totals.rowCount(), 1u);
    EXPECT_NEAR(totals.realAt(0, col(totals, "KDVDAHIL")), st.realAt(static_cast<std::size_t>(invoiceRow), col(st, "BORC")),
                0.005);
    EXPECT_NEAR(totals.realAt(0, col(totals, "MATRAH")) + totals.realAt(0, col(totals, "KDVTUTAR")),
                totals.realAt(0, col(totals, "KDVDAHIL")), 0.005);

    // Collections: the first one of the demo data was paid by card through the virtual POS.
    const auto payment = static_cast<std::int32_t>(st.intAt(static_cast<std::size_t>(posRow), col(st, "IDNO")));
    const auto rows = table("Tahsilat", {Value(payment)});
    ASSERT_EQ(rows.rowCount(), 1u);
    EXPECT_NEAR(rows.realAt(0, col(rows, "Tutar")), st.realAt(static_cast<std::size_t>(posRow), col(st, "ALACAK")),
                0.005);
    const auto receipt = call("SanalposSiranoVer", {Value(payment)}).back().asInt32();
    ASSERT_GT(receipt, 0);
    auto pdf = call("SAnalPosPdfVer", {Value(receipt), Value()});
    const auto& bytes = pdf.back().asStream().bytes;
    EXPECT_EQ(bytes.rfind("%PDF-", 0), 0u);
    EXPECT_EQ(pdf[1].asInt64(), static_cast<std::int64_t>(bytes.size()));
    EXPECT_EQ(call("SanalposSiranoVer", {Value(invoice)}).back(), Value(0));
    pdf = call("SAnalPosPdfVer", {Value(987654), Value()});
    EXPECT_EQ(pdf[1].asInt64(), 0);
    EXPECT_TRUE(pdf.back().asStream().bytes.empty());
}

TEST_F(HistoryTest, OverdueWarningForTheBasket)
{
    // The demo customer has unpaid invoices past their due date; customer 1030 has no movements.
    const auto warning = call("CariVadeGunGecmismiBul", {Value(kDemoCustomer)}).back().asString();
    EXPECT_NE(warning.find("Vadesi geçmiş"), std::string::npos) << warning;
    EXPECT_NE(warning.find(" TL"), std::string::npos) << warning;
    for (std::int32_t none : {1030, 0, -1, 999999})
        EXPECT_EQ(call("CariVadeGunGecmismiBul", {Value(none)}).back(), Value("")) << none;
}

} // namespace
} // namespace durnak::testing
