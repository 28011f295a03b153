#include "server/proxim.hpp"

#include "durnak/protocol/error.hpp"
#include "durnak/protocol/marshal.hpp"

namespace durnak::client {

namespace protocol = durnak::protocol;
using protocol::Null;
using Deger = protocol::Value;

// One prepared server command. It owns the answer of its last execution, and whatever
// was built from it, until it runs again or the proxy is released.
struct TServerMethods1Client::Komut {
    std::string metin;  // "TServerMethods1.<Method>"
    std::vector<Deger> degerler;
    std::shared_ptr<void> nesne;  // the record or stream handed out from the answer
};

namespace {

Deger metin(const QString& s)
{
    return Deger(s.toStdString());
}

// The proxy is the instance owner: the record is released once it is in the request.
template <class T>
Deger kayitDegeri(std::unique_ptr<T>& kayit)
{
    Deger deger = kayit ? protocol::toValue(*kayit) : Deger(Null{});
    kayit.reset();
    return deger;
}

const Deger cikis{Null{}};

} // namespace

TServerMethods1Client::TServerMethods1Client(TBaglanti& baglanti) : baglanti_(baglanti)
{
    if (!baglanti_.Connected())
        throw EBaglantiHatasi(QStringLiteral("Sunucu bağlantısı açık değil; sunucu nesnesi oluşturulamaz"));
}

TServerMethods1Client::~TServerMethods1Client() = default;

std::vector<std::string> TServerMethods1Client::KomutAdlari() const
{
    std::vector<std::string> adlar;
    for (const auto& [ad, k] : komutlar_) adlar.push_back(ad);
    return adlar;
}

std::size_t TServerMethods1Client::SahipliSonucSayisi() const
{
    std::size_t n = 0;
    for (const auto& [ad, k] : komutlar_)
        if (!k->degerler.empty() || k->nesne) ++n;
    return n;
}

TServerMethods1Client::Komut& TServerMethods1Client::komut(std::string_view yontem)
{
    auto it = komutlar_.find(yontem);
    if (it == komutlar_.end()) {
        auto yeni = std::make_unique<Komut>();
        yeni->metin = protocol::commandText(yontem);
        it = komutlar_.emplace(std::string(yontem), std::move(yeni)).first;
    }
    return *it->second;
}

std::vector<Deger>& TServerMethods1Client::calistir(Komut& k, const protocol::MethodSpec* tanim,
                                                    std::vector<Deger> parametreler)
{
    // The previous answer dies when the command executes again, also when this call fails.
    k.degerler.clear();
    k.nesne.reset();
    if (tanim) protocol::checkCallParams(*tanim, parametreler);
    std::vector<Deger> degerler = baglanti_.Cagir(k.metin, parametreler);
    if (tanim) protocol::checkResultValues(*tanim, degerler);
    k.degerler = std::move(degerler);
    return k.degerler;
}

std::vector<Deger>& TServerMethods1Client::Call(std::string_view yontem, std::vector<Deger> parametreler)
{
    const protocol::MethodSpec* tanim = protocol::findMethod(yontem);
    if (!tanim) throw protocol::ProtocolError("Bilinmeyen sunucu yöntemi: " + std::string(yontem));
    return calistir(komut(yontem), tanim, std::move(parametreler));
}

const std::vector<Deger>& TServerMethods1Client::TestCagir(std::string_view yontem, std::vector<Deger> parametreler)
{
    return calistir(komut(yontem), nullptr, std::move(parametreler));
}

const std::vector<Deger>& TServerMethods1Client::TestEcho(std::vector<Deger> parametreler)
{
    return TestCagir("TestEcho", std::move(parametreler));
}

const Deger& TServerMethods1Client::sonuc(std::string_view yontem, std::vector<Deger> parametreler)
{
    return Call(yontem, std::move(parametreler)).back();
}

const protocol::Table& TServerMethods1Client::tablo(std::string_view yontem, std::vector<Deger> parametreler)
{
    const Deger& d = sonuc(yontem, std::move(parametreler));
    return d.kind() == protocol::Kind::DataPacket ? d.asDataPacket() : d.asTable();
}

TStream* TServerMethods1Client::akis(std::string_view yontem, std::vector<Deger> parametreler, std::size_t boyKonumu,
                                     std::int64_t& boy)
{
    std::vector<Deger>& degerler = Call(yontem, std::move(parametreler));
    boy = degerler[boyKonumu].asInt64();
    auto akis = std::make_shared<TStream>(degerler.back().takeStream().bytes);
    degerler.back() = Null{};  // the stream holds the bytes now; keep one copy only
    komutlar_.find(yontem)->second->nesne = akis;
    return akis.get();
}

template <class T>
const T* TServerMethods1Client::kayit(std::string_view yontem, std::vector<Deger> parametreler)
{
    const Deger& d = sonuc(yontem, std::move(parametreler));
    if (d.isNull()) return nullptr;
    auto nesne = std::make_shared<T>(protocol::fromValue<T>(d));
    komutlar_.find(yontem)->second->nesne = nesne;
    return nesne.get();
}

// ---------------------------------------------------------------------------------------
// The methods, in the server class's declaration order.

QString TServerMethods1Client::EchoString(const QString& deger)
{
    return QString::fromStdString(sonuc("EchoString", {metin(deger)}).asString());
}

QString TServerMethods1Client::ReverseString(const QString& deger)
{
    return QString::fromStdString(sonuc("ReverseString", {metin(deger)}).asString());
}

const protocol::Table& TServerMethods1Client::SepetVer2(int carino)
{
    return tablo("SepetVer2", {carino});
}

const protocol::Table& TServerMethods1Client::OncekiSiparisler(int carino)
{
    return tablo("OncekiSiparisler", {carino});
}

const protocol::Table& TServerMethods1Client::CariEkstreVer(int carino)
{
    return tablo("CariEkstreVer", {carino});
}

const protocol::Table& TServerMethods1Client::KampanyaliVer2(int cario, int satici)
{
    return tablo("KampanyaliVer2", {cario, satici});
}

const protocol::Table& TServerMethods1Client::BakiyelerVer2(int carino)
{
    return tablo("BakiyelerVer2", {carino});
}

const TSonucBilgisi* TServerMethods1Client::BuyukGetir(const QString& idsi)
{
    return kayit<TSonucBilgisi>("BuyukGetir", {metin(idsi)});
}

TStream* TServerMethods1Client::ResimVer5(int stokno, std::int64_t& boy)
{
    return akis("ResimVer5", {stokno, cikis}, 1, boy);
}

TStream* TServerMethods1Client::SAnalPosPdfVer(int sirano, std::int64_t& boy)
{
    return akis("SAnalPosPdfVer", {sirano, cikis}, 1, boy);
}

const protocol::Table& TServerMethods1Client::StokAraGetir(const QString& kod, Bilgi bilgi)
{
    return tablo("StokAraGetir", {metin(kod), kayitDegeri(bilgi)});
}

const protocol::Table& TServerMethods1Client::YenilerVer2(int carino)
{
    return tablo("YenilerVer2", {carino});
}

const protocol::Table& TServerMethods1Client::TeslimVer()
{
    return tablo("TeslimVer", {});
}

const protocol::Table& TServerMethods1Client::KargoVer()
{
    return tablo("KargoVer", {});
}

const protocol::Table& TServerMethods1Client::KargolarVer(int gn)
{
    return tablo("KargolarVer", {gn});
}

int TServerMethods1Client::SepetEkle2(Bilgi bilgim, int carino, int stokno, const QString& barkod,
                                      const QString& stokadi, double miktar, double kdv, double fiyat, double ind1,
                                      int verenid, int k, double ind2, double ind3, double ind4)
{
    return sonuc("SepetEkle2", {kayitDegeri(bilgim), carino, stokno, metin(barkod), metin(stokadi), miktar, kdv,
                                fiyat, ind1, verenid, k, ind2, ind3, ind4})
        .asInt32();
}

int TServerMethods1Client::SepetGuncelle2(Bilgi bilgim, int carino, int stokno, const QString& barkod,
                                          const QString& stokadi, double miktar, double kdv, double fiyat,
                                          double ind1, int verenid, int _sepetsirano, double ind2, double ind3,
                                          double ind4)
{
    return sonuc("SepetGuncelle2", {kayitDegeri(bilgim), carino, stokno, metin(barkod), metin(stokadi), miktar,
                                    kdv, fiyat, ind1, verenid, _sepetsirano, ind2, ind3, ind4})
        .asInt32();
}

int TServerMethods1Client::SepetHepsiniSil(Bilgi bilgi)
{
    return sonuc("SepetHepsiniSil", {kayitDegeri(bilgi)}).asInt32();
}

int TServerMethods1Client::SepetSatirSil(Bilgi bilgi, int satirno, const QString& aciklamam)
{
    return sonuc("SepetSatirSil", {kayitDegeri(bilgi), satirno, metin(aciklamam)}).asInt32();
}

bool TServerMethods1Client::SiparisKaydet(Bilgi BB, int _carino, int _teslim, int _kargo, const QString& _aciklama,
                                          int _verenid, int _kargoyeni)
{
    return sonuc("SiparisKaydet",
                 {kayitDegeri(BB), _carino, _teslim, _kargo, metin(_aciklama), _verenid, _kargoyeni})
        .asBoolean();
}

const protocol::Table& TServerMethods1Client::SiparisAyrintisi2(int carino, int idnosu)
{
    return tablo("SiparisAyrintisi2", {carino, idnosu});
}

const protocol::Table& TServerMethods1Client::FaturaGetir(int carino, int idnosu)
{
    return tablo("FaturaGetir", {carino, idnosu});
}

const protocol::Table& TServerMethods1Client::FaturaAltGetir(int idnosu)
{
    return tablo("FaturaAltGetir", {idnosu});
}

const protocol::Table& TServerMethods1Client::Tahsilat(int idnosu)
{
    return tablo("Tahsilat", {idnosu});
}

int TServerMethods1Client::SanalposSiranoVer(int idnosu)
{
    return sonuc("SanalposSiranoVer", {idnosu}).asInt32();
}

int TServerMethods1Client::BakiyeDuzenle(Bilgi k, int stokno, int sepetsirano, int siparissirano, double Adet,
                                         double Bakiye, const QString& barkod)
{
    return sonuc("BakiyeDuzenle", {kayitDegeri(k), stokno, sepetsirano, siparissirano, Adet, Bakiye, metin(barkod)})
        .asInt32();
}

int TServerMethods1Client::BakiyeDegistir(Bilgi k, int stokno, int sepetsirano, int siparissirano, double Adet,
                                          double Bakiye, const QString& barkod)
{
    return sonuc("BakiyeDegistir",
                 {kayitDegeri(k), stokno, sepetsirano, siparissirano, Adet, Bakiye, metin(barkod)})
        .asInt32();
}

int TServerMethods1Client::BakiyeFiyatDegistir(Bilgi k, int stokno, int sepetsirano, int siparissirano, double Adet,
                                               double Bakiye, const QString& barkod, double fiyat, double ind)
{
    return sonuc("BakiyeFiyatDegistir",
                 {kayitDegeri(k), stokno, sepetsirano, siparissirano, Adet, Bakiye, metin(barkod), fiyat, ind})
        .asInt32();
}

const TSiparisDipAyrinti* TServerMethods1Client::SiparisAytintisiDip(int carino, int siranosu)
{
    return kayit<TSiparisDipAyrinti>("SiparisAytintisiDip", {carino, siranosu});
}

const protocol::Table& TServerMethods1Client::CariAra(Bilgi bil, const QString& aranan)
{
    return tablo("CariAra", {kayitDegeri(bil), metin(aranan)});
}

int TServerMethods1Client::SepetSayisi(Bilgi bil)
{
    return sonuc("SepetSayisi", {kayitDegeri(bil)}).asInt32();
}

const TTusSonuclari* TServerMethods1Client::TusSonuclariVer(Bilgi bil)
{
    return kayit<TTusSonuclari>("TusSonuclariVer", {kayitDegeri(bil)});
}

const protocol::Table& TServerMethods1Client::CariSepetVer(Bilgi bil, int n)
{
    return tablo("CariSepetVer", {kayitDegeri(bil), n});
}

QString TServerMethods1Client::KayanYaziGetir()
{
    return QString::fromStdString(sonuc("KayanYaziGetir", {}).asString());
}

TStream* TServerMethods1Client::BannerResimVer(std::int64_t& size)
{
    return akis("BannerResimVer", {cikis}, 0, size);
}

TStream* TServerMethods1Client::BannerResimVer2(std::int64_t& size)
{
    return akis("BannerResimVer2", {cikis}, 0, size);
}

TStream* TServerMethods1Client::BannerResimVer3(std::int64_t& size)
{
    return akis("BannerResimVer3", {cikis}, 0, size);
}

TStream* TServerMethods1Client::RaporGetir(int raporno, int bolum, int idno, int carino, const QString& saticiadi,
                                           double tarih1, double tarih2, std::int64_t& size)
{
    return akis("RaporGetir", {raporno, bolum, idno, carino, metin(saticiadi), tarih1, tarih2, cikis}, 7, size);
}

const protocol::Table& TServerMethods1Client::BalonGetir(Bilgi bil)
{
    return tablo("BalonGetir", {kayitDegeri(bil)});
}

const protocol::Table& TServerMethods1Client::TumSiparislerVer(int carino, int stokno)
{
    return tablo("TumSiparislerVer", {carino, stokno});
}

void TServerMethods1Client::SepetSecimGuncelle(int sirano, int secim)
{
    Call("SepetSecimGuncelle", {sirano, secim});
}

int TServerMethods1Client::MailGonserCari(const QString& idsi, const QString& baslik, const QString& firmaadi,
                                          const QString& adres1, const QString& adres2, const QString& ilce,
                                          const QString& sehir, const QString& telefon, const QString& fax,
                                          const QString& vd, const QString& vn, const QString& yetkili,
                                          const QString& kullaniciadi, const QString& sifre, const QString& mail,
                                          const QString& kargoambar)
{
    return sonuc("MailGonserCari", {metin(idsi), metin(baslik), metin(firmaadi), metin(adres1), metin(adres2),
                                    metin(ilce), metin(sehir), metin(telefon), metin(fax), metin(vd), metin(vn),
                                    metin(yetkili), metin(kullaniciadi), metin(sifre), metin(mail),
                                    metin(kargoambar)})
        .asInt32();
}

int TServerMethods1Client::MailGonserCariNormal(const QString& idsi, const QString& baslik, const QString& firmaadi,
                                                const QString& adres1, const QString& adres2, const QString& ilce,
                                                const QString& sehir, const QString& telefon, const QString& fax,
                                                const QString& vd, const QString& vn, const QString& yetkili,
                                                const QString& kullaniciadi, const QString& sifre,
                                                const QString& mail, const QString& kargoambar, const QString& konu)
{
    return sonuc("MailGonserCariNormal",
                 {metin(idsi), metin(baslik), metin(firmaadi), metin(adres1), metin(adres2), metin(ilce),
                  metin(sehir), metin(telefon), metin(fax), metin(vd), metin(vn), metin(yetkili),
                  metin(kullaniciadi), metin(sifre), metin(mail), metin(kargoambar), metin(konu)})
        .asInt32();
}

const TMobilCariBilgisi* TServerMethods1Client::MobilCariBilgisiGetir(int sirano, const QString& _idsi)
{
    return kayit<TMobilCariBilgisi>("MobilCariBilgisiGetir", {sirano, metin(_idsi)});
}

int TServerMethods1Client::AcilisReklamAdet()
{
    return sonuc("AcilisReklamAdet", {}).asInt32();
}

const TAcilisEkran* TServerMethods1Client::AcilisREklamVer(int sira)
{
    return kayit<TAcilisEkran>("AcilisREklamVer", {sira});
}

const TAcilisEkranlariki* TServerMethods1Client::AcilisEkranlarVer2()
{
    return kayit<TAcilisEkranlariki>("AcilisEkranlarVer2", {});
}

const protocol::Table& TServerMethods1Client::RaporAlinanSiparisler(Bilgi bilgi, double tarih1, double tarih2)
{
    return tablo("RaporAlinanSiparisler", {kayitDegeri(bilgi), tarih1, tarih2});
}

const protocol::Table& TServerMethods1Client::RaporEnCokSatilanStoklar(Bilgi bilgi, double tarih1, double tarih2)
{
    return tablo("RaporEnCokSatilanStoklar", {kayitDegeri(bilgi), tarih1, tarih2});
}

QString TServerMethods1Client::CariVadeGunGecmismiBul(int carino)
{
    return QString::fromStdString(sonuc("CariVadeGunGecmismiBul", {carino}).asString());
}

} // namespace durnak::client
