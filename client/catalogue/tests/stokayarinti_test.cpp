#include <QBuffer>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>

#include "catalogue/stokayarinti.hpp"
#include "durnak/data/numberformat.hpp"
#include "ortam.hpp"
#include "server_process.hpp"
#include "testler.hpp"

using namespace durnak::client;
using durnak::testler::GorulenMesaj;

namespace {

// A real picture padded with trailing bytes (which decoders ignore) to exactly `boy` bytes.
QByteArray resimBaytlari(int boy)
{
    QImage resim(16, 12, QImage::Format_RGB32);
    resim.fill(QColor(200, 40, 40));
    QByteArray baytlar;
    QBuffer tampon(&baytlar);
    tampon.open(QIODevice::WriteOnly);
    resim.save(&tampon, "JPEG");
    if (baytlar.size() > boy) qFatal("test picture too large");
    baytlar.append(QByteArray(boy - baytlar.size(), '\0'));
    return baytlar;
}

// Shows the dialog and waits until it is the active window (the picture download and the
// quantity's selection start there).
void goster(Tstokayarinti& d)
{
    d.show();
    d.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&d));
}

} // namespace

class StokAyarintiTesti : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey)); }

    void indirimlerSirayla_data()
    {
        QTest::addColumn<double>("brut");
        QTest::addColumn<QList<double>>("oranlar");
        QTest::addColumn<double>("net");
        QTest::addColumn<double>("indirim");
        QTest::newRow("10 then 5 is 14,5 in all") << 100.0 << QList<double>{10, 5, 0, 0} << 85.5 << 14.5;
        QTest::newRow("no rates") << 250.0 << QList<double>{0, 0, 0, 0} << 250.0 << 0.0;
        QTest::newRow("negative rate is no surcharge") << 100.0 << QList<double>{-10, 0, 0, 0} << 100.0 << 0.0;
        QTest::newRow("zero between rates is skipped") << 100.0 << QList<double>{10, 0, 10, 0} << 81.0 << 19.0;
        QTest::newRow("four rates in order") << 1000.0 << QList<double>{50, 50, 50, 50} << 62.5 << 937.5;
        QTest::newRow("100 percent leaves nothing") << 80.0 << QList<double>{100, 10, 0, 0} << 0.0 << 80.0;
    }
    void indirimlerSirayla()
    {
        QFETCH(double, brut);
        QFETCH(QList<double>, oranlar);
        QFETCH(double, net);
        QFETCH(double, indirim);
        const IndirimSonucu s = IndirimUygula(brut, oranlar[0], oranlar[1], oranlar[2], oranlar[3]);
        QCOMPARE(s.net, net);
        QCOMPARE(s.indirim, indirim);
    }

    // TutarHesapla through the dialog's own boxes, as the user sees them (Turkish locale).
    void tutarlar_data()
    {
        QTest::addColumn<double>("fiyat");
        QTest::addColumn<QString>("adet");
        QTest::addColumn<double>("kdv");
        QTest::addColumn<QList<double>>("oranlar");
        QTest::addColumn<QString>("indirim");
        QTest::addColumn<double>("netBirim");
        QTest::addColumn<QString>("kdvDahil");
        QTest::addColumn<QString>("tutar");
        QTest::newRow("100 x 3, 10+5, VAT 20") << 100.0 << "3" << 20.0 << QList<double>{10, 5, 0, 0} << "43,50"
                                               << 85.5 << "102,60" << "307,80";
        QTest::newRow("10 x 3, no discount, VAT 18") << 10.0 << "3" << 18.0 << QList<double>{0, 0, 0, 0} << "0,00"
                                                     << 10.0 << "11,80" << "35,40";
        QTest::newRow("quantity 0") << 10.0 << "0" << 18.0 << QList<double>{10, 0, 0, 0} << "0,00" << 0.0 << "0,00"
                                    << "0,00";
        // The total is the rounded VAT-inclusive unit price times the quantity (3 x 0,39), not
        // the rounded VAT-inclusive net of the line (1,00 x 1,18).
        QTest::newRow("rounded unit price times quantity") << 0.3333 << "3" << 18.0 << QList<double>{0, 0, 0, 0}
                                                           << "0,00" << 0.33 << "0,39" << "1,17";
        QTest::newRow("negative rate skipped") << 50.0 << "2" << 0.0 << QList<double>{-20, 0, 0, 0} << "0,00"
                                               << 50.0 << "50,00" << "100,00";
        QTest::newRow("thousands") << 1234.5 << "10" << 20.0 << QList<double>{10, 0, 0, 0} << "1.234,50" << 1111.05
                                   << "1.333,26" << "13.332,60";
    }
    void tutarlar()
    {
        QFETCH(double, fiyat);
        QFETCH(QString, adet);
        QFETCH(double, kdv);
        QFETCH(QList<double>, oranlar);
        Tstokayarinti d;
        d.kdvoran = kdv;
        d.ind1 = oranlar[0];
        d.ind2 = oranlar[1];
        d.ind3 = oranlar[2];
        d.ind4 = oranlar[3];
        d.SetBirimFiyat(fiyat);
        d.adet->findChild<QLineEdit*>()->setText(adet);
        d.TutarHesapla();
        QTEST(d.indtutar->text(), "indirim");
        QTEST(d.Sonuc().netBirim, "netBirim");
        QTEST(d.kdvdahiltutar->text(), "kdvDahil");
        QTEST(d.geneltutar->text(), "tutar");
    }

    void adetMetniTamSayiDegilse1Sayilir()
    {
        QCOMPARE(AdetDegeri(QStringLiteral("7")), 7);
        QCOMPARE(AdetDegeri(QStringLiteral("0")), 0);
        QCOMPARE(AdetDegeri(QStringLiteral("")), 1);
        QCOMPARE(AdetDegeri(QStringLiteral("2,5")), 1);
        QCOMPARE(AdetDegeri(QStringLiteral("abc")), 1);
    }

    // The amounts the opener may have written before showing are replaced; typing in the
    // quantity and in an unlocked price recomputes at once.
    void canliHesap()
    {
        Tstokayarinti d;
        d.kdvoran = 20;
        d.ind1 = 10;
        d.SetBirimFiyat(100);
        d.indtutar->setText(QStringLiteral("999"));
        d.kdvdahiltutar->setText(QStringLiteral("999"));
        goster(d);
        QCOMPARE(d.indtutar->text(), QStringLiteral("10,00"));
        QCOMPARE(d.kdvdahiltutar->text(), QStringLiteral("108,00"));
        QCOMPARE(d.adet->findChild<QLineEdit*>()->selectedText(), QStringLiteral("1"));

        QTest::keyClicks(d.adet->findChild<QLineEdit*>(), QStringLiteral("4"));
        QCOMPARE(d.geneltutar->text(), QStringLiteral("432,00"));

        QVERIFY(d.birimfiyat->isReadOnly());
        d.FiyatDuzenlenebilir(true);
        d.birimfiyat->setFocus();
        d.birimfiyat->selectAll();
        QTest::keyClicks(d.birimfiyat, QStringLiteral("50"));
        QCOMPARE(d.BirimFiyat(), 50.0);
        QCOMPARE(d.geneltutar->text(), QStringLiteral("216,00"));
    }

    void enterTuslari()
    {
        {
            Tstokayarinti d;
            d.FiyatDuzenlenebilir(true);
            goster(d);
            QTest::keyClick(d.birimfiyat, Qt::Key_Return);
            QTest::keyClick(d.birimfiyat, Qt::Key_Enter);
            QVERIFY2(d.isVisible(), "Enter in the price box must not close the dialog");
            QTest::keyClick(d.adet->findChild<QLineEdit*>(), Qt::Key_Return);
            QVERIFY(!d.isVisible());
            QCOMPARE(d.result(), Tstokayarinti::mrOk);
        }
        {
            Tstokayarinti d;
            QTimer::singleShot(0, &d, [&d] { d.ParcaliTus2->click(); });
            QCOMPARE(d.ShowModal(), Tstokayarinti::mrCancel);
        }
        {
            Tstokayarinti d;
            QTimer::singleShot(0, &d, [&d] { d.ParcaliTus1->click(); });
            QCOMPARE(d.ShowModal(), Tstokayarinti::mrOk);
        }
        {
            Tstokayarinti d;
            QTimer::singleShot(0, &d, [&d] { d.close(); });
            QCOMPARE(d.ShowModal(), Tstokayarinti::mrCancel);
        }
    }

    // A quantity of 0 previews 0 but is no order line: OK asks for a valid quantity and keeps
    // the dialog open.
    void sifirAdetleEklenmez()
    {
        Tstokayarinti d;
        d.SetBirimFiyat(10);
        goster(d);
        d.adet->findChild<QLineEdit*>()->selectAll();
        QTest::keyClicks(d.adet->findChild<QLineEdit*>(), QStringLiteral("0"));
        QCOMPARE(d.AdetMetni(), QStringLiteral("0"));
        QCOMPARE(d.geneltutar->text(), QStringLiteral("0,00"));

        GorulenMesaj mesaj;
        durnak::testler::mesajiCevapla(mesaj, [](QMessageBox& k) { durnak::testler::dugmeyeBas(k, "Tamam"); });
        QTest::keyClick(d.adet->findChild<QLineEdit*>(), Qt::Key_Return);
        QVERIFY(mesaj.goruldu);
        QVERIFY(mesaj.metin.contains(QStringLiteral("Adet")));
        QVERIFY(d.isVisible());

        d.adet->findChild<QLineEdit*>()->selectAll();
        QTest::keyClicks(d.adet->findChild<QLineEdit*>(), QStringLiteral("2"));
        QTest::keyClick(d.adet->findChild<QLineEdit*>(), Qt::Key_Return);
        QVERIFY(!d.isVisible());
        QCOMPARE(d.result(), Tstokayarinti::mrOk);
        QCOMPARE(d.Miktar(), 2);
    }

    void basliklar_data()
    {
        QTest::addColumn<int>("kaynak");
        QTest::addColumn<int>("k");
        QTest::addColumn<QString>("label2");
        QTest::addColumn<QString>("indirimoran");
        const auto s = [](StokKaynagi k) { return static_cast<int>(k); };
        QTest::newRow("basket line") << s(StokKaynagi::SepetSatiri) << 1 << "Fiyat:" << "İndirim: %10+5";
        QTest::newRow("stock list K=0") << s(StokKaynagi::StokListesi) << 0 << "Fiyat:" << "İndirim: %10+5";
        QTest::newRow("stock list K>0") << s(StokKaynagi::StokListesi) << 2 << "Kampanyalı Fiyat:"
                                        << "Kampanyalı 10+5";
        QTest::newRow("new items K=0") << s(StokKaynagi::YeniStoklar) << 0 << "Fiyat:" << "İndirim:  % 10+5";
        QTest::newRow("new items K>0") << s(StokKaynagi::YeniStoklar) << 1 << "Kampanyalı Fiyat:"
                                       << "Kampanyalı 10+5";
        QTest::newRow("campaign list") << s(StokKaynagi::Kampanyali) << 0 << "Kampanyalı Fiyat:"
                                       << "Kampanyalı 10+5";
    }
    void basliklar()
    {
        QFETCH(int, kaynak);
        QFETCH(int, k);
        Tstokayarinti d;
        QCOMPARE(d.Label2->text(), QStringLiteral("Fiyat:"));
        QCOMPARE(d.indirimoran->text(), QStringLiteral("İndirim:"));
        d.BaslikAyarla(static_cast<StokKaynagi>(kaynak), k, QStringLiteral("10+5"));
        QTEST(d.Label2->text(), "label2");
        QTEST(d.indirimoran->text(), "indirimoran");
    }

    // Bodies under 1200 bytes are dropped; 1200 bytes and more are shown. The request asks
    // the picture service for the dialog's stock number.
    void resimBoyutSiniri_data()
    {
        QTest::addColumn<int>("boy");
        QTest::addColumn<bool>("gosterilir");
        QTest::newRow("1199 bytes") << 1199 << false;
        QTest::newRow("1200 bytes") << 1200 << true;
        QTest::newRow("empty") << 0 << false;
    }
    void resimBoyutSiniri()
    {
        QFETCH(int, boy);
        QFETCH(bool, gosterilir);
        durnak::testler::ResimSunucusu sunucu;
        sunucu.govde = boy == 0 ? QByteArray() : resimBaytlari(boy);
        Tstokayarinti d;
        d.resimSunucusu = QUrl(sunucu.adres());
        d._stokno = 4711;
        QSignalSpy bitti(&d, &Tstokayarinti::resimIndirildi);
        goster(d);
        QVERIFY(bitti.wait(5000) || bitti.count() > 0);
        QCOMPARE(sunucu.sonYol, QByteArray("/resimgoster.ashx?id=4711"));
        QCOMPARE(bitti.first().first().toBool(), gosterilir);
        QCOMPARE(d.Image1->YerTutucu(), !gosterilir);
    }

    // An answer that arrives after the dialog has closed is dropped.
    void gecGelenResimAtilir()
    {
        durnak::testler::ResimSunucusu sunucu;
        sunucu.govde = resimBaytlari(5000);
        sunucu.gecikme = 300;
        Tstokayarinti d;
        d.resimSunucusu = QUrl(sunucu.adres());
        goster(d);
        QTRY_COMPARE(sunucu.istekSayisi, 1);
        d.ParcaliTus2->click();
        QVERIFY(!d.isVisible());
        QTest::qWait(600);
        QCOMPARE(d.Image1->YuklemeSayisi(), 0);
        QVERIFY(d.Image1->YerTutucu());
    }

    // The picture through the application server (ResimVer5) of a seeded item with one; an
    // item without a picture leaves the control as it was, without a message.
    void stokResmiSunucudan()
    {
        durnak::testing::ServerOptions secenek;
        secenek.dbPath = durnak::testing::seededDatabaseCopy();
        durnak::testing::ServerProcess sunucu(secenek);
        TForm1Kancalari kancalar;
        kancalar.bildirimKanali = false;
        TForm1 form(kancalar);
        durnak::testler::TestGirisi(form, sunucu.port(), durnak::testing::kDemoComputerId, "DEMO");

        // An item with a picture and one without, from a search.
        TClientDataSet liste;
        QVERIFY(CagriB(form.bagc, 0, [&](TServerMethods1Client& p) {
            liste.SetData(p.StokAraGetir(QStringLiteral("FREN"), Kopya(form.sbilgi)));
        }));
        int resimli = 0, resimsiz = 0;
        for (int r = 0; r < liste.RecordCount(); ++r) {
            const int no = liste.value(r, liste.FieldIndex(QStringLiteral("STOK_STOKNO"))).toInt();
            const bool var = liste.value(r, liste.FieldIndex(QStringLiteral("RESIM"))).toInt() == 1;
            if (var && !resimli) resimli = no;
            if (!var && !resimsiz) resimsiz = no;
        }
        QVERIFY(resimli > 0);
        QVERIFY(resimsiz > 0);

        Tstokayarinti d(&form);
        QVERIFY(StokResmiAl(form, resimli, d.Image1));
        QVERIFY(!d.Image1->YerTutucu());
        QVERIFY(!d.Image1->Resim().isNull());

        Tstokayarinti bos(&form);
        QVERIFY(!StokResmiAl(form, resimsiz, bos.Image1));
        QVERIFY(bos.Image1->YerTutucu());
        QVERIFY(!form.bagc.Connected());

        // The same picture from the web endpoint's picture service.
        Tstokayarinti web(&form);
        web.resimSunucusu = QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(sunucu.webPort()));
        web._stokno = resimli;
        QSignalSpy bitti(&web, &Tstokayarinti::resimIndirildi);
        goster(web);
        QVERIFY(bitti.wait(5000) || bitti.count() > 0);
        QCOMPARE(bitti.first().first().toBool(), true);
        QVERIFY(!web.Image1->YerTutucu());
    }

    // A server that cannot be reached: the connection message, no picture change.
    void stokResmiBaglantiYok()
    {
        durnak::testler::HizliBaglanti hizli;
        std::vector<QString> mesajlar;
        auto onceki = MesajKancasiAyarla([&](const BaglantiMesaji& m) { mesajlar.push_back(m.metin); });
        TForm1Kancalari kancalar;
        kancalar.bildirimKanali = false;
        TForm1 form(kancalar);
        form.bagc.Params().SetValues(QStringLiteral("HostName"), QStringLiteral("127.0.0.1"));
        form.bagc.Params().SetValues(QStringLiteral("Port"), QStringLiteral("1"));
        Tstokayarinti d(&form);
        QVERIFY(!StokResmiAl(form, 1, d.Image1));
        MesajKancasiAyarla(onceki);
        QCOMPARE(mesajlar.size(), std::size_t(1));
        QCOMPARE(mesajlar.front(), QString::fromUtf8(kBaglantiKurulamiyor));
        QVERIFY(d.Image1->YerTutucu());
    }
};

QObject* stokAyarintiTesti() { return new StokAyarintiTesti; }

#include "stokayarinti_test.moc"
