#include "testkit/giris.hpp"

#include <exception>
#include <stdexcept>

#include <QTest>

#include "app/unit1.hpp"
#include "app/utils.hpp"
#include "demo_database.hpp"
#include "server/proxim.hpp"

namespace durnak::testler {

QString BilgisayarIdsi(DemoKullanici kullanici)
{
    switch (kullanici) {
    case DemoKullanici::Demo: return QString::fromLatin1(testing::kDemoComputerId);
    case DemoKullanici::Temsilci: return QString::fromLatin1(testing::kRepComputerId);
    case DemoKullanici::Bolge: return QString::fromLatin1(testing::kRegionComputerId);
    case DemoKullanici::Kisitli: return QString::fromLatin1(testing::kLimitedComputerId);
    }
    return {};
}

QString KullaniciAdi(DemoKullanici kullanici)
{
    switch (kullanici) {
    case DemoKullanici::Demo: return QStringLiteral("DEMO");
    case DemoKullanici::Temsilci: return QStringLiteral("TEMSILCI");
    case DemoKullanici::Bolge: return QStringLiteral("BOLGE");
    case DemoKullanici::Kisitli: return QStringLiteral("KISITLI");
    }
    return {};
}

void TestGirisi(client::TBaglanti& bagc, protocol::TSonucBilgisi& sbilgi, std::uint16_t port,
                const QString& bilgisayarId, const QString& kullanici, const QString& sifre)
{
    bagc.Params().SetValues(QStringLiteral("HostName"), QStringLiteral("127.0.0.1"));
    bagc.Params().SetValues(QStringLiteral("Port"), QString::number(port));
    bagc.SetComputerId(bilgisayarId);
    bagc.SetCredentials(kullanici, sifre);

    protocol::TSonucBilgisi hesap;
    bagc.Open();
    try {
        client::TServerMethods1Client proxy(bagc);
        const protocol::TSonucBilgisi* gelen = proxy.BuyukGetir(bilgisayarId);
        if (!gelen) throw std::runtime_error("BuyukGetir answered no record");
        hesap = *gelen;
    } catch (...) {
        bagc.Close();
        throw;
    }
    const QString anahtar = bagc.Token();
    bagc.Close();
    if (!anahtar.isEmpty()) bagc.SetToken(anahtar);

    if (!hesap.FVarmi) throw std::runtime_error("workstation not bound: " + bilgisayarId.toStdString());
    if (QString::fromStdString(hesap.FADI) != kullanici || QString::fromStdString(hesap.FSIFRE) != sifre)
        throw std::runtime_error("credentials refused for " + kullanici.toStdString());
    if (hesap.FAKTIF != 1) throw std::runtime_error("account inactive: " + kullanici.toStdString());

    sbilgi.Kopyala(hesap);
    sbilgi.FBilgiSayarAdi = client::BilgisayarAdiAl().toStdString();
    sbilgi.FBilgisayarKullanici = client::KullaniciAdiAl().toStdString();
    sbilgi.FIcip = client::YerelIpAl().toStdString();
    sbilgi.FBILGISAYARID = bilgisayarId.toStdString();
    sbilgi.FDisip = "127.0.0.1";
}

void TestGirisi(client::TForm1& form, std::uint16_t port, const QString& bilgisayarId, const QString& kullanici,
                const QString& sifre)
{
    TestGirisi(form.bagc, form.sbilgi, port, bilgisayarId, kullanici, sifre);
    client::tiptut().setGecerliip(QStringLiteral("127.0.0.1"));
}

void TestGirisi(client::TBaglanti& bagc, protocol::TSonucBilgisi& sbilgi, std::uint16_t port,
                DemoKullanici kullanici)
{
    TestGirisi(bagc, sbilgi, port, BilgisayarIdsi(kullanici), KullaniciAdi(kullanici));
}

void TestGirisi(client::TForm1& form, std::uint16_t port, DemoKullanici kullanici)
{
    TestGirisi(form, port, BilgisayarIdsi(kullanici), KullaniciAdi(kullanici));
}

std::unique_ptr<testing::ServerProcess> DemoSunucusu(std::string veritabani)
{
    testing::ServerOptions ayar;
    ayar.dbPath = veritabani.empty() ? testing::seededDatabaseCopy() : std::move(veritabani);
    return std::make_unique<testing::ServerProcess>(ayar);
}

SunuculuTest::SunuculuTest(SunuculuTestAyari ayar) : ayar_(std::move(ayar)) {}

SunuculuTest::~SunuculuTest() = default;

void SunuculuTest::initTestCase()
{
    try {
        sunucu_ = DemoSunucusu(ayar_.veritabani ? ayar_.veritabani() : std::string());
        if (ayar_.giris) TestGirisi(bagc_, sbilgi_, sunucu_->port(), *ayar_.giris);
    } catch (const std::exception& e) {
        QFAIL(e.what());
    }
}

void SunuculuTest::cleanupTestCase()
{
    sunucu_.reset();
}

} // namespace durnak::testler
