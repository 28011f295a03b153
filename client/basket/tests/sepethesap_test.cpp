// The basket's arithmetic and texts as plain functions.

#include <vector>

#include <QTest>

#include "basket/sepethesap.hpp"
#include "durnak/data/datasethelpers.hpp"
#include "testler.hpp"

namespace {

using durnak::client::SepetToplamlari;
using durnak::data::TClientDataSet;
using durnak::protocol::Column;
using durnak::protocol::FieldType;
using durnak::protocol::Table;

struct Satir {
    int sec;
    double tutar, indirim, vergi;
};

void sepetDoldur(TClientDataSet& ds, const std::vector<Satir>& satirlar)
{
    Table t({Column{"SIRANO", FieldType::Int32}, Column{"SEC", FieldType::Int32}, Column{"TUTAR", FieldType::Float64},
             Column{"INDIRIMTUTAR", FieldType::Float64}, Column{"VERGITUTARI", FieldType::Float64}});
    int sirano = 1;
    for (const Satir& s : satirlar) {
        const auto r = t.appendRow();
        t.setInt(r, 0, sirano++);
        t.setInt(r, 1, s.sec);
        t.setReal(r, 2, s.tutar);
        t.setReal(r, 3, s.indirim);
        t.setReal(r, 4, s.vergi);
    }
    durnak::data::AssignPacket(std::move(t), ds);
}

const QLocale kTurkce(QLocale::Turkish, QLocale::Turkey);

class SepetHesapTesti : public QObject {
    Q_OBJECT

private slots:
    void toplamlar_data()
    {
        QTest::addColumn<std::vector<Satir>>("satirlar");
        QTest::addColumn<double>("toplam");
        QTest::addColumn<double>("indirim");
        QTest::addColumn<double>("vergi");
        QTest::addColumn<double>("ara");
        QTest::addColumn<double>("genel");
        QTest::addColumn<bool>("indirimGorunur");
        QTest::addColumn<bool>("vergiGorunur");

        // Each running sum is rounded after its addition: 0,004 + 0,004 stays 0,00.
        QTest::newRow("iki satır 0,004") << std::vector<Satir>{{1, 0.004, 0, 0}, {1, 0.004, 0, 0}} << 0.0 << 0.0
                                         << 0.0 << 0.0 << 0.0 << false << false;
        // A discount total of exactly 1,00 is hidden; 1,01 is shown.
        QTest::newRow("indirim tam 1,00") << std::vector<Satir>{{1, 10, 0.40, 1.92}, {1, 5, 0.60, 0.88}} << 15.0
                                          << 1.0 << 2.8 << 14.0 << 16.8 << false << true;
        QTest::newRow("indirim 1,01") << std::vector<Satir>{{1, 10, 1.01, 1.0}} << 10.0 << 1.01 << 1.0 << 8.99
                                      << 9.99 << true << false;
        QTest::newRow("hiç seçili yok") << std::vector<Satir>{{0, 100, 10, 18}, {0, 50, 5, 9}} << 0.0 << 0.0 << 0.0
                                        << 0.0 << 0.0 << false << false;
        QTest::newRow("yalnız seçililer") << std::vector<Satir>{{1, 100, 10, 18}, {0, 999, 99, 99}, {1, 50, 5, 9}}
                                          << 150.0 << 15.0 << 27.0 << 135.0 << 162.0 << true << true;
        // Half a cent rounds away from zero at every step: 0,005 -> 0,01, twice -> 0,02.
        QTest::newRow("yarım kuruş") << std::vector<Satir>{{1, 0.005, 0, 0}, {1, 0.005, 0, 0}} << 0.02 << 0.0
                                     << 0.0 << 0.02 << 0.02 << false << false;
        QTest::newRow("boş sepet") << std::vector<Satir>{} << 0.0 << 0.0 << 0.0 << 0.0 << 0.0 << false << false;
    }

    void toplamlar()
    {
        QFETCH(std::vector<Satir>, satirlar);
        TClientDataSet ds;
        sepetDoldur(ds, satirlar);
        ds.Last();
        const int imlec = ds.CurrentRow();
        const SepetToplamlari t = durnak::client::SepetToplamHesapla(ds, kTurkce);
        QTEST(t.toplam, "toplam");
        QTEST(t.indirim, "indirim");
        QTEST(t.vergi, "vergi");
        QTEST(t.ara, "ara");
        QTEST(t.genel, "genel");
        QTEST(t.indirimGorunur(), "indirimGorunur");
        QTEST(t.vergiGorunur(), "vergiGorunur");
        // The sums read the rows; the user's place in the grid stays.
        QCOMPARE(ds.CurrentRow(), imlec);
    }

    void kapaliSepetSifirdir()
    {
        TClientDataSet ds;
        const SepetToplamlari t = durnak::client::SepetToplamHesapla(ds, kTurkce);
        QCOMPARE(t.genel, 0.0);
        QVERIFY(!t.indirimGorunur() && !t.vergiGorunur());
    }

    void ozetMetni()
    {
        durnak::client::SiparisOzeti o;
        o.kullanici = QStringLiteral("DEMO");
        o.cari = QStringLiteral("Yıldız Oto Yedek Parça Ltd. Şti.");
        o.teslim = QStringLiteral("Kargo ile");
        o.kargoTuru = QStringLiteral("Anlaşmalı Kargo");
        o.tutar = QStringLiteral("1.234,50");
        o.kargo = QStringLiteral("Hızlı Kargo");
        o.aciklama = QStringLiteral("Birinci satır\nİkinci satır\r\nÜçüncü");
        const QString beklenen = QStringLiteral(
            "Kullanıcı: DEMO\r\n"
            "Cari     : Yıldız Oto Yedek Parça Ltd. Şti.\r\n"
            "Teslim   : Kargo ile\r\n"
            "Kargo    : Anlaşmalı Kargo\r\n"
            "Tutar    : 1.234,50\r\n"
            "Kargo    : Hızlı Kargo\r\n"
            "Açıklama : Birinci satır\r\nİkinci satır\r\nÜçüncü");
        QCOMPARE(durnak::client::SiparisOzetiMetni(o), beklenen);
        // Every value starts in the same column.
        for (const QString& satir : beklenen.split(QStringLiteral("\r\n")).mid(0, 7))
            QCOMPARE(satir.indexOf(QStringLiteral(": ")), 9);
    }

    void yardimcilar()
    {
        // Quantities shown in the change dialog: halves to even.
        const std::pair<double, int> yuvarlama[] = {{2.5, 2}, {3.5, 4}, {2.4, 2}, {2.6, 3}, {1.0, 1}};
        for (const auto& [deger, beklenen] : yuvarlama) QCOMPARE(durnak::client::YuvarlaCifteDogru(deger), beklenen);

        QCOMPARE(durnak::client::SilmeAciklamasi(QStringLiteral("869"), QStringLiteral("Fren Balatası")),
                 QStringLiteral("869-Fren Balatası"));

        double m = 0;
        QVERIFY(durnak::client::MiktarOku(QStringLiteral("12"), m, kTurkce));
        QCOMPARE(m, 12.0);
        QVERIFY(durnak::client::MiktarOku(QStringLiteral("2,5"), m, kTurkce));
        QCOMPARE(m, 2.5);
        QVERIFY(!durnak::client::MiktarOku(QStringLiteral("on iki"), m, kTurkce));
        QVERIFY(!durnak::client::MiktarOku(QString(), m, kTurkce));
    }
};

} // namespace

QObject* sepetHesapTesti()
{
    return new SepetHesapTesti;
}

#include "sepethesap_test.moc"
