#include "ortam.hpp"

#include <stdexcept>

#include <sqlite3.h>

#include <QTest>

#include "app/unit1.hpp"
#include "demo_database.hpp"
#include "history/gecmis.hpp"
#include "testkit/giris.hpp"

namespace durnak::gecmistest {

using namespace durnak::client;

void SqlCalistir(const std::string& db, const std::string& sql)
{
    sqlite3* baglanti = nullptr;
    if (sqlite3_open(db.c_str(), &baglanti) != SQLITE_OK) {
        sqlite3_close(baglanti);
        throw std::runtime_error("sqlite open: " + db);
    }
    char* hata = nullptr;
    const int sonuc = sqlite3_exec(baglanti, sql.c_str(), nullptr, nullptr, &hata);
    std::string metin = hata ? hata : "";
    sqlite3_free(hata);
    sqlite3_close(baglanti);
    if (sonuc != SQLITE_OK) throw std::runtime_error("sqlite: " + metin + " in " + sql);
}

double SqlSayi(const std::string& db, const std::string& sql)
{
    sqlite3* baglanti = nullptr;
    double deger = 0;
    if (sqlite3_open(db.c_str(), &baglanti) == SQLITE_OK) {
        sqlite3_stmt* komut = nullptr;
        if (sqlite3_prepare_v2(baglanti, sql.c_str(), -1, &komut, nullptr) == SQLITE_OK &&
            sqlite3_step(komut) == SQLITE_ROW)
            deger = sqlite3_column_double(komut, 0);
        sqlite3_finalize(komut);
    }
    sqlite3_close(baglanti);
    return deger;
}

std::unique_ptr<Ortam> OrtamKur(const char* bilgisayarId, const char* kullanici, const std::string& sql)
{
    auto ortam = std::make_unique<Ortam>();
    ortam->db = testing::seededDatabaseCopy();
    if (!sql.empty()) SqlCalistir(ortam->db, sql);
    ortam->sunucu = testler::DemoSunucusu(ortam->db);

    TForm1Kancalari kancalar;
    kancalar.bildirimKanali = false;
    ortam->form = std::make_unique<TForm1>(kancalar);
    TForm1& form = *ortam->form;
    testler::TestGirisi(form.bagc, form.sbilgi, ortam->sunucu->port(), QString::fromLatin1(bilgisayarId),
                        QString::fromLatin1(kullanici));
    if (form.sbilgi.FMusteriTipi == 1 || form.sbilgi.FMusteriTipi == 2) form.sbilgi.FCARINO = testing::kDemoCustomer;
    GecmisBagla(form);
    return ortam;
}

bool YuklemeBitsin(TForm1& form, const char* ad)
{
    return QTest::qWaitFor([&] { return !form.YuklemeSuruyor(QString::fromLatin1(ad)); }, 30000);
}

} // namespace durnak::gecmistest
