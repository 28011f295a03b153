// The basket tab against the real server: loading, ticks, totals, deleting, adding and
// changing lines through the quantity dialog, delivery and cargo choice and the order.

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include "app/beklesinu.hpp"
#include "app/sekmeler.hpp"
#include "app/unit1.hpp"
#include "basket/onaysip.hpp"
#include "basket/radiogrup.hpp"
#include "basket/sepet.hpp"
#include "catalogue/stokayarinti.hpp"
#include "demo_database.hpp"
#include "durnak/data/datasethelpers.hpp"
#include "durnak/grid/durnakgrid.hpp"
#include "server/cagri.hpp"
#include "server_process.hpp"
#include "testkit/modal.hpp"
#include "testler.hpp"
#include "veritabani.hpp"

namespace {

using durnak::client::CagriC;
using durnak::client::Kopya;
using durnak::client::TForm1;
using durnak::client::TONAYSIP;
using durnak::client::TSepet;
using durnak::client::TServerMethods1Client;
using durnak::client::Tstokayarinti;
using durnak::testler::ModalSurucu;
using durnak::sepettest::Veritabani;
using durnak::testing::ServerOptions;
using durnak::testing::ServerProcess;

QString yazi(const char* metin)
{
    return QString::fromUtf8(metin);
}

class SepetTesti : public QObject {
    Q_OBJECT

    std::string db_;
    std::unique_ptr<ServerProcess> sunucu_;
    std::unique_ptr<TForm1> form_;
    TSepet* sepet_ = nullptr;
    QStringList hatalar_;
    // Items of the demo catalogue: two plain ones and one on campaign.
    int stok1_ = 0, stok2_ = 0, stok3_ = 0;

    Veritabani vt() { return Veritabani(db_); }

    TForm1& f() { return *form_; }

    // A basket line made on the server's side, as another workstation would leave it.
    void satirEkle(int stokno, double miktar, double fiyat, double ind1, double ind2, int sec, double kdv = 20)
    {
        vt().calistir("INSERT INTO basket (carino, stokno, qty, unit_price, disc1, disc2, vat, sec, entered_by)"
                      " VALUES (1001, " + std::to_string(stokno) + ", " + std::to_string(miktar) + ", " +
                      std::to_string(fiyat) + ", " + std::to_string(ind1) + ", " + std::to_string(ind2) + ", " +
                      std::to_string(kdv) + ", " + std::to_string(sec) + ", 3)");
    }
    long long say(const std::string& sql) { return vt().tamsayi(sql); }
    long long sepettekiSatir() { return say("SELECT COUNT(*) FROM basket WHERE carino = 1001"); }
    long long secimCagrisi() { return say("SELECT COUNT(*) FROM secim_kaydi"); }
    long long siparisSayisi() { return say("SELECT COUNT(*) FROM orders WHERE carino = 1001"); }

    QString sepetBasligi() const
    {
        return form_->sPageControl1->tabText(form_->sPageControl1->indexOf(form_->ssepet));
    }

    // The grid cell of a basket line in the column of `alan`, focused as a click would.
    void hucreOdakla(int satir, const QString& alan)
    {
        durnak::grid::DurnakGrid* g = f().cxGrid2;
        g->setCurrentIndex(g->model()->index(satir, g->columnIndex(alan)));
    }

    // A complete order form: the ticked lines loaded, delivery and cargo kind chosen, a company
    // picked.
    void gonderilebilirHazirla()
    {
        sepet_->ssepetShow();
        sepet_->boxkargo->Button(0)->click();  // Anlaşmalı Kargo
        sepet_->kargocombo->setCurrentIndex(3);  // Anadolu Kargo
    }

private slots:
    void initTestCase()
    {
        db_ = durnak::testing::seededDatabaseCopy();
        // Every stored tick leaves a row here, so the test counts the server's tick calls.
        vt().calistir("CREATE TABLE secim_kaydi (sirano INTEGER, sec INTEGER);"
                      "CREATE TRIGGER secim_sayaci AFTER UPDATE OF sec ON basket"
                      " BEGIN INSERT INTO secim_kaydi VALUES (NEW.sirano, NEW.sec); END;"
                      "INSERT INTO cargo_kinds (id, name, sort) VALUES (9, 'Firmasız Tür', 9);");
        stok1_ = static_cast<int>(say("SELECT MIN(stokno) FROM stock WHERE is_campaign = 0 AND active = 1"));
        stok2_ = static_cast<int>(say("SELECT MAX(stokno) FROM stock WHERE is_campaign = 0 AND active = 1"));
        stok3_ = static_cast<int>(say("SELECT MIN(stokno) FROM stock WHERE is_campaign = 1 AND active = 1"));
        ServerOptions ayar;
        ayar.dbPath = db_;
        sunucu_ = std::make_unique<ServerProcess>(ayar);
        // No pauses between connection attempts, and errors counted instead of shown.
        durnak::client::BeklemeKancasiAyarla([](std::chrono::milliseconds) {});
        durnak::client::HataGostericiAyarla([this](const QString& m) { hatalar_ << m; });
    }

    void cleanupTestCase()
    {
        durnak::client::BeklemeKancasiAyarla({});
        durnak::client::HataGostericiAyarla({});
        sunucu_.reset();
    }

    void init()
    {
        vt().calistir("DELETE FROM basket WHERE carino = 1001; DELETE FROM secim_kaydi;"
                      " DELETE FROM account_movements WHERE description = 'test vadesi';");
        hatalar_.clear();
        form_ = std::make_unique<TForm1>();
        sepet_ = durnak::client::SepetBagla(*form_);
        f().bagc.Params().SetValues(QStringLiteral("HostName"), QStringLiteral("127.0.0.1"));
        f().bagc.Params().SetValues(QStringLiteral("Port"), QString::number(sunucu_->port()));
        f().bagc.SetComputerId(QString::fromLatin1(durnak::testing::kDemoComputerId));
        f().bagc.SetCredentials(QStringLiteral("DEMO"), QString::fromLatin1(durnak::testing::kDemoPassword));
        CagriC(f().bagc, [this](TServerMethods1Client& p) {
            f().sbilgi = *p.BuyukGetir(QString::fromLatin1(durnak::testing::kDemoComputerId));
        });
        QCOMPARE(f().sbilgi.FCARINO, 1001);
    }

    void cleanup()
    {
        form_.reset();
        QVERIFY2(hatalar_.isEmpty(), qPrintable(hatalar_.join(QStringLiteral(" | "))));
    }

    void izgaraKolonlari()
    {
        durnak::grid::DurnakGrid* g = f().cxGrid2;
        QCOMPARE(g->gridModel()->columnCount(), 52);
        QStringList gorunen;
        for (int sutun : g->visibleColumns()) gorunen << g->gridModel()->column(sutun).caption;
        QCOMPARE(gorunen, (QStringList{yazi("Seç"), yazi("Sipariş Tarihi"), yazi("Kod"), yazi("Stok Açıklama"),
                                       yazi("Miktar"), yazi("Birim Fiyat"), yazi("Tutar"), yazi("İndirim Oran"),
                                       yazi("Net Fiyat"), yazi("Net Tutar"), yazi("Veren"), yazi("Durum")}));
        // The tick column is never offered; the user type takes DURUM away or adds KALAN.
        const int sec = g->columnIndex(QStringLiteral("SEC"));
        QVERIFY(!g->gridModel()->isOffered(sec));
        f().KullaniciTipineUyarla(3);
        QVERIFY(!g->isColumnVisible(QStringLiteral("DURUM")));
        QVERIFY(!g->gridModel()->isOffered(g->columnIndex(QStringLiteral("DURUM"))));

        TForm1 temsilci;
        TSepet* s = durnak::client::SepetBagla(temsilci);
        QVERIFY(s);
        QVERIFY(!temsilci.cxGrid2->isColumnVisible(QStringLiteral("KALAN")));
        temsilci.KullaniciTipineUyarla(1);
        QVERIFY(temsilci.cxGrid2->isColumnVisible(QStringLiteral("KALAN")));
        QVERIFY(temsilci.cxGrid2->gridModel()->isOffered(temsilci.cxGrid2->columnIndex(QStringLiteral("KALAN"))));
    }

    // Totals come from the server's line amounts: 10 x 1 with 10 % off is a discount of
    // exactly 1,00, which stays hidden; the unticked line counts nowhere until it is ticked.
    void toplamlarVeTekSecim()
    {
        satirEkle(stok1_, 1, 10, 10, 0, 1);
        satirEkle(stok2_, 2, 50, 0, 0, 0);
        sepet_->SepetAl();
        QCOMPARE(sepetBasligi(), QStringLiteral("2=Sepet"));
        QCOMPARE(sepet_->aratoplaml->text(), QStringLiteral("10,00"));
        QCOMPARE(sepet_->indiriml->text(), QStringLiteral("1,00"));
        QVERIFY(sepet_->indiriml->isHidden() && sepet_->Label4->isHidden());
        QCOMPARE(sepet_->nettutarl->text(), QStringLiteral("9,00"));
        QCOMPARE(sepet_->vergil->text(), QStringLiteral("1,80"));
        QVERIFY(!sepet_->vergil->isHidden() && !sepet_->Label6->isHidden());
        QCOMPARE(sepet_->geneltoplaml->text(), QStringLiteral("10,80"));

        // A double-click on the "Seç" cell of the second line ticks it, on the server too.
        hucreOdakla(1, QStringLiteral("SEC"));
        sepet_->SatirDegistir();
        QCOMPARE(say("SELECT sec FROM basket WHERE stokno = " + std::to_string(stok2_)), 1LL);
        QCOMPARE(secimCagrisi(), 1LL);
        QCOMPARE(sepet_->aratoplaml->text(), QStringLiteral("110,00"));
        QCOMPARE(sepet_->geneltoplaml->text(), QStringLiteral("130,80"));
        // And again: untick.
        sepet_->SatirDegistir();
        QCOMPARE(say("SELECT sec FROM basket WHERE stokno = " + std::to_string(stok2_)), 0LL);
        QCOMPARE(sepet_->geneltoplaml->text(), QStringLiteral("10,80"));
    }

    void hepsiniSecVeKaldir()
    {
        const int n = 5;
        for (int i = 0; i < n; ++i) satirEkle(stok1_ + i, 1, 20, 0, 0, i % 2);
        sepet_->SepetAl();
        QCOMPARE(secimCagrisi(), 0LL);

        f().Button4->click();
        QCOMPARE(secimCagrisi(), static_cast<long long>(n));
        QCOMPARE(say("SELECT COUNT(*) FROM basket WHERE carino = 1001 AND sec = 1"), static_cast<long long>(n));
        QCOMPARE(sepet_->aratoplaml->text(), QStringLiteral("100,00"));

        f().Button5->click();
        QCOMPARE(secimCagrisi(), static_cast<long long>(2 * n));
        QCOMPARE(say("SELECT COUNT(*) FROM basket WHERE carino = 1001 AND sec = 1"), 0LL);
        for (QLabel* l : {sepet_->aratoplaml, sepet_->indiriml, sepet_->nettutarl, sepet_->vergil,
                          sepet_->geneltoplaml})
            QCOMPARE(l->text(), QStringLiteral("0,00"));
        QVERIFY(sepet_->vergil->isHidden() && sepet_->indiriml->isHidden());
    }

    // A tick the server could not store is not kept: the order would not contain the line.
    void secimSaklanamazsaGeriAlinir()
    {
        satirEkle(stok1_, 1, 20, 0, 0, 0);
        satirEkle(stok2_, 1, 20, 0, 0, 0);
        sepet_->SepetAl();
        f().bagc.Params().SetValues(QStringLiteral("Port"), QStringLiteral("1"));
        f().Button4->click();
        f().bagc.Params().SetValues(QStringLiteral("Port"), QString::number(sunucu_->port()));
        QCOMPARE(sepet_->geneltoplaml->text(), QStringLiteral("0,00"));
        QVERIFY(!durnak::data::SeciliVarMi(f().sepet));
        QCOMPARE(secimCagrisi(), 0LL);
    }

    void satirSilVeHepsiniSil()
    {
        satirEkle(stok1_, 1, 20, 0, 0, 1);
        satirEkle(stok2_, 1, 20, 0, 0, 1);
        sepet_->SepetAl();
        hucreOdakla(0, QStringLiteral("STOKADI"));
        {
            ModalSurucu s;
            s.mesaj(yazi("Evet")).mesaj(yazi("Tamam"));
            f().SatirSil1->trigger();
            QCOMPARE(s.mesajlar, (QStringList{yazi("Satırı silmek istiyor musunuz "), yazi("Satır silindi !")}));
            QCOMPARE(s.odaklar.value(0), yazi("Hayır"));
        }
        QCOMPARE(sepettekiSatir(), 1LL);
        QCOMPARE(say("SELECT stokno FROM basket WHERE carino = 1001"), static_cast<long long>(stok2_));
        QCOMPARE(sepetBasligi(), QStringLiteral("1=Sepet"));

        {  // The question closed with the close box deletes nothing.
            ModalSurucu s;
            s.kapat();
            f().HepsiniSil1->trigger();
            QCOMPARE(s.mesajlar, QStringList{yazi("Tüm Sepeti Silmek İstiyor musunuz ")});
        }
        QCOMPARE(sepettekiSatir(), 1LL);
        {
            ModalSurucu s;
            s.mesaj(yazi("Evet")).mesaj(yazi("Tamam"));
            f().HepsiniSil1->trigger();
            QCOMPARE(s.mesajlar, (QStringList{yazi("Tüm Sepeti Silmek İstiyor musunuz "), yazi("Sepet Silindi !")}));
        }
        QCOMPARE(sepettekiSatir(), 0LL);
        QCOMPARE(sepetBasligi(), QStringLiteral("0=Sepet"));
        {  // An empty basket asks nothing.
            ModalSurucu s;
            f().HepsiniSil1->trigger();
            QTest::qWait(50);
            QCOMPARE(s.mesajlar, QStringList{});
        }
    }

    // Adding an item twice: the second time its line opens with its quantity, and the
    // change is sent (SepetEkle2 would have added to the quantity on the server).
    void ikinciEklemeSatiriDegistirir()
    {
        const QString kod = QString::fromStdString(vt().metin("SELECT code FROM stock WHERE stokno = " +
                                                              std::to_string(stok1_)));
        CagriC(f().bagc, [&](TServerMethods1Client& p) {
            durnak::data::AssignPacket(p.StokAraGetir(kod, Kopya(f().sbilgi)), f().stok);
        });
        f().cxGrid1->setDataSet(&f().stok);
        const int sutun = f().stok.FieldIndex(QStringLiteral("STOK_STOKNO"));
        int satir = -1;
        for (int r = 0; r < f().stok.RecordCount(); ++r)
            if (f().stok.value(r, sutun).toInt() == stok1_) satir = r;
        QVERIFY(satir >= 0);
        f().cxGrid1->focusRow(satir);
        QVERIFY(!f().sepet.Active());

        struct Goruldu {
            QString baslik, fiyatBasligi, barkod;
            int adet = -1;
        };
        auto diyalog = [](Goruldu& g, int yeniAdet, bool tamam) {
            return [&g, yeniAdet, tamam](QWidget* w) {
                auto* d = qobject_cast<Tstokayarinti*>(w);
                if (!d) return w->close(), void();
                g.baslik = d->windowTitle();
                g.fiyatBasligi = d->Label2->text();
                g.barkod = d->barkod->text();
                g.adet = d->adet->value();
                d->adet->setValue(yeniAdet);
                (tamam ? d->ParcaliTus1 : d->ParcaliTus2)->click();
            };
        };

        Goruldu ilk, ikinci, vazgecilen;
        {
            ModalSurucu s;
            s.sonra(diyalog(ilk, 2, true));
            f().SepeteEkle1->trigger();
            QVERIFY(s.bitti());
            QCOMPARE(s.mesajlar, QStringList{});
        }
        QCOMPARE(ilk.adet, 1);
        QCOMPARE(ilk.barkod, QString::fromStdString(vt().metin("SELECT barcode FROM stock WHERE stokno = " +
                                                                std::to_string(stok1_))));
        QCOMPARE(sepettekiSatir(), 1LL);
        QCOMPARE(vt().gercek("SELECT qty FROM basket WHERE carino = 1001"), 2.0);
        QCOMPARE(sepetBasligi(), QStringLiteral("1=Sepet"));

        {
            ModalSurucu s;
            s.sonra(diyalog(ikinci, 5, true));
            emit f().cxGrid1->doubleClicked(f().cxGrid1->currentIndex());
            QVERIFY(s.bitti());
        }
        QCOMPARE(ikinci.adet, 2);  // the line's quantity, not 1
        QCOMPARE(sepettekiSatir(), 1LL);
        QCOMPARE(vt().gercek("SELECT qty FROM basket WHERE carino = 1001"), 5.0);
        QCOMPARE(sepetBasligi(), QStringLiteral("1=Sepet"));
        QCOMPARE(f().sepet.RecordCount(), 1);

        {  // Cancel sends nothing.
            ModalSurucu s;
            s.sonra(diyalog(vazgecilen, 9, false));
            f().SepeteEkle1->trigger();
            QVERIFY(s.bitti());
        }
        QCOMPARE(vazgecilen.adet, 5);
        QCOMPARE(vt().gercek("SELECT qty FROM basket WHERE carino = 1001"), 5.0);
    }

    // The change dialog from the basket grid, on any column but "Seç".
    void sepettenSatirDegistir()
    {
        satirEkle(stok1_, 3, 40, 10, 5, 1);
        sepet_->SepetAl();
        hucreOdakla(0, QStringLiteral("MIKTAR"));
        int gorulenAdet = -1;
        QString indirimBasligi;
        {
            ModalSurucu s;
            s.sonra([&](QWidget* w) {
                auto* d = qobject_cast<Tstokayarinti*>(w);
                if (!d) return w->close(), void();
                gorulenAdet = d->adet->value();
                indirimBasligi = d->indirimoran->text();
                d->adet->setValue(7);
                d->ParcaliTus1->click();
            });
            f().SatirDegistir1->trigger();
            QVERIFY(s.bitti());
        }
        QCOMPARE(gorulenAdet, 3);
        QVERIFY2(indirimBasligi.startsWith(yazi("İndirim: %")), qPrintable(indirimBasligi));
        QCOMPARE(vt().gercek("SELECT qty FROM basket WHERE carino = 1001"), 7.0);
        QCOMPARE(secimCagrisi(), 0LL);
        QCOMPARE(f().sepet.FieldByName(QStringLiteral("MIKTAR")).AsFloat(), 7.0);
    }

    // A sales representative acting for the customer may type the unit price of a line; the
    // change carries what was typed.
    void temsilciFiyatDegistirir()
    {
        f().bagc.SetComputerId(QString::fromLatin1(durnak::testing::kRepComputerId));
        f().bagc.SetCredentials(QStringLiteral("TEMSILCI"), QString::fromLatin1(durnak::testing::kDemoPassword));
        CagriC(f().bagc, [this](TServerMethods1Client& p) {
            f().sbilgi = *p.BuyukGetir(QString::fromLatin1(durnak::testing::kRepComputerId));
        });
        QCOMPARE(f().sbilgi.FMusteriTipi, 1);
        f().sbilgi.FCARINO = 1001;  // the customer picked in the console
        satirEkle(stok1_, 3, 40, 0, 0, 1);
        sepet_->SepetAl();
        hucreOdakla(0, QStringLiteral("STOKADI"));
        bool kilitli = true;
        {
            ModalSurucu s;
            s.sonra([&](QWidget* w) {
                auto* d = qobject_cast<Tstokayarinti*>(w);
                if (!d) return w->close(), void();
                kilitli = d->birimfiyat->isReadOnly();
                d->birimfiyat->setText(QStringLiteral("12,50"));
                d->adet->setValue(2);
                d->ParcaliTus1->click();
            });
            emit f().cxGrid2->doubleClicked(f().cxGrid2->currentIndex());
            QVERIFY(s.bitti());
            QCOMPARE(s.mesajlar, QStringList{});
        }
        QVERIFY(!kilitli);
        QCOMPARE(vt().gercek("SELECT unit_price FROM basket WHERE carino = 1001"), 12.5);
        QCOMPARE(vt().gercek("SELECT qty FROM basket WHERE carino = 1001"), 2.0);
        QCOMPARE(sepet_->aratoplaml->text(), QStringLiteral("25,00"));
    }

    void teslimVeKargoSecenekleri()
    {
        sepet_->TeslimKargoAl();
        QCOMPARE(sepet_->teslimbox->Count(), 4);
        QCOMPARE(sepet_->teslimbox->ItemIndex(), 1);  // the second mode
        QCOMPARE(sepet_->teslimbox->Text(1), QStringLiteral("Kargo ile"));
        QCOMPARE(sepet_->boxkargo->Count(), 4);
        QCOMPARE(sepet_->boxkargo->ItemIndex(), -1);

        sepet_->boxkargo->Button(1)->click();  // Ambar
        QCOMPARE(sepet_->kargocombo->count(), 3);
        QCOMPARE(sepet_->kargocombo->itemText(0), QStringLiteral(" "));
        QCOMPARE(sepet_->kargocombo->currentIndex(), 1);
        QCOMPARE(sepet_->kargocombo->currentText(), yazi("Ege Ambarı"));
        QCOMPARE(sepet_->uyarikargo->text(), QString());  // the preselection shows no warning
        sepet_->kargocombo->setCurrentIndex(1);
        sepet_->kargocombo->setCurrentIndex(0);
        QCOMPARE(sepet_->uyarikargo->text(), QString());
        sepet_->kargocombo->setCurrentIndex(1);
        QCOMPARE(sepet_->uyarikargo->text(), yazi("Ambar teslimi yalnız hafta içi."));

        // Shown again: the cargo kinds come back without a choice, the companies stay.
        sepet_->TeslimKargoAl();
        QCOMPARE(sepet_->boxkargo->ItemIndex(), -1);
        QCOMPARE(sepet_->kargocombo->count(), 3);
        QCOMPARE(sepet_->teslimbox->Count(), 4);
    }

    // "Gönder" checks in their order; each stops with its warning and sends nothing.
    void gonderKontrolleri()
    {
        satirEkle(stok1_, 1, 20, 0, 0, 0);
        gonderilebilirHazirla();
        const long long onceki = siparisSayisi();

        struct Durum {
            const char* ad;
            std::function<void()> hazirla;
            const char* uyari;
        };
        const Durum durumlar[] = {
            {"seçili satır yok", [] {}, "Gönderilecek Parça Yok "},
            {"teslim seçilmemiş",
             [this] {
                 f().Button4->click();
                 sepet_->teslimbox->SetItemIndex(-1);
             },
             "Lütfen Teslim Durumu Seçiniz !"},
            {"sekme yeniden gösterildi: kargo türü yok", [this] { sepet_->ssepetShow(); },
             "Lütfen Kargo Türünü Seçiniz !"},
            {"firması olmayan tür", [this] { sepet_->boxkargo->Button(3)->click(); }, "Lütfen Kargo  Seçiniz !"},
            {"boş firma",
             [this] {
                 sepet_->boxkargo->Button(0)->click();
                 sepet_->kargocombo->setCurrentIndex(0);
             },
             "Lütfen Kargo  Seçiniz !"},
        };
        for (const Durum& d : durumlar) {
            d.hazirla();
            ModalSurucu s;
            s.mesaj(yazi("Tamam"));
            f().Button1->click();
            QVERIFY2(s.bitti(), d.ad);
            QCOMPARE(s.mesajlar, QStringList{yazi(d.uyari)});
            QCOMPARE(siparisSayisi(), onceki);
        }
        QCOMPARE(sepet_->kargocombo->count(), 4);
    }

    void onayPenceresiOzeti()
    {
        TONAYSIP onay;
        const QString ozet = QStringLiteral("Kullanıcı: a\r\nCari     : b\r\nAçıklama : x\r\ny");
        onay.SetOzet(ozet);
        QCOMPARE(onay.Ozet(), ozet);
        QCOMPARE(onay.Label2->text(), QStringLiteral("Kullanıcı: a\nCari     : b\nAçıklama : x\ny"));
        QVERIFY(QFontInfo(onay.Label2->font()).fixedPitch());
        QCOMPARE(onay.windowTitle(), yazi("Sipariş Onay"));
    }

    // From a ticked basket to the order stored on the server.
    void siparisYolculugu()
    {
        satirEkle(stok1_, 1, 100, 10, 5, 1);  // 85,50 net + 17,10 VAT
        satirEkle(stok2_, 4, 10, 0, 0, 0);    // stays in the basket
        gonderilebilirHazirla();
        QCOMPARE(sepet_->uyarikargo->text(), yazi("Ödeme alıcıdan alınır."));
        const QString not_ = yazi("Kapıya bırakın\nAramayın; 'tırnak' \"çift\"");
        sepet_->aciklamagir->setPlainText(not_);
        const long long onceki = siparisSayisi();

        QString ozet;
        {
            ModalSurucu s;
            s.sonra([&](QWidget* w) {
                 auto* onay = qobject_cast<TONAYSIP*>(w);
                 if (!onay) return w->close(), void();
                 ozet = onay->Ozet();
                 onay->Button1->click();
             }).mesaj(yazi("Tamam"));
            f().Button1->click();
            QVERIFY(s.bitti());
            QCOMPARE(s.mesajlar, QStringList{yazi("Siparişiniz Gönderildi !")});
        }
        const QString beklenen = yazi("Kullanıcı: ") + QString::fromStdString(f().sbilgi.FADI) +
                                 yazi("\r\nCari     : ") + QString::fromStdString(f().sbilgi.FCariAdi) +
                                 yazi("\r\nTeslim   : Kargo ile\r\nKargo    : Anlaşmalı Kargo\r\n"
                                      "Tutar    : 102,60\r\nKargo    : Anadolu Kargo\r\n"
                                      "Açıklama : Kapıya bırakın\r\nAramayın; 'tırnak' \"çift\"");
        QCOMPARE(ozet, beklenen);

        QCOMPARE(siparisSayisi(), onceki + 1);
        const std::string son = "(SELECT MAX(id) FROM orders WHERE carino = 1001)";
        QCOMPARE(say("SELECT delivery_id FROM orders WHERE id = " + son), 2LL);
        QCOMPARE(say("SELECT cargo_kind_id FROM orders WHERE id = " + son), 1LL);
        QCOMPARE(say("SELECT cargo_firm_id FROM orders WHERE id = " + son), 3LL);
        QCOMPARE(say("SELECT entered_by FROM orders WHERE id = " + son), 3LL);
        QCOMPARE(QString::fromStdString(vt().metin("SELECT customer_note FROM orders WHERE id = " + son)), not_);
        QCOMPARE(say("SELECT COUNT(*) FROM order_lines WHERE order_id = " + son), 1LL);
        QCOMPARE(vt().gercek("SELECT total FROM orders WHERE id = " + son), 102.6);

        // The basket reloaded (the unticked line stays), the note emptied, the choices kept.
        QCOMPARE(sepettekiSatir(), 1LL);
        QCOMPARE(f().sepet.RecordCount(), 1);
        QCOMPARE(sepetBasligi(), QStringLiteral("1=Sepet"));
        QCOMPARE(sepet_->aciklamagir->toPlainText(), QString());
        QCOMPARE(sepet_->geneltoplaml->text(), QStringLiteral("0,00"));
        QCOMPARE(sepet_->boxkargo->ItemIndex(), 0);
        QCOMPARE(sepet_->kargocombo->currentIndex(), 3);
    }

    void onayReddedilirseGonderilmez()
    {
        satirEkle(stok1_, 1, 100, 0, 0, 1);
        gonderilebilirHazirla();
        sepet_->aciklamagir->setPlainText(QStringLiteral("kalsın"));
        const long long onceki = siparisSayisi();
        ModalSurucu s;
        s.sonra([](QWidget* w) {
            if (auto* onay = qobject_cast<TONAYSIP*>(w)) onay->Button2->click();
            else w->close();
        });
        f().Button1->click();
        QVERIFY(s.bitti());
        QCOMPARE(s.mesajlar, QStringList{});
        QCOMPARE(siparisSayisi(), onceki);
        QCOMPARE(sepettekiSatir(), 1LL);
        QCOMPARE(sepet_->aciklamagir->toPlainText(), QStringLiteral("kalsın"));
    }

    // No server when sending: the error message; the basket and the note stay.
    void sunucuYoksaSiparisHatasi()
    {
        satirEkle(stok1_, 1, 100, 0, 0, 1);
        gonderilebilirHazirla();
        sepet_->aciklamagir->setPlainText(QStringLiteral("kalsın"));
        const long long onceki = siparisSayisi();
        f().bagc.Params().SetValues(QStringLiteral("Port"), QStringLiteral("1"));
        ModalSurucu s;
        s.sonra([](QWidget* w) {
             if (auto* onay = qobject_cast<TONAYSIP*>(w)) onay->Button1->click();
             else w->close();
         }).mesaj(yazi("Tamam"));
        f().Button1->click();
        QVERIFY(s.bitti());
        QCOMPARE(s.mesajlar, QStringList{yazi("Sipariş Göndermede Hata")});
        QCOMPARE(siparisSayisi(), onceki);
        QCOMPARE(f().sepet.RecordCount(), 1);
        QCOMPARE(sepet_->aciklamagir->toPlainText(), QStringLiteral("kalsın"));
    }

    // Enter where no control uses it presses "Gönder"; in the note it makes a new line.
    void enterGonderDugmesidir()
    {
        sepet_->TeslimKargoAl();
        {
            ModalSurucu s;
            s.mesaj(yazi("Tamam"));
            QTest::keyClick(sepet_->teslimbox->Button(0), Qt::Key_Return);
            QTRY_VERIFY(s.bitti());
            QCOMPARE(s.mesajlar, QStringList{yazi("Gönderilecek Parça Yok ")});
        }
        {
            ModalSurucu s;
            QTest::keyClick(sepet_->aciklamagir, Qt::Key_Return);
            QTest::qWait(50);
            QCOMPARE(s.mesajlar, QStringList{});
            QCOMPARE(sepet_->aciklamagir->toPlainText(), QStringLiteral("\n"));
        }
    }

    void excelKaydet()
    {
        satirEkle(stok1_, 2, 10, 0, 0, 1);
        sepet_->SepetAl();
        QTemporaryDir klasor;
        const QString yol = klasor.filePath(QStringLiteral("sepet.xlsx"));
        f().SaveDialog1->setOption(QFileDialog::DontUseNativeDialog);
        {  // Cancel writes nothing.
            ModalSurucu s;
            s.kapat();
            f().Button2->click();
            QVERIFY(s.bitti());
        }
        QVERIFY(!QFile::exists(yol));
        ModalSurucu s;
        s.sonra([&](QWidget* w) {
            auto* d = qobject_cast<QFileDialog*>(w);
            if (!d) return w->close(), void();
            // Typed as a user would; QFileDialog::accept is reached through the public base.
            auto* ad = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (!ad) return d->close(), void();
            ad->setText(yol);
            static_cast<QDialog*>(d)->accept();
        });
        f().Button2->click();
        QVERIFY(s.bitti());
        QFile dosya(yol);
        QVERIFY(dosya.open(QIODevice::ReadOnly));
        QCOMPARE(dosya.read(2), QByteArray("PK"));  // an .xlsx is a zip archive
    }

    // Showing the tab fetches the overdue warning on its own thread.
    void vadesiGecmisUyarisi()
    {
        vt().calistir("INSERT INTO account_movements (carino, happened_on, due_on, kind, description, debit)"
                      " VALUES (1001, '2000-01-01', '2000-02-01', 1, 'test vadesi', 9999999)");
        QString beklenen;
        CagriC(f().bagc, [&](TServerMethods1Client& p) { beklenen = p.CariVadeGunGecmismiBul(1001); });
        QVERIFY(!beklenen.isEmpty());
        QSignalSpy yazildi(sepet_, &TSepet::bakiyeUyarisiYazildi);
        f().sPageControl1->setCurrentWidget(f().ssepet);
        QVERIFY(yazildi.wait(20000));
        QCOMPARE(f().lbluyarbakiye->text(), beklenen);
        // The show also loaded the basket and the choices.
        QCOMPARE(sepetBasligi(), QStringLiteral("0=Sepet"));
        QCOMPARE(sepet_->teslimbox->Count(), 4);
    }
};

} // namespace

QObject* sepetTesti()
{
    return new SepetTesti;
}

#include "sepet_test.moc"
