// PDF documents rendered from a seeded database and read back with pdftotext.

#include <gtest/gtest.h>

#include <soci/soci.h>
#include <soci/sqlite3/soci-sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "domain/dates.hpp"
#include "domain_fixture.hpp"
#include "pdf/documents.hpp"
#include "pdf/pdf_writer.hpp"

namespace durnak::testing {
namespace {

namespace fs = std::filesystem;
namespace pdf = server::pdf;

// The text of a PDF as pdftotext reads it; fails the test when the file is no PDF.
std::string pdfText(const std::string& bytes)
{
    static int counter = 0;
    const auto path = fs::path(::testing::TempDir()) / ("durnak-" + std::to_string(::getpid()) + "-" +
                                                       std::to_string(counter++) + ".pdf");
    std::ofstream(path, std::ios::binary) << bytes;
    FILE* pipe = ::popen(("pdftotext -enc UTF-8 -layout '" + path.string() + "' - 2>&1").c_str(), "r");
    std::string text;
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) text.append(buffer, n);
    const int status = ::pclose(pipe);
    fs::remove(path);
    EXPECT_EQ(status, 0) << text;
    return text;
}

int pageCount(const std::string& text)
{
    return static_cast<int>(std::count(text.begin(), text.end(), '\f'));
}

TEST(Pdf, MoneyIsWrittenTheTurkishWay)
{
    const struct {
        double amount;
        const char* text;
    } cases[] = {
        {0, "0,00"},          {5, "5,00"},           {1234.5, "1.234,50"},      {1234567.891, "1.234.567,89"},
        {-1234.5, "-1.234,50"}, {0.005, "0,01"},      {999.995, "1.000,00"},     {100000, "100.000,00"},
        {-0.004, "0,00"},
    };
    for (const auto& c : cases) EXPECT_EQ(pdf::formatMoney(c.amount), c.text) << c.amount;
    EXPECT_EQ(pdf::formatDate("2026-03-07 14:00:00"), "07.03.2026");
}

TEST(Pdf, LongTablesBreakAcrossPagesWithTheirHeader)
{
    pdf::PdfWriter doc("Deneme");
    doc.heading("Uzun Tablo ĞÜŞİÖÇ");
    std::vector<std::vector<std::string>> rows;
    for (int i = 1; i <= 200; ++i) rows.push_back({"Satır " + std::to_string(i), "çığır açan ürün", pdf::formatMoney(i * 1000.25)});
    doc.table({{"Ad", 2}, {"Açıklama", 3}, {"Tutar", 1.5, true}}, rows, {"Toplam", "", "1,00"});
    const std::string text = pdfText(doc.finish());
    EXPECT_GE(pageCount(text), 3);
    EXPECT_NE(text.find("Satır 200"), std::string::npos);
    EXPECT_NE(text.find("200.050,00"), std::string::npos);
    EXPECT_NE(text.find("Uzun Tablo ĞÜŞİÖÇ"), std::string::npos);
    // The header comes again on every page.
    std::size_t headers = 0;
    for (auto at = text.find("Açıklama"); at != std::string::npos; at = text.find("Açıklama", at + 1)) ++headers;
    EXPECT_EQ(static_cast<int>(headers), pageCount(text));
}

class PdfDocuments : public ::testing::Test {
protected:
    void SetUp() override
    {
        db_ = seededDatabaseCopy();
        sql_.open(*soci::factory_sqlite3(), "db=\"" + db_ + "\"");
        today_ = server::domain::oleFromStored(server::domain::storedNow());
    }
    std::string db_;
    soci::session sql_;
    double today_ = 0;
};

TEST_F(PdfDocuments, ConsoleReportsCarryTheirTurkishContent)
{
    std::string repName;
    sql_ << "SELECT r.name FROM customers c JOIN sales_reps r ON r.id = c.rep_id WHERE c.carino = :c",
        soci::into(repName), soci::use(kDemoCustomer);
    std::string customerName;
    sql_ << "SELECT name FROM customers WHERE carino = :c", soci::into(customerName), soci::use(kDemoCustomer);

    struct Case {
        const char* name;
        pdf::ReportRequest request;
        std::vector<std::string> words;
    };
    const Case cases[] = {
        {"customer summary", {6, 6, 3, kDemoCustomer, repName, today_, today_},
         {"Cari Özeti", customerName, "Bakiye", "Cari Hareketler", "Sipariş", "İskonto"}},
        {"receivable terms, all reps", {6, 6, 3, 0, ".", today_, today_},
         {"Cari Toplu Alacak Vadeleri", "Vadesi", "Tüm temsilciler", customerName.substr(0, customerName.find(' '))}},
        {"receivable terms of one rep", {6, 6, 3, 0, repName, today_, today_},
         {"Cari Toplu Alacak Vadeleri", "Temsilci: " + repName}},
        {"purchase and sales table", {7, 7, 3, kDemoCustomer, repName, today_ - 400, today_},
         {"Cari Alış Satış Tablosu (Satıcılı)", "Aylara göre", "Stoklara göre", "Ödeme (Alacak)", customerName}},
    };
    for (const auto& c : cases) {
        const std::string bytes = pdf::renderReport(sql_, c.request);
        ASSERT_EQ(bytes.rfind("%PDF-", 0), 0u) << c.name;
        const std::string text = pdfText(bytes);
        for (const auto& word : c.words) EXPECT_NE(text.find(word), std::string::npos) << c.name << ": " << word;
    }
    EXPECT_THROW(pdf::renderReport(sql_, {99, 99, 3, kDemoCustomer, "", today_, today_}), std::invalid_argument);
    EXPECT_THROW(pdf::renderReport(sql_, {6, 6, 3, 987654, "", today_, today_}), std::invalid_argument);
}

TEST_F(PdfDocuments, ReceivableAmountsAddUpInTheTurkishFormat)
{
    double balance = 0;
    sql_ << "SELECT COALESCE(SUM(debit - credit), 0) FROM account_movements", soci::into(balance);
    const std::string text = pdfText(pdf::renderReport(sql_, {6, 6, 3, 0, ".", today_ + 3650, today_ + 3650}));
    EXPECT_NE(text.find(pdf::formatMoney(balance)), std::string::npos) << pdf::formatMoney(balance) << "\n" << text;
}

TEST_F(PdfDocuments, VirtualPosReceipt)
{
    int sirano = 0;
    double amount = 0;
    std::string card;
    sql_ << "SELECT id, amount, card_mask FROM pos_receipts ORDER BY id LIMIT 1", soci::into(sirano),
        soci::into(amount), soci::into(card);
    ASSERT_GT(sirano, 0);
    const std::string text = pdfText(pdf::renderPosReceipt(sql_, sirano));
    for (const std::string& word : {std::string("Sanal POS Ödeme Dekontu"), std::string("Onay Kodu"), card,
                                   pdf::formatMoney(amount) + " TL", std::string("Açıklama")})
        EXPECT_NE(text.find(word), std::string::npos) << word << "\n" << text;
    EXPECT_TRUE(pdf::renderPosReceipt(sql_, 999999).empty());
}

// The documents as the client fetches them: a stream whose length is the out value.
TEST(PdfThroughServer, ReportsAndReceiptsArriveAsReadablePdf)
{
    DemoServer server;
    const double today = server::domain::oleFromStored(server::domain::storedNow());
    using protocol::Value;
    struct Case {
        const char* name;
        std::string method;
        std::vector<Value> params;
        std::size_t lengthAt;
        std::string word;
    };
    const auto receipt = static_cast<std::int32_t>(queryInt(server.db, "SELECT MIN(id) FROM pos_receipts"));
    const Case cases[] = {
        {"customer summary", "RaporGetir",
         {Value(6), Value(6), Value(3), Value(kDemoCustomer), Value("Mehmet Yılmaz"), Value(today), Value(today), Value()},
         7, "Cari Özeti"},
        {"receivable terms", "RaporGetir",
         {Value(6), Value(6), Value(3), Value(0), Value("."), Value(today), Value(today), Value()}, 7,
         "Cari Toplu Alacak Vadeleri"},
        {"purchase and sales table", "RaporGetir",
         {Value(7), Value(7), Value(3), Value(kDemoCustomer), Value("Mehmet Yılmaz"), Value(today - 365), Value(today),
          Value()},
         7, "Cari Alış Satış Tablosu"},
        {"virtual-POS receipt", "SAnalPosPdfVer", {Value(receipt), Value()}, 1, "Sanal POS Ödeme Dekontu"},
    };
    for (const auto& c : cases) {
        const auto values = callMethod(server.port(), c.method, c.params);
        const std::string& bytes = values.back().asStream().bytes;
        EXPECT_EQ(values.at(c.lengthAt).asInt64(), static_cast<std::int64_t>(bytes.size())) << c.name;
        EXPECT_NE(pdfText(bytes).find(c.word), std::string::npos) << c.name;
    }
    // No receipt: length 0 and an empty stream.
    const auto none = callMethod(server.port(), "SAnalPosPdfVer", {Value(987654), Value()});
    EXPECT_EQ(none.at(1).asInt64(), 0);
}

} // namespace
} // namespace durnak::testing
