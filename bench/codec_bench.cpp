// Encode and decode of a 100 000-row, 40-column stock table against a bare Boost.JSON
// parse of the same envelope bytes (the baseline). Run with bench/run_codec.sh for ratios.
#include <benchmark/benchmark.h>

#include <boost/json.hpp>

#include "durnak/protocol/envelope.hpp"
#include "durnak/protocol/frame.hpp"
#include "stock_table.hpp"

using namespace durnak;

namespace {

constexpr std::size_t kRows = 100000;

const protocol::Table& stockTable()
{
    static const protocol::Table table = bench::makeStockTable(kRows);
    return table;
}

const std::string& encoded()
{
    static const std::string bytes = protocol::encodeResult({protocol::DataPacket{stockTable()}});
    return bytes;
}

void BM_BareJsonParse(benchmark::State& state)
{
    const std::string_view envelope = std::string_view(encoded()).substr(protocol::kFrameHeaderSize);
    for (auto _ : state) {
        auto v = boost::json::parse(envelope);
        benchmark::DoNotOptimize(v);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * envelope.size()));
}

void BM_Encode(benchmark::State& state)
{
    const std::vector<protocol::Value> values{protocol::DataPacket{stockTable()}};
    for (auto _ : state) {
        auto bytes = protocol::encodeResult(values);
        benchmark::DoNotOptimize(bytes);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * encoded().size()));
}

void BM_Decode(benchmark::State& state)
{
    for (auto _ : state) {
        protocol::MessageReader reader;
        reader.feed(encoded());
        auto values = protocol::decodeResult(std::move(*reader.next()));
        benchmark::DoNotOptimize(values);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * encoded().size()));
}

} // namespace

BENCHMARK(BM_BareJsonParse)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_Encode)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_Decode)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_MAIN();
