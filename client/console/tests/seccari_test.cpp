#include <QAction>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "app/beklesinu.hpp"
#include "console/seccariu.hpp"
#include "console/tarihsecu.hpp"
#include "durnak/data/datasethelpers.hpp"
#include "durnak/grid/durnakgrid.hpp"
#include "ortak.hpp"
#include "server/proxim.hpp"
#include "testler.hpp"

using namespace durnak::client;
using namespace durnak::testler;
using durnak::protocol::Column;
using durnak::protocol::FieldType;
using durnak::protocol::Table;

namespace {

// The console as an opener hands it over, on a representative's session.
struct Konsol {
    Konsol(std::uint16_t port) : bilgi(temsilciOturumu(bag, port))
    {
        pencere.bag = &bag;
        pencere.bilgim = &bilgi;
        pencere.ProgramiBitir = [this](int kod) { bitisler << kod; };
    }

    QSet<int> listelenenler() const
    {
        QSet<int> kume;
        const int sutun = pencere.CARILER.FieldIndex("CARINO");
        for (int i = 0; i < pencere.CARILER.RecordCount(); ++i) kume.insert(pencere.CARILER.value(i, sutun).toInt());
        return kume;
    }

    int satirOf(int carino) const
    {
        const int sutun = pencere.CARILER.FieldIndex("CARINO");
        for (int i = 0; i < pencere.CARILER.RecordCount(); ++i)
            if (pencere.CARILER.value(i, sutun).toInt() == carino) return i;
        return -1;
    }

    void odakla(int carino)
    {
        const int satir = satirOf(carino);
        QVERIFY(satir >= 0);
        pencere.cxGrid1->focusRow(pencere.cxGrid1->gridModel()->rowOfSource(satir));
        QCOMPARE(pencere.odakSatiri(), satir);
    }

    TBaglanti bag;
    TSonucBilgisi bilgi;
    Tseccari pencere;
    QList<int> bitisler;
};

// A customer list that the server would never send: for the pick rule.
Table yerelCariler(const QList<QVariant>& carinolar)
{
    Table t({Column{"CARINO", FieldType::Int32}, Column{"CARIKOD", FieldType::WideString, 25},
             Column{"CARIADI", FieldType::WideString, 100}, Column{"SATICISI", FieldType::WideString, 50}});
    for (int i = 0; i < carinolar.size(); ++i) {
        const auto r = t.appendRow();
        if (carinolar[i].isValid()) t.setInt(r, 0, carinolar[i].toInt());
        t.setText(r, 1, "K" + std::to_string(i));
        t.setText(r, 2, "Ad " + std::to_string(i));
        t.setText(r, 3, "Satıcı");
    }
    return t;
}

} // namespace

class SeccariTesti : public KonsolSunucusuTesti {
    Q_OBJECT

private slots:
    void aramaMetniHazirlanir_data()
    {
        QTest::addColumn<QString>("yazilan");
        QTest::addColumn<QString>("giden");
        QTest::newRow("boş") << "" << "";
        QTest::newRow("yalnız boşluk") << "   " << "";
        QTest::newRow("çevre boşlukları") << "  YILDIZ OTO  " << "YILDIZ OTO";
        QTest::newRow("noktasız ı") << "kılıç" << "kiliç";
        QTest::newRow("büyük I kalır") << "IŞIK ı" << "IŞIK i";
        QTest::newRow("sekme ve satır sonu") << "\tFREN\n" << "FREN";
    }

    void aramaMetniHazirlanir()
    {
        QFETCH(QString, yazilan);
        QFETCH(QString, giden);
        QCOMPARE(Tseccari::AramaMetni(yazilan), giden);
    }

    void yazilanHarflerBuyukVeEnterSunucuyaSorar()
    {
        Konsol k(sunucu_->port());
        k.pencere.show();
        QVERIFY(QTest::qWaitForWindowExposed(&k.pencere));
        QCOMPARE(QApplication::focusWidget(), k.pencere.NEdit1);
        for (const QChar harf : QString("yıldız i"))
            QTest::sendKeyEvent(QTest::Click, k.pencere.NEdit1, Qt::Key_unknown, QString(harf), Qt::NoModifier);
        QCOMPARE(k.pencere.NEdit1->text(), QString("YILDIZ İ"));

        // Blanks around the text and a dotless ı pasted in still find the customer.
        k.pencere.NEdit1->setText("   yıldız oto  ");
        QTest::keyClick(k.pencere.NEdit1, Qt::Key_Return);
        QSet<int> beklenen;
        CagriC(k.bag, [&](TServerMethods1Client& p) {
            const Table& t = p.CariAra(Kopya(k.bilgi), "YILDIZ OTO");
            for (std::size_t i = 0; i < t.rowCount(); ++i) beklenen.insert(int(t.intAt(i, 0)));
        });
        QVERIFY(beklenen.contains(1001));
        QCOMPARE(k.listelenenler(), beklenen);
        QCOMPARE(k.pencere.NEdit1->selectedText(), k.pencere.NEdit1->text());
        QVERIFY(k.pencere.isVisible());  // Enter does not close the window
        QCOMPARE(k.pencere.result(), 0);
    }

    void tumCarilerBosMetinleListelenirIlkSatirOdaklanir()
    {
        Konsol k(sunucu_->port());
        k.pencere.NEdit1->setText("HİÇBİRİNE UYMAZ");
        k.pencere.Ara();
        QCOMPARE(k.pencere.CARILER.RecordCount(), 0);
        QVERIFY(k.pencere.GroupBox1->isHidden());

        k.pencere.sBitBtn2->click();
        QVERIFY(k.pencere.NEdit1->text().isEmpty());
        const QSet<int> hepsi = sayiKumesi(sorgu(sunucu_->databasePath(), "SELECT carino FROM customers WHERE active = 1"));
        QCOMPARE(k.listelenenler(), hepsi);
        QCOMPARE(k.pencere.cxGrid1->focusedRow(), 0);
        QVERIFY(!k.pencere.GroupBox1->isHidden());
        QCOMPARE(k.pencere.cxGrid1->footerText("CARIKOD"), QString::number(hepsi.size()));
    }

    void sayaclarVeDurumListeleri_data()
    {
        QTest::addColumn<QString>("dugme");
        QTest::addColumn<int>("durum");  // the stored order status the button stands for
        QTest::newRow("alındı") << "alinditus" << 0;
        QTest::newRow("onaylandı") << "onaylanditus" << 1;
        QTest::newRow("görüldü") << "goruldutus" << 5;
        QTest::newRow("parçalı hazırlandı") << "parcalihazirlandi" << 2;
        QTest::newRow("hazırlandı") << "hazirlanditus" << 4;
        QTest::newRow("sevk edildi") << "sevktus" << 3;
    }

    void sayaclarVeDurumListeleri()
    {
        QFETCH(QString, dugme);
        QFETCH(int, durum);
        Konsol k(sunucu_->port());
        k.pencere.TusSonuclari();
        auto* d = k.pencere.findChild<QToolButton*>(dugme);
        QVERIFY(d);
        const QString adet = sorgu(sunucu_->databasePath(), QString("SELECT COUNT(*) FROM orders WHERE status = %1").arg(durum));
        QCOMPARE(d->text(), adet);

        d->click();
        const QSet<int> beklenen =
            sayiKumesi(sorgu(sunucu_->databasePath(), QString("SELECT DISTINCT carino FROM orders WHERE status = %1").arg(durum)));
        QVERIFY(!beklenen.isEmpty());
        QCOMPARE(k.listelenenler(), beklenen);
        // Each state of the fixture has its own set of customers, so a button bound to
        // the wrong state shows a different list.
        for (int baska = 0; baska <= 5; ++baska) {
            if (baska == durum) continue;
            QVERIFY(sayiKumesi(sorgu(sunucu_->databasePath(),
                                     QString("SELECT DISTINCT carino FROM orders WHERE status = %1").arg(baska))) !=
                    beklenen);
        }
    }

    void sepetSayaciVeSepettekiCariler()
    {
        Konsol k(sunucu_->port());
        k.pencere.SepetSayisiYaz();
        QCOMPARE(k.pencere.sepettus->text(), QString());  // 0: no number

        // One line in the basket of customer 1003, made as the basket makes it.
        TSonucBilgisi icin = k.bilgi;
        icin.FCARINO = 1003;
        CagriC(k.bag, [&](TServerMethods1Client& p) {
            QCOMPARE(p.SepetEkle2(Kopya(icin), 1003, 5, "", "", 2, 20, 10, 0, icin.FSirano, 0, 0, 0, 0), 1);
        });
        k.pencere.SepetSayisiYaz();
        QCOMPARE(k.pencere.sepettus->text(), QString("1"));

        k.pencere.NEdit1->setText("ESKİ");
        k.pencere.sepettus->click();
        QCOMPARE(k.listelenenler(), QSet<int>({1003}));
        QCOMPARE(k.pencere.NEdit1->selectedText(), QString("ESKİ"));

        CagriC(k.bag, [&](TServerMethods1Client& p) { p.SepetHepsiniSil(Kopya(icin)); });
    }

    void kartOdaklananCariyiGosterir()
    {
        Konsol k(sunucu_->port());
        k.pencere.sBitBtn2Click();
        k.odakla(1001);
        const QStringList db =
            sorgu(sunucu_->databasePath(), "SELECT code, name, city, tax_office, tax_no, phone1, email, payment_days"
                               " FROM customers WHERE carino = 1001")
                .split('|');
        QCOMPARE(k.pencere.carikod->text(), db[0]);
        QCOMPARE(k.pencere.cariadi->text(), db[1]);
        QCOMPARE(k.pencere.ilce->text(), "Merkez/" + db[2]);
        QCOMPARE(k.pencere.vergi->text(), db[3] + "/" + db[4]);
        QCOMPARE(k.pencere.telefon1->text(), db[5]);
        QCOMPARE(k.pencere.email->text(), db[6]);
        QCOMPARE(k.pencere.vade->text(), db[7]);
        // "<balance> <B|A>" with the money format.
        QVERIFY2(QRegularExpression("^[0-9.]+,[0-9]{2} [AB]$").match(k.pencere.bakiye->text()).hasMatch(),
                 qPrintable(k.pencere.bakiye->text()));
        QVERIFY(!k.pencere.GroupBox1->isHidden());

        // Another row refreshes the card.
        k.odakla(kKucukCari);
        QCOMPARE(k.pencere.carikod->text(), QString("120.01.0100"));
        QVERIFY(k.pencere.ilce->text().endsWith("/Ankara"));
    }

    void secimYalnizPozitifCarinoIle_data()
    {
        QTest::addColumn<QVariant>("carino");
        QTest::addColumn<QString>("nasil");
        QTest::addColumn<bool>("secildi");
        QTest::newRow("pozitif, Seç") << QVariant(1005) << "seç" << true;
        QTest::newRow("pozitif, çift tık") << QVariant(1005) << "çift tık" << true;
        QTest::newRow("pozitif, Enter") << QVariant(1005) << "enter" << true;
        QTest::newRow("sıfır") << QVariant(0) << "seç" << false;
        QTest::newRow("negatif") << QVariant(-3) << "çift tık" << false;
        QTest::newRow("boş") << QVariant() << "enter" << false;
    }

    void secimYalnizPozitifCarinoIle()
    {
        QFETCH(QVariant, carino);
        QFETCH(QString, nasil);
        QFETCH(bool, secildi);
        TSonucBilgisi bilgi;
        bilgi.FCARINO = 1001;
        bilgi.Fcarikod = "ESKİ";
        bilgi.FCariAdi = "Eski Cari";
        const TSonucBilgisi once = bilgi;
        Tseccari pencere;
        pencere.bilgim = &bilgi;
        pencere.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pencere));

        // No row focused yet: nothing happens.
        pencere.Button1->click();
        QCOMPARE(pencere.result(), 0);

        TabloyaKopyala(yerelCariler({QVariant(1002), carino}), pencere.CARILER);
        pencere.cxGrid1->focusRow(1);
        if (nasil == "çift tık") {
            const QModelIndex hucre = pencere.cxGrid1->model()->index(1, pencere.cxGrid1->visibleColumns().front());
            const QPoint yer = pencere.cxGrid1->visualRect(hucre).center();
            QVERIFY(pencere.cxGrid1->viewport()->rect().contains(yer));
            // The press of the first click makes the second one a double-click on the row.
            QTest::mouseClick(pencere.cxGrid1->viewport(), Qt::LeftButton, {}, yer);
            QTest::mouseDClick(pencere.cxGrid1->viewport(), Qt::LeftButton, {}, yer);
        } else if (nasil == "enter") {
            QTest::keyClick(pencere.cxGrid1, Qt::Key_Return);
        } else {
            pencere.Button1->click();
        }
        if (secildi) {
            QCOMPARE(pencere.result(), int(QDialog::Accepted));
            QCOMPARE(bilgi.FCARINO, carino.toInt());
            QCOMPARE(bilgi.Fcarikod, std::string("K1"));
            QCOMPARE(bilgi.FCariAdi, std::string("Ad 1"));
        } else {
            QVERIFY(pencere.isVisible());
            QCOMPARE(pencere.result(), 0);
            QVERIFY(bilgi == once);
        }
    }

    void vazgecProgramiBitirirSecimYapmaz()
    {
        Konsol k(sunucu_->port());
        const TSonucBilgisi once = k.bilgi;
        k.pencere.show();
        k.pencere.sBitBtn2Click();
        k.pencere.Button2->click();
        QCOMPARE(k.bitisler, QList<int>({0}));
        QCOMPARE(k.pencere.result(), int(QDialog::Rejected));
        QVERIFY(k.bilgi == once);
    }

    void bakiyelerBaskaCariIcinKopyaylaAcilir()
    {
        Konsol k(sunucu_->port());
        const TSonucBilgisi once = k.bilgi;
        QList<TSonucBilgisi> acilanlar;
        QList<QWidget*> sahipler;
        k.pencere.BakiyeleriGoster = [&](QWidget* sahip, TBaglanti& bag, const TSonucBilgisi& bilgi) {
            QCOMPARE(&bag, &k.bag);
            acilanlar << bilgi;
            sahipler << sahip;
        };
        k.pencere.B1->trigger();  // no row: nothing
        QVERIFY(acilanlar.isEmpty());

        k.pencere.sBitBtn2Click();
        k.odakla(1006);
        k.pencere.B1->trigger();
        QCOMPARE(acilanlar.size(), 1);
        TSonucBilgisi beklenen = once;
        beklenen.FCARINO = 1006;
        QVERIFY(acilanlar[0] == beklenen);
        QCOMPARE(sahipler[0], &k.pencere);
        QVERIFY(k.bilgi == once);  // the session record itself is untouched
    }

    void raporlarBelgelerKlasorune_data()
    {
        QTest::addColumn<QString>("giris");
        QTest::addColumn<int>("satirCarino");
        QTest::addColumn<int>("musteriTipi");
        QTest::addColumn<QString>("dosya");
        QTest::addColumn<bool>("tekTarih");
        QTest::newRow("cari özeti") << "C1" << kKucukCari << 1 << "rapor106.pdf" << true;
        QTest::newRow("toplu alacak vadeleri") << "CariTopluAlacakVadeleri1" << 1005 << 1 << "rapor6.pdf" << true;
        // Asked for the session's customer (1001), not the row's.
        QTest::newRow("alış satış tablosu") << "CariAlSatTablosuSatcl1" << kKucukCari << 1 << "rapor1008.pdf" << false;
    }

    void raporlarBelgelerKlasorune()
    {
        QFETCH(QString, giris);
        QFETCH(int, satirCarino);
        QFETCH(int, musteriTipi);
        QFETCH(QString, dosya);
        QFETCH(bool, tekTarih);
        Konsol k(sunucu_->port());
        QCOMPARE(k.bilgi.FCARINO, durnak::testing::kDemoCustomer);
        k.bilgi.FMusteriTipi = musteriTipi;
        QTemporaryDir klasor;
        k.pencere.BelgeKlasoru = klasor.path();
        const QString yol = QDir(klasor.path()).filePath(dosya);
        {
            QFile eski(yol);
            QVERIFY(eski.open(QIODevice::WriteOnly));
            eski.write("eski rapor");
        }
        QStringList acilanlar;
        k.pencere.BelgeAc = [&](const QString& p) { acilanlar << p; };
        int sorular = 0;
        bool ikinciGizli = !tekTarih;
        k.pencere.TarihSor = [&](Ttarihsec& d) {
            ++sorular;
            ikinciGizli = d.DateTimePicker2->isHidden() && d.Label2->isHidden();
            d.DateTimePicker1->setDate(QDate::currentDate().addYears(-1));
            return true;
        };

        k.pencere.sBitBtn2Click();
        k.odakla(satirCarino);
        k.pencere.findChild<QAction*>(giris)->trigger();

        QCOMPARE(sorular, 1);
        QCOMPARE(ikinciGizli, tekTarih);
        QCOMPARE(acilanlar, QStringList({yol}));
        QFile pdf(yol);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        const QByteArray icerik = pdf.readAll();
        QVERIFY(icerik.startsWith("%PDF"));
        QCOMPARE(QDir(klasor.path()).entryList(QDir::Files), QStringList({dosya}));
    }

    void raporIptalVeSatirsizGirisler()
    {
        Konsol k(sunucu_->port());
        QTemporaryDir klasor;
        k.pencere.BelgeKlasoru = klasor.path();
        QStringList acilanlar;
        k.pencere.BelgeAc = [&](const QString& p) { acilanlar << p; };
        int sorular = 0;
        k.pencere.TarihSor = [&](Ttarihsec&) {
            ++sorular;
            return false;
        };
        // Without a row the two customer entries ask nothing.
        k.pencere.C1->trigger();
        k.pencere.CariAlSatTablosuSatcl1->trigger();
        QCOMPARE(sorular, 0);

        // A cancelled date dialog fetches nothing and keeps an older file.
        const QString yol = QDir(klasor.path()).filePath("rapor6.pdf");
        {
            QFile eski(yol);
            QVERIFY(eski.open(QIODevice::WriteOnly));
            eski.write("eski");
        }
        k.pencere.CariTopluAlacakVadeleri1->trigger();
        QCOMPARE(sorular, 1);
        QVERIFY(acilanlar.isEmpty());
        QFile eski(yol);
        QVERIFY(eski.open(QIODevice::ReadOnly));
        QCOMPARE(eski.readAll(), QByteArray("eski"));
    }

    // A report the server refuses (a regional representative asking for another
    // representative's customer): no message, the older file is gone and nothing opens.
    void reddedilenRaporSessizEskiDosyaSilinir()
    {
        TBaglanti bag;
        TSonucBilgisi bilgi = oturumAc(bag, sunucu_->port(), durnak::testing::kRegionComputerId, "BOLGE");
        QCOMPARE(bilgi.FMusteriTipi, 2);
        const int baskasininCarisi =
            sorgu(sunucu_->databasePath(), "SELECT carino FROM customers WHERE rep_id <> 2 ORDER BY carino LIMIT 1").toInt();
        Tseccari pencere;
        pencere.bag = &bag;
        pencere.bilgim = &bilgi;
        QTemporaryDir klasor;
        pencere.BelgeKlasoru = klasor.path();
        QStringList acilanlar;
        pencere.BelgeAc = [&](const QString& p) { acilanlar << p; };
        pencere.TarihSor = [](Ttarihsec&) { return true; };
        const QString yol = Tseccari::RaporDosyasi(klasor.path(), 6, baskasininCarisi);
        {
            QFile eski(yol);
            QVERIFY(eski.open(QIODevice::WriteOnly));
            eski.write("eski rapor");
        }
        TabloyaKopyala(yerelCariler({QVariant(baskasininCarisi)}), pencere.CARILER);
        pencere.cxGrid1->focusRow(0);

        QStringList hatalar;
        auto eski = HataGostericiAyarla([&](const QString& m) { hatalar << m; });
        pencere.C1->trigger();
        HataGostericiAyarla(eski);

        QVERIFY(hatalar.isEmpty());
        QVERIFY(acilanlar.isEmpty());
        QVERIFY(!QFile::exists(yol));
    }

    void raporDosyaAdi_data()
    {
        QTest::addColumn<int>("raporno");
        QTest::addColumn<int>("carino");
        QTest::addColumn<QString>("ad");
        QTest::newRow("6 + 100") << 6 << 100 << "rapor106.pdf";
        QTest::newRow("6 + 0") << 6 << 0 << "rapor6.pdf";
        QTest::newRow("7 + 1001") << 7 << 1001 << "rapor1008.pdf";
        QTest::newRow("toplam taşmaz") << 7 << 2147483647 << "rapor2147483654.pdf";
    }

    void raporDosyaAdi()
    {
        QFETCH(int, raporno);
        QFETCH(int, carino);
        QFETCH(QString, ad);
        QCOMPARE(Tseccari::RaporDosyasi("/belgeler", raporno, carino), "/belgeler/" + ad);
    }

    void tarihDialogu()
    {
        Ttarihsec d;
        QCOMPARE(d.windowTitle(), QString("Tarih Seç"));
        QCOMPARE(d.Tarih1(), QDate::currentDate());
        QCOMPARE(d.Tarih2(), QDate::currentDate());
        QCOMPARE(d.Label1->text(), QString("Tarih 1:"));
        QCOMPARE(d.Button1->text(), QString("Seç"));

        modaldaCalistir<Ttarihsec>([](Ttarihsec& p) { p.Button1->click(); });
        QCOMPARE(d.exec(), int(QDialog::Accepted));
        modaldaCalistir<Ttarihsec>([](Ttarihsec& p) { p.close(); });
        QCOMPARE(d.exec(), int(QDialog::Rejected));
    }
};

QObject* seccariTesti() { return new SeccariTesti; }

#include "seccari_test.moc"
