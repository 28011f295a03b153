#pragma once

// Shared pieces of the console tests: the demo server with the console's fixture, signed-in
// connections as the sign-in leaves them, direct database reads, and acting on a modal
// window from the event loop.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include <QApplication>
#include <QProcess>
#include <QSet>
#include <QTimer>
#include <QWidget>

#include "demo_database.hpp"
#include "durnak/protocol/records.hpp"
#include "server/baglanti.hpp"
#include "server/cagri.hpp"
#include "server_process.hpp"

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

// The demo server on that database; create it on the test's own thread.
struct KonsolSunucusu {
    std::string db = konsolVeritabani();
    testing::ServerProcess surec{[this] {
        testing::ServerOptions o;
        o.dbPath = db;
        return o;
    }()};
    std::uint16_t port() const { return surec.port(); }
};

// A connection set up as the sign-in leaves it: address, computer ID and typed credentials.
inline void baglantiKur(TBaglanti& bag, std::uint16_t port, const char* bilgisayarId, const char* kullanici)
{
    bag.Params().SetValues(QStringLiteral("HostName"), QStringLiteral("127.0.0.1"));
    bag.Params().SetValues(QStringLiteral("Port"), QString::number(port));
    bag.SetComputerId(QString::fromLatin1(bilgisayarId));
    bag.SetCredentials(QString::fromLatin1(kullanici), QString::fromLatin1(testing::kDemoPassword));
}

// The session record the sign-in fills from BuyukGetir.
inline TSonucBilgisi oturumAc(TBaglanti& bag, std::uint16_t port, const char* bilgisayarId, const char* kullanici)
{
    baglantiKur(bag, port, bilgisayarId, kullanici);
    TSonucBilgisi bilgi;
    client::CagriC(bag, [&](client::TServerMethods1Client& p) {
        const TSonucBilgisi* kayit = p.BuyukGetir(QString::fromLatin1(bilgisayarId));
        if (!kayit) throw std::runtime_error("BuyukGetir answered nothing");
        bilgi.Kopyala(*kayit);
    });
    bilgi.FBILGISAYARID = bilgisayarId;
    bilgi.FDisip = "127.0.0.1";
    return bilgi;
}

inline TSonucBilgisi temsilciOturumu(TBaglanti& bag, std::uint16_t port)
{
    return oturumAc(bag, port, testing::kRepComputerId, "TEMSILCI");
}

// Once a modal window of type T is up, runs `islem` on it (from the event loop).
template <class T>
void modaldaCalistir(std::function<void(T&)> islem)
{
    auto* zamanlayici = new QTimer;
    zamanlayici->setInterval(10);
    QObject::connect(zamanlayici, &QTimer::timeout, [zamanlayici, islem] {
        auto* pencere = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!pencere || !pencere->isVisible()) return;
        zamanlayici->stop();
        zamanlayici->deleteLater();
        islem(*pencere);
    });
    zamanlayici->start();
}

} // namespace durnak::testler
