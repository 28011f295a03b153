#include <gtest/gtest.h>

#include <string>

#include "server/akis.hpp"

namespace durnak::client {
namespace {

std::string desen(std::size_t n)
{
    std::string s(n, '\0');
    for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    return s;
}

TEST(AkisOku, UsesContentOnlyWhenCollectedLengthEqualsStatedLength)
{
    struct Durum {
        const char* ad;
        std::size_t gercekBoy;
        std::int64_t beyanBoy;
        std::int64_t baslangicKonumu;
        bool icerikVar;
    };
    const Durum durumlar[] = {
        {"eşit", 3000, 3000, 0, true},
        {"akış beyandan kısa", 3000, 4000, 0, false},
        {"akış beyandan uzun", 3000, 2000, 0, false},
        {"beyan sıfır, akış dolu", 10, 0, 0, false},
        {"beyan sıfır, akış boş", 0, 0, 0, false},
        {"akış boş, beyan dolu", 0, 5, 0, false},
        {"tam 1024", 1024, 1024, 0, true},
        {"1024'ün katı", 3072, 3072, 0, true},
        {"bir parçadan kısa", 1023, 1023, 0, true},
        {"bir parçadan uzun", 1025, 1025, 0, true},
        {"konum sonda olsa da baştan okunur", 2000, 2000, 2000, true},
    };
    for (const auto& d : durumlar) {
        SCOPED_TRACE(d.ad);
        const std::string baytlar = desen(d.gercekBoy);
        TStream akis(baytlar);
        akis.SetPosition(d.baslangicKonumu);
        const auto icerik = AkisOku(&akis, d.beyanBoy);
        ASSERT_EQ(icerik.has_value(), d.icerikVar);
        if (d.icerikVar) {
            EXPECT_EQ(icerik->toStdString(), baytlar);
        }
    }
}

TEST(AkisOku, NoStreamIsNoContent)
{
    EXPECT_FALSE(AkisOku(nullptr, 10).has_value());
}

TEST(TStream, ReadsInPiecesAndStopsAtTheEnd)
{
    TStream akis(desen(1500));
    char parca[1024];
    EXPECT_EQ(akis.Read(parca, 1024), 1024);
    EXPECT_EQ(akis.Read(parca, 1024), 476);
    EXPECT_EQ(akis.Read(parca, 1024), 0);
    EXPECT_EQ(akis.Position(), 1500);
    akis.SetPosition(-3);
    EXPECT_EQ(akis.Position(), 0);
}

} // namespace
} // namespace durnak::client
