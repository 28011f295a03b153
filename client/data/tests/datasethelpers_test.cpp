#include <QtTest>

#include "durnak/data/datasethelpers.hpp"
#include "tables.hpp"

using namespace durnak::data;
using namespace durnak::data::test;

namespace {

const QLocale kTurkish(QLocale::Turkish, QLocale::Turkey);
const QString kConflict = QStringLiteral("Additional columns must be added after the prescribed columns.");

std::vector<Column> stockColumns()
{
    return {{"STOKNO", FieldType::Int32}, {"STOKADI", FieldType::WideString, 60}, {"FIYAT", FieldType::Float64}};
}

// A basket as SepetVer2 sends it; `ticks` holds SEC per line.
Table basket(const QList<int>& ticks)
{
    Table table({{"SIRANO", FieldType::Int32}, {"SEC", FieldType::Int32}, {"TUTAR", FieldType::Float64}});
    for (int n = 0; n < ticks.size(); ++n) {
        const auto row = table.appendRow();
        table.setInt(row, 0, 100 + n);
        table.setInt(row, 1, ticks[n]);
        table.setReal(row, 2, 10.0 * n);
    }
    return table;
}

} // namespace

class DataSetHelperTest : public QObject {
    Q_OBJECT

private slots:
    void tabloyaKopyalaCopiesEveryRow();
    void tabloyaKopyalaTwiceRefills();
    void tabloyaKopyalaAddsFurtherColumns();
    void tabloyaKopyalaConflict_data();
    void tabloyaKopyalaConflict();
    void tabloyaKopyalaKeepsDefinitionTypes();
    void emptyReaderGivesOpenEmptyDataSet();
    void assignPacketMakesNewFields();
    void floatFormatlaOnlyFloatColumns();
    void doluMu();
    void seciliVarMi_data();
    void seciliVarMi();
};

void DataSetHelperTest::tabloyaKopyalaCopiesEveryRow()
{
    const Table reader = makeTable(stockColumns(), {{i(1), s("Fren balatası"), r(1234.5)},
                                                    {i(2), null(), r(-0.25)},
                                                    {null(), s(""), null()}});
    TClientDataSet ds;
    TabloyaKopyala(reader, ds);
    QVERIFY(ds.Active());
    QCOMPARE(ds.RecordCount(), 3);
    QCOMPARE(ds.RecNo(), 1);
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            QCOMPARE(ds.isNull(row, col), reader.isNull(std::size_t(row), std::size_t(col)));
        }
    }
    QCOMPARE(ds.value(0, 1).toString(), "Fren balatası");
    QCOMPARE(ds.value(1, 2).toDouble(), -0.25);
    QVERIFY(!ds.isNull(2, 1));  // an empty text is not a null
    QCOMPARE(ds.Data(), reader);
}

void DataSetHelperTest::tabloyaKopyalaTwiceRefills()
{
    TClientDataSet ds;
    TabloyaKopyala(makeTable(stockColumns(), {{i(1), s("a"), r(1)}, {i(2), s("b"), r(2)}}), ds);
    FloatFormatla(ds);
    const TField stokadi = ds.FieldByName("STOKADI");

    TabloyaKopyala(makeTable(stockColumns(), {{i(3), s("c"), r(3)}}), ds);
    QCOMPARE(ds.FieldCount(), 3);
    QCOMPARE(ds.RecordCount(), 1);
    QCOMPARE(stokadi.AsString(), "c");
    QCOMPARE(ds.displayText(0, 2, kTurkish), "3,00");  // the kept field keeps its format
}

void DataSetHelperTest::tabloyaKopyalaAddsFurtherColumns()
{
    TClientDataSet ds;
    ds.AddFieldDef("STOKNO", FieldType::Int32);
    TabloyaKopyala(makeTable(stockColumns(), {{i(5), s("x"), r(1.5)}}), ds);
    QCOMPARE(ds.FieldCount(), 3);
    QCOMPARE(ds.fieldDef(1).name, "STOKADI");
    QCOMPARE(ds.fieldDef(2).type, FieldType::Float64);
    QCOMPARE(ds.FieldByName("FIYAT").AsFloat(), 1.5);

    // Definitions beyond the reader's columns stay, empty.
    TClientDataSet wider;
    wider.AddFieldDef("STOKNO", FieldType::Int32);
    wider.AddFieldDef("STOKADI", FieldType::WideString);
    wider.AddFieldDef("FIYAT", FieldType::Float64);
    wider.AddFieldDef("NOT", FieldType::WideString);
    TabloyaKopyala(makeTable(stockColumns(), {{i(5), s("x"), r(1.5)}}), wider);
    QCOMPARE(wider.FieldCount(), 4);
    QVERIFY(wider.FieldByName("NOT").IsNull());
}

void DataSetHelperTest::tabloyaKopyalaConflict_data()
{
    QTest::addColumn<QStringList>("existing");
    QTest::newRow("second column renamed") << QStringList{"STOKNO", "BARKOD"};
    QTest::newRow("first column differs") << QStringList{"SIRANO"};
    QTest::newRow("extra definition then a clash") << QStringList{"STOKNO", "STOKADI", "KDV"};
}

void DataSetHelperTest::tabloyaKopyalaConflict()
{
    QFETCH(QStringList, existing);
    TClientDataSet ds;
    for (const auto& name : existing)
        ds.AddFieldDef(name, FieldType::WideString);
    ds.CreateDataSet();
    try {
        TabloyaKopyala(makeTable(stockColumns(), {{i(1), s("a"), r(1)}}), ds);
        QFAIL("no error");
    } catch (const DataSetError& error) {
        QCOMPARE(QString::fromUtf8(error.what()), kConflict);
    }
    QVERIFY(!ds.Active());
    QCOMPARE(ds.FieldCount(), existing.size());
}

void DataSetHelperTest::tabloyaKopyalaKeepsDefinitionTypes()
{
    // A window that defined its own fields keeps their types; the reader's cells are converted.
    TClientDataSet ds;
    ds.AddFieldDef("STOKNO", FieldType::WideString);
    ds.AddFieldDef("STOKADI", FieldType::WideString);
    ds.AddFieldDef("FIYAT", FieldType::Currency);
    TabloyaKopyala(makeTable(stockColumns(), {{i(42), s("a"), r(1234.5)}, {i(7), s("b"), null()}}), ds);
    QCOMPARE(ds.value(0, 0), QVariant("42"));
    QCOMPARE(ds.Data().intAt(0, 2), std::int64_t(12345000));
    QVERIFY(ds.isNull(1, 2));
}

void DataSetHelperTest::emptyReaderGivesOpenEmptyDataSet()
{
    TClientDataSet ds;
    TabloyaKopyala(makeTable(stockColumns()), ds);
    QVERIFY(ds.Active());
    QCOMPARE(ds.RecordCount(), 0);
    QCOMPARE(ds.FieldCount(), 3);
    QVERIFY(ds.Eof() && ds.Bof());
    FloatFormatla(ds);
    QCOMPARE(ds.DisplayFormat(2), kParaFormati);
    QVERIFY(!DoluMu(ds));
}

void DataSetHelperTest::assignPacketMakesNewFields()
{
    TClientDataSet ds;
    AssignPacket(makeTable(stockColumns(), {{i(1), s("a"), r(1)}}), ds);
    FloatFormatla(ds);
    QCOMPARE(ds.DisplayFormat(2), kParaFormati);

    // Other columns than before: the packet wins, no conflict as with a reader.
    AssignPacket(makeTable({{"SIPARISNO", FieldType::Int32}, {"FIYAT", FieldType::Float64}}, {{i(9), r(2)}}), ds);
    QCOMPARE(ds.FieldCount(), 2);
    QCOMPARE(ds.fieldDef(0).name, "SIPARISNO");
    QCOMPARE(ds.DisplayFormat(1), QString());
    QCOMPARE(ds.displayText(0, 1, kTurkish), "2");
    QCOMPARE(ds.RecNo(), 1);

    AssignPacket(makeTable({{"SIPARISNO", FieldType::Int32}}), ds);
    QVERIFY(ds.Active());
    QCOMPARE(ds.RecordCount(), 0);
}

void DataSetHelperTest::floatFormatlaOnlyFloatColumns()
{
    TClientDataSet ds;
    AssignPacket(makeTable({{"TUTAR", FieldType::Float64},
                            {"KUR", FieldType::Currency},
                            {"MALIYET", FieldType::Bcd},
                            {"MIKTAR", FieldType::Int32},
                            {"SIFIR", FieldType::Float64}},
                           {{r(1234.5), i(12345000), i(12345000), i(1234), r(0)}}),
                 ds);
    FloatFormatla(ds);
    QCOMPARE(ds.DisplayFormat(0), kParaFormati);
    QCOMPARE(ds.DisplayFormat(1), QString());
    QCOMPARE(ds.DisplayFormat(2), QString());
    QCOMPARE(ds.DisplayFormat(3), QString());
    QCOMPARE(ds.displayText(0, 0, kTurkish), "1.234,50");
    QCOMPARE(ds.displayText(0, 1, kTurkish), "1234,5");
    QCOMPARE(ds.displayText(0, 2, kTurkish), "1234,5");
    QCOMPARE(ds.displayText(0, 3, kTurkish), "1234");
    QCOMPARE(ds.displayText(0, 4, kTurkish), "0,00");
    QCOMPARE(ds.value(0, 0), QVariant(1234.5));  // only the display changes
}

void DataSetHelperTest::doluMu()
{
    TClientDataSet ds;
    QVERIFY(!DoluMu(ds));
    AssignPacket(basket({}), ds);
    QVERIFY(!DoluMu(ds));
    AssignPacket(basket({0}), ds);
    QVERIFY(DoluMu(ds));
    ds.Close();
    QVERIFY(!DoluMu(ds));
    QVERIFY(!SeciliVarMi(ds));
}

void DataSetHelperTest::seciliVarMi_data()
{
    QTest::addColumn<QList<int>>("ticks");
    QTest::addColumn<bool>("expected");
    QTest::addColumn<int>("recNo");  // where the cursor is left
    QTest::addColumn<bool>("eof");
    QTest::newRow("all zero") << QList<int>{0, 0, 0} << false << 3 << true;
    QTest::newRow("one ticked") << QList<int>{0, 1, 0} << true << 2 << false;
    QTest::newRow("first of several") << QList<int>{0, 0, 1, 1} << true << 3 << false;
    QTest::newRow("ticked first line") << QList<int>{1, 0} << true << 1 << false;
    QTest::newRow("ticked last line") << QList<int>{0, 0, 1} << true << 3 << false;
    QTest::newRow("other values are not a tick") << QList<int>{2, -1} << false << 2 << true;
    QTest::newRow("empty basket") << QList<int>{} << false << 0 << true;
}

void DataSetHelperTest::seciliVarMi()
{
    QFETCH(QList<int>, ticks);
    QFETCH(bool, expected);
    QFETCH(int, recNo);
    QFETCH(bool, eof);
    TClientDataSet sepet;
    AssignPacket(basket(ticks), sepet);
    sepet.Last();  // the walk starts from the first row wherever the cursor was
    QCOMPARE(SeciliVarMi(sepet), expected);
    QCOMPARE(sepet.RecNo(), recNo);
    QCOMPARE(sepet.Eof(), eof);
}

QObject* dataSetHelperTests()
{
    return new DataSetHelperTest;
}

#include "datasethelpers_test.moc"
