#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QtTest>

#include "durnak/grid/gridmodel.hpp"
#include "durnak/grid/summaries.hpp"
#include "fixtures.hpp"

using namespace durnak;
using namespace durnak::grid;

Q_DECLARE_METATYPE(durnak::grid::Visibility)
Q_DECLARE_METATYPE(durnak::grid::SummaryKind)

class GridModelTest : public QObject {
    Q_OBJECT

private slots:
    void columnsBindByFieldNameInDeclaredOrder()
    {
        auto dataSet = test::basket();
        GridModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setColumns({
            textColumn("a", "Tutar", "nettutar", 1),  // field names are case-insensitive
            textColumn("b", "", "STOKADI", 1),
            textColumn("c", "Yok", "NOSUCHFIELD", 1),
        });
        model.setDataSet(dataSet.get());
        QCOMPARE(model.columnCount(), 3);
        QCOMPARE(model.rowCount(), 5);
        QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QString("Tutar"));
        QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QString("STOKADI"));  // empty caption
        QCOMPARE(model.index(0, 0).data().toString(), QString("1.234,50"));
        QCOMPARE(model.index(0, 0).data(Qt::EditRole).toDouble(), 1234.5);
        QCOMPARE(model.index(1, 1).data().toString(), QString("ŞANZIMAN YAĞI"));
        QVERIFY(!model.index(0, 2).data().isValid());  // a missing field shows nothing
        QCOMPARE(model.index(0, 0).data(Qt::TextAlignmentRole).toInt(), int(Qt::AlignRight | Qt::AlignVCenter));
        QCOMPARE(model.index(0, 1).data(Qt::TextAlignmentRole).toInt(), int(Qt::AlignLeft | Qt::AlignVCenter));
        QCOMPARE(model.columnIndex("b"), 1);
        QCOMPARE(model.columnIndex("StokAdi"), 1);
    }

    void withoutDeclaredColumnsEveryFieldIsAColumn()
    {
        auto dataSet = test::basket();
        GridModel model;
        model.setDataSet(dataSet.get());
        QCOMPARE(model.columnCount(), dataSet->FieldCount());
        QCOMPARE(model.headerData(3, Qt::Horizontal).toString(), QString("STOKADI"));
        model.setVisible(3, false);
        data::AssignPacket(dataSet->Data(), *dataSet);  // same fields again: the choice stays
        QVERIFY(!model.isVisible(3));
    }

    void visibilityStates_data()
    {
        QTest::addColumn<Visibility>("declared");
        QTest::addColumn<bool>("visible");
        QTest::addColumn<bool>("offered");
        QTest::newRow("shown") << Visibility::Shown << true << true;
        QTest::newRow("offered") << Visibility::Offered << false << true;
        QTest::newRow("never") << Visibility::Never << false << false;
        QTest::newRow("pinned") << Visibility::Pinned << true << false;
    }
    void visibilityStates()
    {
        QFETCH(Visibility, declared);
        QFETCH(bool, visible);
        QFETCH(bool, offered);
        GridModel model;
        model.setColumns({textColumn("x", "X", "MARKA", 1, declared)});
        QCOMPARE(model.isVisible(0), visible);
        QCOMPARE(model.isOffered(0), offered);
        // A later user-type adaptation moves it to any other state.
        model.setVisibility(0, Visibility::Shown);
        QVERIFY(model.isVisible(0) && model.isOffered(0));
        model.setVisibility(0, Visibility::Never);
        QVERIFY(!model.isVisible(0) && !model.isOffered(0));
    }

    void filterValuesAreDistinctAndOrderedByValue()
    {
        auto dataSet = test::makeDataSet({{"N", test::FieldType::Int32}, {"T", test::FieldType::WideString}},
                                         {{test::i(10), test::s("b")},
                                          {test::i(2), test::s("a")},
                                          {test::i(10), test::s("c")},
                                          {test::null(), test::s("a")}});
        GridModel model;
        model.setDataSet(dataSet.get());
        // Numbers by value (2 before 10), blanks first; each value once.
        QCOMPARE(model.filterValues(0), QStringList({"", "2", "10"}));
        QCOMPARE(model.filterValues(1), QStringList({"a", "b", "c"}));
        // A column's list only holds values the other filters let through.
        model.setFilter(1, {"a"});
        QCOMPARE(model.filterValues(0), QStringList({"", "2"}));
        QCOMPARE(model.filterValues(1), QStringList({"a", "b", "c"}));
    }

    void filterMapsRowsAndSurvivesReload()
    {
        auto dataSet = test::basket();
        GridModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setColumns(test::basketColumns());
        model.setDataSet(dataSet.get());
        QSignalSpy filterSpy(&model, &GridModel::filterChanged);
        const int marka = model.columnIndex("MARKA");

        model.setFilter(marka, {"BOSCH"});
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(model.sourceRow(0), 0);
        QCOMPARE(model.sourceRow(1), 2);
        QCOMPARE(model.sourceRow(2), 4);
        QCOMPARE(model.rowOfSource(2), 1);
        QCOMPARE(model.rowOfSource(1), -1);
        QVERIFY(model.isFiltered(marka));
        QCOMPARE(model.index(1, model.columnIndex("STOKADI")).data().toString(), QString("FİLTRE"));

        // Detached while a worker fills, then attached again: the filter applies to the new rows.
        model.setDataSet(nullptr);
        QCOMPARE(model.rowCount(), 0);
        data::AssignPacket(test::basket()->Data(), *dataSet);
        model.setDataSet(dataSet.get());
        QCOMPARE(model.rowCount(), 3);

        model.clearFilters();
        QCOMPARE(model.rowCount(), 5);
        QVERIFY(!model.anyFilter());
        QCOMPARE(filterSpy.count(), 2);
        model.clearFilters();  // nothing to clear: no signal
        QCOMPARE(filterSpy.count(), 2);
    }

    void rowMapCostsFourBytesPerShownRowAndNothingUnfiltered()
    {
        auto dataSet = test::basket();
        GridModel model;
        model.setDataSet(dataSet.get());
        const std::size_t unfiltered = model.memoryBytes();
        model.setFilter(model.columnIndex("MARKA"), {"BOSCH"});
        QCOMPARE(model.memoryBytes() - unfiltered, 3 * sizeof(std::int32_t));
        model.clearFilters();
        QCOMPARE(model.memoryBytes(), unfiltered);
    }

    void appendedRowArrivesWithoutReset()
    {
        auto dataSet = test::basket();
        GridModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setColumns(test::basketColumns());
        model.setDataSet(dataSet.get());
        QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
        QSignalSpy inserts(&model, &QAbstractItemModel::rowsInserted);
        dataSet->Append();
        dataSet->FieldByName("STOKADI").SetAsString("YENİ SATIR");
        dataSet->Post();
        QCOMPARE(model.rowCount(), 6);
        QCOMPARE(inserts.count(), 1);
        QCOMPARE(resets.count(), 0);
    }

    void findPrefix_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("found");
        QTest::newRow("first match from the top") << "F" << 0 << 0;
        QTest::newRow("from a row on") << "F" << 1 << 2;
        QTest::newRow("the current row itself") << "FİL" << 2 << 2;
        QTest::newRow("wraps around") << "FREN" << 3 << 0;
        QTest::newRow("Turkish lower case") << "şanz" << 0 << 1;
        QTest::newRow("dotted i") << "iti" << 0 << 4;
        QTest::newRow("longer than the text") << "FİLTRESİZ" << 0 << -1;
        QTest::newRow("no match") << "X" << 0 << -1;
    }
    void findPrefix()
    {
        QFETCH(QString, text);
        QFETCH(int, from);
        QFETCH(int, found);
        auto dataSet = test::basket();
        GridModel model;
        model.setColumns(test::basketColumns());
        model.setDataSet(dataSet.get());
        QCOMPARE(model.findPrefix(model.columnIndex("STOKADI"), text, from), found);
    }

    void summaries_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<SummaryKind>("kind");
        QTest::addColumn<QString>("format");
        QTest::addColumn<bool>("onlyBosch");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("sum in the field's format") << "NETTUTAR" << SummaryKind::Sum << "" << false << 2369.74
                                                   << "2.369,74";
        QTest::newRow("sum skips nulls") << "MIKTAR" << SummaryKind::Sum << "" << false << 17.0 << "17,00";
        QTest::newRow("count skips nulls") << "VERILISTARIHI" << SummaryKind::Count << "" << false << 4.0 << "4";
        QTest::newRow("count with a format") << "SIRANO" << SummaryKind::Count << "0\" kalem\"" << false << 5.0
                                             << "5 kalem";
        QTest::newRow("integer sum without format") << "SIRANO" << SummaryKind::Sum << "" << false << 15.0 << "15";
        QTest::newRow("over filtered rows") << "NETTUTAR" << SummaryKind::Sum << "" << true << 2244.5 << "2.244,50";
        QTest::newRow("count over filtered rows") << "STOKADI" << SummaryKind::Count << "" << true << 3.0 << "3";
    }
    void summaries()
    {
        QFETCH(QString, column);
        QFETCH(SummaryKind, kind);
        QFETCH(QString, format);
        QFETCH(bool, onlyBosch);
        QFETCH(double, value);
        QFETCH(QString, text);
        auto dataSet = test::basket();
        GridModel model;
        model.setColumns(test::basketColumns());
        model.setDataSet(dataSet.get());
        if (onlyBosch)
            model.setFilter(model.columnIndex("MARKA"), {"BOSCH"});
        const SummaryValue result = computeSummary(model, {column, kind, format});
        QCOMPARE(result.value, value);
        QCOMPARE(result.text, text);
        QCOMPARE(result.column, model.columnIndex(column));
    }

    void summaryOfFixedPointAndEmptyDataSet()
    {
        auto dataSet = test::makeDataSet({{"TUTAR", test::FieldType::Currency}},
                                         {{test::r(0.1)}, {test::r(0.2)}, {test::r(1000000.05)}});
        GridModel model;
        model.setDataSet(dataSet.get());
        QCOMPARE(computeSummary(model, {"TUTAR", SummaryKind::Sum, "#,###,##0.00"}).text, QString("1.000.000,35"));
        dataSet->EmptyDataSet();
        QCOMPARE(computeSummary(model, {"TUTAR", SummaryKind::Sum, "#,###,##0.00"}).text, QString("0,00"));
        QCOMPARE(computeSummary(model, {"TUTAR", SummaryKind::Count, ""}).text, QString("0"));
    }
};

QObject* gridModelTests()
{
    return new GridModelTest;
}

#include "gridmodel_test.moc"
