#include <gtest/gtest.h>

#include <fstream>

#include "domain_fixture.hpp"

namespace durnak::testing {
namespace {

using protocol::Value;

// Items with known codes, names and prices, added to the demo catalogue through the admin
// tool's CSV import: the same path a dealer uses.
constexpr const char* kItemsCsv =
    "KOD;ADI;OEM1;OEM2;BARKOD;MARKA;MODEL;ANAGRUP;KDV;FIYAT;KAMPFIYAT;DURUM;YENI\n"
    "TST-0001;Şanzıman Takozu Sol;04E 115-561.H;;8691234567892;Kayra;Anka Sedan;Şanzıman;20;200;0;1;1\n"
    "TST-00011;\"Yağ Filtresi; uzun\";XQ9-771;;8690000000014;Ekin;Toros Van;Filtre;20;59,99;0;2;0\n"
    "TST-0002;Kampanyalı Fren Diski;9ZZ 404 111;;8690000000021;Ulu;Kartal;Fren;20;200;150;3;0\n";

class CatalogueTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        db = new std::string(seededDatabaseCopy());
        // Next to the database file, or in the temporary folder when the database is a server.
        const std::string csv = ::testing::TempDir() + "catalogue_test_" + std::to_string(::getpid()) + ".csv";
        std::ofstream(csv) << kItemsCsv;
        runAdmin(*db, "import-csv '" + csv + "'");
        // Enough items sharing two words to reach the result cap.
        std::ofstream many(csv);
        many << "KOD;ADI;FIYAT\n";
        for (int i = 0; i < 650; ++i) many << "CAP-" << i << ";Deneme Kapağı " << i << ";10\n";
        many.close();
        runAdmin(*db, "import-csv '" + csv + "'");
        server = new ServerProcess(withDatabase(*db));
    }
    static void TearDownTestSuite()
    {
        delete server;
        delete db;
    }

    static protocol::Table search(const std::string& text, protocol::TSonucBilgisi session = demoSession())
    {
        auto values = callMethod(server->port(), "StokAraGetir", {Value(text), protocol::toValue(session)});
        return values.back().takeTable();
    }
    static long long stokno(const std::string& code)
    {
        return queryInt(*db, "SELECT stokno FROM stock WHERE code = '" + code + "'");
    }

    static std::string* db;
    static ServerProcess* server;
};
std::string* CatalogueTest::db = nullptr;
ServerProcess* CatalogueTest::server = nullptr;

std::int64_t intOf(const protocol::Table& t, std::size_t row, const char* column)
{
    return t.intAt(row, static_cast<std::size_t>(t.columnIndex(column)));
}
double realOf(const protocol::Table& t, std::size_t row, const char* column)
{
    return t.realAt(row, static_cast<std::size_t>(t.columnIndex(column)));
}
std::string textOf(const protocol::Table& t, std::size_t row, const char* column)
{
    return std::string(t.textAt(row, static_cast<std::size_t>(t.columnIndex(column))));
}

TEST_F(CatalogueTest, BuyukGetirAnswersTheAccountBoundToTheComputer)
{
    struct Case {
        const char* name;
        const char* computerId;
        const char* user;
        const char* password;
        bool known, passwordMatches;
        int type;
    };
    const Case cases[] = {
        {"right credentials", kDemoComputerId, "DEMO", "DEMO", true, true, 3},
        {"wrong password", kDemoComputerId, "DEMO", "yanlis", true, false, 3},
        {"other user's name", kDemoComputerId, "TEMSILCI", "DEMO", true, false, 3},
        {"representative", kRepComputerId, "TEMSILCI", "DEMO", true, true, 1},
        {"unknown computer", "BILINMEYEN", "DEMO", "DEMO", false, false, 1},
        {"quotes in the id", "x' OR '1'='1", "DEMO", "DEMO", false, false, 1},
        {"empty id", "", "", "", false, false, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto values = callMethod(server->port(), "BuyukGetir", {Value(c.computerId)},
                                       {{"user", c.user}, {"password", c.password}});
        ASSERT_FALSE(values.back().isNull());
        const auto r = protocol::fromValue<protocol::TSonucBilgisi>(values.back());
        EXPECT_EQ(r.FVarmi, c.known);
        EXPECT_EQ(r.FMusteriTipi, c.type);
        EXPECT_EQ(r.FSIFRE == c.password, c.passwordMatches);  // never the stored hash
        if (!c.known) continue;
        EXPECT_EQ(r.FAKTIF, 1);
        EXPECT_EQ(r.FVersion, 2);
        EXPECT_EQ(r.FCARINO, kDemoCustomer);
        EXPECT_FALSE(r.FSaticiAdi.empty());
        EXPECT_EQ(r.FADI, c.type == 3 ? "DEMO" : "TEMSILCI");
    }
}

TEST_F(CatalogueTest, SearchFindsCodesOemNumbersBarcodesAndNames)
{
    const auto takoz = stokno("TST-0001");
    const auto filtre = stokno("TST-00011");
    struct Case {
        const char* text;
        long long item;
        bool first;  // codes put their item first; name words find it among items of that name
    };
    const Case cases[] = {
        {"TST-0001", takoz, true},           // exact code, ahead of the longer code it prefixes
        {"tst0001", takoz, true},            // separators and case do not count
        {"04E115561H", takoz, true},         // OEM number written without separators
        {"115-561", takoz, true},            // OEM fragment
        {"8691234567892", takoz, true},      // barcode
        {"XQ9", filtre, true},
        {"ŞANZIMAN TAKOZU", takoz, false},   // name words with Turkish letters ...
        {"sanzıman takozu", takoz, false},   // ... or without, in any case
        {"takozu sanziman sol", takoz, false},  // any order
        {"yag filtresi uzun", filtre, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto t = search(c.text);
        ASSERT_GE(t.rowCount(), 1u);
        if (c.first) {
            EXPECT_EQ(intOf(t, 0, "STOK_STOKNO"), c.item);
        }
        bool found = false;
        for (std::size_t r = 0; r < t.rowCount(); ++r) {
            found = found || intOf(t, r, "STOK_STOKNO") == c.item;
            if (!c.first) {
                const auto name = textOf(t, r, "ADI");
                EXPECT_NE(name.find("anzıman"), std::string::npos) << name;
                EXPECT_NE(name.find("akozu"), std::string::npos) << name;
            }
        }
        EXPECT_TRUE(found);
    }
    const auto prefix = search("TST-0001");
    ASSERT_GE(prefix.rowCount(), 2u);
    EXPECT_EQ(intOf(prefix, 1, "STOK_STOKNO"), filtre);  // TST-00011 starts with the code
}

TEST_F(CatalogueTest, SearchEdgeCasesGiveAnEmptyOrCappedAnswer)
{
    const auto before = queryInt(*db, "SELECT COUNT(*) FROM stock");
    for (const char* text : {"", "   ", "-./", "'; DROP TABLE stock; --", "\" OR 1=1 --", "NEAR(a b)",
                             "zzzzqqqqxxxx"}) {
        SCOPED_TRACE(text);
        const auto t = search(text);
        EXPECT_EQ(t.rowCount(), 0u);
        EXPECT_GE(t.columnIndex("STOK_STOKNO"), 0);  // columns even without rows
    }
    EXPECT_EQ(search("deneme kapagi").rowCount(), 500u);
    EXPECT_EQ(queryInt(*db, "SELECT COUNT(*) FROM stock"), before);

    // A text far longer than any search box is refused with a message.
    try {
        search(std::string(100000, 'A'));
        FAIL() << "expected an error";
    } catch (const protocol::ServerError& e) {
        EXPECT_NE(std::string(e.what()).find("uzun"), std::string::npos) << e.what();
    }
}

TEST_F(CatalogueTest, PricesAreComputedForTheCustomer)
{
    auto t = search("TST-0001");
    // Demo customer 1001 has 10+5: 200 × .9 × .95 = 171, with 20 % VAT 205.20.
    EXPECT_DOUBLE_EQ(realOf(t, 0, "FIYAT"), 200);
    EXPECT_DOUBLE_EQ(realOf(t, 0, "LISTEFIYAT1"), 200);  // before VAT: the client adds it
    EXPECT_DOUBLE_EQ(realOf(t, 0, "KAMPFIYAT"), 0);
    EXPECT_DOUBLE_EQ(realOf(t, 0, "NETFIYAT"), 171);
    EXPECT_DOUBLE_EQ(realOf(t, 0, "KDVDAHIL"), 205.2);
    EXPECT_DOUBLE_EQ(realOf(t, 0, "KDV"), 20);
    EXPECT_EQ(textOf(t, 0, "INDIRIMYAZI"), "10+5");
    EXPECT_DOUBLE_EQ(realOf(t, 0, "IND1"), 10);
    EXPECT_DOUBLE_EQ(realOf(t, 0, "IND2"), 5);
    EXPECT_EQ(intOf(t, 0, "K"), 0);
    EXPECT_EQ(intOf(t, 0, "Y"), 1);
    EXPECT_EQ(intOf(t, 0, "DURUM"), 1);
    EXPECT_EQ(textOf(t, 0, "ADI"), "Şanzıman Takozu Sol");
    EXPECT_EQ(textOf(t, 0, "BARKOD"), "8691234567892");
    EXPECT_EQ(t.columns()[static_cast<std::size_t>(t.columnIndex("NETFIYAT"))].type, protocol::FieldType::Float64);

    // A campaign item is sold at its campaign price, without the customer's discounts.
    t = search("TST-0002");
    EXPECT_EQ(intOf(t, 0, "K"), 1);
    EXPECT_DOUBLE_EQ(realOf(t, 0, "KAMPFIYAT"), 150);
    EXPECT_DOUBLE_EQ(realOf(t, 0, "FIYAT"), 150);
    EXPECT_DOUBLE_EQ(realOf(t, 0, "NETFIYAT"), 150);
    EXPECT_DOUBLE_EQ(realOf(t, 0, "KDVDAHIL"), 180);
    EXPECT_EQ(textOf(t, 0, "INDIRIMYAZI"), "0");

    // Another customer's terms give another price; an unknown customer an error.
    auto session = demoSession();
    session.FSirano = 1;     // the representative, who may act for any customer
    session.FCARINO = 1005;  // no discount in the demo data
    EXPECT_DOUBLE_EQ(realOf(search("TST-0001", session), 0, "NETFIYAT"), 200);
    session.FCARINO = 999999;
    EXPECT_THROW(search("TST-0001", session), protocol::ServerError);
}

TEST_F(CatalogueTest, NewAndCampaignLists)
{
    auto values = callMethod(server->port(), "YenilerVer2", {Value(kDemoCustomer)});
    auto t = values.back().takeTable();
    ASSERT_GT(t.rowCount(), 0u);
    bool found = false;
    for (std::size_t r = 0; r < t.rowCount(); ++r) {
        EXPECT_EQ(intOf(t, r, "Y"), 1);
        if (intOf(t, r, "STOK_STOKNO") == stokno("TST-0001")) {
            found = true;
            EXPECT_DOUBLE_EQ(realOf(t, r, "LISTEFIYAT1"), 240);  // this list shows it with VAT
            EXPECT_DOUBLE_EQ(realOf(t, r, "NETFIYAT"), 171);
        }
    }
    EXPECT_TRUE(found);

    values = callMethod(server->port(), "KampanyaliVer2", {Value(kDemoCustomer), Value(3)});
    t = values.back().takeTable();
    ASSERT_GT(t.rowCount(), 0u);
    found = false;
    for (std::size_t r = 0; r < t.rowCount(); ++r) {
        EXPECT_GE(intOf(t, r, "K"), 1);
        EXPECT_GT(realOf(t, r, "KAMPFIYAT"), 0);
        if (intOf(t, r, "STOK_STOKNO") == stokno("TST-0002")) {
            found = true;
            EXPECT_DOUBLE_EQ(realOf(t, r, "FIYAT"), 150);
            EXPECT_DOUBLE_EQ(realOf(t, r, "ESKIFIYAT"), 200);
        }
    }
    EXPECT_TRUE(found);
    EXPECT_THROW(callMethod(server->port(), "YenilerVer2", {Value(-5)}), protocol::ServerError);
}

TEST_F(CatalogueTest, PicturesComeAsJpegStreamsWithTheirLength)
{
    // The demo data gives every fourth item, from the first, a picture.
    auto values = callMethod(server->port(), "ResimVer5", {Value(1), Value()});
    const auto& jpeg = values.back().asStream().bytes;
    ASSERT_GT(jpeg.size(), 100u);
    EXPECT_EQ(values[1].asInt64(), static_cast<std::int64_t>(jpeg.size()));
    EXPECT_EQ(static_cast<unsigned char>(jpeg[0]), 0xFF);
    EXPECT_EQ(static_cast<unsigned char>(jpeg[1]), 0xD8);
    EXPECT_EQ(static_cast<unsigned char>(jpeg[jpeg.size() - 1]), 0xD9);

    for (int without : {2, 0, -1, 99999999}) {
        SCOPED_TRACE(without);
        values = callMethod(server->port(), "ResimVer5", {Value(without), Value()});
        EXPECT_EQ(values[1].asInt64(), 0);
        EXPECT_TRUE(values.back().asStream().bytes.empty());
    }
    // The search marks the items with a picture.
    const auto t = search("TST-0001");
    EXPECT_EQ(intOf(t, 0, "RESIM"), 0);
}

} // namespace
} // namespace durnak::testing
