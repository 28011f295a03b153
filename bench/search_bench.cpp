// StokAraGetir end to end (connect, hello, call, decode, through the real server) against
// the bare SQL of the same search run straight on SQLite, on one catalogue, in one run.
// Per-call p50 and p99 are reported as counters; the summary prints the ratios.
//
// Usage: search_bench --db PATH [benchmark flags]
//   The database comes from `durnak-admin --db PATH init && durnak-admin --db PATH seed
//   --items 1000000 --no-pictures` (bench/run_search.sh does all of it).

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "domain/search_text.hpp"
#include "domain/stock_search.hpp"
#include "durnak/protocol/marshal.hpp"
#include "durnak/protocol/records.hpp"
#include "server_process.hpp"
#include "test_client.hpp"

namespace {

using Clock = std::chrono::steady_clock;

std::string g_db;
std::unique_ptr<durnak::testing::ServerProcess> g_server;
std::map<std::string, std::vector<std::string>> g_queries;  // kind -> texts
std::map<std::string, double> g_p50;

sqlite3* openDb()
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(g_db.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "cannot open %s\n", g_db.c_str());
        std::exit(1);
    }
    return db;
}

std::string textOf(sqlite3* db, const std::string& sql)
{
    sqlite3_stmt* st = nullptr;
    std::string out;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
        out = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
    sqlite3_finalize(st);
    return out;
}

// Typical searches, taken from the catalogue itself so every one has answers.
void pickQueries()
{
    sqlite3* db = openDb();
    for (int i = 0; i < 8; ++i) {
        const std::string n = std::to_string(1 + (i * 123457) % 900000);
        const std::string code = textOf(db, "SELECT code FROM stock WHERE stokno = " + n);
        g_queries["code_prefix"].push_back(code.substr(0, code.size() - 2));  // "FB-0001" of "FB-000123"
        const std::string oem = textOf(db, "SELECT oem1 FROM stock WHERE stokno = " + n);
        g_queries["oem_fragment"].push_back(oem.substr(2, 7));                // "0 615 3" of "1K0 615 301 A"
        g_queries["barcode"].push_back(textOf(db, "SELECT barcode FROM stock WHERE stokno = " + n));
    }
    g_queries["name_words"] = {"fren diski", "yag filtresi", "amortisor on", "triger seti", "buji ateşleme",
                               "salıncak sol", "radyator", "far ampulu"};
    sqlite3_close(db);
}

void report(benchmark::State& state, std::vector<double>& ms, const std::string& name)
{
    std::sort(ms.begin(), ms.end());
    const double p50 = ms[ms.size() / 2], p99 = ms[std::min(ms.size() - 1, ms.size() * 99 / 100)];
    state.counters["p50_ms"] = p50;
    state.counters["p99_ms"] = p99;
    g_p50[name] = p50;
}

void BM_EndToEnd(benchmark::State& state, const std::string& kind)
{
    const auto& texts = g_queries[kind];
    durnak::protocol::TSonucBilgisi record;
    record.FCARINO = 1001;  // a customer with 10+5: prices are computed, not just read
    const auto session = durnak::protocol::toValue(record);
    std::vector<double> ms;
    std::size_t i = 0, rows = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        durnak::testing::TestClient client(g_server->port());
        client.hello();
        auto values = client.call("TServerMethods1.StokAraGetir",
                                  {durnak::protocol::Value(texts[i++ % texts.size()]), session});
        rows += values.back().asDataPacket().rowCount();
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    state.counters["rows"] = static_cast<double>(rows) / static_cast<double>(ms.size());
    report(state, ms, "e2e/" + kind);
}

// The same statements the server runs, straight on SQLite: the search queries in their
// order, then the rows of the found items.
std::size_t bareSearch(sqlite3* db, const std::string& text)
{
    using namespace durnak::server::domain;
    std::vector<long long> ids;
    auto run = [&](const std::string& sql, const std::vector<std::string>& params) {
        if (ids.size() >= kSearchCap) return;
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, (sql + " LIMIT ?").c_str(), -1, &st, nullptr);
        int p = 1;
        for (const auto& v : params) sqlite3_bind_text(st, p++, v.c_str(), static_cast<int>(v.size()), SQLITE_STATIC);
        sqlite3_bind_int(st, p, static_cast<int>(kSearchCap - ids.size()));
        while (sqlite3_step(st) == SQLITE_ROW) {
            const long long id = sqlite3_column_int64(st, 0);
            if (std::find(ids.begin(), ids.end(), id) == ids.end()) ids.push_back(id);
        }
        sqlite3_finalize(st);
    };
    std::string key = codeKey(text);
    if (key.empty()) return 0;
    run("SELECT stokno FROM stock_codes WHERE key = ? ORDER BY stokno", {key});
    const bool exactHit = !ids.empty() && key.size() >= kWholeCodeLength;
    if (key.size() >= 2) run("SELECT stokno FROM stock_codes WHERE key > ? AND key < ? ORDER BY key, stokno", {key, key + "~"});
    if (exactHit) key.clear();
    if (!key.empty() && key.size() >= 3) run("SELECT rowid FROM stock_search WHERE stock_search MATCH ? ORDER BY rowid", {ftsPhrase("codes", key)});
    std::string match;
    for (const auto& w : key.empty() ? std::vector<std::string>{} : searchWords(text))
        if (w.size() >= 3) match += (match.empty() ? "" : " AND ") + ftsPhrase("words", w);
    if (!match.empty()) run("SELECT rowid FROM stock_search WHERE stock_search MATCH ? ORDER BY rowid", {match});

    std::string list = "[";
    for (auto id : ids) list += (list.size() > 1 ? "," : "") + std::to_string(id);
    list += "]";
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT s.*, EXISTS (SELECT 1 FROM stock_pictures p WHERE p.stokno = s.stokno)"
                       " FROM json_each(?) j JOIN stock s ON s.stokno = j.value WHERE s.active = 1 ORDER BY j.key",
                       -1, &st, nullptr);
    sqlite3_bind_text(st, 1, list.c_str(), static_cast<int>(list.size()), SQLITE_STATIC);
    std::size_t rows = 0, bytes = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
        ++rows;
        for (int c = 0; c < sqlite3_column_count(st); ++c) bytes += static_cast<std::size_t>(sqlite3_column_bytes(st, c));
    }
    sqlite3_finalize(st);
    benchmark::DoNotOptimize(bytes);
    return rows;
}

void BM_BareSql(benchmark::State& state, const std::string& kind)
{
    const auto& texts = g_queries[kind];
    sqlite3* db = openDb();
    std::vector<double> ms;
    std::size_t i = 0, rows = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        rows += bareSearch(db, texts[i++ % texts.size()]);
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    sqlite3_close(db);
    state.counters["rows"] = static_cast<double>(rows) / static_cast<double>(ms.size());
    report(state, ms, "bare/" + kind);
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<char*> rest;
    for (int i = 0; i < argc; ++i) {
        if (std::string(argv[i]) == "--db" && i + 1 < argc) g_db = argv[++i];
        else rest.push_back(argv[i]);
    }
    if (g_db.empty()) {
        std::fprintf(stderr, "usage: search_bench --db PATH [benchmark flags]\n");
        return 2;
    }
    int restCount = static_cast<int>(rest.size());
    benchmark::Initialize(&restCount, rest.data());
    pickQueries();
    durnak::testing::ServerOptions options;
    options.dbPath = g_db;
    options.testMethods = false;
    g_server = std::make_unique<durnak::testing::ServerProcess>(options);

    for (const char* kind : {"code_prefix", "oem_fragment", "barcode", "name_words"}) {
        benchmark::RegisterBenchmark((std::string("BareSql/") + kind).c_str(), BM_BareSql, std::string(kind))
            ->Unit(benchmark::kMillisecond)->Iterations(200);
        benchmark::RegisterBenchmark((std::string("EndToEnd/") + kind).c_str(), BM_EndToEnd, std::string(kind))
            ->Unit(benchmark::kMillisecond)->Iterations(200);
    }
    benchmark::RunSpecifiedBenchmarks();
    std::printf("\n%-14s %10s %10s %8s\n", "query", "bare p50", "e2e p50", "ratio");
    for (const char* kind : {"code_prefix", "oem_fragment", "barcode", "name_words"}) {
        const double bare = g_p50["bare/" + std::string(kind)], e2e = g_p50["e2e/" + std::string(kind)];
        std::printf("%-14s %8.2f ms %8.2f ms %7.2fx\n", kind, bare, e2e, bare > 0 ? e2e / bare : 0.0);
    }
    g_server.reset();
    benchmark::Shutdown();
    return 0;
}
