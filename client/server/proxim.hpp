#pragma once

// The client side of TServerMethods1: one operation per server method the program calls,
// each a thin typed wrapper over Call(), which checks parameters and answers against the
// shared method catalogue.
//
// Ownership follows the instance-owner rule of the call frames:
// - record arguments are taken as std::unique_ptr and released once written into the
//   request (a nullptr travels as null); callers pass copies they no longer need;
// - tables, data packets, streams and records that come back stay owned by the proxy
//   and die when the same method is called again on it or when it is released. Callers
//   read or copy them before that and never release them.

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <QString>

#include "durnak/protocol/catalogue.hpp"
#include "durnak/protocol/error.hpp"
#include "durnak/protocol/records.hpp"
#include "durnak/protocol/table.hpp"
#include "durnak/protocol/value.hpp"
#include "server/akis.hpp"
#include "server/baglanti.hpp"

namespace durnak::client {

using protocol::TAcilisEkran;
using protocol::TAcilisEkranlar;
using protocol::TAcilisEkranlariki;
using protocol::TMobilCariBilgisi;
using protocol::TMobilSepet;
using protocol::TMobilSepetler;
using protocol::TMobilStok;
using protocol::TMobilStoklar;
using protocol::TSiparisDipAyrinti;
using protocol::TSonucBilgisi;
using protocol::TTusSonuclari;

// A fresh copy of a record made with its Kopyala: what a call takes instead of the
// session record itself.
template <class T>
std::unique_ptr<T> Kopya(const T& kaynak)
{
    auto kopya = std::make_unique<T>();
    kopya->Kopyala(kaynak);
    return kopya;
}

class TServerMethods1Client {
public:
    using Bilgi = std::unique_ptr<TSonucBilgisi>;
    using Tablo = protocol::Table;

    // Throws EBaglantiHatasi when the connection is not open.
    explicit TServerMethods1Client(TBaglanti& baglanti);
    ~TServerMethods1Client();
    TServerMethods1Client(const TServerMethods1Client&) = delete;
    TServerMethods1Client& operator=(const TServerMethods1Client&) = delete;

    // Calls a catalogue method with its parameters by position (out positions null) and
    // returns the answer (out values by position, the result last), owned by the proxy.
    // Parameters and answer are checked against the catalogue (protocol::ProtocolError);
    // a server error raises protocol::ServerError with the server's text.
    std::vector<protocol::Value>& Call(std::string_view yontem, std::vector<protocol::Value> parametreler);
    // Any command, unchecked: for the server's diagnostic methods (offered only by a server
    // started for tests) and for probing how the server answers what the catalogue rejects.
    const std::vector<protocol::Value>& TestCagir(std::string_view yontem, std::vector<protocol::Value> parametreler);
    // Echoes any parameters back as out values, the count last.
    const std::vector<protocol::Value>& TestEcho(std::vector<protocol::Value> parametreler);

    // Commands made so far; a method called again reuses its command.
    std::size_t KomutSayisi() const { return komutlar_.size(); }
    std::vector<std::string> KomutAdlari() const;
    // Commands currently holding the answer of their last call.
    std::size_t SahipliSonucSayisi() const;

    QString EchoString(const QString& Value);
    QString ReverseString(const QString& Value);

    const Tablo& SepetVer2(int carino);  // data packet
    const Tablo& OncekiSiparisler(int carino);
    const Tablo& CariEkstreVer(int carino);
    const Tablo& KampanyaliVer2(int cario, int satici);  // data packet
    const Tablo& BakiyelerVer2(int carino);
    const TSonucBilgisi* BuyukGetir(const QString& idsi);
    TStream* ResimVer5(int stokno, std::int64_t& boy);
    TStream* SAnalPosPdfVer(int sirano, std::int64_t& boy);
    const Tablo& StokAraGetir(const QString& kod, Bilgi bilgi);  // data packet
    const Tablo& YenilerVer2(int carino);                        // data packet
    const Tablo& TeslimVer();
    const Tablo& KargoVer();
    const Tablo& KargolarVer(int gn);
    int SepetEkle2(Bilgi bilgim, int carino, int stokno, const QString& barkod, const QString& stokadi, double miktar,
                   double kdv, double fiyat, double ind1, int verenid, int k, double ind2, double ind3, double ind4);
    int SepetGuncelle2(Bilgi bilgim, int carino, int stokno, const QString& barkod, const QString& stokadi,
                       double miktar, double kdv, double fiyat, double ind1, int verenid, int _sepetsirano,
                       double ind2, double ind3, double ind4);
    int SepetHepsiniSil(Bilgi bilgi);
    int SepetSatirSil(Bilgi bilgi, int satirno, const QString& aciklamam);
    bool SiparisKaydet(Bilgi BB, int _carino, int _teslim, int _kargo, const QString& _aciklama, int _verenid,
                       int _kargoyeni);
    const Tablo& SiparisAyrintisi2(int carino, int idnosu);
    const Tablo& FaturaGetir(int carino, int idnosu);
    const Tablo& FaturaAltGetir(int idnosu);
    const Tablo& Tahsilat(int idnosu);
    int SanalposSiranoVer(int idnosu);
    int BakiyeDuzenle(Bilgi k, int stokno, int sepetsirano, int siparissirano, double Adet, double Bakiye,
                      const QString& barkod);
    int BakiyeDegistir(Bilgi k, int stokno, int sepetsirano, int siparissirano, double Adet, double Bakiye,
                       const QString& barkod);
    int BakiyeFiyatDegistir(Bilgi k, int stokno, int sepetsirano, int siparissirano, double Adet, double Bakiye,
                            const QString& barkod, double fiyat, double ind);
    const TSiparisDipAyrinti* SiparisAytintisiDip(int carino, int siranosu);
    const Tablo& CariAra(Bilgi bil, const QString& aranan);
    int SepetSayisi(Bilgi bil);
    const TTusSonuclari* TusSonuclariVer(Bilgi bil);
    const Tablo& CariSepetVer(Bilgi bil, int n);
    QString KayanYaziGetir();
    TStream* BannerResimVer(std::int64_t& size);
    TStream* BannerResimVer2(std::int64_t& size);
    TStream* BannerResimVer3(std::int64_t& size);
    TStream* RaporGetir(int raporno, int bolum, int idno, int carino, const QString& saticiadi, double tarih1,
                        double tarih2, std::int64_t& size);
    const Tablo& BalonGetir(Bilgi bil);
    const Tablo& TumSiparislerVer(int carino, int stokno);
    void SepetSecimGuncelle(int sirano, int secim);
    int MailGonserCari(const QString& idsi, const QString& baslik, const QString& firmaadi, const QString& adres1,
                       const QString& adres2, const QString& ilce, const QString& sehir, const QString& telefon,
                       const QString& fax, const QString& vd, const QString& vn, const QString& yetkili,
                       const QString& kullaniciadi, const QString& sifre, const QString& mail,
                       const QString& kargoambar);
    int MailGonserCariNormal(const QString& idsi, const QString& baslik, const QString& firmaadi,
                             const QString& adres1, const QString& adres2, const QString& ilce, const QString& sehir,
                             const QString& telefon, const QString& fax, const QString& vd, const QString& vn,
                             const QString& yetkili, const QString& kullaniciadi, const QString& sifre,
                             const QString& mail, const QString& kargoambar, const QString& konu);
    const TMobilCariBilgisi* MobilCariBilgisiGetir(int sirano, const QString& _idsi);
    int AcilisReklamAdet();
    const TAcilisEkran* AcilisREklamVer(int sira);
    const TAcilisEkranlariki* AcilisEkranlarVer2();
    const Tablo& RaporAlinanSiparisler(Bilgi bilgi, double tarih1, double tarih2);
    const Tablo& RaporEnCokSatilanStoklar(Bilgi bilgi, double tarih1, double tarih2);
    QString CariVadeGunGecmismiBul(int carino);

private:
    struct Komut;

    Komut& komut(std::string_view yontem);
    // Checks against `tanim` when given.
    std::vector<protocol::Value>& calistir(Komut& komut, const protocol::MethodSpec* tanim,
                                           std::vector<protocol::Value> parametreler);

    const protocol::Value& sonuc(std::string_view yontem, std::vector<protocol::Value> parametreler);
    const Tablo& tablo(std::string_view yontem, std::vector<protocol::Value> parametreler);
    TStream* akis(std::string_view yontem, std::vector<protocol::Value> parametreler, std::size_t boyKonumu,
                  std::int64_t& boy);
    template <class T>
    const T* kayit(std::string_view yontem, std::vector<protocol::Value> parametreler);

    TBaglanti& baglanti_;
    std::map<std::string, std::unique_ptr<Komut>, std::less<>> komutlar_;
};

} // namespace durnak::client
