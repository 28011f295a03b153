#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <limits>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <type_traits>
#include <vector>

#include "durnak/protocol/marshal.hpp"
#include "durnak/protocol/oledate.hpp"
#include "ortak.hpp"
#include "server/proxim.hpp"

namespace durnak::client {
namespace {

using durnak::testing::ServerProcess;
using protocol::Column;
using protocol::FieldType;
using protocol::Kind;
using protocol::Null;
using protocol::Table;
using protocol::Value;

// --- Sample data ------------------------------------------------------------------------

std::string baytDizisi(std::size_t n)
{
    std::string s(n, '\0');
    for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<char>((i * 31 + i / 256) & 0xFF);
    return s;
}

// Every column type, a row at one end of each range, a row of nulls, a row at the other end.
Table tumKolonTurleri()
{
    const std::vector<Column> kolonlar = {
        {"I16", FieldType::Int16, 0},     {"I32", FieldType::Int32, 0},       {"I64", FieldType::Int64, 0},
        {"F64", FieldType::Float64, 0},   {"PARA", FieldType::Currency, 0},   {"BCD", FieldType::Bcd, 0},
        {"ADI", FieldType::String, 20},   {"ACIKLAMA", FieldType::WideString, 60},
        {"TARIH", FieldType::Date, 0},    {"SAAT", FieldType::Time, 0},       {"ZAMAN", FieldType::DateTime, 0},
        {"SEC", FieldType::Boolean, 0},   {"RESIM", FieldType::Blob, 0},
    };
    Table t(kolonlar);
    std::size_t r = t.appendRow();
    t.setInt(r, 0, -32768);
    t.setInt(r, 1, std::numeric_limits<std::int32_t>::min());
    t.setInt(r, 2, std::numeric_limits<std::int64_t>::min());
    t.setReal(r, 3, 0.1);
    t.setInt(r, 4, protocol::parseDecimal("1234567.8901"));
    t.setInt(r, 5, protocol::parseDecimal("-0.0001"));
    t.setText(r, 6, "FREN BALATASI");
    t.setText(r, 7, "Ön fren balatası, ĞÜŞİÖÇ ğüşıöç");
    t.setReal(r, 8, protocol::oleDate(2024, 2, 29));
    t.setReal(r, 9, 0.75);
    t.setReal(r, 10, protocol::oleDate(1899, 12, 30) + 0.5);
    t.setFlag(r, 11, true);
    t.setText(r, 12, baytDizisi(256));
    t.appendRow();  // nulls
    r = t.appendRow();
    t.setInt(r, 0, 32767);
    t.setInt(r, 1, std::numeric_limits<std::int32_t>::max());
    t.setInt(r, 2, std::numeric_limits<std::int64_t>::max());
    t.setReal(r, 3, -1.0 / 3.0);
    t.setInt(r, 4, std::numeric_limits<std::int64_t>::min());
    t.setInt(r, 5, std::numeric_limits<std::int64_t>::max());
    t.setText(r, 6, "");
    t.setText(r, 7, "\"tırnak\" \\ ters bölü\nyeni satır");
    t.setReal(r, 8, protocol::oleDate(9999, 12, 31));
    t.setReal(r, 9, 0.0);
    t.setReal(r, 10, -1.25);
    t.setFlag(r, 11, false);
    t.setText(r, 12, "");
    return t;
}

Table kucukTablo(const std::string& ad)
{
    Table t({{"STOK_STOKNO", FieldType::Int32, 0}, {"STOK_ADI", FieldType::WideString, 50}});
    const std::size_t r = t.appendRow();
    t.setInt(r, 0, 42);
    t.setText(r, 1, ad);
    return t;
}

template <class T>
T ornek(int tohum);

template <class M>
void alanDoldur(M& alan, std::string_view ad, int sira, int tohum)
{
    if constexpr (std::is_same_v<M, std::string>) alan = std::string(ad) + " ğüşİ " + std::to_string(tohum);
    else if constexpr (std::is_same_v<M, bool>) alan = true;
    else if constexpr (std::is_same_v<M, std::int32_t>) alan = tohum * 1000 + sira + 1;
    else if constexpr (std::is_same_v<M, double>) alan = tohum + sira + 0.25;
    else alan = {ornek<typename M::value_type>(tohum * 10 + 1), ornek<typename M::value_type>(tohum * 10 + 2)};
}

// A record with every field set to a value of its own, unlike the defaults; lists get two
// elements.
template <class T>
T ornek(int tohum)
{
    T kayit;
    int sira = 0;
    std::apply([&](const auto&... f) { (alanDoldur(kayit.*(f.member), f.name, sira++, tohum), ...); }, T::fields());
    return kayit;
}

template <class T>
std::vector<std::string> alanAdlari()
{
    std::vector<std::string> adlar;
    std::apply([&](const auto&... f) { (adlar.emplace_back(f.name), ...); }, T::fields());
    return adlar;
}

// --- Fixture --------------------------------------------------------------------------

class Proxy : public ::testing::Test {
protected:
    static void SetUpTestSuite() { sunucu_ = std::make_unique<ServerProcess>(); }
    static void TearDownTestSuite() { sunucu_.reset(); }

    void SetUp() override
    {
        test::sunucuyaYonelt(bagc, sunucu_->port());
        bagc.Open();
        proxy = std::make_unique<TServerMethods1Client>(bagc);
    }

    // Sends one value through TestEcho and returns what came back at its position.
    Value yankila(const Value& deger)
    {
        const auto& yanit = proxy->TestEcho({deger});
        EXPECT_EQ(yanit.size(), 2u);
        EXPECT_EQ(yanit.back(), Value(std::int32_t{1}));
        return yanit.front();
    }

    template <class T>
    void kayitYankisi(const T& kayit)
    {
        SCOPED_TRACE(std::string(T::kTypeName));
        const Value geri = yankila(protocol::toValue(kayit));
        ASSERT_EQ(geri.kind(), Kind::Record);
        EXPECT_EQ(geri.asRecord().type, T::kTypeName);
        EXPECT_EQ(protocol::fromValue<T>(geri), kayit);
        std::vector<std::string> adlar;
        for (const auto& alan : geri.asRecord().fields) adlar.emplace_back(alan.key());
        EXPECT_EQ(adlar, alanAdlari<T>()) << "alanlar bildirim sırasında gitmeli";
    }

    static std::unique_ptr<ServerProcess> sunucu_;
    TBaglanti bagc;
    std::unique_ptr<TServerMethods1Client> proxy;
};
std::unique_ptr<ServerProcess> Proxy::sunucu_;

// --- Value kinds ------------------------------------------------------------------------

TEST_F(Proxy, EveryValueKindComesBackUnchanged)
{
    const struct {
        const char* ad;
        Value deger;
    } durumlar[] = {
        {"boş metin", std::string()},
        {"Türkçe harfler", std::string("İĞÜŞÖÇ ığüşöç — Çarşı İzmir")},
        {"tırnak, ters bölü, satır sonu, NUL", std::string("a\"b\\c\nd\0e", 9)},
        {"Int32 en küçük", std::numeric_limits<std::int32_t>::min()},
        {"Int32 en büyük", std::numeric_limits<std::int32_t>::max()},
        {"Int64 en küçük", std::numeric_limits<std::int64_t>::min()},
        {"Int64 en büyük", std::numeric_limits<std::int64_t>::max()},
        {"Int64 küçük değer türünü korur", std::int64_t{5}},
        {"Double 0.1", 0.1},
        {"Double üçte bir", 1.0 / 3.0},
        {"Double en büyük", DBL_MAX},
        {"Double en küçük normal", -DBL_MIN},
        {"Double tam sayı", 100.0},
        {"OLE tarih", protocol::oleDate(2025, 1, 31) + 0.625},
        {"Boolean doğru", true},
        {"Boolean yanlış", false},
        {"tablo, her kolon türü ve boşlar", tumKolonTurleri()},
        {"satırsız tablo", Table({{"BOS", FieldType::Int32, 0}})},
        {"veri paketi", protocol::DataPacket{tumKolonTurleri()}},
        {"boş akış", protocol::Stream{}},
        {"tam 1024 baytlık akış", protocol::Stream{baytDizisi(1024)}},
        {"1 MiB akış", protocol::Stream{baytDizisi(1 << 20)}},
        {"JSON dizisi", boost::json::array{1, "ş", nullptr, boost::json::object{{"a", true}}, boost::json::array{1.5}}},
        {"boş JSON dizisi", boost::json::array{}},
        {"boş kayıt", Null{}},
    };
    for (const auto& d : durumlar) {
        SCOPED_TRACE(d.ad);
        const Value geri = yankila(d.deger);
        EXPECT_EQ(geri.kind(), d.deger.kind());
        EXPECT_TRUE(geri == d.deger);
    }
}

TEST_F(Proxy, SeveralStreamsInOneCallKeepTheirPositions)
{
    const std::vector<Value> parametreler = {protocol::Stream{baytDizisi(3000)}, std::string("arada"),
                                             protocol::Stream{}, protocol::Stream{baytDizisi(1024)}, Null{}};
    const auto& yanit = proxy->TestEcho(parametreler);
    ASSERT_EQ(yanit.size(), parametreler.size() + 1);
    for (std::size_t i = 0; i < parametreler.size(); ++i) EXPECT_TRUE(yanit[i] == parametreler[i]) << i;
}

TEST_F(Proxy, EveryRecordClassComesBackWithAllFieldsInDeclaredOrder)
{
    kayitYankisi(ornek<TSonucBilgisi>(1));
    kayitYankisi(TSonucBilgisi{});  // defaults: user type 1, version 1
    kayitYankisi(ornek<TSiparisDipAyrinti>(2));
    kayitYankisi(ornek<TTusSonuclari>(3));
    kayitYankisi(ornek<TAcilisEkran>(4));
    kayitYankisi(ornek<TAcilisEkranlar>(5));
    kayitYankisi(ornek<TMobilCariBilgisi>(6));
    kayitYankisi(ornek<TMobilStok>(7));
    kayitYankisi(ornek<TMobilStoklar>(8));
    kayitYankisi(ornek<TMobilSepet>(9));
    kayitYankisi(ornek<TMobilSepetler>(10));

    const auto ekranlar = ornek<TAcilisEkranlariki>(11);
    ASSERT_EQ(ekranlar.FEkranlar.size(), 2u);
    kayitYankisi(ekranlar);
    kayitYankisi(TAcilisEkranlariki{});
}

TEST_F(Proxy, EchoAndReverseTurkishText)
{
    const QString durumlar[] = {
        "", "a", "İstanbul", "ğüşıöç ĞÜŞİÖÇ", "Çift  boşluk\tsekme", "Fren Balatası 1.250,50 ₺",
    };
    for (const QString& metin : durumlar) {
        SCOPED_TRACE(metin.toStdString());
        EXPECT_EQ(proxy->EchoString(metin), metin);
        QString ters = metin;
        std::reverse(ters.begin(), ters.end());  // every letter here is one UTF-16 unit
        EXPECT_EQ(proxy->ReverseString(metin), ters);
    }
}

// --- Ownership --------------------------------------------------------------------------

TEST_F(Proxy, ReusesItsCommandsAndReleasesThePreviousResult)
{
    proxy->EchoString("bir");
    proxy->EchoString("iki");
    EXPECT_EQ(proxy->KomutSayisi(), 1u);
    proxy->ReverseString("üç");
    EXPECT_EQ(proxy->KomutSayisi(), 2u);

    const Table ilk = kucukTablo("ilk");
    const Table ikinci = kucukTablo("ikinci");
    const auto& yanit1 = proxy->TestEcho({ilk});
    const std::vector<Value>* tutucu = &yanit1;
    EXPECT_EQ(yanit1.front().asTable(), ilk);
    const auto& yanit2 = proxy->TestEcho({ikinci});
    EXPECT_EQ(&yanit2, tutucu);  // the same command holds the new answer in place of the first
    ASSERT_EQ(yanit2.size(), 2u);
    EXPECT_EQ(yanit2.front().asTable(), ikinci);
    EXPECT_EQ(proxy->KomutSayisi(), 3u);
    EXPECT_EQ(proxy->SahipliSonucSayisi(), 3u);

    // A failing call releases what the command held before it.
    proxy->TestCagir("TestSleep", {std::int32_t{0}});
    EXPECT_EQ(proxy->SahipliSonucSayisi(), 4u);
    EXPECT_THROW(proxy->TestCagir("TestSleep", {std::int32_t{-1}}), protocol::ServerError);
    EXPECT_EQ(proxy->SahipliSonucSayisi(), 3u);
    EXPECT_EQ(proxy->KomutSayisi(), 4u);
}

TEST_F(Proxy, ARecordArgumentIsConsumedAndTheSessionRecordLeftAlone)
{
    const TSonucBilgisi sbilgi = ornek<TSonucBilgisi>(21);
    auto kopya = Kopya(sbilgi);
    EXPECT_EQ(*kopya, sbilgi);  // all twenty fields

    try {
        proxy->SepetSayisi(std::move(kopya));
    } catch (const protocol::ServerError&) {
        // The server may refuse this made-up account; the copy is released all the same.
    }
    EXPECT_EQ(kopya, nullptr);
    EXPECT_EQ(sbilgi, ornek<TSonucBilgisi>(21));
    EXPECT_TRUE(bagc.Connected());
}

// --- The catalogue ----------------------------------------------------------------------

// Calls every method the program uses through its typed operation. The server may refuse
// the made-up arguments, but parameters and answers must fit the catalogue, and together
// the operations must cover exactly the methods the catalogue marks as called.
TEST_F(Proxy, EveryCalledMethodFitsTheCatalogue)
{
    TSonucBilgisi sbilgi;
    sbilgi.FCARINO = 1;
    sbilgi.FBILGISAYARID = "TEST";
    auto b = [&] { return Kopya(sbilgi); };
    const double t1 = protocol::oleDate(2025, 1, 1);
    const double t2 = protocol::oleDate(2025, 12, 31);
    const QString s = "x";
    std::int64_t boy = -1;
    TServerMethods1Client& p = *proxy;
    // When the server answers, a stream comes with its stated length.
    auto akisBoyu = [&](TStream* akis) {
        ASSERT_NE(akis, nullptr);
        EXPECT_EQ(akis->Size(), boy);
    };

    const std::vector<std::pair<const char*, std::function<void()>>> cagrilar = {
        {"SepetVer2", [&] { p.SepetVer2(1); }},
        {"OncekiSiparisler", [&] { p.OncekiSiparisler(1); }},
        {"CariEkstreVer", [&] { p.CariEkstreVer(1); }},
        {"KampanyaliVer2", [&] { p.KampanyaliVer2(1, 1); }},
        {"BakiyelerVer2", [&] { p.BakiyelerVer2(1); }},
        {"BuyukGetir", [&] { p.BuyukGetir("TEST"); }},
        {"ResimVer5", [&] { akisBoyu(p.ResimVer5(1, boy)); }},
        {"SAnalPosPdfVer", [&] { akisBoyu(p.SAnalPosPdfVer(1, boy)); }},
        {"StokAraGetir", [&] { p.StokAraGetir("balata", b()); }},
        {"YenilerVer2", [&] { p.YenilerVer2(1); }},
        {"TeslimVer", [&] { p.TeslimVer(); }},
        {"KargoVer", [&] { p.KargoVer(); }},
        {"KargolarVer", [&] { p.KargolarVer(1); }},
        {"SepetEkle2", [&] { p.SepetEkle2(b(), 1, 1, s, s, 1, 20, 10, 0, 1, 0, 0, 0, 0); }},
        {"SepetGuncelle2", [&] { p.SepetGuncelle2(b(), 1, 1, s, s, 1, 20, 10, 0, 1, 1, 0, 0, 0); }},
        {"SepetHepsiniSil", [&] { p.SepetHepsiniSil(b()); }},
        {"SepetSatirSil", [&] { p.SepetSatirSil(b(), 1, s); }},
        {"SiparisKaydet", [&] { p.SiparisKaydet(b(), 1, 1, 1, s, 1, 0); }},
        {"SiparisAyrintisi2", [&] { p.SiparisAyrintisi2(1, 1); }},
        {"FaturaGetir", [&] { p.FaturaGetir(1, 1); }},
        {"FaturaAltGetir", [&] { p.FaturaAltGetir(1); }},
        {"Tahsilat", [&] { p.Tahsilat(1); }},
        {"SanalposSiranoVer", [&] { p.SanalposSiranoVer(1); }},
        {"BakiyeDuzenle", [&] { p.BakiyeDuzenle(b(), 1, 1, 1, 1, 1, s); }},
        {"BakiyeDegistir", [&] { p.BakiyeDegistir(b(), 1, 1, 1, 1, 1, s); }},
        {"BakiyeFiyatDegistir", [&] { p.BakiyeFiyatDegistir(b(), 1, 1, 1, 1, 1, s, 10, 0); }},
        {"SiparisAytintisiDip", [&] { p.SiparisAytintisiDip(0, 1); }},
        {"CariAra", [&] { p.CariAra(b(), s); }},
        {"SepetSayisi", [&] { p.SepetSayisi(nullptr); }},  // a missing record travels as null
        {"TusSonuclariVer", [&] { p.TusSonuclariVer(b()); }},
        {"CariSepetVer", [&] { p.CariSepetVer(b(), 1); }},
        {"KayanYaziGetir", [&] { p.KayanYaziGetir(); }},
        {"BannerResimVer", [&] { akisBoyu(p.BannerResimVer(boy)); }},
        {"BannerResimVer2", [&] { akisBoyu(p.BannerResimVer2(boy)); }},
        {"BannerResimVer3", [&] { akisBoyu(p.BannerResimVer3(boy)); }},
        {"RaporGetir", [&] { akisBoyu(p.RaporGetir(1, 1, 1, 1, s, t1, t2, boy)); }},
        {"BalonGetir", [&] { p.BalonGetir(b()); }},
        {"TumSiparislerVer", [&] { p.TumSiparislerVer(1, 1); }},
        {"SepetSecimGuncelle", [&] { p.SepetSecimGuncelle(1, 1); }},
        {"MailGonserCari",
         [&] { p.MailGonserCari(s, s, s, s, s, s, s, s, s, s, s, s, s, s, s, s); }},
        {"MailGonserCariNormal",
         [&] { p.MailGonserCariNormal(s, s, s, s, s, s, s, s, s, s, s, s, s, s, s, s, s); }},
        {"MobilCariBilgisiGetir", [&] { p.MobilCariBilgisiGetir(1, "TEST"); }},
        {"AcilisReklamAdet", [&] { p.AcilisReklamAdet(); }},
        {"AcilisREklamVer", [&] { p.AcilisREklamVer(1); }},
        {"AcilisEkranlarVer2", [&] { p.AcilisEkranlarVer2(); }},
        {"RaporAlinanSiparisler", [&] { p.RaporAlinanSiparisler(b(), t1, t2); }},
        {"RaporEnCokSatilanStoklar", [&] { p.RaporEnCokSatilanStoklar(b(), t1, t2); }},
        {"CariVadeGunGecmismiBul", [&] { p.CariVadeGunGecmismiBul(1); }},
    };
    for (const auto& [ad, cagri] : cagrilar) {
        SCOPED_TRACE(ad);
        try {
            cagri();
        } catch (const protocol::ServerError&) {
            // refused by the server: the request itself was well formed
        } catch (const std::exception& e) {
            ADD_FAILURE() << e.what();
        }
        ASSERT_TRUE(bagc.Connected());
    }

    std::set<std::string> beklenen;
    for (const auto& m : protocol::methodCatalogue())
        if (m.called) beklenen.emplace(m.name);
    const auto adlar = p.KomutAdlari();
    EXPECT_EQ(std::set<std::string>(adlar.begin(), adlar.end()), beklenen);
}

} // namespace
} // namespace durnak::client
