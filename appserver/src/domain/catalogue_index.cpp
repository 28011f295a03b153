#include "domain/catalogue_index.hpp"

#include <set>

#include <soci/soci.h>

#include "domain/search_text.hpp"

namespace durnak::server::domain {

struct StockIndexer::Statements {
    long long stokno = 0;
    std::string key, codes, words;
    soci::statement deleteCodes, deleteSearch, insertCode, insertSearch;

    explicit Statements(soci::session& sql)
        : deleteCodes((sql.prepare << "DELETE FROM stock_codes WHERE stokno = :n", soci::use(stokno))),
          deleteSearch((sql.prepare << "DELETE FROM stock_search WHERE rowid = :n", soci::use(stokno))),
          insertCode((sql.prepare << "INSERT INTO stock_codes (key, stokno) VALUES (:k, :n) ON CONFLICT DO NOTHING", soci::use(key),
                      soci::use(stokno))),
          insertSearch((sql.prepare << "INSERT INTO stock_search (rowid, codes, words) VALUES (:n, :c, :w)",
                        soci::use(stokno), soci::use(codes), soci::use(words)))
    {
    }
};

StockIndexer::StockIndexer(soci::session& sql) : sql_(sql), st_(std::make_unique<Statements>(sql)) {}
StockIndexer::~StockIndexer() = default;

void StockIndexer::index(long long stokno, const StockSearchFields& item)
{
    auto& s = *st_;
    s.stokno = stokno;
    s.deleteCodes.execute(true);
    s.deleteSearch.execute(true);

    std::set<std::string> keys;
    for (const auto* c : {&item.code, &item.oem1, &item.oem2, &item.oem3, &item.oem4, &item.pkod, &item.makerCode,
                          &item.barcode}) {
        auto key = codeKey(*c);
        if (!key.empty()) keys.insert(std::move(key));
    }
    s.codes.clear();
    for (const auto& key : keys) {
        s.key = key;
        s.insertCode.execute(true);
        if (!s.codes.empty()) s.codes += ' ';
        s.codes += key;
    }
    // Words keep blanks around them, so a short word can be matched as a word start.
    s.words = " " + foldText(item.name) + " " + foldText(item.otherName) + " " + foldText(item.make) + " " +
              foldText(item.model) + " " + foldText(item.group) + " ";
    s.insertSearch.execute(true);
}

void StockIndexer::reindex(long long stokno)
{
    StockSearchFields f;
    sql_ << "SELECT code, name, other_name, oem1, oem2, oem3, oem4, pkod, maker_code, barcode, make, model,"
            " main_group FROM stock WHERE stokno = :n",
        soci::into(f.code), soci::into(f.name), soci::into(f.otherName), soci::into(f.oem1), soci::into(f.oem2),
        soci::into(f.oem3), soci::into(f.oem4), soci::into(f.pkod), soci::into(f.makerCode), soci::into(f.barcode),
        soci::into(f.make), soci::into(f.model), soci::into(f.group), soci::use(stokno);
    if (sql_.got_data()) {
        index(stokno, f);
    } else {
        st_->stokno = stokno;
        st_->deleteCodes.execute(true);
        st_->deleteSearch.execute(true);
    }
}

} // namespace durnak::server::domain
