#pragma once

// Signs a connection, or the main window, in against a loopback test server the way the
// sign-in window leaves them, without the window: computer ID and credentials in the hello,
// the session record from BuyukGetir, the server address chosen. For client tests that
// need a signed-in session.
//
//   durnak::testler::TestGirisi(form, sunucu.port(), durnak::testler::DemoKullanici::Demo);
//
// SunuculuTest is the base of a test class that runs against one demo server.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include <QObject>
#include <QString>

#include "durnak/protocol/records.hpp"
#include "server/baglanti.hpp"
#include "server_process.hpp"

namespace durnak::client {
class TForm1;
}

namespace durnak::testler {

// The users of the seeded demo database with their bound workstations.
enum class DemoKullanici {
    Demo,      // "DEMO", type 3, customer 1001, TEST-DISK-0001
    Temsilci,  // "TEMSILCI", type 1, TEST-DISK-0002
    Bolge,     // "BOLGE", type 2, TEST-DISK-0003
    Kisitli,   // "KISITLI", type 4, customer 1002, TEST-DISK-0004
};
QString BilgisayarIdsi(DemoKullanici kullanici);
QString KullaniciAdi(DemoKullanici kullanici);

// Points `bagc` at 127.0.0.1:port, sets the computer ID and the credentials, calls
// BuyukGetir and copies the account into `sbilgi` with the workstation fields and FDisip
// "127.0.0.1"; keeps the session token when the server answers one. Throws
// std::runtime_error when the server does not know the workstation or refuses the
// credentials or the account is inactive.
void TestGirisi(client::TBaglanti& bagc, protocol::TSonucBilgisi& sbilgi, std::uint16_t port,
                const QString& bilgisayarId, const QString& kullanici, const QString& sifre = QStringLiteral("DEMO"));
// The same on the main window's bagc and sbilgi; also sets the address in use (tiptut).
void TestGirisi(client::TForm1& form, std::uint16_t port, const QString& bilgisayarId, const QString& kullanici,
                const QString& sifre = QStringLiteral("DEMO"));
void TestGirisi(client::TBaglanti& bagc, protocol::TSonucBilgisi& sbilgi, std::uint16_t port,
                DemoKullanici kullanici);
void TestGirisi(client::TForm1& form, std::uint16_t port, DemoKullanici kullanici);

// durnak-server on loopback on `veritabani` (empty: a fresh copy of the seeded demo
// database). Create it on the test's own thread.
std::unique_ptr<testing::ServerProcess> DemoSunucusu(std::string veritabani = {});

// The base of a test class run against one demo server: initTestCase starts the server on a
// throw-away database and, when asked, signs bagc_ and sbilgi_ in; cleanupTestCase stops
// it. What fails to start fails the class with its text.
struct SunuculuTestAyari {
    // Prepares the database the server runs on; none: a seeded copy.
    std::function<std::string()> veritabani = {};
    // The demo user bagc_ and sbilgi_ are signed in as; none: left unconnected.
    std::optional<DemoKullanici> giris = {};
};

class SunuculuTest : public QObject {
    Q_OBJECT

protected:
    explicit SunuculuTest(SunuculuTestAyari ayar = {});
    ~SunuculuTest() override;

    std::unique_ptr<testing::ServerProcess> sunucu_;
    client::TBaglanti bagc_;
    protocol::TSonucBilgisi sbilgi_;

private slots:
    void initTestCase();
    void cleanupTestCase();

private:
    SunuculuTestAyari ayar_;
};

} // namespace durnak::testler
