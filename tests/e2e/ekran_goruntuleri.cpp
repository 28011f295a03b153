// Screenshots of the program's windows with demo data: starts a server on a copy of the
// seeded demo database, drives the real main window as the program builds it and saves a
// grab of every window it opens as PNG into the folder given as the only argument.

#include <functional>
#include <memory>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFont>
#include <QLineEdit>
#include <QScreen>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <QTemporaryDir>

#include "app/gorunum.hpp"
#include "app/kurulum.hpp"
#include "app/sekmeler.hpp"
#include "basket/onaysip.hpp"
#include "basket/radiogrup.hpp"
#include "basket/sepet.hpp"
#include "catalogue/stokayarinti.hpp"
#include "console/raporformu.hpp"
#include "console/seccariu.hpp"
#include "console/tarihsecu.hpp"
#include "demo_database.hpp"
#include "durnak/grid/durnakgrid.hpp"
#include "history/bakiyesiparisler.hpp"
#include "history/ekstreayrinti.hpp"
#include "history/siparisayrinti.hpp"
#include "mail/mailformu.hpp"
#include "signin/kullanicikayitu.hpp"
#include "testkit/modal.hpp"
#include "promotions/acilisreklamu.hpp"
#include "server_process.hpp"
#include "signin/formistekyeniu.hpp"
#include "signin/girisformu.hpp"
#include "update/dosyaindiru.hpp"

#include <QWebEngineView>

using namespace durnak::client;
using durnak::testler::ModalSurucu;

namespace {

QString klasor;
int sorunlar = 0;  // what went wrong; the program fails when there was any

void sorun(const QString& metin)
{
    ++sorunlar;
    qWarning("%s", qPrintable(metin));
}

void kaydet(QWidget& w, const char* ad)
{
    // No waiting here: the grabs inside modal steps run from a timer of the event loop.
    QApplication::processEvents();
    const QString yol = QDir(klasor).filePath(QString::fromLatin1(ad) + ".png");
    if (w.grab().save(yol)) qInfo("%s", qPrintable(yol));
    else sorun(QStringLiteral("could not save ") + yol);
}

bool bekle(TForm1& f, const char* ad)
{
    QTest::qWait(30);
    return QTest::qWaitFor([&] { return !f.YuklemeSuruyor(QString::fromLatin1(ad)); }, 30000);
}

int satirBul(const TClientDataSet& ds, const char* alan, int deger)
{
    const int sutun = ds.FieldIndex(QString::fromLatin1(alan));
    for (int r = 0; sutun >= 0 && r < ds.RecordCount(); ++r)
        if (ds.value(r, sutun).toInt() == deger) return r;
    return -1;
}

// The main window signed in as `kullanici` on `bilgisayarId`, every window of the sign-in grabbed.
std::unique_ptr<TForm1> pencereAc(const durnak::testing::ServerProcess& sunucu, const char* bilgisayarId,
                                  const char* kullanici, const QString& onek)
{
    const QString ip = QStringLiteral("http://127.0.0.1:%1/").arg(sunucu.webPort());
    TGirisAdresleri adresler{QStringLiteral("localhost"), QStringLiteral("127.0.0.1"),
                             QStringLiteral("http://localhost:%1/").arg(sunucu.webPort()), ip + "ip",
                             ip + "exe/DurnakOtoSetup.exe"};
    TForm1Kancalari kancalar = AnaPencereKancalari(adresler);
    const QString port = QString::number(sunucu.port());
    kancalar.girisYap = [gercek = kancalar.girisYap, port](TForm1& f) {
        f.bagc.Params().SetValues(QStringLiteral("Port"), port);
        return gercek(f);
    };
    auto form = std::make_unique<TForm1>(kancalar);
    AnaPencereyiBagla(*form);
    form->ProgramiBitir = [](int) {};

    ModalSurucu s;
    s.sonra<Tgirisform>([=](Tgirisform& g) {
        g.idsi = QString::fromLatin1(bilgisayarId);
        g.adi->setText(QString::fromLatin1(kullanici));
        g.sifre->setText(QStringLiteral("DEMO"));
        if (onek == "musteri") kaydet(g, "signin");
        g.Button1->click();
    });
    if (onek == "temsilci") {
        s.sonra<Tseccari>([](Tseccari& k) {
            k.BelgeAc = [](const QString&) {};
            k.NEdit1->setText(QStringLiteral("1001"));
            k.Ara();
            const int satir = satirBul(k.CARILER, "CARINO", 1001);
            if (satir >= 0) k.cxGrid1->focusRow(satir);
            kaydet(k, "console");
            QTimer::singleShot(0, &k, [&k] {
                k.C1Click();
                k.Button1Click();
            });
        });
        s.sonra<Ttarihsec>([](Ttarihsec& t) {
            kaydet(t, "date-dialog");
            t.Button1Click();
        });
    }
    s.sonra<Tacilisreklam>([onek](Tacilisreklam& r) {
        (void)QTest::qWaitFor([&] { return !r.yukleniyor(); }, 10000);
        if (onek == "musteri") kaydet(r, "opening-advertisements");
        r.Button1xxx->click();
    });
    QSignalSpy bitti(form.get(), &TForm1::acilisYuklemeleriBitti);
    form->FormCreate();
    form->resize(1350, 710);
    form->show();
    if (bitti.isEmpty()) bitti.wait(30000);
    if (!QTest::qWaitFor([&] { return s.bitti(); }, 20000)) sorun(QStringLiteral("sign-in windows: ") + s.mesajlar.join("; "));
    s.durdur();
    return form;
}

// The request form as the sign-in opens it for a workstation the server does not know. The
// browser draws through the graphics stack, so the window is taken from the screen.
void istekFormu(const durnak::testing::ServerProcess& sunucu)
{
    Tformistekyeni form;
    form.setWindowTitle(QStringLiteral("Durnak Otomotiv B2B İstek Formu"));
    form.resize(900, 700);
    QSignalSpy yuklendi(form.sitem, &QWebEngineView::loadFinished);
    form.Git(QUrl(QStringLiteral("http://localhost:%1/formmailgonder.aspx?carino=0&kullanici= &id=YENI-PC-0001")
                      .arg(sunucu.webPort())));
    form.show();
    if (yuklendi.isEmpty() && !yuklendi.wait(30000)) sorun(QStringLiteral("request form: the page did not load"));
    QTest::qWait(1500);
    const QString yol = QDir(klasor).filePath(QStringLiteral("request-form.png"));
    QScreen* ekran = form.screen();
    const QPixmap resim = ekran ? ekran->grabWindow(form.winId()) : form.grab();
    if (resim.save(yol)) qInfo("%s", qPrintable(yol));
    else sorun(QStringLiteral("could not save ") + yol);
}

// The update window halfway through a download; the download itself is not started.
void guncelleme()
{
    Tdosyaindir pencere(nullptr, 3, QStringLiteral("http://127.0.0.1:1/"));
    pencere.basladi = true;
    pencere.ProgramiBitir = [](int) {};
    pencere.show();
    bool iptal = false;
    pencere.NetHTTPClient1ReceiveData(2'621'440, 1'310'720, iptal);
    QTest::qWait(200);
    kaydet(pencere, "update");
}

} // namespace

int main(int argc, char** argv)
{
    // The browser of the request form runs no sandbox under a throw-away X server.
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication uygulama(argc, argv);
    if (argc < 2) {
        qCritical("usage: %s OUTPUT_FOLDER", argv[0]);
        return 2;
    }
    // The look of the program itself.
    FiordFlatUygula(uygulama);
    klasor = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(klasor);
    QTemporaryDir ev;
    qputenv("HOME", ev.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (ev.path() + "/config").toUtf8());

    durnak::testing::ServerOptions ayar;
    ayar.dbPath = durnak::testing::seededDatabaseCopy();
    durnak::testing::ServerProcess sunucu(ayar);

    // A customer: the tabs, the quantity dialog, the confirmation, the details.
    {
        auto form = pencereAc(sunucu, durnak::testing::kDemoComputerId, "DEMO", "musteri");
        TForm1& f = *form;
        f.araedit->setText(QStringLiteral("FILTRE"));
        QTest::keyClick(f.araedit, Qt::Key_Return);
        bekle(f, "stokara");
        QTest::qWait(300);
        kaydet(f, "main-stock-list");
        if (f.stok.RecordCount() > 0) {
            f.cxGrid1->focusRow(0);
            ModalSurucu s;
            s.sonra<Tstokayarinti>([](Tstokayarinti& d) {
                d.adet->setValue(2);
                kaydet(d, "quantity-dialog");
                d.ParcaliTus1->click();
            });
            f.SepeteEkle1->trigger();
        }
        f.sPageControl1->setCurrentWidget(f.ssepet);
        QTest::qWait(300);
        if (auto* sp = f.findChild<TSepet*>()) {
            f.Button4->click();
            sp->boxkargo->Button(0)->click();
            if (sp->kargocombo->count() > 1) sp->kargocombo->setCurrentIndex(1);
            QTest::qWait(300);
            kaydet(f, "main-basket");
            ModalSurucu s;
            s.sonra<TONAYSIP>([](TONAYSIP& o) {
                kaydet(o, "order-confirmation");
                o.Button2->click();
            });
            f.Button1->click();
        }
        struct Sekme {
            QWidget* sekme;
            const char* yukleme;
            const char* ad;
        };
        for (const Sekme& t : {Sekme{f.syeniler, "yeniler", "main-new-items"},
                               Sekme{f.skampanyali, "kampanyali", "main-campaign-items"},
                               Sekme{f.sTabSheetduyuru, "duyuru", "main-announcements"},
                               Sekme{f.sTabbakiyeler, "", "main-balances"},
                               Sekme{f.sccariekstre, "ekstre", "main-statement"},
                               Sekme{f.sonceki, "oncekiler", "main-previous-orders"}}) {
            f.sPageControl1->setCurrentWidget(t.sekme);
            if (*t.yukleme) bekle(f, t.yukleme);
            QTest::qWait(300);
            kaydet(f, t.ad);
        }
        if (f.ONCEKILER.RecordCount() > 0) {
            f.cxGrid3->focusRow(0);
            ModalSurucu s;
            s.sonra<Tayrinti_siparis>([](Tayrinti_siparis& a) {
                kaydet(a, "order-detail");
                a.Button1->click();
            });
            f.SiparisiIncele1->trigger();
        }
        // The stock popup's "Tüm Siparişler" on an item the customer has ordered.
        f.sPageControl1->setCurrentWidget(f.sstoklistesi);
        f.araedit->setText(QStringLiteral("FM-000006"));
        QTest::keyClick(f.araedit, Qt::Key_Return);
        bekle(f, "stokara");
        if (f.stok.RecordCount() > 0) {
            f.cxGrid1->focusRow(0);
            ModalSurucu s;
            s.sonra<QDialog>([](QDialog& d) {
                kaydet(d, "all-orders");
                d.reject();
            });
            f.S3->trigger();
            s.durdur();
        }
        {
            Tmailform mail(&f, f.bagc, f.sbilgi);
            mail.show();
            QTest::qWait(200);
            kaydet(mail, "mail");
        }
        {
            Tkullanicikayit istek(&f, f.bagc, f.sbilgi);
            istek.show();
            QTest::qWait(200);
            kaydet(istek, "password-request");
        }
        f.sPageControl1->setCurrentWidget(f.sccariekstre);
        bekle(f, "ekstre");
        const int tur = f.EKSTRE.FieldIndex(QStringLiteral("TURADI"));
        bool fatura = false, tahsilat = false;
        for (int r = 0; tur >= 0 && r < f.EKSTRE.RecordCount(); ++r) {
            const QString ad = f.EKSTRE.value(r, tur).toString();
            const bool buFatura = ad.contains(QStringLiteral("Fatura"));
            const bool buTahsilat = ad == QStringLiteral("Tahsilat");
            if ((buFatura && fatura) || (buTahsilat && tahsilat) || (!buFatura && !buTahsilat)) continue;
            f.cxGrid5->focusRow(r);
            ModalSurucu s;
            s.sonra<QDialog>([buFatura](QDialog& d) {
                kaydet(d, buFatura ? "invoice-detail" : "collection-detail");
                d.reject();
            });
            f.HareketIncele1->trigger();
            (buFatura ? fatura : tahsilat) = true;
        }
    }

    // A sales representative: the console, the date dialog, the report window.
    {
        auto form = pencereAc(sunucu, durnak::testing::kRepComputerId, "TEMSILCI", "temsilci");
        TForm1& f = *form;
        QTest::qWait(300);
        kaydet(f, "main-representative");
        ModalSurucu s;
        s.sonra<Traporform>([](Traporform& r) {
            r.tarih1->setDate(QDate::currentDate().addMonths(-3));  // the seeded orders of past weeks
            r.Button1Click();
            r.resize(1100, 650);
            kaydet(r, "report-window");
            r.close();
        });
        f.R1->trigger();
        s.durdur();

        // The balance and price changes a representative makes on the balances tab.
        f.sPageControl1->setCurrentWidget(f.sTabbakiyeler);
        QTest::qWait(300);
        auto* bakiyeler = f.sTabbakiyeler->findChild<Tbakiyesiparisler*>();
        if (bakiyeler && QTest::qWaitFor([&] { return bakiyeler->cxGrid2->model()->rowCount() > 0; }, 10000)) {
            kaydet(f, "main-representative-balances");
            bakiyeler->cxGrid2->focusRow(0);
            ModalSurucu d;
            d.mesaj(QStringLiteral("Evet"));
            d.sonra<Tbakiyedegistir>([](Tbakiyedegistir& b) {
                kaydet(b, "balance-change");
                b.Button2Click();
            });
            bakiyeler->B2Click();
            d.sonra<Tfiyatdegistir>([](Tfiyatdegistir& p) {
                kaydet(p, "price-change");
                p.reject();
            });
            bakiyeler->F1Click();
            if (!d.bitti()) sorun(QStringLiteral("balance dialogs: ") + d.mesajlar.join("; "));
        } else {
            sorun(QStringLiteral("the representative's balances did not load"));
        }
    }
    guncelleme();
    istekFormu(sunucu);
    return sorunlar == 0 ? 0 : 1;
}
