#pragma once

#include <chrono>

namespace durnak::protocol {

// OLE Automation dates: days since 30 December 1899, the fraction is the time of day.
double toOleDate(std::chrono::sys_seconds t);
std::chrono::sys_seconds fromOleDate(double days);
double oleDate(int year, unsigned month, unsigned day);

} // namespace durnak::protocol
