#include "domain/dates.hpp"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>

#include "durnak/protocol/oledate.hpp"

namespace durnak::server::domain {

double oleFromStored(const std::string& stored)
{
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    const int n = std::sscanf(stored.c_str(), "%d-%d-%d %d:%d:%d", &y, &mo, &d, &h, &mi, &s);
    if (n < 3 || mo < 1 || mo > 12 || d < 1 || d > 31) return 0;
    return protocol::oleDate(y, static_cast<unsigned>(mo), static_cast<unsigned>(d)) +
           (h * 3600 + mi * 60 + s) / 86400.0;
}

std::string storedDayOf(double ole)
{
    if (!std::isfinite(ole) || ole < -657434 || ole > 2958465) ole = 0;  // years 100..9999
    const auto t = protocol::fromOleDate(std::floor(ole));
    const auto day = std::chrono::year_month_day(std::chrono::floor<std::chrono::days>(t));
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u 00:00:00", int(day.year()), unsigned(day.month()),
                  unsigned(day.day()));
    return text;
}

std::string storedNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

} // namespace durnak::server::domain
