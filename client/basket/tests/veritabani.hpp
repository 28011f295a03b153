#pragma once

// Direct access to the throw-away database a test server runs on: to set up basket lines the
// client could not make itself and to check what the server stored.

#include <sqlite3.h>

#include <stdexcept>
#include <string>

namespace durnak::sepettest {

class Veritabani {
public:
    explicit Veritabani(const std::string& yol)
    {
        if (sqlite3_open(yol.c_str(), &db_) != SQLITE_OK) throw std::runtime_error("sqlite açılamadı: " + yol);
        sqlite3_busy_timeout(db_, 10000);
    }
    ~Veritabani() { sqlite3_close(db_); }
    Veritabani(const Veritabani&) = delete;
    Veritabani& operator=(const Veritabani&) = delete;

    void calistir(const std::string& sql)
    {
        char* hata = nullptr;
        if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &hata) != SQLITE_OK) {
            const std::string metin = hata ? hata : "?";
            sqlite3_free(hata);
            throw std::runtime_error(metin + " -- " + sql);
        }
    }

    long long tamsayi(const std::string& sql)
    {
        return tek(sql, [](sqlite3_stmt* s) { return sqlite3_column_int64(s, 0); });
    }
    double gercek(const std::string& sql)
    {
        return tek(sql, [](sqlite3_stmt* s) { return sqlite3_column_double(s, 0); });
    }
    std::string metin(const std::string& sql)
    {
        return tek(sql, [](sqlite3_stmt* s) {
            const auto* m = sqlite3_column_text(s, 0);
            return std::string(m ? reinterpret_cast<const char*>(m) : "");
        });
    }

private:
    template <class F>
    auto tek(const std::string& sql, F oku) -> decltype(oku(nullptr))
    {
        sqlite3_stmt* s = nullptr;
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &s, nullptr) != SQLITE_OK)
            throw std::runtime_error(std::string(sqlite3_errmsg(db_)) + " -- " + sql);
        const int r = sqlite3_step(s);
        if (r != SQLITE_ROW) {
            sqlite3_finalize(s);
            throw std::runtime_error("satır yok -- " + sql);
        }
        auto deger = oku(s);
        sqlite3_finalize(s);
        return deger;
    }

    sqlite3* db_ = nullptr;
};

} // namespace durnak::sepettest
