#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <memory>

#include "app/utils.hpp"
#include "mail/mailformu.hpp"
#include "ortak_test.hpp"
#include "server/baglanti.hpp"
#include "server_process.hpp"
#include "testkit/giris.hpp"
#include "testkit/istemci.hpp"

using namespace durnak::client;
using namespace durnak::testler;

class MailTesti : public SunuculuTest {
    Q_OBJECT

public:
    MailTesti() : SunuculuTest({.giris = DemoKullanici::Demo}) {}

private:
    std::string sonMesaj() const
    {
        return sqlSorgula(sunucu_->databasePath(),
                          "SELECT subject || '\n' || body FROM mail_outbox WHERE kind = 'mesaj' ORDER BY id DESC LIMIT 1");
    }
    int mesajSayisi() const
    {
        return std::stoi(sqlSorgula(sunucu_->databasePath(), "SELECT count(*) FROM mail_outbox WHERE kind = 'mesaj'"));
    }

private slots:
    void virgulMetni_data()
    {
        QTest::addColumn<QStringList>("satirlar");
        QTest::addColumn<QString>("metin");
        QTest::newRow("boş mesaj") << QStringList{} << QString();
        QTest::newRow("tek boş satır") << QStringList{""} << "\"\"";
        QTest::newRow("tek kelime") << QStringList{"Merhaba"} << "Merhaba";
        QTest::newRow("boşluklu ikinci satır") << QStringList{"Merhaba", "iyi günler"} << "Merhaba,\"iyi günler\"";
        QTest::newRow("tırnak") << QStringList{"5\" jant"} << "\"5\"\" jant\"";
        QTest::newRow("tırnak, boşluksuz") << QStringList{"a\"b"} << "\"a\"\"b\"";
        QTest::newRow("virgül") << QStringList{"1,5 kg"} << "\"1,5 kg\"";
        QTest::newRow("sekme") << QStringList{"a\tb"} << "\"a\tb\"";
        QTest::newRow("aradaki boş satır") << QStringList{"a", "", "b"} << "a,,b";
        QTest::newRow("sondaki boşluk") << QStringList{"a "} << "\"a \"";
        QTest::newRow("Türkçe harfler") << QStringList{"ŞĞÜÇÖİı"} << "ŞĞÜÇÖİı";
    }
    void virgulMetni()
    {
        QFETCH(QStringList, satirlar);
        QTEST(VirgulMetni(satirlar), "metin");
    }

    void satirlar_data()
    {
        QTest::addColumn<QString>("metin");
        QTest::addColumn<QStringList>("satirlar");
        QTest::newRow("boş") << QString() << QStringList{};
        QTest::newRow("tek satır sonu") << "\n" << QStringList{""};
        QTest::newRow("iki satır") << "a\nb" << QStringList{"a", "b"};
        QTest::newRow("sonda satır sonu") << "a\nb\n" << QStringList{"a", "b"};
        QTest::newRow("CRLF") << "a\r\nb" << QStringList{"a", "b"};
    }
    void satirlar()
    {
        QFETCH(QString, metin);
        QTEST(Satirlar(metin), "satirlar");
    }

    void bosBaslikVeKonu()
    {
        Tmailform m(nullptr, bagc_, sbilgi_);
        m.show();
        QCOMPARE(m.windowTitle(), QStringLiteral("Mail Gönder"));
        const int once = mesajSayisi();
        struct Durum {
            QString baslik, konu, mesaj;
            QWidget* odak;
        } durumlar[] = {{"   ", "bir şey", "Lütfen Başlık Giriniz !", m.baslik},
                        {"Konu", " \n \n", "Lütfen Konu Giriniz !", m.konu}};
        for (const Durum& d : durumlar) {
            m.baslik->setText(d.baslik);
            m.konu->setPlainText(d.konu);
            GorulenMesaj mesaj;
            tamamla(mesaj);
            m.Button2->click();
            QCOMPARE(mesaj.metin, d.mesaj);
            QCOMPARE(mesaj.baslik, MesajBasligi(mtWarning));
            QCOMPARE(m.focusWidget(), d.odak);
            QVERIFY(m.Button2->isEnabled());
        }
        QCOMPARE(mesajSayisi(), once);
    }

    void gonderilirVeKapatBekler()
    {
        Tmailform m(nullptr, bagc_, sbilgi_);
        m.show();
        m.baslik->setText("  Sipariş hakkında ");
        m.konu->setPlainText("Merhaba\niyi günler");
        QSignalSpy bitti(&m, &Tmailform::gonderimBitti);
        GorulenMesaj mesaj;
        tamamla(mesaj);
        m.Button2->click();
        // While the send runs: Gönder disabled, Kapat and the close box do nothing.
        QVERIFY(!m.Button2->isEnabled());
        m.Button1->click();
        m.close();
        QVERIFY(m.isVisible());

        QVERIFY(bitti.wait(20000));
        QCOMPARE(bitti.first().first().toBool(), true);
        QCOMPARE(mesaj.metin, QStringLiteral("Mail Gönderildi !"));
        QCOMPARE(mesaj.baslik, MesajBasligi(mtInformation));
        QVERIFY(m.Button2->isEnabled());
        QCOMPARE(m.baslik->text(), QStringLiteral("  Sipariş hakkında "));  // texts stay

        const std::string kayit = sonMesaj();
        QVERIFY2(kayit.find("Sipariş hakkında") != std::string::npos, kayit.c_str());
        QVERIFY2(kayit.find("Merhaba,\"iyi günler\"") != std::string::npos, kayit.c_str());

        m.Button1->click();
        QVERIFY(!m.isVisible());
    }

    void sunucuYoksaHata()
    {
        TBaglanti kapali;
        kapali.Params().SetValues("HostName", "127.0.0.1");
        kapali.Params().SetValues("Port", QString::number(bosPort()));
        Tmailform m(nullptr, kapali, sbilgi_);
        m.show();
        m.baslik->setText("Konu");
        m.konu->setPlainText("Metin");
        QSignalSpy bitti(&m, &Tmailform::gonderimBitti);
        // Both answers planned up front: the failure follows the connection message at once.
        GorulenMesaj baglanti, sonuc;
        ModalSurucu surucu;
        surucu.tamamla(baglanti).tamamla(sonuc);
        m.Button2->click();
        QVERIFY(bitti.wait(20000));
        QVERIFY(baglanti.goruldu);
        QCOMPARE(baglanti.metin, QStringLiteral("Bağlantı Kurulamıyor Lütfen Tekrar Deneyin ...!"));
        QCOMPARE(sonuc.metin, QStringLiteral("Mail Göndermede Hata\nLütfen Tekrar Deneyin !"));
        QCOMPARE(sonuc.baslik, MesajBasligi(mtError));
        QCOMPARE(bitti.first().first().toBool(), false);
        QVERIFY(m.Button2->isEnabled());
    }
};

int main(int argc, char** argv)
{
    return TestleriCalistir(argc, argv, {fabrika<MailTesti>}, BaglantiliHazirlik());
}

#include "mailformu_test.moc"
