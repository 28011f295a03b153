#include "methods/domain_support.hpp"

#include <cmath>
#include <cstdlib>

#include "durnak/protocol/marshal.hpp"
#include "store/dialect.hpp"

namespace durnak::server {

namespace db {

std::int64_t integer(const soci::row& row, std::size_t i)
{
    if (row.get_indicator(i) == soci::i_null) return 0;
    switch (row.get_properties(i).get_data_type()) {
    case soci::dt_integer: return row.get<int>(i);
    case soci::dt_long_long: return row.get<long long>(i);
    case soci::dt_unsigned_long_long: return static_cast<std::int64_t>(row.get<unsigned long long>(i));
    case soci::dt_double: return static_cast<std::int64_t>(std::llround(row.get<double>(i)));
    case soci::dt_string: return std::strtoll(row.get<std::string>(i).c_str(), nullptr, 10);
    default: return 0;
    }
}

double real(const soci::row& row, std::size_t i)
{
    if (row.get_indicator(i) == soci::i_null) return 0;
    switch (row.get_properties(i).get_data_type()) {
    case soci::dt_integer: return row.get<int>(i);
    case soci::dt_long_long: return static_cast<double>(row.get<long long>(i));
    case soci::dt_unsigned_long_long: return static_cast<double>(row.get<unsigned long long>(i));
    case soci::dt_double: return row.get<double>(i);
    case soci::dt_string: return std::strtod(row.get<std::string>(i).c_str(), nullptr);
    default: return 0;
    }
}

std::string text(const soci::row& row, std::size_t i)
{
    if (row.get_indicator(i) == soci::i_null) return {};
    switch (row.get_properties(i).get_data_type()) {
    case soci::dt_string: return row.get<std::string>(i);
    case soci::dt_integer: return std::to_string(row.get<int>(i));
    case soci::dt_long_long: return std::to_string(row.get<long long>(i));
    case soci::dt_double: return std::to_string(row.get<double>(i));
    default: return {};
    }
}

domain::Discounts discounts(const soci::row& row, std::size_t first)
{
    return {real(row, first), real(row, first + 1), real(row, first + 2), real(row, first + 3)};
}

std::string timeOfDay(const std::string& stored)
{
    return stored.size() >= 19 ? stored.substr(11, 8) : std::string();
}

WriteTransaction::WriteTransaction(soci::session& sql) : sql_(sql)
{
    dialect::beginWrite(sql_);
}

WriteTransaction::~WriteTransaction()
{
    if (!open_) return;
    try {
        sql_ << "ROLLBACK";
    } catch (const std::exception&) {
        // The failed statement may already have ended the transaction.
    }
}

void WriteTransaction::commit()
{
    sql_ << "COMMIT";
    open_ = false;
}

} // namespace db

void DocumentTotals::add(double lineGross, double lineDiscount, double lineNet, double lineVat)
{
    gross = domain::roundMoney(gross + lineGross);
    discount = domain::roundMoney(discount + lineDiscount);
    net = domain::roundMoney(net + lineNet);
    vat = domain::roundMoney(vat + lineVat);
}

double DocumentTotals::total() const { return domain::roundMoney(net + vat); }

void DocumentTotals::store(soci::session& sql, const char* table, long long id) const
{
    const double sum = total();
    sql << std::string("UPDATE ") + table +
               " SET gross = :g, discount = :d, net = :n, vat_amount = :v, total = :t WHERE id = :i",
        soci::use(gross), soci::use(discount), soci::use(net), soci::use(vat), soci::use(sum), soci::use(id);
}

bool customerExists(soci::session& sql, std::int32_t carino)
{
    int n = 0;
    sql << "SELECT COUNT(*) FROM customers WHERE carino = :c AND active = 1", soci::into(n), soci::use(carino);
    return n > 0;
}

CustomerTerms customerTerms(soci::session& sql, std::int32_t carino)
{
    CustomerTerms t;
    t.carino = carino;
    soci::indicator ind = soci::i_null;
    sql << "SELECT code, name, disc1, disc2, disc3, disc4, payment_days FROM customers"
           " WHERE carino = :c AND active = 1",
        soci::into(t.code, ind), soci::into(t.name), soci::into(t.rates[0]), soci::into(t.rates[1]),
        soci::into(t.rates[2]), soci::into(t.rates[3]), soci::into(t.paymentDays), soci::use(carino);
    if (!sql.got_data()) throw DomainError("Cari bulunamadı: " + std::to_string(carino));
    return t;
}

protocol::TSonucBilgisi sessionRecord(const protocol::Value& value)
{
    if (value.isNull()) return {};
    return protocol::fromValue<protocol::TSonucBilgisi>(value);
}

std::string boundedText(const protocol::Value& value, std::size_t maxBytes)
{
    if (value.isNull()) return {};
    const std::string& s = value.asString();
    if (s.size() > maxBytes) throw DomainError("Metin çok uzun (en çok " + std::to_string(maxBytes) + " bayt).");
    return s;
}

const char* const kStockSelect =
    "s.stokno, s.barcode, s.name, s.other_name, s.make, s.model, s.code, s.special_code1, s.special_code,"
    " s.oem1, s.oem2, s.oem3, s.oem4, s.pkod, s.dpkod, s.maker_code, s.unit, s.main_group, s.vat,"
    " s.list_price, s.campaign_price, s.is_campaign, s.is_new, s.durum,"
    " CASE WHEN EXISTS (SELECT 1 FROM stock_pictures p WHERE p.stokno = s.stokno) THEN 1 ELSE 0 END,"
    " s.remaining, s.customer_ordered, s.supplier_ordered";

std::vector<protocol::Column> stockColumns()
{
    using protocol::Column;
    using protocol::FieldType;
    auto text = [](const char* name, int size) { return Column{name, FieldType::WideString, size}; };
    auto number = [](const char* name) { return Column{name, FieldType::Float64}; };
    auto integer = [](const char* name) { return Column{name, FieldType::Int32}; };
    return {
        integer("STOK_STOKNO"), text("BARKOD", 30), integer("BARKOD_BARKODNO"), text("ADI", 100),
        text("DIGERADI", 100), text("MARKA", 50), text("MODEL", 50), text("FINISHKOD", 40),
        text("OZELKOD1", 40), text("OZELKOD", 40), text("OEM1", 40), text("OEM2", 40),
        text("OEM3", 40), text("OEM4", 40), text("OEMNO", 40), text("PKOD", 40),
        text("DPKOD", 40), text("URETICIKODU", 40), text("BIRIM", 10), text("ANAGRUP", 50),
        number("KDV"), number("FIYAT"), number("LISTEFIYAT1"), number("KAMPFIYAT"),
        number("ESKIFIYAT"), number("NETFIYAT"), number("KDVDAHIL"), text("INDIRIMYAZI", 30),
        number("INDIRIM"), number("IND1"), number("IND2"), number("IND3"),
        number("IND4"), integer("K"), integer("Y"), integer("DURUM"),
        integer("RESIM"), number("KALAN"), number("ALINANSIPARIS"), number("VERILENSIPARIS"),
    };
}

void appendStockRow(protocol::Table& table, const soci::row& row, const domain::Discounts& rates, StockList list)
{
    using namespace db;
    const double vat = real(row, 18);
    const auto price = domain::priceItem(real(row, 19), real(row, 20), integer(row, 21) != 0, vat, rates);
    const double effective =
        price.unitPrice > 0 ? domain::roundMoney(100 * (1 - price.netPrice / price.unitPrice)) : 0;
    // The stock list adds VAT to LISTEFIYAT1 itself; the new-items list shows it as it comes.
    const double listShown =
        list == StockList::NewItems ? domain::roundMoney(price.listPrice * (1 + vat / 100)) : price.listPrice;

    RowWriter w(table);
    w.integer(integer(row, 0)).text(text(row, 1)).integer(integer(row, 0)).text(text(row, 2)).text(text(row, 3));
    w.text(text(row, 4)).text(text(row, 5)).text(text(row, 6)).text(text(row, 7)).text(text(row, 8));
    w.text(text(row, 9)).text(text(row, 10)).text(text(row, 11)).text(text(row, 12)).text(text(row, 9));
    w.text(text(row, 13)).text(text(row, 14)).text(text(row, 15)).text(text(row, 16)).text(text(row, 17));
    w.real(vat).real(price.unitPrice).real(listShown).real(price.campaignPrice);
    w.real(price.listPrice).real(price.netPrice).real(price.grossPrice).text(price.discountText);
    w.real(effective).real(price.rates[0]).real(price.rates[1]).real(price.rates[2]);
    w.real(price.rates[3]).integer(price.campaign).integer(integer(row, 22) != 0 ? 1 : 0).integer(integer(row, 23));
    w.integer(integer(row, 24) != 0 ? 1 : 0).real(real(row, 25)).real(real(row, 26)).real(real(row, 27));
}

} // namespace durnak::server
