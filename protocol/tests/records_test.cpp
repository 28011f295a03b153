#include <gtest/gtest.h>

#include <boost/json.hpp>

#include "durnak/protocol/error.hpp"
#include "durnak/protocol/marshal.hpp"
#include "durnak/protocol/records.hpp"

using namespace durnak::protocol;
namespace json = boost::json;

namespace {

std::vector<std::string> fieldNames(const json::object& marshalled)
{
    std::vector<std::string> names;
    for (const auto& f : marshalled.at("fields").as_object()) names.emplace_back(f.key());
    return names;
}

TSonucBilgisi filledSession()
{
    TSonucBilgisi s;
    s.FBILGISAYARID = "WD-WX11A";
    s.FSaticiMail = "satis@durnak.example";
    s.FSirano = 17;
    s.FCariAdi = "Öztürk Oto Yedek Parça";
    s.FSIFRE = "gizli";
    s.FSaticiNo = 4;
    s.FCARINO = 1203;
    s.FAKTIF = 1;
    s.FKullanicimail = "usta@ozturk.example";
    s.FADI = "ustA";
    s.FSaticiTelefon = "0212 555 00 00";
    s.Fcarikod = "120.01.203";
    s.FVarmi = true;
    s.FSaticiAdi = "Çağrı";
    s.FBilgiSayarAdi = "DEPO-PC";
    s.FDisip = "85.1.2.3";
    s.FIcip = "192.168.1.20";
    s.FBilgisayarKullanici = "depo";
    s.FMusteriTipi = 3;
    s.FVersion = 2;
    return s;
}

} // namespace

TEST(Records, DefaultsAreThoseTheServerExpects)
{
    const TSonucBilgisi s;
    EXPECT_EQ(s.FMusteriTipi, 1);
    EXPECT_EQ(s.FVersion, 1);
    EXPECT_FALSE(s.FVarmi);
    EXPECT_EQ(s.FCARINO, 0);
    EXPECT_TRUE(s.FADI.empty());

    const TMobilStok stok;
    EXPECT_EQ(stok.FBirim, "ADET");
    EXPECT_EQ(stok.FKDV, 20);
    EXPECT_EQ(TTusSonuclari{}, (TTusSonuclari{0, 0, 0, 0, 0, 0}));
}

TEST(Records, KopyalaCarriesEveryField)
{
    const TSonucBilgisi source = filledSession();
    TSonucBilgisi copy;
    copy.Kopyala(source);
    EXPECT_EQ(copy, source);
    // Every one of the twenty fields differs from its default, so equality means all were copied.
    EXPECT_EQ(std::tuple_size_v<decltype(TSonucBilgisi::fields())>, 20u);
    EXPECT_EQ(marshal(copy), marshal(source));
}

TEST(Records, MarshalledFormNamesClassAndFieldsInDeclaredOrder)
{
    struct Case {
        json::object marshalled;
        std::string type;
        std::size_t fieldCount;
        std::string first;
        std::string last;
    };
    const Case cases[] = {
        {marshal(TSonucBilgisi{}), "baglantiu.TSonucBilgisi", 20, "FBILGISAYARID", "FVersion"},
        {marshal(TSiparisDipAyrinti{}), "baglantiu.TSiparisDipAyrinti", 8, "FSizinMesaj", "FSaticiNotu"},
        {marshal(TTusSonuclari{}), "baglantiu.TTusSonuclari", 6, "FAlindi", "FGoruldu"},
        {marshal(TAcilisEkran{}), "mobilstokunit.TAcilisEkran", 4, "FSiraNo", "FArama"},
        {marshal(TAcilisEkranlariki{}), "mobilstokunit.TAcilisEkranlariki", 1, "FEkranlar", "FEkranlar"},
        {marshal(TAcilisEkranlar{}), "mobilstokunit.TAcilisEkranlar", 1, "FItems", "FItems"},
        {marshal(TMobilCariBilgisi{}), "mobilstokunit.TMobilCariBilgisi", 30, "FBILGISAYARID", "FILCE"},
        {marshal(TMobilStok{}), "mobilstokunit.TMobilStok", 35, "FStokNo", "FFiyat"},
        {marshal(TMobilStoklar{}), "mobilstokunit.TMobilStoklar", 1, "FItems", "FItems"},
        {marshal(TMobilSepet{}), "mobilstokunit.TMobilSepet", 53, "FKARGOID", "FResim"},
        {marshal(TMobilSepetler{}), "mobilstokunit.TMobilSepetler", 1, "FItems", "FItems"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        EXPECT_EQ(c.marshalled.at("type").as_string(), c.type);
        EXPECT_EQ(c.marshalled.at("id").as_int64(), 1);
        const auto names = fieldNames(c.marshalled);
        ASSERT_EQ(names.size(), c.fieldCount);
        EXPECT_EQ(names.front(), c.first);
        EXPECT_EQ(names.back(), c.last);
    }
    // Case is part of the protocol.
    const auto session = fieldNames(marshal(TSonucBilgisi{}));
    EXPECT_NE(std::find(session.begin(), session.end(), "Fcarikod"), session.end());
    EXPECT_NE(std::find(session.begin(), session.end(), "FBilgiSayarAdi"), session.end());
    const auto stok = fieldNames(marshal(TMobilStok{}));
    EXPECT_NE(std::find(stok.begin(), stok.end(), "FKampnayali"), stok.end());
}

TEST(Records, SessionRecordTextIsStable)
{
    TSonucBilgisi s;
    s.FCARINO = 5;
    EXPECT_EQ(json::serialize(marshal(s)),
              R"({"type":"baglantiu.TSonucBilgisi","id":1,"fields":{"FBILGISAYARID":"","FSaticiMail":"",)"
              R"("FSirano":0,"FCariAdi":"","FSIFRE":"","FSaticiNo":0,"FCARINO":5,"FAKTIF":0,)"
              R"("FKullanicimail":"","FADI":"","FSaticiTelefon":"","Fcarikod":"","FVarmi":false,)"
              R"("FSaticiAdi":"","FBilgiSayarAdi":"","FDisip":"","FIcip":"","FBilgisayarKullanici":"",)"
              R"("FMusteriTipi":1,"FVersion":1}})");
}

TEST(Records, RoundTripThroughJsonText)
{
    TAcilisEkranlariki screens;
    screens.FEkranlar = {{1, "0aFF", "Kış kampanyası", "#KAMPANYA#"}, {2, "", "Yeni ürünler", "#YENİ#"}};
    const auto text = json::serialize(marshal(screens));
    const auto back = unmarshal<TAcilisEkranlariki>(json::parse(text).as_object());
    EXPECT_EQ(back, screens);
    // Nested objects get their own ids.
    const auto o = json::parse(text).as_object();
    EXPECT_EQ(o.at("fields").at("FEkranlar").at(1).at("id").as_int64(), 3);

    const TSonucBilgisi session = filledSession();
    EXPECT_EQ(fromValue<TSonucBilgisi>(toValue(session)), session);

    TMobilSepet line;
    line.FTARIH = 46000.5;
    line.FMIKTAR = 2.5;
    line.FSTOKADI = "Triger seti";
    EXPECT_EQ(fromValue<TMobilSepet>(toValue(line)), line);
}

TEST(Records, UnmarshalRejectsForeignOrMistypedObjects)
{
    const auto good = marshal(TTusSonuclari{1, 2, 3, 4, 5, 6});
    auto wrongClass = good;
    wrongClass["type"] = "baglantiu.TSonucBilgisi";
    auto wrongKind = good;
    wrongKind["fields"].as_object()["FAlindi"] = "bir";
    auto outOfRange = good;
    outOfRange["fields"].as_object()["FAlindi"] = std::int64_t{1} << 40;
    auto noFields = good;
    noFields.erase("fields");
    for (const auto* o : {&wrongClass, &wrongKind, &outOfRange, &noFields}) {
        EXPECT_THROW(unmarshal<TTusSonuclari>(*o), ProtocolError);
    }
    // A field the sender left out keeps its default; unknown fields are ignored.
    auto partial = good;
    partial["fields"].as_object().erase("FGoruldu");
    partial["fields"].as_object()["FYeniAlan"] = 9;
    const auto read = unmarshal<TTusSonuclari>(partial);
    EXPECT_EQ(read.FAlindi, 1);
    EXPECT_EQ(read.FGoruldu, 0);
}
