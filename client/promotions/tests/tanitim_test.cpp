// Badges, scrolling text, announcements, banners and the opening advertisements against the
// real server, with the real main window offscreen.

#include <sqlite3.h>

#include <atomic>
#include <memory>
#include <stdexcept>

#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMovie>
#include <QRegularExpression>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "app/beklesinu.hpp"
#include "app/geribildirim.hpp"
#include "app/kayanyazi.hpp"
#include "app/sekmeler.hpp"
#include "app/unit1.hpp"
#include "app/utils.hpp"
#include "demo_database.hpp"
#include "durnak/grid/durnakgrid.hpp"
#include "promotions/acilisreklamu.hpp"
#include "promotions/tanitim.hpp"
#include "server/cagri.hpp"
#include "server_process.hpp"

using namespace durnak::client;
using durnak::testing::ServerOptions;
using durnak::testing::ServerProcess;

namespace {

void sqlCalistir(const std::string& db, const std::string& sql)
{
    sqlite3* baglanti = nullptr;
    if (sqlite3_open(db.c_str(), &baglanti) != SQLITE_OK) throw std::runtime_error("sqlite açılamadı");
    char* hata = nullptr;
    const int sonuc = sqlite3_exec(baglanti, sql.c_str(), nullptr, nullptr, &hata);
    const std::string metin = hata ? hata : "";
    sqlite3_free(hata);
    sqlite3_close(baglanti);
    if (sonuc != SQLITE_OK) throw std::runtime_error("sql: " + metin);
}

std::unique_ptr<ServerProcess> sunucuBaslat(const std::string& hazirlik = {})
{
    ServerOptions ayar;
    ayar.dbPath = durnak::testing::seededDatabaseCopy();
    if (!hazirlik.empty()) sqlCalistir(ayar.dbPath, hazirlik);
    return std::make_unique<ServerProcess>(ayar);
}

void baglantiKur(TBaglanti& b, std::uint16_t port)
{
    b.Params().SetValues("HostName", "127.0.0.1");
    b.Params().SetValues("Port", QString::number(port));
    b.SetComputerId(durnak::testing::kDemoComputerId);
    b.SetCredentials("DEMO", durnak::testing::kDemoPassword);
}

// Closes every opening-advertisements window that appears, with Cancel, and counts them.
struct ReklamKapatici {
    ReklamKapatici()
    {
        zamanlayici.setInterval(20);
        QObject::connect(&zamanlayici, &QTimer::timeout, [this] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* p = qobject_cast<Tacilisreklam*>(w);
                if (!p || !p->isVisible() || p->yukleniyor()) continue;
                sayacYazilari << p->Label2->text();
                ++kapatilan;
                p->Button1xxxClick();
            }
        });
        zamanlayici.start();
    }
    QTimer zamanlayici;
    int kapatilan = 0;
    QStringList sayacYazilari;
};

// The main window as the program builds it, signed in as the demo customer on the test
// server, with this subsystem's loads.
struct Pencere {
    explicit Pencere(std::uint16_t port, bool kanal = false)
    {
        TForm1Kancalari kancalar;
        TanitimBagla(kancalar);
        kancalar.bildirimKanali = kanal;
        kancalar.girisYap = [port](TForm1& f) {
            baglantiKur(f.bagc, port);
            CagriA(f.bagc, [&](TServerMethods1Client& p) {
                if (const TSonucBilgisi* b = p.BuyukGetir(durnak::testing::kDemoComputerId)) f.sbilgi.Kopyala(*b);
            });
            f.sbilgi.FDisip = "127.0.0.1";
            return true;
        };
        form = std::make_unique<TForm1>(kancalar);
        form->ProgramiBitir = [](int) {};
        form->kanal()->IlkBekleme = std::chrono::milliseconds(100);
        form->kanal()->EnUzunBekleme = std::chrono::milliseconds(400);
        tanitim = TanitimBagla(*form);
        tanitim->StokAra = [this](TForm1&, const QString& metin) { aramalar << metin; };
    }

    // FormCreate and the start-up loads, the opening advertisements closed as they come.
    void ac()
    {
        QSignalSpy bitti(form.get(), &TForm1::acilisYuklemeleriBitti);
        form->FormCreate();
        if (!bitti.count()) QVERIFY(bitti.wait(30000));
    }

    QString baslik(QWidget* sekme) const { return form->sPageControl1->tabText(form->sPageControl1->indexOf(sekme)); }

    std::unique_ptr<TForm1> form;
    TTanitim* tanitim = nullptr;
    QStringList aramalar;
};

QByteArray bmpBaytlari(int genislik, int yukseklik)
{
    QImage resim(genislik, yukseklik, QImage::Format_RGB32);
    resim.fill(Qt::darkGreen);
    QByteArray baytlar;
    QBuffer tampon(&baytlar);
    tampon.open(QIODevice::WriteOnly);
    resim.save(&tampon, "BMP");
    return baytlar;
}

QString dosyayaYaz(const QTemporaryDir& klasor, const QString& ad, const QByteArray& baytlar)
{
    const QString yol = klasor.filePath(ad);
    QFile f(yol);
    f.open(QIODevice::WriteOnly);
    f.write(baytlar);
    return yol;
}

std::string tirnak(const QString& s)
{
    return "'" + s.toStdString() + "'";
}

QByteArray bannerBaytlari(std::uint16_t port, int slot)
{
    TBaglanti b;
    baglantiKur(b, port);
    QByteArray sonuc;
    CagriA(b, [&](TServerMethods1Client& p) {
        std::int64_t boy = 0;
        TStream* akis = slot == 1 ? p.BannerResimVer(boy) : slot == 2 ? p.BannerResimVer2(boy) : p.BannerResimVer3(boy);
        sonuc = AkisOku(akis, boy).value_or(QByteArray());
    });
    return sonuc;
}

} // namespace

class TanitimTesti : public QObject {
    Q_OBJECT

    QStringList hatalar_;

private slots:
    void initTestCase()
    {
        HataGostericiAyarla([this](const QString& metin) { hatalar_ << metin; });
    }
    void init() { hatalar_.clear(); }

    void hexResimCozulur_data()
    {
        QTest::addColumn<QByteArray>("metin");
        QTest::addColumn<QByteArray>("beklenen");
        QTest::addColumn<bool>("hata");
        QTest::newRow("tek hane sonda ayrı bayt") << QByteArray("0aF") << QByteArray("\x0a\x0f", 2) << false;
        QTest::newRow("boş") << QByteArray() << QByteArray() << false;
        QTest::newRow("büyük küçük harf") << QByteArray("FFd8fF00") << QByteArray("\xff\xd8\xff\x00", 4) << false;
        QTest::newRow("tek hane") << QByteArray("7") << QByteArray("\x07", 1) << false;
        QTest::newRow("geçersiz çift") << QByteArray("0aZZ") << QByteArray() << true;
        QTest::newRow("geçersiz tek hane") << QByteArray("0ag") << QByteArray() << true;
        QTest::newRow("boşluk") << QByteArray("0a 1") << QByteArray() << true;
        QTest::newRow("işaret") << QByteArray("+1") << QByteArray() << true;
    }
    void hexResimCozulur()
    {
        QFETCH(QByteArray, metin);
        QFETCH(QByteArray, beklenen);
        QFETCH(bool, hata);
        const std::string_view girdi(metin.constData(), std::size_t(metin.size()));
        if (hata) {
            QVERIFY_THROWS_EXCEPTION(EResimHatasi, HexResimCoz(girdi));
        } else {
            QCOMPARE(HexResimCoz(girdi), beklenen);
        }
    }

    void sayiVeKayanYaziMetinleri()
    {
        // The tests run under C.UTF-8, where the program writes numbers the Turkish way.
        QCOMPARE(BalonSayiMetni(2.5), QStringLiteral("2,5"));
        QCOMPARE(BalonSayiMetni(7), QStringLiteral("7"));
        QCOMPARE(BalonSayiMetni(1234567), QStringLiteral("1234567"));
        QCOMPARE(BalonSayiMetni(0), QStringLiteral("0"));
        QCOMPARE(KayanYaziHtml("   \t "), QString());
        QCOMPARE(KayanYaziHtml(""), QString());
        QCOMPARE(KayanYaziHtml("  <b>Fırsat</b> "), QStringLiteral("&nbsp;&nbsp;<b>Fırsat</b>&nbsp;"));
        QCOMPARE(KayanYaziHtml("a  b"), QStringLiteral("a  b"));
    }

    // The start-up loads against the seeded server: scrolling text, three banners, the
    // opening-screen badge, the counters (balances 2.5 for the demo customer) and the
    // opening advertisements window.
    void acilisYuklemeleri()
    {
        auto sunucu = sunucuBaslat(
            "UPDATE order_lines SET balance_qty = 0 WHERE order_id IN (SELECT id FROM orders WHERE carino = 1001);"
            "UPDATE order_lines SET balance_qty = 2.5 WHERE id = (SELECT l.id FROM order_lines l JOIN orders o"
            " ON o.id = l.order_id WHERE o.carino = 1001 AND l.qty >= 3 ORDER BY l.id LIMIT 1);");
        ReklamKapatici kapatici;
        Pencere p(sunucu->port());
        p.ac();
        TForm1& f = *p.form;

        QVERIFY(f.kayanyazi->html().contains("<b>Durnak Otomotiv</b>"));
        QVERIFY(f.RxGIFAnimator1->movie() && f.RxGIFAnimator1->movie()->isValid());
        QCOMPARE(f.RxGIFAnimator2->height(), 40);  // the seeded strip is 800 x 40
        QVERIFY(f.RxGIFAnimator2->movie());
        QVERIFY(!f.RealTimeMarquee1->isHidden());
        QCOMPARE(f.RealTimeMarquee1->resim().height(), 30);
        QCOMPARE(f.Panel5->height(), 70);  // 30-pixel bitmap + the text line
        QCOMPARE(f._acilisadet, 3);
        QCOMPARE(p.baslik(f.sTabSheetduyuru), QStringLiteral("3=Duyurular"));
        QCOMPARE(p.baslik(f.sTabbakiyeler), QStringLiteral("2,5=Bakiyeler"));
        QVERIFY(QRegularExpression("^\\d+=Sepet$").match(p.baslik(f.ssepet)).hasMatch());
        QVERIFY(QRegularExpression("^[1-9]\\d*=Yeni Stoklar$").match(p.baslik(f.syeniler)).hasMatch());
        QVERIFY(QRegularExpression("^[1-9]\\d*=Kampanyalı$").match(p.baslik(f.skampanyali)).hasMatch());
        // The opening advertisements came up once, on the first of three screens.
        QTRY_COMPARE(kapatici.kapatilan, 1);
        QCOMPARE(kapatici.sayacYazilari.value(0), QStringLiteral("1 / 3"));
        QVERIFY2(hatalar_.isEmpty(), qPrintable(hatalar_.join('\n')));
    }

    // Every load run again on the main thread sees what the admin changed; blanks clear the
    // marquee, a cleared upper strip and bottom banner shrink, a missing header banner keeps
    // the old one.
    void yenilemeYonetimDegisikliklerini()
    {
        auto sunucu = sunucuBaslat();
        ReklamKapatici kapatici;
        Pencere p(sunucu->port());
        p.ac();
        TForm1& f = *p.form;
        QMovie* ustBanner = f.RxGIFAnimator1->movie();
        QVERIFY(ustBanner);
        const std::string db = sunucu->databasePath();

        durnak::testing::runAdmin(db, "set-marquee '   '");
        KayanYaziGetir(f);
        QCOMPARE(f.kayanyazi->html(), QString());

        durnak::testing::runAdmin(db, "set-marquee '  <i>Bahar</i>'");
        KayanYaziGetir(f);
        QCOMPARE(f.kayanyazi->html(), QStringLiteral("&nbsp;&nbsp;<i>Bahar</i>"));

        for (const char* slot : {"1", "2", "3"}) durnak::testing::runAdmin(db, std::string("clear-banner --slot ") + slot);
        BannerREsimAl(f);
        BannerREsimAlUst(f);
        BannerREsimAlAlt(f);
        QCOMPARE(f.RxGIFAnimator1->movie(), ustBanner);  // size 0 keeps the header banner
        QCOMPARE(f.RxGIFAnimator2->height(), 0);
        QVERIFY(!f.RxGIFAnimator2->movie());
        QCOMPARE(f.Panel5->height(), 40);
        QVERIFY(f.RealTimeMarquee1->isHidden());

        // A bottom banner of 10 bytes leaves the bottom area as it is.
        QTemporaryDir klasor;
        durnak::testing::runAdmin(db, "set-banner --slot 3 " + tirnak(dosyayaYaz(klasor, "kisa.bmp", "BM12345678")));
        BannerREsimAlAlt(f);
        QCOMPARE(f.Panel5->height(), 40);
        durnak::testing::runAdmin(db, "set-banner --slot 3 " + tirnak(dosyayaYaz(klasor, "alt.bmp", bmpBaytlari(120, 24))));
        BannerREsimAlAlt(f);
        QCOMPARE(f.Panel5->height(), 64);

        // No opening screen left: the badge reads 0 and no window opens.
        sqlCalistir(db, "UPDATE screens SET active = 0 WHERE kind = 2;");
        AcilisReklamAdetAl(f);
        QCOMPARE(p.baslik(f.sTabSheetduyuru), QStringLiteral("0=Duyurular"));
        const int once = kapatici.kapatilan;
        AcilisReklamlariGoster(f);
        QTest::qWait(100);
        QCOMPARE(kapatici.kapatilan, once);
        QVERIFY2(hatalar_.isEmpty(), qPrintable(hatalar_.join('\n')));
    }

    // Direct hand-overs: bytes that are no picture keep what was shown; a valid one replaces it.
    void bozukBannerEskisiniKorur()
    {
        static const char kGif[] = "GIF89a\x01\x00\x01\x00\x80\x00\x00\x00\x00\x00\xff\xff\xff!\xf9\x04\x01\x00\x00"
                                   "\x00\x00,\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02D\x01\x00;";
        const QByteArray gif(kGif, sizeof kGif - 1);
        const QByteArray bozukGif("GIF89a bozuk");
        TForm1 f;

        UstBannerUygula(f, bozukGif);
        QVERIFY(!f.RxGIFAnimator1->movie());
        UstBannerUygula(f, gif);
        QMovie* ust = f.RxGIFAnimator1->movie();
        QVERIFY(ust);
        UstBannerUygula(f, bozukGif);
        QCOMPARE(f.RxGIFAnimator1->movie(), ust);

        UstSeritUygula(f, &gif);
        QCOMPARE(f.RxGIFAnimator2->height(), 1);
        QMovie* serit = f.RxGIFAnimator2->movie();
        UstSeritUygula(f, &bozukGif);
        QCOMPARE(f.RxGIFAnimator2->movie(), serit);
        QCOMPARE(f.RxGIFAnimator2->height(), 1);
        UstSeritUygula(f, nullptr);
        QVERIFY(!f.RxGIFAnimator2->movie());
        QCOMPARE(f.RxGIFAnimator2->height(), 0);

        const QByteArray bozukBmp = QByteArray("BM") + QByteArray(40, 'x');
        AltBannerUygula(f, &bozukBmp);
        QCOMPARE(f.Panel5->height(), 40);
        QVERIFY(f.RealTimeMarquee1->isHidden());
    }

    // The announcements tab: rows in server order with their pictures, and the target rule
    // on double click (campaign tab, new items tab, search text as it came, blanks ignored).
    void duyurularSekmesi()
    {
        auto sunucu = sunucuBaslat(
            "UPDATE screens SET active = 0 WHERE kind = 2;"
            "INSERT INTO screens (kind, title, picture, target, sort) VALUES"
            " (1, 'küçük', X'', '#kampanya#', 100), (1, 'boşluklu', X'', ' FREN ', 101),"
            " (1, 'boş', X'', '   ', 102), (1, 'son', X'', 'X', 103);");
        Pencere p(sunucu->port());
        p.ac();
        TForm1& f = *p.form;
        TTanitim& t = *p.tanitim;
        durnak::grid::DurnakGrid* g = f.cxGridduyuru;

        QSignalSpy yuklendi(&t, &TTanitim::duyurularYuklendi);
        f.sPageControl1->setCurrentWidget(f.sTabSheetduyuru);
        QVERIFY(!g->isEnabled());  // no double click on a half-filled list
        QVERIFY(yuklendi.wait(20000));
        QCOMPARE(yuklendi.at(0).at(0).toBool(), false);
        QVERIFY(g->isEnabled());
        QVERIFY(f.gifduyuru->isHidden());

        auto& ds = t.duyurular();
        QCOMPARE(ds.RecordCount(), 8);
        const int resim = ds.FieldIndex("RESIM"), arama = ds.FieldIndex("ARAMA");
        QVERIFY(ds.value(0, resim).toByteArray().startsWith("\xff\xd8"));  // the seeded JPEGs
        QVERIFY(ds.isNull(4, resim));                                      // a row without a picture
        QCOMPARE(ds.value(0, arama).toString(), QStringLiteral("#KAMPANYA#"));
        QCOMPARE(g->dataRowHeight(), 405);
        QCOMPARE(g->columnWidth(g->columnIndex("RESIM")), 605);
        QVERIFY(!g->isColumnVisible("ARAMA") && !g->isColumnVisible("BASLIK"));

        struct Durum {
            int satir;
            QWidget* sekme;     // expected active tab, or nullptr: unchanged
            QString aranan;     // expected search, or empty: none
        };
        const Durum durumlar[] = {
            {0, f.skampanyali, {}},
            {1, f.syeniler, {}},
            {2, nullptr, QStringLiteral("FREN")},
            {4, nullptr, QStringLiteral("#kampanya#")},  // lower case is no marker
            {5, nullptr, QStringLiteral(" FREN ")},     // the blanks travel with the text
            {6, nullptr, {}},                           // blank target: nothing
        };
        for (const Durum& d : durumlar) {
            f.sPageControl1->setCurrentWidget(f.sstoklistesi);
            p.aramalar.clear();
            g->focusRow(d.satir);
            t.cxGridduyuruBandedDuyuruDblClick();
            QCOMPARE(f.sPageControl1->currentWidget(), d.sekme ? d.sekme : f.sstoklistesi);
            QCOMPARE(p.aramalar, d.aranan.isEmpty() ? QStringList() : QStringList{d.aranan});
        }

        // A real double click on the picture of the first row.
        f.sPageControl1->setCurrentWidget(f.sTabSheetduyuru);
        QTRY_VERIFY(g->isEnabled());
        f.resize(1300, 900);
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        g->focusRow(0);
        const QRect hucre = g->visualRect(g->model()->index(0, g->columnIndex("RESIM")));
        // The view acts on a double click only on the cell the press went to.
        QTest::mousePress(g->viewport(), Qt::LeftButton, {}, hucre.center());
        QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, hucre.center());
        QCOMPARE(f.sPageControl1->currentWidget(), f.skampanyali);

        // The program's own search: the text lands in the search box exactly as it came,
        // lower case and blanks included, and the catalogue's search runs on it.
        p.tanitim->StokAra = nullptr;
        p.tanitim->HedefUygula(QStringLiteral(" #kampanya# "));
        QCOMPARE(f.araedit->text(), QStringLiteral(" #kampanya# "));
        QTRY_VERIFY_WITH_TIMEOUT(f.araedit->isEnabled(), 20000);
        QVERIFY2(hatalar_.isEmpty(), qPrintable(hatalar_.join('\n')));
    }

    // A picture text that is not hexadecimal costs its row the picture, not the rows after
    // it, and is reported.
    void bozukResimliDuyuru()
    {
        durnak::protocol::TAcilisEkranlariki liste;
        liste.FEkranlar = {{1, "ffd8", "bir", "A"}, {2, "0x12", "iki", "B"}, {3, "0aF", "üç", "C"}};
        durnak::protocol::Table t = DuyuruTablosu();
        const std::exception_ptr hata = DuyurulariDoldur(liste, t);
        QVERIFY(hata);
        QVERIFY_THROWS_EXCEPTION(EResimHatasi, std::rethrow_exception(hata));
        QCOMPARE(t.rowCount(), std::size_t(3));
        QCOMPARE(t.textAt(0, 0), std::string_view("\xff\xd8"));
        QVERIFY(t.isNull(1, 0));
        QCOMPARE(t.textAt(1, 1), std::string_view("iki"));
        QCOMPARE(t.textAt(2, 0), std::string_view("\x0a\x0f"));
        QCOMPARE(t.textAt(2, 2), std::string_view("C"));
    }

    // Server gone: the connection message after the task, and the rows shown before stay.
    void sunucuYokkenDuyurularKalir()
    {
        auto sunucu = sunucuBaslat();
        ReklamKapatici kapatici;
        Pencere p(sunucu->port());
        p.ac();
        TForm1& f = *p.form;
        QSignalSpy yuklendi(p.tanitim, &TTanitim::duyurularYuklendi);
        f.sPageControl1->setCurrentWidget(f.sTabSheetduyuru);
        QVERIFY(yuklendi.wait(20000));
        QCOMPARE(p.tanitim->duyurular().RecordCount(), 4);

        sunucu.reset();
        const BeklemeKancasi eski = BeklemeKancasiAyarla([](std::chrono::milliseconds) {});
        QString mesaj;
        QTimer cevapla;
        cevapla.setInterval(10);
        connect(&cevapla, &QTimer::timeout, [&] {
            if (auto* kutu = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                mesaj = kutu->text();
                kutu->accept();
            }
        });
        cevapla.start();
        f.sPageControl1->setCurrentWidget(f.sstoklistesi);
        f.sPageControl1->setCurrentWidget(f.sTabSheetduyuru);
        QVERIFY(yuklendi.wait(60000));
        BeklemeKancasiAyarla(eski);
        QCOMPARE(yuklendi.last().at(0).toBool(), true);
        QCOMPARE(mesaj, QString::fromUtf8(kBaglantiKurulamiyor));
        QCOMPARE(p.tanitim->duyurular().RecordCount(), 4);
        QVERIFY(f.cxGridduyuru->isEnabled());
    }

    // Tacilisreklam on its own: counter, paging by buttons and keys, clicks and keys that close.
    void acilisReklamPenceresi()
    {
        auto sunucu = sunucuBaslat();
        TBaglanti bagc;
        baglantiKur(bagc, sunucu->port());
        TSonucBilgisi bilgi;

        {
            Tacilisreklam r;
            QSignalSpy yuklendi(&r, &Tacilisreklam::resimYuklendi);
            r.Ac(bagc, bilgi);
            QVERIFY(!r.Button1->isEnabled() && !r.Button2->isEnabled());
            QVERIFY(yuklendi.wait(20000));
            QCOMPARE(r.Label2->text(), QStringLiteral("1 / 3"));
            QCOMPARE(r.Label1->text(), QStringLiteral("Bahar kampanyası başladı"));
            QCOMPARE(r.arama, QStringLiteral("#KAMPANYA#"));
            QVERIFY(!r.cxImage1->resim().isNull());
            QVERIFY(r.Button1->isEnabled() && r.Button2->isEnabled());

            QTest::keyClick(&r, Qt::Key_Left);  // first: stays
            QCOMPARE(r.sirasi, 1);
            QVERIFY(!r.yukleniyor());
            QTest::keyClick(&r, Qt::Key_Right);
            QCOMPARE(r.Label2->text(), QStringLiteral("2 / 3"));  // at once
            QVERIFY(r.yukleniyor());
            QTest::keyClick(&r, Qt::Key_Right);  // ignored while the picture loads
            QVERIFY(yuklendi.wait(20000));
            QCOMPARE(r.sirasi, 2);
            QCOMPARE(r.arama, QStringLiteral("#YENİ#"));
            r.Button2->click();
            QVERIFY(yuklendi.wait(20000));
            QCOMPARE(r.Label2->text(), QStringLiteral("3 / 3"));
            r.Button2->click();  // last: stays
            QCOMPARE(r.sirasi, 3);
            QVERIFY(!r.yukleniyor());
            QCOMPARE(r.arama, QStringLiteral("AMORTISOR"));
        }

        struct Kapanis {
            const char* ad;
            std::function<void(Tacilisreklam&)> eylem;
            int sonuc;
        };
        const Kapanis kapanislar[] = {
            {"harf", [](Tacilisreklam& r) { QTest::keyClick(&r, Qt::Key_A); }, mrCancel},
            {"yalnız Shift", [](Tacilisreklam& r) { QTest::keyClick(r.Button1, Qt::Key_Shift); }, mrCancel},
            {"Kapat", [](Tacilisreklam& r) { r.Button1xxx->click(); }, mrCancel},
            {"hedefli resim", [](Tacilisreklam& r) { QTest::mouseClick(r.cxImage1, Qt::LeftButton, {}, QPoint(300, 150)); },
             mrOk},
            {"boş hedefli resim",
             [](Tacilisreklam& r) {
                 r.arama = "  ";
                 r.cxImage1Click();
             },
             mrCancel},
        };
        for (const Kapanis& k : kapanislar) {
            Tacilisreklam r;
            QSignalSpy yuklendi(&r, &Tacilisreklam::resimYuklendi);
            r.Ac(bagc, bilgi);
            QVERIFY(yuklendi.wait(20000));
            int sonuc = -1;
            QTimer::singleShot(0, &r, [&] { k.eylem(r); });
            sonuc = r.exec();
            QVERIFY2(sonuc == k.sonuc, k.ad);
        }
        QVERIFY2(hatalar_.isEmpty(), qPrintable(hatalar_.join('\n')));
    }

    // A screen whose bytes are no picture is reported as an error and leaves title, picture
    // and counter as they were; an unreachable server leaves them too. Either way the
    // paging buttons come back.
    void reklamYuklenemezse()
    {
        auto sunucu = sunucuBaslat(
            "UPDATE screens SET active = 0 WHERE kind = 2 AND target <> '#KAMPANYA#';"
            "INSERT INTO screens (kind, title, picture, target, sort) VALUES (2, 'metin', X'48656C6C6F', 'X', 99);");
        TBaglanti bagc;
        baglantiKur(bagc, sunucu->port());
        Tacilisreklam r;
        QSignalSpy yuklendi(&r, &Tacilisreklam::resimYuklendi);
        r.Ac(bagc, TSonucBilgisi{});
        QVERIFY(yuklendi.wait(20000));
        QCOMPARE(r.Label2->text(), QStringLiteral("1 / 2"));

        r.Button2Click();
        QVERIFY(yuklendi.wait(20000));
        QCOMPARE(hatalar_, QStringList{QStringLiteral("Açılış reklamının resmi okunamadı.")});
        QCOMPARE(r.Label1->text(), QStringLiteral("Bahar kampanyası başladı"));
        QCOMPARE(r.arama, QStringLiteral("#KAMPANYA#"));
        QVERIFY(!r.cxImage1->resim().isNull());
        QVERIFY(r.Button1->isEnabled() && r.Button2->isEnabled() && r.gifstokara->isHidden());

        const BeklemeKancasi eskiBekleme = BeklemeKancasiAyarla([](std::chrono::milliseconds) {});
        QStringList mesajlar;
        const MesajKancasi eskiMesaj = MesajKancasiAyarla([&](const BaglantiMesaji& m) { mesajlar << m.metin; });
        sunucu.reset();
        r.Button1Click();
        QVERIFY(yuklendi.wait(60000));
        MesajKancasiAyarla(eskiMesaj);
        BeklemeKancasiAyarla(eskiBekleme);
        QCOMPARE(mesajlar, QStringList{QString::fromUtf8(kBaglantiKurulamiyor)});
        QCOMPARE(r.Label1->text(), QStringLiteral("Bahar kampanyası başladı"));
        QVERIFY(r.Button1->isEnabled() && r.Button2->isEnabled());
    }

    // One opening screen: "1 / 1" and neither arrow moves; a click on it opens its target
    // in the main window after the window is gone.
    void tekAcilisEkrani()
    {
        auto sunucu = sunucuBaslat("UPDATE screens SET active = 0 WHERE kind = 2 AND target <> 'AMORTISOR';");
        Pencere p(sunucu->port());
        // The window runs modally inside the start-up's main-thread step: act from a timer.
        QString sayac;
        QList<int> siralar;
        bool yuklemeBasladi = false;
        QTimer eylem;
        eylem.setInterval(20);
        connect(&eylem, &QTimer::timeout, [&] {
            auto* r = p.form->findChild<Tacilisreklam*>();
            if (!r || !r->isVisible() || r->yukleniyor()) return;
            eylem.stop();
            sayac = r->Label2->text();
            for (int tus : {Qt::Key_Right, Qt::Key_Left}) {
                QTest::keyClick(r, Qt::Key(tus));
                siralar << r->sirasi;
                yuklemeBasladi = yuklemeBasladi || r->yukleniyor();
            }
            r->cxImage1Click();
        });
        eylem.start();
        p.ac();
        QCOMPARE(sayac, QStringLiteral("1 / 1"));
        QCOMPARE(siralar, (QList<int>{1, 1}));
        QVERIFY(!yuklemeBasladi);
        // The window is gone before its target runs.
        QVERIFY(!p.form->findChild<Tacilisreklam*>());
        QCOMPARE(p.aramalar, QStringList{"AMORTISOR"});
    }

    // An admin change on the server reaches the running window through the push channel:
    // marquee, banners, the badge and the opening advertisements, without a restart.
    void yonetimDegisikligiBildirimleGelir()
    {
        auto sunucu = sunucuBaslat();
        ReklamKapatici kapatici;
        Pencere p(sunucu->port(), true);
        TForm1& f = *p.form;
        QSignalSpy kayit(f.kanal(), &TKanalYoneticisi::kayitTamam);
        QSignalSpy yenilendi(&f, &TForm1::yenilendi);
        p.ac();
        QTRY_VERIFY_WITH_TIMEOUT(kayit.count() >= 1, 20000);
        const std::string db = sunucu->databasePath();
        QTRY_COMPARE(kapatici.kapatilan, 1);

        durnak::testing::runAdmin(db, "set-marquee 'Yeni <b>kampanya</b> başladı'");
        QVERIFY(yenilendi.wait(20000));
        QCOMPARE(f.kayanyazi->html(), QStringLiteral("Yeni <b>kampanya</b> başladı"));

        // The header banner's GIF becomes the upper strip: the strip takes its height.
        QTemporaryDir klasor;
        const QByteArray gif = bannerBaytlari(sunucu->port(), 1);
        QVERIFY(!gif.isEmpty());
        durnak::testing::runAdmin(db, "set-banner --slot 2 " + tirnak(dosyayaYaz(klasor, "ust.gif", gif)));
        QVERIFY(yenilendi.wait(20000));
        QCOMPARE(f.RxGIFAnimator2->height(), 100);

        durnak::testing::runAdmin(db, "set-banner --slot 3 " + tirnak(dosyayaYaz(klasor, "alt.bmp", bmpBaytlari(200, 16))));
        QVERIFY(yenilendi.wait(20000));
        QCOMPARE(f.Panel5->height(), 56);

        QImage jpeg(64, 48, QImage::Format_RGB32);
        jpeg.fill(Qt::red);
        const QString jpegYolu = klasor.filePath("reklam.jpg");
        QVERIFY(jpeg.save(jpegYolu, "JPG"));
        const int onceki = kapatici.kapatilan;
        durnak::testing::runAdmin(db, "add-screen --kind reklam --title 'Yaz' --picture " + tirnak(jpegYolu) +
                                          " --target FILTRE");
        QVERIFY(yenilendi.wait(20000));
        QCOMPARE(f._acilisadet, 4);
        QCOMPARE(p.baslik(f.sTabSheetduyuru), QStringLiteral("4=Duyurular"));
        // The refresh ends with the opening advertisements.
        QTRY_COMPARE(kapatici.kapatilan, onceki + 1);
        QCOMPARE(kapatici.sayacYazilari.last(), QStringLiteral("1 / 4"));
        QVERIFY2(hatalar_.isEmpty(), qPrintable(hatalar_.join('\n')));
    }
};

QTEST_MAIN(TanitimTesti)
#include "tanitim_test.moc"
