#pragma once

// Helpers shared by the dealer's business methods: reading rows whatever type SQLite gave
// them, building answer tables, write transactions, and the customer behind a call.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <soci/soci.h>

#include "domain/pricing.hpp"
#include "durnak/protocol/records.hpp"
#include "durnak/protocol/table.hpp"
#include "durnak/protocol/value.hpp"

namespace durnak::server {

class MethodRegistry;

// The methods of the dealer's business, by area.
void registerCatalogueMethods(MethodRegistry& registry);
void registerBasketMethods(MethodRegistry& registry);
void registerAccountMethods(MethodRegistry& registry);
void registerHistoryMethods(MethodRegistry& registry);
void registerConsoleMethods(MethodRegistry& registry);
void registerPromotionMethods(MethodRegistry& registry);

// A user-facing failure: the text reaches the client's error dialog as it is.
struct DomainError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

namespace db {

std::int64_t integer(const soci::row& row, std::size_t i);  // 0 for null
double real(const soci::row& row, std::size_t i);           // 0 for null
std::string text(const soci::row& row, std::size_t i);      // empty for null

// BEGIN IMMEDIATE, so a writer queues for the lock up front instead of failing half-way
// when it upgrades a read transaction; rolled back unless committed.
class WriteTransaction {
public:
    explicit WriteTransaction(soci::session& sql);
    ~WriteTransaction();
    void commit();

    WriteTransaction(const WriteTransaction&) = delete;
    WriteTransaction& operator=(const WriteTransaction&) = delete;

private:
    soci::session& sql_;
    bool open_ = true;
};

// The four discount rates stored in consecutive columns from `first`.
domain::Discounts discounts(const soci::row& row, std::size_t first);

// The time of day ("hh:mm:ss") of a stored timestamp; empty when it holds none.
std::string timeOfDay(const std::string& stored);

} // namespace db

// Answer columns: wide text of a size, 8-byte float, 32-bit integer.
inline protocol::Column textColumn(const char* name, int size)
{
    return {name, protocol::FieldType::WideString, size};
}
inline protocol::Column realColumn(const char* name) { return {name, protocol::FieldType::Float64}; }
inline protocol::Column intColumn(const char* name) { return {name, protocol::FieldType::Int32}; }

// Appends cells left to right to the row just appended.
class RowWriter {
public:
    RowWriter(protocol::Table& table) : table_(table), row_(table.appendRow()) {}
    RowWriter& integer(std::int64_t v) { table_.setInt(row_, col_++, v); return *this; }
    RowWriter& real(double v) { table_.setReal(row_, col_++, v); return *this; }
    RowWriter& text(std::string_view v) { table_.setText(row_, col_++, v); return *this; }
    RowWriter& flag(bool v) { table_.setFlag(row_, col_++, v); return *this; }
    RowWriter& null() { table_.setNull(row_, col_++); return *this; }

private:
    protocol::Table& table_;
    std::size_t row_;
    std::size_t col_ = 0;
};

// An answer table of `columns` with one row per result row; `fill(writer, row)` writes the
// row's cells left to right. The query goes in as prepared, with its values bound:
//   tableOf(columns, (sql.prepare << "SELECT ...", soci::use(carino)), fill)
template <class Fill>
protocol::Table tableOf(std::vector<protocol::Column> columns, soci::rowset<soci::row> rows, Fill&& fill)
{
    protocol::Table table(std::move(columns));
    for (const auto& row : rows) {
        RowWriter writer(table);
        fill(writer, row);
    }
    return table;
}

// Hands the first result row, if there is one, to `read`; true when there was one.
template <class Read>
bool readFirst(soci::rowset<soci::row> rows, Read&& read)
{
    for (const auto& row : rows) {
        read(row);
        return true;
    }
    return false;
}

// The money totals of a document (order or invoice) from its lines, each rounded to cents
// as the lines add up; the total is net plus VAT.
struct DocumentTotals {
    double gross = 0, discount = 0, net = 0, vat = 0;

    void add(double lineGross, double lineDiscount, double lineNet, double lineVat);
    void add(const domain::LineAmounts& line) { add(line.gross, line.discount, line.net, line.vat); }
    double total() const;
    // Writes the totals onto row `id` of `table` ("orders" or "invoices").
    void store(soci::session& sql, const char* table, long long id) const;
};

// A customer's pricing terms; throws DomainError for an unknown or inactive customer.
struct CustomerTerms {
    std::int32_t carino = 0;
    std::string code;
    std::string name;
    domain::Discounts rates{};
    int paymentDays = 0;
};
CustomerTerms customerTerms(soci::session& sql, std::int32_t carino);
bool customerExists(soci::session& sql, std::int32_t carino);

// The session record of a call parameter (a null gives the defaults).
protocol::TSonucBilgisi sessionRecord(const protocol::Value& value);

// Text parameters are capped so that a huge string cannot fill the database.
std::string boundedText(const protocol::Value& value, std::size_t maxBytes);

// The columns of a stock list (search, new items, campaign items) and one row of it.
std::vector<protocol::Column> stockColumns();
enum class StockList { Search, NewItems, Campaign };
// The SELECT list that stockRow reads, over stock s.
extern const char* const kStockSelect;
void appendStockRow(protocol::Table& table, const soci::row& row, const domain::Discounts& rates, StockList list);

} // namespace durnak::server
