// The grid kit over a 1 000 000-row stock dataset: attach and first paint, scrolling one
// page, and the heap the grid adds beyond the dataset. The baseline in the same run is a
// plain QTableView over the dataset model of client/data. Run with bench/run_grid.sh for
// the ratios.
#include <malloc.h>

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QScrollBar>
#include <QTableView>

#include "durnak/data/clientdataset.hpp"
#include "durnak/data/datasethelpers.hpp"
#include "durnak/data/datasetmodel.hpp"
#include "durnak/grid/durnakgrid.hpp"

using namespace durnak;

namespace {

constexpr std::size_t kRows = 1000000;
const QSize kWindow(1366, 700);

data::TClientDataSet& stock()
{
    static data::TClientDataSet* dataSet = [] {
        using protocol::FieldType;
        protocol::Table table({{"STOK_STOKNO", FieldType::Int32},
                               {"DURUM", FieldType::Int32},
                               {"FINISHKOD", FieldType::WideString, 30},
                               {"ADI", FieldType::WideString, 100},
                               {"MARKA", FieldType::WideString, 30},
                               {"LISTEFIYAT1", FieldType::Float64},
                               {"NETFIYAT", FieldType::Float64},
                               {"KDVDAHIL", FieldType::Float64},
                               {"Y", FieldType::Int32},
                               {"K", FieldType::Int32},
                               {"RESIM", FieldType::Int32}});
        table.reserve(kRows);
        const char* brands[] = {"BOSCH", "CASTROL", "OSRAM", "VALEO", "MANN"};
        for (std::size_t r = 0; r < kRows; ++r) {
            table.appendRow();
            table.putInt(0, static_cast<std::int64_t>(r));
            table.putInt(1, static_cast<std::int64_t>(r % 6));
            table.putText(2, "K-" + std::to_string(r * 7));
            table.putText(3, "FREN BALATASI ÖN " + std::to_string(r % 977));
            table.putText(4, brands[r % 5]);
            table.putReal(5, static_cast<double>(r % 100000) / 100.0);
            table.putReal(6, static_cast<double>(r % 90000) / 100.0);
            table.putReal(7, static_cast<double>(r % 110000) / 100.0);
            table.putInt(8, static_cast<std::int64_t>(r % 2));
            table.putInt(9, static_cast<std::int64_t>(r % 3 == 0));
            table.putInt(10, static_cast<std::int64_t>(r % 4 == 0));
        }
        auto* ds = new data::TClientDataSet;
        data::AssignPacket(std::move(table), *ds);
        data::FloatFormatla(*ds);
        return ds;
    }();
    return *dataSet;
}

grid::GridColumns stockColumns()
{
    using namespace grid;
    return {kindColumn("DURUM", "Durum", "DURUM", 1, CellKind::Durum),
            textColumn("FINISHKOD", "Kod", "FINISHKOD", 2, Visibility::Shown, true),
            textColumn("ADI", "Açıklama", "ADI", 3, Visibility::Shown, true),
            kindColumn("RESIM", "Resim", "RESIM", 1, CellKind::PictureMarker),
            textColumn("MARKA", "Marka", "MARKA", 2, Visibility::Shown, true),
            textColumn("LISTEFIYAT1", "Liste Fiyatı", "LISTEFIYAT1", 2),
            textColumn("NETFIYAT", "Net Fiyatı", "NETFIYAT", 2),
            textColumn("KDVDAHIL", "KDV Dahil Fiyat", "KDVDAHIL", 3),
            kindColumn("Y", "Yeni", "Y", 1, CellKind::Flag),
            kindColumn("K", "Kampanyalı", "K", 1, CellKind::Flag),
            textColumn("STOK_STOKNO", "", "STOK_STOKNO", 1, Visibility::Never)};
}

std::unique_ptr<grid::DurnakGrid> makeGrid()
{
    auto view = std::make_unique<grid::DurnakGrid>();
    view->setColumns(stockColumns());
    view->setFooterSummaries({{"FINISHKOD", grid::SummaryKind::Count, ""}, {"NETFIYAT", grid::SummaryKind::Sum, ""}});
    view->setDataRowHeight(80);
    view->setHeaderHeight(40);
    view->setIndicatorWidth(5);
    view->resize(kWindow);
    view->show();
    view->KolonGenislikleri();
    return view;
}

struct Baseline {
    data::DataSetModel model;
    QTableView view;
    Baseline()
    {
        view.setModel(&model);
        view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        view.verticalHeader()->setDefaultSectionSize(80);
        view.resize(kWindow);
        view.show();
    }
};

void render(QWidget& widget, QImage& image)
{
    widget.render(&image);
    benchmark::DoNotOptimize(image.constBits());
}

void BM_Baseline_AttachAndFirstPaint(benchmark::State& state)
{
    auto& ds = stock();
    Baseline base;
    QImage image(kWindow, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        base.model.setDataSet(nullptr);
        base.model.setDataSet(&ds);
        render(base.view, image);
    }
}

void BM_Grid_AttachAndFirstPaint(benchmark::State& state)
{
    auto& ds = stock();
    auto view = makeGrid();
    QImage image(kWindow, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        view->detach();
        view->beginUpdate();
        view->setDataSet(&ds);
        view->endUpdate();
        render(*view, image);
    }
}

template <typename View>
void scrollPages(benchmark::State& state, View& view)
{
    QImage image(view.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    QScrollBar* bar = view.verticalScrollBar();
    render(*view.viewport(), image);
    for (auto _ : state) {
        const int next = bar->value() + bar->pageStep();
        bar->setValue(next > bar->maximum() ? 0 : next);
        render(*view.viewport(), image);
    }
}

void BM_Baseline_ScrollPage(benchmark::State& state)
{
    auto& ds = stock();
    Baseline base;
    base.model.setDataSet(&ds);
    scrollPages(state, base.view);
}

void BM_Grid_ScrollPage(benchmark::State& state)
{
    auto& ds = stock();
    auto view = makeGrid();
    view->setDataSet(&ds);
    scrollPages(state, *view);
}

std::size_t heapInUse() { return mallinfo2().uordblks; }

// What a memory run made: the owner of everything, and the widget to paint.
struct Made {
    std::shared_ptr<void> owner;
    QWidget* widget = nullptr;
};

// Heap held after attach and first paint, minus the heap before the view existed, per row.
template <typename Make>
void memoryPerRow(benchmark::State& state, Make make)
{
    auto& ds = stock();
    QImage image(kWindow, QImage::Format_ARGB32_Premultiplied);
    double perRow = 0;
    for (auto _ : state) {
        malloc_trim(0);
        const std::size_t before = heapInUse();
        Made made = make(ds);
        render(*made.widget, image);
        const std::size_t after = heapInUse();
        perRow = (static_cast<double>(after) - static_cast<double>(before)) / static_cast<double>(kRows);
        state.PauseTiming();
        made.owner.reset();
        state.ResumeTiming();
    }
    state.counters["bytes_per_row"] = perRow;
}

void BM_Baseline_Memory(benchmark::State& state)
{
    memoryPerRow(state, [](data::TClientDataSet& ds) {
        auto base = std::make_shared<Baseline>();
        base->model.setDataSet(&ds);
        return Made{base, &base->view};
    });
}

void BM_Grid_Memory(benchmark::State& state)
{
    memoryPerRow(state, [](data::TClientDataSet& ds) {
        std::shared_ptr<grid::DurnakGrid> view = makeGrid();
        view->setDataSet(&ds);
        return Made{view, view.get()};
    });
}

void BM_Grid_MemoryFiltered(benchmark::State& state)
{
    memoryPerRow(state, [](data::TClientDataSet& ds) {
        std::shared_ptr<grid::DurnakGrid> view = makeGrid();
        view->setDataSet(&ds);
        view->setColumnFilter("MARKA", {"BOSCH", "OSRAM", "VALEO", "MANN", "CASTROL"});  // every row passes
        return Made{view, view.get()};
    });
}

} // namespace

BENCHMARK(BM_Baseline_AttachAndFirstPaint)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Grid_AttachAndFirstPaint)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Baseline_ScrollPage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Grid_ScrollPage)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Baseline_Memory)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_Grid_Memory)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_Grid_MemoryFiltered)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    stock();  // built once, outside every measurement
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
