#include <QHeaderView>
#include <QScrollBar>
#include <QTabWidget>
#include <QtTest>

#include "durnak/grid/durnakgrid.hpp"
#include "durnak/grid/widths.hpp"
#include "fixtures.hpp"

using namespace durnak::grid;

Q_DECLARE_METATYPE(std::vector<int>)

class WidthTest : public QObject {
    Q_OBJECT

private slots:
    void rule_data()
    {
        QTest::addColumn<int>("gridWidth");
        QTest::addColumn<std::vector<int>>("weights");
        QTest::addColumn<std::vector<int>>("widths");

        // Stock grid at start: Durum 1, Kod 2, Kod2 2, Açıklama 3, Resim 1, Marka 2, Yeni 1, Kampanyalı 1.
        QTest::newRow("stock grid, 1366 wide") << 1366 << std::vector{1, 2, 2, 3, 1, 2, 1, 1}
                                               << std::vector{102, 204, 204, 306, 102, 204, 102, 102};
        QTest::newRow("unit truncated before multiplying") << 130 << std::vector{1, 2} << std::vector{33, 66};
        QTest::newRow("weight 0 gets width 0") << 130 << std::vector{0, 1} << std::vector{0, 100};
        QTest::newRow("exactly the allowance") << 30 << std::vector{1, 1} << std::vector{0, 0};
        QTest::newRow("narrower than the allowance") << 12 << std::vector{1} << std::vector{0};
        QTest::newRow("all weights 0: no division by zero") << 500 << std::vector{0, 0} << std::vector{0, 0};
        QTest::newRow("negative weight counts as 0") << 130 << std::vector{-1, 2} << std::vector{0, 100};
        QTest::newRow("sum larger than the room") << 60 << std::vector{20, 20} << std::vector{0, 0};
        QTest::newRow("no columns") << 800 << std::vector<int>{} << std::vector<int>{};
    }
    void rule()
    {
        QFETCH(int, gridWidth);
        QFETCH(std::vector<int>, weights);
        QFETCH(std::vector<int>, widths);
        QCOMPARE(KolonGenislikleri(gridWidth, weights), widths);
    }

    // The rule applied to a grid: visible columns only, in display order, hidden ones untouched.
    void appliedToGrid_data()
    {
        QTest::addColumn<int>("gridWidth");
        QTest::newRow("1153") << 1153;
        QTest::newRow("1152") << 1152;
        QTest::newRow("400") << 400;
        QTest::newRow("narrower than the allowance") << 20;
    }
    void appliedToGrid()
    {
        QFETCH(int, gridWidth);
        DurnakGrid grid;
        grid.setColumns(test::basketColumns());
        auto dataSet = test::basket();
        grid.setDataSet(dataSet.get());
        grid.resize(gridWidth, 300);
        const int hidden = grid.columnIndex("cxMARKA");
        grid.horizontalHeader()->resizeSection(hidden, 77);
        grid.horizontalHeader()->moveSection(grid.horizontalHeader()->visualIndex(grid.columnIndex("cxDURUM")), 0);

        grid.KolonGenislikleri();

        // Visible: SEC 1, VERILISTARIHI 1, STOKADI 3, MIKTAR 1, NETTUTAR 1, DURUM 1 -> sum 8.
        const int unit = std::max(0, (gridWidth - 30) / 8);
        for (int column : grid.visibleColumns())
            QCOMPARE(grid.columnWidth(column), grid.gridModel()->column(column).weight * unit);
        grid.setColumnVisible("cxMARKA", true);  // a hidden column keeps its width
        QCOMPARE(grid.columnWidth(hidden), 77);
        QCOMPARE(grid.visibleColumns().front(), grid.columnIndex("cxDURUM"));
    }

    void proportionalOnResizeOnlyWhileEnabled()
    {
        DurnakGrid grid;
        grid.setColumns(test::basketColumns());
        grid.setProportionalOnResize(true);
        grid.resize(830, 300);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));  // (830 - 30) / 8 = 100
        QCOMPARE(grid.columnWidth(grid.columnIndex("cxSTOKADI")), 300);
        grid.setEnabled(false);  // a running load keeps the widths
        grid.resize(430, 300);
        QCoreApplication::processEvents();
        QCOMPARE(grid.columnWidth(grid.columnIndex("cxSTOKADI")), 300);
    }

    // A grid on a tab never shown yet gets its first size while the tab switch holds the page
    // stack's painting; fitting the widths then must not leave the grid unpainted for good.
    void widthsFittedDuringATabSwitchKeepThePainting_data()
    {
        QTest::addColumn<bool>("proportional");
        QTest::newRow("proportional widths") << true;
        QTest::newRow("best fit") << false;
    }
    void widthsFittedDuringATabSwitchKeepThePainting()
    {
        QFETCH(bool, proportional);
        QTabWidget tabs;
        tabs.addTab(new QWidget, "first");
        auto* grid = new DurnakGrid;
        grid->setColumns(test::basketColumns());
        auto dataSet = test::basket();
        grid->setDataSet(dataSet.get());
        tabs.addTab(grid, "second");
        struct OnResize : QObject {
            DurnakGrid* grid;
            bool proportional;
            bool eventFilter(QObject*, QEvent* event) override
            {
                if (event->type() == QEvent::Resize) proportional ? grid->KolonGenislikleri() : grid->bestFit();
                return false;
            }
        } onResize;
        onResize.grid = grid;
        onResize.proportional = proportional;
        grid->installEventFilter(&onResize);
        tabs.resize(600, 400);
        tabs.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tabs));

        tabs.setCurrentIndex(1);
        QVERIFY(grid->updatesEnabled());
        QVERIFY(grid->viewport()->updatesEnabled());
        grid->removeEventFilter(&onResize);
    }

    void bestFitMeasuresCaptionsAndTexts()
    {
        DurnakGrid grid;
        grid.setColumns(test::basketColumns());
        auto dataSet = test::basket();
        grid.setDataSet(dataSet.get());
        for (int c = 0; c < grid.gridModel()->columnCount(); ++c)
            grid.setColumnWidth(c, 5);
        grid.bestFit();
        const int text = grid.columnIndex("cxSTOKADI");
        QVERIFY(grid.columnWidth(text) >= grid.fontMetrics().horizontalAdvance("ŞANZIMAN YAĞI"));
        const int caption = grid.columnIndex("cxVERILISTARIHI");
        QVERIFY(grid.columnWidth(caption) >= QFontMetrics(grid.gridStyle().header.font).horizontalAdvance("Sipariş Tarihi"));
        grid.setColumnVisible("cxMARKA", true);
        QCOMPARE(grid.columnWidth(grid.columnIndex("cxMARKA")), 5);  // was hidden: untouched
    }
};

QObject* widthTests()
{
    return new WidthTest;
}

#include "widths_test.moc"
