#pragma once

// What the sign-in, update and mail tests share: a demo database whose accounts can be typed
// (the sign-in fields force capitals) and SQL on a database copy.

#include <sqlite3.h>

#include <stdexcept>
#include <string>

#include <QFile>
#include <QString>
#include <QTcpServer>

#include "demo_database.hpp"
#include "testkit/giris.hpp"
#include "testkit/modal.hpp"

namespace durnak::testler {

inline void sqlCalistir(const std::string& db, const std::string& sql)
{
    sqlite3* baglanti = nullptr;
    if (sqlite3_open(db.c_str(), &baglanti) != SQLITE_OK) throw std::runtime_error("cannot open " + db);
    char* hata = nullptr;
    const int sonuc = sqlite3_exec(baglanti, sql.c_str(), nullptr, nullptr, &hata);
    const std::string metin = hata ? hata : "";
    sqlite3_free(hata);
    sqlite3_close(baglanti);
    if (sonuc != SQLITE_OK) throw std::runtime_error(sql + ": " + metin);
}

// First column of every row of a query, joined with newlines.
inline std::string sqlSorgula(const std::string& db, const std::string& sql)
{
    sqlite3* baglanti = nullptr;
    if (sqlite3_open(db.c_str(), &baglanti) != SQLITE_OK) throw std::runtime_error("cannot open " + db);
    sqlite3_busy_timeout(baglanti, 5000);
    sqlite3_stmt* komut = nullptr;
    std::string sonuc;
    if (sqlite3_prepare_v2(baglanti, sql.c_str(), -1, &komut, nullptr) == SQLITE_OK) {
        while (sqlite3_step(komut) == SQLITE_ROW) {
            const auto* metin = sqlite3_column_text(komut, 0);
            if (!sonuc.empty()) sonuc += '\n';
            sonuc += metin ? reinterpret_cast<const char*>(metin) : "";
        }
    }
    sqlite3_finalize(komut);
    sqlite3_close(baglanti);
    return sonuc;
}

// The seeded demo database with the four demo accounts renamed to capitals (DEMO,
// TEMSILCI, BOLGE, KISITLI, password DEMO), plus PASIF (inactive, TEST-PASIF-0001) and
// ESKI (expects program version 3, TEST-ESKI-0001), both staff of customer 1001.
inline std::string girisVeritabani()
{
    const std::string db = durnak::testing::seededDatabaseCopy();
    sqlCalistir(db, "UPDATE users SET username = upper(username)");
    for (const char* ad : {"DEMO", "TEMSILCI", "BOLGE", "KISITLI"})
        durnak::testing::runAdmin(db, std::string("set-password --username ") + ad + " --password DEMO");
    for (const char* ad : {"PASIF", "ESKI"}) {
        durnak::testing::runAdmin(db, std::string("add-user --username ") + ad +
                                          " --password DEMO --type 3 --carino 1001");
        durnak::testing::runAdmin(db, std::string("bind-workstation --user ") + ad + " --computer-id TEST-" + ad +
                                          "-0001");
    }
    sqlCalistir(db, "UPDATE users SET active = 0 WHERE username = 'PASIF';"
                    "UPDATE users SET expected_version = 3 WHERE username = 'ESKI'");
    return db;
}

// Writes a stand-in setup at `betik` that appends the arguments of each start as a line to
// `kayit`, and publishes it on the server of `db` as the program's setup. False when the
// script cannot be written.
inline bool sahteKurulumYayinla(const std::string& db, const QString& betik, const QString& kayit)
{
    {
        QFile f(betik);
        if (!f.open(QIODevice::WriteOnly)) return false;
        f.write(QStringLiteral("#!/bin/sh\necho \"$@\" >> '%1'\n").arg(kayit).toUtf8());
    }
    durnak::testing::runAdmin(db, "publish-setup '" + betik.toStdString() + "'");
    return true;
}

// A loopback port nobody listens on.
inline quint16 bosPort()
{
    QTcpServer dinleyici;
    dinleyici.listen(QHostAddress::LocalHost, 0);
    const quint16 port = dinleyici.serverPort();
    dinleyici.close();
    return port;
}

} // namespace durnak::testler
