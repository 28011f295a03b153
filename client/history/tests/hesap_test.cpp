// The arithmetic of the history windows as plain functions over real datasets.

#include <cmath>
#include <optional>

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "durnak/data/datasethelpers.hpp"
#include "history/hesap.hpp"
#include "server/akis.hpp"
#include "testler.hpp"

using namespace durnak;
using namespace durnak::client;
using durnak::protocol::Column;
using durnak::protocol::FieldType;

namespace {

// A dataset with two float columns and the given rows; std::nullopt is a null cell.
void ikiSutun(data::TClientDataSet& ds, const char* a, const char* b,
              const std::vector<std::pair<std::optional<double>, std::optional<double>>>& satirlar)
{
    ds.ClearFieldDefs();
    ds.AddFieldDef(QString::fromLatin1(a), FieldType::Float64);
    ds.AddFieldDef(QString::fromLatin1(b), FieldType::Float64);
    ds.CreateDataSet();
    for (const auto& [x, y] : satirlar) {
        ds.Append();
        if (x) ds.Fields(0).SetAsFloat(*x);
        if (y) ds.Fields(1).SetAsFloat(*y);
        ds.Post();
    }
}

using Satirlar = std::vector<std::pair<std::optional<double>, std::optional<double>>>;

} // namespace

Q_DECLARE_METATYPE(Satirlar)

class HesapTesti : public QObject {
    Q_OBJECT

private slots:
    void siparisToplamlari_data()
    {
        QTest::addColumn<Satirlar>("satirlar");
        QTest::addColumn<QStringList>("yazilar");  // Toplam, İndirim, Ara, Vergi, Genel
        QTest::newRow("rounded after every addition: two 0.004 lines") << Satirlar{{0.004, 0}, {0.004, 0}}
                                                                      << QStringList{"0,00", "0,00", "0,00", "0,00", "00,00"};
        QTest::newRow("halves go up at every step: two 0.005 lines") << Satirlar{{0.005, 0}, {0.005, 0}}
                                                                     << QStringList{"0,02", "0,00", "0,02", "0,00", "00,02"};
        QTest::newRow("general total below 10 keeps two digits") << Satirlar{{4.49, 0}}
                                                                  << QStringList{"4,49", "0,00", "4,49", "0,81", "05,30"};
        QTest::newRow("discount and thousands") << Satirlar{{1234.5, 123.45}, {1000, 0}}
                                                << QStringList{"2.234,50", "123,45", "2.111,05", "379,99", "2.491,04"};
        QTest::newRow("empty amounts count as 0") << Satirlar{{std::nullopt, std::nullopt}, {10, std::nullopt}}
                                                  << QStringList{"10,00", "0,00", "10,00", "1,80", "11,80"};
        QTest::newRow("no lines") << Satirlar{} << QStringList{"0,00", "0,00", "0,00", "0,00", "00,00"};
    }

    void siparisToplamlari()
    {
        QFETCH(Satirlar, satirlar);
        QFETCH(QStringList, yazilar);
        data::TClientDataSet ds;
        ikiSutun(ds, "TUTAR", "INDIRIMTUTAR", satirlar);
        const auto y = gecmis::ToplamlariYaz(gecmis::SepetHesapla(ds));
        QCOMPARE((QStringList{y.aratoplam, y.indirim, y.nettutar, y.vergi, y.geneltoplam}), yazilar);
        QCOMPARE(ds.RecNo(), satirlar.empty() ? 0 : 1);
        QVERIFY(!ds.ControlsDisabled());
    }

    void ekstreBakiyesi_data()
    {
        QTest::addColumn<Satirlar>("satirlar");    // BORC, ALACAK
        QTest::addColumn<QList<double>>("bakiye");
        QTest::addColumn<QString>("isaretler");    // D of each row
        QTest::newRow("debit then settled") << Satirlar{{100, 0}, {0, 100}} << QList<double>{100, 0} << "B ";
        QTest::newRow("credit first") << Satirlar{{0, 50}} << QList<double>{-50} << "A";
        QTest::newRow("settled without binary noise") << Satirlar{{0.1, 0}, {0.2, 0}, {0, 0.3}}
                                                      << QList<double>{0.1, 0.3, 0} << "BB ";
        QTest::newRow("empty amounts") << Satirlar{{std::nullopt, 20}, {30, std::nullopt}} << QList<double>{-20, 10}
                                       << "AB";
        QTest::newRow("no rows") << Satirlar{} << QList<double>{} << "";
    }

    void ekstreBakiyesi()
    {
        QFETCH(Satirlar, satirlar);
        QFETCH(QList<double>, bakiye);
        QFETCH(QString, isaretler);
        data::TClientDataSet ds;
        ds.AddFieldDef(QStringLiteral("BORC"), FieldType::Float64);
        ds.AddFieldDef(QStringLiteral("ALACAK"), FieldType::Float64);
        ds.AddFieldDef(QStringLiteral("BAKIYE"), FieldType::Float64);
        ds.AddFieldDef(QStringLiteral("D"), FieldType::WideString, 2);
        ds.CreateDataSet();
        for (const auto& [b, a] : satirlar) {
            ds.Append();
            if (b) ds.Fields(0).SetAsFloat(*b);
            if (a) ds.Fields(1).SetAsFloat(*a);
            ds.Fields(2).SetAsFloat(999);  // the server's values are overwritten
            ds.Fields(3).SetAsString(QStringLiteral("X"));
            ds.Post();
        }
        gecmis::EkstreBakiyeHesapla(ds);
        QString okunan;
        for (int i = 0; i < ds.RecordCount(); ++i) {
            QCOMPARE(ds.value(i, 2).toDouble(), bakiye.at(i));
            okunan += ds.value(i, 3).toString();
        }
        QCOMPARE(okunan, isaretler);
    }

    void ekstreBakiyeSutunlariOlmadan()
    {
        // A statement without the two client columns stays as it came.
        data::TClientDataSet ds;
        ikiSutun(ds, "BORC", "ALACAK", {{5, 0}});
        gecmis::EkstreBakiyeHesapla(ds);
        QCOMPARE(ds.FieldCount(), 2);
        QCOMPARE(ds.value(0, 0).toDouble(), 5.0);
    }

    void hareketTuru_data()
    {
        QTest::addColumn<QString>("turAdi");
        QTest::addColumn<int>("tur");
        QTest::newRow("Tediye") << "Tediye" << 1;
        QTest::newRow("Tahsilat") << "Tahsilat" << 1;
        QTest::newRow("Fatura at the start") << "Faturası İade" << 2;
        QTest::newRow("Fatura in the middle") << "Satış Faturası" << 2;
        QTest::newRow("Fatura at the end") << "İade Fatura" << 2;
        QTest::newRow("collection word with Fatura") << "Tahsilat Faturası" << 2;
        QTest::newRow("lower-case tahsilat") << "tahsilat" << 0;
        QTest::newRow("lower-case fatura") << "satış faturası" << 0;
        QTest::newRow("Tahsilat with a trailing blank") << "Tahsilat " << 0;
        QTest::newRow("Tediye inside other text") << "Nakit Tediye" << 0;
        QTest::newRow("empty") << "" << 0;
    }

    void hareketTuru()
    {
        QFETCH(QString, turAdi);
        QFETCH(int, tur);
        QCOMPARE(gecmis::HareketTuruBul(turAdi), tur);
    }

    void fiyatOnizleme_data()
    {
        QTest::addColumn<double>("fiyat");
        QTest::addColumn<double>("oran");
        QTest::addColumn<QString>("net");
        QTest::addColumn<QString>("kdvDahil");
        QTest::newRow("10 % on 200") << 200.0 << 10.0 << "180,00" << "212,40";
        QTest::newRow("no discount shows the price") << 200.0 << 0.0 << "200,00" << "236,00";
        QTest::newRow("a negative rate is no discount") << 200.0 << -5.0 << "200,00" << "236,00";
        QTest::newRow("net not rounded before the tax") << 0.125 << 0.0 << "00,13" << "00,15";
        QTest::newRow("small price keeps two digits") << 5.0 << 0.0 << "05,00" << "05,90";
    }

    void fiyatOnizleme()
    {
        QFETCH(double, fiyat);
        QFETCH(double, oran);
        QFETCH(QString, net);
        QFETCH(QString, kdvDahil);
        const auto o = gecmis::FiyatHesapla(fiyat, oran);
        QCOMPARE(data::FormatFloat(data::kIkiBasamakFormati, o.net), net);
        QCOMPARE(data::FormatFloat(data::kIkiBasamakFormati, o.kdvDahil), kdvDahil);
    }

    void makbuzDosyasi_data()
    {
        QTest::addColumn<int>("uzunluk");
        QTest::addColumn<qint64>("boy");
        QTest::addColumn<bool>("yazilir");
        QTest::newRow("length matches") << 3000 << qint64(3000) << true;
        QTest::newRow("whole chunks") << 2048 << qint64(2048) << true;
        QTest::newRow("stream shorter than stated") << 3000 << qint64(3001) << false;
        QTest::newRow("stream longer than stated") << 3000 << qint64(2999) << false;
        QTest::newRow("stated length 0") << 3000 << qint64(0) << false;
    }

    void makbuzDosyasi()
    {
        QFETCH(int, uzunluk);
        QFETCH(qint64, boy);
        QFETCH(bool, yazilir);
        QTemporaryDir klasor;
        const QString yol = gecmis::MakbuzYolu(klasor.path(), 7);
        QCOMPARE(yol, klasor.filePath(QStringLiteral("sanalposodeme7.pdf")));
        {
            // An older copy is always replaced or removed.
            QFile eski(yol);
            QVERIFY(eski.open(QIODevice::WriteOnly));
            eski.write("eski");
        }
        std::string icerik(static_cast<std::size_t>(uzunluk), 'x');
        icerik.replace(0, 5, "%PDF-");
        TStream akis(icerik);
        akis.SetPosition(17);  // read from the start whatever the position
        QCOMPARE(gecmis::MakbuzKaydet(&akis, boy, yol), yazilir);
        QCOMPARE(QFile::exists(yol), yazilir);
        if (yazilir) {
            QFile f(yol);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), QByteArray::fromStdString(icerik));
        }
        QVERIFY(!gecmis::MakbuzKaydet(nullptr, 10, yol));
        QVERIFY(!QFile::exists(yol));
    }

    void makbuzKlasoruBilinmezken()
    {
        // Without a documents folder the receipt goes to the program's folder, not to "/".
        const QString yol = gecmis::MakbuzYolu(QString(), 3);
        QVERIFY(!yol.startsWith(QStringLiteral("/sanalposodeme")));
        QVERIFY(yol.endsWith(QStringLiteral("/sanalposodeme3.pdf")));
    }
};

QObject* hesapTesti() { return new HesapTesti; }

#include "hesap_test.moc"
