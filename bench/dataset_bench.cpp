// Client dataset memory per row for the 100 000-row, 40-column stock table, against the
// row's payload (8 bytes per number, 1 per flag, the bytes of each text), and the time of
// loading it from a table reader and from a data packet.
#include <benchmark/benchmark.h>

#include "durnak/data/clientdataset.hpp"
#include "durnak/data/datasethelpers.hpp"
#include "stock_table.hpp"

using namespace durnak;

namespace {

constexpr std::size_t kRows = 100000;

const protocol::Table& stockTable()
{
    static const protocol::Table table = bench::makeStockTable(kRows);
    return table;
}

double payloadBytes(const protocol::Table& t)
{
    double bytes = 0;
    for (std::size_t c = 0; c < t.columnCount(); ++c) {
        const auto storage = protocol::storageOf(t.columns()[c].type);
        for (std::size_t r = 0; r < t.rowCount(); ++r) {
            if (t.isNull(r, c)) continue;
            switch (storage) {
            case protocol::Storage::Integer:
            case protocol::Storage::Real: bytes += 8; break;
            case protocol::Storage::Flag: bytes += 1; break;
            case protocol::Storage::Text: bytes += static_cast<double>(t.textAt(r, c).size()); break;
            }
        }
    }
    return bytes;
}

void report(benchmark::State& state, const data::TClientDataSet& ds)
{
    const double payload = payloadBytes(stockTable());
    state.counters["bytes_per_row"] = static_cast<double>(ds.memoryBytes()) / kRows;
    state.counters["payload_per_row"] = payload / kRows;
    state.counters["ratio_to_payload"] = static_cast<double>(ds.memoryBytes()) / payload;
}

void BM_TabloyaKopyala(benchmark::State& state)
{
    data::TClientDataSet ds;
    for (auto _ : state) data::TabloyaKopyala(stockTable(), ds);
    report(state, ds);
}

void BM_AssignPacket(benchmark::State& state)
{
    data::TClientDataSet ds;
    for (auto _ : state) data::AssignPacket(stockTable(), ds);
    report(state, ds);
}

} // namespace

BENCHMARK(BM_TabloyaKopyala)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AssignPacket)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
