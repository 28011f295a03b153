#include <atomic>
#include <stdexcept>

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSemaphore>
#include <QTableView>
#include <QTest>
#include <QThread>

#include "app/beklesinu.hpp"
#include "durnak/grid/durnakgrid.hpp"
#include "app/unit1.hpp"
#include "app/utils.hpp"
#include "testkit/istemci.hpp"
#include "testkit/modal.hpp"
#include "testler.hpp"

using namespace durnak::client;
using durnak::testler::HataKaydi;

class BeklesinuTesti : public QObject {
    Q_OBJECT

private slots:
    void ilkAdimIsciyeIkinciAdimAnaThreade()
    {
        QThread* ana = QThread::currentThread();
        QThread* birinciThread = nullptr;
        QThread* ikinciThread = nullptr;
        QStringList sira;
        bool bitti = false;
        ArkaPlanda([&] {
            birinciThread = QThread::currentThread();
            sira << "birinci";
        })->Await([&] {
            ikinciThread = QThread::currentThread();
            sira << "ikinci";
            bitti = true;
        });
        // Await returns at once: the second step cannot have run yet.
        QVERIFY(!bitti);
        QTRY_VERIFY(bitti);
        QVERIFY(birinciThread != ana);
        QCOMPARE(ikinciThread, ana);
        QCOMPARE(sira, QStringList({"birinci", "ikinci"}));
    }

    void birinciAdimHatasiIkinciAdimdanSonraGosterilir()
    {
        HataKaydi hatalar;
        QStringList sira;
        ArkaPlanda([] { throw std::runtime_error("Sunucu yanıt vermedi"); })->Await([&] {
            sira << "ikinci";
            // The error is shown only after this step.
            QVERIFY(hatalar.metinler.isEmpty());
        });
        QTRY_COMPARE(hatalar.metinler, QStringList({"Sunucu yanıt vermedi"}));
        QCOMPARE(sira, QStringList({"ikinci"}));
    }

    void ikinciAdimHatasiVeKuyrukHatasiVarsayilanGosterimeGider()
    {
        HataKaydi hatalar;
        ArkaPlanda([] {})->Await([] { throw std::runtime_error("ikinci adım"); });
        AnaThreadeKuyrukla([] { throw std::logic_error("kuyruk"); });
        AnaThreadeKuyrukla([] { throw 42; });
        QTRY_COMPARE(hatalar.metinler.size(), 3);
        QVERIFY(hatalar.metinler.contains("ikinci adım"));
        QVERIFY(hatalar.metinler.contains("kuyruk"));
        QVERIFY(hatalar.metinler.contains("Bilinmeyen bir hata oluştu."));
    }

    void awaitYalnizIlkCagrildigindaBaslatir()
    {
        std::atomic<int> birinci{0};
        int ikinci = 0;
        auto gorev = ArkaPlanda([&] { ++birinci; });
        gorev->Await([&] { ++ikinci; });
        gorev->Await([&] { ++ikinci; });
        QTRY_COMPARE(ikinci, 1);
        QTest::qWait(50);
        QCOMPARE(birinci.load(), 1);
        QCOMPARE(ikinci, 1);
    }

    void bekleyerekCalistirIsciyiBekletir()
    {
        // On the main thread it runs at once.
        bool hemen = false;
        AnaThreaddeCalistir([&] { hemen = true; });
        QVERIFY(hemen);

        QThread* calisan = nullptr;
        bool isciBekledi = false;
        QString yakalanan;
        bool bitti = false;
        ArkaPlanda([&] {
            bool yazildi = false;
            AnaThreaddeCalistir([&] {
                calisan = QThread::currentThread();
                yazildi = true;
            });
            isciBekledi = yazildi;  // set before the hand-over returned
            try {
                AnaThreaddeCalistir([] { throw std::runtime_error("etikete yazılamadı"); });
            } catch (const std::exception& e) {
                yakalanan = QString::fromUtf8(e.what());
            }
        })->Await([&] { bitti = true; });
        QTRY_VERIFY(bitti);
        QCOMPARE(calisan, QThread::currentThread());
        QVERIFY(isciBekledi);
        QCOMPARE(yakalanan, QString("etikete yazılamadı"));
    }

    void kuyruklaHemenDonerSonraAnaThreaddeCalisir()
    {
        QSemaphore donduMu;
        QThread* calisan = nullptr;
        bool calisti = false;
        bool donerkenCalismamisti = false;
        ArkaPlanda([&] {
            AnaThreadeKuyrukla([&] {
                calisan = QThread::currentThread();
                calisti = true;
            });
            // The main thread is blocked on the semaphore below until we return, so the
            // queued procedure cannot have run yet.
            donerkenCalismamisti = !calisti;
            donduMu.release();
        })->Await([] {});
        donduMu.acquire();
        QVERIFY(donerkenCalismamisti);
        QTRY_VERIFY(calisti);
        QCOMPARE(calisan, QThread::currentThread());
    }

    void ikinciAdimAcikModalPencereyiBeklemez()
    {
        std::atomic<bool> baslasin{false};
        bool ikinciCalisti = false;
        bool modalAcikken = false;
        ArkaPlanda([&] {
            while (!baslasin) QThread::msleep(1);
        })->Await([&] {
            ikinciCalisti = true;
            modalAcikken = QApplication::activeModalWidget() != nullptr;
        });
        durnak::testler::GorulenMesaj mesaj;
        durnak::testler::mesajiCevapla(mesaj, [&](QMessageBox& kutu) {
            baslasin = true;
            // Answer only once the second step has run inside the dialog's loop.
            auto* bekle = new QTimer(&kutu);
            connect(bekle, &QTimer::timeout, &kutu, [&kutu, &ikinciCalisti] {
                if (ikinciCalisti) durnak::testler::dugmeyeBas(kutu, "Tamam");
            });
            bekle->start(5);
        });
        QCOMPARE(MesajGoster("Bekleyin", mtInformation, {mbOK}, mbOK), int(mrOk));
        QVERIFY(ikinciCalisti);
        QVERIFY(modalAcikken);
    }

    // The tab loads: one at a time per tab, controls back afterwards, the connection
    // message on failure.
    void sekmeYuklemesiIkiKezBaslamaz()
    {
        TForm1Kancalari kancalar;
        kancalar.bildirimKanali = false;
        TForm1 form(kancalar);
        std::atomic<bool> birak{false};
        std::atomic<int> yuklemeler{0};
        QStringList sira;
        TForm1::SekmeYukleme yukleme;
        yukleme.animasyon = form.gifyeniler;
        yukleme.kontrol = form.cxGrid6;
        yukleme.ayir = [&] { sira << "ayir"; };
        yukleme.yukle = [&] {
            ++yuklemeler;
            while (!birak) QThread::msleep(1);
            return false;
        };
        yukleme.bagla = [&] { sira << "bagla"; };
        yukleme.bitir = [&](bool hata) { sira << (hata ? "bitir:hata" : "bitir"); };

        QVERIFY(form.GosterYukle("yeniler", yukleme));
        QVERIFY(!form.gifyeniler->isHidden());
        QVERIFY(!form.cxGrid6->isEnabled());
        // Shown again while loading: ignored.
        QVERIFY(!form.GosterYukle("yeniler", yukleme));
        QVERIFY(form.YuklemeSuruyor("yeniler"));
        // Another tab loads in parallel.
        TForm1::SekmeYukleme baska;
        bool baskaBitti = false;
        baska.yukle = [] { return false; };
        baska.bitir = [&](bool) { baskaBitti = true; };
        QVERIFY(form.GosterYukle("kampanyali", baska));
        QTRY_VERIFY(baskaBitti);

        birak = true;
        QTRY_VERIFY(!form.YuklemeSuruyor("yeniler"));
        QCOMPARE(sira, QStringList({"ayir", "bagla", "bitir"}));
        QCOMPARE(yuklemeler.load(), 1);
        QVERIFY(form.gifyeniler->isHidden());
        QVERIFY(form.cxGrid6->isEnabled());
        // Free again once finished.
        bool tekrarBitti = false;
        yukleme.bitir = [&](bool) { tekrarBitti = true; };
        QVERIFY(form.GosterYukle("yeniler", yukleme));
        QTRY_VERIFY(tekrarBitti);
    }

    void sekmeYuklemesiHatasindaKontrollerGeriGelirMesajBirKezGorunur()
    {
        HataKaydi hatalar;
        TForm1Kancalari kancalar;
        kancalar.bildirimKanali = false;
        TForm1 form(kancalar);

        durnak::testler::GorulenMesaj mesaj;
        durnak::testler::mesajiCevapla(mesaj, [](QMessageBox& kutu) { durnak::testler::dugmeyeBas(kutu, "Tamam"); });
        bool bitti = false;
        TForm1::SekmeYukleme yukleme;
        yukleme.animasyon = form.gifoncekiler;
        yukleme.kontrol = form.cxGrid3;
        yukleme.yukle = [] { return true; };
        yukleme.bitir = [&](bool hata) {
            QVERIFY(hata);
            bitti = true;
        };
        QVERIFY(form.GosterYukle("onceki", yukleme));
        QTRY_VERIFY(bitti);
        QVERIFY(mesaj.goruldu);
        QCOMPARE(mesaj.baslik, QString("Hata"));
        QCOMPARE(mesaj.metin, QString("Bağlantı Kurulamıyor Lütfen Tekrar Deneyin ...!"));
        QVERIFY(form.cxGrid3->isEnabled());
        QVERIFY(form.gifoncekiler->isHidden());

        // A load that throws: controls back first, then the error's text.
        bool bitti2 = false;
        TForm1::SekmeYukleme atan;
        atan.kontrol = form.araedit;
        atan.yukle = []() -> bool { throw std::runtime_error("Tablo okunamadı"); };
        atan.bitir = [&](bool) {
            bitti2 = true;
            QVERIFY(hatalar.metinler.isEmpty());
        };
        QVERIFY(form.GosterYukle("stokara", atan));
        QTRY_COMPARE(hatalar.metinler, QStringList({"Tablo okunamadı"}));
        QVERIFY(bitti2);
        QVERIFY(form.araedit->isEnabled());
    }
};

QObject* beklesinuTesti()
{
    return new BeklesinuTesti;
}

#include "beklesinu_test.moc"
