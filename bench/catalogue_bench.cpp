// The stock search as the user sees it: Enter in the search box until the rows are in the
// grid and painted (background call, packet into `stok`, VAT on LISTEFIYAT1, display
// formats, model reset, main-thread completion), against the server call alone (clone of
// the connection, connect, hello, call, decode, copy) in the same run, on one catalogue.
//
// Two answer sizes:
//   Search  real StokAraGetir searches on the catalogue (their size is the server's result
//           limit at most);
//   Packet  a 10 000-row stock answer (rows of real searches) that the server sends back
//           through its diagnostic echo, fed through the same search path.
//
// Usage: catalogue_bench --db PATH --computer-id ID [benchmark flags]
//   bench/run_catalogue.sh makes the database (1 000 000 items) and binds the workstation.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QLineEdit>

#include "app/unit1.hpp"
#include "catalogue/katalog.hpp"
#include "durnak/grid/durnakgrid.hpp"
#include "server/cagri.hpp"
#include "server_process.hpp"

namespace {

using namespace durnak::client;
using Clock = std::chrono::steady_clock;

std::string g_db;
std::string g_computerId;
std::unique_ptr<durnak::testing::ServerProcess> g_server;
TForm1* g_form = nullptr;
durnak::protocol::Table g_bigAnswer;
std::map<std::string, double> g_median;

const std::vector<QString> kSearches = {QStringLiteral("FREN DISKI"), QStringLiteral("YAG FILTRESI"),
                                        QStringLiteral("AMORTISOR"),  QStringLiteral("TRIGER SETI"),
                                        QStringLiteral("BUJI"),       QStringLiteral("RADYATOR")};

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// The echo's answer in place of StokAraGetir.
durnak::protocol::Table echoCall(TServerMethods1Client& p)
{
    const auto& values = p.TestEcho({durnak::protocol::Value(durnak::protocol::DataPacket{g_bigAnswer})});
    return values.front().asDataPacket();
}

void useEcho(bool on)
{
    if (on) StokAramaCagrisiAyarla([](TServerMethods1Client& p, const QString&, const TSonucBilgisi&) { return echoCall(p); });
    else StokAramaCagrisiAyarla({});
}

double serverCall(bool packet, const QString& kod, std::size_t& rows)
{
    const auto start = Clock::now();
    CagriB(g_form->bagc, 0, [&](TServerMethods1Client& p) {
        durnak::protocol::Table t = packet ? echoCall(p) : p.StokAraGetir(kod, Kopya(g_form->sbilgi));
        rows += t.rowCount();
        benchmark::DoNotOptimize(t);
    });
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double enterToRows(const QString& kod, std::size_t& rows)
{
    TForm1& f = *g_form;
    f.araedit->setText(kod);
    const auto start = Clock::now();
    SpeedButton2Click(f);  // what Enter does
    while (!f.araedit->isEnabled()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    f.cxGrid1->viewport()->repaint();
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    rows += static_cast<std::size_t>(f.cxGrid1->model()->rowCount());
    return ms;
}

// The two measured in turns, so that both see the same load of a shared machine; the time
// of the benchmark is the Enter path.
void BM_EnterVsCall(benchmark::State& state, bool packet)
{
    useEcho(packet);
    std::vector<double> call, enter;
    std::size_t i = 0, callRows = 0, enterRows = 0;
    for (auto _ : state) {
        const QString kod = kSearches[i++ % kSearches.size()];
        state.PauseTiming();
        call.push_back(serverCall(packet, kod, callRows));
        state.ResumeTiming();
        enter.push_back(enterToRows(kod, enterRows));
    }
    useEcho(false);
    const double c = median(call), e = median(enter);
    state.counters["rows"] = double(enterRows) / double(enter.size());
    state.counters["call_p50_ms"] = c;
    state.counters["enter_p50_ms"] = e;
    state.counters["ratio"] = c > 0 ? e / c : 0;
    g_median[std::string(packet ? "packet" : "search") + "/call"] = c;
    g_median[std::string(packet ? "packet" : "search") + "/enter"] = e;
    if (callRows != enterRows) state.SkipWithError("the two paths saw different answers");
}

} // namespace

namespace {

// Rows of real searches, up to 10 000, as one answer.
void buildBigAnswer()
{
    CagriB(g_form->bagc, 0, [&](TServerMethods1Client& p) {
        const std::vector<QString> words = {"FREN", "YAG", "FILTRE", "AMORTISOR", "TRIGER", "BUJI", "RADYATOR",
                                            "FAR", "SALINCAK", "DISK", "BALATA", "POMPA", "KAYIS", "RULMAN",
                                            "CONTA", "SENSOR", "ROT", "KAMPANA", "MARS", "DINAMO", "SILECEK",
                                            "AYNA", "TAMPON", "CAM", "HORTUM", "KOMPRESOR", "TERMOSTAT"};
        for (int tur = 0; tur < 40 && g_bigAnswer.rowCount() < 10000; ++tur) {
            for (const QString& w : words) {
                const QString kod = tur == 0 ? w : w + QLatin1Char(' ') + QString::number(tur);
                const auto& t = p.StokAraGetir(kod, Kopya(g_form->sbilgi));
                if (g_bigAnswer.columnCount() == 0) g_bigAnswer = durnak::protocol::Table(t.columns());
                for (std::size_t r = 0; r < t.rowCount() && g_bigAnswer.rowCount() < 10000; ++r) {
                    const std::size_t n = g_bigAnswer.appendRow();
                    for (std::size_t c = 0; c < t.columnCount(); ++c) g_bigAnswer.setCell(n, c, t.cell(r, c));
                }
                if (g_bigAnswer.rowCount() >= 10000) break;
            }
        }
    });
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<char*> rest;
    for (int i = 0; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--db" && i + 1 < argc) g_db = argv[++i];
        else if (a == "--computer-id" && i + 1 < argc) g_computerId = argv[++i];
        else rest.push_back(argv[i]);
    }
    if (g_db.empty() || g_computerId.empty()) {
        std::fprintf(stderr, "usage: catalogue_bench --db PATH --computer-id ID [benchmark flags]\n");
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    int restCount = static_cast<int>(rest.size());
    benchmark::Initialize(&restCount, rest.data());

    durnak::testing::ServerOptions options;
    options.dbPath = g_db;
    options.testMethods = true;  // the echo of the 10 000-row answer
    g_server = std::make_unique<durnak::testing::ServerProcess>(options);

    TForm1Kancalari hooks;
    hooks.bildirimKanali = false;
    TForm1 form(hooks);
    g_form = &form;
    KatalogBagla(form);
    form.bagc.Params().SetValues(QStringLiteral("HostName"), QStringLiteral("127.0.0.1"));
    form.bagc.Params().SetValues(QStringLiteral("Port"), QString::number(g_server->port()));
    form.bagc.SetComputerId(QString::fromStdString(g_computerId));
    form.bagc.SetCredentials(QStringLiteral("DEMO"), QStringLiteral("DEMO"));
    form.sbilgi = CagriC(form.bagc, [&](TServerMethods1Client& p) {
        const TSonucBilgisi* r = p.BuyukGetir(QString::fromStdString(g_computerId));
        if (!r || !r->FVarmi) {
            std::fprintf(stderr, "workstation %s is not bound to a user\n", g_computerId.c_str());
            std::exit(1);
        }
        return *r;
    });
    form.resize(1300, 800);
    form.show();
    QCoreApplication::processEvents();
    buildBigAnswer();
    std::fprintf(stderr, "10 000-row answer: %zu rows\n", g_bigAnswer.rowCount());

    for (bool packet : {false, true}) {
        const std::string kind = packet ? "Packet10000" : "Search";
        benchmark::RegisterBenchmark(("EnterVsCall/" + kind).c_str(), BM_EnterVsCall, packet)
            ->Unit(benchmark::kMillisecond)->Iterations(packet ? 40 : 150)->UseRealTime();
    }
    benchmark::RunSpecifiedBenchmarks();

    std::printf("\n%-12s %14s %14s %8s\n", "answer", "call p50", "Enter p50", "ratio");
    for (const char* kind : {"search", "packet"}) {
        const double call = g_median[std::string(kind) + "/call"], enter = g_median[std::string(kind) + "/enter"];
        std::printf("%-12s %11.2f ms %11.2f ms %7.2fx\n", kind, call, enter, call > 0 ? enter / call : 0.0);
    }
    g_form = nullptr;
    return 0;
}
