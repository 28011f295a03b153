#include <QImage>
#include <QPainter>
#include <QTest>

#include "app/sekmeler.hpp"
#include "app/simgeler.hpp"
#include "testler.hpp"

using namespace durnak::client;

namespace {

int renkliPikseller(const QImage& resim, const QRect& alan, const QColor& renk)
{
    int adet = 0;
    for (int y = alan.top(); y <= alan.bottom(); ++y)
        for (int x = alan.left(); x <= alan.right(); ++x)
            if (resim.pixelColor(x, y) == renk) ++adet;
    return adet;
}

int farkliPikseller(const QImage& a, const QImage& b, const QRect& alan)
{
    int adet = 0;
    for (int y = alan.top(); y <= alan.bottom(); ++y)
        for (int x = alan.left(); x <= alan.right(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) ++adet;
    return adet;
}

QImage ciz(TsPageControl& sayfa)
{
    QImage resim(sayfa.sekmeCubugu()->size(), QImage::Format_ARGB32);
    resim.fill(Qt::black);
    sayfa.sekmeCubugu()->render(&resim);
    return resim;
}

} // namespace

class SekmelerTesti : public QObject {
    Q_OBJECT

private slots:
    void rozetAyristir_data()
    {
        QTest::addColumn<QString>("baslik");
        QTest::addColumn<QString>("metin");
        QTest::addColumn<int>("sayi");

        QTest::newRow("sayısız") << "Stok Listesi" << "Stok Listesi" << 0;
        QTest::newRow("rozetli") << "12=Stok Listesi" << "Stok Listesi" << 12;
        QTest::newRow("sıfır") << "0=Sepet" << "Sepet" << 0;
        QTest::newRow("eksi sayı rozet değil") << "-3=Sepet" << "Sepet" << -3;
        QTest::newRow("boşluklu sayı") << " 7 =Duyurular" << "Duyurular" << 7;
        QTest::newRow("ilk = bölünür") << "5=Fiyat=Liste" << "Fiyat=Liste" << 5;
        QTest::newRow("önü sayı değil: başlık olduğu gibi") << "abc=Sepet" << "abc=Sepet" << 0;
        QTest::newRow("önü boş") << "=Sepet" << "=Sepet" << 0;
        QTest::newRow("sayı ve harf") << "12a=Sepet" << "12a=Sepet" << 0;
        QTest::newRow("taşan sayı") << "99999999999=Sepet" << "99999999999=Sepet" << 0;
        QTest::newRow("başlıksız") << "4=" << "" << 4;
        QTest::newRow("boş") << "" << "" << 0;
        QTest::newRow("100 karakterle sınırlı") << "3=" + QString(150, QChar('x')) << QString(100, QChar('x')) << 3;
    }

    void rozetAyristir()
    {
        QFETCH(QString, baslik);
        QFETCH(QString, metin);
        QFETCH(int, sayi);
        const RozetBasligi sonuc = RozetAyristir(baslik);
        QCOMPARE(sonuc.baslik, metin);
        QCOMPARE(sonuc.sayi, sayi);
    }

    void rozetliBaslikGeriOkunur()
    {
        const RozetBasligi sonuc = RozetAyristir(RozetliBaslik(42, "Kampanyalı Stoklar"));
        QCOMPARE(sonuc.baslik, QString("Kampanyalı Stoklar"));
        QCOMPARE(sonuc.sayi, 42);
    }

    void sekmeCizimi_data()
    {
        QTest::addColumn<QString>("baslik");
        QTest::addColumn<bool>("rozetVar");

        QTest::newRow("rozetli") << "12=Stok Listesi" << true;
        QTest::newRow("büyük sayı") << "1250=Sepet" << true;
        QTest::newRow("sıfır rozet çizilmez") << "0=Sepet" << false;
        QTest::newRow("eksi rozet çizilmez") << "-4=Sepet" << false;
        QTest::newRow("sayısız") << "Önceki Siparişler" << false;
        QTest::newRow("önü sayı değil") << "yeni=Duyurular" << false;
        QTest::newRow("uzun kelime") << "3=Kampanyalı Stoklar" << true;
    }

    void sekmeCizimi()
    {
        QFETCH(QString, baslik);
        QFETCH(bool, rozetVar);

        TsPageControl sayfa;
        sayfa.addTab(new QWidget, SimgeAl(Simge::Sepet), "Birinci");
        sayfa.addTab(new QWidget, SimgeAl(Simge::Duyuru), baslik);
        sayfa.resize(600, 300);
        sayfa.show();
        QVERIFY(QTest::qWaitForWindowExposed(&sayfa));

        RozetliSekmeCubugu* cubuk = sayfa.sekmeCubugu();
        QCOMPARE(cubuk->tabRect(1).size(), QSize(RozetliSekmeCubugu::kGenislik, RozetliSekmeCubugu::kYukseklik));
        const QImage cizilen = ciz(sayfa);
        const QRect alan = cubuk->baslikAlani(1);
        // The count sits in the upper right of the caption area, in orange.
        const QRect sagUst(alan.center().x(), alan.top(), alan.width() / 2, alan.height() / 2);
        const int turuncu = renkliPikseller(cizilen, sagUst, kRozetRengi);
        QCOMPARE(turuncu > 0, rozetVar);
        QCOMPARE(renkliPikseller(cizilen, cubuk->tabRect(0), kRozetRengi), 0);

        // The title is drawn: the caption area differs from the same tab without text.
        sayfa.setTabText(1, QString());
        const QImage bos = ciz(sayfa);
        if (!RozetAyristir(baslik).baslik.isEmpty()) QVERIFY(farkliPikseller(cizilen, bos, alan) > 0);
        // The icon is drawn left of the caption area either way.
        const QRect simge(cubuk->tabRect(1).left(), alan.top(), alan.left() - cubuk->tabRect(1).left(), alan.height());
        QCOMPARE(farkliPikseller(cizilen, bos, simge), 0);
    }

    void gizliSekmeCizilmez()
    {
        TsPageControl sayfa;
        sayfa.addTab(new QWidget, "1=Bir");
        sayfa.addTab(new QWidget, "2=İki");
        sayfa.addTab(new QWidget, "3=Üç");
        sayfa.setTabVisible(1, false);
        sayfa.resize(600, 300);
        sayfa.show();
        QVERIFY(QTest::qWaitForWindowExposed(&sayfa));
        const QImage cizilen = ciz(sayfa);
        QVERIFY(renkliPikseller(cizilen, sayfa.sekmeCubugu()->tabRect(2), kRozetRengi) > 0);
        // The hidden tab takes no room.
        QVERIFY(sayfa.sekmeCubugu()->tabRect(2).left() < 2 * RozetliSekmeCubugu::kGenislik);
    }
};

QObject* sekmelerTesti()
{
    return new SekmelerTesti;
}

#include "sekmeler_test.moc"
