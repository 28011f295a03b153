#include "giris_destek.hpp"

#include <stdexcept>

#include "app/unit1.hpp"
#include "app/utils.hpp"
#include "server/proxim.hpp"

namespace durnak::testler {

QString BilgisayarIdsi(DemoKullanici kullanici)
{
    switch (kullanici) {
    case DemoKullanici::Demo: return QStringLiteral("TEST-DISK-0001");
    case DemoKullanici::Temsilci: return QStringLiteral("TEST-DISK-0002");
    case DemoKullanici::Bolge: return QStringLiteral("TEST-DISK-0003");
    case DemoKullanici::Kisitli: return QStringLiteral("TEST-DISK-0004");
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

void TestGirisi(client::TForm1& form, std::uint16_t port, DemoKullanici kullanici)
{
    TestGirisi(form, port, BilgisayarIdsi(kullanici), KullaniciAdi(kullanici));
}

} // namespace durnak::testler
