#pragma once

// Signs a connection, or the main window, in against a loopback test server the way the
// sign-in window leaves them, without the window: computer ID and credentials in the hello,
// the session record from BuyukGetir, the server address chosen. For client tests that
// need a signed-in session (link durnak_client_test_giris).
//
//   durnak::testler::TestGirisi(form, sunucu.port(), durnak::testler::DemoKullanici::Demo);

#include <cstdint>

#include <QString>

#include "durnak/protocol/records.hpp"
#include "server/baglanti.hpp"

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
void TestGirisi(client::TForm1& form, std::uint16_t port, DemoKullanici kullanici);

} // namespace durnak::testler
