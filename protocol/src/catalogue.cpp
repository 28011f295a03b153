#include "durnak/protocol/catalogue.hpp"

#include <unordered_map>

#include "durnak/protocol/error.hpp"

namespace durnak::protocol {

const std::vector<MethodSpec>& methodCatalogue()
{
    // In the server class's declaration order; parameters in wire order.
    static const std::vector<MethodSpec> methods{
        {"DSServerModuleCreate", {{"Sender", Kind::Object, false}}, Kind::None, "", false},
        {"EchoString", {{"Value", Kind::String, false}}, Kind::String, "", false},
        {"ReverseString", {{"Value", Kind::String, false}}, Kind::String, "", false},
        {"StokAra", {{"kod", Kind::String, false}, {"carino", Kind::String, false}, {"satici", Kind::Int32, false}}, Kind::Table, "", false},
        {"SepetVer", {{"carino", Kind::Int32, false}}, Kind::Table, "", false},
        {"SepetVer2", {{"carino", Kind::Int32, false}}, Kind::DataPacket, "", true},
        {"OncekiSiparisler", {{"carino", Kind::Int32, false}}, Kind::Table, "", true},
        {"OncekiSiparisler2", {{"carino", Kind::Int32, false}}, Kind::Table, "", false},
        {"CariEkstreVer", {{"carino", Kind::Int32, false}}, Kind::Table, "", true},
        {"CariEkstreVer2", {{"carino", Kind::Int32, false}, {"TARIH1", Kind::Double, false}, {"TARIH2", Kind::Double, false}}, Kind::Table, "", false},
        {"CariEkstreVer2Baslik", {{"carino", Kind::Int32, false}, {"tarih1", Kind::Double, false}}, Kind::Table, "", false},
        {"YenilerVer", {{"carino", Kind::Int32, false}}, Kind::Table, "", false},
        {"NivoYenilerVer", {{"carino", Kind::Int32, false}}, Kind::Table, "", false},
        {"YenilerVerMobile", {{"carino", Kind::Int32, false}}, Kind::Table, "", false},
        {"KampanyaliVer", {{"cario", Kind::Int32, false}, {"satici", Kind::Int32, false}}, Kind::Table, "", false},
        {"KampanyaliVer2", {{"cario", Kind::Int32, false}, {"satici", Kind::Int32, false}}, Kind::DataPacket, "", true},
        {"NivoKampanyaliVer", {{"cario", Kind::Int32, false}, {"satici", Kind::Int32, false}}, Kind::Table, "", false},
        {"KampanyaliVermMobil", {{"cario", Kind::Int32, false}, {"satici", Kind::Int32, false}}, Kind::Table, "", false},
        {"DuyuruVer", {}, Kind::Table, "", false},
        {"DuyuruVer2", {}, Kind::Table, "", false},
        {"BakiyelerVer", {{"carino", Kind::Int32, false}}, Kind::Table, "", false},
        {"BakiyelerVer2", {{"carino", Kind::Int32, false}}, Kind::Table, "", true},
        {"BuyukGetir", {{"idsi", Kind::String, false}}, Kind::Record, "baglantiu.TSonucBilgisi", true},
        {"ResimVer5", {{"stokno", Kind::Int32, false}, {"boy", Kind::Int64, true}}, Kind::Stream, "", true},
        {"SAnalPosPdfVer", {{"sirano", Kind::Int32, false}, {"boy", Kind::Int64, true}}, Kind::Stream, "", true},
        {"ResimVer6", {{"stokno", Kind::Int32, false}, {"boy", Kind::Int64, true}}, Kind::JsonArray, "", false},
        {"StokAraVeltra", {{"kod", Kind::String, false}, {"bilgi", Kind::Record, false, "baglantiu.TSonucBilgisi"}}, Kind::Table, "", false},
        {"StokAraGetir", {{"kod", Kind::String, false}, {"bilgi", Kind::Record, false, "baglantiu.TSonucBilgisi"}}, Kind::DataPacket, "", true},
        {"StokAraOtoTarum2", {{"kod", Kind::String, false}, {"bilgi", Kind::Record, false, "baglantiu.TSonucBilgisi"}}, Kind::DataPacket, "", false},
        {"YenilerVer2", {{"carino", Kind::Int32, false}}, Kind::DataPacket, "", true},
        {"Zenvor", {{"kod", Kind::String, false}, {"bilgi", Kind::Record, false, "baglantiu.TSonucBilgisi"}}, Kind::Table, "", false},
        {"StokAraNivo", {{"kod", Kind::String, false}, {"bilgi", Kind::Record, false, "baglantiu.TSonucBilgisi"}}, Kind::Table, "", false},
        {"StokAraOtoTarum", {{"kod", Kind::String, false}, {"bilgi", Kind::Record, false, "baglantiu.TSonucBilgisi"}}, Kind::Table, "", false},
        {"TeslimVer", {}, Kind::Table, "", true},
        {"KargoVer", {}, Kind::Table, "", true},
        {"KargolarVer", {{"gn", Kind::Int32, false}}, Kind::Table, "", true},
        {"SepetEkle", {{"bilgim", Kind::Record, false, "baglantiu.TSonucBilgisi"}, {"carino", Kind::Int32, false}, {"stokno", Kind::Int32, false}, {"barkod", Kind::String, false}, {"stokadi", Kind::String, false}, {"miktar", Kind::Double, false}, {"kdv", Kind::Double, false}, {"fiyat", Kind::Double, false}, {"indirim", Kind::Double, false}, {"verenid", Kind::Int32, false}, {"k", Kind::Int32, false}}, Kind::Int32, "", false},
        {"SepetEkle2", {{"bilgim", Kind::Record, false, "baglantiu.TSonucBilgisi"}, {"carino", Kind::Int32, false}, {"stokno", Kind::Int32, false}, {"barkod", Kind::String, false}, {"stokadi", Kind::String, false}, {"miktar", Kind::Double, false}, {"kdv", Kind::Double, false}, {"fiyat", Kind::Double, false}, {"ind1", Kind::Double, false}, {"verenid", Kind::Int32, false}, {"k", Kind::Int32, false}, {"ind2", Kind::Double, false}, {"ind3", Kind::Double, false}, {"ind4", Kind::Double, false}}, Kind::Int32, "", true},
        {"SepetGuncelle", {{"bilgim", Kind::Record, false, "baglantiu.TSonucBilgisi"}, {"carino", Kind::Int32, false}, {"stokno", Kind::Int32, false}, {"barkod", Kind::String, false}, {"stokadi", Kind::String, false}, {"miktar", Kind::Double, false}, {"kdv", Kind::Double, false}, {"fiyat", Kind::Double, false}, {"indirim", Kind::Double, false}, {"verenid", Kind::Int32, false}, {"_sepetsirano", Kind::Int32, false}}, Kind::Int32, "", false},
        {"SepetGuncelle2", {{"bilgim", Kind::Record, false, "baglantiu.TSonucBilgisi"}, {"carino", Kind::Int32, false}, {"stokno", Kind::Int32, false}, {"barkod", Kind::String, false}, {"stokadi", Kind::String, false}, {"miktar", Kind::Double, false}, {"kdv", Kind::Double, false}, {"fiyat", Kind::Double, false}, {"ind1", Kind::Double, false}, {"verenid", Kind::Int32, false}, {"_sepetsirano", Kind::Int32, false}, {"ind2", Kind::Double, false}, {"ind3", Kind::Double, false}, {"ind4", Kind::Double, false}}, Kind::Int32, "", true},
        {"SepetHepsiniSil", {{"bilgi", Kind::Record, false, "baglantiu.TSonucBilgisi"}}, Kind::Int32, "", true},
        {"CikisGonder", {{"bilgi", Kind::Record, false, "baglantiu.TSonucBilgisi"}}, Kind::None, "", false},
        {"SepetSatirSil", {{"bilgi", Kind::Record, false, "baglantiu.TSonucBilgisi"}, {"satirno", Kind::Int32, false}, {"aciklamam", Kind::String, false}}, Kind::Int32, "", true},
        {"SiparisKaydet", {{"BB", Kind::Record, false, "baglantiu.TSonucBilgisi"}, {"_carino", Kind::Int32, false}, {"_teslim", Kind::Int32, false}, {"_kargo", Kind::Int32, false}, {"_aciklama", Kind::String, false}, {"_verenid", Kind::Int32, false}, {"_kargoyeni", Kind::Int32, false}}, Kind::Boolean, "", true},
        {"Oncekiler", {{"carino", Kind::Int32, false}}, Kind::Table, "", false},
        {"SiparisAyrintisi", {{"carino", Kind::Int32, false}, {"idnosu", Kind::Int32, false}}, Kind::Table, "", false},
        {"SiparisAyrintisi2", {{"carino", Kind::Int32, false}, {"idnosu", Kind::Int32, false}}, Kind::Table, "", true},
        {"FaturaGetir", {{"carino", Kind::Int32, false}, {"idnosu", Kind::Int32, false}}, Kind::Table, "", true},
        {"FaturaAltGetir", {{"idnosu", Kind::Int32, false}}, Kind::Table, "", true},
        {"Tahsilat", {{"idnosu", Kind::Int32, false}}, Kind::Table, "", true},
        {"SanalposSiranoVer", {{"idnosu", Kind::Int32, false}}, Kind::Int32, "", true},
        {"BakiyeDuzenle", {{"k", Kind::Record, false, "baglantiu.TSonucBilgisi"}, {"stokno", Kind::Int32, false}, {"sepetsirano", Kind::Int32, false}, {"siparissirano", Kind::Int32, false}, {"Adet", Kind::Double, false}, {"Bakiye", Kind::Double, false}, {"barkod", Kind::String, false}}, Kind::Int32, "", true},
        {"BakiyeDegistir", {{"k", Kind::Record, false, "baglantiu.TSonucBilgisi"}, {"stokno", Kind::Int32, false}, {"sepetsirano", Kind::Int32, false}, {"siparissirano", Kind::Int32, false}, {"Adet", Kind::Double, false}, {"Bakiye", Kind::Double, false}, {"barkod", Kind::String, false}}, Kind::Int32, "", true},
        {"BakiyeFiyatDegistir", {{"k", Kind::Record, false, "baglantiu.TSonucBilgisi"}, {"stokno", Kind::Int32, false}, {"sepetsirano", Kind::Int32, false}, {"siparissirano", Kind::Int32, false}, {"Adet", Kind::Double, false}, {"Bakiye", Kind::Double, false}, {"barkod", Kind::String, false}, {"fiyat", Kind::Double, false}, {"ind", Kind::Double, false}}, Kind::Int32, "", true},
        {"SiparisAytintisiDip", {{"carino", Kind::Int32, false}, {"siranosu", Kind::Int32, false}}, Kind::Record, "baglantiu.TSiparisDipAyrinti", true},
        {"CariAra", {{"bil", Kind::Record, false, "baglantiu.TSonucBilgisi"}, {"aranan", Kind::String, false}}, Kind::Table, "", true},
        {"SepetSayisi", {{"bil", Kind::Record, false, "baglantiu.TSonucBilgisi"}}, Kind::Int32, "", true},
        {"TusSonuclariVer", {{"bil", Kind::Record, false, "baglantiu.TSonucBilgisi"}}, Kind::Record, "baglantiu.TTusSonuclari", true},
        {"CariSepetVer", {{"bil", Kind::Record, false, "baglantiu.TSonucBilgisi"}, {"n", Kind::Int32, false}}, Kind::Table, "", true},
        {"DosyaIndir", {{"size", Kind::Int64, true}}, Kind::Stream, "", false},
        {"BelgeIndir", {{"sirano", Kind::Int32, false}, {"size", Kind::Int64, true}, {"adi", Kind::String, true}}, Kind::Stream, "", false},
        {"BelgeIndir2", {{"sirano", Kind::Int32, false}, {"size", Kind::Int64, true}, {"adi", Kind::String, true}, {"bilgi", Kind::Record, false, "baglantiu.TSonucBilgisi"}}, Kind::Stream, "", false},
        {"KayanYaziGetir", {}, Kind::String, "", true},
        {"BannerResimVer", {{"size", Kind::Int64, true}}, Kind::Stream, "", true},
        {"BannerResimVer2", {{"size", Kind::Int64, true}}, Kind::Stream, "", true},
        {"BannerResimVer3", {{"size", Kind::Int64, true}}, Kind::Stream, "", true},
        {"RaporGetir", {{"raporno", Kind::Int32, false}, {"bolum", Kind::Int32, false}, {"idno", Kind::Int32, false}, {"carino", Kind::Int32, false}, {"saticiadi", Kind::String, false}, {"tarih1", Kind::Double, false}, {"tarih2", Kind::Double, false}, {"size", Kind::Int64, true}}, Kind::Stream, "", true},
        {"KurlariAl", {{"usd", Kind::Double, true}, {"eur", Kind::Double, true}}, Kind::Int32, "", false},
        {"BalonGetir", {{"bil", Kind::Record, false, "baglantiu.TSonucBilgisi"}}, Kind::Table, "", true},
        {"TumSiparislerVer", {{"carino", Kind::Int32, false}, {"stokno", Kind::Int32, false}}, Kind::Table, "", true},
        {"SepetSecimGuncelle", {{"sirano", Kind::Int32, false}, {"secim", Kind::Int32, false}}, Kind::None, "", true},
        {"MobilStokara", {{"kod", Kind::String, false}, {"bilgi", Kind::Record, false, "baglantiu.TSonucBilgisi"}, {"neresi", Kind::Int32, false}, {"nekadar", Kind::Int32, false}}, Kind::Record, "mobilstokunit.TMobilStoklar", false},
        {"MobilStokNoAra", {{"stokno", Kind::Int32, false}, {"bilgi", Kind::Record, false, "baglantiu.TSonucBilgisi"}}, Kind::Record, "mobilstokunit.TMobilStok", false},
        {"SepetMobilVer", {{"carino", Kind::Int32, false}}, Kind::Record, "mobilstokunit.TMobilSepetler", false},
        {"MailGonserCari", {{"idsi", Kind::String, false}, {"baslik", Kind::String, false}, {"firmaadi", Kind::String, false}, {"adres1", Kind::String, false}, {"adres2", Kind::String, false}, {"ilce", Kind::String, false}, {"sehir", Kind::String, false}, {"telefon", Kind::String, false}, {"fax", Kind::String, false}, {"vd", Kind::String, false}, {"vn", Kind::String, false}, {"yetkili", Kind::String, false}, {"kullaniciadi", Kind::String, false}, {"sifre", Kind::String, false}, {"mail", Kind::String, false}, {"kargoambar", Kind::String, false}}, Kind::Int32, "", true},
        {"MailGonserCariNormal", {{"idsi", Kind::String, false}, {"baslik", Kind::String, false}, {"firmaadi", Kind::String, false}, {"adres1", Kind::String, false}, {"adres2", Kind::String, false}, {"ilce", Kind::String, false}, {"sehir", Kind::String, false}, {"telefon", Kind::String, false}, {"fax", Kind::String, false}, {"vd", Kind::String, false}, {"vn", Kind::String, false}, {"yetkili", Kind::String, false}, {"kullaniciadi", Kind::String, false}, {"sifre", Kind::String, false}, {"mail", Kind::String, false}, {"kargoambar", Kind::String, false}, {"konu", Kind::String, false}}, Kind::Int32, "", true},
        {"MobilCariBilgisiGetir", {{"sirano", Kind::Int32, false}, {"_idsi", Kind::String, false}}, Kind::Record, "mobilstokunit.TMobilCariBilgisi", true},
        {"AcilisReklamAdet", {}, Kind::Int32, "", true},
        {"AcilisREklamVer", {{"sira", Kind::Int32, false}}, Kind::Record, "mobilstokunit.TAcilisEkran", true},
        {"AcilisEkranlarVer", {}, Kind::Record, "mobilstokunit.TAcilisEkranlar", false},
        {"AcilisEkranlarVer2", {}, Kind::Record, "mobilstokunit.TAcilisEkranlariki", true},
        {"MobilStokaraGeri", {{"kod", Kind::String, false}, {"bilgi", Kind::Record, false, "baglantiu.TSonucBilgisi"}, {"neresi", Kind::Int32, false}, {"nekadar", Kind::Int32, false}, {"geri", Kind::Callback, false}}, Kind::Int32, "", false},
        {"MobilStokaraAdimli", {{"kod", Kind::String, false}, {"bilgi", Kind::Record, false, "baglantiu.TSonucBilgisi"}, {"neresi", Kind::Int32, false}, {"nekadar", Kind::Int32, false}, {"ilk", Kind::Int32, false}, {"Adet", Kind::Int32, false}, {"kalan", Kind::Boolean, true}, {"toplam", Kind::Int32, true}}, Kind::Record, "mobilstokunit.TMobilStoklar", false},
        {"DepartmanlariGetir", {}, Kind::Table, "", false},
        {"NivodeAra", {{"s", Kind::String, false}}, Kind::Table, "", false},
        {"DosyaListesi", {}, Kind::Table, "", false},
        {"DosyaListesi2", {}, Kind::Table, "", false},
        {"AcilisEkranlariVerData", {}, Kind::Table, "", false},
        {"BuyukResimVer", {{"stokno", Kind::Int32, false}, {"boy", Kind::Int32, true}}, Kind::String, "", false},
        {"HttpResimVer", {{"stokno", Kind::Int32, false}}, Kind::None, "", false},
        {"KucukResimVer", {{"stokno", Kind::Int32, false}}, Kind::String, "", false},
        {"SifremiUnuttum", {{"idsi", Kind::String, false}, {"mailvarmi", Kind::Int32, true}}, Kind::Boolean, "", false},
        {"BalonGetir2", {{"carino", Kind::Int32, false}, {"sepet", Kind::Int32, true}, {"yenistok", Kind::Int32, true}, {"kampnayali", Kind::Int32, true}, {"duyuru", Kind::Int32, true}, {"Bakiye", Kind::Int32, true}, {"dosya", Kind::Int32, true}}, Kind::Int32, "", false},
        {"MobilSiparisKaydet", {{"idnosu", Kind::Int32, false}}, Kind::Int32, "", false},
        {"RaporAlinanSiparisler", {{"bilgi", Kind::Record, false, "baglantiu.TSonucBilgisi"}, {"tarih1", Kind::Double, false}, {"tarih2", Kind::Double, false}}, Kind::Table, "", true},
        {"RaporEnCokSatilanStoklar", {{"bilgi", Kind::Record, false, "baglantiu.TSonucBilgisi"}, {"tarih1", Kind::Double, false}, {"tarih2", Kind::Double, false}}, Kind::Table, "", true},
        {"CariDurumVer", {{"carino", Kind::Int32, false}}, Kind::String, "", false},
        {"AramaGonderAl", {{"b", Kind::Record, false, "baglantiu.TSonucBilgisi"}, {"kod", Kind::String, false}, {"Adet", Kind::Int32, false}}, Kind::None, "", false},
        {"CarileriVer", {}, Kind::JsonArray, "", false},
        {"ParvelaVer", {}, Kind::Stream, "", false},
        {"SiparisAlinirmi", {{"carino", Kind::Int32, false}}, Kind::String, "", false},
        {"CariVadeGunGecmismiBul", {{"carino", Kind::Int32, false}}, Kind::String, "", true},
    };
    return methods;
}

const MethodSpec* findMethod(std::string_view name)
{
    static const auto index = [] {
        std::unordered_map<std::string_view, const MethodSpec*> map;
        for (const auto& m : methodCatalogue()) map.emplace(m.name, &m);
        return map;
    }();
    const auto it = index.find(name);
    return it == index.end() ? nullptr : it->second;
}

std::string commandText(std::string_view method)
{
    std::string text(kServerClass);
    text += '.';
    text += method;
    return text;
}

std::string_view methodOfCommand(std::string_view command)
{
    if (command.size() <= kServerClass.size() + 1 || command.substr(0, kServerClass.size()) != kServerClass ||
        command[kServerClass.size()] != '.')
        return {};
    return command.substr(kServerClass.size() + 1);
}

const MethodSpec* findCommand(std::string_view command)
{
    const std::string_view method = methodOfCommand(command);
    return method.empty() ? nullptr : findMethod(method);
}

namespace {

// Whether a value may stand where the catalogue declares `kind` (and `recordType`).
bool fits(const Value& v, Kind kind, std::string_view recordType)
{
    switch (kind) {
    case Kind::None: return v.isNull();
    case Kind::Record: return v.isNull() || (v.kind() == Kind::Record && v.asRecord().type == recordType);
    case Kind::Object: return v.isNull() || v.kind() == Kind::Record;
    case Kind::Callback: return false;  // callbacks travel on the push channel, never as call values
    default: return v.kind() == kind;
    }
}

std::string describe(Kind kind, std::string_view recordType)
{
    return recordType.empty() ? std::string(kindName(kind)) : std::string(recordType);
}

std::string describe(const Value& v)
{
    return v.kind() == Kind::Record ? v.asRecord().type : std::string(kindName(v.kind()));
}

} // namespace

void checkCallParams(const MethodSpec& method, const std::vector<Value>& params)
{
    if (params.size() != method.params.size())
        throw ProtocolError(std::string(method.name) + ": " + std::to_string(method.params.size()) +
                            " parametre bekleniyordu, " + std::to_string(params.size()) + " geldi");
    for (std::size_t i = 0; i < params.size(); ++i) {
        const ParamSpec& p = method.params[i];
        if (p.out) {
            if (!params[i].isNull())
                throw ProtocolError(std::string(method.name) + ": çıkış parametresi " + std::string(p.name) +
                                    " boş gönderilmeli");
        } else if (!fits(params[i], p.kind, p.recordType)) {
            throw ProtocolError(std::string(method.name) + ": " + std::string(p.name) + " parametresi " +
                                describe(p.kind, p.recordType) + " olmalı, " + describe(params[i]) + " geldi");
        }
    }
}

void checkResultValues(const MethodSpec& method, const std::vector<Value>& values)
{
    if (values.size() != method.params.size() + 1)
        throw ProtocolError(std::string(method.name) + ": sonuçta " + std::to_string(method.params.size() + 1) +
                            " değer bekleniyordu, " + std::to_string(values.size()) + " geldi");
    for (std::size_t i = 0; i < method.params.size(); ++i) {
        const ParamSpec& p = method.params[i];
        const Value& v = values[i];
        if (p.out ? !fits(v, p.kind, p.recordType) : !v.isNull())
            throw ProtocolError(std::string(method.name) + ": sonuçtaki " + std::string(p.name) + " değeri " +
                                (p.out ? describe(p.kind, p.recordType) : std::string("null")) + " olmalı, " +
                                describe(v) + " geldi");
    }
    if (!fits(values.back(), method.result, method.resultRecord))
        throw ProtocolError(std::string(method.name) + ": sonuç " + describe(method.result, method.resultRecord) +
                            " olmalı, " + describe(values.back()) + " geldi");
}

} // namespace durnak::protocol
