#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

#include "app/beklesinu.hpp"
#include "ortak_test.hpp"
#include "server_process.hpp"
#include "testkit/testmain.hpp"
#include "update/dosyaindiru.hpp"

using namespace durnak::client;
using namespace durnak::testler;

class DosyaIndirTesti : public SunuculuTest {
    Q_OBJECT

    QTemporaryDir klasor_;

    QString kurulumAdresi() const
    {
        return QStringLiteral("http://127.0.0.1:%1/exe/DurnakOtoSetup.exe").arg(sunucu_->webPort());
    }

private slots:
    void yazilar()
    {
        Tdosyaindir p(nullptr, 3, kurulumAdresi());
        QCOMPARE(p.windowTitle(), QStringLiteral("Dosya İndir"));
        QCOMPARE(p.sLabel1->text(), QStringLiteral("Durnak Otomotiv B2B Programının\nYeni versiyonu "
                                                   "indirilecektir\nLütfen Bekleyiniz...!\nVersion: 3-2"));
        QVERIFY(!p.basladi);
        QCOMPARE(Tdosyaindir::HedefDosya(),
                 QDir::cleanPath(qEnvironmentVariable("XDG_DATA_HOME") + "/DurnakOtoSetup.exe"));

        bool durdur = false;
        p.NetHTTPClient1ReceiveData(2621440, 1310720, durdur);
        QCOMPARE(p.bilgi->text(), QStringLiteral("Bilgi: %50,00  İndirilen: 1,25/2,50 Mb"));
        QCOMPARE(p.ProgressBar1->maximum(), 2621440);
        QCOMPARE(p.ProgressBar1->value(), 1310720);
        // An unknown length moves nothing.
        p.NetHTTPClient1ReceiveData(0, 5000000, durdur);
        p.NetHTTPClient1ReceiveData(-1, 5000000, durdur);
        QCOMPARE(p.bilgi->text(), QStringLiteral("Bilgi: %50,00  İndirilen: 1,25/2,50 Mb"));
        QCOMPARE(p.ProgressBar1->value(), 1310720);
        QVERIFY(!durdur);
    }

    void indirirBaslatirVeBitirir()
    {
        // A stand-in setup that writes down each start with its arguments.
        const QString kayit = klasor_.filePath("argumanlar.txt");
        const QString betik = klasor_.filePath("kurulum.sh");
        QVERIFY(sahteKurulumYayinla(sunucu_->databasePath(), betik, kayit));

        // An older setup of the same name is replaced.
        {
            QFile eski(Tdosyaindir::HedefDosya());
            QVERIFY(eski.open(QIODevice::WriteOnly));
            eski.write(QByteArray(100000, 'x'));
        }

        Tdosyaindir p(nullptr, 3, kurulumAdresi());
        QList<int> cikislar;
        p.ProgramiBitir = [&](int kod) { cikislar << kod; };
        // Activated again while the download runs: no second download.
        QTimer::singleShot(0, &p, [&] { p.FormActivate(); });
        p.show();
        QTRY_VERIFY_WITH_TIMEOUT(!cikislar.isEmpty(), 20000);
        p.FormActivate();
        QCOMPARE(cikislar, QList<int>{0});
        QVERIFY(p.basladi);
        QVERIFY(!p.isVisible());

        QFile indirilen(Tdosyaindir::HedefDosya());
        QVERIFY(indirilen.open(QIODevice::ReadOnly));
        QFile asil(betik);
        QVERIFY(asil.open(QIODevice::ReadOnly));
        QCOMPARE(indirilen.readAll(), asil.readAll());
        QVERIFY(indirilen.permissions() & QFileDevice::ExeOwner);

        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(kayit), 10000);
        QTest::qWait(200);  // a second start, if any, would have written by now
        QFile f(kayit);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("/silent\n"));
    }

    void agHatasindaMesajVeBitis()
    {
        Tdosyaindir p(nullptr, 3, QStringLiteral("http://127.0.0.1:%1/exe/DurnakOtoSetup.exe").arg(bosPort()));
        QList<int> cikislar;
        p.ProgramiBitir = [&](int kod) { cikislar << kod; };
        GorulenMesaj mesaj;
        tamamla(mesaj);
        p.show();
        QTRY_VERIFY_WITH_TIMEOUT(!cikislar.isEmpty(), 20000);
        QVERIFY(mesaj.goruldu);
        QVERIFY2(mesaj.metin.startsWith(QStringLiteral("Hata Oluştu !\nHata: ")), qPrintable(mesaj.metin));
        QVERIFY(mesaj.metin.size() > QStringLiteral("Hata Oluştu !\nHata: ").size());
        QCOMPARE(cikislar, QList<int>{0});
    }

    void dosyaYazilamazsaPencereKalir()
    {
        // A folder in the setup's place cannot be replaced.
        const QString hedef = Tdosyaindir::HedefDosya();
        QFile::remove(hedef);
        QVERIFY(QDir().mkpath(hedef + "/engel"));
        QStringList hatalar;
        auto onceki = HataGostericiAyarla([&](const QString& m) { hatalar << m; });
        Tdosyaindir p(nullptr, 3, kurulumAdresi());
        QList<int> cikislar;
        p.ProgramiBitir = [&](int kod) { cikislar << kod; };
        p.show();
        QTRY_VERIFY_WITH_TIMEOUT(!hatalar.isEmpty(), 20000);
        HataGostericiAyarla(onceki);
        QVERIFY(cikislar.isEmpty());
        QVERIFY(p.isVisible());
        QVERIFY(QDir(hedef).removeRecursively());
    }
};

int main(int argc, char** argv)
{
    // The download goes into a throw-away home's data folder.
    return TestleriCalistir(argc, argv, {fabrika<DosyaIndirTesti>}, {.geciciEv = true});
}

#include "dosyaindiru_test.moc"
