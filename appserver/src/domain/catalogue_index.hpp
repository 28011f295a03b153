#pragma once

#include <memory>
#include <string>

namespace soci {
class session;
}

namespace durnak::server::domain {

// The text of one item that searches look at.
struct StockSearchFields {
    std::string code, name, otherName, oem1, oem2, oem3, oem4, pkod, makerCode, barcode, make, model, group;
};

// Writes the search entries (stock_codes, stock_search) of items, with its statements
// prepared once, so bulk loads stay fast. Use inside the transaction that wrote the rows.
class StockIndexer {
public:
    explicit StockIndexer(soci::session& sql);
    ~StockIndexer();
    void index(long long stokno, const StockSearchFields& item);
    // Reads the item's stock row and indexes it; an item that no longer exists loses its entries.
    void reindex(long long stokno);

private:
    struct Statements;
    soci::session& sql_;
    std::unique_ptr<Statements> st_;
};

} // namespace durnak::server::domain
