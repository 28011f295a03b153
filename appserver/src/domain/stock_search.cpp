#include "domain/stock_search.hpp"

#include <string>
#include <unordered_set>

#include <soci/soci.h>

#include "domain/search_text.hpp"

namespace durnak::server::domain {
namespace {

class Collector {
public:
    Collector(std::vector<long long>& out, std::size_t cap) : out_(out), cap_(cap) {}
    bool full() const { return out_.size() >= cap_; }
    std::size_t room() const { return cap_ - out_.size(); }
    void add(long long id)
    {
        if (!full() && seen_.insert(id).second) out_.push_back(id);
    }

private:
    std::vector<long long>& out_;
    std::size_t cap_;
    std::unordered_set<long long> seen_;
};

// Runs a query answering stock numbers with the given text parameters bound in order.
void collect(soci::session& sql, const std::string& query, std::vector<std::string> params, Collector& into)
{
    long long id = 0;
    int limit = static_cast<int>(into.room());
    soci::statement st(sql);
    st.exchange(soci::into(id));
    for (auto& p : params) st.exchange(soci::use(p));
    st.exchange(soci::use(limit));
    st.alloc();
    st.prepare(query + " LIMIT :limit");
    st.define_and_bind();
    st.execute(false);
    while (st.fetch()) into.add(id);
}

} // namespace

std::vector<long long> findStock(soci::session& sql, std::string_view text, std::size_t cap)
{
    std::vector<long long> found;
    const std::string key = codeKey(text);
    if (key.empty() || cap == 0) return found;
    Collector result(found, cap);

    collect(sql, "SELECT stokno FROM stock_codes WHERE key = :k ORDER BY stokno", {key}, result);
    // A whole code or barcode that names items is what was meant: fragments of it inside
    // other codes and names would only bury them (and a barcode's digits are in every one).
    const bool exactHit = !found.empty() && key.size() >= kWholeCodeLength;
    if (!result.full() && key.size() >= 2)
        collect(sql, "SELECT stokno FROM stock_codes WHERE key > :k AND key < :hi ORDER BY key, stokno",
                {key, key + "~"}, result);
    if (exactHit) return found;
    if (!result.full() && key.size() >= 3)
        collect(sql, "SELECT rowid FROM stock_search WHERE stock_search MATCH :q ORDER BY rowid",
                {ftsPhrase("codes", key)}, result);

    if (!result.full()) {
        // Trigrams need three letters; shorter words narrow the matches as word starts.
        std::string match;
        std::vector<std::string> shortWords;
        for (const auto& w : searchWords(text)) {
            if (w.size() >= 3) {
                if (!match.empty()) match += " AND ";
                match += ftsPhrase("words", w);
            } else {
                shortWords.push_back(" " + w);
            }
        }
        if (!match.empty()) {
            std::string query = "SELECT rowid FROM stock_search WHERE stock_search MATCH :q";
            std::vector<std::string> params{match};
            for (std::size_t i = 0; i < shortWords.size(); ++i) {
                query += " AND instr(words, :s" + std::to_string(i) + ") > 0";
                params.push_back(shortWords[i]);
            }
            collect(sql, query + " ORDER BY rowid", std::move(params), result);
        }
    }
    return found;
}

} // namespace durnak::server::domain
