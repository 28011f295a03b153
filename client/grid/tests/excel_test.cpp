#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QHeaderView>
#include <QScrollBar>
#include <QtTest>

#include "durnak/grid/durnakgrid.hpp"
#include "durnak/grid/excel.hpp"
#include "durnak/grid/groupgrid.hpp"
#include "fixtures.hpp"

using namespace durnak;
using namespace durnak::grid;

namespace {

// The workbook as openpyxl reads it: rows of [value, number format, bold].
QJsonArray readBack(const QString& path)
{
    QProcess python;
    python.start(DURNAK_PYTHON3, {DURNAK_XLSX_READER, path});
    if (!python.waitForFinished(60000) || python.exitCode() != 0) {
        qWarning().noquote() << python.readAllStandardError();
        return {};
    }
    return QJsonDocument::fromJson(python.readAllStandardOutput()).object().value("rows").toArray();
}

QJsonArray cell(const QJsonArray& rows, int row, int column)
{
    return rows.at(row).toArray().at(column).toArray();
}

QVariant valueAt(const QJsonArray& rows, int row, int column) { return cell(rows, row, column).at(0).toVariant(); }

QStringList rowTexts(const QJsonArray& rows, int row)
{
    QStringList texts;
    for (const auto& c : rows.at(row).toArray())
        texts << c.toArray().at(0).toVariant().toString();
    return texts;
}

} // namespace

class ExcelTest : public QObject {
    Q_OBJECT

private slots:
    void numberFormats_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("excel");
        QTest::newRow("money") << "#,###,##0.00" << "#,##0.00";
        QTest::newRow("two integer digits") << "#,###,##00.00" << "#,#00.00";
        QTest::newRow("no leading zero") << "#,###,##.00" << "#,###.00";
        QTest::newRow("three decimals") << "#,###,##.000" << "#,###.000";
        QTest::newRow("no grouping") << "0.0" << "0.0";
        QTest::newRow("whole numbers") << "0" << "0";
        QTest::newRow("sections: the first") << "#,##0.00;-#,##0.00;\"yok\"" << "#,##0.00";
    }
    void numberFormats()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, excel);
        QCOMPARE(excelNumberFormat(pattern), excel);
    }

    void gridExportReadBackByOpenpyxl()
    {
        QTemporaryDir dir;
        auto dataSet = test::basket();
        DurnakGrid grid;
        grid.setColumns(test::basketColumns());
        grid.setDataSet(dataSet.get());
        grid.setFooterSummaries({{"MIKTAR", SummaryKind::Sum, ""}, {"VERILISTARIHI", SummaryKind::Count, ""}});
        // The user's view: Marka shown, moved in front of Stok Açıklama; Durum hidden.
        grid.setColumnVisible("MARKA", true);
        grid.setColumnVisible("DURUM", true);
        grid.setColumnVisible("NETTUTAR", false);
        auto* header = grid.horizontalHeader();
        header->moveSection(header->visualIndex(grid.columnIndex("MARKA")), header->visualIndex(grid.columnIndex("STOKADI")));
        grid.verticalScrollBar()->setValue(3);  // only part of the rows on screen: all are exported

        const QString path = dir.filePath("sepet.xlsx");
        ExcelKaydet(grid, path);
        const QJsonArray rows = readBack(path);
        QVERIFY2(rows.size() == 7, "python3-openpyxl must be installed (scripts/install-deps.sh)");

        QCOMPARE(rowTexts(rows, 0),
                 QStringList({"Seç", "Sipariş Tarihi", "Marka", "Stok Açıklama", "Miktar", "Durum"}));
        QVERIFY(cell(rows, 0, 0).at(2).toBool());  // captions bold
        // Row 1: ticked, 15.03.2023, BOSCH, FREN BALATASI, 2 as a number in its format, "Var".
        QCOMPARE(valueAt(rows, 1, 0).toBool(), true);
        QCOMPARE(valueAt(rows, 1, 1).toString(), QString("2023-03-15T00:00:00"));
        QCOMPARE(cell(rows, 1, 1).at(1).toString(), QString("dd.mm.yyyy"));
        QCOMPARE(valueAt(rows, 1, 2).toString(), QString("BOSCH"));
        QCOMPARE(valueAt(rows, 1, 3).toString(), QString("FREN BALATASI"));
        QCOMPARE(cell(rows, 1, 4).at(0).type(), QJsonValue::Double);
        QCOMPARE(valueAt(rows, 1, 4).toDouble(), 2.0);
        QCOMPARE(cell(rows, 1, 4).at(1).toString(), QString("#,##0.00"));
        QCOMPARE(valueAt(rows, 1, 5).toString(), QString("Var"));
        // Every row in dataset order, Turkish letters intact, nulls empty.
        QCOMPARE(valueAt(rows, 2, 3).toString(), QString("ŞANZIMAN YAĞI"));
        QCOMPARE(valueAt(rows, 2, 0).toBool(), false);
        QVERIFY(valueAt(rows, 4, 1).isNull());
        QCOMPARE(valueAt(rows, 4, 5).toString(), QString("Tedarik Sürecinde"));
        QVERIFY(valueAt(rows, 5, 4).isNull());
        QCOMPARE(valueAt(rows, 5, 3).toString(), QString("İTİCİ"));
        // Footer: count and sum as bold numbers.
        QCOMPARE(valueAt(rows, 6, 1).toDouble(), 4.0);
        QCOMPARE(valueAt(rows, 6, 4).toDouble(), 17.0);
        QCOMPARE(cell(rows, 6, 4).at(1).toString(), QString("#,##0.00"));
        QVERIFY(cell(rows, 6, 4).at(2).toBool());
    }

    void filteredGridExportsItsRows()
    {
        QTemporaryDir dir;
        auto dataSet = test::basket();
        DurnakGrid grid;
        grid.setColumns(test::basketColumns());
        grid.setDataSet(dataSet.get());
        grid.setColumnFilter("MARKA", {"OSRAM"});
        const QString path = dir.filePath("filtre.xlsx");
        ExcelKaydet(grid, path);
        const QJsonArray rows = readBack(path);
        QCOMPARE(rows.size(), 2);
        QCOMPARE(valueAt(rows, 1, 2).toString(), QString("FAR AMPULÜ"));
    }

    void groupedExportHasEveryGroupExpanded()
    {
        QTemporaryDir dir;
        auto dataSet = test::makeDataSet({{"SATICIADI", test::FieldType::WideString, 50}, {"TUTAR", test::FieldType::Float64}},
                                         {{test::s("VELİ"), test::r(100)},
                                          {test::s("AHMET"), test::r(250.5)},
                                          {test::s("VELİ"), test::r(1000)}});
        DurnakGroupGrid grid;
        grid.setColumns({textColumn("SATICIADI", "", "SATICIADI", 1), textColumn("TUTAR", "", "TUTAR", 1)});
        grid.setGroupBy("SATICIADI");
        grid.setGroupSummaries({{"TUTAR", SummaryKind::Sum, ""}});
        grid.setFooterSummaries({{"TUTAR", SummaryKind::Sum, ""}});
        grid.setDataSet(dataSet.get());
        grid.collapseAllGroups();

        const QString path = dir.filePath("rapor.xlsx");
        ExcelKaydet(grid, path);
        const QJsonArray rows = readBack(path);
        QCOMPARE(rows.size(), 9);
        QCOMPARE(rowTexts(rows, 0), QStringList({"TUTAR"}));
        QCOMPARE(valueAt(rows, 1, 0).toString(), QString("SATICIADI : AHMET"));
        QCOMPARE(valueAt(rows, 2, 0).toDouble(), 250.5);
        QCOMPARE(valueAt(rows, 3, 0).toDouble(), 250.5);  // group footer
        QCOMPARE(valueAt(rows, 4, 0).toString(), QString("SATICIADI : VELİ"));
        QCOMPARE(valueAt(rows, 5, 0).toDouble(), 100.0);
        QCOMPARE(valueAt(rows, 6, 0).toDouble(), 1000.0);
        QCOMPARE(valueAt(rows, 7, 0).toDouble(), 1100.0);
        QCOMPARE(valueAt(rows, 8, 0).toDouble(), 1350.5);  // grand total
    }

    void unwritablePathRaises()
    {
        auto dataSet = test::basket();
        DurnakGrid grid;
        grid.setColumns(test::basketColumns());
        grid.setDataSet(dataSet.get());
        QVERIFY_THROWS_EXCEPTION(ExcelError, ExcelKaydet(grid, "/nonexistent-dir/x/sepet.xlsx"));
    }
};

QObject* excelTests()
{
    return new ExcelTest;
}

#include "excel_test.moc"
