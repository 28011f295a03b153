// The history windows as real widgets, offscreen, without a server: totals and footer of
// the order detail, the balance and price dialogs, the column rules per use and user type.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "durnak/data/datasethelpers.hpp"
#include "durnak/grid/durnakgrid.hpp"
#include "history/bakiyesiparisler.hpp"
#include "history/siparisayrinti.hpp"
#include "history/tumsiparisler.hpp"
#include "server/baglanti.hpp"
#include "testler.hpp"

using namespace durnak;
using namespace durnak::client;
using durnak::protocol::FieldType;

class PencerelerTesti : public QObject {
    Q_OBJECT

private slots:
    void siparisAyrintisiToplamVeDip()
    {
        Tayrinti_siparis pencere;
        pencere.sepet.AddFieldDef(QStringLiteral("TUTAR"), FieldType::Float64);
        pencere.sepet.AddFieldDef(QStringLiteral("INDIRIMTUTAR"), FieldType::Float64);
        pencere.sepet.CreateDataSet();
        for (double tutar : {0.004, 0.004, 4.49}) {
            pencere.sepet.Append();
            pencere.sepet.Fields(0).SetAsFloat(tutar);
            pencere.sepet.Fields(1).SetAsFloat(0);
            pencere.sepet.Post();
        }
        pencere.asagi->FDurumu = "Onaylandı";
        pencere.asagi->FBizimMesaj = "Yarın çıkar";
        pencere.asagi->FSaticiNotu = "  Fiyat sabit  ";
        pencere.SepetHesapla();
        // 0.004 twice rounds to nothing; 4.49 gives a general total below 10.
        QCOMPARE(pencere.tutar->aratoplaml->text(), QStringLiteral("4,49"));
        QCOMPARE(pencere.tutar->geneltoplaml->text(), QStringLiteral("05,30"));
        QCOMPARE(pencere.bilgiler->_sipdurun->text(), QStringLiteral("Onaylandı"));
        QCOMPARE(pencere.bilgiler->_bizim->toPlainText(),
                 QStringLiteral("Yarın çıkar\n----------------------\nSatıcı Notu:\n  Fiyat sabit  "));
        QCOMPARE(pencere.cxGrid2->footerText(QStringLiteral("VERILISTARIHI")), QStringLiteral("3"));

        // Blank or all-space seller notes add nothing.
        for (const char* not_ : {"", "   "}) {
            pencere.asagi->FSaticiNotu = not_;
            pencere.SepetHesapla();
            QCOMPARE(pencere.bilgiler->_bizim->toPlainText(), QStringLiteral("Yarın çıkar"));
        }
    }

    void excelKaydet()
    {
        Tayrinti_siparis pencere;
        pencere.sepet.AddFieldDef(QStringLiteral("BARKOD"), FieldType::WideString, 30);
        pencere.sepet.AddFieldDef(QStringLiteral("MIKTAR"), FieldType::Float64);
        pencere.sepet.CreateDataSet();
        pencere.sepet.Append();
        pencere.sepet.Fields(0).SetAsString(QStringLiteral("869123"));
        pencere.sepet.Fields(1).SetAsFloat(3);
        pencere.sepet.Post();

        QTemporaryDir klasor;
        QString verilen;
        const gecmis::KayitSorusu eski = gecmis::KayitSorusuAyarla([&](QWidget*) { return verilen; });
        // Cancelled: nothing written.
        pencere.Button2->click();
        QVERIFY(QDir(klasor.path()).isEmpty());
        // A name without extension gets the spreadsheet one.
        verilen = klasor.filePath(QStringLiteral("siparis"));
        pencere.Button2->click();
        gecmis::KayitSorusuAyarla(eski);
        QFile dosya(klasor.filePath(QStringLiteral("siparis.xlsx")));
        QVERIFY(dosya.open(QIODevice::ReadOnly));
        QCOMPARE(dosya.read(2), QByteArray("PK"));  // a zip container, as xlsx is
    }

    void bakiyeKutusu()
    {
        Tbakiyedegistir pencere;
        pencere.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pencere));
        pencere.adet->setFocus();

        // 0 typed: Enter does not close, the box still reads what was typed.
        pencere.adet->selectAll();
        QTest::keyClicks(pencere.adet, QStringLiteral("0"));
        QCOMPARE(pencere.adet->YazilanDeger(), 0);
        QTest::keyClick(pencere.adet, Qt::Key_Return);
        QVERIFY(pencere.isVisible());
        QCOMPARE(pencere.result(), 0);
        // "Değiştir" then sends the value pulled into the range.
        QCOMPARE(pencere.adet->AralikDegeri(), 1);

        // Not a whole number: not accepted while typing.
        pencere.adet->selectAll();
        QTest::keyClicks(pencere.adet, QStringLiteral("ab"));
        QCOMPARE(pencere.adet->YazilanDeger(), 1);

        pencere.adet->selectAll();
        QTest::keyClicks(pencere.adet, QStringLiteral("2500"));
        QCOMPARE(pencere.adet->AralikDegeri(), 1000);

        pencere.adet->selectAll();
        QTest::keyClicks(pencere.adet, QStringLiteral("7"));
        QTest::keyClick(pencere.adet, Qt::Key_Return);
        QCOMPARE(pencere.result(), int(QDialog::Accepted));
        QCOMPARE(pencere.adet->AralikDegeri(), 7);
    }

    void fiyatPenceresi_data()
    {
        QTest::addColumn<QString>("fiyat");
        QTest::addColumn<QString>("iskonto");
        QTest::addColumn<QString>("net");
        QTest::addColumn<QString>("kdv");
        QTest::newRow("10 % on 200") << "200" << "10" << "180,00" << "212,40";
        QTest::newRow("rate 0 shows the price") << "200" << "0" << "200,00" << "236,00";
        QTest::newRow("rate capped at 100") << "200" << "150" << "00,00" << "00,00";
        QTest::newRow("text that is not a number is 0") << "abc" << "10" << "00,00" << "00,00";
        QTest::newRow("typed with the TL suffix") << "1.250,50 TL" << "0" << "1.250,50" << "1.475,59";
    }

    void fiyatPenceresi()
    {
        QFETCH(QString, fiyat);
        QFETCH(QString, iskonto);
        QFETCH(QString, net);
        QFETCH(QString, kdv);
        Tfiyatdegistir pencere;
        pencere._fiyat->DegerYaz(1);
        QCOMPARE(pencere._fiyat->text(), QStringLiteral("1,00 TL"));
        pencere._fiyat->clear();
        QTest::keyClicks(pencere._fiyat, fiyat);
        pencere._iskonto->clear();
        QTest::keyClicks(pencere._iskonto, iskonto);
        QCOMPARE(pencere.LBLNET->text(), net);
        QCOMPARE(pencere.LABELKDV->text(), kdv);
    }

    void bakiyeKolonlari_data()
    {
        QTest::addColumn<int>("kullanim");
        QTest::addColumn<int>("tip");
        // ILKFIYAT, Fiyat Değiştir, ELDEKI, ALINANSIPARIS, VERILENSIPARIS, DURUM
        QTest::addColumn<QString>("gorunen");
        const int sekme = int(BakiyeKullanimi::Sekme), modal = int(BakiyeKullanimi::Modal),
                  konsol = int(BakiyeKullanimi::Konsol);
        QTest::newRow("tab, type 1") << sekme << 1 << "001111";
        QTest::newRow("tab, type 2") << sekme << 2 << "111111";
        QTest::newRow("tab, type 3") << sekme << 3 << "000000";
        QTest::newRow("tab, type 4") << sekme << 4 << "000001";
        QTest::newRow("modal, type 1") << modal << 1 << "001001";
        QTest::newRow("modal, type 2") << modal << 2 << "111001";
        QTest::newRow("modal, type 3") << modal << 3 << "000000";
        QTest::newRow("console, type 1") << konsol << 1 << "001111";
        QTest::newRow("console, type 2") << konsol << 2 << "111111";
    }

    void bakiyeKolonlari()
    {
        QFETCH(int, kullanim);
        QFETCH(int, tip);
        QFETCH(QString, gorunen);
        TBaglanti bag;
        protocol::TSonucBilgisi bilgi;
        bilgi.FMusteriTipi = tip;
        Tbakiyesiparisler pencere(bag, bilgi);
        pencere.KullanimaGoreAyarla(static_cast<BakiyeKullanimi>(kullanim));
        auto g = [&](const char* alan) { return pencere.cxGrid2->isColumnVisible(QString::fromLatin1(alan)); };
        const QString okunan = QString("%1%2%3%4%5%6")
                                   .arg(int(g("ILKFIYAT")))
                                   .arg(int(pencere.F1->isVisible()))
                                   .arg(int(g("ELDEKI")))
                                   .arg(int(g("ALINANSIPARIS")))
                                   .arg(int(g("VERILENSIPARIS")))
                                   .arg(int(g("DURUM")));
        QCOMPARE(okunan, gorunen);
        QVERIFY(pencere.Button1->text() == QStringLiteral("Kapat"));
    }

    void bosBakiyeListesi()
    {
        // No lines: the change entries do nothing (no question is asked, nothing is sent on
        // a connection that is not even configured).
        TBaglanti bag;
        protocol::TSonucBilgisi bilgi;
        Tbakiyesiparisler pencere(bag, bilgi);
        pencere.B1Click();
        pencere.B2Click();
        pencere.F1Click();
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }

    void tumSiparislerKolonlari()
    {
        TBaglanti bag;
        protocol::TSonucBilgisi bilgi;
        const std::pair<int, QString> durumlar[] = {{1, "11"}, {2, "11"}, {3, "00"}, {4, "01"}};
        for (const auto& [tip, beklenen] : durumlar) {
            bilgi.FMusteriTipi = tip;
            Ttumsiparisler pencere(bag, bilgi, 0);
            const QString okunan = QString::number(int(pencere.cxGrid1->isColumnVisible(QStringLiteral("ELDEKI")))) +
                                   QString::number(int(pencere.cxGrid1->isColumnVisible(QStringLiteral("DURUM"))));
            QCOMPARE(okunan, beklenen);
            QCOMPARE(pencere.windowTitle(), QStringLiteral("Sipariş Hareketleri"));
        }
    }
};

QObject* pencerelerTesti() { return new PencerelerTesti; }

#include "pencereler_test.moc"
