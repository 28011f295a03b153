#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <fstream>
#include <functional>
#include <thread>

#include "domain_fixture.hpp"

namespace durnak::testing {
namespace {

using protocol::Value;

constexpr const char* kItemsCsv =
    "KOD;ADI;BARKOD;KDV;FIYAT;KAMPFIYAT\n"
    "SEP-1;Sepet Deneme Balatası;8690000000106;20;200;0\n"
    "SEP-2;Sepet Deneme Diski;8690000000113;20;33,33;0\n"
    "SEP-3;Sepet Kampanyalı Filtre;8690000000120;20;100;80\n";

// One server on a database with three known items; each test empties the basket first.
class BasketTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        db = new std::string(seededDatabaseCopy());
        // Next to the database file, or in the temporary folder when the database is a server.
        const std::string csv = ::testing::TempDir() + "basket_test_" + std::to_string(::getpid()) + ".csv";
        std::ofstream(csv) << kItemsCsv;
        runAdmin(*db, "import-csv '" + csv + "'");
        server = new ServerProcess(withDatabase(*db));
    }
    static void TearDownTestSuite()
    {
        delete server;
        delete db;
    }
    void SetUp() override { call("SepetHepsiniSil", {session()}); }

    static Value session(std::int32_t carino = kDemoCustomer)
    {
        auto s = demoSession();
        s.FCARINO = carino;
        return protocol::toValue(s);
    }
    static std::vector<Value> call(const std::string& method, const std::vector<Value>& params)
    {
        return callMethod(server->port(), method, params);
    }
    static std::int32_t item(const std::string& code)
    {
        return static_cast<std::int32_t>(queryInt(*db, "SELECT stokno FROM stock WHERE code = '" + code + "'"));
    }
    // SepetEkle2 as the client sends it, with a price and discounts the server must not use.
    static Value add(std::int32_t stokno, double qty, std::int32_t carino = kDemoCustomer)
    {
        return call("SepetEkle2", {session(carino), Value(carino), Value(stokno), Value("'; DELETE FROM basket; --"),
                                   Value("x\"y"), Value(qty), Value(18.0), Value(0.01), Value(99.0), Value(3),
                                   Value(0), Value(99.0), Value(0.0), Value(0.0)})
            .back();
    }
    // By default as the customer's own user (3); user 1 is a sales representative.
    static Value change(std::int32_t sirano, double qty, std::int32_t carino = kDemoCustomer, double price = 1.0,
                        std::int32_t enteredBy = 3)
    {
        auto s = demoSession();
        s.FCARINO = carino;
        s.FSirano = enteredBy;  // signs in as that user: the server takes who changes a line from the session
        return call("SepetGuncelle2", {protocol::toValue(s), Value(carino), Value(0), Value(""), Value(""), Value(qty),
                                       Value(20.0), Value(price), Value(0.0), Value(enteredBy), Value(sirano),
                                       Value(0.0), Value(0.0), Value(0.0)})
            .back();
    }
    static protocol::Table basket(std::int32_t carino = kDemoCustomer)
    {
        return call("SepetVer2", {Value(carino)}).back().takeTable();
    }
    static Value save(std::int32_t delivery = 2, std::int32_t kind = 1, std::int32_t firm = 1,
                      const std::string& note = "Not: 'tırnak' \"çift\" ; --")
    {
        return call("SiparisKaydet", {session(), Value(kDemoCustomer), Value(delivery), Value(kind), Value(note),
                                      Value(3), Value(firm)})
            .back();
    }

    static std::string* db;
    static ServerProcess* server;
};
std::string* BasketTest::db = nullptr;
ServerProcess* BasketTest::server = nullptr;

double realOf(const protocol::Table& t, std::size_t row, const char* column)
{
    return t.realAt(row, static_cast<std::size_t>(t.columnIndex(column)));
}
std::int64_t intOf(const protocol::Table& t, std::size_t row, const char* column)
{
    return t.intAt(row, static_cast<std::size_t>(t.columnIndex(column)));
}

TEST_F(BasketTest, LinesArePricedByTheServer)
{
    EXPECT_EQ(add(item("SEP-1"), 3), Value(1));
    EXPECT_EQ(add(item("SEP-3"), 2), Value(1));
    const auto t = basket();
    ASSERT_EQ(t.rowCount(), 2u);
    // 3 × 200 with 10+5: net unit 171, net 513, discount 87, VAT 102.60.
    EXPECT_EQ(intOf(t, 0, "STOKNO"), item("SEP-1"));
    EXPECT_EQ(intOf(t, 0, "SEC"), 1);
    EXPECT_DOUBLE_EQ(realOf(t, 0, "MIKTAR"), 3);
    EXPECT_DOUBLE_EQ(realOf(t, 0, "BIRIMFIYAT"), 200);
    EXPECT_DOUBLE_EQ(realOf(t, 0, "TUTAR"), 600);
    EXPECT_DOUBLE_EQ(realOf(t, 0, "INDIRIMORANI1"), 10);
    EXPECT_DOUBLE_EQ(realOf(t, 0, "INDIRIMORANI2"), 5);
    EXPECT_DOUBLE_EQ(realOf(t, 0, "INDIRIMTUTAR"), 87);
    EXPECT_DOUBLE_EQ(realOf(t, 0, "NETBIRIMFIYAT"), 171);
    EXPECT_DOUBLE_EQ(realOf(t, 0, "NETTUTAR"), 513);
    EXPECT_DOUBLE_EQ(realOf(t, 0, "KDV"), 20);
    EXPECT_DOUBLE_EQ(realOf(t, 0, "VERGITUTARI"), 102.6);
    EXPECT_EQ(t.textAt(0, static_cast<std::size_t>(t.columnIndex("INDIRIMYAZI"))), "10+5");
    EXPECT_EQ(t.textAt(0, static_cast<std::size_t>(t.columnIndex("STOKADI"))), "Sepet Deneme Balatası");
    // The campaign item at its campaign price, no discount.
    EXPECT_DOUBLE_EQ(realOf(t, 1, "BIRIMFIYAT"), 80);
    EXPECT_DOUBLE_EQ(realOf(t, 1, "NETTUTAR"), 160);
    EXPECT_DOUBLE_EQ(realOf(t, 1, "INDIRIMTUTAR"), 0);
    EXPECT_EQ(intOf(t, 1, "K"), 1);
}

TEST_F(BasketTest, AddingAnItemTwiceAddsToItsLine)
{
    add(item("SEP-2"), 2);
    add(item("SEP-2"), 1.5);
    const auto t = basket();
    ASSERT_EQ(t.rowCount(), 1u);
    EXPECT_DOUBLE_EQ(realOf(t, 0, "MIKTAR"), 3.5);
}

TEST_F(BasketTest, ChangeTickAndDeleteLines)
{
    add(item("SEP-1"), 1);
    add(item("SEP-2"), 1);
    auto t = basket();
    const auto first = static_cast<std::int32_t>(intOf(t, 0, "SIRANO"));
    const auto second = static_cast<std::int32_t>(intOf(t, 1, "SIRANO"));

    EXPECT_EQ(change(first, 7), Value(1));
    call("SepetSecimGuncelle", {Value(second), Value(0)});
    t = basket();
    EXPECT_DOUBLE_EQ(realOf(t, 0, "MIKTAR"), 7);
    EXPECT_DOUBLE_EQ(realOf(t, 0, "BIRIMFIYAT"), 200);  // the client's price is not taken
    EXPECT_EQ(intOf(t, 1, "SEC"), 0);
    call("SepetSecimGuncelle", {Value(second), Value(1)});
    EXPECT_EQ(intOf(basket(), 1, "SEC"), 1);

    // A sales representative's change carries the price typed in the dialog; a nonsense price is refused.
    EXPECT_EQ(change(first, 7, kDemoCustomer, 150.0, 1), Value(1));
    EXPECT_DOUBLE_EQ(realOf(basket(), 0, "BIRIMFIYAT"), 150);
    EXPECT_THROW(change(first, 7, kDemoCustomer, -5.0, 1), protocol::ServerError);
    EXPECT_DOUBLE_EQ(realOf(basket(), 0, "BIRIMFIYAT"), 150);

    // Another customer cannot change or delete these lines.
    EXPECT_THROW(change(first, 2, 1002), protocol::ServerError);
    EXPECT_THROW(call("SepetSatirSil", {session(1002), Value(first), Value("x")}), protocol::ServerError);
    EXPECT_EQ(basket().rowCount(), 2u);

    EXPECT_EQ(call("SepetSatirSil", {session(), Value(first), Value("BARKOD-ADI")}).back(), Value(1));
    EXPECT_EQ(basket().rowCount(), 1u);
    EXPECT_EQ(call("SepetHepsiniSil", {session()}).back(), Value(1));
    EXPECT_EQ(basket().rowCount(), 0u);
}

TEST_F(BasketTest, BadInputIsRefusedAndChangesNothing)
{
    add(item("SEP-1"), 2);
    const auto line = static_cast<std::int32_t>(intOf(basket(), 0, "SIRANO"));
    struct Case {
        const char* name;
        std::function<Value()> call;
        const char* message;
    };
    const Case cases[] = {
        {"zero quantity", [] { return add(item("SEP-1"), 0); }, "miktar"},
        {"negative quantity", [] { return add(item("SEP-1"), -3); }, "miktar"},
        {"huge quantity", [] { return add(item("SEP-1"), 1e12); }, "miktar"},
        {"unknown item", [] { return add(987654321, 1); }, "Stok bulunamadı"},
        {"unknown customer", [] { return add(item("SEP-1"), 1, 424242); }, "424242"},  // not the user's either
        {"changed to zero", [line] { return change(line, 0); }, "miktar"},
        {"unknown line", [] { return change(987654, 1); }, "bulunamadı"},
        {"basket of unknown customer", [] { return basket(424242).rowCount() ? Value(1) : Value(0); }, "Cari"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            c.call();
            ADD_FAILURE() << "expected an error";
        } catch (const protocol::ServerError& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
    }
    const auto t = basket();
    ASSERT_EQ(t.rowCount(), 1u);
    EXPECT_DOUBLE_EQ(realOf(t, 0, "MIKTAR"), 2);
    expectServerAnswers(server->port());
}

TEST_F(BasketTest, DeliveryAndCargoChoices)
{
    auto t = call("TeslimVer", {}).back().takeTable();
    ASSERT_GE(t.rowCount(), 2u);
    EXPECT_EQ(t.columns()[0].type, protocol::FieldType::Int32);
    EXPECT_EQ(t.columns()[1].type, protocol::FieldType::String);
    EXPECT_EQ(t.textAt(1, 1), "Kargo ile");
    t = call("KargoVer", {}).back().takeTable();
    ASSERT_GE(t.rowCount(), 1u);
    EXPECT_EQ(t.intAt(0, 0), 1);
    t = call("KargolarVer", {Value(1)}).back().takeTable();
    ASSERT_GE(t.rowCount(), 2u);
    EXPECT_EQ(t.textAt(0, static_cast<std::size_t>(t.columnIndex("ADI"))), "Hızlı Kargo");
    EXPECT_FALSE(t.textAt(0, static_cast<std::size_t>(t.columnIndex("UYARI"))).empty());
    EXPECT_EQ(call("KargolarVer", {Value(999)}).back().takeTable().rowCount(), 0u);
}

TEST_F(BasketTest, OrderIsBuiltFromTheTickedLinesOnly)
{
    add(item("SEP-1"), 3);
    add(item("SEP-2"), 1);
    auto t = basket();
    const auto unticked = static_cast<std::int32_t>(intOf(t, 1, "SIRANO"));
    call("SepetSecimGuncelle", {Value(unticked), Value(0)});
    const auto ordersBefore = queryInt(*db, "SELECT COUNT(*) FROM orders");

    EXPECT_EQ(save(), Value(true));
    t = basket();
    ASSERT_EQ(t.rowCount(), 1u);  // the unticked line stays
    EXPECT_EQ(intOf(t, 0, "SIRANO"), unticked);
    EXPECT_EQ(queryInt(*db, "SELECT COUNT(*) FROM orders"), ordersBefore + 1);
    const std::string last = "(SELECT MAX(id) FROM orders)";
    EXPECT_EQ(queryInt(*db, "SELECT COUNT(*) FROM order_lines WHERE order_id = " + last), 1);
    EXPECT_EQ(queryInt(*db, "SELECT ROUND(total * 100) FROM orders WHERE id = " + last), 61560);  // 513 + 102.60
    EXPECT_EQ(queryInt(*db, "SELECT status FROM orders WHERE id = " + last), 0);
    EXPECT_EQ(queryInt(*db, "SELECT customer_note = 'Not: ''tırnak'' \"çift\" ; --' FROM orders WHERE id = " + last), 1);

    // Sent again (a lost answer): nothing ticked, nothing stored twice.
    call("SepetSecimGuncelle", {Value(unticked), Value(0)});
    EXPECT_EQ(save(), Value(false));
    EXPECT_EQ(queryInt(*db, "SELECT COUNT(*) FROM orders"), ordersBefore + 1);
}

TEST_F(BasketTest, OrderWithUnknownChoicesStoresNothing)
{
    add(item("SEP-1"), 1);
    const auto ordersBefore = queryInt(*db, "SELECT COUNT(*) FROM orders");
    EXPECT_THROW(save(99, 1, 1), protocol::ServerError);  // delivery mode
    EXPECT_THROW(save(2, 99, 1), protocol::ServerError);  // cargo kind
    EXPECT_THROW(save(2, 2, 1), protocol::ServerError);   // firm of another kind
    EXPECT_THROW(save(2, 1, 1, std::string(5000, 'x')), protocol::ServerError);  // note too long
    EXPECT_EQ(queryInt(*db, "SELECT COUNT(*) FROM orders"), ordersBefore);
    EXPECT_EQ(basket().rowCount(), 1u);
    EXPECT_EQ(save(2, 1, 0), Value(true));  // no firm chosen is allowed
}

// SIGKILL in the middle of a stream of orders: after a restart every stored order is whole
// (it has lines, its totals agree with them), no ordered line is still in the basket, and
// every order the client was told about is there.
TEST(OrderCrash, KilledServerLosesNoOrderAndLeavesNoHalfOrder)
{
    const std::string db = seededDatabaseCopy();
    const auto ordersBefore = queryInt(db, "SELECT COUNT(*) FROM orders");
    auto server = std::make_unique<ServerProcess>(withDatabase(db));
    const Value session = protocol::toValue(demoSession());
    const std::uint16_t port = server->port();

    std::atomic<int> confirmed{0};
    std::atomic<bool> stop{false};
    std::thread orders([&] {
        for (int i = 0; i < 2000 && !stop; ++i) {
            try {
                TestClient client(port);
                rememberToken(port, 3, client.hello(signedInHello(port, 3)));
                for (std::int32_t stokno : {1 + i % 50, 60 + i % 50, 120 + i % 50})
                    client.call("TServerMethods1.SepetEkle2",
                                {session, Value(kDemoCustomer), Value(stokno), Value(""), Value(""), Value(2.0),
                                 Value(20.0), Value(1.0), Value(0.0), Value(3), Value(0), Value(0.0), Value(0.0),
                                 Value(0.0)});
                const auto answer = client.call("TServerMethods1.SiparisKaydet",
                                                {session, Value(kDemoCustomer), Value(2), Value(1),
                                                 Value("sipariş " + std::to_string(i)), Value(3), Value(1)});
                if (answer.back() == Value(true)) ++confirmed;
            } catch (const std::exception&) {
                return;  // the server is gone
            }
        }
    });
    // Kill once a few orders went through, while the stream goes on.
    for (int waited = 0; confirmed < 5 && waited < 3000; ++waited)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    server->signal(SIGKILL);
    server->wait();
    stop = true;
    orders.join();
    ASSERT_GE(confirmed.load(), 5);

    server = std::make_unique<ServerProcess>(withDatabase(db));  // recovers the journal
    EXPECT_GE(queryInt(db, "SELECT COUNT(*) FROM orders") - ordersBefore, confirmed.load());
    EXPECT_EQ(queryInt(db, "SELECT COUNT(*) FROM orders o WHERE NOT EXISTS"
                           " (SELECT 1 FROM order_lines l WHERE l.order_id = o.id)"),
              0);
    EXPECT_EQ(queryInt(db, "SELECT COUNT(*) FROM orders o WHERE ABS(o.total -"
                           " (SELECT SUM(net + vat_amount) FROM order_lines l WHERE l.order_id = o.id)) > 0.02"),
              0);
    EXPECT_EQ(queryInt(db, "SELECT COUNT(*) FROM order_lines l JOIN basket b ON b.sirano = l.basket_sirano"), 0);
    if (!testingOnPostgres()) {  // PostgreSQL checks its own files on recovery
        EXPECT_EQ(queryInt(db, "SELECT COUNT(*) FROM pragma_integrity_check WHERE integrity_check <> 'ok'"), 0);
    }
    // The restarted server goes on serving the same basket.
    EXPECT_NO_THROW(callMethod(server->port(), "SepetVer2", {Value(kDemoCustomer)}));
}

} // namespace
} // namespace durnak::testing
