#pragma once

// Shared pieces of the console tests beyond the client test kit: the demo database with the
// console's fixture, a representative's session and direct database reads.

#include <cstdint>
#include <stdexcept>
#include <string>

#include <QProcess>
#include <QSet>

#include "demo_database.hpp"
#include "durnak/protocol/records.hpp"
#include "server/baglanti.hpp"
#include "server/cagri.hpp"
#include "testkit/giris.hpp"
#include "testkit/modal.hpp"

namespace durnak::testler {

using client::TBaglanti;
using protocol::TSonucBilgisi;

// A customer of representative 1 with a small number, for the report file names.
inline constexpr int kKucukCari = 100;
// The workstation of that representative.
inline constexpr const char* kKonsolBilgisayari = "TEST-KONSOL-0001";

// Runs SQL on the database with the sqlite3 tool; the output's lines, trimmed.
inline QString sorgu(const std::string& db, const QString& sql)
{
    QProcess p;
    p.start(QStringLiteral("sqlite3"), {QStringLiteral("-batch"), QString::fromStdString(db), sql});
    p.waitForFinished(30000);
    if (p.exitCode() != 0) throw std::runtime_error("sqlite3: " + p.readAllStandardError().toStdString());
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

inline QSet<int> sayiKumesi(const QString& satirlar)
{
    QSet<int> kume;
    for (const QString& s : satirlar.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) kume.insert(s.trimmed().toInt());
    return kume;
}

// The seeded demo database plus the console's fixture: order states with distinct counts
// and customer sets, and customer 100.
inline std::string konsolVeritabani()
{
    const std::string db = testing::seededDatabaseCopy();
    testing::runAdmin(db, "add-customer --carino 100 --code 120.01.0100 --name 'Deneme Cari' --rep 1 --city Ankara");
    sorgu(db, QStringLiteral("UPDATE orders SET status = CASE"
                             " WHEN id IN (1, 2) THEN 0 WHEN id BETWEEN 9 AND 11 THEN 1"
                             " WHEN id BETWEEN 17 AND 20 THEN 2 WHEN id BETWEEN 25 AND 29 THEN 3"
                             " WHEN id BETWEEN 33 AND 38 THEN 4 ELSE 5 END"));
    // A representative who can sign in by typing: the sign-in forces capitals.
    testing::runAdmin(db, "add-user --username KONSOL --password DEMO --type 1 --carino 1001");
    testing::runAdmin(db, std::string("bind-workstation --user KONSOL --computer-id ") + kKonsolBilgisayari);
    return db;
}

// A test class on the demo server with the console's fixture (sunucu_ of SunuculuTest).
class KonsolSunucusuTesti : public SunuculuTest {
protected:
    KonsolSunucusuTesti() : SunuculuTest({.veritabani = konsolVeritabani}) {}
};

// A session as the sign-in leaves it, for the user bound to the workstation.
inline TSonucBilgisi oturumAc(TBaglanti& bag, std::uint16_t port, const char* bilgisayarId, const char* kullanici)
{
    TSonucBilgisi bilgi;
    TestGirisi(bag, bilgi, port, QString::fromLatin1(bilgisayarId), QString::fromLatin1(kullanici));
    return bilgi;
}

inline TSonucBilgisi temsilciOturumu(TBaglanti& bag, std::uint16_t port)
{
    return oturumAc(bag, port, testing::kRepComputerId, "TEMSILCI");
}

} // namespace durnak::testler
