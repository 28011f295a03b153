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

// PostgreSQL keeps the search text in a plain table with trigram indexes: a substring
// match is LIKE '%text%' there (FTS5 phrases in SQLite).
bool onPostgres(soci::session& sql)
{
    return sql.get_backend_name() == "postgresql";
}

std::string likeAnywhere(std::string_view text)
{
    std::string out = "%";
    for (char c : text) {
        if (c == '%' || c == '_' || c == '\\') out += '\\';
        out += c;
    }
    return out + "%";
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
    const bool postgres = onPostgres(sql);
    if (!result.full() && key.size() >= 3) {
        if (postgres)
            collect(sql, "SELECT rowid FROM stock_search WHERE codes LIKE :q ORDER BY rowid", {likeAnywhere(key)},
                    result);
        else
            collect(sql, "SELECT rowid FROM stock_search WHERE stock_search MATCH :q ORDER BY rowid",
                    {ftsPhrase("codes", key)}, result);
    }

    if (!result.full()) {
        // Trigrams need three letters; shorter words narrow the matches as word starts.
        std::string match;
        std::vector<std::string> longWords, shortWords;
        for (const auto& w : searchWords(text)) {
            if (w.size() >= 3) {
                if (!match.empty()) match += " AND ";
                match += ftsPhrase("words", w);
                longWords.push_back(w);
            } else {
                shortWords.push_back(" " + w);
            }
        }
        if (!match.empty()) {
            std::string query = "SELECT rowid FROM stock_search WHERE ";
            std::vector<std::string> params;
            if (postgres) {
                for (std::size_t i = 0; i < longWords.size(); ++i) {
                    query += (i ? " AND words LIKE :w" : "words LIKE :w") + std::to_string(i);
                    params.push_back(likeAnywhere(longWords[i]));
                }
            } else {
                query += "stock_search MATCH :q";
                params.push_back(match);
            }
            for (std::size_t i = 0; i < shortWords.size(); ++i) {
                query += std::string(postgres ? " AND strpos(words, :s" : " AND instr(words, :s") + std::to_string(i) +
                         ") > 0";
                params.push_back(shortWords[i]);
            }
            collect(sql, query + " ORDER BY rowid", std::move(params), result);
        }
    }
    return found;
}

} // namespace durnak::server::domain
