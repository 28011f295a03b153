#include <QAbstractItemModelTester>
#include <QtTest>

#include "durnak/grid/columnchooser.hpp"
#include "durnak/grid/groupgrid.hpp"
#include "durnak/grid/painting.hpp"
#include "fixtures.hpp"

using namespace durnak;
using namespace durnak::grid;

namespace {

// The orders report: no captions, grouped by the sales representative.
std::unique_ptr<data::TClientDataSet> orders()
{
    using test::i;
    using test::r;
    using test::s;
    return test::makeDataSet({{"SATICIADI", test::FieldType::WideString, 50},
                              {"TARIH", test::FieldType::Date},
                              {"IDNO", test::FieldType::Float64},
                              {"TUTAR", test::FieldType::Float64},
                              {"CARIADI", test::FieldType::WideString, 100}},
                             {{s("VELİ"), r(45000), r(1), r(100), s("A FİRMA")},
                              {s("AHMET"), r(45001), r(2), r(250.5), s("B FİRMA")},
                              {s("VELİ"), r(45002), r(3), r(1000), s("C FİRMA")},
                              {s("ZEKİ"), test::null(), r(4), r(5), s("D FİRMA")},
                              {s("AHMET"), r(45004), r(5), r(49.5), s("E FİRMA")}});
}

GridColumns orderColumns()
{
    return {textColumn("SATICIADI", "", "SATICIADI", 1),
            textColumn("TARIH", "", "TARIH", 1),
            textColumn("IDNO", "", "IDNO", 1, Visibility::Offered),
            textColumn("TUTAR", "", "TUTAR", 1),
            textColumn("CARIADI", "", "CARIADI", 1)};
}

} // namespace

class GroupGridTest : public QObject {
    Q_OBJECT

private slots:
    void groupsSortedWithFootersAndGrandTotals()
    {
        auto dataSet = orders();
        DurnakGroupGrid grid;
        QAbstractItemModelTester tester(grid.groupModel(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        grid.setColumns(orderColumns());
        grid.setGroupBy("SATICIADI");
        grid.setGroupSummaries({{"TUTAR", SummaryKind::Sum, ""}, {"TARIH", SummaryKind::Count, ""}});
        grid.setFooterSummaries({{"TUTAR", SummaryKind::Sum, ""}, {"TARIH", SummaryKind::Count, ""}});
        grid.setDataSet(dataSet.get());

        const GroupModel& groups = *grid.groupModel();
        QCOMPARE(groups.groupCount(), 3);
        QCOMPARE(groups.groupText(0), QString("SATICIADI : AHMET"));
        QCOMPARE(groups.groupText(1), QString("SATICIADI : VELİ"));
        QCOMPARE(groups.groupText(2), QString("SATICIADI : ZEKİ"));
        QCOMPARE(groups.groupRows(1), (std::vector<int>{0, 2}));  // dataset order inside a group
        const int tutar = grid.gridModel()->columnIndex("TUTAR");
        const int tarih = grid.gridModel()->columnIndex("TARIH");
        QCOMPARE(groups.groupFooterText(0, tutar), QString("300,00"));
        QCOMPARE(groups.groupFooterText(0, tarih), QString("2"));
        QCOMPARE(groups.groupFooterText(2, tarih), QString("0"));  // null date not counted
        QCOMPARE(grid.footerText("TUTAR"), QString("1.405,00"));
        QCOMPARE(grid.footerText("TARIH"), QString("4"));
        QVERIFY(!grid.gridModel()->isVisible(grid.gridModel()->columnIndex("SATICIADI")));
        // Hidden columns are listed in the chooser.
        const auto listed = grid.columnChooser()->listedColumns();
        QVERIFY(std::count(listed.begin(), listed.end(), grid.gridModel()->columnIndex("IDNO")) == 1);

        // Rows of the tree: group row, footer row, per group; data rows are the group's children.
        const QModelIndex velI = groups.groupIndex(1);
        QCOMPARE(groups.rowCount(), 6);
        QCOMPARE(groups.rowCount(velI), 2);
        QCOMPARE(groups.index(1, 0, velI).data(SourceRowRole).toInt(), 2);
        QCOMPARE(groups.index(1, tutar, velI).data().toString(), QString("1.000,00"));
        QCOMPARE(groups.index(3, tutar).data().toString(), QString("1.100,00"));  // VELİ's footer
        QCOMPARE(groups.index(3, 0).data(RowTypeRole).toInt(), int(RowType::GroupFooter));
    }

    void collapsedGroupsKeepTheirFootersVisible()
    {
        auto dataSet = orders();
        DurnakGroupGrid grid;
        grid.setColumns(orderColumns());
        grid.setGroupBy("SATICIADI");
        grid.setGroupSummaries({{"TUTAR", SummaryKind::Sum, ""}});
        grid.setFooterSummaries({{"TUTAR", SummaryKind::Sum, ""}});
        grid.setDataSet(dataSet.get());
        grid.resize(700, 400);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        const GroupModel& groups = *grid.groupModel();

        const int tutar = grid.gridModel()->columnIndex("TUTAR");
        grid.expandAllGroups();
        QVERIFY(grid.visualRect(groups.index(0, tutar, groups.groupIndex(1))).isValid());
        grid.collapseAllGroups();
        for (int g = 0; g < groups.groupCount(); ++g) {
            QVERIFY(grid.visualRect(groups.index(2 * g, tutar)).isValid());
            const QModelIndex footer = groups.index(2 * g + 1, tutar);
            QVERIFY2(grid.visualRect(footer).isValid(), "a collapsed group hides its footer");
            QVERIFY(!grid.visualRect(groups.index(0, tutar, groups.groupIndex(g))).isValid());
        }
        // One line per representative and its footer, one above the other.
        const int rowHeight = grid.visualRect(groups.index(0, tutar)).height();
        QCOMPARE(rowHeight, 24);
        QCOMPARE(grid.visualRect(groups.index(5, 1)).top(), 5 * rowHeight);

        // Painted: the footer row carries the group's total.
        const QImage image = grid.viewport()->grab().toImage();
        const QRect footer = grid.visualRect(groups.index(1, tutar));
        QCOMPARE(image.pixelColor(footer.left() + 2, footer.top() + 2), grid.gridStyle().footer.background);
        QCOMPARE(grid.footerText("TUTAR"), QString("1.405,00"));
    }

    void emptyReportHasNoGroupsAndZeroFooters()
    {
        auto dataSet = orders();
        dataSet->EmptyDataSet();
        DurnakGroupGrid grid;
        grid.setColumns(orderColumns());
        grid.setGroupBy("SATICIADI");
        grid.setGroupSummaries({{"TUTAR", SummaryKind::Sum, ""}});
        grid.setFooterSummaries({{"TUTAR", SummaryKind::Sum, ""}, {"TARIH", SummaryKind::Count, ""}});
        grid.setDataSet(dataSet.get());
        QCOMPARE(grid.groupModel()->groupCount(), 0);
        QCOMPARE(grid.groupModel()->rowCount(), 0);
        QCOMPARE(grid.footerText("TUTAR"), QString("0,00"));
        QCOMPARE(grid.footerText("TARIH"), QString("0"));
    }

    void withoutGroupingRowsAreFlat()
    {
        auto dataSet = orders();
        DurnakGroupGrid grid;
        QAbstractItemModelTester tester(grid.groupModel(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        grid.setColumns(orderColumns());
        grid.setDataSet(dataSet.get());
        QCOMPARE(grid.groupModel()->rowCount(), 5);
        QCOMPARE(grid.groupModel()->index(1, 0).data().toString(), QString("AHMET"));
    }
};

QObject* groupGridTests()
{
    return new GroupGridTest;
}

#include "groupgrid_test.moc"
