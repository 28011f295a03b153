#include "durnak/protocol/oledate.hpp"

#include <cmath>

namespace durnak::protocol {

namespace {
// 1899-12-30 is 25569 days before the Unix epoch.
constexpr double kUnixEpochOle = 25569.0;
constexpr double kSecondsPerDay = 86400.0;
} // namespace

double toOleDate(std::chrono::sys_seconds t)
{
    return kUnixEpochOle + static_cast<double>(t.time_since_epoch().count()) / kSecondsPerDay;
}

std::chrono::sys_seconds fromOleDate(double days)
{
    return std::chrono::sys_seconds(
        std::chrono::seconds(static_cast<std::int64_t>(std::llround((days - kUnixEpochOle) * kSecondsPerDay))));
}

double oleDate(int year, unsigned month, unsigned day)
{
    using namespace std::chrono;
    const sys_days d = year_month_day(std::chrono::year(year), std::chrono::month(month), std::chrono::day(day));
    return kUnixEpochOle + static_cast<double>(d.time_since_epoch().count());
}

} // namespace durnak::protocol
