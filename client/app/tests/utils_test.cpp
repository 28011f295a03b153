#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHostAddress>
#include <QMessageBox>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTcpServer>
#include <QTest>

#include <atomic>

#include "app/beklesinu.hpp"
#include "app/utils.hpp"
#include "server/baglanti.hpp"
#include "testkit/modal.hpp"
#include "testler.hpp"

using namespace durnak::client;
using durnak::testler::GorulenMesaj;

namespace {

// Files of a fixture tree: path under the root -> content (a trailing "/" makes a folder).
using Agac = QList<QPair<QString, QByteArray>>;

void agacKur(const QString& kok, const Agac& agac)
{
    for (const auto& [yol, icerik] : agac) {
        const QString tam = kok + QLatin1Char('/') + yol;
        if (yol.endsWith(QLatin1Char('/'))) {
            QDir().mkpath(tam);
            continue;
        }
        QDir().mkpath(QFileInfo(tam).path());
        QFile dosya(tam);
        QVERIFY(dosya.open(QIODevice::WriteOnly));
        dosya.write(icerik);
    }
}

} // namespace

class UtilsTesti : public QObject {
    Q_OBJECT

private slots:
    void mesajGoster_data()
    {
        QTest::addColumn<int>("tur");
        QTest::addColumn<QList<int>>("dugmeler");
        QTest::addColumn<int>("odak");
        QTest::addColumn<QString>("eylem");  // "enter", "escape" or a caption to click
        QTest::addColumn<int>("sonuc");
        QTest::addColumn<QString>("baslik");
        QTest::addColumn<QStringList>("yazilar");

        const QList<int> evetHayir{mbYes, mbNo};
        const QStringList evetHayirYazi{"Evet", "Hayır"};
        QTest::newRow("soru, Hayır odakta, Enter") << int(mtConfirmation) << evetHayir << int(mbNo) << "enter"
                                                   << int(mrNo) << "Soru" << evetHayirYazi;
        QTest::newRow("soru, Evet odakta, Enter") << int(mtConfirmation) << evetHayir << int(mbYes) << "enter"
                                                  << int(mrYes) << "Soru" << evetHayirYazi;
        QTest::newRow("soru, Hayır tıklandı") << int(mtConfirmation) << evetHayir << int(mbYes) << "Hayır"
                                              << int(mrNo) << "Soru" << evetHayirYazi;
        QTest::newRow("soru, Escape Hayır sayılır") << int(mtConfirmation) << evetHayir << int(mbYes) << "escape"
                                                    << int(mrNo) << "Soru" << evetHayirYazi;
        QTest::newRow("uyarı, Tamam") << int(mtWarning) << QList<int>{mbOK} << int(mbOK) << "enter" << int(mrOk)
                                      << "Uyarı" << QStringList{"Tamam"};
        QTest::newRow("hata, Escape Tamam sayılır") << int(mtError) << QList<int>{mbOK} << int(mbOK) << "escape"
                                                    << int(mrOk) << "Hata" << QStringList{"Tamam"};
        QTest::newRow("bilgi, Tamam tıklandı") << int(mtInformation) << QList<int>{mbOK} << int(mbOK) << "Tamam"
                                               << int(mrOk) << "Bilgi" << QStringList{"Tamam"};
        QTest::newRow("diğer düğmeler") << int(mtWarning)
                                        << QList<int>{mbCancel, mbAbort, mbRetry, mbIgnore} << int(mbRetry)
                                        << "enter" << int(mrRetry) << "Uyarı"
                                        << QStringList{"Vazgeç", "İptal", "Tekrar", "Atla"};
        QTest::newRow("Vazgeç varken Escape") << int(mtWarning) << QList<int>{mbAbort, mbIgnore, mbCancel}
                                              << int(mbAbort) << "escape" << int(mrCancel) << "Uyarı"
                                              << QStringList{"İptal", "Atla", "Vazgeç"};
        QTest::newRow("Atla tıklandı") << int(mtWarning) << QList<int>{mbAbort, mbIgnore} << int(mbAbort) << "Atla"
                                       << int(mrIgnore) << "Uyarı" << QStringList{"İptal", "Atla"};
    }

    void mesajGoster()
    {
        QFETCH(int, tur);
        QFETCH(QList<int>, dugmeler);
        QFETCH(int, odak);
        QFETCH(QString, eylem);
        QFETCH(int, sonuc);
        QFETCH(QString, baslik);
        QFETCH(QStringList, yazilar);

        GorulenMesaj gorulen;
        QPoint merkezFarki;
        durnak::testler::mesajiCevapla(gorulen, [&](QMessageBox& kutu) {
            merkezFarki = kutu.frameGeometry().center() -
                          QGuiApplication::primaryScreen()->availableGeometry().center();
            if (eylem == "enter")
                QTest::keyClick(&kutu, Qt::Key_Return);
            else if (eylem == "escape")
                QTest::keyClick(&kutu, Qt::Key_Escape);
            else
                durnak::testler::dugmeyeBas(kutu, eylem);
        });
        const std::vector<int> liste(dugmeler.begin(), dugmeler.end());
        QCOMPARE(MesajGoster("Programdan Çıkmak İstiyor musunuz ?", tur, liste, odak), sonuc);
        QVERIFY(gorulen.goruldu);
        QCOMPARE(gorulen.baslik, baslik);
        QCOMPARE(gorulen.metin, QString("Programdan Çıkmak İstiyor musunuz ?"));
        QStringList gorulenYazilar = gorulen.dugmeler;
        QStringList beklenen = yazilar;
        gorulenYazilar.sort();
        beklenen.sort();
        QCOMPARE(gorulenYazilar, beklenen);
        QCOMPARE(gorulen.odak, DugmeYazisi(odak));
        QVERIFY2(qAbs(merkezFarki.x()) <= 2 && qAbs(merkezFarki.y()) <= 2, "dialog not centred on the screen");
    }

    void bilgisayarId_data()
    {
        QTest::addColumn<Agac>("agac");
        QTest::addColumn<QString>("disk");
        QTest::addColumn<QString>("adaptor");
        QTest::addColumn<QString>("kimlik");

        QTest::newRow("nvme seri numarası, boşluklu ve küçük harf")
            << Agac{{"sys/block/nvme0n1/device/serial", "  s4ew nx0r 123456  \n"}} << "S4EW NX0R 123456" << ""
            << "S4EWNX0R123456";
        QTest::newRow("udev veritabanındaki seri")
            << Agac{{"sys/block/sda/device/", ""},
                    {"sys/block/sda/dev", "8:0\n"},
                    {"run/udev/data/b8:0", "S:disk/by-id/x\nE:ID_SERIAL=WDC_x\nE:ID_SERIAL_SHORT=WD-WCC4N1234567\n"}}
            << "WD-WCC4N1234567" << "" << "WD-WCC4N1234567";
        QTest::newRow("virtio seri dosyası") << Agac{{"sys/block/vda/device/", ""}, {"sys/block/vda/serial", "qm00001\n"}}
                                             << "QM00001" << "" << "QM00001";
        QTest::newRow("SCSI VPD sayfası 0x80")
            << Agac{{"sys/block/sda/device/vpd_pg80", QByteArray("\x00\x80\x00\x08", 4) + "ZA1B2C3D"}} << "ZA1B2C3D"
            << "" << "ZA1B2C3D";
        QTest::newRow("sanal ve çıkarılabilir diskler atlanır")
            << Agac{{"sys/block/loop0/device/serial", "LOOP"},
                    {"sys/block/sda/device/serial", "USBSTICK"},
                    {"sys/block/sda/removable", "1\n"},
                    {"sys/block/sdb/device/serial", "DISK2"},
                    {"sys/block/sdb/removable", "0\n"}}
            << "DISK2" << "" << "DISK2";
        QTest::newRow("ilk adaptör sıfır, sonraki kullanılır")
            << Agac{{"sys/class/net/eth0/address", "00:00:00:00:00:00\n"},
                    {"sys/class/net/eth0/device/", ""},
                    {"sys/class/net/eth1/address", "3c:97:0e:aa:0b:1f\n"},
                    {"sys/class/net/eth1/device/", ""},
                    {"sys/class/net/lo/address", "00:00:00:00:00:00\n"}}
            << "" << "3C-97-0E-AA-0B-1F" << "3C-97-0E-AA-0B-1F";
        QTest::newRow("fiziksel adaptör sanaldan önce")
            << Agac{{"sys/class/net/bridge0/address", "02:42:ac:11:00:01\n"},
                    {"sys/class/net/enp3s0/address", "f0:de:f1:12:34:56\n"},
                    {"sys/class/net/enp3s0/device/", ""}}
            << "" << "F0-DE-F1-12-34-56" << "F0-DE-F1-12-34-56";
        QTest::newRow("seri okunamayan ilk disk adaptöre düşer")
            << Agac{{"sys/block/sda/device/", ""},
                    {"sys/block/sdb/device/serial", "IKINCI"},
                    {"sys/class/net/eth0/address", "52:54:00:12:34:56\n"}}
            << "" << "52-54-00-12-34-56" << "52-54-00-12-34-56";
        QTest::newRow("adres olmayan satırlar ve tünel adresleri")
            << Agac{{"sys/class/net/tun0/address", "\n"},
                    {"sys/class/net/sit0/address", "00:00:00:00\n"},
                    {"sys/class/net/ib0/address", "80:00:02:08:fe:80:00:00:00:00:00:00:00:02:c9:03:00:0a:1b:2c\n"},
                    {"sys/class/net/wlan0/address", "zz:zz:zz:zz:zz:zz\n"}}
            << "" << "" << "";
        QTest::newRow("hiçbir şey okunamıyor") << Agac{{"sys/block/", ""}, {"sys/class/net/lo/address", "00:00:00:00:00:00\n"}}
                                               << "" << "" << "";
        QTest::newRow("boş kök") << Agac{} << "" << "" << "";
    }

    void bilgisayarId()
    {
        QFETCH(Agac, agac);
        QFETCH(QString, disk);
        QFETCH(QString, adaptor);
        QFETCH(QString, kimlik);
        QTemporaryDir kok;
        QVERIFY(kok.isValid());
        agacKur(kok.path(), agac);
        QCOMPARE(DiskSeriNoAl(kok.path()), disk);
        QCOMPARE(MacAdresiAl(kok.path()), adaptor);
        QCOMPARE(BilgisayarIdAl(kok.path()), kimlik);
    }

    void bilgisayarIdBuMakinedeIkiAcilistaAyni()
    {
        const QString buradaki = BilgisayarIdAl();
        QStringList gorulen;
        for (int i = 0; i < 2; ++i) {
            QProcess surec;
            surec.start(QCoreApplication::applicationFilePath(), {"--bilgisayar-id"});
            QVERIFY(surec.waitForFinished(30000));
            QCOMPARE(surec.exitCode(), 0);
            gorulen << QString::fromUtf8(surec.readAllStandardOutput()).trimmed();
        }
        QCOMPARE(gorulen.at(0), gorulen.at(1));
        QCOMPARE(gorulen.at(0), buradaki);
        QVERIFY(!buradaki.contains(QLatin1Char(' ')));
        QCOMPARE(buradaki, buradaki.toUpper());
    }

    void kisaBilgisayarAdi_data()
    {
        QTest::addColumn<QString>("makine");
        QTest::addColumn<QString>("ad");
        QTest::newRow("kısa") << "bayi-pc" << "bayi-pc";
        QTest::newRow("alan adı atılır") << "muhasebe.durnak.local" << "muhasebe";
        QTest::newRow("15 karaktere kısaltılır") << "depo-bilgisayari-ust-kat" << "depo-bilgisayar";
        QTest::newRow("boş") << "" << "";
    }

    void kisaBilgisayarAdi()
    {
        QFETCH(QString, makine);
        QFETCH(QString, ad);
        QCOMPARE(KisaBilgisayarAdi(makine), ad);
    }

    void kimlikIslemleriBosDonmez()
    {
        QVERIFY(!BilgisayarAdiAl().isEmpty());
        QVERIFY(BilgisayarAdiAl().size() <= 15);
        QVERIFY(!KullaniciAdiAl().isEmpty());
        QVERIFY(!YerelIpAl().isEmpty());
        QVERIFY(QHostAddress(YerelIpAl()).protocol() == QAbstractSocket::IPv4Protocol);
    }

    void veriKlasoruIlkKullanimdaOlusur()
    {
        QStandardPaths::setTestModeEnabled(true);
        const QString taban = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
        QDir(taban + "/durnakotomotiv").removeRecursively();
        QDir().mkpath(taban);

        const QString klasor = VeriKlasoru();
        QCOMPARE(klasor, QDir::cleanPath(taban + "/durnakotomotiv"));
        QVERIFY(!klasor.endsWith(QLatin1Char('/')));
        QVERIFY(QFileInfo(klasor).isDir());
        // Reused afterwards, with what it holds.
        QFile ayar(klasor + "/ayar.ini");
        QVERIFY(ayar.open(QIODevice::WriteOnly));
        ayar.close();
        QCOMPARE(VeriKlasoru(), klasor);
        QVERIFY(QFile::exists(klasor + "/ayar.ini"));
        QDir(klasor).removeRecursively();
        QStandardPaths::setTestModeEnabled(false);
    }

    void baglantiMesajiAnaThreaddeGosterilirIsciBekler()
    {
        BaglantiMesajlariniBagla();
        auto oncekiBekleme = BeklemeKancasiAyarla([](std::chrono::milliseconds) {});
        quint16 bosPort = 0;
        {
            QTcpServer gecici;
            QVERIFY(gecici.listen(QHostAddress::LocalHost));
            bosPort = gecici.serverPort();
        }

        GorulenMesaj mesaj;
        std::atomic<bool> dondu{false};
        bool acikkenBekliyordu = false;
        durnak::testler::mesajiCevapla(mesaj, [&](QMessageBox& kutu) {
            acikkenBekliyordu = !dondu;
            durnak::testler::dugmeyeBas(kutu, "Tamam");
        });
        bool acildi = true;
        bool bitti = false;
        ArkaPlanda([&] {
            TBaglanti baglanti;
            baglanti.Params().SetValues("HostName", "127.0.0.1");
            baglanti.Params().SetValues("Port", QString::number(bosPort));
            acildi = BaglantiAc(baglanti, 1);
            dondu = true;
        })->Await([&] { bitti = true; });
        QTRY_VERIFY_WITH_TIMEOUT(bitti, 60000);
        BeklemeKancasiAyarla(oncekiBekleme);
        MesajKancasiAyarla({});

        QVERIFY(!acildi);
        QVERIFY(mesaj.goruldu);
        QVERIFY(acikkenBekliyordu);
        QCOMPARE(mesaj.baslik, QString("Hata"));
        QCOMPARE(mesaj.metin, QString("Bağlantı Kurulamıyor Lütfen Tekrar Deneyin ...!"));
        QCOMPARE(mesaj.dugmeler, QStringList{"Tamam"});
    }

    void tiptutBaslangictaBos()
    {
        Tiptut yeni;
        QCOMPARE(yeni.gecerliip(), QString());
        yeni.setGecerliip("127.0.0.1");
        QCOMPARE(yeni.gecerliip(), QString("127.0.0.1"));
    }
};

QObject* utilsTesti()
{
    return new UtilsTesti;
}

#include "utils_test.moc"
