// The client-side passes over a long account statement and a long order: the running
// balance with its marker (one edit and post per row) and the order totals (rounded after
// every addition), each against a baseline in the same run that only walks the same rows
// and reads the same two amounts.
#include <benchmark/benchmark.h>

#include "durnak/data/clientdataset.hpp"
#include "history/hesap.hpp"

using namespace durnak;
using protocol::FieldType;

namespace {

void fill(data::TClientDataSet& ds, const char* a, const char* b, int rows, bool statementColumns)
{
    ds.ClearFieldDefs();
    ds.AddFieldDef(QString::fromLatin1(a), FieldType::Float64);
    ds.AddFieldDef(QString::fromLatin1(b), FieldType::Float64);
    if (statementColumns) {
        ds.AddFieldDef(QStringLiteral("BAKIYE"), FieldType::Float64);
        ds.AddFieldDef(QStringLiteral("D"), FieldType::WideString, 2);
    }
    ds.CreateDataSet();
    for (int i = 0; i < rows; ++i) {
        ds.Append();
        ds.Fields(0).SetAsFloat(i % 3 == 0 ? 0 : 125.37 + i % 97);
        ds.Fields(1).SetAsFloat(i % 3 == 0 ? 310.11 : 0);
        ds.Post();
    }
}

double walk(data::TClientDataSet& ds)
{
    data::DisableControlsScope off(ds);
    const data::TField x = ds.Fields(0), y = ds.Fields(1);
    double sum = 0;
    for (ds.First(); !ds.Eof(); ds.Next()) sum += x.AsFloat() - y.AsFloat();
    return sum;
}

void BM_Baseline_Walk(benchmark::State& state)
{
    data::TClientDataSet ds;
    fill(ds, "BORC", "ALACAK", static_cast<int>(state.range(0)), true);
    for (auto _ : state) benchmark::DoNotOptimize(walk(ds));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_Statement_RunningBalance(benchmark::State& state)
{
    data::TClientDataSet ds;
    fill(ds, "BORC", "ALACAK", static_cast<int>(state.range(0)), true);
    for (auto _ : state) client::gecmis::EkstreBakiyeHesapla(ds);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_Order_Totals(benchmark::State& state)
{
    data::TClientDataSet ds;
    fill(ds, "TUTAR", "INDIRIMTUTAR", static_cast<int>(state.range(0)), false);
    for (auto _ : state) benchmark::DoNotOptimize(client::gecmis::SepetHesapla(ds));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

} // namespace

BENCHMARK(BM_Baseline_Walk)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Statement_RunningBalance)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Order_Totals)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
