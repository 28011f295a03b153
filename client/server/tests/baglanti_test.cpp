#include <gtest/gtest.h>

#include <signal.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include <QThread>

#include "demo_database.hpp"
#include "ortak.hpp"
#include "server/cagri.hpp"

namespace durnak::client {
namespace {

using durnak::testing::ServerProcess;
using test::KancaKaydi;
using test::kapaliPort;
using test::sunucuyaYonelt;
using namespace std::chrono_literals;

TEST(TBaglanti, StartsWithTheDataSnapSettingsAndClosed)
{
    TBaglanti bagc;
    EXPECT_EQ(bagc.ConnectionName(), "DataSnapCONNECTION");
    EXPECT_EQ(bagc.DriverName(), "DataSnap");
    EXPECT_FALSE(bagc.LoginPrompt());
    EXPECT_FALSE(bagc.Connected());
    EXPECT_EQ(bagc.Params().Text(), QStringList({"HostName=localhost", "Port=9090", "CommunicationProtocol=tcp/ip",
                                                 "DatasnapContext=datasnap/", "Filters={}", "DSProxyPort=8090"}));
}

TEST(TParametreler, ReadsAndWritesByNameWithoutRegardToCase)
{
    TBaglanti bagc;
    bagc.Params().SetValues("hostname", "sunucu.example");
    EXPECT_EQ(bagc.Params().Values("HostName"), "sunucu.example");
    EXPECT_EQ(bagc.Params().Values("HOSTNAME"), "sunucu.example");
    EXPECT_EQ(bagc.Params().Count(), 6);  // updated in place, not added

    EXPECT_EQ(bagc.Params().Values("YokBoyle"), "");
    bagc.Params().SetValues("DSProxyPort", "");
    EXPECT_FALSE(bagc.Params().Names().contains("DSProxyPort"));
}

TEST(TBaglanti, OpenFailsWithAConnectionErrorAndStaysClosed)
{
    struct Durum {
        const char* ad;
        QString sunucu;
        QString port;
    };
    const Durum durumlar[] = {
        {"kimse dinlemiyor", "127.0.0.1", QString::number(kapaliPort())},
        {"port sayı değil", "127.0.0.1", "dokuzbin"},
        {"port sıfır", "127.0.0.1", "0"},
        {"port aralık dışı", "127.0.0.1", "70000"},
        {"sunucu adı boş", "", "9090"},
    };
    for (const auto& d : durumlar) {
        SCOPED_TRACE(d.ad);
        TBaglanti bagc;
        bagc.Params().SetValues("HostName", d.sunucu);
        bagc.Params().SetValues("Port", d.port);
        EXPECT_THROW(bagc.Open(), EBaglantiHatasi);
        EXPECT_FALSE(bagc.Connected());
        EXPECT_NO_THROW(bagc.Close());
        EXPECT_THROW(TServerMethods1Client{bagc}, EBaglantiHatasi);
    }
}

class SunucuyaBaglanti : public ::testing::Test {
protected:
    static void SetUpTestSuite() { sunucu_ = std::make_unique<ServerProcess>(); }
    static void TearDownTestSuite() { sunucu_.reset(); }

    void SetUp() override { sunucuyaYonelt(bagc, sunucu_->port()); }

    static std::unique_ptr<ServerProcess> sunucu_;
    TBaglanti bagc;
};
std::unique_ptr<ServerProcess> SunucuyaBaglanti::sunucu_;

TEST_F(SunucuyaBaglanti, OpensClosesAndOpensAgain)
{
    bagc.Open();
    EXPECT_TRUE(bagc.Connected());
    bagc.Open();  // already open: nothing happens
    EXPECT_EQ(TServerMethods1Client(bagc).EchoString("bir"), "bir");
    bagc.Close();
    EXPECT_FALSE(bagc.Connected());
    bagc.Close();
    bagc.Open();
    EXPECT_EQ(TServerMethods1Client(bagc).EchoString("iki"), "iki");
}

TEST_F(SunucuyaBaglanti, CloneCopiesEverySettingAndOpensOnlyWhenTheSourceIsOpen)
{
    bagc.SetConnectionName("Kopyalanan");
    bagc.Params().SetValues("DatasnapContext", "baska/");
    bagc.SetToken("oturum-123");
    bagc.SetCredentials("ayşe", "şifre");
    bagc.SetComputerId("ABC123");
    bagc.SetConnectTimeout(1234ms);
    bagc.SetCommunicationTimeout(4321ms);

    auto kapaliKlon = bagc.Clone();
    EXPECT_FALSE(kapaliKlon->Connected());
    EXPECT_EQ(kapaliKlon->ConnectionName(), "Kopyalanan");
    EXPECT_EQ(kapaliKlon->Params().Text(), bagc.Params().Text());
    EXPECT_EQ(kapaliKlon->Token(), "oturum-123");
    EXPECT_EQ(kapaliKlon->User(), "ayşe");
    EXPECT_EQ(kapaliKlon->Password(), "şifre");
    EXPECT_EQ(kapaliKlon->ComputerId(), "ABC123");
    EXPECT_EQ(kapaliKlon->ConnectTimeout(), 1234ms);
    EXPECT_EQ(kapaliKlon->CommunicationTimeout(), 4321ms);

    // Later changes of the source do not reach an existing clone.
    bagc.Params().SetValues("Port", "1");
    EXPECT_EQ(kapaliKlon->Params().Values("Port"), QString::number(sunucu_->port()));
    sunucuyaYonelt(bagc, sunucu_->port());

    bagc.Open();
    auto acikKlon = bagc.Clone();
    ASSERT_TRUE(acikKlon->Connected());
    EXPECT_EQ(TServerMethods1Client(*acikKlon).EchoString("klon"), "klon");
    acikKlon.reset();  // its own link: the source stays usable
    EXPECT_EQ(TServerMethods1Client(bagc).EchoString("kaynak"), "kaynak");
}

TEST_F(SunucuyaBaglanti, ServerErrorCarriesTheServersTextAndKeepsTheLink)
{
    bagc.Open();
    TServerMethods1Client proxy(bagc);
    try {
        proxy.TestCagir("YokBoyleBirIslem", {});
        FAIL() << "sunucu hatası bekleniyordu";
    } catch (const protocol::ServerError& e) {
        EXPECT_STREQ(e.what(), "Sunucuda böyle bir işlem yok: TServerMethods1.YokBoyleBirIslem");
    }
    EXPECT_TRUE(bagc.Connected());
    EXPECT_EQ(proxy.EchoString("sonra"), "sonra");
}

TEST_F(SunucuyaBaglanti, ParametersThatDoNotFitTheCatalogueNeverLeave)
{
    bagc.Open();
    TServerMethods1Client proxy(bagc);
    EXPECT_THROW(proxy.Call("EchoString", {std::int32_t{5}}), protocol::ProtocolError);
    EXPECT_THROW(proxy.Call("ResimVer5", {std::int32_t{5}, std::int64_t{0}}), protocol::ProtocolError);  // out not null
    EXPECT_THROW(proxy.Call("KatalogdaYok", {}), protocol::ProtocolError);
    EXPECT_TRUE(bagc.Connected());
    EXPECT_EQ(proxy.EchoString("hâlâ açık"), "hâlâ açık");
}

TEST_F(SunucuyaBaglanti, AnAnswerThatDoesNotComeInTimeClosesTheLink)
{
    bagc.SetCommunicationTimeout(100ms);
    bagc.Open();
    TServerMethods1Client proxy(bagc);
    EXPECT_THROW(proxy.TestCagir("TestSleep", {std::int32_t{1500}}), EBaglantiHatasi);
    EXPECT_FALSE(bagc.Connected());
}

TEST(TBaglanti, ALinkCutByTheServerRaisesAConnectionError)
{
    ServerProcess sunucu;
    TBaglanti bagc;
    sunucuyaYonelt(bagc, sunucu.port());
    bagc.Open();
    TServerMethods1Client proxy(bagc);
    sunucu.signal(SIGKILL);
    sunucu.wait();
    EXPECT_THROW(proxy.EchoString("kimse yok"), EBaglantiHatasi);
    EXPECT_FALSE(bagc.Connected());
}

// --- BaglantiAc ------------------------------------------------------------------------

TEST(BaglantiAc, GivesUpAfterElevenAttemptsAndShowsTheMessageOnlyWhenAskedTo)
{
    for (const int flag : {1, 0}) {
        SCOPED_TRACE(flag);
        KancaKaydi kayit;
        TBaglanti bagc;
        sunucuyaYonelt(bagc, kapaliPort());

        EXPECT_FALSE(BaglantiAc(bagc, flag));
        EXPECT_FALSE(bagc.Connected());
        ASSERT_EQ(kayit.beklemeler.size(), 11u);  // one pause after every failed attempt, the last too
        for (auto sure : kayit.beklemeler) EXPECT_EQ(sure, 500ms);
        if (flag == 1) {
            ASSERT_EQ(kayit.mesajlar.size(), 1u);
            EXPECT_EQ(kayit.olaylar.back(), "mesaj");
            const BaglantiMesaji& m = kayit.mesajlar.front();
            EXPECT_EQ(m.metin, "Bağlantı Kurulamıyor Lütfen Tekrar Deneyin ...!");
            EXPECT_EQ(m.tur, 1);                         // error
            EXPECT_EQ(m.dugmeler, std::vector<int>{2});  // OK only
            EXPECT_EQ(m.odak, 2);                        // OK focused
        } else {
            EXPECT_TRUE(kayit.mesajlar.empty());
        }
    }
}

TEST(BaglantiAc, ReopensAnOpenConnectionAndDoesNotWaitWhenTheFirstAttemptWorks)
{
    ServerProcess sunucu;
    KancaKaydi kayit;
    TBaglanti bagc;
    sunucuyaYonelt(bagc, sunucu.port());
    bagc.Open();
    EXPECT_TRUE(BaglantiAc(bagc, 1));
    EXPECT_TRUE(bagc.Connected());
    EXPECT_TRUE(kayit.olaylar.empty());
    EXPECT_EQ(TServerMethods1Client(bagc).EchoString("tamam"), "tamam");
}

TEST(BaglantiAc, ConnectsToAServerThatComesUpDuringTheRetries)
{
    // Real 500 ms pauses. A background step retries; after its first failed attempt the
    // server is started (on this thread, which outlives it) and the connection pointed at
    // it. A later attempt must get through, with no message.
    std::mutex kilit;
    std::condition_variable kosul;
    bool ilkHata = false;
    KancaKaydi kayit([&](std::chrono::milliseconds sure) {
        {
            std::lock_guard lock(kilit);
            ilkHata = true;
        }
        kosul.notify_one();
        std::this_thread::sleep_for(sure);
    });

    TBaglanti bagc;
    sunucuyaYonelt(bagc, kapaliPort());
    bool acildi = false;
    std::optional<QString> yanit;
    std::unique_ptr<QThread> adim(QThread::create([&] {
        acildi = BaglantiAc(bagc, 1);
        if (acildi) yanit = TServerMethods1Client(bagc).EchoString("geldi");
        bagc.Close();
    }));
    adim->start();
    {
        std::unique_lock lock(kilit);
        kosul.wait(lock, [&] { return ilkHata; });
    }
    ServerProcess sunucu;
    bagc.Params().SetValues("Port", QString::number(sunucu.port()));
    ASSERT_TRUE(adim->wait());

    EXPECT_TRUE(acildi);
    EXPECT_EQ(yanit, QString("geldi"));
    EXPECT_TRUE(kayit.mesajlar.empty());
    EXPECT_GE(kayit.beklemeler.size(), 1u);
    EXPECT_LT(kayit.beklemeler.size(), 11u);
}

// --- Call frames ------------------------------------------------------------------------

TEST(CagriCerceveleri, StopWithoutCallingWhenTheServerIsDown)
{
    enum class Cerceve { A, B, C };
    struct Durum {
        const char* ad;
        Cerceve cerceve;
        int flag;
        std::size_t mesaj;
        std::size_t bekleme;
    };
    const Durum durumlar[] = {
        {"A, mesajlı", Cerceve::A, 1, 1, 11},
        {"A, mesajsız", Cerceve::A, 0, 0, 11},
        {"B, mesajsız", Cerceve::B, 0, 0, 11},
        {"B, mesajlı", Cerceve::B, 1, 1, 11},
        {"C: deneme yok, hata yukarı", Cerceve::C, 0, 0, 0},
    };
    for (const auto& d : durumlar) {
        SCOPED_TRACE(d.ad);
        KancaKaydi kayit;
        TBaglanti bagc;
        sunucuyaYonelt(bagc, kapaliPort());
        bool calisti = false;
        auto islem = [&](TServerMethods1Client&) { calisti = true; };
        switch (d.cerceve) {
        case Cerceve::A: EXPECT_FALSE(CagriA(bagc, islem, d.flag)); break;
        case Cerceve::B: EXPECT_FALSE(CagriB(bagc, d.flag, islem)); break;
        case Cerceve::C: EXPECT_THROW(CagriC(bagc, islem), EBaglantiHatasi); break;
        }
        EXPECT_FALSE(calisti);
        EXPECT_FALSE(bagc.Connected());
        EXPECT_EQ(kayit.mesajlar.size(), d.mesaj);
        EXPECT_EQ(kayit.beklemeler.size(), d.bekleme);
    }
}

TEST_F(SunucuyaBaglanti, FramesCloseTheirConnectionOnEveryPath)
{
    // A and C use the connection they are given and leave it closed.
    EXPECT_TRUE(CagriA(bagc, [](TServerMethods1Client& p) { EXPECT_EQ(p.EchoString("a"), "a"); }));
    EXPECT_FALSE(bagc.Connected());
    EXPECT_EQ(CagriC(bagc, [](TServerMethods1Client& p) { return p.ReverseString("abc"); }), "cba");
    EXPECT_FALSE(bagc.Connected());

    // An error inside the frame propagates and still closes.
    EXPECT_THROW(CagriA(bagc, [](TServerMethods1Client& p) { p.TestCagir("YokBoyle", {}); }),
                 protocol::ServerError);
    EXPECT_FALSE(bagc.Connected());
    EXPECT_THROW(CagriC(bagc, [](TServerMethods1Client&) { throw std::logic_error("işlem hatası"); }),
                 std::logic_error);
    EXPECT_FALSE(bagc.Connected());

    // B works on a clone: the shared connection is neither opened nor closed by it.
    EXPECT_TRUE(CagriB(bagc, 1, [](TServerMethods1Client& p) { EXPECT_EQ(p.EchoString("b"), "b"); }));
    EXPECT_FALSE(bagc.Connected());
    bagc.Open();
    EXPECT_TRUE(CagriB(bagc, 1, [](TServerMethods1Client& p) { EXPECT_EQ(p.EchoString("b"), "b"); }));
    EXPECT_TRUE(bagc.Connected());
    EXPECT_EQ(TServerMethods1Client(bagc).EchoString("hâlâ açık"), "hâlâ açık");
}

TEST_F(SunucuyaBaglanti, TwoBackgroundStepsCallAtOnceOnTheirOwnClones)
{
    // The main thread holds the shared connection open meanwhile; neither step may touch it.
    bagc.Open();
    constexpr int kCagriSayisi = 40;
    struct Adim {
        QString onEk;
        bool acildi = false;
        int yanlis = 0;
        std::optional<std::string> hata;
    };
    Adim adimlar[2];
    adimlar[0].onEk = "sol-ğ-";
    adimlar[1].onEk = "sağ-ş-";
    std::unique_ptr<QThread> isler[2];
    for (int i = 0; i < 2; ++i) {
        Adim& adim = adimlar[i];
        isler[i].reset(QThread::create([&] {
            try {
                adim.acildi = CagriB(bagc, 0, [&](TServerMethods1Client& p) {
                    for (int n = 0; n < kCagriSayisi; ++n) {
                        const QString metin = adim.onEk + QString::number(n);
                        if (p.EchoString(metin) != metin) ++adim.yanlis;
                    }
                });
            } catch (const std::exception& e) {
                adim.hata = e.what();
            }
        }));
        isler[i]->start();
    }
    for (auto& is : isler) ASSERT_TRUE(is->wait());

    for (const auto& adim : adimlar) {
        EXPECT_FALSE(adim.hata.has_value()) << adim.hata.value_or("");
        EXPECT_TRUE(adim.acildi);
        EXPECT_EQ(adim.yanlis, 0);
    }
    EXPECT_TRUE(bagc.Connected());
    EXPECT_EQ(TServerMethods1Client(bagc).EchoString("ortak"), "ortak");
}

// Signing in on a clone (as the sign-in check does) gives the token to the main connection
// and every clone; later connections are served on the token alone.
TEST(OturumAnahtari, AWelcomeTokenReachesTheConnectionAndItsClones)
{
    durnak::testing::ServerOptions secenekler;
    secenekler.dbPath = durnak::testing::seededDatabaseCopy();
    ServerProcess sunucu(secenekler);
    TBaglanti bagc;
    sunucuyaYonelt(bagc, sunucu.port());
    bagc.SetComputerId(durnak::testing::kDemoComputerId);
    auto onceki = bagc.Clone();

    // Without a session the customer's data is refused.
    bagc.Open();
    EXPECT_THROW(bagc.Cagir("TServerMethods1.SepetVer2", {protocol::Value(durnak::testing::kDemoCustomer)}),
                 protocol::ServerError);
    bagc.Close();
    EXPECT_TRUE(bagc.Token().isEmpty());

    bagc.SetCredentials("DEMO", durnak::testing::kDemoPassword);
    auto giris = bagc.Clone();
    giris->Open();
    giris.reset();
    const QString anahtar = bagc.Token();
    EXPECT_EQ(anahtar.size(), 64);
    EXPECT_EQ(onceki->Token(), anahtar);

    // The password no longer has to travel: the token alone opens the customer's data.
    bagc.SetCredentials("", "");
    auto klon = bagc.Clone();
    klon->Open();
    EXPECT_NO_THROW(klon->Cagir("TServerMethods1.SepetVer2", {protocol::Value(durnak::testing::kDemoCustomer)}));
    EXPECT_EQ(bagc.Token(), anahtar);  // a token hello opens no new session
}

} // namespace
} // namespace durnak::client
