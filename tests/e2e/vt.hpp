#pragma once

// Read-only look at the database a journey's server runs on: what the server stored.

#include <sqlite3.h>

#include <stdexcept>
#include <string>

namespace durnak::uctest {

class SaltOkunur {
public:
    explicit SaltOkunur(const std::string& yol)
    {
        if (sqlite3_open_v2(yol.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
            throw std::runtime_error("sqlite açılamadı: " + yol);
        sqlite3_busy_timeout(db_, 10000);
    }
    ~SaltOkunur() { sqlite3_close(db_); }
    SaltOkunur(const SaltOkunur&) = delete;
    SaltOkunur& operator=(const SaltOkunur&) = delete;

    // The first column of the first row; -1 / "" when there is no row.
    long long sayi(const std::string& sql) const
    {
        long long sonuc = -1;
        sorgu(sql, [&](sqlite3_stmt* s) { sonuc = sqlite3_column_int64(s, 0); });
        return sonuc;
    }
    double gercek(const std::string& sql) const
    {
        double sonuc = -1;
        sorgu(sql, [&](sqlite3_stmt* s) { sonuc = sqlite3_column_double(s, 0); });
        return sonuc;
    }
    std::string metin(const std::string& sql) const
    {
        std::string sonuc;
        sorgu(sql, [&](sqlite3_stmt* s) {
            const auto* m = sqlite3_column_text(s, 0);
            sonuc = m ? reinterpret_cast<const char*>(m) : "";
        });
        return sonuc;
    }

private:
    template <class F>
    void sorgu(const std::string& sql, F oku) const
    {
        sqlite3_stmt* s = nullptr;
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &s, nullptr) != SQLITE_OK)
            throw std::runtime_error(std::string(sqlite3_errmsg(db_)) + " -- " + sql);
        if (sqlite3_step(s) == SQLITE_ROW) oku(s);
        sqlite3_finalize(s);
    }

    sqlite3* db_ = nullptr;
};

} // namespace durnak::uctest
