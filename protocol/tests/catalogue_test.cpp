#include <gtest/gtest.h>

#include <set>

#include "durnak/protocol/catalogue.hpp"
#include "durnak/protocol/error.hpp"
#include "durnak/protocol/marshal.hpp"
#include "durnak/protocol/records.hpp"

using namespace durnak::protocol;

TEST(Catalogue, ListsEveryMethodOnce)
{
    const auto& methods = methodCatalogue();
    EXPECT_EQ(methods.size(), 102u);
    std::set<std::string_view> names;
    for (const auto& m : methods) EXPECT_TRUE(names.insert(m.name).second) << m.name;
    EXPECT_EQ(findCommand("TServerMethods1.SepetVer2"), findMethod("SepetVer2"));
    EXPECT_EQ(findCommand("TServerMethods2.SepetVer2"), nullptr);
    EXPECT_EQ(findCommand("TServerMethods1."), nullptr);
    EXPECT_EQ(commandText("EchoString"), "TServerMethods1.EchoString");
}

TEST(Catalogue, SignaturesKeepWireOrderAndOutMarkers)
{
    const auto* belge = findMethod("BelgeIndir2");
    ASSERT_NE(belge, nullptr);
    ASSERT_EQ(belge->params.size(), 4u);
    EXPECT_EQ(belge->params[3].name, "bilgi");
    EXPECT_EQ(belge->params[3].recordType, "baglantiu.TSonucBilgisi");
    EXPECT_TRUE(belge->params[1].out);
    EXPECT_TRUE(belge->params[2].out);
    EXPECT_FALSE(belge->called);

    const auto* ekle = findMethod("SepetEkle2");
    ASSERT_NE(ekle, nullptr);
    EXPECT_EQ(ekle->params.size(), 14u);
    EXPECT_EQ(ekle->params.back().name, "ind4");
    EXPECT_TRUE(ekle->called);
    EXPECT_EQ(findMethod("AcilisEkranlarVer2")->resultRecord, "mobilstokunit.TAcilisEkranlariki");
    EXPECT_EQ(findMethod("SepetVer2")->result, Kind::DataPacket);
    EXPECT_EQ(findMethod("SepetSecimGuncelle")->result, Kind::None);
}

TEST(Catalogue, CallParametersAreChecked)
{
    const auto& sil = *findMethod("SepetSatirSil");  // bilgi: record; satirno: Int32; aciklamam: string
    const Value session = toValue(TSonucBilgisi{});
    checkCallParams(sil, {session, std::int32_t{3}, std::string("x")});
    checkCallParams(sil, {Null{}, std::int32_t{3}, std::string("x")});  // a missing record travels as null

    const std::vector<std::vector<Value>> bad{
        {session, std::int32_t{3}},                                        // too few
        {session, std::int32_t{3}, std::string("x"), true},                // too many
        {session, std::int64_t{3}, std::string("x")},                      // Int64 for Int32
        {session, std::int32_t{3}, Null{}},                                // null string
        {toValue(TTusSonuclari{}), std::int32_t{3}, std::string("x")},     // other record class
    };
    for (const auto& params : bad) EXPECT_THROW(checkCallParams(sil, params), ProtocolError);

    const auto& resim = *findMethod("ResimVer5");  // stokno; out boy: Int64; result stream
    checkCallParams(resim, {std::int32_t{1}, Null{}});
    EXPECT_THROW(checkCallParams(resim, {std::int32_t{1}, std::int64_t{5}}), ProtocolError);
    checkResultValues(resim, {Null{}, std::int64_t{3}, Stream{"abc"}});
    EXPECT_THROW(checkResultValues(resim, {Null{}, Null{}, Stream{"abc"}}), ProtocolError);
    EXPECT_THROW(checkResultValues(resim, {std::int32_t{1}, std::int64_t{3}, Stream{"abc"}}), ProtocolError);
    EXPECT_THROW(checkResultValues(resim, {Null{}, std::int64_t{3}}), ProtocolError);
}
