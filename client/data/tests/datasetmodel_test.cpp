#include <memory>

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QtTest>

#include "durnak/data/datasethelpers.hpp"
#include "durnak/data/datasetmodel.hpp"
#include "tables.hpp"

using namespace durnak::data;
using namespace durnak::data::test;

namespace {

const QLocale kTurkish(QLocale::Turkish, QLocale::Turkey);

Table stock(int rows)
{
    Table table({{"STOKNO", FieldType::Int32}, {"STOKADI", FieldType::WideString, 60}, {"FIYAT", FieldType::Float64}});
    for (int n = 0; n < rows; ++n) {
        const auto row = table.appendRow();
        table.setInt(row, 0, n + 1);
        table.setText(row, 1, "Parça " + std::to_string(n + 1));
        table.setReal(row, 2, 1234.5 * (n + 1));
    }
    return table;
}

// The model under test with Qt's invariant checker and a spy per kind of signal.
struct Harness {
    TClientDataSet ds;
    DataSetModel model;
    QAbstractItemModelTester tester{&model, QAbstractItemModelTester::FailureReportingMode::QtTest};
    QSignalSpy resets{&model, &QAbstractItemModel::modelReset};
    QSignalSpy inserted{&model, &QAbstractItemModel::rowsInserted};
    QSignalSpy changed{&model, &QAbstractItemModel::dataChanged};
    QSignalSpy cursor{&model, &DataSetModel::currentRowChanged};

    Harness()
    {
        model.setLocale(kTurkish);
        model.setDataSet(&ds);
        clear();
    }
    void clear()
    {
        resets.clear();
        inserted.clear();
        changed.clear();
        cursor.clear();
    }
};

} // namespace

class DataSetModelTest : public QObject {
    Q_OBJECT

private slots:
    void loadResetsOnce();
    void reloadAndPacket();
    void cellEditEmitsOneCell();
    void appendInsertsRow();
    void disabledControlsGiveOneReset();
    void cursorWalkKeepsModel();
    void closeEmptyAndDestroy();
    void detachWhileFilling();
    void rolesAndHeaders();
};

void DataSetModelTest::loadResetsOnce()
{
    Harness h;
    TabloyaKopyala(stock(500), h.ds);
    QCOMPARE(h.resets.count(), 1);
    QCOMPARE(h.inserted.count(), 0);
    QCOMPARE(h.model.rowCount(), 500);
    QCOMPARE(h.model.columnCount(), 3);

    FloatFormatla(h.ds);
    QCOMPARE(h.resets.count(), 1);
    QCOMPARE(h.changed.count(), 1);  // the float column repaints
    const auto args = h.changed.takeFirst();
    QCOMPARE(args.at(0).toModelIndex(), h.model.index(0, 2));
    QCOMPARE(args.at(1).toModelIndex(), h.model.index(499, 2));
    QCOMPARE(h.model.data(h.model.index(0, 2)).toString(), "1.234,50");
}

void DataSetModelTest::reloadAndPacket()
{
    Harness h;
    TabloyaKopyala(stock(3), h.ds);
    FloatFormatla(h.ds);
    h.clear();

    TabloyaKopyala(stock(5), h.ds);
    FloatFormatla(h.ds);  // formats survived with the fields: nothing to repaint
    QCOMPARE(h.resets.count(), 1);
    QCOMPARE(h.changed.count(), 0);
    QCOMPARE(h.model.rowCount(), 5);
    QCOMPARE(h.model.data(h.model.index(4, 2)).toString(), "6.172,50");

    // A packet brings new fields: one reset, then the formats come back through FloatFormatla.
    AssignPacket(stock(2), h.ds);
    QCOMPARE(h.resets.count(), 2);
    QCOMPARE(h.model.rowCount(), 2);
    QCOMPARE(h.model.data(h.model.index(1, 2)).toString(), "2469");
    FloatFormatla(h.ds);
    QCOMPARE(h.model.data(h.model.index(1, 2)).toString(), "2.469,00");

    // Load the way the windows do it: controls off around copy and formatting.
    h.clear();
    {
        DisableControlsScope quiet(h.ds);
        AssignPacket(stock(4), h.ds);
        FloatFormatla(h.ds);
    }
    QCOMPARE(h.resets.count(), 1);
    QCOMPARE(h.changed.count(), 0);
    QCOMPARE(h.model.data(h.model.index(3, 2)).toString(), "4.938,00");
}

void DataSetModelTest::cellEditEmitsOneCell()
{
    Harness h;
    AssignPacket(stock(3), h.ds);
    FloatFormatla(h.ds);
    h.clear();

    h.ds.MoveTo(1);
    h.ds.Edit();
    h.ds.FieldByName("FIYAT").SetAsFloat(0.5);
    QCOMPARE(h.changed.count(), 0);  // nothing shows before Post
    h.ds.Post();
    QCOMPARE(h.resets.count(), 0);
    QCOMPARE(h.changed.count(), 1);
    const auto args = h.changed.takeFirst();
    QCOMPARE(args.at(0).toModelIndex(), h.model.index(1, 2));
    QCOMPARE(args.at(1).toModelIndex(), h.model.index(1, 2));
    QCOMPARE(h.model.data(h.model.index(1, 2)).toString(), "0,50");
    QCOMPARE(h.model.data(h.model.index(1, 2), Qt::EditRole), QVariant(0.5));
}

void DataSetModelTest::appendInsertsRow()
{
    Harness h;
    AssignPacket(stock(2), h.ds);
    h.clear();
    h.ds.Append();
    h.ds.FieldByName("STOKADI").SetAsString("Yeni parça");
    h.ds.Post();
    QCOMPARE(h.resets.count(), 0);
    QCOMPARE(h.inserted.count(), 1);
    QCOMPARE(h.inserted.first().at(1).toInt(), 2);
    QCOMPARE(h.inserted.first().at(2).toInt(), 2);
    QCOMPARE(h.model.rowCount(), 3);
    QCOMPARE(h.model.data(h.model.index(2, 1)).toString(), "Yeni parça");
    QCOMPARE(h.cursor.last().at(0).toInt(), 2);
}

void DataSetModelTest::disabledControlsGiveOneReset()
{
    Harness h;
    AssignPacket(stock(2), h.ds);
    h.clear();
    h.ds.DisableControls();
    for (int n = 0; n < 50; ++n) {
        h.ds.Append();
        h.ds.FieldByName("STOKNO").SetAsInteger(100 + n);
        h.ds.Post();
    }
    h.ds.First();
    h.ds.Edit();
    h.ds.FieldByName("STOKADI").SetAsString("değişti");
    h.ds.Post();
    QCOMPARE(h.model.rowCount(), 2);  // the view still sees the old shape
    QCOMPARE(h.resets.count() + h.inserted.count() + h.changed.count(), 0);
    h.ds.EnableControls();
    QCOMPARE(h.resets.count(), 1);
    QCOMPARE(h.inserted.count(), 0);
    QCOMPARE(h.model.rowCount(), 52);
    QCOMPARE(h.model.data(h.model.index(0, 1)).toString(), "değişti");

    // Rows removed while disabled: the stale view must not read past the end.
    h.ds.DisableControls();
    h.ds.EmptyDataSet();
    QCOMPARE(h.model.data(h.model.index(51, 0)), QVariant());
    h.ds.EnableControls();
    QCOMPARE(h.model.rowCount(), 0);
}

void DataSetModelTest::cursorWalkKeepsModel()
{
    Harness h;
    Table table({{"SIRANO", FieldType::Int32}, {"SEC", FieldType::Int32}});
    for (int n = 0; n < 4; ++n) {
        table.appendRow();
        table.setInt(std::size_t(n), 0, n);
        table.setInt(std::size_t(n), 1, n == 2 ? 1 : 0);
    }
    AssignPacket(std::move(table), h.ds);
    h.clear();
    QVERIFY(SeciliVarMi(h.ds));
    // Only the cursor moved: no reset (the grid keeps selection and scroll), one cursor report.
    QCOMPARE(h.resets.count(), 0);
    QCOMPARE(h.cursor.count(), 1);
    QCOMPARE(h.cursor.first().at(0).toInt(), 2);
}

void DataSetModelTest::closeEmptyAndDestroy()
{
    Harness h;
    auto owned = std::make_unique<TClientDataSet>();
    h.model.setDataSet(owned.get());
    AssignPacket(stock(3), *owned);
    h.clear();

    owned->EmptyDataSet();
    QCOMPARE(h.resets.count(), 1);
    QCOMPARE(h.model.rowCount(), 0);
    QCOMPARE(h.model.columnCount(), 3);

    owned->Close();
    QCOMPARE(h.resets.count(), 2);
    QCOMPARE(h.model.columnCount(), 0);

    AssignPacket(stock(3), *owned);
    owned.reset();
    QCOMPARE(h.model.dataSet(), nullptr);
    QCOMPARE(h.model.rowCount(), 0);
    QCOMPARE(h.model.columnCount(), 0);
}

void DataSetModelTest::detachWhileFilling()
{
    Harness h;
    AssignPacket(stock(3), h.ds);
    h.model.setDataSet(nullptr);
    QCOMPARE(h.model.rowCount(), 0);
    h.clear();

    TabloyaKopyala(stock(1000), h.ds);
    FloatFormatla(h.ds);
    QCOMPARE(h.resets.count() + h.changed.count(), 0);

    h.model.setDataSet(&h.ds);
    QCOMPARE(h.resets.count(), 1);
    QCOMPARE(h.model.rowCount(), 1000);
    QCOMPARE(h.model.data(h.model.index(999, 2)).toString(), "1.234.500,00");
}

void DataSetModelTest::rolesAndHeaders()
{
    Harness h;
    AssignPacket(makeTable({{"STOKNO", FieldType::Int32}, {"STOKADI", FieldType::WideString},
                            {"FIYAT", FieldType::Float64}, {"KUR", FieldType::Currency}},
                           {{i(7), null(), r(2.345), i(12345000)}}),
                 h.ds);
    FloatFormatla(h.ds);

    QCOMPARE(h.model.fieldName(1), "STOKADI");
    QCOMPARE(h.model.fieldName(9), QString());
    QCOMPARE(h.model.headerData(2, Qt::Horizontal).toString(), "FIYAT");
    QCOMPARE(h.model.columnOf("kur"), 3);
    QCOMPARE(h.model.columnOf("YOK"), -1);

    const auto cell = [&](int column, int role = Qt::DisplayRole) { return h.model.data(h.model.index(0, column), role); };
    QCOMPARE(cell(2).toString(), "2,35");
    QCOMPARE(cell(2, Qt::EditRole), QVariant(2.345));
    QCOMPARE(cell(3).toString(), "1234,5");
    QCOMPARE(cell(1).toString(), "");
    QVERIFY(!cell(1, Qt::EditRole).isValid());
    QCOMPARE(cell(0, Qt::TextAlignmentRole).value<Qt::Alignment>(), Qt::AlignRight | Qt::AlignVCenter);
    QVERIFY(!cell(1, Qt::TextAlignmentRole).isValid());
    QCOMPARE(h.model.flags(h.model.index(0, 0)) & Qt::ItemIsEditable, Qt::NoItemFlags);
}

QObject* dataSetModelTests()
{
    return new DataSetModelTest;
}

#include "datasetmodel_test.moc"
