#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>
#include <string>

#include "app/utils.hpp"
#include "testkit/giris.hpp"
#include "ortak_test.hpp"
#include "server/cagri.hpp"
#include "server_process.hpp"
#include "signin/kullanicikayitu.hpp"
#include "testler.hpp"

using namespace durnak::client;
using namespace durnak::testler;

class KullaniciKayitTesti : public SunuculuTest {
    Q_OBJECT

public:
    KullaniciKayitTesti() : SunuculuTest({.giris = DemoKullanici::Demo}) {}

private:
    int istekSayisi() const
    {
        return std::stoi(sqlSorgula(sunucu_->databasePath(),
                                    "SELECT count(*) FROM mail_outbox WHERE kind = 'sifre_istegi'"));
    }

    // Fills every field so that one can be emptied at a time.
    static void doldur(Tkullanicikayit& k)
    {
        for (QLineEdit* e : {k.firmaadi, k.adres1, k.adres2, k.ilce, k.sehir, k.telefon, k.fax, k.vd, k.vn,
                             k.yetkili, k.kullaniciadi, k.sifre, k.mail, k.kargoambar})
            if (e->text().isEmpty()) e->setText(e->objectName().toUpper());
    }

private slots:
    void sunucudanDoldurulur()
    {
        Tkullanicikayit k(nullptr, bagc_, sbilgi_);
        const TMobilCariBilgisi kart = CagriC(bagc_, [](TServerMethods1Client& p) {
            return *p.MobilCariBilgisiGetir(0, "TEST-DISK-0001");
        });
        QCOMPARE(k.windowTitle(), QStringLiteral("Şifre Değiştirme İsteği"));
        QCOMPARE(k.lblid->text(), QStringLiteral("Bilgisayar ID: TEST-DISK-0001"));
        QCOMPARE(k.kullaniciadi->text(), QStringLiteral("DEMO"));
        QCOMPARE(k.firmaadi->text(), QString::fromStdString(sbilgi_.FCariAdi));
        QVERIFY(!kart.FADRES1.empty());
        const std::pair<QLineEdit*, std::string> alanlar[] = {
            {k.adres1, kart.FADRES1}, {k.adres2, kart.FADRES2}, {k.ilce, kart.FILCE}, {k.sehir, kart.FSEHIR},
            {k.telefon, kart.FTEL1}, {k.fax, kart.FFAX1}, {k.vd, kart.FVERGIDAIRESI}, {k.vn, kart.FVERGINO}};
        for (const auto& [alan, deger] : alanlar) QCOMPARE(alan->text(), QString::fromStdString(deger));
        // Nothing the user has to type is filled in.
        for (QLineEdit* e : {k.yetkili, k.sifre, k.mail, k.kargoambar}) QVERIFY(e->text().isEmpty());
        QCOMPARE(k.sifre->echoMode(), QLineEdit::Normal);
    }

    void sunucuYoksaPencereYineAcilir()
    {
        TBaglanti kapali;
        kapali.Params().SetValues("HostName", "127.0.0.1");
        kapali.Params().SetValues("Port", QString::number(bosPort()));
        GorulenMesaj mesaj;
        tamamla(mesaj);
        Tkullanicikayit k(nullptr, kapali, sbilgi_);
        QCOMPARE(mesaj.metin, QStringLiteral("Bağlantı Kurulamıyor Lütfen Tekrar Deneyin ...!"));
        QCOMPARE(k.kullaniciadi->text(), QStringLiteral("DEMO"));
        QCOMPARE(k.firmaadi->text(), QString::fromStdString(sbilgi_.FCariAdi));
        QVERIFY(k.adres1->text().isEmpty());
        QCOMPARE(k.windowTitle(), QStringLiteral("Şifre Değiştirme İsteği"));

        // Sending without a server shows the connection message and no success.
        doldur(k);
        GorulenMesaj ikinci;
        tamamla(ikinci);
        k.Button2Click();
        QCOMPARE(ikinci.metin, QStringLiteral("Bağlantı Kurulamıyor Lütfen Tekrar Deneyin ...!"));
    }

    void zorunluAlanlar_data()
    {
        QTest::addColumn<QString>("alan");
        QTest::addColumn<QString>("mesaj");
        QTest::newRow("firmaadi") << "firmaadi" << "Firma Adı boş olamaz !";
        QTest::newRow("adres1") << "adres1" << "Adres boş olamaz !";
        QTest::newRow("ilce") << "ilce" << "İlçe Adı boş olamaz !";
        QTest::newRow("sehir") << "sehir" << "Şehir Adı boş olamaz !";
        QTest::newRow("telefon") << "telefon" << "Telefon  boş olamaz !";
        QTest::newRow("yetkili") << "yetkili" << "Yetkili  boş olamaz !";
        QTest::newRow("kullaniciadi") << "kullaniciadi" << "Kullanıcı  boş olamaz !";
        QTest::newRow("sifre") << "sifre" << "Şifre  boş olamaz !";
        QTest::newRow("mail") << "mail" << "Mail  boş olamaz !";
    }
    void zorunluAlanlar()
    {
        QFETCH(QString, alan);
        Tkullanicikayit k(nullptr, bagc_, sbilgi_);
        k.show();
        doldur(k);
        // Blanks count as empty; the optional fields may stay empty.
        k.findChild<QLineEdit*>(alan)->setText("   ");
        for (QLineEdit* e : {k.adres2, k.fax, k.vd, k.vn, k.kargoambar}) e->clear();
        const int once = istekSayisi();
        GorulenMesaj mesaj;
        tamamla(mesaj);
        k.Button2->click();
        QVERIFY(mesaj.goruldu);
        QTEST(mesaj.metin, "mesaj");
        QCOMPARE(mesaj.baslik, MesajBasligi(mtWarning));
        QCOMPARE(k.focusWidget(), k.findChild<QLineEdit*>(alan));
        QCOMPARE(istekSayisi(), once);
    }

    void gonderilir()
    {
        Tkullanicikayit k(nullptr, bagc_, sbilgi_);
        k.show();
        doldur(k);
        k.yetkili->setText("Ali Veli");
        k.sifre->setText("yeni şifre");
        const int once = istekSayisi();
        // Twice from the same window: two requests, two confirmations; the window stays.
        for (int i = 1; i <= 2; ++i) {
            GorulenMesaj mesaj;
            tamamla(mesaj);
            k.Button2->click();
            QCOMPARE(mesaj.metin, QStringLiteral("İsteğiniz Gönderildi!"));
            QCOMPARE(mesaj.baslik, MesajBasligi(mtInformation));
            QCOMPARE(istekSayisi(), once + i);
            QVERIFY(k.isVisible());
        }
        const std::string govde = sqlSorgula(sunucu_->databasePath(),
                                             "SELECT subject || ' ' || body FROM mail_outbox "
                                             "WHERE kind = 'sifre_istegi' ORDER BY id DESC LIMIT 1");
        QVERIFY2(govde.find("Ali Veli") != std::string::npos, govde.c_str());
        QVERIFY2(govde.find("TEST-DISK-0001") != std::string::npos || govde.find("Şifre") != std::string::npos,
                 govde.c_str());
        k.Button1->click();
        QVERIFY(!k.isVisible());
        QCOMPARE(k.result(), int(QDialog::Rejected));
    }
};

QObject* kullaniciKayitTesti()
{
    return new KullaniciKayitTesti;
}

#include "kullanicikayitu_test.moc"
