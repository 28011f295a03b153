#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include "app/kurulum.hpp"
#include "app/sekmeler.hpp"
#include "app/unit1.hpp"
#include "console/konsol.hpp"
#include "console/raporformu.hpp"
#include "console/seccariu.hpp"
#include "durnak/grid/durnakgrid.hpp"
#include "ortak.hpp"
#include "server/proxim.hpp"
#include "signin/girisformu.hpp"
#include "testler.hpp"

using namespace durnak::client;
using namespace durnak::testler;
using durnak::protocol::FieldType;

namespace {

// Picks `carino` in the console once it is up: all customers listed, the row focused, "Seç".
void modaldaSec(int carino)
{
    modaldaCalistir<Tseccari>([carino](Tseccari& p) {
        p.sBitBtn2->click();
        const int sutun = p.CARILER.FieldIndex("CARINO");
        for (int i = 0; i < p.CARILER.RecordCount(); ++i)
            if (p.CARILER.value(i, sutun).toInt() == carino) p.cxGrid1->focusRow(p.cxGrid1->gridModel()->rowOfSource(i));
        p.Button1->click();
    });
}

QString cariAdi(const std::string& db, int carino)
{
    return sorgu(db, QString("SELECT name FROM customers WHERE carino = %1").arg(carino));
}

} // namespace

class KonsolTesti : public KonsolSunucusuTesti {
    Q_OBJECT

private slots:
    // The sign-in's hand-over: the representative picks a customer, and the calls made
    // afterwards with the session record act for that customer on the server.
    void temsilciSectigiCariAdinaCalisir()
    {
        TBaglanti bagc;
        TSonucBilgisi sbilgi = temsilciOturumu(bagc, sunucu_->port());
        QCOMPARE(sbilgi.FMusteriTipi, 1);
        QList<int> bitisler;
        modaldaSec(1007);
        QVERIFY(CariSec(nullptr, bagc, sbilgi, [&](int kod) { bitisler << kod; }));
        QVERIFY(bitisler.isEmpty());
        QCOMPARE(sbilgi.FCARINO, 1007);
        QCOMPARE(QString::fromStdString(sbilgi.FCariAdi), cariAdi(sunucu_->databasePath(), 1007));
        QCOMPARE(sbilgi.Fcarikod, std::string("120.01.1007"));

        // A basket line made as the basket tab makes it (the customer number and a copy of
        // the session record) is stored under the picked customer.
        const QString once = sorgu(sunucu_->databasePath(), "SELECT COUNT(*) FROM basket");
        CagriC(bagc, [&](TServerMethods1Client& p) {
            QCOMPARE(p.SepetEkle2(Kopya(sbilgi), sbilgi.FCARINO, 7, "", "", 1, 20, 10, 0, sbilgi.FSirano, 0, 0, 0, 0), 1);
        });
        QCOMPARE(sorgu(sunucu_->databasePath(), "SELECT carino FROM basket"), QString("1007"));
        QCOMPARE(once, QString("0"));
        // The basket answered for the session is that customer's.
        const int satirlar = CagriC(bagc, [&](TServerMethods1Client& p) {
            return static_cast<int>(p.SepetVer2(sbilgi.FCARINO).rowCount());
        });
        QCOMPARE(satirlar, 1);
        CagriC(bagc, [&](TServerMethods1Client& p) { p.SepetHepsiniSil(Kopya(sbilgi)); });
        QCOMPARE(sorgu(sunucu_->databasePath(), "SELECT COUNT(*) FROM basket"), QString("0"));
    }

    // The whole path: the main window's sign-in, the hand-over to the console, the pick, and
    // the signed-in window working for the picked customer.
    void giristenKonsolaVeSecilenCariyle()
    {
        const QString ip = QStringLiteral("http://127.0.0.1:%1/").arg(sunucu_->webPort());
        const TGirisAdresleri adresler{"localhost", "127.0.0.1",
                                       QStringLiteral("http://localhost:%1/").arg(sunucu_->webPort()),
                                       ip + "ip", ip + "exe/DurnakOtoSetup.exe"};
        TForm1Kancalari kancalar;
        kancalar.bildirimKanali = false;
        GirisiBagla(
            kancalar,
            [](Tgirisform& g) { return CariSec(&g, *g.bagim, *g.Bilgim, g.ProgramiBitir); }, adresler);
        TForm1 form(kancalar);
        QList<int> cikislar;
        form.ProgramiBitir = [&](int kod) { cikislar << kod; };
        QSignalSpy yuklendi(&form, &TForm1::acilisYuklemeleriBitti);

        // The creation handler has set the deployment port by now; the test server has its own.
        const QString port = QString::number(sunucu_->port());
        modaldaCalistir<Tgirisform>([port](Tgirisform& g) {
            g.bagim->Params().SetValues("Port", port);
            g.idsi = kKonsolBilgisayari;
            g.benihatirla->setChecked(false);
            QTest::keyClicks(g.adi, "konsol");
            QTest::keyClicks(g.sifre, "DEMO");
            g.Button1->click();
        });
        modaldaSec(1007);
        // A message box instead of the console (a failed sign-in) is answered and shows up as
        // a failure rather than a hang.
        QString mesaj;
        modaldaCalistir<QMessageBox>([&mesaj](QMessageBox& m) {
            mesaj = m.text();
            m.done(0);
        });
        form.FormCreate();
        QVERIFY2(mesaj.isEmpty(), qPrintable(mesaj));

        QVERIFY(cikislar.isEmpty());
        QCOMPARE(form.sbilgi.FMusteriTipi, 1);
        QCOMPARE(form.sbilgi.FCARINO, 1007);
        QVERIFY(form.musteritus->isVisibleTo(&form));
        QVERIFY(yuklendi.wait(30000) || yuklendi.count() > 0);
        QCOMPARE(form.cariadilbl->text(), cariAdi(sunucu_->databasePath(), 1007));

        // A later call with the session's customer stores its line under 1007.
        CagriC(form.bagc, [&](TServerMethods1Client& p) {
            QCOMPARE(p.SepetEkle2(Kopya(form.sbilgi), form.sbilgi.FCARINO, 9, "", "", 1, 20, 10, 0, form.sbilgi.FSirano,
                                  0, 0, 0, 0),
                     1);
        });
        QCOMPARE(sorgu(sunucu_->databasePath(), "SELECT carino FROM basket"), QString("1007"));
        CagriC(form.bagc, [&](TServerMethods1Client& p) { p.SepetHepsiniSil(Kopya(form.sbilgi)); });
    }

    // Without a pick the hand-over answers false (the sign-in then ends the program);
    // "Vazgeç" ends it from the console itself.
    void giristeSecimsizKapanis_data()
    {
        QTest::addColumn<bool>("vazgec");
        QTest::addColumn<QList<int>>("bitisler");
        QTest::newRow("vazgeç") << true << QList<int>({0});
        QTest::newRow("başlık çubuğu") << false << QList<int>();
    }

    void giristeSecimsizKapanis()
    {
        QFETCH(bool, vazgec);
        QFETCH(QList<int>, bitisler);
        TBaglanti bagc;
        TSonucBilgisi sbilgi = temsilciOturumu(bagc, sunucu_->port());
        const TSonucBilgisi once = sbilgi;
        QList<int> gorulen;
        modaldaCalistir<Tseccari>([vazgec](Tseccari& p) {
            p.sBitBtn2->click();
            if (vazgec)
                p.Button2->click();
            else
                p.close();
        });
        QVERIFY(!CariSec(nullptr, bagc, sbilgi, [&](int kod) { gorulen << kod; }));
        QCOMPARE(gorulen, bitisler);
        QVERIFY(sbilgi == once);
    }

    // "Başka Cari Seç" on the main window: whatever the console's result, the header, the
    // basket and the stock list are refreshed.
    void baskaCariSecSonrasiYenilenir_data()
    {
        QTest::addColumn<QString>("nasil");
        QTest::addColumn<int>("sonCari");
        QTest::addColumn<QList<int>>("bitisler");
        QTest::newRow("başlık çubuğundan kapatıldı") << "kapat" << 1001 << QList<int>();
        QTest::newRow("cari seçildi") << "seç" << 1009 << QList<int>();
        QTest::newRow("vazgeç") << "vazgeç" << 1001 << QList<int>({0});
    }

    void baskaCariSecSonrasiYenilenir()
    {
        QFETCH(QString, nasil);
        QFETCH(int, sonCari);
        QFETCH(QList<int>, bitisler);

        TForm1Kancalari kancalar;
        kancalar.bildirimKanali = false;
        TForm1 form(kancalar);
        QList<int> cikislar;
        form.ProgramiBitir = [&](int kod) { cikislar << kod; };
        form.sbilgi = temsilciOturumu(form.bagc, sunucu_->port());
        form.KullaniciTipineUyarla(form.sbilgi.FMusteriTipi);
        QList<int> sepetler;
        KonsolKancalari k;
        k.sepetAl = [&](TForm1& f) { sepetler << f.sbilgi.FCARINO; };
        KonsoluBagla(form, k);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QVERIFY(form.musteritus->isVisible());

        // A stock list of the previous customer, another tab active.
        form.stok.AddFieldDef("STOKNO", FieldType::Int32);
        form.stok.CreateDataSet();
        form.stok.Append();
        form.stok.FieldByName("STOKNO").SetAsInteger(5);
        form.stok.Post();
        const int sekme = form.sPageControl1->indexOf(form.sstoklistesi);
        form.sPageControl1->setTabText(sekme, "1=Stok Listesi");
        form.sPageControl1->setCurrentWidget(form.ssepet);
        form.araedit->setText("FREN");
        form.cariadilbl->setText("eski başlık");

        if (nasil == "kapat")
            modaldaCalistir<Tseccari>([](Tseccari& p) { p.close(); });
        else if (nasil == "vazgeç")
            modaldaCalistir<Tseccari>([](Tseccari& p) { p.Button2->click(); });
        else
            modaldaSec(sonCari);
        form.musteritus->click();

        QCOMPARE(cikislar, bitisler);
        QCOMPARE(form.sbilgi.FCARINO, sonCari);
        QCOMPARE(form.cariadilbl->text(), cariAdi(sunucu_->databasePath(), sonCari));
        QCOMPARE(form.kullanicilbl->text(), QString::fromStdString(form.sbilgi.FADI));
        QCOMPARE(sepetler, QList<int>({sonCari}));
        QCOMPARE(form.stok.RecordCount(), 0);
        QCOMPARE(form.sPageControl1->tabText(sekme), QString("0=Stok Listesi"));
        QCOMPARE(form.sPageControl1->currentWidget(), form.sstoklistesi);
        QCOMPARE(form.araedit->selectedText(), QString("FREN"));
    }

    // The program's own wiring: after the pick the basket tab holds the new customer's lines.
    void programBaglantisiylaYeniCarininSepetiYuklenir()
    {
        TForm1Kancalari kancalar;
        kancalar.bildirimKanali = false;
        TForm1 form(kancalar);
        QList<int> cikislar;
        form.ProgramiBitir = [&](int kod) { cikislar << kod; };
        form.sbilgi = temsilciOturumu(form.bagc, sunucu_->port());
        form.KullaniciTipineUyarla(form.sbilgi.FMusteriTipi);
        AnaPencereyiBagla(form);

        TSonucBilgisi icin = form.sbilgi;
        icin.FCARINO = 1009;
        CagriC(form.bagc, [&](TServerMethods1Client& p) {
            QCOMPARE(p.SepetEkle2(Kopya(icin), 1009, 11, "", "", 3, 20, 10, 0, icin.FSirano, 0, 0, 0, 0), 1);
        });
        modaldaSec(1009);
        form.musteritus->click();

        QVERIFY(cikislar.isEmpty());
        QCOMPARE(form.sbilgi.FCARINO, 1009);
        QCOMPARE(form.sepet.RecordCount(), 1);
        QCOMPARE(form.sPageControl1->tabText(form.sPageControl1->indexOf(form.ssepet)), QString("1=Sepet"));
        CagriC(form.bagc, [&](TServerMethods1Client& p) { p.SepetHepsiniSil(Kopya(icin)); });
    }

    void raporlarMenusuPencereyiAnaBaglantininKopyasiylaAcar()
    {
        TForm1Kancalari kancalar;
        kancalar.bildirimKanali = false;
        TForm1 form(kancalar);
        form.sbilgi = temsilciOturumu(form.bagc, sunucu_->port());
        KonsoluBagla(form);
        bool acildi = false;
        modaldaCalistir<Traporform>([&](Traporform& r) {
            acildi = true;
            QVERIFY(r.bag && r.bag.get() != &form.bagc);
            QCOMPARE(r.bag->Params().Values("Port"), form.bagc.Params().Values("Port"));
            QCOMPARE(r.bag->User(), form.bagc.User());
            QCOMPARE(r.sbilgi, &form.sbilgi);
            QVERIFY(r.isMaximized());
            r.close();
        });
        form.R1->trigger();
        QVERIFY(acildi);
    }
};

QObject* konsolTesti() { return new KonsolTesti; }

#include "konsol_test.moc"
