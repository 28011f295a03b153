#include <QtTest>

#include "durnak/data/clientdataset.hpp"
#include "durnak/data/datasethelpers.hpp"
#include "tables.hpp"

using namespace durnak::data;
using namespace durnak::data::test;

Q_DECLARE_METATYPE(durnak::protocol::FieldType)

namespace {

const QLocale kTurkish(QLocale::Turkish, QLocale::Turkey);

// Records what a dataset tells its observers, as one line per event.
class Recorder : public DataSetObserver {
public:
    QStringList events;
    void dataSetChanged() override { events << QStringLiteral("changed"); }
    void rowAppended(int row) override { events << QStringLiteral("appended %1").arg(row); }
    void cellChanged(int row, int column) override { events << QStringLiteral("cell %1,%2").arg(row).arg(column); }
    void displayChanged(int column) override { events << QStringLiteral("display %1").arg(column); }
    void cursorMoved(int row) override { events << QStringLiteral("cursor %1").arg(row); }
};

Table threeRows()
{
    return makeTable({{"SIRANO", FieldType::Int32}, {"STOKADI", FieldType::WideString, 60}},
                     {{i(10), s("Fren balatası")}, {i(20), s("Yağ filtresi")}, {i(30), s("Silecek")}});
}

#define QVERIFY_THROWS_TEXT(expression, text)                                                   \
    do {                                                                                        \
        try {                                                                                   \
            expression;                                                                         \
            QFAIL("no error raised by " #expression);                                           \
        } catch (const DataSetError& raised) {                                                  \
            QCOMPARE(QString::fromUtf8(raised.what()), QString(text));                          \
        }                                                                                       \
    } while (false)

} // namespace

class ClientDataSetTest : public QObject {
    Q_OBJECT

private slots:
    void cursorWalk();
    void cursorOnEmptyAndClosed();
    void appendEditPostCancel();
    void editOfTextCellKeepsNeighbours();
    void fieldValues_data();
    void fieldValues();
    void oleDates_data();
    void oleDates();
    void fieldLookup();
    void closeKeepsDefinitionsAndFormats();
    void notifications();
    void disableControlsNests();
    void memoryPerRowUnderTwicePayload();
};

void ClientDataSetTest::cursorWalk()
{
    TClientDataSet ds;
    ds.SetData(threeRows());
    QCOMPARE(ds.RecNo(), 1);
    QVERIFY(ds.Bof());
    QVERIFY(!ds.Eof());

    QList<qint64> seen;
    for (ds.First(); !ds.Eof(); ds.Next())
        seen << ds.FieldByName("SIRANO").AsInteger();
    QCOMPARE(seen, (QList<qint64>{10, 20, 30}));
    QCOMPARE(ds.RecNo(), 3);  // Eof stays on the last row

    ds.Prior();
    QCOMPARE(ds.RecNo(), 2);
    QVERIFY(!ds.Eof());
    ds.Prior();
    ds.Prior();
    QVERIFY(ds.Bof());
    QCOMPARE(ds.RecNo(), 1);

    ds.Last();
    QVERIFY(ds.Eof());
    QCOMPARE(ds.FieldByName("STOKADI").AsString(), "Silecek");

    QVERIFY(ds.MoveTo(1));
    QVERIFY(!ds.Eof() && !ds.Bof());
    QCOMPARE(ds.FieldByName("SIRANO").AsInteger(), 20);
    QVERIFY(!ds.MoveTo(3));
    QVERIFY(!ds.MoveTo(-1));
    QCOMPARE(ds.CurrentRow(), 1);
}

void ClientDataSetTest::cursorOnEmptyAndClosed()
{
    TClientDataSet ds;
    QVERIFY(!ds.Active());
    QCOMPARE(ds.RecordCount(), 0);
    QVERIFY_THROWS_TEXT(ds.First(), "Cannot perform this operation on a closed dataset");

    ds.SetData(makeTable({{"SEC", FieldType::Int32}}));
    QVERIFY(ds.Active());
    ds.First();
    QVERIFY(ds.Eof() && ds.Bof());
    QCOMPARE(ds.RecNo(), 0);
    ds.Next();
    ds.Prior();
    QCOMPARE(ds.CurrentRow(), -1);
    QVERIFY(ds.FieldByName("SEC").IsNull());
    QCOMPARE(ds.FieldByName("SEC").AsInteger(), 0);
}

void ClientDataSetTest::appendEditPostCancel()
{
    TClientDataSet ds;
    ds.AddFieldDef("SIRANO", FieldType::Int32);
    ds.AddFieldDef("STOKADI", FieldType::WideString, 60);
    ds.AddFieldDef("MIKTAR", FieldType::Float64);
    ds.CreateDataSet();
    const TField sirano = ds.FieldByName("SIRANO");
    const TField miktar = ds.FieldByName("MIKTAR");

    QVERIFY_THROWS_TEXT(miktar.SetAsFloat(1), "Dataset not in edit or insert mode");

    ds.Append();
    sirano.SetAsInteger(7);
    miktar.SetAsFloat(2.5);
    QCOMPARE(miktar.AsFloat(), 2.5);  // the edit buffer is what the field shows
    QCOMPARE(ds.RecordCount(), 0);
    ds.Post();
    QCOMPARE(ds.RecordCount(), 1);
    QCOMPARE(ds.State(), DataSetState::Browse);
    QCOMPARE(ds.CurrentRow(), 0);
    QVERIFY(ds.FieldByName("STOKADI").IsNull());

    ds.Append();
    sirano.SetAsInteger(8);
    ds.Cancel();
    QCOMPARE(ds.RecordCount(), 1);
    QCOMPARE(sirano.AsInteger(), 7);

    ds.Edit();
    miktar.SetAsFloat(9);
    ds.Cancel();
    QCOMPARE(miktar.AsFloat(), 2.5);

    ds.Append();
    sirano.SetAsInteger(8);
    ds.Post();
    ds.First();
    ds.Edit();
    miktar.Clear();
    ds.Next();  // moving posts the pending edit
    QCOMPARE(ds.State(), DataSetState::Browse);
    QVERIFY(ds.isNull(0, 2));
    QCOMPARE(ds.value(1, 0), QVariant(8));
}

void ClientDataSetTest::editOfTextCellKeepsNeighbours()
{
    TClientDataSet ds;
    ds.SetData(threeRows());
    const TField name = ds.FieldByName("STOKADI");
    ds.MoveTo(1);
    ds.Edit();
    name.SetAsString("Hava filtresi, uzun açıklama");
    ds.Post();
    ds.Edit();
    name.SetAsString("");
    ds.Post();
    QVERIFY(!ds.isNull(1, 1));
    QCOMPARE(ds.value(0, 1).toString(), "Fren balatası");
    QCOMPARE(ds.value(1, 1).toString(), "");
    QCOMPARE(ds.value(2, 1).toString(), "Silecek");
}

void ClientDataSetTest::fieldValues_data()
{
    QTest::addColumn<FieldType>("type");
    QTest::addColumn<QVariant>("input");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("error");

    const QDateTime afternoon(QDate(2024, 1, 5), QTime(13, 30, 15), Qt::UTC);
    QTest::newRow("int32 from text") << FieldType::Int32 << QVariant("42") << QVariant(42) << "42" << "";
    QTest::newRow("int32 from double, half away") << FieldType::Int32 << QVariant(2.5) << QVariant(3) << "3" << "";
    QTest::newRow("int16 out of range") << FieldType::Int16 << QVariant(40000) << QVariant() << ""
                                        << "Value 40000 is out of range for field 'F'";
    QTest::newRow("int32 bad text") << FieldType::Int32 << QVariant("12a") << QVariant() << ""
                                    << "'12a' is not a valid value for field 'F'";
    QTest::newRow("int64 large") << FieldType::Int64 << QVariant(qlonglong(1) << 40)
                                 << QVariant(qlonglong(1) << 40) << "1099511627776" << "";
    QTest::newRow("currency keeps four decimals") << FieldType::Currency << QVariant(1234.5678)
                                                  << QVariant(1234.5678) << "1234,5678" << "";
    QTest::newRow("bcd from integer") << FieldType::Bcd << QVariant(7) << QVariant(7.0) << "7" << "";
    QTest::newRow("float without format") << FieldType::Float64 << QVariant(1234.5) << QVariant(1234.5)
                                          << "1234,5" << "";
    QTest::newRow("boolean from text") << FieldType::Boolean << QVariant("true") << QVariant(true) << "True" << "";
    QTest::newRow("boolean bad text") << FieldType::Boolean << QVariant("evet") << QVariant() << ""
                                      << "'evet' is not a valid value for field 'F'";
    QTest::newRow("date") << FieldType::Date << QVariant(QDate(2024, 1, 5)) << QVariant(QDate(2024, 1, 5))
                          << "5.01.2024" << "";
    QTest::newRow("date drops the time") << FieldType::Date << QVariant(afternoon) << QVariant(QDate(2024, 1, 5))
                                         << "5.01.2024" << "";
    QTest::newRow("datetime") << FieldType::DateTime << QVariant(afternoon) << QVariant(afternoon)
                              << "5.01.2024 13:30:15" << "";
    QTest::newRow("datetime at midnight shows the date only")
        << FieldType::DateTime << QVariant(QDate(2024, 1, 5))
        << QVariant(QDateTime(QDate(2024, 1, 5), QTime(0, 0), Qt::UTC)) << "5.01.2024" << "";
    QTest::newRow("time") << FieldType::Time << QVariant(QTime(6, 5)) << QVariant(QTime(6, 5)) << "06:05:00" << "";
    QTest::newRow("wide string") << FieldType::WideString << QVariant("Çalışma ğüşiöç İı")
                                 << QVariant("Çalışma ğüşiöç İı") << "Çalışma ğüşiöç İı" << "";
    QTest::newRow("blob") << FieldType::Blob << QVariant(QByteArray("\x00\xff\x10", 3))
                          << QVariant(QByteArray("\x00\xff\x10", 3)) << "(BLOB)" << "";
    QTest::newRow("null") << FieldType::Int32 << QVariant() << QVariant() << "" << "";
}

void ClientDataSetTest::fieldValues()
{
    QFETCH(FieldType, type);
    QFETCH(QVariant, input);
    QFETCH(QVariant, value);
    QFETCH(QString, display);
    QFETCH(QString, error);

    TClientDataSet ds;
    ds.AddFieldDef("F", type);
    ds.CreateDataSet();
    const TField field = ds.FieldByName("F");
    ds.Append();
    if (!error.isEmpty()) {
        QVERIFY_THROWS_TEXT(field.SetValue(input), error);
        return;
    }
    field.SetValue(input);
    ds.Post();
    QCOMPARE(field.IsNull(), !value.isValid());
    QCOMPARE(field.Value(), value);
    QCOMPARE(ds.value(0, 0), value);
    QCOMPARE(field.DisplayText(kTurkish), display);
}

void ClientDataSetTest::oleDates_data()
{
    QTest::addColumn<QDateTime>("moment");
    QTest::addColumn<double>("ole");
    QTest::newRow("epoch") << QDateTime(QDate(1899, 12, 30), QTime(0, 0), Qt::UTC) << 0.0;
    QTest::newRow("noon") << QDateTime(QDate(2024, 1, 5), QTime(12, 0), Qt::UTC) << 45296.5;
    QTest::newRow("before the epoch, time stays positive")
        << QDateTime(QDate(1899, 12, 29), QTime(6, 0), Qt::UTC) << -1.25;
    QTest::newRow("1900-01-01") << QDateTime(QDate(1900, 1, 1), QTime(0, 0), Qt::UTC) << 2.0;
}

void ClientDataSetTest::oleDates()
{
    QFETCH(QDateTime, moment);
    QFETCH(double, ole);
    TClientDataSet ds;
    ds.AddFieldDef("TARIH", FieldType::DateTime);
    ds.CreateDataSet();
    const TField field = ds.FieldByName("TARIH");
    ds.Append();
    field.SetValue(moment);
    ds.Post();
    QCOMPARE(field.AsFloat(), ole);
    ds.Edit();
    field.SetAsFloat(ole);
    ds.Post();
    QCOMPARE(field.Value().toDateTime(), moment);
}

void ClientDataSetTest::fieldLookup()
{
    TClientDataSet ds;
    ds.SetData(threeRows());
    QCOMPARE(ds.FieldByName("stokadi").Index(), 1);
    QCOMPARE(ds.FieldIndex("SiraNo"), 0);
    QVERIFY(!ds.FindField("YOK").IsValid());
    QVERIFY_THROWS_TEXT(ds.FieldByName("YOK"), "Field 'YOK' not found");

    const TField old = ds.FieldByName("SIRANO");
    ds.Close();
    ds.CreateDataSet();
    QVERIFY(old.IsValid());  // same field objects across close/open

    ds.SetData(threeRows());  // a packet brings new field objects
    QVERIFY(!old.IsValid());
    QVERIFY_THROWS_TEXT(old.AsInteger(), "Field handle no longer belongs to the dataset's fields");
}

void ClientDataSetTest::closeKeepsDefinitionsAndFormats()
{
    TClientDataSet ds;
    ds.SetData(makeTable({{"TUTAR", FieldType::Float64}}, {{r(1)}}));
    ds.Fields(0).SetDisplayFormat("0.0");
    ds.Close();
    QVERIFY(!ds.Active());
    QCOMPARE(ds.RecordCount(), 0);
    QCOMPARE(ds.FieldCount(), 1);
    ds.AddFieldDef("ADET", FieldType::Int32);
    QVERIFY_THROWS_TEXT(ds.AddFieldDef("adet", FieldType::Int32), "Duplicate field name 'adet'");
    ds.CreateDataSet();
    QVERIFY_THROWS_TEXT(ds.AddFieldDef("Z", FieldType::Int32), "Cannot perform this operation on an open dataset");
    QVERIFY_THROWS_TEXT(ds.CreateDataSet(), "Cannot perform this operation on an open dataset");
    QCOMPARE(ds.FieldCount(), 2);
    QCOMPARE(ds.DisplayFormat(0), "0.0");
    QCOMPARE(ds.RecordCount(), 0);
}

void ClientDataSetTest::notifications()
{
    TClientDataSet ds;
    ds.SetData(threeRows());
    Recorder recorder;
    ds.addObserver(&recorder);

    ds.MoveTo(2);
    ds.Edit();
    ds.FieldByName("STOKADI").SetAsString("Silecek");  // unchanged value: nothing to tell
    ds.FieldByName("SIRANO").SetAsInteger(31);
    ds.Post();
    ds.Append();
    ds.FieldByName("SIRANO").SetAsInteger(40);
    ds.Post();
    ds.Fields(1).SetDisplayFormat("");  // no change
    ds.Fields(0).SetDisplayFormat("0");
    ds.EmptyDataSet();
    QCOMPARE(recorder.events, (QStringList{"cursor 2", "cell 2,0", "appended 3", "cursor 3", "display 0",
                                           "changed"}));

    recorder.events.clear();
    ds.removeObserver(&recorder);
    ds.Close();
    QVERIFY(recorder.events.isEmpty());
}

void ClientDataSetTest::disableControlsNests()
{
    TClientDataSet ds;
    ds.SetData(threeRows());
    Recorder recorder;
    ds.addObserver(&recorder);

    ds.DisableControls();
    ds.DisableControls();
    ds.Last();
    ds.Edit();
    ds.FieldByName("SIRANO").SetAsInteger(99);
    ds.Post();
    ds.Append();
    ds.Post();
    ds.EnableControls();
    QVERIFY(recorder.events.isEmpty());
    QVERIFY(ds.ControlsDisabled());
    ds.EnableControls();
    QCOMPARE(recorder.events, QStringList{"changed"});

    recorder.events.clear();
    ds.EnableControls();  // unbalanced: ignored, the counter does not go below zero
    ds.DisableControls();
    ds.First();
    QVERIFY(recorder.events.isEmpty());
    ds.EnableControls();
    QCOMPARE(recorder.events, QStringList{"changed"});
    ds.removeObserver(&recorder);
}

void ClientDataSetTest::memoryPerRowUnderTwicePayload()
{
    // A stock list as the server sends it: 40 columns, realistic text lengths, some nulls.
    constexpr std::size_t kRows = 100000;
    std::vector<Column> columns;
    for (int c = 0; c < 8; ++c)
        columns.push_back({"INT" + std::to_string(c), c < 2 ? FieldType::Int16 : FieldType::Int32});
    columns.push_back({"STOK_STOKNO", FieldType::Int64});
    for (int c = 0; c < 15; ++c)
        columns.push_back({"FIYAT" + std::to_string(c), FieldType::Float64});
    columns.push_back({"KUR", FieldType::Currency});
    columns.push_back({"MALIYET", FieldType::Bcd});
    columns.push_back({"TARIH", FieldType::DateTime});
    columns.push_back({"SAAT", FieldType::Time});
    columns.push_back({"AKTIF", FieldType::Boolean});
    const int textLengths[] = {13, 12, 40, 15, 15, 15, 15, 10, 20, 8, 6};
    for (std::size_t c = 0; c < std::size(textLengths); ++c)
        columns.push_back({"METIN" + std::to_string(c), FieldType::WideString, 60});
    QCOMPARE(columns.size(), std::size_t(40));

    Table reader(columns);
    reader.reserve(kRows);
    std::size_t payload = 0;
    for (std::size_t row = 0; row < kRows; ++row) {
        reader.appendRow();
        for (std::size_t col = 0; col < columns.size(); ++col) {
            if (col == 20 && row % 10 == 0)
                continue;  // a sparse column
            switch (durnak::protocol::storageOf(columns[col].type)) {
            case durnak::protocol::Storage::Integer:
                reader.setInt(row, col, static_cast<std::int64_t>(row % 30000));
                payload += 8;
                break;
            case durnak::protocol::Storage::Real:
                reader.setReal(row, col, static_cast<double>(row) * 1.25);
                payload += 8;
                break;
            case durnak::protocol::Storage::Flag:
                reader.setFlag(row, col, row % 2 == 0);
                payload += 1;
                break;
            case durnak::protocol::Storage::Text: {
                // Lengths vary around the column's typical one.
                const int base = textLengths[col - 29];
                const std::size_t length = static_cast<std::size_t>(base / 2 + static_cast<int>(row % static_cast<std::size_t>(base)));
                reader.setText(row, col, std::string(length, 'A'));
                payload += length;
                break;
            }
            }
        }
    }

    TClientDataSet copied;
    TabloyaKopyala(reader, copied);
    QCOMPARE(copied.RecordCount(), int(kRows));
    const double copiedRatio = double(copied.memoryBytes()) / double(payload);
    QVERIFY2(copiedRatio < 2.0, qPrintable(QStringLiteral("copy: %1 x payload").arg(copiedRatio)));

    TClientDataSet assigned;
    AssignPacket(std::move(reader), assigned);
    const double assignedRatio = double(assigned.memoryBytes()) / double(payload);
    QVERIFY2(assignedRatio < 2.0, qPrintable(QStringLiteral("packet: %1 x payload").arg(assignedRatio)));
}

QObject* clientDataSetTests()
{
    return new ClientDataSetTest;
}

#include "clientdataset_test.moc"
