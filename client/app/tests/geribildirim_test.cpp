#include <QSignalSpy>
#include <QTcpServer>
#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include "app/geribildirim.hpp"
#include "app/unit1.hpp"
#include "server/baglanti.hpp"
#include "server/proxim.hpp"
#include "server_process.hpp"
#include "testler.hpp"

using namespace durnak::client;
using durnak::testing::ServerOptions;
using durnak::testing::ServerProcess;

namespace {

// Fires TestNotify on a call connection; the number of subscribers the server reached.
int bildirimGonder(std::uint16_t port, std::vector<durnak::protocol::Value> parametreler)
{
    TBaglanti baglanti;
    baglanti.Params().SetValues("HostName", "127.0.0.1");
    baglanti.Params().SetValues("Port", QString::number(port));
    baglanti.Open();
    TServerMethods1Client proxy(baglanti);
    const auto& cevap = proxy.TestCagir("TestNotify", std::move(parametreler));
    const int adet = cevap.back().asInt32();
    baglanti.Close();
    return adet;
}

// The main window as the program builds it, with a sign-in that switches the connection
// to the test server (as the LAN choice of the sign-in would) and counted loads.
struct PencereKurulumu {
    explicit PencereKurulumu(std::uint16_t port)
    {
        TForm1Kancalari kancalar;
        kancalar.girisYap = [port](TForm1& f) {
            f.bagc.Params().SetValues("HostName", "127.0.0.1");
            f.bagc.Params().SetValues("Port", QString::number(port));
            f.sbilgi.FDisip = "127.0.0.1";
            return true;
        };
        kancalar.balonYaz = [this](TForm1&) { ++balonlar; };
        form = std::make_unique<TForm1>(kancalar);
        form->ProgramiBitir = [](int) {};
        form->kanal()->IlkBekleme = std::chrono::milliseconds(100);
        form->kanal()->EnUzunBekleme = std::chrono::milliseconds(400);
    }

    std::atomic<int> balonlar{0};
    std::unique_ptr<TForm1> form;
};

} // namespace

class GeriBildirimTesti : public QObject {
    Q_OBJECT

private slots:
    void bildirimBirYenilemeTetiklerVeTrueCevaplanir_data()
    {
        QTest::addColumn<bool>("yukVar");
        QTest::addColumn<QString>("yuk");
        QTest::newRow("içeriksiz") << false << QString();
        QTest::newRow("metin") << true << "kampanya değişti";
        QTest::newRow("boş metin") << true << "";
    }

    void bildirimBirYenilemeTetiklerVeTrueCevaplanir()
    {
        QFETCH(bool, yukVar);
        QFETCH(QString, yuk);
        ServerProcess sunucu;
        PencereKurulumu kurulum(sunucu.port());
        TForm1& form = *kurulum.form;
        QSignalSpy kayit(form.kanal(), &TKanalYoneticisi::kayitTamam);
        QSignalSpy cevaplar(form.kanal(), &TKanalYoneticisi::bildirimCevaplandi);
        QSignalSpy yenilemeler(&form, &TForm1::yenilendi);
        QSignalSpy acilis(&form, &TForm1::acilisYuklemeleriBitti);

        form.FormCreate();
        QTRY_COMPARE_WITH_TIMEOUT(kayit.count(), 1, 20000);
        QTRY_COMPARE(acilis.count(), 1);
        QCOMPARE(kurulum.balonlar.load(), 1);

        std::vector<durnak::protocol::Value> parametreler;
        if (yukVar) parametreler.emplace_back(yuk.toStdString());
        QCOMPARE(bildirimGonder(sunucu.port(), std::move(parametreler)), 1);

        QTRY_COMPARE_WITH_TIMEOUT(yenilemeler.count(), 1, 20000);
        QTRY_COMPARE(cevaplar.count(), 1);
        QCOMPARE(cevaplar.at(0).at(0).toBool(), true);
        QCOMPARE(kurulum.balonlar.load(), 2);
        // Exactly one: nothing else arrives later.
        QTest::qWait(300);
        QCOMPARE(yenilemeler.count(), 1);
        QCOMPARE(cevaplar.count(), 1);
    }

    void ardArdaBildirimlerinHerbiriYenilenir()
    {
        ServerProcess sunucu;
        PencereKurulumu kurulum(sunucu.port());
        TForm1& form = *kurulum.form;
        QSignalSpy kayit(form.kanal(), &TKanalYoneticisi::kayitTamam);
        QSignalSpy yenilemeler(&form, &TForm1::yenilendi);
        QSignalSpy acilis(&form, &TForm1::acilisYuklemeleriBitti);
        form.FormCreate();
        QTRY_COMPARE_WITH_TIMEOUT(kayit.count(), 1, 20000);
        QTRY_COMPARE(acilis.count(), 1);
        for (int i = 0; i < 3; ++i) QCOMPARE(bildirimGonder(sunucu.port(), {}), 1);
        QTRY_COMPARE_WITH_TIMEOUT(yenilemeler.count(), 3, 20000);
        QTest::qWait(300);
        QCOMPARE(yenilemeler.count(), 3);
    }

    void sunucuYenidenBaslayincaKanalKendiliginden()
    {
        QTemporaryDir klasor;
        QVERIFY(klasor.isValid());
        ServerOptions ayar;
        ayar.dbPath = (klasor.path() + "/durnak.db").toStdString();
        auto sunucu = std::make_unique<ServerProcess>(ayar);
        const std::uint16_t port = sunucu->port();

        PencereKurulumu kurulum(port);
        TForm1& form = *kurulum.form;
        QSignalSpy kayit(form.kanal(), &TKanalYoneticisi::kayitTamam);
        QSignalSpy kopma(form.kanal(), &TKanalYoneticisi::baglantiKoptu);
        QSignalSpy yenilemeler(&form, &TForm1::yenilendi);
        QSignalSpy acilis(&form, &TForm1::acilisYuklemeleriBitti);
        form.FormCreate();
        QTRY_COMPARE_WITH_TIMEOUT(kayit.count(), 1, 20000);
        QTRY_COMPARE(acilis.count(), 1);

        sunucu->stop();
        QTRY_VERIFY_WITH_TIMEOUT(kopma.count() >= 1, 20000);
        sunucu.reset();
        ayar.extraArgs = {"--port", std::to_string(port)};
        sunucu = std::make_unique<ServerProcess>(ayar);
        QCOMPARE(sunucu->port(), port);

        QTRY_COMPARE_WITH_TIMEOUT(kayit.count(), 2, 30000);
        QCOMPARE(bildirimGonder(port, {}), 1);
        QTRY_COMPARE_WITH_TIMEOUT(yenilemeler.count(), 1, 20000);
    }

    void kanalKapanincaBildirimGelmez()
    {
        ServerProcess sunucu;
        PencereKurulumu kurulum(sunucu.port());
        TForm1& form = *kurulum.form;
        QSignalSpy kayit(form.kanal(), &TKanalYoneticisi::kayitTamam);
        QSignalSpy acilis(&form, &TForm1::acilisYuklemeleriBitti);
        form.FormCreate();
        QTRY_COMPARE_WITH_TIMEOUT(kayit.count(), 1, 20000);
        QTRY_COMPARE(acilis.count(), 1);
        form.FormClose();
        QVERIFY(!form.kanal()->Acik());
        // The server no longer has the subscriber.
        QTRY_COMPARE_WITH_TIMEOUT(bildirimGonder(sunucu.port(), {}), 0, 20000);
    }

    void ulasilamayanSunucuSessizceYenidenDener()
    {
        // A port nobody listens on: attempts go on, nothing is shown.
        quint16 bosPort = 0;
        {
            QTcpServer gecici;
            QVERIFY(gecici.listen(QHostAddress::LocalHost));
            bosPort = gecici.serverPort();
        }
        TKanalYoneticisi kanal;
        kanal.DSHostname = "127.0.0.1";
        kanal.DSPort = QString::number(bosPort);
        kanal.IlkBekleme = std::chrono::milliseconds(20);
        kanal.EnUzunBekleme = std::chrono::milliseconds(40);
        QSignalSpy kopma(&kanal, &TKanalYoneticisi::baglantiKoptu);
        QVERIFY(kanal.RegisterCallback(std::make_shared<TGeriBildirim>("DurnakOto", [] {})));
        QTRY_VERIFY_WITH_TIMEOUT(kopma.count() >= 3, 20000);
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        QVERIFY(kanal.UnregisterCallback("DurnakOto"));
        QVERIFY(!kanal.UnregisterCallback("DurnakOto"));
    }
};

QObject* geriBildirimTesti()
{
    return new GeriBildirimTesti;
}

#include "geribildirim_test.moc"
