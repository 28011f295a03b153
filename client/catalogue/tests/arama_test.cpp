#include <fstream>

#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "app/sekmeler.hpp"
#include "app/unit1.hpp"
#include "catalogue/katalog.hpp"
#include "durnak/grid/durnakgrid.hpp"
#include "ortam.hpp"
#include "server_process.hpp"
#include "testler.hpp"

using namespace durnak::client;
using durnak::testler::GorulenMesaj;

namespace {

constexpr int kBekleme = 20000;

// Adds catalogue items to a database with the dealer's CSV import.
void katalogEkle(const std::string& db, const std::string& satirlar)
{
    QTemporaryDir klasor;
    const std::string dosya = klasor.filePath(QStringLiteral("katalog.csv")).toStdString();
    std::ofstream(dosya) << "KOD;ADI;MARKA;KDV;FIYAT;KAMPFIYAT;YENI;KAMPANYA\n" << satirlar;
    durnak::testing::runAdmin(db, "import-csv " + dosya);
}

QString sekmeBasligi(TForm1& form, QWidget* sekme) { return form.sPageControl1->tabText(form.sPageControl1->indexOf(sekme)); }

int satirBul(TClientDataSet& ds, const QString& alan, const QString& deger)
{
    const int sutun = ds.FieldIndex(alan);
    for (int r = 0; r < ds.RecordCount(); ++r)
        if (ds.value(r, sutun).toString() == deger) return r;
    return -1;
}

// The seeded demo database plus two known items, a server on it and a signed-in window.
struct Ortam {
    std::string db = durnak::testing::seededDatabaseCopy();
    std::unique_ptr<durnak::testing::ServerProcess> sunucu;
    std::unique_ptr<TForm1> form;

    explicit Ortam(const char* bilgisayar = durnak::testing::kDemoComputerId, const char* kullanici = "DEMO")
    {
        katalogEkle(db, "KTLG-SNZ-1;SANZIMAN DISLISI KTLG;MARKAX;20;100;0;1;0\n"
                        "KTLG-KMP-1;KAMPANYA PARCASI KTLG;MARKAX;18;50;40;0;1\n");
        durnak::testing::ServerOptions secenek;
        secenek.dbPath = db;
        sunucu = std::make_unique<durnak::testing::ServerProcess>(secenek);
        TForm1Kancalari kancalar;
        kancalar.bildirimKanali = false;
        form = std::make_unique<TForm1>(kancalar);
        KatalogBagla(*form);
        durnak::testler::TestGirisi(*form, sunucu->port(), bilgisayar, kullanici);
        form->KullaniciTipineUyarla(form->sbilgi.FMusteriTipi);
        form->resize(1300, 800);
        form->show();
        if (!QTest::qWaitForWindowExposed(form.get())) qFatal("window not exposed");
    }

    // What the server answers for a search text, straight through a proxy.
    int dogrudan(const QString& kod)
    {
        int sayi = -1;
        CagriB(form->bagc, 0, [&](TServerMethods1Client& p) {
            sayi = static_cast<int>(p.StokAraGetir(kod, Kopya(form->sbilgi)).rowCount());
        });
        return sayi;
    }

    bool aramaBitti() const { return form->araedit->isEnabled() && !form->YuklemeSuruyor(QStringLiteral("stokara")); }
};

} // namespace

class StokAramaTesti : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey)); }

    // Typed Turkish text is searched as plain Latin capitals; the answer fills the grid, the
    // caption counts it and the list price carries VAT.
    void aramaSonuclari()
    {
        Ortam o;
        TForm1& f = *o.form;
        f.sPageControl1->setCurrentWidget(f.ssepet);
        f.araedit->setFocus();
        durnak::testler::yaz(f.araedit, QStringLiteral("şanzıman"));
        QCOMPARE(f.araedit->text(), QStringLiteral("SANZIMAN"));
        QTest::keyClick(f.araedit, Qt::Key_Return);
        QVERIFY(!f.araedit->isEnabled());
        QVERIFY(f.gifstokara->isVisible());
        QCOMPARE(f.sPageControl1->currentWidget(), f.sstoklistesi);
        QTRY_VERIFY_WITH_TIMEOUT(o.aramaBitti(), kBekleme);

        QVERIFY(!f.gifstokara->isVisible());
        QCOMPARE(f.araedit->selectedText(), QStringLiteral("SANZIMAN"));
        const int beklenen = o.dogrudan(QStringLiteral("SANZIMAN"));
        QVERIFY(beklenen >= 1);
        QCOMPARE(f.stok.RecordCount(), beklenen);
        QCOMPARE(f.cxGrid1->model()->rowCount(), beklenen);
        QCOMPARE(sekmeBasligi(f, f.sstoklistesi), QStringLiteral("%1=Stok Listesi").arg(beklenen));

        const int satir = satirBul(f.stok, QStringLiteral("FINISHKOD"), QStringLiteral("KTLG-SNZ-1"));
        QVERIFY(satir >= 0);
        QCOMPARE(f.cxGrid1->gridModel()->sourceDisplayText(satir, QStringLiteral("LISTEFIYAT1")), QStringLiteral("120,00"));
        QCOMPARE(f.cxGrid1->gridModel()->sourceDisplayText(satir, QStringLiteral("NETFIYAT")).contains(','), true);

        // "Temizle" empties list, caption and box.
        f.SpeedButton1->click();
        QCOMPARE(f.stok.RecordCount(), 0);
        QCOMPARE(sekmeBasligi(f, f.sstoklistesi), QStringLiteral("Stok Listesi"));
        QVERIFY(f.araedit->text().isEmpty());
    }

    // Enter on an empty box sends an empty search: the call is made and answered.
    void bosAramaGonderilir()
    {
        Ortam o;
        TForm1& f = *o.form;
        QVERIFY(f.araedit->text().isEmpty());
        f.araedit->setFocus();
        QTest::keyClick(f.araedit, Qt::Key_Return);
        QTRY_VERIFY_WITH_TIMEOUT(o.aramaBitti(), kBekleme);
        const int beklenen = o.dogrudan(QString());
        QCOMPARE(f.stok.RecordCount(), beklenen);
        QCOMPARE(sekmeBasligi(f, f.sstoklistesi), QStringLiteral("%1=Stok Listesi").arg(beklenen));
    }

    // "Ara" and "Temizle" do nothing while a search runs; StokAra searches a given text.
    void aramaSurerkenDugmeler()
    {
        Ortam o;
        TForm1& f = *o.form;
        StokAra(f, QStringLiteral("kampanya parçası"));
        QVERIFY(!f.araedit->isEnabled());
        QCOMPARE(f.araedit->text(), QStringLiteral("KAMPANYA PARCASI"));
        f.SpeedButton1->click();
        SpeedButton1Click(f);
        SpeedButton2Click(f);
        StokAra(f, QStringLiteral("başka"));
        QCOMPARE(f.araedit->text(), QStringLiteral("KAMPANYA PARCASI"));
        // Narrowing the window during the search changes no column; the layout follows
        // when the search has ended.
        const QString fiyatBilgisi = QStringLiteral("cxGrid1DBTableView1FiyatBilgisi");
        QVERIFY(!f.cxGrid1->isColumnVisible(fiyatBilgisi));
        f.resize(1100 - (f.frameGeometry().width() - f.width()), 800);
        if (!f.araedit->isEnabled()) QVERIFY(!f.cxGrid1->isColumnVisible(fiyatBilgisi));
        QTRY_VERIFY_WITH_TIMEOUT(o.aramaBitti(), kBekleme);
        QVERIFY(f.cxGrid1->isColumnVisible(fiyatBilgisi));
        QVERIFY(!f.cxGrid1->isColumnVisible(QStringLiteral("cxGrid1DBTableView1LISTEFIYAT1")));
        QVERIFY(satirBul(f.stok, QStringLiteral("FINISHKOD"), QStringLiteral("KTLG-KMP-1")) >= 0);
        QCOMPARE(sekmeBasligi(f, f.sstoklistesi), QStringLiteral("%1=Stok Listesi").arg(f.stok.RecordCount()));
    }

    // A failed search (the server stopped) leaves no rows of the previous one, shows the
    // connection message once and restores the caption; the box is usable again.
    void basarisizAramaListeyiBosaltir()
    {
        durnak::testler::HizliBaglanti hizli;
        Ortam o;
        TForm1& f = *o.form;
        StokAra(f, QStringLiteral("SANZIMAN"));
        QTRY_VERIFY_WITH_TIMEOUT(o.aramaBitti(), kBekleme);
        QVERIFY(f.stok.RecordCount() > 0);

        o.sunucu->stop();
        GorulenMesaj mesaj;
        durnak::testler::mesajiCevapla(mesaj, [](QMessageBox& k) { durnak::testler::dugmeyeBas(k, "Tamam"); });
        f.araedit->setFocus();
        QTest::keyClick(f.araedit, Qt::Key_Return);
        QTRY_VERIFY_WITH_TIMEOUT(o.aramaBitti() && mesaj.goruldu, kBekleme);
        QCOMPARE(mesaj.metin, QString::fromUtf8(kBaglantiKurulamiyor));
        QCOMPARE(mesaj.baslik, MesajBasligi(mtError));
        QCOMPARE(f.stok.RecordCount(), 0);
        QCOMPARE(f.cxGrid1->model()->rowCount(), 0);
        QCOMPARE(sekmeBasligi(f, f.sstoklistesi), QStringLiteral("Stok Listesi"));
        QCOMPARE(f.araedit->selectedText(), QStringLiteral("SANZIMAN"));
        QVERIFY(!f.gifstokara->isVisible());
    }

    // Each showing of "Yeni Stoklar" loads the list again: an item made new in between
    // appears on the second showing. A failed load keeps the rows and the caption.
    void yeniStoklar()
    {
        durnak::testler::HizliBaglanti hizli;
        Ortam o;
        TForm1& f = *o.form;
        f.sPageControl1->setCurrentWidget(f.syeniler);
        QVERIFY(!f.cxGrid6->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(f.cxGrid6->isEnabled() && !f.gifyeniler->isVisible(), kBekleme);
        const int ilk = f.YENILER.RecordCount();
        QVERIFY(ilk > 0);
        QCOMPARE(sekmeBasligi(f, f.syeniler), QStringLiteral("%1=Yeni Stoklar").arg(ilk));
        QVERIFY(satirBul(f.YENILER, QStringLiteral("FINISHKOD"), QStringLiteral("KTLG-SNZ-1")) >= 0);
        // Shown as delivered (already VAT-inclusive from the server), formatted.
        const int satir = satirBul(f.YENILER, QStringLiteral("FINISHKOD"), QStringLiteral("KTLG-SNZ-1"));
        QCOMPARE(f.cxGrid6->gridModel()->sourceDisplayText(satir, QStringLiteral("LISTEFIYAT1")), QStringLiteral("120,00"));

        katalogEkle(o.db, "KTLG-YENI-2;YENI GELEN KTLG;MARKAX;20;10;0;1;0\n");
        f.sPageControl1->setCurrentWidget(f.sstoklistesi);
        f.sPageControl1->setCurrentWidget(f.syeniler);
        QTRY_VERIFY_WITH_TIMEOUT(f.cxGrid6->isEnabled() && !f.YuklemeSuruyor(QStringLiteral("yeniler")), kBekleme);
        QVERIFY(satirBul(f.YENILER, QStringLiteral("FINISHKOD"), QStringLiteral("KTLG-YENI-2")) >= 0);
        const int ikinci = f.YENILER.RecordCount();
        QCOMPARE(sekmeBasligi(f, f.syeniler), QStringLiteral("%1=Yeni Stoklar").arg(ikinci));

        o.sunucu->stop();
        GorulenMesaj mesaj;
        durnak::testler::mesajiCevapla(mesaj, [](QMessageBox& k) { durnak::testler::dugmeyeBas(k, "Tamam"); });
        f.sPageControl1->setCurrentWidget(f.sstoklistesi);
        f.sPageControl1->setCurrentWidget(f.syeniler);
        QTRY_VERIFY_WITH_TIMEOUT(mesaj.goruldu && f.cxGrid6->isEnabled(), kBekleme);
        QCOMPARE(mesaj.metin, QString::fromUtf8(kBaglantiKurulamiyor));
        QCOMPARE(f.YENILER.RecordCount(), ikinci);
        QCOMPARE(f.cxGrid6->model()->rowCount(), ikinci);
        QCOMPARE(sekmeBasligi(f, f.syeniler), QStringLiteral("%1=Yeni Stoklar").arg(ikinci));
    }

    // The campaign list: caption "<n>=Kampanyalı", the campaign price in FIYAT and the former
    // list price in ESKIFIYAT with the money format.
    void kampanyaliStoklar()
    {
        Ortam o;
        TForm1& f = *o.form;
        f.sPageControl1->setCurrentWidget(f.skampanyali);
        QVERIFY(!f.cxkampanyali->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(f.cxkampanyali->isEnabled() && !f.gifkampanyali->isVisible(), kBekleme);
        const int n = f.kampstok.RecordCount();
        QVERIFY(n > 0);
        QCOMPARE(sekmeBasligi(f, f.skampanyali), QStringLiteral("%1=Kampanyalı").arg(n));
        const int satir = satirBul(f.kampstok, QStringLiteral("FINISHKOD"), QStringLiteral("KTLG-KMP-1"));
        QVERIFY(satir >= 0);
        QCOMPARE(f.cxkampanyali->gridModel()->sourceDisplayText(satir, QStringLiteral("FIYAT")), QStringLiteral("40,00"));
        QCOMPARE(f.cxkampanyali->gridModel()->sourceDisplayText(satir, QStringLiteral("ESKIFIYAT")),
                 QStringLiteral("50,00"));
        QCOMPARE(f.cxkampanyali->model()->rowCount(), n);
    }
};

QObject* stokAramaTesti() { return new StokAramaTesti; }

#include "arama_test.moc"
